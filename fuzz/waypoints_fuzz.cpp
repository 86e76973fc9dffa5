// Waypoint database reader on arbitrary bytes, as a chart's ".wpt" file and
// as its DOS ".wps" copy. The database never passes 600 entries, and a
// database of charted positions, once written and read back (which may settle
// the hemisphere letter of a position that shows as zero), writes and reads
// to the same bytes again.
#include "ScratchFolder.h"

#include "nav/NavState.h"
#include "nav/WaypointFile.h"
#include "platform/Ui.h"
#include "rtl/TextFile.h"
#include "support/ScriptedUi.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace
{

bool AllCharted()
{
    for (int i = 1; i <= WaypointDbCount; ++i)
        if (std::fabs(WaypointDbPoints[i].lat) > 90 || std::fabs(WaypointDbPoints[i].lon) > 180)
            return false;
    return true;
}

void Load(const std::string& chart)
{
    WaypointDbCount = 0;
    LoadWaypointDatabase(chart);
    if (WaypointDbCount < 0 || WaypointDbCount > kMaxWaypoints)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::ScriptedUi ui; // the format warning needs no answer
    ResetNavState();
    ChartsFolder = fuzz::ScratchFolder().string() + "/";
    std::filesystem::remove(fuzz::ScratchFile("input.wpt"));
    std::filesystem::remove(fuzz::ScratchFile("dos.wps"));

    fuzz::WriteScratchFile("dos.wps", data, size);
    Load("dos");
    fuzz::WriteScratchFile("input.wpt", data, size);
    Load("input");
    if (!AllCharted())
        return 0;

    WriteWaypointFile(fuzz::ScratchFile("first.wpt"));
    Load("first");
    WriteWaypointFile(fuzz::ScratchFile("second.wpt"));
    Load("second");
    WriteWaypointFile(fuzz::ScratchFile("third.wpt"));
    if (rtl::ReadFileBytes(fuzz::ScratchFile("second.wpt"))
        != rtl::ReadFileBytes(fuzz::ScratchFile("third.wpt")))
        std::abort();
    return 0;
}
