// Where the show's clock gets its ticks: a counter and its rate, as the platform's
// high-resolution counter gives them. Lets the real counter, tests and capture runs drive CTimer
// alike. Implementations need not be thread-safe.
#pragma once

#include <cstdint>

class CTickSource {
public:
    virtual ~CTickSource() = default;
    virtual int64_t counter() = 0;
    virtual int64_t frequency() = 0;
};
