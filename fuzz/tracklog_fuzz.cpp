// Fuzz target for the binary track log reader: any bytes as a "<date>.log"
// image, then the speed, course and navigation update that read the track.
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "nav/TrackLog.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    AverageN = 3;
    RoutePoints[1] = { 50.1, 1.0 };
    RouteCount = 1;
    ActiveWaypoint = 1;

    DecodeTrackLog(std::string_view(reinterpret_cast<const char*>(data), size));
    if (LogCount < 0 || LogCount > kMaxLogRecords)
        std::abort();
    ComputeLogSpeed();
    ComputeLogCourse();
    ComputeDeadReckoning();
    UpdateNavigationData();
    if (EncodeTrackLog().size() != kTrackLogSize)
        std::abort();
    return 0;
}
