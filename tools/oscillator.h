// Band-limited saw and square oscillators (polyBLEP) and a repeatable white-noise source for
// the synthesiser. Plain value types: copy one to start a second voice in the same state.
#pragma once

#include <cstdint>

class COscillator {
public:
    // frequency in Hz at 44100 Hz; phase in 0..1.
    COscillator(float frequency, float phase);

    void setFrequency(float frequency);
    float saw();
    float square();
    float sine();

private:
    void advance();
    float step;
    float phase;
};

class CNoiseSource {
public:
    explicit CNoiseSource(uint32_t seed) : state(seed * 2654435761u + 1u) {}
    // -1..1, uniform.
    float next() {
        state = state * 1664525u + 1013904223u;
        return float(int32_t(state)) / 2147483648.0f;
    }

private:
    uint32_t state;
};

// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz).
float noteFrequency(float midi);
