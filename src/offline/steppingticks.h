// The clock source of capture and benchmark runs: it stands still while a frame is drawn and
// moves one frame per advance(), so that frame k reads k / fps seconds. Knows nothing of show
// time or start offsets; CTimer and CDemo add those as in a live run. Main thread only.
#pragma once

#include <cstdint>

#include "math/ticksource.h"

class CSteppingTicks : public CTickSource {
public:
    // fps = fpsNumerator / fpsDenominator, both positive and at most 10^6.
    CSteppingTicks(long fpsNumerator, long fpsDenominator);

    int64_t counter() override;
    int64_t frequency() override;

    void advance() { ++frameIndex; }
    int64_t frame() const { return frameIndex; }

    // Ticks per second: a power of two, so that CTimer's float secondsPerTick is exact.
    static const int64_t kFrequency = int64_t(1) << 30;

private:
    int64_t numerator;
    int64_t denominator;
    int64_t frameIndex;
};
