#include "platform/QtTimer.h"

#include <gtest/gtest.h>

namespace
{

TEST(QtTimer, TicksOnlyWhenEnabledWithPositiveInterval)
{
    TTimer timer(nullptr, 0, true);
    EXPECT_FALSE(timer.running()); // interval 0 never spins
    timer.setInterval(-5);
    EXPECT_FALSE(timer.running());
    timer.setInterval(200);
    EXPECT_TRUE(timer.running());
    timer.setEnabled(false);
    EXPECT_FALSE(timer.running());
    EXPECT_EQ(timer.remainingTime(), -1);
    EXPECT_EQ(timer.interval(), 200);

    TTimer disabled(nullptr, 1000, false);
    EXPECT_FALSE(disabled.running());
    disabled.setEnabled(true);
    EXPECT_TRUE(disabled.running());
    EXPECT_GT(disabled.remainingTime(), 900);
}

TEST(QtTimer, IntervalChangeRestartsCountdown)
{
    TTimer timer(nullptr, 60000, true);
    timer.setInterval(100000);
    EXPECT_GT(timer.remainingTime(), 90000);
    timer.setInterval(500);
    EXPECT_LT(timer.remainingTime(), 1000);
}

} // namespace
