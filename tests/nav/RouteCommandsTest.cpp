#include "nav/RouteCommands.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "nav/RouteUpload.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

constexpr double kUnset = -123.0; // an XteRefCourse no command sets

class RouteCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        CosLat = 1.0;
        CurLat = 50.0;
        CurLon = 1.0;
        XteRefCourse = kUnset;
    }
    void TearDown() override { ResetNavState(); }

    static void Add(const WaypointNameField& name, double lat, double lon)
    {
        ++RouteCount;
        RouteNames[RouteCount] = name;
        RoutePoints[RouteCount] = TPosition { lat, lon };
    }

    // From (lat, 1): waypoint 1 due north, 2 due west, 3 due east. On the
    // equator a degree of longitude is a degree of latitude, so the legs
    // between them run on the diagonals.
    static void AddCompassRoute(double lat = 50.0)
    {
        Add("North                   19   ", lat + 0.1, 1.0);
        Add("West                    19   ", lat, 1.1);
        Add("East                    19   ", lat, 0.9);
    }

    // A fix the way the fix cycle takes it: the position, its time, and the
    // navigation update.
    static void Fix(double lat, double lon)
    {
        CurLat = lat;
        CurLon = lon;
        FixTimeText = "120000";
        UpdateNavigationData();
    }

    kvtest::TempDir dir;
};

TEST_F(RouteCommandsTest, OpenTakesTheFirstLegAsCrossTrackReferenceWhenAViewIsOpen)
{
    AddCompassRoute();
    ActiveWaypoint = 2;
    ASSERT_TRUE(WriteRouteFile(dir.file("compass.rte")));
    ActiveWaypoint = 3;
    XteRefCourse = kUnset;

    EXPECT_TRUE(OpenRoute(dir.file("compass.rte"), false).text.empty());
    EXPECT_EQ(RouteCount, 3);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(RouteName, "compass");
    EXPECT_EQ(XteRefCourse, kUnset);

    EXPECT_TRUE(OpenRoute(dir.file("compass.rte"), true).text.empty());
    EXPECT_NEAR(XteRefCourse, 0.0, 1e-6);
    EXPECT_EQ(DestWaypointName, "North               ");
}

TEST_F(RouteCommandsTest, FailedOrEmptyOpenLeavesNoActiveWaypointAndKeepsTheRouteName)
{
    AddCompassRoute();
    ActiveWaypoint = 2;
    RouteName = "compass";

    const RouteNotice missing = OpenRoute(dir.file("gone.rte"), true);
    EXPECT_EQ(missing.text, "Route File does not exist !");
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(RouteName, "compass");
    EXPECT_EQ(XteRefCourse, kUnset);

    dir.write("empty.rte", "");
    EXPECT_TRUE(OpenRoute(dir.file("empty.rte"), true).text.empty());
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(RouteName, "empty");
    EXPECT_EQ(XteRefCourse, kUnset);
}

TEST_F(RouteCommandsTest, SaveNamesTheRouteOnlyWhenTheFileWasWritten)
{
    AddCompassRoute();
    RouteName = "before";
    const RouteNotice failed = SaveRoute(dir.file("missing folder/after.rte"));
    EXPECT_EQ(failed.kind, platform::MessageKind::Error);
    EXPECT_EQ(failed.text, "Error writing route file!");
    EXPECT_EQ(RouteName, "before");

    EXPECT_TRUE(SaveRoute(dir.file("after.rte")).text.empty());
    EXPECT_EQ(RouteName, "after");
    EXPECT_TRUE(dir.exists("after.rte"));
}

TEST_F(RouteCommandsTest, PurgeEmptiesTheRouteAndLeavesDeadReckoning)
{
    AddCompassRoute();
    ActiveWaypoint = 2;
    DRMode = true;
    PurgeRoute();
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_FALSE(DRMode);
}

TEST_F(RouteCommandsTest, PickingFromTheListSetsTheLegAndItsReference)
{
    AddCompassRoute();
    SelectRouteWaypoint(1, true);
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-6);

    SelectRouteWaypoint(2, false);
    EXPECT_EQ(ActiveWaypoint, 3);
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-6);

    SelectRouteWaypoint(-1, true); // the list emptied
    EXPECT_EQ(ActiveWaypoint, 0);
    SelectRouteWaypoint(3, true); // beyond the route
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-6);
}

