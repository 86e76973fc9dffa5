#include "mainwin/FixCycle.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace
{

constexpr double kDeg = std::numbers::pi / 180.0;

// A full track store whose record i holds latitude i, so a record's origin
// can be read from its latitude.
void FillTrack()
{
    for (int i = 1; i <= kMaxLogRecords; ++i)
        LogRecords[i] = LogRecord { rtl::Real6(i), rtl::Real6(0.0), rtl::Real6(i) };
    LogCount = kMaxLogRecords;
}

// Stores one more fix the way the cycle does: room first, then the slot.
void StoreFix(double lat)
{
    ThinAutoTrack();
    LogRecords[LogCount] = LogRecord { rtl::Real6(lat), rtl::Real6(0.0), rtl::Real6(0.0) };
}

std::vector<int> TrackLatitudes()
{
    std::vector<int> lats;
    for (int i = 1; i <= LogCount; ++i)
        lats.push_back(static_cast<int>(std::lround(static_cast<double>(LogRecords[i].lat))));
    return lats;
}

class FixCycleTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
    void TearDown() override
    {
        SetLocalClock({});
        ResetNavState();
    }
};

TEST_F(FixCycleTest, TrackFillsItsFreeSlotsFirst)
{
    LogCount = 0;
    StoreFix(1);
    StoreFix(2);
    EXPECT_EQ(LogCount, 2);
    EXPECT_EQ(TrackLatitudes(), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(ThinIndex, 2); // untouched until the store is full
}

TEST_F(FixCycleTest, ThinningKeepsTheStartAndWalksTheRemovalUpTheTrack)
{
    ThinStep = 2;
    ThinIndex = 2;
    ThinCounter = 0;
    FillTrack();

    // 99th fix: record 2 goes, the rest move down, the fix lands in 98.
    StoreFix(1000);
    EXPECT_EQ(LogCount, kMaxLogRecords);
    std::vector<int> lats = TrackLatitudes();
    EXPECT_EQ(lats[0], 1);
    EXPECT_EQ(lats[1], 3);
    EXPECT_EQ(lats[96], 98);
    EXPECT_EQ(lats[97], 1000);
    EXPECT_EQ(ThinIndex, 2);
    EXPECT_EQ(ThinCounter, 1);

    // Every second fix the removal point moves up one record.
    StoreFix(1001);
    EXPECT_EQ(ThinIndex, 3);
    lats = TrackLatitudes();
    EXPECT_EQ((std::vector<int>(lats.begin(), lats.begin() + 3)), (std::vector<int> { 1, 3, 5 }));
    EXPECT_EQ(lats[97], 1001);
    EXPECT_EQ(lats[96], 1000);

    // At 98 the newest record is replaced; the fix after that wraps round
    // and removes record 2 again.
    ThinIndex = 97;
    ThinCounter = 1;
    lats = TrackLatitudes();
    const std::vector<int> before = lats;
    StoreFix(2000);
    EXPECT_EQ(ThinIndex, 98);
    lats = TrackLatitudes();
    EXPECT_EQ((std::vector<int>(lats.begin(), lats.end() - 1)),
        (std::vector<int>(before.begin(), before.end() - 1)));
    EXPECT_EQ(lats[97], 2000);
    StoreFix(2001);
    EXPECT_EQ(ThinIndex, 2);
    lats = TrackLatitudes();
    EXPECT_EQ(lats[0], 1);
    EXPECT_EQ(lats[1], before[2]);
    EXPECT_EQ(lats[96], 2000);
    EXPECT_EQ(lats[97], 2001);
}

TEST_F(FixCycleTest, WithoutThinningTheOldestRecordGoes)
{
    ThinStep = 0;
    ThinIndex = 2;
    FillTrack();
    StoreFix(1000);
    StoreFix(1001);
    const std::vector<int> lats = TrackLatitudes();
    EXPECT_EQ(LogCount, kMaxLogRecords);
    EXPECT_EQ(lats[0], 3);
    EXPECT_EQ(lats[95], 98);
    EXPECT_EQ(lats[96], 1000);
    EXPECT_EQ(lats[97], 1001);
    EXPECT_EQ(ThinIndex, 1);
}

TEST_F(FixCycleTest, ADamagedRemovalPointStaysInsideTheStore)
{
    ThinStep = 2;
    ThinIndex = -5;
    ThinCounter = 0;
    FillTrack();
    StoreFix(1000);
    EXPECT_EQ(ThinIndex, 1);
    EXPECT_EQ(TrackLatitudes()[0], 2);
    EXPECT_EQ(TrackLatitudes()[97], 1000);
}

TEST_F(FixCycleTest, FixTimeFromTheSentenceWithTheTimeZone)
{
    UtcHourOffset = 2;
    FixClock t = GetFixTime(true, "231530.00");
    EXPECT_EQ(t.hour, 1);
    EXPECT_EQ(t.minute, 15);
    EXPECT_EQ(t.second, 30);
    EXPECT_DOUBLE_EQ(t.minutes, 75.5);
    EXPECT_EQ(FixTimeText, "231530.00");
    EXPECT_DOUBLE_EQ(FixTime, (3600 + 15 * 60 + 30) / 86400.0);

    UtcHourOffset = -5;
    t = GetFixTime(true, "031500");
    EXPECT_EQ(t.hour, 22);
}

TEST_F(FixCycleTest, FixTimeFromThePcClockWhenTheSentenceCannotGiveIt)
{
    SetLocalClock([] {
        LocalDateTime now;
        now.hour = 9;
        now.minute = 5;
        now.second = 3;
        now.millisecond = 600;
        return now;
    });
    for (const char* field : { "", "1234", "12a456", "246000", "126100", "-12345" }) {
        const FixClock t = GetFixTime(true, field);
        EXPECT_EQ(t.hour, 9) << field;
        EXPECT_EQ(FixTimeText, "090503") << field;
    }
    const FixClock t = GetFixTime(false, "123456");
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.millisecond, 600);
    EXPECT_DOUBLE_EQ(t.minutes, 545.06);
    EXPECT_DOUBLE_EQ(FixTime, (9 * 3600 + 5 * 60 + 3) / 86400.0); // milliseconds 0
}

