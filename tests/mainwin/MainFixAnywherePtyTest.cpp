// The fix cycle end to end away from home waters: GGA sentences come into a
// pseudo-terminal that stands in for COM4 and the autopilot sentences go
// back out of it, on a route across the 180th meridian, off a coast far
// from the chart left loaded, and far from the tidal atlas left loaded.

#include "MainFormFixture.h"

#include "nav/ChartConfig.h"
#include "nav/LocalClock.h"
#include "nav/NmeaTemplate.h"
#include "nav/RouteCommands.h"
#include "nav/TidalAtlas.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/TextFile.h"
#include "support/PtyPair.h"

#include <QLabel>
#include <functional>

namespace
{

// "$GPGGA,<time>,<lat>,<lon>,..." with its checksum; `lat` and `lon` with
// their hemispheres ("1700.601,S", "17958.470,E").
std::string Gga(const std::string& time, const std::string& lat, const std::string& lon)
{
    const std::string body = "$GPGGA," + time + "," + lat + "," + lon + ",1,08,1.0,10.0,M,47.0,M,,";
    return body + NmeaChecksum(body, 2);
}

// "$ECXTE,..." and "$ECAPB,..." as the autopilot gets them for a cross-track
// error `xte` ("0.30,L") and a bearing to the waypoint `bearing` ("098").
std::string Hsc(const std::string& heading)
{
    const std::string body = "$ECHSC," + heading + ",T," + heading + ",M";
    return body + NmeaChecksum(body, 2) + "\r\n";
}

std::string AutopilotSentences(
    const std::string& xte, const std::string& name, const std::string& bearing, const std::string& reference)
{
    const std::string xteBody = "$ECXTE,A,A," + xte + ",N,A";
    const std::string apbBody
        = "$ECAPB,A,A," + xte + ",N,,,,," + name + "," + bearing + ",T," + reference + ",T,A";
    return xteBody + NmeaChecksum(xteBody, 2) + "\r\n" + apbBody + NmeaChecksum(apbBody, 2) + "\r\n";
}

class FixAnywherePtyTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetLocalClock([] { return LocalDateTime { 2026, 3, 7, 13, 0, 0, 0 }; });
    }
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }

    // COM4 is the pseudo-terminal and NMEA output (XTE and APB) is on; the
    // fix timer is left to the test, the fixes stamped with the sentences'
    // UTC times. `more` sets up what a test needs before the program starts.
    void StartWithAnAutopilot(
        kvtest::PtyPair& autopilot, const std::function<void()>& more = [] {})
    {
        dir.makeFolder("logs");
        autopilot.MapAs(4);
        WriteAutopilotConfig([&] {
            AverageN = 1;
            UtcHourOffset = 0;
            more();
        });
        Start();
        MainForm->SecsTimer->setEnabled(false);
        MainForm->CreateChartView("harbour");
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        RouteGuidanceOn = true;
    }

    // The same with chart `name` of the charts folder loaded at the start,
    // and no chart loaded automatically.
    void StartWithAChart(kvtest::PtyPair& autopilot, const std::string& name)
    {
        StartWithAnAutopilot(autopilot, [&] {
            CurrentChartName = name;
            ChartsFolder = app + "charts/";
            AutoLoadChart = false;
        });
        FirstTick();
        ASSERT_EQ(CurrentChartName, name);
    }

    // A route of `waypoints`, the first active, its leg taken from `start`
    // as the cross-track reference.
    static void FollowRoute(const std::vector<TPosition>& waypoints, TPosition start)
    {
        const char* const names[] = { "ALPHA", "BRAVO" };
        RouteCount = 0;
        for (const TPosition& point : waypoints) {
            ++RouteCount;
            RoutePoints[RouteCount] = point;
            std::string name = names[RouteCount - 1];
            name.resize(24, ' ');
            RouteNames[RouteCount] = name + "19   ";
        }
        ActiveWaypoint = 1;
        CurLat = start.lat;
        CurLon = start.lon;
        ASSERT_TRUE(ResetCrossTrackReference());
    }
};

