// Following the demo route end to end: korvex starts on the demo folder
// with its route, GGA sentences along the route go into a pseudo-terminal
// that stands in for COM4, and the autopilot sentences come back out of the
// same port with the active waypoint; the waypoint changes inside the
// arrival radius, and the upload sends every route waypoint.

#include "MainFormFixture.h"

#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "support/PtyPair.h"

#include <QAction>
#include <QComboBox>
#include <QToolButton>
#include <cstring>
#include <functional>

namespace
{

// korvex on the demo folder and its route, with COM4 as the pseudo-terminal
// `autopilot`; `more` changes the configuration before it is written. The
// test runs each fix tick itself.
class RoutePtyTest : public MainFormTest
{
protected:
    void StartOnTheDemoRoute(
        kvtest::PtyPair& autopilot, const std::function<void()>& more = [] {})
    {
        const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/";
        for (const char* name :
            { "charts/harbour.cht", "charts/harbour.cfg", "charts/harbour.wpt", "routes/approach.rte" })
            dir.write(name, kvtest::ReadBytes(demo + name));
        dir.makeFolder("logs");
        autopilot.MapAs(4);
        WriteConfig("zudeve.cfg", [&] {
            LoadConfig(demo + "zudeve.cfg");
            // A configuration keeps the view's centre and zoom as its position.
            ViewCentreLat = CurLat;
            ViewCentreLon = CurLon;
            ViewZoom = ChartScale;
            ComPort = 4;
            BaudRate = 4800;
            FixIntervalMs = 3600000;
            more();
        });
        Start();
        FirstTick();
        MainForm->SecsTimer->setEnabled(false);
    }

    void OpenTheInterface()
    {
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        ui.clear();
    }

    // Along the first leg to the anchorage with "Auto Waypoint" off: the
    // arrival there ends the leg and sends nothing, and "Next Waypoint"
    // (Ctrl+W) steers for the waypoint after it, the fairway buoy, on the
    // leg automatic advance would have taken.
    void ArriveAtTheAnchorageAndStepOn(kvtest::PtyPair& autopilot);

    // With "Reverse current route" (else "Repeat current route") chosen: the
    // arrival at the anchorage, an intermediate waypoint, neither reverses nor
    // repeats the route. The arrival at the last waypoint then makes
    // `activeAfterTheEnd` active, and `afterTheEnd` goes out at the next fix.
    void ArriveMidRouteThenAtItsEnd(bool reverse, int activeAfterTheEnd, const std::string& afterTheEnd);
};

// Along the first leg of the demo route, from the harbour entrance towards
// the anchorage, to an arrival there.
const char* const kAtTheEntrance = "$GPGGA,120000,5048.000,N,00118.000,W,1,08,1.0,10.0,M,47.0,M,,*69";
const char* const kSouthOfTheFirstLeg = "$GPGGA,120100,5047.778,N,00118.840,W,1,08,1.0,10.0,M,47.0,M,,*63";
const char* const kOnTheFirstLeg = "$ECXTE,A,A,0.03,R,N,A*0F\r\n"
                                   "$ECAPB,A,A,0.03,R,N,,,,,ANCHOR,252,T,252,T,A*20\r\n";
const char* const kAtTheAnchorage = "$GPGGA,120300,5047.550,N,00119.980,W,1,08,1.0,10.0,M,47.0,M,,*65";
// South of the second leg, from the anchorage to the fairway buoy.
const char* const kSouthOfTheSecondLeg = "$GPGGA,120400,5047.295,N,00118.990,W,1,08,1.0,10.0,M,47.0,M,,*6C";
const char* const kOnTheSecondLeg = "$ECXTE,A,A,0.03,L,N,A*11\r\n"
                                    "$ECAPB,A,A,0.03,L,N,,,,,FAIRWA,102,T,102,T,A*2D\r\n";
// At the visitors' pontoon, the route's last waypoint, and then a little
// south-east of it.
const char* const kAtThePontoon = "$GPGGA,120500,5049.080,N,00117.940,W,1,08,1.0,10.0,M,47.0,M,,*67";
const char* const kSouthOfThePontoon = "$GPGGA,120600,5049.000,N,00117.900,W,1,08,1.0,10.0,M,47.0,M,,*68";

void RoutePtyTest::ArriveAtTheAnchorageAndStepOn(kvtest::PtyPair& autopilot)
{
    AutoWaypoint = false;
    EXPECT_EQ(FixThrough(autopilot, kAtTheEntrance, 0), "");
    EXPECT_EQ(FixThrough(autopilot, kSouthOfTheFirstLeg, std::strlen(kOnTheFirstLeg)), kOnTheFirstLeg);
    EXPECT_EQ(FixThrough(autopilot, kAtTheAnchorage, 0), "");
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_FALSE(ReverseRoute);

    MainForm->SelectWaypoint1->trigger();
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_EQ(MainForm->WPName->currentIndex(), 1);
    EXPECT_EQ(FixThrough(autopilot, kSouthOfTheSecondLeg, std::strlen(kOnTheSecondLeg)), kOnTheSecondLeg);
}

void RoutePtyTest::ArriveMidRouteThenAtItsEnd(
    bool reverse, int activeAfterTheEnd, const std::string& afterTheEnd)
{
    kvtest::PtyPair autopilot;
    StartOnTheDemoRoute(autopilot);
    GlobalSettings.NormalMode = false;
    GlobalSettings.Reverse = reverse;
    GlobalSettings.RepRoute = !reverse;
    OpenTheInterface();
    ArriveAtTheAnchorageAndStepOn(autopilot);

    MainForm->WPNameChange(5); // the pontoon picked from the list
    EXPECT_EQ(FixThrough(autopilot, kAtThePontoon, 0), "");
    EXPECT_EQ(ActiveWaypoint, activeAfterTheEnd);
    EXPECT_EQ(MainForm->WPName->currentIndex(), activeAfterTheEnd - 1);
    EXPECT_EQ(ReverseRoute, reverse);
    EXPECT_EQ(FixThrough(autopilot, kSouthOfThePontoon, afterTheEnd.size()), afterTheEnd);
}

TEST_F(RoutePtyTest, DemoRouteIsFollowedLegByLegAndSentToTheAutopilot)
{
    kvtest::PtyPair autopilot;
    StartOnTheDemoRoute(autopilot);
    ASSERT_EQ(RouteName, "approach");
    ASSERT_EQ(RouteCount, 6);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(ls(MainForm->WPName->currentText()), "Anchorage               ");
    // The first leg, from the configured position (the harbour entrance)
    // to the anchorage, is the cross-track reference.
    EXPECT_NEAR(XteRefCourse, 250.119, 0.001);

    OpenTheInterface();

    struct Step {
        const char* gga;
        const char* sent; // what the autopilot receives after this fix
        int active; // the active waypoint after it
    };
    const Step steps[] = {
        // At the configured position: the first fix makes no leg yet.
        { kAtTheEntrance, "", 1 },
        // A little south of the first leg: steer right.
        { kSouthOfTheFirstLeg, kOnTheFirstLeg, 1 },
        // North of it, 0.31 nm short of the anchorage: steer left.
        { "$GPGGA,120200,5047.676,N,00119.680,W,1,08,1.0,10.0,M,47.0,M,,*6C",
            "$ECXTE,A,A,0.06,L,N,A*14\r\n"
            "$ECAPB,A,A,0.06,L,N,,,,,ANCHOR,240,T,240,T,A*3B\r\n",
            1 },
        // Inside the arrival radius: on to the fairway buoy, whose leg from
        // the anchorage is the new reference, 0.05 nm south of the boat;
        // name and bearing are both the buoy's.
        { kAtTheAnchorage,
            "$ECXTE,A,A,0.05,R,N,A*09\r\n"
            "$ECAPB,A,A,0.05,R,N,,,,,FAIRWA,107,T,107,T,A*35\r\n",
            2 },
        // South of the second leg: steer left.
        { kSouthOfTheSecondLeg, kOnTheSecondLeg, 2 },
    };
    for (const Step& step : steps) {
        const std::string expected = step.sent;
        EXPECT_EQ(FixThrough(autopilot, step.gga, expected.size()), expected) << step.gga;
        EXPECT_EQ(ActiveWaypoint, step.active) << step.gga;
        EXPECT_EQ(MainForm->WPName->currentIndex(), step.active - 1) << step.gga;
    }

    // The upload: every route waypoint, in route order, and the count.
    MainForm->SendWPS->click();
    EXPECT_EQ(autopilot.Read(kDemoRouteWpl.size()), kDemoRouteWpl);
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "  6 Waypoints sent" });
    EXPECT_EQ(ActiveWaypoint, 2);
}

