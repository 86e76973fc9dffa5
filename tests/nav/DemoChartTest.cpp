// The demo folder's chart "harbour": an invented stretch of coast near
// 50.8 N 1.3 W with a harbour, a depth contour, a dredged channel and a few
// marks, and the route "approach" from the anchorage up the channel to the
// visitors' pontoon, drawn from the position lists below by the program's own
// writers. The tests check that demo/charts and demo/routes hold exactly
// what the lists give; after changing a list, regenerate the files with
// scripts/make-demo-chart.sh
// (KV_REGENERATE_DEMO=1 build/tests/test_nav --gtest_filter='DemoChart*').

#include "nav/ChartConfig.h"
#include "nav/ChartStore.h"
#include "nav/ChartWaypoints.h"
#include "nav/KVconfig.h"
#include "nav/NavState.h"
#include "nav/RouteFile.h"
#include "nav/RouteUpload.h"
#include "nav/WaypointFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

struct Line {
    int type; // chart line type 0..6
    std::vector<TPosition> points; // degrees, longitude west positive
};

const std::vector<Line> kHarbourChart = {
    // Coast west of the harbour, down to the west breakwater's head.
    { 0,
        { { 50.8120, 1.3900 }, { 50.8105, 1.3750 }, { 50.8080, 1.3600 }, { 50.8060, 1.3450 },
            { 50.8045, 1.3300 }, { 50.8035, 1.3180 }, { 50.8030, 1.3120 }, { 50.8000, 1.3040 } } },
    // The harbour: up the west shore, round the basin, down the east shore.
    { 0,
        { { 50.8030, 1.3120 }, { 50.8080, 1.3125 }, { 50.8150, 1.3100 }, { 50.8200, 1.3060 },
            { 50.8235, 1.2990 }, { 50.8240, 1.2930 }, { 50.8220, 1.2860 }, { 50.8170, 1.2830 },
            { 50.8100, 1.2850 }, { 50.8060, 1.2880 }, { 50.8030, 1.2880 } } },
    // East breakwater, then the coast to the east.
    { 0,
        { { 50.8000, 1.2960 }, { 50.8030, 1.2880 }, { 50.8025, 1.2800 }, { 50.8010, 1.2700 },
            { 50.7990, 1.2500 }, { 50.7970, 1.2300 }, { 50.7960, 1.2100 } } },
    // Marina pontoons in the basin.
    { 4, { { 50.8190, 1.3010 }, { 50.8190, 1.2950 } } },
    { 4, { { 50.8170, 1.3020 }, { 50.8170, 1.2950 } } },
    // The 5 m depth contour.
    { 2,
        { { 50.8000, 1.3900 }, { 50.7970, 1.3500 }, { 50.7940, 1.3200 }, { 50.7920, 1.3000 },
            { 50.7910, 1.2700 }, { 50.7900, 1.2100 } } },
    // Dredged channel from the entrance out to the fairway buoy.
    { 3, { { 50.7995, 1.3020 }, { 50.7870, 1.3020 } } },
    { 3, { { 50.7995, 1.2980 }, { 50.7870, 1.2980 } } },
};

struct Mark {
    const char* description;
    const char* symbol;
    const char* number; // for the symbols that take one
    TPosition position;
};

const std::vector<Mark> kHarbourMarks = {
    { "Harbour fairway buoy", "13", "", { 50.7860, 1.3000 } },
    { "Port hand No 2", "08", "", { 50.7930, 1.3025 } },
    { "Starboard hand No 1", "07", "", { 50.7930, 1.2975 } },
    { "West pierhead light", "05", "", { 50.8000, 1.3040 } },
    { "Anchorage", "22", "", { 50.7920, 1.3350 } },
    { "Wreck", "14", "", { 50.7890, 1.2550 } },
    { "Shallows", "20", "05", { 50.7950, 1.2300 } },
    { "Visitors pontoon", "24", "", { 50.8180, 1.2990 } },
    { "Entrance", "32", "05", { 50.7925, 1.3120 } },
};

// The route the demo configuration names: in from the anchorage past the
// fairway buoy, up the middle of the dredged channel between the lateral
// marks, through the entrance and across the basin. Legs are 0.36 nm or
// longer, more than the arrival radius of 0.2 nm; no two identifiers of the
// upload (the first six letters) are the same.
struct RouteMark {
    const char* description;
    const char* symbol;
    TPosition position;
};

const std::vector<RouteMark> kApproachRoute = {
    { "Anchorage", "22", { 50.7920, 1.3350 } },
    { "Fairway", "19", { 50.7860, 1.3000 } },
    { "Channel", "19", { 50.7930, 1.3000 } },
    { "Entrance", "19", { 50.8000, 1.3000 } },
    { "Basin", "19", { 50.8120, 1.2990 } },
    { "Visitors pontoon", "24", { 50.8180, 1.2990 } },
};

// Writes approach.rte into `folder`.
void WriteApproachRoute(const std::string& folder)
{
    ResetNavState();
    for (const RouteMark& mark : kApproachRoute) {
        ++RouteCount;
        RouteNames[RouteCount] = MakeWaypointName(mark.description, mark.symbol, "", false);
        RoutePoints[RouteCount] = mark.position;
    }
    ASSERT_TRUE(WriteRouteFile(folder + "/approach.rte"));
}