// S 17°00' E 179°57' to S 17°01.2' W 179°57', then back west across 180°
// to S 17°02.4' E 179°57': the cross-track error is on the boat's own side
// and the bearing is the waypoint's, the range is the few miles to go, and
// the log and the trip take a move across 180° as the 2.4 nm it is.
TEST_F(FixAnywherePtyTest, AcrossTheAntimeridianTheAutopilotPanelAndLogsHaveTheTrueFigures)
{
    kvtest::PtyPair autopilot;
    StartWithAnAutopilot(autopilot, [] { TextLogOn = true; });
    FollowRoute({ { -17.02, 179.95 }, { -17.04, -179.95 } }, { -17.0, -179.95 });

    struct Step {
        std::string gga;
        std::string sent; // what the autopilot receives after this fix
        const char* range; // on the panel
    };
    const Step steps[] = {
        // At the start: no leg made good yet, nothing sent.
        { Gga("120000", "1700.000,S", "17957.000,E"), "", "" },
        // 1.5 nm along the leg, 0.30 nm right of it: steer left.
        { Gga("121600", "1700.601,S", "17958.470,E"), AutopilotSentences("0.30,L", "ALPHA", "098", "098"),
            "4.37 Nm " },
        // 2.4 nm due east in 24 minutes, across 180°: now left of the leg.
        { Gga("124000", "1700.601,S", "17959.022,W"), AutopilotSentences("0.19,R", "ALPHA", "107", "107"),
            "2.02 Nm " },
        // At the first waypoint: the leg west across 180° to the second.
        { Gga("125000", "1701.200,S", "17957.000,W"), AutopilotSentences("0.00,R", "BRAVO", "258", "258"),
            "5.86 Nm " },
        // 1.5 nm along it, 0.30 nm left of it: steer right.
        { Gga("130600", "1701.801,S", "17958.470,W"), AutopilotSentences("0.30,R", "BRAVO", "262", "262"),
            "4.37 Nm " },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.gga);
        EXPECT_EQ(FixThrough(autopilot, step.gga, step.sent.size()), step.sent);
        EXPECT_EQ(platform::ls(MainForm->RngToWp->text()), step.range);
    }

    // The text log: the move across 180° made good east at 6 knots.
    const std::string log = dir.read("logs/07-03-26.txt");
    EXPECT_NE(
        log.find("\r\n00003,07-03-26,124000,1700.6010,S,17959.0220,W,1-08,090,6.00,"), std::string::npos)
        << log;
    // 1.53 + 2.40 + 2.02 + 1.53 nm.
    EXPECT_EQ(platform::ls(MainForm->Trip->text()), "7.48 Nm");
}

// At 37 N 76 W with the demo chart (home 50.8 N) left loaded, a 045° leg of
// 5.00 nm is sent as 045 at its start and a boat 0.30 nm left of it is told
// 0.30 nm: the figures are worked at the boat's latitude, not the chart's.
TEST_F(FixAnywherePtyTest, WithAChartOfAnotherCoastLoadedFiguresAreWorkedWhereTheBoatIs)
{
    const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/charts/";
    dir.makeFolder("charts");
    for (const char* name : { "harbour.cht", "harbour.cfg" })
        dir.write(std::string("charts/") + name, kvtest::ReadBytes(demo + name));
    kvtest::PtyPair autopilot;
    StartWithAChart(autopilot, "harbour");
    ASSERT_NEAR(ChartHomeLat, 50.805, 1e-9);
    FollowRoute({ { 37.0589, 75.9262 } }, { 37.0, 76.0 });

    EXPECT_EQ(FixThrough(autopilot, Gga("120000", "3700.000,N", "07600.000,W"), 0), "");
    const std::string atStart = AutopilotSentences("0.00,R", "ALPHA", "045", "045");
    EXPECT_EQ(FixThrough(autopilot, Gga("120100", "3700.000,N", "07600.000,W"), atStart.size()), atStart);
    EXPECT_EQ(platform::ls(MainForm->RngToWp->text()), "5.00 Nm ");
    const std::string offTheLeg = AutopilotSentences("0.30,R", "ALPHA", "049", "049");
    EXPECT_EQ(FixThrough(autopilot, Gga("122000", "3700.918,N", "07559.382,W"), offTheLeg.size()), offTheLeg);
    EXPECT_EQ(platform::ls(MainForm->RngToWp->text()), "4.01 Nm ");
}

