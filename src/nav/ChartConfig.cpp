#include "nav/ChartConfig.h"

#include "nav/FileNameParts.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace
{

constexpr double kDefaultZoom = 0.04;
constexpr double kDegToRad = std::numbers::pi / 180.0;

int32_t ClampToInt32(double value)
{
    const int64_t r = rtl::Round(value);
    if (r > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (r < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

struct ChartView {
    double lat = 0.0, lon = 0.0, zoom = kDefaultZoom;
    int16_t kind = 0;
    bool hasOffsets = false;
    double offsetLat = 0.0, offsetLon = 0.0;
};

// The file's values; false when it cannot be read or its view cannot be
// projected. Lines that do not read as numbers count as 0, as the program
// configuration reads them.
bool ReadChartView(const std::optional<std::string>& bytes, ChartView& view)
{
    if (!bytes)
        return false;
    rtl::TextReader file(*bytes);
    view.lat = file.readRealLine();
    view.lon = file.readRealLine();
    view.zoom = file.readRealLine();
    const int64_t kind = file.readIntLine();
    view.kind = kind >= std::numeric_limits<int16_t>::min() && kind <= std::numeric_limits<int16_t>::max()
        ? static_cast<int16_t>(kind)
        : 0;
    if (!file.eof()) {
        view.hasOffsets = true;
        view.offsetLat = file.readRealLine();
        view.offsetLon = file.readRealLine();
    }
    return std::isfinite(view.lat) && std::fabs(view.lat) < 90.0 && std::isfinite(view.lon)
        && std::isfinite(view.zoom) && view.zoom > 0.0 && std::isfinite(view.offsetLat)
        && std::isfinite(view.offsetLon);
}

} // namespace

std::string ChartConfigPath(const std::string& chartPath)
{
    return ExtractFileDir(chartPath) + ExtractFileBaseName(chartPath) + ".cfg";
}

std::optional<ChartHomeView> ReadChartHomeView(const std::string& cfgPath)
{
    rtl::TextReader file;
    if (!file.open(cfgPath))
        return std::nullopt;
    ChartHomeView home;
    home.lat = file.readRealLine();
    home.lon = file.readRealLine();
    home.zoom = file.readRealLine();
    return home;
}

bool LoadChartConfig(const std::string& chartPath)
{
    return LoadChartConfigText(rtl::ReadFileBytes(ChartConfigPath(chartPath)));
}

bool LoadChartConfigText(std::optional<std::string> bytes)
{
    ChartView view;
    const bool read = ReadChartView(bytes, view);
    if (read) {
        CurLat = view.lat;
        CurLon = view.lon;
        ChartScale = view.zoom;
        ChartKind = view.kind;
        if (view.hasOffsets) {
            ChartOffsetLat = view.offsetLat;
            ChartOffsetLon = view.offsetLon;
        }
        ViewCentreLat = ChartHomeLat = CurLat;
        ViewCentreLon = ChartHomeLon = CurLon;
        ViewZoom = ChartHomeZoom = ChartScale;
    } else {
        CurLat = 0.0;
        CurLon = 0.0;
        ChartScale = kDefaultZoom;
        ChartKind = 0;
        ChartHomeLat = 0.0;
        ChartHomeLon = 0.0;
        ChartHomeZoom = kDefaultZoom;
        ChartOffsetLat = 0.0;
        ChartOffsetLon = 0.0;
    }
    SetChartScales();
    return read;
}

void SetChartScales()
{
    CosLat = std::cos(ChartHomeLat * kDegToRad);
    PixelsPerDegLat = ChartPixelsPerDegreeLat(CosLat);
    PixelsPerDegLon = ClampToInt32(ViewImageWidth / 640.0 * 55.0);
}

int32_t ChartPixelsPerDegreeLat(double cosLat)
{
    const double fourByThreeHeight = static_cast<double>(rtl::Round(ViewImageWidth / 1.3333333));
    const double height = std::min<double>(ViewImageHeight, fourByThreeHeight);
    return ClampToInt32(height / 200.0 * 38.0 * 0.63 / cosLat);
}

std::string ChartConfigText(const ChartConfigValues& values)
{
    std::string text;
    for (const std::string& line : { rtl::RealText(values.lat), rtl::RealText(values.lon),
             rtl::RealText(values.zoom), rtl::StrInt(values.kind), rtl::RealText(values.offsetLat),
             rtl::RealText(values.offsetLon) })
        text += line + "\r\n";
    return text;
}

namespace
{

ChartConfigValues CurrentChartConfig()
{
    return { ViewCentreLat, ViewCentreLon, ViewZoom, ChartKind, ChartOffsetLat, ChartOffsetLon };
}

} // namespace

std::string ChartConfigText()
{
    return ChartConfigText(CurrentChartConfig());
}

bool WriteChartConfigFile(const std::string& cfgPath, const ChartConfigValues& values)
{
    return rtl::WriteFileAtomic(cfgPath, ChartConfigText(values));
}

bool SaveChartConfig(const std::string& chartPath)
{
    const bool ok = WriteChartConfigFile(ChartConfigPath(chartPath), CurrentChartConfig());
    if (!ok)
        platform::MessageWarning("Error Writing Chart Config File");
    return ok;
}
