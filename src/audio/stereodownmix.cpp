#include "audio/stereodownmix.h"

#include <cmath>

namespace {

// Vorbis' channel order for 1 to 8 channels: L left, R right, C centre, E low-frequency effects.
// Beyond 8 the order is the application's; there channels alternate left and right.
const char* const kVorbisLayouts[] = {"C",     "LR",     "LCR",     "LRLR",
                                      "LCRLR", "LCRLRE", "LCRLRCE", "LCRLRLRE"};

char positionOf(int channel, int channels) {
    if (channels <= 8) return kVorbisLayouts[channels - 1][channel];
    return channel % 2 == 0 ? 'L' : 'R';
}

int16_t clampSample(float value) {
    long rounded = std::lround(value);
    if (rounded > 32767) return 32767;
    if (rounded < -32768) return -32768;
    return static_cast<int16_t>(rounded);
}

}  // namespace

CStereoDownmix::CStereoDownmix(int channels)
    : channelCount(channels < 1 ? 1 : channels),
      leftGain(channelCount, 0.0f),
      rightGain(channelCount, 0.0f) {
    const float centre = std::sqrt(0.5f);
    float leftSum = 0, rightSum = 0;
    for (int c = 0; c < channelCount; ++c) {
        char position = positionOf(c, channelCount);
        if (position == 'L' || position == 'C') leftGain[c] = position == 'L' ? 1.0f : centre;
        if (position == 'R' || position == 'C') rightGain[c] = position == 'R' ? 1.0f : centre;
        leftSum += leftGain[c];
        rightSum += rightGain[c];
    }
    for (int c = 0; c < channelCount; ++c) {
        leftGain[c] /= leftSum;
        rightGain[c] /= rightSum;
    }
}

void CStereoDownmix::mix(const int16_t* in, int frames, int16_t* out) const {
    for (int f = 0; f < frames; ++f) {
        const int16_t* frame = in + static_cast<long>(f) * channelCount;
        float left = 0, right = 0;
        for (int c = 0; c < channelCount; ++c) {
            left += leftGain[c] * frame[c];
            right += rightGain[c] * frame[c];
        }
        out[2 * f] = clampSample(left);
        out[2 * f + 1] = clampSample(right);
    }
}
