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
#include <initializer_list>
#include <limits>
#include <system_error>

namespace
{

constexpr const char* kAisDatabaseName = "KVAIS.ADB";

bool WriteNewTextFile(const std::string& path, std::initializer_list<std::string> lines)
{
    rtl::AtomicTextWriter writer;
    if (!writer.create(path))
        return false;
    for (const std::string& line : lines)
        writer.writeLine(line);
    return writer.commit();
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

bool CreateTextLog(const std::string& path, const std::string& baseName, const std::string& recordTemplate)
{
    return WriteNewTextFile(path, { "Log Date : " + baseName, recordTemplate });
}

bool ReadBackTextLog(const std::string& path)
{
    const auto lines = rtl::ReadAllLines(path);
    if (!lines)
        return false;
    // Line 1 is the date header, line 2 the template the day's records follow.
    if (lines->size() >= 2 && !(*lines)[1].empty())
        NmeaLogTemplate = (*lines)[1];
    NmeaLogTemplatePrev = NmeaLogTemplate;
    std::size_t records = 0;
    for (std::size_t i = 2; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (!line.empty() && line.front() != '*')
            ++records;
    }
    TextLogLineCount = CountFor<int16_t>(records);
    FixNumber = CountFor<uint16_t>(records);
    return true;
}

void OpenDailyLogs(const std::string& dateText)
{
    LogDateText = dateText;
    LogBaseName = dateText;
    TextLogName = dateText;

    if (!ReadTrackLogFile(rtl::JoinPath(LogsFolder, dateText + ".log")))
        LogDateText.clear();

    TextLogLineCount = 0;
    const std::string textLog = rtl::JoinPath(LogsFolder, LogBaseName + ".txt");
    if (rtl::FileExists(textLog))
        ReadBackTextLog(textLog);
    else
        CreateTextLog(textLog, LogBaseName, NmeaLogTemplate);

    const std::string aisLog = rtl::JoinPath(LogsFolder, LogBaseName + ".AIS");
    if (!rtl::FileExists(aisLog))
        WriteNewTextFile(aisLog, { "AIS Log Date : " + LogBaseName });

    const std::string database = rtl::JoinPath(AppFolder, kAisDatabaseName);
    if (rtl::FileExists(database)) {
        std::error_code error;
        const auto size = std::filesystem::file_size(rtl::OpenPath(database), error);
        if (!error)
            AisDbRecordCount = CountFor<int32_t>(size / nav::kAisRecordSize);
    } else {
        rtl::WriteFileAtomic(database, {});
    }
}

void OpenDailyLogs()
{
    OpenDailyLogs(TodayLogDateText());
}