TEST_F(FixCycleTest, ViewsAreRecentredAfterDrawEveryNFixes)
{
    auto dueFixes = [](int drawEveryN) {
        int16_t count = 0;
        std::vector<int> due;
        for (int fix = 1; fix <= 7; ++fix)
            if (CountTowardsRecentre(count, drawEveryN))
                due.push_back(fix);
        return due;
    };
    EXPECT_EQ(dueFixes(1), (std::vector<int> { 2, 3, 4, 5, 6, 7 }));
    EXPECT_EQ(dueFixes(3), (std::vector<int> { 4, 7 }));
}

TEST_F(FixCycleTest, TripAddsTheLatestLegOnce)
{
    CosLat = 1.0;
    DistanceFactor = 1.852;
    LogCount = 1;
    LogRecords[1] = LogRecord { rtl::Real6(50.0), rtl::Real6(1.0), rtl::Real6(600.0) };
    TripLeg = 5.0; // left from an earlier track
    AddLegToTrip();
    EXPECT_EQ(TripLeg, 0.0);
    EXPECT_EQ(TripTotal, 0.0);

    LogCount = 2;
    LogRecords[2] = LogRecord { rtl::Real6(50.1), rtl::Real6(1.0), rtl::Real6(660.0) };
    AddLegToTrip();
    EXPECT_NEAR(TripTotal, 6.0, 1e-6); // nautical miles
    EXPECT_NEAR(TripLeg, 6.0 * 1.852, 1e-6); // display units
}

TEST_F(FixCycleTest, GaugeNeedleColourAndCue)
{
    struct Case {
        double xte;
        int position;
        uint32_t colour;
        std::string cue;
    };
    for (const Case& c : {
             Case { 1.5, -15, kGaugeRed, "left.wav" },
             Case { 0.25, -25, kGaugeRed, "left.wav" },
             Case { -0.25, 25, kGaugeLime, "right.wav" },
             Case { -9.99, 100, kGaugeLime, "right.wav" },
             Case { 0.04, -4, kGaugeWhite, "OnTrack.wav" },
             Case { -0.05, 5, kGaugeWhite, "OnTrack.wav" }, // on the limit: still on track
             Case { 0.06, -6, kGaugeRed, "left.wav" },
         }) {
        const XteGaugeReading g = ReadXteGauge(c.xte, 0.05, kGaugeSilver, false);
        EXPECT_EQ(g.position, c.position) << c.xte;
        EXPECT_EQ(g.colour, c.colour) << c.xte;
        EXPECT_EQ(g.cue, c.cue) << c.xte;
    }
}

TEST_F(FixCycleTest, OnlyOnChangeCuesAColourOnce)
{
    EXPECT_TRUE(ReadXteGauge(0.2, 0.05, kGaugeWhite, true).cueDue);
    EXPECT_FALSE(ReadXteGauge(0.2, 0.05, kGaugeRed, true).cueDue);
    EXPECT_TRUE(ReadXteGauge(0.2, 0.05, kGaugeRed, false).cueDue);
}

// A route of four waypoints in a line due north, run to its end.
class RouteEndTest : public FixCycleTest
{
protected:
    void SetUp() override
    {
        FixCycleTest::SetUp();
        CosLat = 1.0;
        for (int i = 1; i <= 4; ++i)
            RoutePoints[i] = { 50.0 + i * 0.1, 1.0 };
        RouteCount = 4;
        CurLat = 50.45;
        CurLon = 1.0;
    }
};

