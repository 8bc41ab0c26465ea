// The spectrum offline frames are drawn with.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/framespectrum.h"

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

}  // namespace
