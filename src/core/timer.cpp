#include "core/timer.h"

#include <chrono>

namespace {

class CSteadyTicks : public CTickSource {
public:
    int64_t counter() override {
        return std::chrono::steady_clock::now().time_since_epoch().count();
    }
    int64_t frequency() override {
        using Period = std::chrono::steady_clock::period;
        return Period::den / Period::num;
    }
};

CSteadyTicks steadyTicks;

}  // namespace

CTimer::CTimer(CTickSource* tickSource)
    : counter(0), frequency(0), secondsPerTick(0), startTime(0), source(tickSource) {
    if (source != nullptr) frequency = source->frequency();
    if (frequency <= 0) {
        source = &steadyTicks;
        frequency = source->frequency();
    }
    secondsPerTick = static_cast<float>(1.0 / static_cast<double>(frequency));
}

double CTimer::now() {
    counter = source->counter();
    return static_cast<double>(counter) * static_cast<double>(secondsPerTick);
}

void CTimer::start() {
    startTime = static_cast<float>(now());
}

// In double: at a counter scale of 10^6 s a float resolves only 1/16 s.
double CTimer::elapsed() {
    return now() - static_cast<double>(startTime);
}
