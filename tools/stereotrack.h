// A stereo buffer of float samples at 44100 Hz that instruments add into and the mix
// processes in place. Indices past the end are ignored, so notes may run over the end.
#pragma once

#include <cstddef>
#include <vector>

const int kSampleRate = 44100;

class CStereoTrack {
public:
    explicit CStereoTrack(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

    size_t size() const { return left.size(); }
    void add(size_t i, float l, float r) {
        if (i >= left.size()) return;
        left[i] += l;
        right[i] += r;
    }
    // Adds other * gain, sample by sample.
    void mix(const CStereoTrack& other, float gain);

    std::vector<float> left;
    std::vector<float> right;
};

// The sample index nearest to a time in seconds.
size_t sampleAt(double seconds);
