#include "oscillator.h"

#include <cmath>

#include "stereotrack.h"

namespace {

// The polyBLEP correction that rounds off a jump at phase 0 over one sample on each side.
float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

}  // namespace

COscillator::COscillator(float frequency, float phase)
    : step(frequency / kSampleRate), phase(phase) {}

void COscillator::setFrequency(float frequency) {
    step = frequency / kSampleRate;
}

void COscillator::advance() {
    phase += step;
    if (phase >= 1.0f) phase -= 1.0f;
}

float COscillator::saw() {
    const float value = 2.0f * phase - 1.0f - polyBlep(phase, step);
    advance();
    return value;
}

float COscillator::square() {
    float half = phase + 0.5f;
    if (half >= 1.0f) half -= 1.0f;
    const float value =
        (phase < 0.5f ? 1.0f : -1.0f) + polyBlep(phase, step) - polyBlep(half, step);
    advance();
    return value;
}

float COscillator::sine() {
    const float value = std::sin(6.28318531f * phase);
    advance();
    return value;
}

float noteFrequency(float midi) {
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}
