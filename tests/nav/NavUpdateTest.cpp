#include "nav/NavUpdate.h"
#include "nav/ChartConfig.h"
#include "nav/LogTemplate.h"
#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "nav/RouteCommands.h"
#include "nav/TidalAtlas.h"
#include "nav/TideStep.h"
#include "rtl/Numbers.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace
{

constexpr double kDeg = std::numbers::pi / 180.0;

void AddRecord(double lat, double lon, double minutes)
{
    ++LogCount;
    LogRecords[LogCount] = LogRecord { rtl::Real6(lat), rtl::Real6(lon), rtl::Real6(minutes) };
}

void SetWaypoint(int index, double lat, double lon, const std::string& label)
{
    RoutePoints[index] = { lat, lon };
    std::string name = label;
    name.resize(24, ' ');
    RouteNames[index] = name + "19   ";
}

// A boat at 50°N 1°W that has made 6 knots due north for the last hour, with
// hull speed 6. Waypoint 1 lies 3 nm due north; 2 and 3 beyond it.
class NavUpdateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ManualSpeed = 6.0;
        AddRecord(49.9, 1.0, 600);
        AddRecord(50.0, 1.0, 660);
        CurLat = 50.0;
        CurLon = 1.0;
        SetWaypoint(1, 50.05, 1.0, "Outer Spit");
        SetWaypoint(2, 50.1, 1.05, "Bar Buoy");
        SetWaypoint(3, 50.15, 1.05, "Harbour Mouth");
        RouteCount = 3;
        ActiveWaypoint = 1;
        XteRefCourse = 0.0;
    }
    void TearDown() override { ResetNavState(); }

    // One tidal diamond at the boat with the given stream at every hour.
    static void SetStream(int16_t set, double knots)
    {
        TideStations[1] = { rtl::Real6(50.0), rtl::Real6(1.0) };
        for (int hour = 1; hour <= kTideHours; ++hour)
            TideStreams[1][hour] = TideFlow { set, static_cast<int16_t>(std::lround(knots * 10)) };
        TideStationCount = 1;
    }
};

TEST_F(NavUpdateTest, UnitTextsFollowTheDistanceFactor)
{
    SpeedAlwaysKnots = false;
    const struct {
        double factor;
        const char* distance;
        const char* speed;
    } cases[] = { { 1.0, "Nm ", " Kn" }, { 1.852, "Km ", " Kph" }, { 1.15081, "Mls", " Mph" } };
    for (const auto& c : cases) {
        DistanceFactor = c.factor;
        UpdateNavigationData();
        EXPECT_EQ(DistanceUnitText, c.distance) << c.factor;
        EXPECT_EQ(SpeedUnitText, c.speed) << c.factor;
    }
    SpeedAlwaysKnots = true;
    UpdateNavigationData();
    EXPECT_EQ(SpeedUnitText, " Kn");
}

TEST_F(NavUpdateTest, LegStraightAlongTheTrack)
{
    UpdateNavigationData();
    EXPECT_EQ(BearingText, "000");
    EXPECT_NEAR(WaypointDistance, 3.0, 1e-6); // nm after the update
    EXPECT_NEAR(WaypointRangeNm, 3.0, 1e-6);
    EXPECT_EQ(CourseToSteer, 0);
    EXPECT_EQ(CtsText, "000");
    EXPECT_NEAR(HoursToWaypoint, 0.5, 1e-6);
    EXPECT_EQ(TtgText, " 0 Hr 30.0 Min");
    EXPECT_EQ(VmgText, "6.00 Kn");
    EXPECT_EQ(SogText, "6.00");
    EXPECT_EQ(CogText, "000");
    EXPECT_EQ(RangeText, "3.00 Nm ");
    EXPECT_EQ(LegStatusText, ",A");
    EXPECT_EQ(XteText, "0.00,R,");
    EXPECT_EQ(XteScaleText, "x 0.1 NM");
    EXPECT_NEAR(XTE, 0.0, 1e-6);
    EXPECT_EQ(DestWaypointText, "Outer Spit          ");
    EXPECT_EQ(ActiveWaypoint, 1);

    SetWaypoint(1, 50.225, 1.0, "Far"); // 13.5 nm at 6 knots
    UpdateNavigationData();
    EXPECT_EQ(TtgText, " 2 Hr 15.0 Min");
}

