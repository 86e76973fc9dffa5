#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace
{

void AddRecord(double lat, double lon, double minutes)
{
    ++LogCount;
    LogRecords[LogCount] = LogRecord { rtl::Real6(lat), rtl::Real6(lon), rtl::Real6(minutes) };
}

class NavMathsTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
    void TearDown() override { ResetNavState(); }
};

TEST_F(NavMathsTest, FlatDistanceScalesLongitudeByHomeLatitude)
{
    CosLat = 0.5;
    EXPECT_NEAR(FlatDistanceNm(50.0, 1.0, 50.1, 1.0), 6.0, 1e-9);
    EXPECT_NEAR(FlatDistanceNm(50.0, 1.0, 50.0, 1.2), 6.0, 1e-9); // 0.2° × 0.5 × 60
    EXPECT_NEAR(FlatDistanceNm(50.0, 1.0, 50.3, 1.8), 30.0, 1e-9); // 3-4-5 in tenths of a degree
}

TEST_F(NavMathsTest, BearingsOfTheFourQuarters)
{
    // Longitudes are west positive: a larger longitude lies further west.
    EXPECT_NEAR(BearingDeg(50.0, 1.0, 50.1, 1.0), 0.0, 1e-6); // due north
    EXPECT_NEAR(BearingDeg(50.0, 1.0, 50.0, 0.9), 90.0, 1e-6); // due east
    EXPECT_NEAR(BearingDeg(50.0, 1.0, 49.9, 1.0), 180.0, 1e-6); // due south
    EXPECT_NEAR(BearingDeg(50.0, 1.0, 50.0, 1.1), 270.0, 1e-6); // due west
    EXPECT_EQ(WholeBearingDeg(50.0, 1.0, 50.1, 1.0), 0);
    EXPECT_EQ(WholeBearingDeg(50.0, 1.0, 50.0, 1.1), 270);
    // North-east on a chart whose degree of longitude is half a degree of latitude.
    CosLat = 0.5;
    EXPECT_NEAR(BearingDeg(50.0, 1.0, 50.1, 0.8), 45.0, 1e-6);
    EXPECT_NEAR(BearingDeg(50.0, 1.0, 49.9, 1.2), 225.0, 1e-6);
}

TEST_F(NavMathsTest, OneRecordGivesHullSpeedAndCourseZero)
{
    ManualSpeed = 5.5;
    TripLeg = 7.0;
    MeasuredSpeed = 3.0;
    AddRecord(50.0, 1.0, 600);
    ComputeLogSpeed();
    EXPECT_DOUBLE_EQ(LogSpeed, 5.5);
    EXPECT_DOUBLE_EQ(TripLeg, 7.0);
    EXPECT_DOUBLE_EQ(MeasuredSpeed, 3.0);
    EXPECT_EQ(ComputeLogCourse(), 0);
}

TEST_F(NavMathsTest, TwoRecordsMeasureOverOneSpanWhateverAverageN)
{
    AverageN = 6;
    DistanceFactor = 1.852;
    AddRecord(50.0, 1.0, 600);
    AddRecord(50.1, 1.0, 606); // 6 nm north in 6 minutes
    ComputeLogSpeed();
    EXPECT_NEAR(LogTimeDiff, 6.0, 1e-6);
    EXPECT_NEAR(MeasuredSpeed, 60.0, 1e-4);
    EXPECT_DOUBLE_EQ(LogSpeed, MeasuredSpeed);
    EXPECT_NEAR(TripLeg, 6.0 * 1.852, 1e-4); // display units
    EXPECT_EQ(ComputeLogCourse(), 0);
}

TEST_F(NavMathsTest, AverageSpansTheLastAverageNRecords)
{
    AverageN = 3;
    // A leg west, then three records south at 6 knots.
    AddRecord(50.0, 2.0, 0);
    AddRecord(50.0, 1.0, 60);
    AddRecord(49.9, 1.0, 120);
    AddRecord(49.8, 1.0, 180);
    AddRecord(49.7, 1.0, 240);
    ComputeLogSpeed();
    EXPECT_NEAR(LogTimeDiff, 180.0, 1e-6);
    EXPECT_NEAR(MeasuredSpeed, 6.0, 1e-4);
    EXPECT_EQ(ComputeLogCourse(), 180);
}

TEST_F(NavMathsTest, AverageNOfZeroStillMeasuresTheLastLeg)
{
    AverageN = 0;
    AddRecord(50.0, 1.0, 0);
    AddRecord(50.0, 1.1, 60); // 6 nm west in an hour
    ComputeLogSpeed();
    EXPECT_NEAR(MeasuredSpeed, 6.0, 1e-4);
    EXPECT_EQ(ComputeLogCourse(), 270);
}

