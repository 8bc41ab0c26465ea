// The spectrum offline frames are drawn with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio/offlinespectrum.h"
#include "offline/framespectrum.h"
#include "support/oggfile.h"

namespace {

bool allZero(const float* values) {
    return std::all_of(values, values + CFrameSpectrum::kSize, [](float v) { return v == 0.0f; });
}

// Without music every frame gets silence, even after a scene wrote into its buffer.
TEST(FrameSpectrum, SilentWithoutMusicWhateverTheScenesDid) {
    CFrameSpectrum spectrum;
    for (float time : {0.0f, 1.5f, 209.2f}) {
        float* values = spectrum.at(time);
        EXPECT_TRUE(allZero(values)) << time;
        std::fill(values, values + CFrameSpectrum::kSize, 7.0f);
    }
    EXPECT_TRUE(allZero(spectrum.at(3.0f)));
}

// With music each frame sees the file's spectrum at the frame's own show time.
TEST(FrameSpectrum, FollowsTheMusicFileAtTheFramesTime) {
    const int rate = 44100;
    std::vector<float> samples(2 * 2 * rate, 0.0f);  // 1 s of silence, then 1 s of a loud tone
    for (int i = rate; i < 2 * rate; ++i)
        samples[2 * i] = samples[2 * i + 1] =
            0.8f * std::sin(2 * M_PI * 10 * rate / 512.0 * i / rate);
    std::string path = scratchPath("tone.ogg");
    ASSERT_TRUE(writeOgg(path, samples, 2, rate));
    COfflineSpectrum reference;
    ASSERT_TRUE(reference.open(path));
    CFrameSpectrum spectrum;
    ASSERT_TRUE(spectrum.open(path));
    EXPECT_TRUE(allZero(spectrum.at(0.25f)));
    float expected[CFrameSpectrum::kSize] = {};
    reference.compute(1.5f, expected);
    const float* values = spectrum.at(1.5f);
    EXPECT_GT(values[10], 0.3f) << "the tone's bin";
    EXPECT_TRUE(std::equal(values, values + 256, expected));
    EXPECT_TRUE(std::all_of(values + 256, values + CFrameSpectrum::kSize,
                            [](float v) { return v == 0.0f; }));
}

// Missing or damaged music stays silent; the last page's claim of 2^40 samples used to be
// reserved up front and end the run.
TEST(FrameSpectrum, MissingOrDamagedMusicStaysSilent) {
    const std::string damaged = std::string(VEXMORO_REGRESSIONS) + "/ogg/";
    for (const std::string& path : {scratchPath("no-such-music.ogg"), damaged + "ogg-fpe-read.ogg",
                                    damaged + "ogg-fpe-seek.ogg", damaged + "ogg-huge-granule.ogg",
                                    damaged + "ogg-rate1Hz.ogg"}) {
        CFrameSpectrum spectrum;
        EXPECT_FALSE(spectrum.open(path)) << path;
        EXPECT_TRUE(allZero(spectrum.at(1.0f))) << path;
    }
}

}  // namespace