TEST_F(NavUpdateTest, CourseTextsAreZeroFilledAndMagneticIsFolded)
{
    // 5° east: 000 true is 355 magnetic.
    MagVariation = 5;
    UpdateNavigationData();
    EXPECT_EQ(CogText, "000");
    EXPECT_EQ(CogMagText, "355");

    // A track of 5° east of north, a degree of longitude at 49.95° N being
    // cos 49.95° of a degree of latitude.
    LogRecords[1] = LogRecord { rtl::Real6(49.9),
        rtl::Real6(1.0 + 0.1 * std::tan(5 * kDeg) / std::cos(49.95 * kDeg)), rtl::Real6(600) };
    MagVariation = 0;
    UpdateNavigationData();
    EXPECT_EQ(CogText, "005");

    // Due west with 95° west of variation comes to 365, shown as 005.
    LogRecords[1] = LogRecord { rtl::Real6(50.0), rtl::Real6(0.9), rtl::Real6(600) };
    MagVariation = -95;
    UpdateNavigationData();
    EXPECT_EQ(CogText, "270");
    EXPECT_EQ(CogMagText, "005");
}

TEST_F(NavUpdateTest, CourseToSteerAgainstACrossStream)
{
    // A 3-knot stream setting east across a northward leg at 6 knots hull
    // speed... scaled to the 3-4-5 triangle with hull speed 5.
    ManualSpeed = 5.0;
    SetStream(90, 3.0);
    UpdateNavigationData();
    EXPECT_EQ(NearestTideStation, 1);
    EXPECT_NEAR(Heading, -std::atan(3.0 / 4.0) / kDeg, 1e-4);
    EXPECT_EQ(CourseToSteer, 323);
    EXPECT_EQ(CtsText, "323");
    EXPECT_GT(HoursToWaypoint, 0);
}

// The panel shows the set of the stream; there is no heading to steer for
// this fix, not the last one.
TEST_F(NavUpdateTest, StreamStrongerThanTheBoatHasNoCourseToSteer)
{
    CourseToSteer = 12;
    Heading = 12.3;
    for (int16_t set : { int16_t(90), int16_t(270) }) { // from either side
        SetStream(set, 8.0);
        UpdateNavigationData();
        EXPECT_DOUBLE_EQ(HoursToWaypoint, -2) << set;
        EXPECT_EQ(VmgText, "Speed<Tide! ");
        EXPECT_EQ(TtgText, "********");
        EXPECT_EQ(CtsText, rtl::StrInt(set, 3));
        EXPECT_EQ(CourseToSteer, 12);
        EXPECT_TRUE(std::isnan(Heading)) << Heading;
        Heading = 12.3;
    }
}

TEST_F(NavUpdateTest, HullSpeedZeroIsNoSolutionNotADivision)
{
    ManualSpeed = 0.0;
    CourseToSteer = 12;
    UpdateNavigationData();
    EXPECT_DOUBLE_EQ(HoursToWaypoint, -2);
    EXPECT_EQ(VmgText, "Speed<Tide! ");
    EXPECT_EQ(CtsText, "  0"); // the set of the stream, not a figure made of a division
    EXPECT_TRUE(std::isnan(Heading)); // no heading to steer for this fix

    // A cross stream exactly as strong as the boat is no solution either
    // (a leg due east, the stream setting south).
    SetWaypoint(1, 50.0, 0.95, "East");
    ManualSpeed = 3.0;
    SetStream(180, 3.0);
    UpdateNavigationData();
    EXPECT_DOUBLE_EQ(HoursToWaypoint, -2);
    EXPECT_EQ(CtsText, "180");
    EXPECT_TRUE(std::isnan(Heading));
}

