// A state-variable filter (trapezoidal integration) giving low-, band- and high-pass at once,
// stable while its cutoff moves. One channel per object.
#pragma once

struct SFilterOut {
    float low, band, high;
};

class CSvFilter {
public:
    CSvFilter(float cutoff, float resonance);

    // cutoff in Hz (kept below Nyquist); resonance 0..~0.95.
    void set(float cutoff, float resonance);
    SFilterOut process(float input);

private:
    float g = 0, k = 0, a1 = 0, a2 = 0, a3 = 0;
    float ic1 = 0, ic2 = 0;
};
