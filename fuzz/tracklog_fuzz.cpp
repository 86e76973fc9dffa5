// Fuzz target for the binary track log reader: any bytes as a "<date>.log"
// image, in memory and as a file found under another case of its name (which
// must read as its bytes do), then the speed, course and navigation update
// that read the track.
#include "ScratchFolder.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "nav/TrackLog.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    fuzz::WriteScratchFile("09-12-26.LOG", data, size);
    if (!ReadTrackLogFile(fuzz::ScratchFile("09-12-26.log")))
        std::abort();
    const std::string fromFile = EncodeTrackLog();
    ResetNavState();
    AverageN = 3;
    RoutePoints[1] = { 50.1, 1.0 };
    RouteCount = 1;
    ActiveWaypoint = 1;

    DecodeTrackLog(std::string_view(reinterpret_cast<const char*>(data), size));
    if (LogCount < 0 || LogCount > kMaxLogRecords || EncodeTrackLog() != fromFile)
        std::abort();
    ComputeLogSpeed();
    ComputeLogCourse();
    ComputeDeadReckoning();
    UpdateNavigationData();
    if (EncodeTrackLog().size() != kTrackLogSize)
        std::abort();
    return 0;
}
