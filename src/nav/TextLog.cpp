#include "nav/TextLog.h"

#include "nav/DailyLogs.h"
#include "nav/NavState.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <vector>

std::string TextLogPath()
{
    return LogsFile(LogBaseName + ".txt");
}

TextLogWrite AppendTextLogRecord(
    bool event, bool penUp, const std::function<std::string(const std::string&)>& expand)
{
    if (!TextLogOn)
        return TextLogWrite::Off;
    const uint16_t fixBefore = FixNumber;
    const uint16_t eventBefore = EventNumber;

    std::vector<std::string> lines;
    if (penUp)
        lines.push_back("# -b");
    ++FixNumber;
    if (event) {
        ++EventNumber;
        lines.push_back("*" + rtl::StrInt(EventNumber));
    }
    lines.push_back(expand(NmeaLogTemplate));

    if (!AppendToDailyLog(TextLogPath(), TextLogHeader(LogBaseName, NmeaLogTemplate), lines)) {
        FixNumber = fixBefore;
        EventNumber = eventBefore;
        return TextLogWrite::Failed;
    }
    return TextLogWrite::Written;
}

bool OpenTextLog(const std::string& path)
{
    if (rtl::FileExists(path))
        return ReadBackTextLog(path);
    if (!CreateTextLog(path, LogBaseName, NmeaLogTemplate))
        return false;
    NmeaLogTemplatePrev = NmeaLogTemplate;
    FixNumber = 0;
    return true;
}

bool RewriteTextLog(const std::string& recordTemplate)
{
    if (!CreateTextLog(TextLogPath(), LogBaseName, recordTemplate))
        return false;
    NmeaLogTemplate = recordTemplate;
    NmeaLogTemplatePrev = recordTemplate;
    FixNumber = 0;
    EventNumber = 0;
    return true;
}

void HoldTextLogOff()
{
    if (!TextLogHeld) {
        TextLogHeld = true;
        TextLogHeldValue = TextLogOn;
    }
    TextLogOn = false;
}

void ReleaseTextLogHold()
{
    if (TextLogHeld)
        TextLogOn = TextLogHeldValue;
    TextLogHeld = false;
}

void DropTextLogHold()
{
    TextLogHeld = false;
}

bool TextLogSetting()
{
    return TextLogHeld ? TextLogHeldValue : TextLogOn;
}
