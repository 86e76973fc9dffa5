#include "nav/WaypointFile.h"

#include "nav/LatLonText.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace
{

constexpr std::size_t kNameLength = WaypointNameField::capacity; // 29

// Column layout of one file format, 1-based columns as in the header.
struct WaypointColumns {
    int minutesWidth; // 8 or 5
    int decimals; // 5 or 2
    std::size_t latMinutes; // first column of the latitude minutes
    std::size_t lonHemisphere;
    std::size_t lonDegrees;
    std::size_t lonMinutes;
};

constexpr WaypointColumns kWptColumns { 8, 5, 35, 45, 46, 50 };
constexpr WaypointColumns kDosColumns { 5, 2, 35, 42, 43, 47 };

std::string Line(const WaypointNameField& name, const TPosition& position, const WaypointColumns& columns)
{
    std::string line = name.str();
    line.resize(kNameLength, ' ');
    const DegreesMinutesText lat = SplitDegreesMinutes(position.lat, columns.minutesWidth, columns.decimals);
    const DegreesMinutesText lon = SplitDegreesMinutes(position.lon, columns.minutesWidth, columns.decimals);
    line += position.lat >= 0 ? 'N' : 'S';
    line += ' ' + rtl::ZeroFilledInt(lat.degrees, 2) + '.' + lat.minutes;
    line += "  ";
    line += position.lon >= 0 ? 'W' : 'E';
    line += rtl::ZeroFilledInt(lon.degrees, 3) + '.' + lon.minutes;
    return line;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) || (!ec && a == b);
}

// Entries (lines) of a waypoint file; -1 when it cannot be read.
int32_t EntriesIn(const std::string& path)
{
    rtl::TextReader file;
    if (!file.open(path))
        return -1;
    int32_t lines = 0;
    std::string line;
    while (file.readLine(line))
        ++lines;
    return lines;
}

// A waypoint file that held more entries than the database took keeps them
// until the user agrees to rewrite it with only those loaded.
bool MayReplace(const std::string& path)
{
    if (WaypointFileCutPath.empty() || !SameFile(rtl::OpenPath(path), WaypointFileCutPath))
        return true;
    const int32_t held = EntriesIn(WaypointFileCutPath);
    if (held <= WaypointDbCount)
        return true;
    if (!platform::AskYesNo("The waypoint file " + WaypointFileCutPath + " holds " + std::to_string(held)
            + " waypoints and only " + std::to_string(WaypointDbCount)
            + " are loaded. Overwrite it and lose the rest ?"))
        return false;
    WaypointFileCutPath.clear();
    return true;
}

bool WriteLines(const std::string& path, std::string (*format)(const WaypointNameField&, const TPosition&))
{
    if (!MayReplace(path))
        return false;
    rtl::AtomicTextWriter file;
    bool ok = file.create(path);
    if (ok) {
        const int count = std::clamp<int>(WaypointDbCount, 0, kMaxWaypoints);
        for (int i = 1; i <= count; ++i)
            file.writeLine(format(WaypointDbNames[i], WaypointDbPoints[i]));
        ok = file.commit();
    }
    if (!ok)
        platform::MessageError("Error writing WP database file!");
    return ok;
}

bool IsAt(const std::string& line, std::size_t column, char c)
{
    return column - 1 < line.size() && line[column - 1] == c;
}

} // namespace

std::string WaypointFileLine(const WaypointNameField& name, const TPosition& position)
{
    return Line(name, position, kWptColumns);
}

std::string DosWaypointFileLine(const WaypointNameField& name, const TPosition& position)
{
    return Line(name, position, kDosColumns);
}

bool ReadWaypointFileLine(
    const std::string& line, WaypointLineLayout layout, WaypointNameField& name, TPosition& position)
{
    const WaypointColumns& columns = layout == WaypointLineLayout::Dos ? kDosColumns : kWptColumns;
    bool ok = true;
    const auto width = static_cast<std::size_t>(columns.minutesWidth);
    name = line.substr(0, kNameLength);
    position.lat
        = NumberInColumns(line, 31, 3, ok) + NumberInColumns(line, columns.latMinutes, width, ok) / 60.0;
    if (IsAt(line, 30, 'S'))
        position.lat = -position.lat;
    position.lon = NumberInColumns(line, columns.lonDegrees, 3, ok)
        + NumberInColumns(line, columns.lonMinutes, width, ok) / 60.0;
    if (IsAt(line, columns.lonHemisphere, 'E'))
        position.lon = -position.lon;
    return ok;
}

bool WriteWaypointFile(const std::string& path)
{
    return WriteLines(path, WaypointFileLine);
}

bool WriteDosWaypointFile(const std::string& path)
{
    return WriteLines(path, DosWaypointFileLine);
}

void LoadWaypointDatabase(const std::string& chartName)
{
    rtl::TextReader file;
    WaypointLineLayout layout = WaypointLineLayout::Wpt;
    std::string path = rtl::OpenPath(ChartsFile(chartName + ".wpt"));
    if (!file.open(path)) {
        path = rtl::OpenPath(ChartsFile(chartName + ".WPS"));
        if (!file.open(path))
            return;
        layout = WaypointLineLayout::Dos;
    }
    int count = std::clamp<int>(WaypointDbCount, 0, kMaxWaypoints);
    if (count == 0)
        WaypointFileCutPath.clear(); // a database of this file alone
    bool formatError = false;
    std::string line;
    while (count < kMaxWaypoints && file.readLine(line)) {
        ++count;
        if (!ReadWaypointFileLine(line, layout, WaypointDbNames[count], WaypointDbPoints[count]))
            formatError = true;
    }
    int32_t leftOut = 0;
    while (file.readLine(line))
        ++leftOut;
    WaypointDbCount = static_cast<int16_t>(count);
    if (formatError)
        platform::MessageWarning("Format errors detected in Waypoint database file!");
    if (leftOut > 0) {
        WaypointFileCutPath = path;
        platform::MessageWarning("Waypoint Database Full !");
    }
}