TEST_F(RouteEndTest, ReverseRunsTheRouteBackFromTheOtherEnd)
{
    ActiveWaypoint = 5; // past the last waypoint
    ASSERT_TRUE(RestartRoute(RouteCompletion::Reverse));
    EXPECT_TRUE(ReverseRoute);
    EXPECT_EQ(ActiveWaypoint, 3);
    EXPECT_NEAR(WaypointBearing, 180.0, 1e-6);
    EXPECT_EQ(XteRefCourse, WaypointBearing);

    // Back at the start (before waypoint 1): forwards again from waypoint 2.
    CurLat = 50.05;
    ActiveWaypoint = 0;
    ArrivedWaypoint = 1;
    ASSERT_TRUE(RestartRoute(RouteCompletion::Reverse));
    EXPECT_FALSE(ReverseRoute);
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_NEAR(XteRefCourse, 0.0, 1e-6);
}

TEST_F(RouteEndTest, RepeatStartsAgainAtWaypointOne)
{
    ActiveWaypoint = 5;
    ASSERT_TRUE(RestartRoute(RouteCompletion::Repeat));
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_FALSE(ReverseRoute);
    EXPECT_NEAR(XteRefCourse, 180.0, 1e-6);
    EXPECT_EQ(DestWaypointName, RouteNames[1]);
}

TEST_F(RouteEndTest, ReverseAndRepeatOnlyAtTheRoutesEndWithoutAutomaticAdvance)
{
    // Each arrival ends the leg (no waypoint active); only an arrival at the
    // route's last waypoint (reversed: its first) reverses or repeats it.
    AutoWaypoint = false;
    struct Row {
        bool reversed;
        int arrivedAt;
        RouteCompletion completion;
        int activeAfter; // 0: no restart
    };
    const Row rows[] = {
        { false, 1, RouteCompletion::Reverse, 0 },
        { false, 3, RouteCompletion::Reverse, 0 },
        { false, 4, RouteCompletion::Reverse, 3 },
        { false, 1, RouteCompletion::Repeat, 0 },
        { false, 2, RouteCompletion::Repeat, 0 },
        { false, 4, RouteCompletion::Repeat, 1 },
        { true, 4, RouteCompletion::Reverse, 0 },
        { true, 2, RouteCompletion::Reverse, 0 },
        { true, 1, RouteCompletion::Reverse, 2 },
    };
    for (const Row& row : rows) {
        ReverseRoute = row.reversed;
        ActiveWaypoint = static_cast<int16_t>(row.arrivedAt);
        CurLat = RoutePoints[row.arrivedAt].lat;
        UpdateNavigationData();
        ASSERT_EQ(ActiveWaypoint, 0);
        EXPECT_EQ(RestartRoute(row.completion), row.activeAfter != 0) << row.reversed << " " << row.arrivedAt;
        EXPECT_EQ(ActiveWaypoint, row.activeAfter) << row.reversed << " " << row.arrivedAt;
        EXPECT_EQ(ReverseRoute,
            row.reversed != (row.completion == RouteCompletion::Reverse && row.activeAfter != 0));
    }
}

TEST_F(RouteEndTest, NoRestartWhileALegRunsOrForAOnePointRoute)
{
    ActiveWaypoint = 3; // the first fix of a fresh track also lands here
    EXPECT_FALSE(RestartRoute(RouteCompletion::Reverse));
    EXPECT_FALSE(RestartRoute(RouteCompletion::Repeat));
    EXPECT_EQ(ActiveWaypoint, 3);
    EXPECT_FALSE(ReverseRoute);

    ActiveWaypoint = 5;
    EXPECT_FALSE(RestartRoute(RouteCompletion::Prompt));
    RouteCount = 1;
    ActiveWaypoint = 2;
    EXPECT_FALSE(RestartRoute(RouteCompletion::Repeat));
    EXPECT_EQ(ActiveWaypoint, 2);
}

TEST_F(FixCycleTest, HeadingUpKeepsItsRotationInsideTheDeadBand)
{
    ViewRotation = 0;
    EXPECT_TRUE(ApplyHeadingUp(90, 10));
    EXPECT_NEAR(ViewRotation, 270 * kDeg, 1e-12);
    EXPECT_NEAR(ViewRotationCos, 0.0, 1e-12);
    EXPECT_NEAR(ViewRotationSin, -1.0, 1e-12);
    EXPECT_FALSE(ApplyHeadingUp(95, 10));
    EXPECT_FALSE(ApplyHeadingUp(100, 10)); // on the edge of the band
    EXPECT_NEAR(ViewRotation, 270 * kDeg, 1e-12);
    EXPECT_TRUE(ApplyHeadingUp(101, 10));
    EXPECT_NEAR(ViewRotation, 259 * kDeg, 1e-12);
}

TEST_F(FixCycleTest, HeadingUpComparesAcrossNorth)
{
    ViewRotation = 0;
    EXPECT_TRUE(ApplyHeadingUp(359, 0));
    EXPECT_NEAR(ViewRotation, 1 * kDeg, 1e-12);
    // A course of 2 wants 358: four degrees away the short way round.
    EXPECT_FALSE(ApplyHeadingUp(2, 5));
    // A view angle set by hand (negative radians) counts the same way.
    ViewRotation = -90 * kDeg;
    EXPECT_FALSE(ApplyHeadingUp(90, 1));
}

} // namespace
