#pragma once
// The chart configuration file "<chart>.cfg" beside each chart file: the
// chart's home view and its datum offsets, six text lines ended by CR LF.
//   1  home view centre latitude, degrees north positive     23-character real
//   2  home view centre longitude, degrees west positive     23-character real
//   3  home view zoom (1 is the chart's 1:1 scale), above 0  23-character real
//   4  chart value, an integer carried through               plain decimal
//   5  chart datum offset latitude, degrees                  23-character real
//   6  chart datum offset longitude, degrees                 23-character real
// Lines 5 and 6 may be missing on reading. gridmerk writes the same files.

#include <cstdint>
#include <optional>
#include <string>

// The six values of a chart configuration file.
struct ChartConfigValues {
    double lat = 0.0; // home view centre, degrees north positive
    double lon = 0.0; // degrees west positive
    double zoom = 1.0;
    int16_t kind = 0;
    double offsetLat = 0.0; // chart datum offsets, degrees
    double offsetLon = 0.0;
};

// Writes the file `cfgPath` whole from `values` (a temporary file renamed
// over the old one). False when it cannot be written; the old file is then
// kept. Shows no message.
bool WriteChartConfigFile(const std::string& cfgPath, const ChartConfigValues& values);

// Reads "<folder><base name>.cfg" of the chart file `chartPath` into CurLat,
// CurLon, ChartScale, ChartKind and (when present) the datum offsets, and
// makes that view both the home view (ChartHome*) and the last view
// (ViewCentre*, ViewZoom). Returns false when the file cannot be opened, or
// cannot be used: a zoom that is not above 0 (or does not read as a number)
// or a latitude at or beyond a pole would divide by zero in the projection.
// Then the working position and the home view are (0, 0) at zoom 0.04,
// ChartKind 0 and both offsets 0. Either way CosLat and the pixels per degree
// at zoom 1 (PixelsPerDegLat, PixelsPerDegLon) follow as SetChartScales says.
// Shows no message.
bool LoadChartConfig(const std::string& chartPath);
// The same over the configuration file's bytes; nullopt stands for a file
// that cannot be opened.
bool LoadChartConfigText(std::optional<std::string> bytes);

// The home view a chart configuration file gives: its first three lines.
struct ChartHomeView {
    double lat = 0.0; // degrees north positive
    double lon = 0.0; // degrees west positive
    double zoom = 0.0;
};
// Reads the home view of the chart configuration file `cfgPath`; a line that
// does not read as a number (or is missing) gives 0. nullopt when the file
// cannot be opened. Unlike LoadChartConfig, this changes no position or view.
std::optional<ChartHomeView> ReadChartHomeView(const std::string& cfgPath);

// Writes "<folder><base name>.cfg" of `chartPath` from the last view
// (ViewCentreLat, ViewCentreLon, ViewZoom), ChartKind and the datum offsets,
// replacing the file whole. When it cannot be written, shows "Error Writing
// Chart Config File" and leaves any old file as it was; returns false.
bool SaveChartConfig(const std::string& chartPath);
// The bytes SaveChartConfig writes.
std::string ChartConfigText();
// The file text of `values`.
std::string ChartConfigText(const ChartConfigValues& values);

// The chart pixels per degree at zoom 1 from the view image size:
// PixelsPerDegLat := ChartPixelsPerDegreeLat(cos(ChartHomeLat)), 55 per
// degree of longitude on a 640-pixel-wide image; and the projection's
// longitude scale CosLat := cos(ChartHomeLat).
void SetChartScales();

// Chart pixels per degree of latitude at zoom 1 where the cosine of the
// latitude is `cosLat`: 38 × 0.63 for every 200 pixels of the height of a
// 4:3 image as wide as the view image, divided by `cosLat`. On a screen of
// 4:3 or wider the view image is 4:3 itself; a narrower one (5:4, 1280 ×
// 1024) shows more chart in its extra height instead of stretching it, so
// north-south and east-west (55 per degree per 640 pixels of width) scale
// alike on every screen. Rounded half to even.
int32_t ChartPixelsPerDegreeLat(double cosLat);

// The configuration file of a chart file: "<folder><base name>.cfg".
std::string ChartConfigPath(const std::string& chartPath);
