// Following the demo route end to end: korvex starts on the demo folder
// with its route, GGA sentences along the route go into a pseudo-terminal
// that stands in for COM4, and the autopilot sentences come back out of the
// same port with the active waypoint; the waypoint changes inside the
// arrival radius, and the upload sends every route waypoint.

#include "MainFormFixture.h"

#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "support/PtyPair.h"

#include <QComboBox>
#include <QToolButton>

namespace
{

TEST_F(MainFormTest, DemoRouteIsFollowedLegByLegAndSentToTheAutopilot)
{
    const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/";
    for (const char* name :
        { "charts/harbour.cht", "charts/harbour.cfg", "charts/harbour.wpt", "routes/approach.rte" })
        dir.write(name, kvtest::ReadBytes(demo + name));
    dir.makeFolder("logs");
    kvtest::PtyPair autopilot;
    autopilot.MapAs(4);
    // The demo configuration on COM4; the test runs each fix tick itself.
    WriteConfig("zudeve.cfg", [&] {
        LoadConfig(demo + "zudeve.cfg");
        // A configuration keeps the view's centre and zoom as its position.
        ViewCentreLat = CurLat;
        ViewCentreLon = CurLon;
        ViewZoom = ChartScale;
        ComPort = 4;
        BaudRate = 4800;
        FixIntervalMs = 3600000;
    });

    Start();
    FirstTick();
    MainForm->SecsTimer->setEnabled(false);
    ASSERT_EQ(RouteName, "approach");
    ASSERT_EQ(RouteCount, 6);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(ls(MainForm->WPName->currentText()), "Anchorage               ");
    // The first leg, from the configured position (the harbour entrance)
    // to the anchorage, is the cross-track reference.
    EXPECT_NEAR(XteRefCourse, 250.116, 0.001);

    MainForm->NMEAServerOnOffClick();
    ASSERT_TRUE(NmeaOpen);
    ui.clear();

    struct Step {
        const char* gga;
        const char* sent; // what the autopilot receives after this fix
        int active; // the active waypoint after it
    };
    const Step steps[] = {
        // At the configured position: the first fix makes no leg yet.
        { "$GPGGA,120000,5048.000,N,00118.000,W,1,08,1.0,10.0,M,47.0,M,,*69", "", 1 },
        // A little south of the first leg: steer right.
        { "$GPGGA,120100,5047.778,N,00118.840,W,1,08,1.0,10.0,M,47.0,M,,*63",
            "$ECXTE,A,A,0.03,R,N,A*0F\r\n"
            "$ECAPB,A,A,0.03,R,N,,,,,ANCHOR,252,T,252,T,A*20\r\n",
            1 },
        // North of it, 0.31 nm short of the anchorage: steer left.
        { "$GPGGA,120200,5047.676,N,00119.680,W,1,08,1.0,10.0,M,47.0,M,,*6C",
            "$ECXTE,A,A,0.06,L,N,A*14\r\n"
            "$ECAPB,A,A,0.06,L,N,,,,,ANCHOR,240,T,240,T,A*3B\r\n",
            1 },
        // Inside the arrival radius: on to the fairway buoy, whose leg from
        // the anchorage is the new reference, 0.05 nm south of the boat;
        // name and bearing are both the buoy's.
        { "$GPGGA,120300,5047.550,N,00119.980,W,1,08,1.0,10.0,M,47.0,M,,*65",
            "$ECXTE,A,A,0.05,R,N,A*09\r\n"
            "$ECAPB,A,A,0.05,R,N,,,,,FAIRWA,107,T,107,T,A*35\r\n",
            2 },
        // South of the second leg: steer left.
        { "$GPGGA,120400,5047.295,N,00118.990,W,1,08,1.0,10.0,M,47.0,M,,*6C",
            "$ECXTE,A,A,0.03,L,N,A*11\r\n"
            "$ECAPB,A,A,0.03,L,N,,,,,FAIRWA,102,T,102,T,A*2D\r\n",
            2 },
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

} // namespace
