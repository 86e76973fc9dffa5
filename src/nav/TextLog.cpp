#include "nav/TextLog.h"

#include "nav/DailyLogs.h"
#include "nav/NavState.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <cstdio>
#include <vector>

namespace
{

// Appends the lines, each with CR LF, to a file that exists already. A log
// whose last line was cut short (no line end) gets its end first, so the
// new lines are not glued to it. The lines go out in one write, so a failure
// leaves at most a cut last line.
bool AppendToExisting(const std::string& path, const std::vector<std::string>& lines)
{
    if (!rtl::FileExists(path))
        return false;
    std::FILE* file = rtl::OpenRegularFile(rtl::OpenPath(path), "a+b");
    if (!file)
        return false;
    std::string bytes;
    if (std::fseek(file, -1, SEEK_END) == 0 && std::fgetc(file) != '\n')
        bytes = "\r\n";
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    // A read is followed by a seek before the stream writes.
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

} // namespace

std::string TextLogPath()
{
    return rtl::JoinPath(LogsFolder, LogBaseName + ".txt");
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

    if (!AppendToExisting(TextLogPath(), lines)) {
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
