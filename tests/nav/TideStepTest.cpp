#include "nav/TideStep.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(TideStep, TidalHourFromTheFixHourAndHighWater)
{
    EXPECT_EQ(TidalHour(3, 40, 12), 5); // 4 - 12 = -8, plus 13
    EXPECT_EQ(TidalHour(3, 29, 12), 4); // 3 - 12 = -9, plus 13
    EXPECT_EQ(TidalHour(12, 10, 12), 0);
    EXPECT_EQ(TidalHour(18, 30, 12), -6); // 19 - 12 = 7, less 13
    EXPECT_EQ(TidalHour(23, 30, 2), -2); // 24 - 2 = 22, less 24
    EXPECT_EQ(TidalHour(14, 0, 20), -6);
    EXPECT_EQ(TidalHour(6, 0, 0), 6);
    for (int hour = 0; hour < 24; ++hour)
        for (int hw = 0; hw < 24; ++hw)
            EXPECT_LE(std::abs(TidalHour(hour, 45, hw)), 6) << hour << " " << hw;
}

TEST(TideStep, TidalHourIsTheSameEitherSideOfMidnight)
{
    struct Case {
        int hour, minute;
        int highWaterHour; // 23:30 and later is 24
        int tidalHour;
    };
    const Case cases[] = {
        { 0, 10, 23, 1 }, // 70 minutes after high water at 23:00
        { 23, 50, 24, 0 }, // 5 minutes after high water at 23:45
        { 0, 10, 24, 0 }, // 25 minutes after it
        { 23, 10, 2, -3 }, // 2 h 50 before high water at 02:00
        { 1, 40, 23, 3 }, { 22, 20, 1, -3 },
        // High water at noon: the hour steps once an hour into the night.
        { 22, 20, 12, -3 }, // 10 h after: 3 before the next
        { 23, 20, 12, -2 }, { 23, 40, 12, -1 },
        { 0, 10, 12, -1 }, // 12 hours either way: the later high water
        { 0, 40, 12, 2 }, // 11 hours before: 2 after the one before
    };
    for (const Case& c : cases)
        EXPECT_EQ(TidalHour(c.hour, c.minute, c.highWaterHour), c.tidalHour)
            << c.hour << ":" << c.minute << " high water " << c.highWaterHour;

    // Every clock time and high water moved round the clock together give
    // the same hour of the tide.
    for (int hour = 0; hour < 24; ++hour)
        for (int minute : { 0, 29, 30, 59 })
            for (int hw = 0; hw <= 24; ++hw)
                for (int shift = 1; shift < 24; ++shift)
                    ASSERT_EQ(TidalHour((hour + shift) % 24, minute, (hw + shift) % 24),
                        TidalHour(hour, minute, hw))
                        << hour << ":" << minute << " high water " << hw << " moved " << shift << " h";
}
