// One full redraw of a 1920 x 1440 chart view with every store full: 10800
// chart points, 600 waypoints, a 40-waypoint route, 98 track records and 100
// tidal stations; in the AIS view also 60 AIS targets with full 40-point
// trails and their names. Aim: under 5 ms.

#include "chartwin/ChartPainters.h"
#include "chartwin/Childwin.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace
{

void FillStores()
{
    ResetNavState();
    ViewImageWidth = 1920;
    ViewImageHeight = 1440;
    PixelsPerDegLat = 137;
    PixelsPerDegLon = 165;
    ChartHomeZoom = 20;
    // A coastline of polylines of 100 points in all seven line types, within
    // about half a degree of 50 N 1 W.
    ChartPointCount = kMaxChartPoints;
    for (int i = 1; i <= kMaxChartPoints; ++i) {
        if (i % 100 == 0) {
            ChartPoints[i] = PenUpPoint;
            continue;
        }
        const int type = (i / 100) % 7;
        const double t = i * 0.01;
        ChartPoints[i] = ChartPoint { rtl::Real6(50 + 0.4 * std::sin(t) + 200.0 * type),
            rtl::Real6(1 + 0.5 * std::cos(t * 1.3)) };
    }
    WaypointDbCount = kMaxWaypoints;
    for (int i = 1; i <= kMaxWaypoints; ++i) {
        WaypointDbPoints[i] = TPosition { 50 + 0.3 * std::sin(i * 0.7), 1 + 0.4 * std::cos(i * 0.3) };
        char name[32];
        std::snprintf(name, sizeof name, "WP%-22d%02d%02d ", i, i % 37, 50);
        WaypointDbNames[i] = name;
    }
    RouteCount = kMaxRoutePoints;
    for (int i = 1; i <= kMaxRoutePoints; ++i) {
        RoutePoints[i] = TPosition { 49.8 + i * 0.01, 0.8 + i * 0.01 };
        RouteNames[i] = "ROUTE                   19   ";
    }
    ActiveWaypoint = 3;
    LogCount = kMaxLogRecords;
    for (int i = 1; i <= kMaxLogRecords; ++i)
        LogRecords[i] = LogRecord { rtl::Real6(50 + i * 0.001), rtl::Real6(1 - i * 0.001), rtl::Real6(i) };
    TideStationCount = kMaxTideStations;
    for (int i = 1; i <= kMaxTideStations; ++i) {
        TideStations[i]
            = TidePosition { rtl::Real6(49.7 + (i % 10) * 0.06), rtl::Real6(0.7 + (i / 10) * 0.06) };
        for (int h = 1; h <= kTideHours; ++h)
            TideStreams[i][h] = TideFlow { int16_t(h * 27 % 360), int16_t(h * 3) };
    }
}

// The one application object the views need, made at first use.
void StartApplication()
{
    static int argc = 1;
    static char name[] = "bench_redraw";
    static char* argv[] = { name, nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

void BM_FullRedraw(benchmark::State& state)
{
    StartApplication();
    FillStores();
    auto view = std::make_unique<TMDIChild>();
    view->FCursorLat = 50;
    view->FCursorLon = 1;
    view->SetZoom(double(state.range(0)));
    for (auto _ : state) {
        view->NewChartBitmap();
        view->RedrawView();
    }
}
// A full table: 60 targets spread over the chart, each with 40 trail
// points, heard just now so none ages out.
void FillAisTargets()
{
    const double now = LocalNow().DateTimeValue();
    AisTargetCount = kMaxAisTargets;
    for (int i = 1; i <= kMaxAisTargets; ++i) {
        nav::AisTargetRecord& t = AisTargets[i];
        const double lat = 50 + 0.3 * std::sin(i * 0.9),
                     lon = -(1 + 0.4 * std::cos(i * 0.5)); // east positive
        t.messageType = 1;
        t.mmsi = 235000000 + i;
        t.latitude = int32_t(lat * 600000);
        t.longitude = int32_t(lon * 600000);
        t.speedOverGround = uint16_t(40 + i);
        t.courseOverGround = uint16_t(i * 60 % 3600);
        t.name = "VESSEL NAME " + std::to_string(i);
        t.lastHeard = now;
        t.trailCount = nav::kAisTrailLength;
        for (int n = 1; n <= int(nav::kAisTrailLength); ++n)
            t.trail[n] = { lat - (40 - n) * 0.0005, lon - (40 - n) * 0.0003 };
    }
    SelectedAisTarget = 1;
}

void BM_FullRedrawWithAisTargets(benchmark::State& state)
{
    StartApplication();
    FillStores();
    auto view = std::make_unique<TMDIChild>(); // the AIS view: it empties the table
    view->ShowAIS->setChecked(true);
    FillAisTargets();
    view->FCursorLat = 50;
    view->FCursorLon = 1;
    view->SetZoom(double(state.range(0)));
    for (auto _ : state) {
        view->NewChartBitmap();
        view->RedrawView();
    }
    state.counters["targets"] = AisTargetCount;
}
BENCHMARK(BM_FullRedrawWithAisTargets)->Arg(3)->Arg(20)->Unit(benchmark::kMillisecond);

// Zoom 3: the whole chart on the bitmap, symbols as small plusses; zoom 20:
// a part of it with every symbol drawn whole.
BENCHMARK(BM_FullRedraw)->Arg(3)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace
