// The progress display of an offline run: one line on standard error (frame, show time, frames
// per second, time left), redrawn at most ten times a second once the run has lasted a second,
// and only on a terminal; the closing summary line always. Takes wall-clock readings from the
// caller. No GL.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class CProgress {
public:
    // expectedFrames: how many frames the run will draw, for the time left.
    CProgress(FILE* out, bool terminal, int64_t expectedFrames);

    // framesDone frames drawn so far, the last at showTime; wallSeconds since rendering began.
    void update(int64_t framesDone, float showTime, double wallSeconds);
    void finish(const std::string& summary);

    int linesDrawn() const { return drawn; }

private:
    FILE* out;
    bool terminal;
    int64_t expected;
    double lastDrawn;
    int drawn;
};