TEST_F(NavUpdateTest, SailingAwayFromTheWaypointShowsNoTimeToGo)
{
    LogRecords[1] = LogRecord { rtl::Real6(50.1), rtl::Real6(1.0), rtl::Real6(600) }; // going south
    UpdateNavigationData();
    EXPECT_DOUBLE_EQ(HoursToWaypoint, -1);
    EXPECT_EQ(TtgText, "********");
    EXPECT_EQ(VmgText, "********");
    EXPECT_EQ(SogText, "6.00");
}

TEST_F(NavUpdateTest, ArrivalWithAutomaticAdvanceTakesTheNextLeg)
{
    CurLat = 50.049; // 0.06 nm short of waypoint 1
    UpdateNavigationData();
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_TRUE(WpApproachPending);
    EXPECT_EQ(OriginWaypointName, "Outer Spit          ");
    EXPECT_EQ(DestWaypointText, "Bar Buoy            ");
    EXPECT_EQ(LegStatusText, ",A");
    const double dLat = 50.1 - 50.049;
    const double dLon = 0.05 * std::cos((50.1 + 50.049) / 2 * kDeg);
    EXPECT_NEAR(WaypointDistance, 60 * std::hypot(dLat, dLon), 1e-6);
    // The new leg runs from Outer Spit to Bar Buoy, 3' north and 3' of
    // longitude west: on 327.3. The boat, 0.06 nm south of Outer Spit, lies
    // 0.06 × sin 32.7° to its left.
    const double offNorth = std::atan(std::cos((50.05 + 50.1) / 2 * kDeg)) / kDeg;
    EXPECT_NEAR(XteRefCourse, 360.0 - offNorth, 1e-6);
    EXPECT_NEAR(XTE, -0.06 * std::sin(offNorth * kDeg), 1e-4);
    EXPECT_EQ(XteText, "0.03,R,");
}

TEST_F(NavUpdateTest, ArrivalWithoutAutomaticAdvanceEndsTheLeg)
{
    AutoWaypoint = false;
    CurLat = 50.049;
    UpdateNavigationData();
    EXPECT_EQ(LegStatusText, ",V");
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(DestWaypointText, "Near Outer Spit           !");
    EXPECT_FALSE(WpApproachPending);

    UpdateNavigationData();
    EXPECT_EQ(CourseToSteer, -1);
    EXPECT_EQ(CtsText, "");
    EXPECT_EQ(DestWaypointText, "Select Next Waypoint !");
    EXPECT_EQ(DestWaypointName, "");

    RouteGuidanceOn = false;
    UpdateNavigationData();
    EXPECT_EQ(DestWaypointText, "");
}

TEST_F(NavUpdateTest, ReverseRouteWalksBackwardsAndEndsAtTheFirstWaypoint)
{
    ReverseRoute = true;
    ActiveWaypoint = 2;
    CurLat = 50.1;
    CurLon = 1.049;
    UpdateNavigationData();
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(DestWaypointText, "Outer Spit          ");

    CurLat = 50.0505; // on the leg, 0.04 nm short of waypoint 1
    CurLon = 1.0005;
    UpdateNavigationData();
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(LegStatusText, ",A");

    UpdateNavigationData();
    EXPECT_EQ(CourseToSteer, -1);
    EXPECT_EQ(DestWaypointText, "Select Next Waypoint !");
}

TEST_F(NavUpdateTest, CrossTrackErrorOnTheFineScaleAndHeldAtTheLimitOnItsOwnSide)
{
    XteRefCourse = std::asin(0.5 / 3.0) / kDeg; // half a mile off a leg 3 nm long
    UpdateNavigationData();
    EXPECT_NEAR(XTE, 0.5, 1e-6);
    EXPECT_EQ(XteText, "0.50,L,");
    EXPECT_EQ(XteScaleText, "x 0.1 NM");
    EXPECT_EQ(LegStatusText, ",A");

    SetWaypoint(1, 50.25, 1.0, "Fifteen North"); // 15 nm due north
    XteRefCourse = 45.0; // 15 × sin 45° = 10.6 nm to the right of the leg
    UpdateNavigationData();
    EXPECT_DOUBLE_EQ(XTE, 9.99);
    EXPECT_EQ(XteText, "9.99,L,");
    EXPECT_EQ(XteScaleText, "x 1.0 NM");
    EXPECT_EQ(LegStatusText, ",V");

    XteRefCourse = 315.0;
    UpdateNavigationData();
    EXPECT_DOUBLE_EQ(XTE, -9.99);
    EXPECT_EQ(XteText, "9.99,R,");
    EXPECT_EQ(LegStatusText, ",V");
}

