#include "nav/DailyLogs.h"

#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/TrackLog.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace
{

constexpr const char* kAisDatabaseName = "KVAIS.ADB";

bool WriteNewTextFile(const std::string& path, const std::vector<std::string>& lines)
{
    rtl::AtomicTextWriter writer;
    if (!writer.create(path))
        return false;
    for (const std::string& line : lines)
        writer.writeLine(line);
    return writer.commit();
}

// Something other than a file stands under the name (a FIFO, a device, a
// folder): it is neither read nor replaced.
bool NonRegular(const std::string& path)
{
    struct stat st;
    return ::stat(rtl::OpenPath(path).c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

template <typename T> T CountFor(std::size_t count)
{
    return static_cast<T>(std::min<std::size_t>(count, std::numeric_limits<T>::max()));
}

} // namespace

std::string LogDateTextFor(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d", day % 100, month % 100, ((year % 100) + 100) % 100);
    return text;
}

std::string TodayLogDateText()
{
    const LocalDateTime now = LocalNow();
    return LogDateTextFor(now.year, now.month, now.day);
}

std::vector<std::string> TextLogHeader(const std::string& baseName, const std::string& recordTemplate)
{
    return { "Log Date : " + baseName, recordTemplate };
}

std::vector<std::string> AisLogHeader(const std::string& baseName)
{
    return { "AIS Log Date : " + baseName };
}

bool CreateTextLog(const std::string& path, const std::string& baseName, const std::string& recordTemplate)
{
    return WriteNewTextFile(path, TextLogHeader(baseName, recordTemplate));
}

bool AppendToDailyLog(
    const std::string& path, const std::vector<std::string>& header, const std::vector<std::string>& lines)
{
    if (rtl::AppendLines(path, lines, rtl::AppendTo::ExistingFile))
        return true;
    if (rtl::FileExists(path) || NonRegular(path) || !WriteNewTextFile(path, header))
        return false;
    return rtl::AppendLines(path, lines, rtl::AppendTo::ExistingFile);
}

bool ReadBackTextLog(const std::string& path)
{
    // Read as a stream: a log of a long survey may hold millions of lines,
    // of which only the template and the count are needed.
    std::size_t index = 0;
    std::string recordTemplate;
    std::size_t records = 0;
    const bool read = rtl::ForEachLine(path, [&](std::string_view line) {
        // Line 1 is the date header, line 2 the template the day's records follow.
        if (index == 1)
            recordTemplate = line;
        else if (index >= 2 && !line.empty() && line.front() != '*')
            ++records;
        ++index;
    });
    if (!read)
        return false;
    if (!recordTemplate.empty())
        NmeaLogTemplate = recordTemplate;
    NmeaLogTemplatePrev = NmeaLogTemplate;
    TextLogLineCount = CountFor<int16_t>(records);
    FixNumber = CountFor<uint16_t>(records);
    return true;
}

bool OpenDailyLogs(const std::string& dateText)
{
    bool writable = true;
    LogDateText = dateText;
    LogBaseName = dateText;
    TextLogName = dateText;

    if (!ReadTrackLogFile(LogsFile(dateText + ".log")))
        LogDateText.clear();

    TextLogLineCount = 0;
    const std::string textLog = LogsFile(LogBaseName + ".txt");
    if (NonRegular(textLog)) {
        writable = false;
    } else if (rtl::FileExists(textLog)) {
        writable = ReadBackTextLog(textLog) && ::access(rtl::OpenPath(textLog).c_str(), W_OK) == 0;
    } else {
        writable = CreateTextLog(textLog, LogBaseName, NmeaLogTemplate);
    }

    const std::string aisLog = LogsFile(LogBaseName + ".AIS");
    if (NonRegular(aisLog))
        writable = false;
    else if (!rtl::FileExists(aisLog))
        writable = WriteNewTextFile(aisLog, AisLogHeader(LogBaseName)) && writable;
    else if (::access(rtl::OpenPath(aisLog).c_str(), W_OK) != 0)
        writable = false;

    const std::string database = rtl::JoinPath(AppFolder, kAisDatabaseName);
    if (rtl::FileExists(database)) {
        std::error_code error;
        const auto size = std::filesystem::file_size(rtl::OpenPath(database), error);
        if (!error)
            AisDbRecordCount = CountFor<int32_t>(size / nav::kAisRecordSize);
    } else if (!NonRegular(database)) {
        rtl::WriteFileAtomic(database, {});
    }
    return writable;
}

bool OpenDailyLogs()
{
    return OpenDailyLogs(TodayLogDateText());
}
