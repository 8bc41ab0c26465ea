#include <gtest/gtest.h>

#include <cmath>

#include "core/timer.h"
#include "support/scriptedticks.h"

TEST(Timer, SecondsPerTickIsTheFloatOfTheReciprocal) {
    ScriptedTicks ticks(10000000);
    CTimer timer(&ticks);
    EXPECT_EQ(timer.frequency, 10000000);
    EXPECT_EQ(timer.secondsPerTick, static_cast<float>(1.0 / 10000000.0));
}

TEST(Timer, NowMultipliesInDoubleWithoutRoundingToFloat) {
    ScriptedTicks ticks(10000000);
    CTimer timer(&ticks);
    ticks.script = {123456789};
    double expected = 123456789.0 * static_cast<double>(timer.secondsPerTick);
    EXPECT_EQ(timer.now(), expected);
    EXPECT_EQ(timer.counter, 123456789);
}

// Eleven days of uptime at a 10 MHz counter: the float start time is off by up to half a float
// step (1/32 s), yet differences between readings keep sub-millisecond resolution.
TEST(Timer, LargeCounterScaleShiftsZeroButKeepsResolution) {
    const int64_t frequency = 10000000;
    const int64_t base = frequency * 1000000 + 1234567;  // about 10^6 s plus a fraction
    ScriptedTicks ticks(frequency);
    CTimer timer(&ticks);
    ticks.script = {base, base, base + 1000, base + 2000};
    timer.start();
    double atStart = timer.now() - static_cast<double>(timer.startTime);
    EXPECT_LE(std::fabs(atStart), 0.03125);
    EXPECT_NE(static_cast<double>(timer.startTime),
              base * static_cast<double>(timer.secondsPerTick))
        << "the start time is stored as a float and must show its rounding";
    double first = timer.elapsed();
    double second = timer.elapsed();
    EXPECT_NEAR(first - atStart, 0.0001, 1e-9);
    EXPECT_NEAR(second - first, 0.0001, 1e-9);
}

TEST(Timer, ElapsedNeverDecreasesOnTheRealFallbackClock) {
    CTimer timer;
    timer.start();
    double previous = timer.elapsed();
    for (int i = 0; i < 1000; ++i) {
        double next = timer.elapsed();
        ASSERT_GE(next, previous);
        previous = next;
    }
}

// A source that reports no frequency must not make every reading infinite.
TEST(Timer, ZeroFrequencyFallsBackToAWorkingClock) {
    ScriptedTicks broken(0);
    CTimer timer(&broken);
    EXPECT_GT(timer.frequency, 0);
    EXPECT_TRUE(std::isfinite(timer.secondsPerTick));
    timer.start();
    double reading = timer.elapsed();
    EXPECT_TRUE(std::isfinite(reading));
    EXPECT_LT(std::fabs(reading), 1.0);
    EXPECT_EQ(broken.reads, 0) << "the broken source must not be read";
}
