#include "audio/oggdecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/oggfile.h"

namespace {

// Every read but the last must come back full: a short one tells the player the file ended.
std::vector<int16_t> readAll(COggDecoder& decoder, int piece = 1000) {
    std::vector<int16_t> all;
    std::vector<int16_t> buffer(2 * piece);
    int last = piece;
    while (int got = decoder.read(buffer.data(), piece)) {
        EXPECT_EQ(last, piece) << "a short read before the end, at frame " << all.size() / 2;
        all.insert(all.end(), buffer.begin(), buffer.begin() + 2 * got);
        last = got;
    }
    return all;
}

std::vector<float> tone(int frames, int channels, int rate, const std::vector<float>& gains) {
    std::vector<float> samples(static_cast<size_t>(frames) * channels);
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            samples[f * channels + c] =
                gains[c] * static_cast<float>(std::sin(f * 2 * 3.14159265 * 440 / rate));
    return samples;
}

double rms(const std::vector<int16_t>& stereo, int channel) {
    double sum = 0;
    for (size_t i = channel; i < stereo.size(); i += 2) sum += double(stereo[i]) * stereo[i];
    return std::sqrt(sum / (stereo.size() / 2));
}

}  // namespace

TEST(OggDecoder, StereoAtTheOutputRateDecodesExactly) {
    std::string path = scratchPath("exact.ogg");
    ASSERT_TRUE(writeOgg(path, testMusic(30000, 44100), 2, 44100));
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    std::vector<int16_t> reference = decodeOgg(path);
    EXPECT_EQ(decoder.length(), 30000);
    EXPECT_EQ(readAll(decoder, 777), reference);
}

TEST(OggDecoder, SeekingGivesTheSamplesFromThere) {
    std::string path = scratchPath("seek.ogg");
    ASSERT_TRUE(writeOgg(path, testMusic(40000, 44100), 2, 44100));
    std::vector<int16_t> reference = decodeOgg(path);
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    for (int64_t frame : {12345, 0, 39999, 40000, 22050}) {
        ASSERT_TRUE(decoder.seek(frame)) << frame;
        std::vector<int16_t> expected(reference.begin() + 2 * frame, reference.end());
        EXPECT_EQ(readAll(decoder), expected) << frame;
    }
    EXPECT_FALSE(decoder.seek(40001));
    EXPECT_FALSE(decoder.seek(-1));
}

// Mono is duplicated; 5.1 puts its centre into both sides and drops the LFE channel.
TEST(OggDecoder, OtherChannelCountsAreMixedToStereo) {
    struct Case {
        int channels;
        std::vector<float> gains;
        double leftOverRight;
    };
    const Case cases[] = {
        {1, {0.5f}, 1.0},
        {3, {0.6f, 0.0f, 0.0f}, -1},                     // left only
        {6, {0.0f, 0.6f, 0.0f, 0.0f, 0.0f, 0.0f}, 1.0},  // centre only
        {6, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.9f}, 0},    // LFE only: silence
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channels);
        std::string path = scratchPath("channels.ogg");
        ASSERT_TRUE(writeOgg(path, tone(20000, c.channels, 44100, c.gains), c.channels, 44100));
        COggDecoder decoder;
        ASSERT_TRUE(decoder.open(path, 44100));
        std::vector<int16_t> stereo = readAll(decoder);
        ASSERT_EQ(stereo.size(), 2u * 20000);
        double left = rms(stereo, 0), right = rms(stereo, 1);
        if (c.leftOverRight == 0) {
            EXPECT_LT(left + right, 100);
        } else if (c.leftOverRight < 0) {
            EXPECT_GT(left, 3000);
            EXPECT_LT(right, 100);
        } else {
            EXPECT_GT(left, 3000);
            EXPECT_NEAR(left / right, 1.0, 0.01);
        }
    }
    std::string mono = scratchPath("mono.ogg");
    ASSERT_TRUE(writeOgg(mono, tone(5000, 1, 44100, {0.5f}), 1, 44100));
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(mono, 44100));
    std::vector<int16_t> stereo = readAll(decoder), reference = decodeOgg(mono);
    ASSERT_EQ(stereo.size(), 2 * reference.size());
    for (size_t f = 0; f < reference.size(); ++f) {
        ASSERT_EQ(stereo[2 * f], reference[f]) << f;
        ASSERT_EQ(stereo[2 * f + 1], reference[f]) << f;
    }
}

// A 22050 Hz file comes out twice as long, with its 440 Hz tone still at 440 Hz.
TEST(OggDecoder, OtherRatesAreConverted) {
    std::string path = scratchPath("slow.ogg");
    ASSERT_TRUE(writeOgg(path, tone(22050, 2, 22050, {0.5f, 0.5f}), 2, 22050));
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    EXPECT_EQ(decoder.length(), 44100);
    std::vector<int16_t> stereo = readAll(decoder);
    EXPECT_NEAR(stereo.size() / 2.0, 44100, 200);
    int crossings = 0;
    for (size_t i = 2; i < stereo.size(); i += 2)
        crossings += (stereo[i - 2] < 0) != (stereo[i] < 0);
    EXPECT_NEAR(crossings, 880, 10);
}

TEST(OggDecoder, FilesThatAreNotVorbisDoNotOpen) {
    std::string empty = scratchPath("empty.ogg"), text = scratchPath("text.ogg");
    std::ofstream(empty).close();
    std::ofstream(text) << "this is not an Ogg Vorbis file at all, only some text\n";
    COggDecoder decoder;
    EXPECT_FALSE(decoder.open(empty, 44100));
    EXPECT_FALSE(decoder.open(text, 44100));
    EXPECT_FALSE(decoder.open(scratchPath("missing.ogg"), 44100));
    EXPECT_FALSE(decoder.isOpen());
    std::vector<int16_t> buffer(200);
    EXPECT_EQ(decoder.read(buffer.data(), 100), 0);
}

TEST(OggDecoder, AFileWithoutSamplesPlaysAsNothing) {
    std::string path = scratchPath("nosamples.ogg");
    ASSERT_TRUE(writeOgg(path, {}, 2, 44100));
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    EXPECT_EQ(decoder.length(), 0);
    EXPECT_TRUE(decoder.seek(0));
    EXPECT_TRUE(readAll(decoder).empty());
}

// A page damaged in the middle is a hole: decoding carries on after it.
TEST(OggDecoder, CorruptPagesAreSkipped) {
    std::string path = scratchPath("hole.ogg");
    ASSERT_TRUE(writeOgg(path, testMusic(88200, 44100), 2, 44100));
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    size_t middle = bytes.size() / 2;
    for (size_t i = middle; i < middle + 64; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    std::vector<int16_t> stereo = readAll(decoder);
    EXPECT_GT(stereo.size() / 2, 88200u * 3 / 4);
    EXPECT_LT(stereo.size() / 2, 88200u);
}
