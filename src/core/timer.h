// The show's clock: seconds since start() on a tick counter, read twice per frame.
// Keeps the float/double split of the original on purpose (float secondsPerTick and startTime,
// double readings). Does not own its tick source. Main thread only.
#pragma once

#include <cstdint>

#include "math/ticksource.h"

class CTimer {
public:
    // No source, or a source whose frequency is 0, falls back to the C++ steady clock.
    explicit CTimer(CTickSource* source = nullptr);

    double now();
    void start();
    double elapsed();

    int64_t counter;
    int64_t frequency;
    float secondsPerTick;
    float startTime;

private:
    CTickSource* source;
};
