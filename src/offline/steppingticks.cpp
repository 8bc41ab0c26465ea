#include "offline/steppingticks.h"

CSteppingTicks::CSteppingTicks(long fpsNumerator, long fpsDenominator)
    : numerator(fpsNumerator), denominator(fpsDenominator), frameIndex(0) {}

// k * den / num seconds in ticks, rounded to the nearest tick (under a nanosecond). Split into
// whole seconds and a remainder so that no product leaves 64 bits for rates up to 10^6.
int64_t CSteppingTicks::counter() {
    int64_t scaled = frameIndex * denominator;
    int64_t seconds = scaled / numerator;
    int64_t remainder = scaled % numerator;
    return seconds * kFrequency + (remainder * kFrequency + numerator / 2) / numerator;
}

int64_t CSteppingTicks::frequency() {
    return kFrequency;
}
