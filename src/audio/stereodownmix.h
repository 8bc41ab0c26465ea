// Mixes interleaved 16-bit frames of any channel count down to stereo, following Vorbis'
// channel order (centre to both sides, LFE dropped). Keeps stereo and mono bit-exact
// (mono is duplicated). No resampling; any thread, one at a time.
#pragma once

#include <cstdint>
#include <vector>

class CStereoDownmix {
public:
    explicit CStereoDownmix(int channels);

    int channels() const { return channelCount; }

    // Reads frames * channels() samples from `in`, writes frames * 2 samples to `out`.
    void mix(const int16_t* in, int frames, int16_t* out) const;

private:
    int channelCount;
    // Per source channel, its share of the left and of the right output; each side sums to 1,
    // so the mix never clips.
    std::vector<float> leftGain;
    std::vector<float> rightGain;
};
