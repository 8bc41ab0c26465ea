// The stepping clock of capture and benchmark runs, alone under CTimer and driving the real
// main loop: frame k shows start + k / fps, frame 0 has frame time 0, later ones 1 / fps, with
// no error beyond the float rounding of the show's own time variables.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/timer.h"
#include "offline/steppingticks.h"
#include "show/demo.h"
#include "show/framehook.h"

namespace {

struct Rate {
    long numerator;
    long denominator;
};

const Rate kRates[] = {{30, 1}, {60, 1}, {60000, 1001}, {24000, 1001}, {7, 3}, {1000000, 1}};

// The clock reads ticks * 2^-30 exactly; rounding to whole ticks costs at most half a tick.
const double kTickError = std::ldexp(1.0, -31) + 1e-12;

double halfUlp(double value) {
    float f = static_cast<float>(std::fabs(value));
    return (static_cast<double>(std::nextafter(f, INFINITY)) - static_cast<double>(f)) / 2;
}

TEST(SteppingTicks, EveryFrameOfTheShowReadsKOverFpsTwiceAlike) {
    for (Rate rate : kRates) {
        CSteppingTicks ticks(rate.numerator, rate.denominator);
        CTimer timer(&ticks);
        EXPECT_EQ(timer.secondsPerTick, std::ldexp(1.0f, -30));
        timer.start();
        double fps = static_cast<double>(rate.numerator) / rate.denominator;
        int64_t frames = static_cast<int64_t>(std::min(210.0 * fps, 2e6));
        for (int64_t k = 0; k <= frames; k += (k < 1000 ? 1 : 97)) {
            while (ticks.frame() < k) ticks.advance();
            double first = timer.elapsed();
            double second = timer.elapsed();
            ASSERT_EQ(first, second) << rate.numerator << "/" << rate.denominator << " frame " << k;
            double exact = static_cast<double>(k) * rate.denominator / rate.numerator;
            ASSERT_NEAR(first, exact, kTickError)
                << rate.numerator << "/" << rate.denominator << " frame " << k;
        }
    }
}

// Records what the main loop computed for each frame, and steps the clock as a run does.
class RecordingHook : public CFrameHook {
public:
    RecordingHook(CDemo& demo, CSteppingTicks& ticks, size_t limit)
        : demo(demo), ticks(ticks), limit(limit) {}
    float* spectrum(float) override { return silence; }
    bool frameDrawn(float time) override {
        times.push_back(time);
        deltas.push_back(demo.deltaTime);
        ticks.advance();
        return times.size() < limit;
    }
    CDemo& demo;
    CSteppingTicks& ticks;
    size_t limit;
    std::vector<float> times;
    std::vector<float> deltas;
    float silence[512] = {};
};

struct LoopCase {
    Rate rate;
    float start;
    size_t frameLimit;  // the show's own end comes first when the start is late enough
};

TEST(SteppingTicks, MainLoopShowsStartPlusKOverFps) {
    const LoopCase cases[] = {
        {{30, 1}, 0.0f, 120}, {{60000, 1001}, 0.0f, 120}, {{60000, 1001}, 200.5f, 100000}};
    for (const LoopCase& c : cases) {
        COptions options;
        options.benchmark = true;
        options.startGiven = true;
        options.start = c.start;
        CSteppingTicks ticks(c.rate.numerator, c.rate.denominator);
        CDemo demo(options, &ticks);
        ASSERT_TRUE(demo.windowOpened);
        RecordingHook hook(demo, ticks, c.frameLimit);
        demo.frameHook = &hook;
        demo.load();
        demo.run();
        std::string label = std::to_string(c.rate.numerator) + "/" +
                            std::to_string(c.rate.denominator) + " from " + std::to_string(c.start);
        double step = static_cast<double>(c.rate.denominator) / c.rate.numerator;
        ASSERT_FALSE(hook.times.empty());
        EXPECT_EQ(hook.times[0], c.start) << label;
        EXPECT_EQ(hook.deltas[0], 0.0f) << label;
        for (size_t k = 1; k < hook.times.size(); ++k) {
            double exact = c.start + static_cast<double>(k) * step;
            // time is the exact value rounded to float; the frame time is the exact reading
            // less the previous float time, itself rounded to float.
            double timeTolerance = halfUlp(exact) + kTickError;
            double deltaTolerance = halfUlp(exact - step) + 2 * kTickError + halfUlp(step);
            ASSERT_NEAR(hook.times[k], exact, timeTolerance) << label << " frame " << k;
            ASSERT_NEAR(hook.deltas[k], step, deltaTolerance) << label << " frame " << k;
        }
        if (c.start > 200) {
            // The run ended by itself: its last frame is the first past the show's end.
            EXPECT_GT(hook.times.back(), demo.endTime) << label;
            EXPECT_LE(hook.times[hook.times.size() - 2], demo.endTime) << label;
        }
        demo.shutdown();
    }
}

}  // namespace
