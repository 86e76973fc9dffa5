#include "nav/RouteEdit.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using Messages = std::vector<std::string>;

std::string Generated(char letter)
{
    return std::string(1, letter) + std::string(23, ' ') + "19   ";
}

class RouteEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        CosLat = 1.0;
    }
    void TearDown() override { ResetNavState(); }

    // Appends `count` waypoints with generated names, one tenth of a degree apart.
    static void AddAt(int count)
    {
        for (int i = 0; i < count; ++i) {
            CurLat = 50.0 + RouteCount * 0.1;
            CurLon = 1.0;
            AddRouteWaypoint("");
        }
    }

    platform::ScriptedUi ui;
};

TEST_F(RouteEditTest, AddedWaypointsGetGeneratedLetters)
{
    CurLat = 50.5;
    CurLon = 1.25;
    AddRouteWaypoint("");
    ASSERT_EQ(RouteCount, 1);
    EXPECT_EQ(RouteNames[1], Generated('A'));
    EXPECT_EQ(RouteNames[1].size(), 29u);
    EXPECT_EQ(RoutePoints[1], (TPosition { 50.5, 1.25 }));

    AddAt(39);
    EXPECT_EQ(RouteNames[26], Generated('Z'));
    EXPECT_EQ(RouteNames[27], Generated('a'));
    EXPECT_EQ(RouteNames[40], Generated('n'));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(RouteEditTest, NamedWaypointKeepsItsNameCutToTheField)
{
    AddRouteWaypoint("Needles Fairway");
    EXPECT_EQ(RouteNames[1], "Needles Fairway");
    AddRouteWaypoint(std::string(40, 'x'));
    EXPECT_EQ(RouteNames[2], std::string(29, 'x'));
}

TEST_F(RouteEditTest, FullRouteRefusesAnotherWaypoint)
{
    AddAt(40);
    const TPosition last = RoutePoints[40];
    CurLat = 10.0;
    AddRouteWaypoint("Extra");
    EXPECT_EQ(ui.messages(), Messages { "40 Waypoints in the route - Delete one first!" });
    EXPECT_EQ(ui.shown().back().kind, "message:error");
    EXPECT_EQ(RouteCount, 40);
    EXPECT_EQ(RoutePoints[40], last);
    EXPECT_EQ(RouteNames[40], Generated('n'));
}

TEST_F(RouteEditTest, SnappingTakesTheNearestDatabaseWaypoint)
{
    SnapToWaypoint = true;
    WaypointDbPoints[1] = { 51.0, 1.0 };
    WaypointDbNames[1] = "Far";
    WaypointDbPoints[2] = { 50.1, 1.0 };
    WaypointDbNames[2] = "Near";
    WaypointDbPoints[3] = { 49.9, 1.0 }; // as near as 2: the earlier one wins
    WaypointDbNames[3] = "Tie";
    WaypointDbCount = 3;
    CurLat = 50.0;
    CurLon = 1.0;
    AddRouteWaypoint("ignored");
    EXPECT_EQ(RoutePoints[1], (TPosition { 50.1, 1.0 }));
    EXPECT_EQ(RouteNames[1], "Near");

    // With an empty database the present position is taken.
    WaypointDbCount = 0;
    AddRouteWaypoint("");
    EXPECT_EQ(RoutePoints[2], (TPosition { 50.0, 1.0 }));
    EXPECT_EQ(RouteNames[2], Generated('B'));
}

TEST_F(RouteEditTest, InsertKeepsTheSelectionOnTheOldWaypointUnlessNamed)
{
    AddAt(4);
    const TPosition oldThird = RoutePoints[3];
    ActiveWaypoint = 3;
    CurLat = 40.0;
    InsertRouteWaypoint("");
    EXPECT_EQ(RouteCount, 5);
    EXPECT_EQ(RouteNames[3], Generated('C'));
    EXPECT_EQ(RoutePoints[3].lat, 40.0);
    EXPECT_EQ(ActiveWaypoint, 4);
    EXPECT_EQ(RoutePoints[4], oldThird);
    EXPECT_EQ(RouteNames[4], Generated('C')); // the old third keeps its name
    EXPECT_EQ(RouteNames[5], Generated('D'));
    EXPECT_EQ(RouteNames[2], Generated('B'));

    // With a name the new waypoint is selected.
    InsertRouteWaypoint("Wreck");
    EXPECT_EQ(RouteCount, 6);
    EXPECT_EQ(ActiveWaypoint, 4);
    EXPECT_EQ(RouteNames[4], "Wreck");
}

TEST_F(RouteEditTest, InsertNeedsASelectionAndRoom)
{
    AddAt(2);
    ActiveWaypoint = 0;
    InsertRouteWaypoint("x");
    ActiveWaypoint = 3;
    InsertRouteWaypoint("x");
    EXPECT_EQ(ui.messages(), (Messages { "Select a waypoint first !", "Select a waypoint first !" }));
    EXPECT_EQ(ui.shown().back().kind, "message:warning");
    EXPECT_EQ(RouteCount, 2);

    ui.clear();
    AddAt(38);
    ActiveWaypoint = 1;
    InsertRouteWaypoint("x");
    EXPECT_EQ(ui.messages(), Messages { "40 Waypoints in the route - Delete one first!" });
    EXPECT_EQ(RouteCount, 40);
    EXPECT_EQ(RouteNames[1], Generated('A'));
}

TEST_F(RouteEditTest, EditRenamesAndMoves)
{
    AddAt(3);
    ActiveWaypoint = 2;
    const TPosition before = RoutePoints[2];
    EditRouteWaypoint("Pier Head", false);
    EXPECT_EQ(RouteNames[2], "Pier Head               19   ");
    EXPECT_EQ(RoutePoints[2], before);

    CurLat = 12.0;
    CurLon = 3.0;
    EditRouteWaypoint("A label longer than twenty-four", true);
    EXPECT_EQ(RouteNames[2], "A label longer than twen19   ");
    EXPECT_EQ(RoutePoints[2], (TPosition { 12.0, 3.0 }));

    EditRouteWaypoint("", false);
    EXPECT_EQ(RouteNames[2], Generated('B'));
}

TEST_F(RouteEditTest, DeletingTheLastWaypointLeavesTheSelectionBeyondTheRoute)
{
    AddAt(3);
    ActiveWaypoint = 3;
    DeleteRouteWaypoint();
    EXPECT_EQ(RouteCount, 2);
    EXPECT_EQ(ActiveWaypoint, 3);

    EditRouteWaypoint("New", true);
    EXPECT_EQ(ui.messages(), Messages { "Select a waypoint first !" });

    DeleteRouteWaypoint(); // nothing selected: nothing happens
    EXPECT_EQ(RouteCount, 2);
}

TEST_F(RouteEditTest, DeletingMovesLaterWaypointsDown)
{
    AddAt(4);
    const TPosition third = RoutePoints[3];
    ActiveWaypoint = 2;
    DeleteRouteWaypoint();
    EXPECT_EQ(RouteCount, 3);
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_EQ(RoutePoints[2], third);
    EXPECT_EQ(RouteNames[2], Generated('C'));
    EXPECT_EQ(RouteNames[3], Generated('D'));
}

TEST_F(RouteEditTest, MeasureReadoutDueEast)
{
    EXPECT_EQ(FormatRouteDistance(), ""); // not measuring

    MeasureMode = true;
    MeasureStartLat = 0.0;
    MeasureStartLon = 1.0;
    CurLat = 0.0;
    CurLon = 0.9; // 6 nm east on the equator
    EXPECT_EQ(FormatRouteDistance(), "6.0000 Nm  Bearing 270\xB0T To  90\xB0T From");
    EXPECT_EQ(MeasureDistText, "6.0000");
    EXPECT_EQ(MeasureBearingText, " 90");
    EXPECT_NEAR(WaypointDistance, 6.0, 1e-9);

    MeasureTotal = 3.5;
    DistanceFactor = 1.852;
    EXPECT_EQ(
        FormatRouteDistance(), "11.1120 Km  Bearing 270\xB0T To  90\xB0T From. Total Distance 3.50Km  ");
    EXPECT_NEAR(WaypointDistance, 11.112, 1e-9);
}

} // namespace