// The cross-track error is the distance from the line of the leg, on the
// side the boat is: it does not grow as the waypoint comes near, reads the
// true distance abeam of it, and past it keeps the boat's own side with the
// status saying the leg is no longer a guide.
TEST_F(NavUpdateTest, CrossTrackErrorIsTheDistanceFromTheLegNearAbeamAndPastTheWaypoint)
{
    // The leg runs due north to waypoint 1 (50.05 N 1 W). Distances along it
    // (positive short of the waypoint) and across it (positive to the east,
    // the right of the leg), nm.
    struct Row {
        const char* what;
        double along, across;
        const char* xteText;
        const char* status;
    };
    const Row rows[] = {
        { "on the leg", 1.0, 0.0, "0.00,R,", ",A" },
        { "3 nm short, left of the leg", 3.0, -0.60, "0.60,R,", ",A" },
        { "0.39 nm to go, right of the leg", 0.249, 0.30, "0.30,L,", ",A" },
        { "1.17 nm to go, left of the leg", 1.0044, -0.60, "0.60,R,", ",A" },
        { "abeam to the right", 0.0, 0.30, "0.30,L,", ",A" },
        { "abeam to the left", 0.0, -0.45, "0.45,R,", ",A" },
        { "past it, right of the leg", -0.50, 0.30, "0.30,L,", ",V" },
        { "past it, left of the leg", -0.50, -0.20, "0.20,R,", ",V" },
        { "far past it, far to the left", -20.0, -12.0, "9.99,R,", ",V" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CurLat = 50.05 - row.along / 60.0;
        // West positive; a minute of longitude is cos(mean latitude) nm.
        CurLon = 1.0 - row.across / (60.0 * std::cos((CurLat + 50.05) / 2 * kDeg));
        UpdateNavigationData();
        ASSERT_EQ(ActiveWaypoint, 1);
        EXPECT_EQ(XteText, row.xteText);
        EXPECT_EQ(LegStatusText, row.status);
        EXPECT_NEAR(XTE, std::clamp(row.across, -9.99, 9.99), 1e-6);
    }
}

// Two fixes at one place have no course: the course fields are empty (not
// 090), and once the vessel has moved, the course it made good stays while
// it lies at rest.
TEST_F(NavUpdateTest, IdenticalFixesGiveNoCourseAndRestKeepsTheLastOne)
{
    MagVariation = -4;
    LogCount = 0;
    AddRecord(50.0, 1.0, 600);
    AddRecord(50.0, 1.0, 601);
    UpdateNavigationData();
    EXPECT_EQ(CogText, "");
    EXPECT_EQ(CogMagText, "");
    EXPECT_EQ(ExpandLogTemplate("@c/@c^", ""), "/");
    EXPECT_EQ(ExpandNmeaTemplate("$XXVTG,@c,T,@c^,M"), "$XXVTG,,T,,M");
    EXPECT_EQ(SogText, "0.00");

    AddRecord(49.95, 1.0, 631); // 3 nm south
    for (const double minutes : { 632.0, 633.0, 700.0 }) {
        AddRecord(49.95, 1.0, minutes);
        UpdateNavigationData();
        EXPECT_EQ(CogText, "180") << minutes;
        EXPECT_EQ(CogMagText, "184") << minutes;
    }
    EXPECT_EQ(ExpandLogTemplate("@c/@c^", ""), "180/184");
}

TEST_F(NavUpdateTest, RangeFormatFollowsTheDisplayedValue)
{
    SetWaypoint(1, 50.0 + 0.7 / 60, 1.0, "Close");
    DistanceFactor = 1.852; // 0.7 nm shows as 1.30 km
    UpdateNavigationData();
    EXPECT_EQ(RangeText, "1.30 Km ");

    SetWaypoint(1, 50.0 + 0.5 / 60, 1.0, "Closer");
    DistanceFactor = 1.0;
    UpdateNavigationData();
    EXPECT_EQ(RangeText, "0.5000 Nm ");
}

// The figures of a leg wherever it lies and whenever the tide is read:
// across the 180th meridian either way, with a chart loaded whose home lies
// far from the boat, with a tidal atlas whose diamonds are near or far, and
// with high water either side of midnight. Positions are made on the sphere;
// every bearing is within 0.05° and every distance within 0.003 nm of the
// great circle's (the XTE within 0.005 nm of the perpendicular).
TEST(LegFigures, RightWhereverTheLegLiesAndWhenever)
{
    struct Where {
        double lat, lon; // degrees, longitude west positive
    };
    enum class Atlas { None, Demo, OneDiamond };
    struct Row {
        const char* what;
        Where start; // where the leg, and its cross-track reference, was taken
        Where waypoint;
        Where previous; // the fix before, 20 minutes earlier
        Where boat;
        double chartHomeLat = 0.0; // of the chart loaded
        Atlas atlas = Atlas::None;
        Where diamond = {}; // of a one-diamond atlas: 3 knots setting west at every hour
        int clockHour = 12, clockMinute = 0, highWaterHour = 12;
        double hullSpeed = 6.0;
        // Expected
        const char* bearing;
        const char* range;
        const char* xte;
        const char* course; // made good from the fix before; nullptr: at rest, not checked
        const char* speed;
        const char* heading; // to steer, as HSC gives it
        int tideHour = 0;
    };
    const Where diamond2 = { 50.788, 1.302 }; // of the demo atlas
    const Where demoNorthEast = { 50.8468, 1.2087 }; // 5 nm on 045 from it
    const Where atFifty = { 50.0, 1.0 };
    const Where fiftyNorthEast = { 50.0588, 0.9083 }; // 5 nm on 045
    const Row rows[] = {
        // S 17°00' E 179°57' to S 17°01.2' W 179°57', 0.30 nm right of the leg.
        { "east across 180 degrees", { -17.0, -179.95 }, { -17.02, 179.95 }, { -17.0168, -179.9665 },
            { -17.0168, 179.9917 }, 0.0, Atlas::None, {}, 12, 0, 12, 6.0, "095", "2.40 Nm ", "0.30,L,", "090",
            "7.19", "94.6" },
        { "west across 180 degrees", { 12.0, 179.96 }, { 12.03, -179.96 }, { 12.0161, 179.9925 },
            { 12.0161, -179.9829 }, 0.0, Atlas::None, {}, 12, 0, 12, 6.0, "302", "1.58 Nm ", "0.30,R,", "270",
            "4.33", "301.8" },
        // 37 N 76 W on a 045 leg of 5.00 nm, 0.30 nm left of it.
        { "the chart's home 14 degrees north", { 37.0, 76.0 }, { 37.0589, 75.9262 }, { 36.98585, 76.02656 },
            { 37.0153, 75.9897 }, 50.8, Atlas::None, {}, 12, 0, 12, 6.0, "049", "4.01 Nm ", "0.30,R,", "045",
            "7.50", "49.3" },
        { "the chart's home on the equator", { 37.0, 76.0 }, { 37.0589, 75.9262 }, { 36.98585, 76.02656 },
            { 37.0153, 75.9897 }, 0.0, Atlas::None, {}, 12, 0, 12, 6.0, "049", "4.01 Nm ", "0.30,R,", "045",
            "7.50", "49.3" },
        // The demo atlas: the ebb at HW+3 off its diamonds.
        { "near the demo diamonds", diamond2, demoNorthEast, diamond2, diamond2, 50.8, Atlas::Demo, {}, 15, 0,
            12, 10.0, "045", "5.00 Nm ", "0.00,R,", nullptr, "0.00", "51.3", 3 },
        { "the demo atlas off Sydney", { -33.85, -151.25 }, { -33.7911, -151.3209 }, { -33.85, -151.25 },
            { -33.85, -151.25 }, 50.8, Atlas::Demo, {}, 15, 0, 12, 6.0, "045", "5.00 Nm ", "0.00,R,", nullptr,
            "0.00", "45.0", 3 },
        { "a diamond 4 nm away", atFifty, fiftyNorthEast, atFifty, atFifty, 0.0, Atlas::OneDiamond,
            { 50.0 + 4.0 / 60, 1.0 }, 12, 0, 12, 6.0, "045", "4.99 Nm ", "0.00,R,", nullptr, "0.00", "65.7" },
        { "a diamond 6 nm away", atFifty, fiftyNorthEast, atFifty, atFifty, 0.0, Atlas::OneDiamond,
            { 50.1, 1.0 }, 12, 0, 12, 6.0, "045", "4.99 Nm ", "0.00,R,", nullptr, "0.00", "45.1" },
        { "a diamond 1000 nm away", atFifty, fiftyNorthEast, atFifty, atFifty, 0.0, Atlas::OneDiamond,
            { 50.0 + 1000.0 / 60, 1.0 }, 12, 0, 12, 6.0, "045", "4.99 Nm ", "0.00,R,", nullptr, "0.00",
            "45.1" },
        // The hour of the tide either side of midnight, at the demo diamond.
        { "high water 23:00, 00:10", diamond2, demoNorthEast, diamond2, diamond2, 50.8, Atlas::Demo, {}, 0,
            10, 23, 6.0, "045", "5.00 Nm ", "0.00,R,", nullptr, "0.00", "50.5", 1 },
        { "high water 23:45, 23:50", diamond2, demoNorthEast, diamond2, diamond2, 50.8, Atlas::Demo, {}, 23,
            50, 24, 6.0, "045", "5.00 Nm ", "0.00,R,", nullptr, "0.00", "45.1", 0 },
        { "high water 02:00, 23:10", diamond2, demoNorthEast, diamond2, diamond2, 50.8, Atlas::Demo, {}, 23,
            10, 2, 6.0, "045", "5.00 Nm ", "0.00,R,", nullptr, "0.00", "31.8", -3 },
        { "high water 12:00, 23:40", diamond2, demoNorthEast, diamond2, diamond2, 50.8, Atlas::Demo, {}, 23,
            40, 12, 6.0, "045", "5.00 Nm ", "0.00,R,", nullptr, "0.00", "38.5", -1 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ResetNavState();
        ChartHomeLat = row.chartHomeLat;
        SetChartScales();
        if (row.atlas == Atlas::Demo) {
            LoadTidalData(std::string(KV_SOURCE_DIR) + "/demo/tides/harbour.pos");
            ASSERT_EQ(TideStationCount, 6);
        } else if (row.atlas == Atlas::OneDiamond) {
            TideStations[1] = { rtl::Real6(row.diamond.lat), rtl::Real6(row.diamond.lon) };
            for (int hour = 1; hour <= kTideHours; ++hour)
                TideStreams[1][hour] = TideFlow { 270, 30 };
            TideStationCount = 1;
        }
        ManualSpeed = row.hullSpeed;
        SetWaypoint(1, row.waypoint.lat, row.waypoint.lon, "Next");
        RouteCount = 1;
        ActiveWaypoint = 1;
        CurLat = row.start.lat;
        CurLon = row.start.lon;
        ASSERT_TRUE(ResetCrossTrackReference());

        AddRecord(row.previous.lat, row.previous.lon, 600);
        AddRecord(row.boat.lat, row.boat.lon, 620);
        CurLat = row.boat.lat;
        CurLon = row.boat.lon;
        TideHour = static_cast<int16_t>(TidalHour(row.clockHour, row.clockMinute, row.highWaterHour));
        UpdateNavigationData();

        EXPECT_EQ(TideHour, row.tideHour);
        EXPECT_EQ(BearingText, row.bearing);
        EXPECT_EQ(RangeText, row.range);
        EXPECT_EQ(XteText, row.xte);
        if (row.course) {
            EXPECT_EQ(CogText, row.course);
        }
        EXPECT_EQ(SogText, row.speed);
        char heading[16];
        std::snprintf(heading, sizeof heading, "%.1f", Heading);
        EXPECT_STREQ(heading, row.heading);
    }
    ResetNavState();
}

} // namespace