TEST_F(RouteCommandsTest, ListHintShowsOnlyLongLabels)
{
    EXPECT_EQ(RouteListHint("North                   "), "Selected Waypoint|");
    EXPECT_EQ(RouteListHint("Twelve chars@@@@@@      "), "Selected Waypoint|");
    EXPECT_EQ(RouteListHint("Thirteen char           "), "Thirteen char|");
    EXPECT_EQ(RouteListHint("West pierhead light     19   "), "West pierhead light|");
}

TEST_F(RouteCommandsTest, NextWaypointStepsOnWrapsAndComputesTheNewLegAtOnce)
{
    AddCompassRoute();
    ActiveWaypoint = 1;
    EXPECT_EQ(StepRouteWaypoint(true), 1);
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-6);
    EXPECT_EQ(DestWaypointName, "West                ");

    // The next navigation update measures the cross-track error from the
    // new leg: on it, none.
    NmeaOpen = false;
    UpdateNavigationData();
    EXPECT_EQ(XteText.str().substr(0, 4), "0.00");

    EXPECT_EQ(StepRouteWaypoint(true), 2);
    EXPECT_NEAR(XteRefCourse, 90.0, 1e-6);
    // Past the last waypoint: back to the first.
    EXPECT_EQ(StepRouteWaypoint(true), 0);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_NEAR(XteRefCourse, 0.0, 1e-6);

    // None active (the route ended) or beyond the end (its last waypoint
    // deleted): the first.
    ActiveWaypoint = 0;
    EXPECT_EQ(StepRouteWaypoint(false), 0);
    ActiveWaypoint = 7;
    EXPECT_EQ(StepRouteWaypoint(false), 0);
    EXPECT_EQ(ActiveWaypoint, 1);

    RouteCount = 0;
    EXPECT_EQ(StepRouteWaypoint(true), -1);
    EXPECT_EQ(ActiveWaypoint, 0);
}

TEST_F(RouteCommandsTest, NextWaypointAfterAnArrivalThatEndedTheLegStepsOnFromTheWaypointArrivedAt)
{
    // Without automatic advance an arrival leaves no waypoint active; the
    // next one is the one after the waypoint arrived at along the route as
    // sailed, never the first one again.
    AutoWaypoint = false;
    AddCompassRoute(0.0);
    struct Row {
        bool reversed;
        int arrivedAt;
        int next; // list index
        double referenceFromThere;
    };
    const Row rows[] = {
        { false, 1, 1, 225.0 }, // North, then West (0.1° south-west of it)
        { false, 2, 2, 90.0 }, // West, then East
        { false, 3, 0, 315.0 }, // East is the last: North again
        { true, 3, 1, 270.0 }, // reversed: East, then West
        { true, 2, 0, 45.0 }, // West, then North
        { true, 1, 2, 135.0 }, // North is the reversed route's last: East again
    };
    for (const Row& row : rows) {
        ReverseRoute = row.reversed;
        SelectRouteWaypoint(row.arrivedAt - 1, true);
        const TPosition at = RoutePoints[row.arrivedAt];
        Fix(at.lat, at.lon);
        ASSERT_EQ(ActiveWaypoint, 0) << row.arrivedAt;
        EXPECT_EQ(StepRouteWaypoint(true), row.next) << row.reversed << " " << row.arrivedAt;
        EXPECT_EQ(ActiveWaypoint, row.next + 1);
        EXPECT_NEAR(XteRefCourse, row.referenceFromThere, 1e-4) << row.reversed << " " << row.arrivedAt;
    }
}

