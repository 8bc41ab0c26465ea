#include "stereotrack.h"

#include <cmath>

void CStereoTrack::mix(const CStereoTrack& other, float gain) {
    for (size_t i = 0; i < left.size() && i < other.size(); ++i) {
        left[i] += other.left[i] * gain;
        right[i] += other.right[i] * gain;
    }
}

size_t sampleAt(double seconds) {
    return seconds <= 0.0 ? 0 : size_t(std::llround(seconds * kSampleRate));
}
