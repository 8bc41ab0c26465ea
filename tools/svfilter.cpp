#include "svfilter.h"

#include <algorithm>
#include <cmath>

#include "stereotrack.h"

CSvFilter::CSvFilter(float cutoff, float resonance) {
    set(cutoff, resonance);
}

void CSvFilter::set(float cutoff, float resonance) {
    cutoff = std::clamp(cutoff, 10.0f, kSampleRate * 0.45f);
    g = std::tan(3.14159265f * cutoff / kSampleRate);
    k = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

SFilterOut CSvFilter::process(float input) {
    const float v3 = input - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return {v2, v1, input - k * v1 - v2};
}