bool TakesNumber(const std::string& symbol)
{
    return symbol == "20" || symbol == "21" || symbol == "23" || symbol == "30" || symbol == "31"
        || symbol == "32" || symbol == "33";
}

// Writes harbour.cht, harbour.cfg and harbour.wpt into `folder`.
void WriteHarbour(const std::string& folder)
{
    ResetNavState();
    ClearChartStore();
    std::vector<ChartPoint> points;
    for (const Line& line : kHarbourChart) {
        points.push_back(PenUpPoint);
        for (const TPosition& p : line.points)
            points.push_back(ChartPoint { rtl::Real6(p.lat + 200.0 * line.type), rtl::Real6(p.lon) });
    }
    ASSERT_TRUE(AppendToChartStore(points));
    int removed = 0;
    const std::string image = EncodeChartFile(1, removed);
    kvtest::WriteBytes(folder + "/harbour.cht", image);

    ViewCentreLat = 50.805;
    ViewCentreLon = 1.3;
    ViewZoom = 64;
    ChartKind = 0;
    ASSERT_TRUE(SaveChartConfig(folder + "/harbour.cht"));

    for (const Mark& mark : kHarbourMarks) {
        ++WaypointDbCount;
        WaypointDbNames[WaypointDbCount]
            = MakeWaypointName(mark.description, mark.symbol, mark.number, TakesNumber(mark.symbol));
        WaypointDbPoints[WaypointDbCount] = mark.position;
    }
    ASSERT_TRUE(WriteWaypointFile(folder + "/harbour.wpt"));
}

TEST(DemoChart, DemoFolderHoldsTheHarbourChartOfThePositionLists)
{
    const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/charts";
    if (std::getenv("KV_REGENERATE_DEMO"))
        WriteHarbour(demo);
    kvtest::TempDir dir;
    WriteHarbour(dir.path());
    for (const char* name : { "harbour.cht", "harbour.cfg", "harbour.wpt" })
        EXPECT_EQ(kvtest::ReadBytes(demo + "/" + name), dir.read(name)) << name;
}

TEST(DemoChart, DemoFolderHoldsTheApproachRouteOfItsList)
{
    const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/routes";
    if (std::getenv("KV_REGENERATE_DEMO"))
        WriteApproachRoute(demo);
    kvtest::TempDir dir;
    WriteApproachRoute(dir.path());
    EXPECT_EQ(kvtest::ReadBytes(demo + "/approach.rte"), dir.read("approach.rte"));
}

TEST(DemoChart, ApproachRouteLoadsBackWithDistinctIdentifiers)
{
    kvtest::TempDir dir;
    WriteApproachRoute(dir.path());
    ResetNavState();
    ASSERT_EQ(ReadRouteFile(dir.file("approach.rte")), RouteReadOutcome::Read);
    ASSERT_EQ(RouteCount, static_cast<int>(kApproachRoute.size()));
    std::vector<std::string> identifiers;
    for (int i = 1; i <= RouteCount; ++i) {
        EXPECT_EQ(RoutePoints[i], kApproachRoute[i - 1].position) << i;
        identifiers.push_back(WaypointIdentifier(RouteNames[i]));
    }
    EXPECT_EQ(identifiers,
        (std::vector<std::string> { "ANCHOR", "FAIRWA", "CHANNE", "ENTRAN", "BASIN", "VISITO" }));
}

// The route the program loads at start from the demo folder.
TEST(DemoChart, DemoConfigurationNamesTheApproachRoute)
{
    ResetNavState();
    AppFolder = std::string(KV_SOURCE_DIR) + "/demo/";
    LoadConfig(AppFolder + "zudeve.cfg");
    EXPECT_EQ(RouteName, "approach");
    EXPECT_EQ(ReadRouteFile(AppFolder + "routes/" + RouteName + ".rte"), RouteReadOutcome::Read);
    EXPECT_EQ(RouteCount, static_cast<int>(kApproachRoute.size()));
    ResetNavState();
}

TEST(DemoChart, HarbourChartLoadsBackWithItsMarks)
{
    kvtest::TempDir dir;
    WriteHarbour(dir.path());
    ResetNavState();
    ChartsFolder = dir.path() + "/";
    ASSERT_TRUE(LoadChartConfig(dir.file("harbour.cht")));
    EXPECT_EQ(ChartHomeZoom, 64);
    LoadWaypointDatabase("harbour");
    EXPECT_EQ(WaypointDbCount, static_cast<int>(kHarbourMarks.size()));
    EXPECT_EQ(WaypointDbNames[7], "Shallows                2005 ");
    const ChartFileContents chart = DecodeChartFile(dir.read("harbour.cht"));
    EXPECT_FALSE(chart.dosFile);
    std::size_t expected = 0;
    for (const Line& line : kHarbourChart)
        expected += line.points.size() + 1;
    EXPECT_EQ(chart.points.size(), expected);
}

} // namespace