// Charts at 0 N 0 E (loaded), 70 N 20 E and 66 N 10 E, and the boat at
// 70 N 10 E: automatic loading takes the chart 205 nm away, not the one 240
// nm away, and keeps it at the next fix.
TEST_F(FixAnywherePtyTest, AutomaticLoadingTakesTheChartNearestTheBoat)
{
    const std::string harbour = kvtest::ReadBytes(std::string(KV_SOURCE_DIR) + "/demo/charts/harbour.cht");
    dir.makeFolder("charts");
    const struct {
        const char* name;
        double lat, lon; // home view centre, longitude west positive
    } charts[] = { { "home", 0.0, 0.0 }, { "northeast", 70.0, -20.0 }, { "south", 66.0, -10.0 } };
    for (const auto& chart : charts) {
        dir.write(std::string("charts/") + chart.name + ".cht", harbour);
        dir.write(std::string("charts/") + chart.name + ".cfg",
            ChartConfigText(ChartConfigValues { chart.lat, chart.lon, 1.0, 0, 0.0, 0.0 }));
    }
    kvtest::PtyPair autopilot;
    StartWithAChart(autopilot, "home");
    AutoLoadChart = true;
    FixThrough(autopilot, Gga("120000", "7000.000,N", "01000.000,E"), 0);
    EXPECT_EQ(CurrentChartName, "northeast");
    FixThrough(autopilot, Gga("120100", "7000.010,N", "01000.000,E"), 0);
    EXPECT_EQ(CurrentChartName, "northeast");
}

// The demo harbour's tidal atlas left loaded: off its diamonds the heading
// to steer carries their stream, off Sydney none; and the hour of the tide
// is the same either side of midnight.
TEST_F(FixAnywherePtyTest, TheAtlasStreamIsSteeredAgainstOnlyNearItsDiamondsAtTheRightHour)
{
    struct Row {
        const char* what;
        const char* times[2]; // of the two fixes, UTC
        const char* lat;
        const char* lon;
        TPosition boat; // the same
        TPosition waypoint; // 5 nm on 045
        int highWaterHour;
        double hullSpeed;
        std::string sent; // after the second fix
    };
    const TPosition diamond = { 50.788, 1.302 };
    const TPosition demoNorthEast = { 50.8468, 1.2087 };
    const Row rows[] = {
        { "near the diamonds at HW+3", { "145900", "150000" }, "5047.280,N", "00118.120,W", diamond,
            demoNorthEast, 12, 10.0, AutopilotSentences("0.00,R", "ALPHA", "045", "051") + Hsc("51.3") },
        { "off Sydney", { "145900", "150000" }, "3351.000,S", "15115.000,E", { -33.85, -151.25 },
            { -33.7911, -151.3209 }, 12, 6.0,
            AutopilotSentences("0.00,R", "ALPHA", "045", "045") + Hsc("45.0") },
        { "HW+1 after midnight", { "000900", "001000" }, "5047.280,N", "00118.120,W", diamond, demoNorthEast,
            23, 6.0, AutopilotSentences("0.00,R", "ALPHA", "045", "051") + Hsc("50.5") },
        { "HW-3 before midnight", { "230900", "231000" }, "5047.280,N", "00118.120,W", diamond, demoNorthEast,
            2, 6.0, AutopilotSentences("0.00,R", "ALPHA", "045", "032") + Hsc("31.8") },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FreeProgramForms();
        std::filesystem::remove_all(app + "logs");
        kvtest::PtyPair autopilot;
        StartWithAnAutopilot(autopilot, [&] { ManualSpeed = row.hullSpeed; });
        OutHSC = true;
        LoadTidalData(std::string(KV_SOURCE_DIR) + "/demo/tides/harbour.pos");
        ASSERT_EQ(TideStationCount, 6);
        ManualTideOff = true; // the stream from the atlas
        HWHour = static_cast<int16_t>(row.highWaterHour);
        FollowRoute({ row.waypoint }, row.boat);
        EXPECT_EQ(FixThrough(autopilot, Gga(row.times[0], row.lat, row.lon), 0), "");
        EXPECT_EQ(FixThrough(autopilot, Gga(row.times[1], row.lat, row.lon), row.sent.size()), row.sent);
    }
}

} // namespace
