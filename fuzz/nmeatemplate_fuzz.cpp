// Fuzz target for the output template language: any bytes as the user
// sentence template of the configuration file, expanded with every other
// output sentence on a live leg. The output must end its last sentence with
// CR LF and never hold a blank (blanks go out as '0').
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/NmeaOutput.h"
#include "nav/NmeaTemplate.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    SetLocalClock([] { return LocalDateTime {}; });
    NmeaOpen = true;
    NmeaOutputOn = true;
    OutXTE = OutAPB = OutHSC = OutBOD = OutUser = true;
    RoutePoints[1] = { 50.1, 1.0 };
    RouteNames[1] = "Outer Spit              19   ";
    RouteCount = 1;
    ActiveWaypoint = 1;
    LogCount = 1;
    LogRecords[1] = LogRecord { rtl::Real6(50.0), rtl::Real6(1.0), rtl::Real6(600.0) };
    MeasureMode = true;
    Heading = -725.5;
    WaypointBearing = 359.9;
    MagVariation = -40;
    UserSentenceTemplate.assign(reinterpret_cast<const char*>(data), size);

    BuildNmeaOutput();
    if (NmeaOutput.size() < 2 || NmeaOutput.compare(NmeaOutput.size() - 2, 2, "\r\n") != 0)
        std::abort();
    // A template may write '|' for a blank; any other blank is a number's
    // padding and goes out as '0'.
    const std::string plain = ExpandNmeaTemplate(UserSentenceTemplate);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == ' ' && UserSentenceTemplate.find('|') == std::string::npos)
            std::abort();
    }
    NmeaChecksum(UserSentenceTemplate, static_cast<int>(size % 7) - 2);
    TrimNameField(UserSentenceTemplate, static_cast<int>(size % 40) - 3, static_cast<int>(size % 9) - 1);
    SetLocalClock({});
    return 0;
}
