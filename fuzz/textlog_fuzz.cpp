// Fuzz target for the text survey log reader: any bytes as "<name>.txt"
// opened as the current text log, then a record and an event appended under
// the template the file brought (expanded by the window's '@' language with
// a live leg and a towed body). The template in force must be the file's,
// the count must follow the lines, and each record must add its lines.
#include "ScratchFolder.h"

#include "nav/LogTemplate.h"
#include "nav/NavState.h"
#include "nav/TextLog.h"
#include "rtl/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    LogsFolder = fuzz::ScratchFolder().string() + "/";
    LogBaseName = "fuzz";
    NmeaLogTemplate = "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y";
    TextLogOn = true;
    RoutePoints[1] = { 50.1, 1.0 };
    RouteCount = 1;
    ActiveWaypoint = 1;
    LogCount = 1;
    LogRecords[1] = LogRecord { rtl::Real6(-50.0), rtl::Real6(-179.5), rtl::Real6(600.0) };
    TowLayoutPoints[5].lat = 1e6;
    MeasureMode = true;
    XTE = -1e300;

    const std::string path = fuzz::WriteScratchFile("fuzz.txt", data, size);
    if (!OpenTextLog(path))
        std::abort();
    if (NmeaLogTemplate != NmeaLogTemplatePrev)
        std::abort();
    if (TextLogLineCount < INT16_MAX && FixNumber != static_cast<uint16_t>(TextLogLineCount))
        std::abort();

    const auto before = rtl::ReadAllLines(path);
    const uint16_t fix = FixNumber;
    auto expand = [](const std::string& pattern) { return ExpandLogTemplate(pattern, "wp @"); };
    if (AppendTextLogRecord(false, true, expand) != TextLogWrite::Written
        || AppendTextLogRecord(true, false, expand) != TextLogWrite::Written)
        std::abort();
    if (FixNumber != static_cast<uint16_t>(fix + 2) || EventNumber != 1)
        std::abort();
    const auto after = rtl::ReadAllLines(path);
    if (!before || !after || after->size() < before->size() + 4)
        std::abort();
    return 0;
}
