// The one sample format the audio layer plays and analyses: 16-bit signed stereo at 44100 Hz,
// and the size of the spectrum window. Positions in bytes count this format, whatever the file's.
// Plain constants and arithmetic; no state.
#pragma once

#include <cmath>
#include <cstdint>

namespace audioformat {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kBytesPerFrame = kChannels * 2;
constexpr int kSpectrumSamples = 512;
constexpr int kSpectrumBins = kSpectrumSamples / 2;
// The longest music the player and the offline spectrum take: one hour.
constexpr int kMaxMusicSeconds = 3600;

// Nearest frame, so that times given in decimal (k / 60 s) land on the frame they name
// despite binary rounding; negative and non-finite times have no frame (-1).
inline int64_t secondsToFrames(double seconds, int rate) {
    if (!std::isfinite(seconds) || seconds < 0) return -1;
    return std::llround(seconds * rate);
}

}  // namespace audioformat