TEST_F(RouteCommandsTest, ReversedRouteStartsFromItsLastWaypoint)
{
    AddCompassRoute();
    ASSERT_TRUE(WriteRouteFile(dir.file("compass.rte")));
    ReverseRoute = true;
    EXPECT_TRUE(OpenRoute(dir.file("compass.rte"), true).text.empty());
    EXPECT_EQ(ActiveWaypoint, 3);
    EXPECT_EQ(DestWaypointName, "East                ");
    EXPECT_NEAR(XteRefCourse, 90.0, 1e-6);

    // Started with none active: from the last waypoint too.
    ActiveWaypoint = 0;
    EXPECT_EQ(StepRouteWaypoint(true), 2);
    // And "Next Waypoint" goes on towards the first.
    EXPECT_EQ(StepRouteWaypoint(true), 1);
    EXPECT_EQ(DestWaypointName, "West                ");

    ReverseRoute = false;
    EXPECT_TRUE(OpenRoute(dir.file("compass.rte"), true).text.empty());
    EXPECT_EQ(ActiveWaypoint, 1);
}

TEST_F(RouteCommandsTest, FirstLegRunsFromTheBoatAtTheFirstFix)
{
    AddCompassRoute(0.0);
    ASSERT_TRUE(WriteRouteFile(dir.file("compass.rte")));
    // The configured position is waypoint 1 itself; the boat is at waypoint
    // 3, south-east of it, and heads straight for it: on the track.
    for (const bool haveView : { true, false }) {
        ResetNavState();
        CosLat = 1.0;
        CurLat = 0.1;
        CurLon = 1.0;
        XteRefCourse = kUnset;
        ASSERT_TRUE(OpenRoute(dir.file("compass.rte"), haveView).text.empty());
        Fix(0.0, 0.9);
        EXPECT_NEAR(XteRefCourse, 315.0, 1e-4) << haveView;
        EXPECT_EQ(XteText.str().substr(0, 4), "0.00") << haveView;
        Fix(0.05, 0.95);
        EXPECT_EQ(XteText.str().substr(0, 4), "0.00") << haveView;
        EXPECT_EQ(LegStatusText, ",A");
    }

    // With a fix in hand a leg chosen runs from it at once, and the next fix
    // measures from that line: 0.6 nm north of the leg from (0, 1) east.
    Fix(0.0, 1.0);
    SelectRouteWaypoint(2, true);
    EXPECT_NEAR(XteRefCourse, 90.0, 1e-6);
    Fix(0.01, 1.0);
    EXPECT_NEAR(XteRefCourse, 90.0, 1e-6);
    EXPECT_EQ(XteText, "0.60,R,");
}

TEST_F(RouteCommandsTest, ResetTakesTheBearingFromThePresentPosition)
{
    AddCompassRoute();
    EXPECT_FALSE(ResetCrossTrackReference());
    EXPECT_EQ(XteRefCourse, kUnset);
    ActiveWaypoint = 3;
    EXPECT_TRUE(ResetCrossTrackReference());
    EXPECT_NEAR(XteRefCourse, 90.0, 1e-6);
    CurLon = 0.8; // now west of it
    EXPECT_TRUE(ResetCrossTrackReference());
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-6);
}

// The origin BOD names is the waypoint a leg runs from: the one arrived at
// when "Next Waypoint" steps on from an arrival, as automatic advance does;
// none for a leg reset or picked by hand, which runs from the boat.
TEST_F(RouteCommandsTest, OnlyALegSteppedOnFromAnArrivalHasAnOriginWaypoint)
{
    AutoWaypoint = false;
    AddCompassRoute(0.0);
    SelectRouteWaypoint(0, true);
    Fix(0.1, 1.0); // at North: the leg ends there
    ASSERT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(StepRouteWaypoint(true), 1);
    EXPECT_EQ(OriginWaypointName, "North               ");
    EXPECT_NEAR(XteRefCourse, 225.0, 1e-4);
    Fix(0.06, 1.05); // on the way to West, right of the leg
    EXPECT_EQ(OriginWaypointName, "North               ");
    EXPECT_NEAR(XteRefCourse, 225.0, 1e-4);

    EXPECT_TRUE(ResetCrossTrackReference());
    EXPECT_EQ(OriginWaypointName, "");
    ActiveWaypoint = 0;
    ArrivedWaypoint = 1;
    SelectRouteWaypoint(2, true); // East, picked from the list
    EXPECT_EQ(OriginWaypointName, "");
}