// A zero move has no course: identical fixes never give the 090 of a
// bearing worked between one place and itself. At rest the last course
// worked out stays; until the vessel has moved there is none.
TEST_F(NavMathsTest, IdenticalFixesGiveNoCourseAndKeepTheLastOne)
{
    AverageN = 2;
    struct Row {
        const char* what;
        std::vector<std::array<double, 2>> fixes; // lat, lon (west positive)
        std::optional<int> course;
    };
    const Row rows[] = {
        { "two fixes at one place", { { 50.0, 1.0 }, { 50.0, 1.0 } }, std::nullopt },
        { "many fixes at one place", { { 50.0, 1.0 }, { 50.0, 1.0 }, { 50.0, 1.0 }, { 50.0, 1.0 } },
            std::nullopt },
        { "stopped after a move south", { { 50.1, 1.0 }, { 50.0, 1.0 }, { 50.0, 1.0 } }, 180 },
        { "at rest over the whole average after a move west",
            { { 50.0, 0.9 }, { 50.0, 1.0 }, { 50.0, 1.0 }, { 50.0, 1.0 }, { 50.0, 1.0 } }, 270 },
        { "moved again, north-east", { { 50.0, 1.0 }, { 50.0, 1.0 }, { 50.1, 1.0 }, { 50.2, 0.9 } }, 27 },
        { "back where it started over the average",
            { { 50.1, 1.0 }, { 50.0, 1.0 }, { 50.1, 1.0 }, { 50.0, 1.0 } }, 180 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LogCount = 0;
        for (std::size_t i = 0; i < row.fixes.size(); ++i)
            AddRecord(row.fixes[i][0], row.fixes[i][1], 600.0 + static_cast<double>(i));
        EXPECT_EQ(CourseMadeGood(), row.course);
        EXPECT_EQ(ComputeLogCourse(), row.course.value_or(0)); // the heading the vessel is drawn with

        NavCourse = 123.0;
        NavCourseKnown = !row.course;
        UpdateNavCourse();
        EXPECT_EQ(NavCourseKnown, row.course.has_value());
        EXPECT_DOUBLE_EQ(NavCourse, row.course.value_or(123));
    }
}

TEST_F(NavMathsTest, SpanAcrossMidnightIsTwoMinutes)
{
    AddRecord(50.0, 1.0, 23 * 60 + 59);
    AddRecord(50.01, 1.0, 1); // 0.6 nm in 2 minutes
    ComputeLogSpeed();
    EXPECT_NEAR(LogTimeDiff, 2.0, 1e-6);
    EXPECT_NEAR(MeasuredSpeed, 18.0, 1e-3);

    // Two records of the same minute count as a day apart, never as zero.
    LogRecords[1] = LogRecords[2];
    ComputeLogSpeed();
    EXPECT_NEAR(LogTimeDiff, 1440.0, 1e-6);
    EXPECT_DOUBLE_EQ(MeasuredSpeed, 0.0);
}

TEST_F(NavMathsTest, WaypointLegInDisplayUnitsAndNauticalMiles)
{
    DistanceFactor = 1.852;
    CurLat = 50.0;
    CurLon = 1.0;
    RouteCount = 2;
    RoutePoints[1] = { 50.0, 1.1 };
    RoutePoints[2] = { 50.1, 1.0 };
    RouteNames[2] = "A very long waypoint name19   ";
    ActiveWaypoint = 2;
    ASSERT_TRUE(ComputeWaypointLeg());
    EXPECT_NEAR(WaypointRangeNm, 6.0, 1e-9);
    EXPECT_NEAR(WaypointDistance, 6.0 * 1.852, 1e-9);
    EXPECT_NEAR(WaypointBearing, 0.0, 1e-6);
    EXPECT_EQ(DestWaypointText, "A very long waypoint");
    EXPECT_EQ(DestWaypointName, "A very long waypoint");
}

TEST_F(NavMathsTest, WaypointLegRefusesAnIndexOutsideTheRoute)
{
    RouteCount = 2;
    WaypointDistance = 3.0;
    WaypointBearing = 45.0;
    DestWaypointText = "kept";
    for (int16_t index : { int16_t(0), int16_t(3), int16_t(-1), int16_t(41) }) {
        ActiveWaypoint = index;
        EXPECT_FALSE(ComputeWaypointLeg()) << index;
    }
    EXPECT_DOUBLE_EQ(WaypointDistance, 3.0);
    EXPECT_DOUBLE_EQ(WaypointBearing, 45.0);
    EXPECT_EQ(DestWaypointText, "kept");
}

class TideStationTest : public NavMathsTest
{
protected:
    void SetUp() override
    {
        NavMathsTest::SetUp();
        CurLat = 50.0;
        CurLon = 1.0;
        // Station 1 far, station 2 near, station 3 farthest (examined last).
        const double lats[] = { 50.2, 50.05, 51.0 };
        for (int i = 1; i <= 3; ++i) {
            TideStations[i] = { rtl::Real6(lats[i - 1]), rtl::Real6(1.0) };
            for (int hour = 1; hour <= kTideHours; ++hour)
                TideStreams[i][hour] = TideFlow { int16_t(i * 100 + hour), int16_t(10 * hour) };
        }
        TideStationCount = 3;
    }
};

TEST_F(TideStationTest, NearestStationGivesItsStreamForTheHour)
{
    TideHour = -6;
    FindNearestTideStation();
    EXPECT_EQ(NearestTideStation, 2);
    EXPECT_NEAR(NearestDistance, 3.0, 1e-6); // to the nearest, not the last examined
    EXPECT_EQ(TideSet, 201);
    EXPECT_DOUBLE_EQ(TideDrift, 1.0);
    TideHour = 6;
    FindNearestTideStation();
    EXPECT_EQ(TideSet, 213);
    EXPECT_DOUBLE_EQ(TideDrift, 13.0);
    TideHour = 9; // outside the table: held to it
    FindNearestTideStation();
    EXPECT_EQ(TideSet, 213);

    TideStations[3] = TideStations[2]; // a tie keeps the earlier station
    FindNearestTideStation();
    EXPECT_EQ(NearestTideStation, 2);
}

TEST_F(TideStationTest, StreamComesFromTheAtlasOnly)
{
    ManualTideOff = false;
    TideSet = 45;
    TideDrift = 1.5;
    FindNearestTideStation();
    EXPECT_EQ(TideSet, 45);
    EXPECT_DOUBLE_EQ(TideDrift, 1.5);

    ManualTideOff = true;
    TideStationCount = 0; // no atlas: no stream
    FindNearestTideStation();
    EXPECT_EQ(TideSet, 0);
    EXPECT_DOUBLE_EQ(TideDrift, 0.0);
}

class DeadReckoningTest : public NavMathsTest
{
protected:
    void SetUp() override
    {
        NavMathsTest::SetUp();
        CurLat = 60.0;
        CurLon = 2.0;
        FixIntervalMs = 600000; // 10 minutes
        ManualSpeed = 6.0; // 1 nm in 10 minutes
    }
};

TEST_F(DeadReckoningTest, EmptyLogStartsFromThePresentPosition)
{
    ComputeDeadReckoning();
    EXPECT_DOUBLE_EQ(DRLat, 60.0);
    EXPECT_DOUBLE_EQ(DRLon, 2.0);
    EXPECT_EQ(FixStatus, "DR");
}

TEST_F(DeadReckoningTest, RunsOnFromTheLastRecordInDegrees)
{
    AddRecord(59.0, 1.0, 0);
    AddRecord(60.0, 2.0, 10);
    WaypointBearing = 0.0;
    ComputeDeadReckoning();
    EXPECT_NEAR(DRLat, 60.0 + 1.0 / 60.0, 1e-9);
    EXPECT_NEAR(DRLon, 2.0, 1e-9);

    // Due east at 60°N: a minute of latitude is two minutes of longitude.
    WaypointBearing = 90.0;
    ComputeDeadReckoning();
    EXPECT_NEAR(DRLat, 60.0, 1e-9);
    EXPECT_NEAR(DRLon, 2.0 - 2.0 / 60.0, 1e-6);

    // The course and speed made good instead: south at 12 knots.
    DRCourseSource = 1;
    DRSpeedSource = 1;
    NavCourse = 180.0;
    NavSpeed = 12.0;
    ComputeDeadReckoning();
    EXPECT_NEAR(DRLat, 60.0 - 2.0 / 60.0, 1e-9);
}

TEST_F(DeadReckoningTest, AtThePoleKeepsThePresentPosition)
{
    AddRecord(89.0, 2.0, 10);
    CurLat = 90.0;
    WaypointBearing = 90.0;
    ComputeDeadReckoning();
    EXPECT_DOUBLE_EQ(DRLat, 90.0);
    EXPECT_DOUBLE_EQ(DRLon, 2.0);
    EXPECT_TRUE(std::isfinite(DRLon));
}

} // namespace
