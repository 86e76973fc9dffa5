// Route file readers on arbitrary bytes, as a ".rte" file and as a DOS
// ".prn" file. The route never passes 40 waypoints and a waypoint is active
// exactly when the route holds one. Every waypoint's upload sentence is one
// line, "$ECWPL," to a checksum that fits what it covers. A route of charted
// positions, once written and read back (which may settle the hemisphere
// letter of a position that shows as zero), writes and reads to the same
// bytes again.
#include "ScratchFolder.h"

#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "nav/RouteFile.h"
#include "nav/RouteUpload.h"
#include "rtl/TextFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

void CheckRoute()
{
    if (RouteCount < 0 || RouteCount > kMaxRoutePoints)
        std::abort();
    if (ActiveWaypoint != (RouteCount > 0 ? 1 : 0))
        std::abort();
}

void CheckSentences()
{
    for (int i = 1; i <= RouteCount; ++i) {
        const std::string sentence = WaypointSentence(i);
        const std::size_t star = sentence.find('*');
        if (sentence.rfind("$ECWPL,", 0) != 0 || star == std::string::npos || star + 5 != sentence.size()
            || sentence.find_first_of("\r\n") != star + 3)
            std::abort();
        if (sentence.substr(star, 3) != NmeaChecksum(sentence.substr(0, star), 2))
            std::abort();
        if (sentence.find_first_of("$*", 1) != star)
            std::abort();
    }
}

bool AllCharted()
{
    for (int i = 1; i <= RouteCount; ++i)
        if (std::fabs(RoutePoints[i].lat) > 90 || std::fabs(RoutePoints[i].lon) > 180)
            return false;
    return true;
}

void Read(const std::string& path)
{
    ReadRouteFile(path);
    CheckRoute();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    rtl::TextReader dos(bytes);
    ReadRouteText(dos, RouteFileKind::Prn);
    CheckRoute();
    CheckSentences();

    Read(fuzz::WriteScratchFile("input.rte", data, size));
    CheckSentences();
    if (!AllCharted())
        return 0;

    if (!WriteRouteFile(fuzz::ScratchFile("first.rte")))
        std::abort();
    Read(fuzz::ScratchFile("first.rte"));
    WriteRouteFile(fuzz::ScratchFile("second.rte"));
    Read(fuzz::ScratchFile("second.rte"));
    WriteRouteFile(fuzz::ScratchFile("third.rte"));
    if (rtl::ReadFileBytes(fuzz::ScratchFile("second.rte"))
        != rtl::ReadFileBytes(fuzz::ScratchFile("third.rte")))
        std::abort();
    return 0;
}
