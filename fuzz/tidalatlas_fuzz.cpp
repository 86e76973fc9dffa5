// Fuzz target for the tidal atlas reader. The input is split in two: the
// first two bytes (little-endian) give the length of the station file part,
// the rest is the flow file. The nearest-diamond search and the course to
// steer then run over what was loaded.
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "nav/TidalAtlas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t split = std::min<std::size_t>(data[0] | (data[1] << 8), bytes.size());

    ResetNavState();
    ManualSpeed = 5.0;
    CurLat = 50.0;
    CurLon = 1.0;
    RoutePoints[1] = { 50.1, 1.0 };
    RouteCount = 1;
    ActiveWaypoint = 1;

    DecodeTidalAtlas(bytes.substr(0, split), bytes.substr(split));
    if (TideStationCount < 0 || TideStationCount > kMaxTideStations)
        std::abort();
    for (int hour = -6; hour <= 6; ++hour) {
        TideHour = static_cast<int16_t>(hour);
        FindNearestTideStation();
    }
    UpdateNavigationData();
    return 0;
}
