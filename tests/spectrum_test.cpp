#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/musicstream.h"
#include "audio/offlinespectrum.h"
#include "audio/samplehistory.h"
#include "audio/spectrumanalyser.h"
#include "support/oggfile.h"
#include "support/polling.h"

namespace {

const double kPi = std::acos(-1.0);

std::vector<float> analyse(const std::vector<float>& mono) {
    CSpectrumAnalyser analyser;
    std::vector<float> bins(256);
    analyser.analyse(mono.data(), bins.data());
    return bins;
}

float largest(const std::vector<float>& values, size_t from = 0, size_t to = 256) {
    float most = 0;
    for (size_t i = from; i < to && i < values.size(); ++i) most = std::max(most, values[i]);
    return most;
}

}  // namespace

TEST(SpectrumAnalyser, SilenceGivesZeros) {
    EXPECT_EQ(largest(analyse(std::vector<float>(512, 0.0f))), 0.0f);
}

TEST(SpectrumAnalyser, FullScaleDcReadsOneInTheLowestBin) {
    std::vector<float> bins = analyse(std::vector<float>(512, 1.0f));
    EXPECT_NEAR(bins[0], 1.0f, 1e-5);
    EXPECT_NEAR(bins[1], 0.5f, 1e-5);  // the Hann window's own spread
    EXPECT_LT(largest(bins, 2), 1e-5);
}

// A full-scale sine at the centre of bin k reads 0.5 there and 0.25 in each neighbour.
TEST(SpectrumAnalyser, SineAtABinCentreReadsAHalf) {
    for (int k : {2, 3, 6, 40, 128, 254}) {
        std::vector<float> mono(512);
        for (int n = 0; n < 512; ++n) mono[n] = static_cast<float>(std::sin(2 * kPi * k * n / 512));
        std::vector<float> bins = analyse(mono);
        SCOPED_TRACE(k);
        EXPECT_NEAR(bins[k], 0.5f, 1e-4);
        EXPECT_NEAR(bins[k - 1], 0.25f, 1e-4);
        EXPECT_NEAR(bins[k + 1], 0.25f, 1e-4);
        EXPECT_LT(largest(bins, 0, k - 1), 1e-4);
        EXPECT_LT(largest(bins, k + 2), 1e-4);
    }
}

TEST(SampleHistory, StartsSilentAndCancellingChannelsStaySilent) {
    CSampleHistory history;
    std::vector<float> mono(512, 1.0f);
    history.latest(mono.data());
    EXPECT_EQ(largest(mono), 0.0f);
    std::vector<int16_t> stereo(2 * 700);
    for (int f = 0; f < 700; ++f) {
        stereo[2 * f] = static_cast<int16_t>(30000 * std::sin(f * 0.05));
        stereo[2 * f + 1] = static_cast<int16_t>(-stereo[2 * f]);
    }
    history.push(stereo.data(), 700);
    history.latest(mono.data());
    EXPECT_EQ(largest(analyse(mono)), 0.0f);
}

// After many pushes of uneven sizes the window is the last 512 frames, oldest first.
TEST(SampleHistory, KeepsTheLatestFramesInOrder) {
    CSampleHistory history;
    int next = 0;
    for (int round = 0; round < 40; ++round) {
        int count = 37 + round * 11;
        std::vector<int16_t> stereo(2 * count);
        for (int f = 0; f < count; ++f, ++next) {
            stereo[2 * f] = static_cast<int16_t>(next % 20000);
            stereo[2 * f + 1] = static_cast<int16_t>(next % 20000);
        }
        history.push(stereo.data(), count);
    }
    std::vector<float> mono(512);
    history.latest(mono.data());
    for (int i = 0; i < 512; ++i) {
        int frame = next - 512 + i;
        ASSERT_FLOAT_EQ(mono[i], CSampleHistory::toMono(frame % 20000, frame % 20000)) << i;
    }
}

class OfflineSpectrumTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        musicPath = scratchPath("spectrum-music.ogg");
        ASSERT_TRUE(writeOgg(musicPath, testMusic(44100, 44100), 2, 44100));
    }
    static std::string musicPath;
};
std::string OfflineSpectrumTest::musicPath;

TEST_F(OfflineSpectrumTest, ChannelsThatCancelGiveNearSilence) {
    std::vector<float> samples = testMusic(44100, 44100);
    for (size_t f = 0; f < samples.size(); f += 2) samples[f + 1] = -samples[f];
    std::string path = scratchPath("cancelling.ogg");
    ASSERT_TRUE(writeOgg(path, samples, 2, 44100));
    COfflineSpectrum cancelling, music;
    ASSERT_TRUE(cancelling.open(path));
    ASSERT_TRUE(music.open(musicPath));
    std::vector<float> quiet(512), loud(512);
    for (double t : {0.1, 0.4, 0.75}) {
        cancelling.compute(t, quiet.data());
        music.compute(t, loud.data());
        // The codec does not cancel exactly; what is left is far below the music itself.
        EXPECT_GT(largest(loud), 0.05f) << t;
        EXPECT_LT(largest(quiet), largest(loud) / 20) << t;
    }
}

TEST_F(OfflineSpectrumTest, PastTheEndIsSilenceAndOnlyLowBinsAreWritten) {
    COfflineSpectrum offline;
    ASSERT_TRUE(offline.open(musicPath));
    std::vector<float> spectrum(512, 7.0f);
    offline.compute(1.5, spectrum.data());
    EXPECT_EQ(largest(spectrum, 0, 256), 0.0f);
    for (int i = 256; i < 512; ++i) ASSERT_EQ(spectrum[i], 7.0f) << i;
    offline.compute(-3.0, spectrum.data());
    EXPECT_EQ(largest(spectrum, 0, 256), 0.0f);
}

TEST_F(OfflineSpectrumTest, UnreadableFileIsNotOpenAndSilent) {
    COfflineSpectrum offline;
    EXPECT_FALSE(offline.open(scratchPath("missing.ogg")));
    EXPECT_FALSE(offline.isOpen());
    std::vector<float> spectrum(256, 7.0f);
    offline.compute(0.2, spectrum.data());
    EXPECT_EQ(largest(spectrum), 0.0f);
}

// The live player, driven as the audio callback drives it, and the offline spectrum give the
// same numbers for the same samples.
TEST_F(OfflineSpectrumTest, LiveAndOfflineAgreeOnTheSameSamples) {
    COfflineSpectrum offline;
    ASSERT_TRUE(offline.open(musicPath));
    CMusicStream stream;
    ASSERT_TRUE(stream.open(musicPath, 44100));
    ASSERT_TRUE(stream.seek(10000));
    stream.setPlaying(true);
    std::vector<int32_t> mix(2 * 512);
    std::vector<int16_t> scratch(2 * 512);
    for (int compared = 0; compared < 5; ++compared) {
        int64_t before = 0;
        // Silence is rendered until the decoder has caught up with the seek.
        ASSERT_TRUE(waitUntil([&] {
            before = stream.position();
            std::fill(mix.begin(), mix.end(), 0);
            stream.render(mix.data(), scratch.data(), 512);
            return stream.position() - before == 512 && before >= 10000;
        }));
        std::vector<float> mono(512), live(256), expected(256);
        stream.history().latest(mono.data());
        CSpectrumAnalyser().analyse(mono.data(), live.data());
        offline.compute(before / 44100.0, expected.data());
        for (int k = 0; k < 256; ++k) ASSERT_FLOAT_EQ(live[k], expected[k]) << before << " " << k;
    }
}
