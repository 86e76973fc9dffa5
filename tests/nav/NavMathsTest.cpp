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

TEST_F(NavMathsTest, FlatDistanceScalesLongitudeByTheMeanLatitude)
{
    CosLat = 1.0; // the chart's projection plays no part
    EXPECT_NEAR(FlatDistanceNm(60.0, 1.0, 60.1, 1.0), 6.0, 1e-9);
    EXPECT_NEAR(FlatDistanceNm(60.0, 1.0, 60.0, 1.2), 6.0, 1e-9); // 0.2° × cos 60° × 60
    EXPECT_NEAR(FlatDistanceNm(59.85, 1.0, 60.15, 1.8), 30.0, 1e-9); // 3-4-5 in tenths of a degree
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
    // A hair of longitude either side of a meridian leaves north north.
    EXPECT_NEAR(BearingDeg(50.0, 1.0 - 1e-10, 51.0, 1.0), 0.0, 1e-6);
    EXPECT_NEAR(BearingDeg(50.0, 1.0 + 1e-10, 51.0, 1.0), 0.0, 1e-6);
    // North-east at 60° N, where a degree of longitude is half a degree of latitude.
    EXPECT_NEAR(BearingDeg(59.95, 1.0, 60.05, 0.8), 45.0, 1e-6);
    EXPECT_NEAR(BearingDeg(60.05, 1.0, 59.95, 1.2), 225.0, 1e-6);
}

// From four quadrants, on the Greenwich meridian and on the 180th, to points
// 2 and 5 nm off on every bearing (a great circle on a sphere of 3440.065 nm):
// the flat-earth bearing is within 0.5° of the great circle's and the
// distance within 0.2 %.
TEST_F(NavMathsTest, BearingsAndDistancesFollowTheGreatCircleEverywhere)
{
    constexpr double kRad = std::numbers::pi / 180.0;
    constexpr double kEarthRadiusNm = 3440.065;
    const struct {
        double lat, lon; // degrees, longitude west positive
    } starts[] = { { 50.8, 1.3 }, { 50.8, -1.3 }, { -33.9, -151.2 }, { -17.0, 149.5 }, { 60.0, 0.0 },
        { -45.0, 0.0 }, { 12.0, 180.0 }, { -17.0, -179.99 }, { 70.0, 179.99 } };
    for (const auto& start : starts) {
        for (double nm : { 2.0, 5.0 }) {
            for (int bearing = 0; bearing < 360; bearing += 15) {
                const double phi1 = start.lat * kRad;
                const double delta = nm / kEarthRadiusNm;
                const double theta = bearing * kRad;
                const double phi2 = std::asin(
                    std::sin(phi1) * std::cos(delta) + std::cos(phi1) * std::sin(delta) * std::cos(theta));
                const double eastward = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi1),
                    std::cos(delta) - std::sin(phi1) * std::sin(phi2));
                const double lat = phi2 / kRad;
                const double lon = start.lon - eastward / kRad;
                const double off
                    = std::remainder(BearingDeg(start.lat, start.lon, lat, lon) - bearing, 360.0);
                EXPECT_LE(std::abs(off), 0.5) << start.lat << " " << start.lon << " " << bearing << " " << nm;
                EXPECT_NEAR(FlatDistanceNm(start.lat, start.lon, lat, lon), nm, nm * 0.002)
                    << start.lat << " " << start.lon << " " << bearing;
            }
        }
    }
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
    AddRecord(0.0, 1.0, 0);
    AddRecord(0.0, 1.1, 60); // 6 nm west in an hour on the equator
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
        { "moved again, north-north-east", { { 50.0, 1.0 }, { 50.0, 1.0 }, { 50.1, 1.0 }, { 50.2, 0.9 } }, 18 },
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

TEST_F(DeadReckoningTest, RunsOnAcrossTheAntimeridianEitherWay)
{
    // 1 nm at 60° is two minutes of longitude: from 1' short of 180° to 1' beyond.
    const struct {
        double fromLon;
        double course;
        double toLon;
    } cases[] = { { -179.0 - 59.0 / 60.0, 90.0, 179.0 + 59.0 / 60.0 },
        { 179.0 + 59.0 / 60.0, 270.0, -179.0 - 59.0 / 60.0 } };
    for (const auto& c : cases) {
        LogCount = 0;
        AddRecord(60.0, c.fromLon, 10);
        WaypointBearing = c.course;
        ComputeDeadReckoning();
        EXPECT_NEAR(DRLat, 60.0, 1e-9) << c.course;
        EXPECT_NEAR(DRLon, c.toLon, 1e-6) << c.course;
    }
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