TEST_F(RoutePtyTest, NextWaypointAfterAnArrivalSteersForTheFollowingWaypoint)
{
    kvtest::PtyPair autopilot;
    StartOnTheDemoRoute(autopilot);
    OpenTheInterface();
    ArriveAtTheAnchorageAndStepOn(autopilot);
}

TEST_F(RoutePtyTest, ReverseActsOnlyAtTheRoutesEnd)
{
    // Back to the basin: the boat lies east of the line south, to port.
    ArriveMidRouteThenAtItsEnd(true, 5,
        "$ECXTE,A,A,0.03,R,N,A*0F\r\n"
        "$ECAPB,A,A,0.03,R,N,,,,,BASIN,185,T,185,T,A*6E\r\n");
}

TEST_F(RoutePtyTest, RepeatActsOnlyAtTheRoutesEnd)
{
    // Back to the anchorage: the boat lies south-east of the line, to port.
    ArriveMidRouteThenAtItsEnd(false, 1,
        "$ECXTE,A,A,0.07,R,N,A*0B\r\n"
        "$ECAPB,A,A,0.07,R,N,,,,,ANCHOR,223,T,223,T,A*24\r\n");
}

// The configured position is the anchorage, the first waypoint itself; the
// boat starts at the harbour entrance and heads straight for the anchorage.
TEST_F(RoutePtyTest, FirstLegRunsFromTheBoatAtTheFirstFix)
{
    kvtest::PtyPair autopilot;
    StartOnTheDemoRoute(autopilot, [] {
        ViewCentreLat = 50 + 47.52 / 60;
        ViewCentreLon = 1 + 20.1 / 60;
    });
    OpenTheInterface();
    EXPECT_EQ(FixThrough(autopilot, kAtTheEntrance, 0), "");
    // Half way: on the line from the entrance, whatever the configuration said.
    const std::string onTheLeg = "$ECXTE,A,A,0.00,R,N,A*0C\r\n"
                                 "$ECAPB,A,A,0.00,R,N,,,,,ANCHOR,250,T,250,T,A*23\r\n";
    EXPECT_EQ(FixThrough(autopilot, "$GPGGA,120100,5047.760,N,00119.050,W,1,08,1.0,10.0,M,47.0,M,,*62",
                  onTheLeg.size()),
        onTheLeg);
}

} // namespace
