#include "nav/LocalClock.h"

#include <gtest/gtest.h>

namespace
{

TEST(LocalClock, DateTimeValueCountsDaysSince30December1899)
{
    const struct {
        LocalDateTime t;
        double value;
    } cases[] = {
        { { 1899, 12, 30 }, 0.0 },
        { { 1900, 3, 1 }, 61.0 }, // 1900 was no leap year
        { { 2000, 1, 1, 12 }, 36526.5 },
        { { 2024, 2, 29, 6 }, 45351.25 },
        { { 2024, 3, 1, 23, 59, 59, 999 }, 45353.0 - 0.001 / 86400 },
        { { 1800, 1, 1 }, -36522.0 },
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.t.DateTimeValue(), c.value, 1e-9) << c.t.year << "-" << c.t.month << "-" << c.t.day;
}

} // namespace
