#include "device/hi_timer.h"

#include <gtest/gtest.h>

namespace korvalend {
namespace {

TEST(HiTimer, AccumulatesIntervalsWithoutReset) {
    VirtualClock clock;
    HiTimer timer(clock);
    EXPECT_EQ(timer.Overhead(), 0);  // virtual time does not pass between two readings
    timer.Start(true);
    clock.AdvanceSeconds(1.0);
    timer.Stop();
    timer.Start(false);
    clock.AdvanceSeconds(2.0);
    timer.Stop();
    EXPECT_DOUBLE_EQ(timer.TotalSeconds(), 3.0);
    timer.Start(true);
    EXPECT_DOUBLE_EQ(timer.TotalSeconds(), 0.0);
}

TEST(HiTimer, RunningSecondsCountsOnlyTheCurrentInterval) {
    VirtualClock clock;
    HiTimer timer(clock);
    timer.Start(true);
    clock.AdvanceSeconds(5.0);
    timer.Stop();
    EXPECT_DOUBLE_EQ(timer.RunningSeconds(), 0.0);  // not running
    timer.Start(false);
    clock.AdvanceSeconds(0.25);
    EXPECT_DOUBLE_EQ(timer.RunningSeconds(), 0.25);
    // TotalSeconds uses the last reading without reading the counter again.
    clock.AdvanceSeconds(1.0);
    EXPECT_DOUBLE_EQ(timer.TotalSeconds(), 5.25);
}

TEST(HiTimer, WithoutCounterEveryReadingIsZero) {
    VirtualClock clock(0);
    HiTimer timer(clock);
    EXPECT_TRUE(timer.Unavailable());
    timer.Start(true);
    clock.AdvanceSeconds(3.0);
    EXPECT_EQ(timer.RunningSeconds(), 0.0);
    timer.Stop();
    EXPECT_EQ(timer.TotalSeconds(), 0.0);
}

TEST(HiTimer, SteadyClockMeasuresRealTimeWithOverheadRemoved) {
    HiTimer timer;
    ASSERT_FALSE(timer.Unavailable());
    EXPECT_GE(timer.Overhead(), 0);
    timer.Start(true);
    timer.Stop();
    EXPECT_LT(timer.TotalSeconds(), 0.5);
}

}  // namespace
}  // namespace korvalend
