// Conversions per second of the grid conversions, over a spread of positions
// across Great Britain (national grid) and the world (UTM).

#include "nav/geodesy/Grid_Lat.h"
#include "nav/geodesy/Lat_Grid.h"
#include "nav/geodesy/UTM_Grid.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

struct Position {
    double latitude;
    double longitude;
};

std::vector<Position> BritishPositions()
{
    std::vector<Position> out;
    for (double lat = 50.0; lat <= 60.5; lat += 0.5)
        for (double lon = -7.5; lon <= 1.5; lon += 0.5)
            out.push_back({ lat, lon });
    return out;
}

// Argument 0: numeric easting and northing texts; 1: lettered reference.
void BM_LatLongToOSGrid(benchmark::State& state)
{
    const auto positions = BritishPositions();
    const bool lettered = state.range(0) != 0;
    std::string northing, easting, gridRef;
    size_t i = 0;
    for (auto _ : state) {
        const Position& p = positions[i++ % positions.size()];
        geodesy::LatLongToOSGrid(p.latitude, p.longitude, lettered, northing, easting, gridRef);
        benchmark::DoNotOptimize(easting.data());
        benchmark::DoNotOptimize(gridRef.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LatLongToOSGrid)->ArgName("lettered")->Arg(0)->Arg(1);

void BM_OSGridToLatLong(benchmark::State& state)
{
    std::vector<Position> grid; // easting, northing in metres
    for (double e = 50000.0; e < 700000.0; e += 50000.0)
        for (double n = 10000.0; n < 1300000.0; n += 100000.0)
            grid.push_back({ e + 0.37, n + 0.21 });
    double lat = 0.0, lon = 0.0;
    bool notConverged = false;
    size_t i = 0;
    for (auto _ : state) {
        const Position& p = grid[i++ % grid.size()];
        geodesy::OSGridToLatLong(p.latitude, p.longitude, lat, lon, notConverged);
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(lon);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OSGridToLatLong);

// A northing ending in exactly half a metre that runs all 1001 passes: the
// slowest case of the inverse.
void BM_OSGridToLatLongHalfMetre(benchmark::State& state)
{
    double lat = 0.0, lon = 0.0;
    bool notConverged = false;
    for (auto _ : state) {
        geodesy::OSGridToLatLong(400000.0, 109973.5, lat, lon, notConverged);
        benchmark::DoNotOptimize(lat);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OSGridToLatLongHalfMetre);

void BM_LatLongToUTM(benchmark::State& state)
{
    std::vector<Position> positions;
    for (double lat = -79.0; lat < 84.0; lat += 7.0)
        for (double lon = -177.0; lon < 180.0; lon += 13.0)
            positions.push_back({ lat, lon });
    std::string northing, easting;
    size_t i = 0;
    for (auto _ : state) {
        const Position& p = positions[i % positions.size()];
        geodesy::LatLongToUTM(p.latitude, p.longitude, static_cast<int>(i % 9), northing, easting);
        ++i;
        benchmark::DoNotOptimize(easting.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LatLongToUTM);

} // namespace
