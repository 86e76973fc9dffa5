// One navigation update, as run on every fix, with every table full: a route
// of 40 waypoints, a track of 98 records and an atlas of 100 diamonds (the
// nearest-diamond search is the only loop over a table).
#include "nav/NavState.h"
#include "nav/NavUpdate.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

void FillTables()
{
    ResetNavState();
    CosLat = 0.63;
    ManualSpeed = 6.0;
    AverageN = 6;
    for (int i = 1; i <= kMaxLogRecords; ++i)
        LogRecords[i]
            = LogRecord { rtl::Real6(50.0 + i * 0.001), rtl::Real6(1.0 + i * 0.0005), rtl::Real6(600.0 + i) };
    LogCount = kMaxLogRecords;
    for (int i = 1; i <= kMaxRoutePoints; ++i) {
        RoutePoints[i] = { 50.2 + i * 0.05, 1.0 + (i % 2) * 0.05 };
        RouteNames[i] = "Waypoint " + std::to_string(i);
    }
    RouteCount = kMaxRoutePoints;
    for (int i = 1; i <= kMaxTideStations; ++i) {
        TideStations[i]
            = TidePosition { rtl::Real6(49.5 + (i % 10) * 0.1), rtl::Real6(0.5 + (i / 10) * 0.1) };
        for (int hour = 1; hour <= kTideHours; ++hour)
            TideStreams[i][hour]
                = TideFlow { static_cast<int16_t>((i * 37 + hour * 15) % 360), static_cast<int16_t>(hour) };
    }
    TideStationCount = kMaxTideStations;
    CurLat = 50.098;
    CurLon = 1.049;
}

void BM_UpdateNavigationData(benchmark::State& state)
{
    FillTables();
    for (auto _ : state) {
        ActiveWaypoint = 20; // far enough that no update advances it
        XteRefCourse = 10.0;
        UpdateNavigationData();
        benchmark::DoNotOptimize(XteText);
    }
}
BENCHMARK(BM_UpdateNavigationData);

} // namespace