TEST_F(RouteCommandsTest, MeasureOnAndOff)
{
    MeasureTotal = 5;
    EXPECT_EQ(SetMeasureMode(true), "Measure off|");
    EXPECT_TRUE(MeasureMode);
    EXPECT_TRUE(MarkMeasureOrigin);
    EXPECT_EQ(MeasureStartLat, 50.0);
    EXPECT_EQ(MeasureStartLon, 1.0);
    EXPECT_EQ(MeasureTotal, 0);
    EXPECT_TRUE(MeasureTotaliserEnabled());
    NmeaOpen = true;
    EXPECT_FALSE(MeasureTotaliserEnabled());
    NmeaOpen = false;
    DRMode = true;
    EXPECT_FALSE(MeasureTotaliserEnabled());
    DRMode = false;

    CurLat = 50.1; // 6 nm north
    WaypointDistance = 99; // a leg computed since the last readout
    EXPECT_EQ(TotaliseMeasure(), "0.0000 Nm  Bearing 270\xB0T To  90\xB0T From. Total Distance 6.00Nm  ");
    EXPECT_NEAR(MeasureTotal, 6.0, 1e-9);
    EXPECT_EQ(MeasureStartLat, 50.1);

    EXPECT_EQ(SetMeasureMode(false), "Measure on|");
    EXPECT_FALSE(MeasureMode);
    EXPECT_FALSE(MeasureTotaliserEnabled());
    EXPECT_EQ(MeasureTotal, 0);
    CurLat = 51;
    EXPECT_EQ(TotaliseMeasure(), "");
    EXPECT_EQ(MeasureStartLat, 50.1);
}

// ---- The upload

TEST_F(RouteCommandsTest, IdentifierIsSixCharactersUpperCasedWithDashes)
{
    EXPECT_EQ(WaypointIdentifier("Bob's Rock              19   "), "BOB-S");
    EXPECT_EQ(WaypointIdentifier("St. Mary's               19   "), "ST--MA");
    EXPECT_EQ(WaypointIdentifier("A@@                     19   "), "A");
    EXPECT_EQ(WaypointIdentifier("A B   "), "A-B");
    // Characters that would break the sentence.
    EXPECT_EQ(WaypointIdentifier("x,y*z$"), "X-Y-Z-");
    EXPECT_EQ(WaypointIdentifier("Ca\xE9n\r"), "CA-N-");
    EXPECT_EQ(WaypointIdentifier(""), "");
}

TEST_F(RouteCommandsTest, UploadSendsEveryWaypointCharacterForCharacter)
{
    Add("Fairway buoy            13   ", 50.7860, 1.3000);
    Add("Bob's Rock              19   ", -(33 + 52.0 / 60), -151.2);
    Add("A                       19   ", 50 + 59.99996 / 60, 0.0);
    ActiveWaypoint = 2;
    NmeaOpen = true;
    std::vector<std::string> port;
    const RouteNotice notice = SendRouteWaypoints([&](const std::string& s) {
        port.push_back(s);
        return true;
    });
    EXPECT_EQ(port,
        (std::vector<std::string> { "$ECWPL,5047.160,N,00118.000,W,FAIRWA*4B\r\n",
            "$ECWPL,3352.000,S,15112.000,E,BOB-S*77\r\n", "$ECWPL,5100.000,N,00000.000,W,A*0D\r\n" }));
    EXPECT_EQ(notice.kind, platform::MessageKind::Information);
    EXPECT_EQ(notice.text, "  3 Waypoints sent");
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_EQ(RouteCount, 3);
    EXPECT_EQ(WaypointSentence(4), "");
}

TEST_F(RouteCommandsTest, UploadReportsWhatWasReallySent)
{
    AddCompassRoute();
    int offered = 0;
    const auto port = [&](const std::string&) { return ++offered != 2; }; // no room for the second
    NmeaOpen = false;
    EXPECT_EQ(SendRouteWaypoints(port).text, "  0 Waypoints sent");
    EXPECT_EQ(offered, 0);
    NmeaOpen = true;
    EXPECT_EQ(SendRouteWaypoints(port).text, "  2 Waypoints sent");
    EXPECT_EQ(offered, 3);
    EXPECT_EQ(SendRouteWaypoints([](const std::string&) { return false; }).text, "  0 Waypoints sent");
}

} // namespace
