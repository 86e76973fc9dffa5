#include "nav/KVconfig.h"

#include "nav/ChartConfig.h"
#include "nav/NavState.h"
#include "nav/TextLog.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace
{

constexpr int kConfigLines = 47;
constexpr const char* kLogTemplate = "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y";
constexpr const char* kCreateError = "Error creating config file !";

// A configuration integer; 0 when the line does not parse or the value does
// not fit the variable (a 16-bit field given 70000 must not wrap).
template <typename Int> Int IntValue(const std::string& line)
{
    int64_t value = 0;
    if (!rtl::ParseInt(line, value) || value < std::numeric_limits<Int>::min()
        || value > std::numeric_limits<Int>::max())
        return 0;
    return static_cast<Int>(value);
}

// A setting with a range: `fallback` (the setting's default) when the value
// lies outside lo..hi, which its setting cannot hold. A line that does not
// parse reads as 0, and so as the default where 0 lies outside the range (a
// fix interval or a zoom of 0 makes no sense); what the writer writes back
// then reads the same again.
int64_t IntSetting(const std::string& line, int64_t lo, int64_t hi, int64_t fallback)
{
    int64_t value = 0;
    if (!rtl::ParseInt(line, value))
        value = 0;
    return value < lo || value > hi ? fallback : value;
}

double RealSetting(const std::string& line, double lo, double hi, double fallback)
{
    double value = 0.0;
    if (!rtl::ParseReal(line, value))
        value = 0.0;
    return std::isfinite(value) && value >= lo && value <= hi ? value : fallback;
}

// A setting whose 0 is a value of its own: a line that does not read as a
// number is not that 0 but the default.
double ReadRealSetting(const std::string& line, double lo, double hi, double fallback)
{
    double value = 0.0;
    return rtl::ParseReal(line, value) ? RealSetting(line, lo, hi, fallback) : fallback;
}

// The smallest zoom a view can be given: any positive value.
constexpr double kLeastPositive = std::numeric_limits<double>::min();

// The distance unit factor is one of the three units: nautical miles (1.0),
// kilometres (1.852) or statute miles (1.15081). Anything else, an
// unreadable line ("1,852") or 0 among it, reads as nautical miles: every
// range and cross-track error is divided by it.
double UnitFactorSetting(const std::string& line)
{
    double value = 0.0;
    if (!rtl::ParseReal(line, value))
        return 1.0;
    for (const double unit : { 1.0, 1.852, 1.15081 })
        if (std::abs(value - unit) <= 1e-9)
            return unit;
    return 1.0;
}

// A text field is one line of the file: a line break inside it would shift
// every line after it, so each CR or LF is written as a blank (a text never
// turns empty on the way, which would read back as something else).
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string Marker(bool on, const char* word)
{
    return on ? word : "";
}

// The values used when the file cannot be opened. Chart colours and the
// user-sentence switch keep their values.
constexpr double kDefaultLat = -16.780192674;
constexpr double kDefaultLon = -41.779279083;
constexpr double kDefaultZoom = 0.03125;
constexpr int32_t kDefaultFixIntervalMs = 10000;
constexpr int32_t kDefaultBaud = 38400;

void SetDefaults()
{
    CurrentChartName = "world";
    CurLat = kDefaultLat;
    CurLon = kDefaultLon;
    ChartScale = kDefaultZoom;
    ChartOffsetLat = 0.0;
    ChartOffsetLon = 0.0;
    UtcHourOffset = 0;
    DistanceFactor = 1.0;
    GridDatum = -1;
    GridDisplay = false;
    NmeaLogTemplate = kLogTemplate;
    ManualSpeed = 10.0;
    RouteName.clear();
    ColourFgIndex = 15;
    ColourBgIndex = 4;
    ColourScheme = 0;
    NmeaSourceName = "Linkmux3";
    NmeaPortKind = "NMEA";
    NmeaMode = "COMBINED";
    MultiplexerExe = "./Linkmux3.exe";
    NmeaStartMode = "Manual";
    FixIntervalMs = kDefaultFixIntervalMs;
    DRSpeedSource = 0;
    DRCourseSource = 0;
    AntennaOffsetLat = 0.0;
    AntennaOffsetLon = 0.0;
    VesselLength = 0;
    VesselBeam = 0.0;
    CaptureDistance = 0.2;
    XteDeadband = 0.05;
    UserSentenceTemplate.clear();
    AverageN = 1;
    LogsFolder = AppFile("logs/");
    TowOffsetA = 1.0;
    TowOffsetB = 1.0;
    TowOffsetC = 0.0;
    TowOffsetD = 10.0;
    TowOffsetE = 0.0;
    BrowserPath.clear();
    ChartsFolder = AppFile("charts/");
    ComPort = 1;
    BaudRate = kDefaultBaud;
}

} // namespace

void LoadConfig(const std::string& path)
{
    LoadConfigText(rtl::ReadFileBytes(path));
    // Files written on the original platform name folders and programs with
    // '\' (".\logs\").
    LogsFolder = rtl::SlashPath(LogsFolder);
    ChartsFolder = rtl::SlashPath(ChartsFolder);
    MultiplexerExe = rtl::SlashPath(MultiplexerExe);
    BrowserPath = rtl::SlashPath(BrowserPath);
}

void LoadConfigText(std::optional<std::string> bytes)
{
    // The switch lines as read (or their defaults); the switches are set from
    // them after the file is closed.
    std::string colourFlags = "000";
    std::string textLogLine = "Keep";
    std::string drLine;
    std::string outputLine = "AutoON";
    std::string autoChartLine = "AutoCHT";

    // A file written with CR-only line ends (no LF anywhere) reads by them.
    if (bytes && bytes->find('\n') == std::string::npos)
        std::replace(bytes->begin(), bytes->end(), '\r', '\n');
    if (bytes) {
        rtl::TextReader reader(std::move(*bytes));
        std::array<std::string, kConfigLines + 1> line; // 1-based; missing lines stay empty
        for (int i = 1; i <= kConfigLines; ++i)
            reader.readLine(line[i]);

        CurrentChartName = line[1].empty() ? "missing or" : line[1];
        CurLat = RealSetting(line[2], -90, 90, kDefaultLat);
        CurLon = RealSetting(line[3], -180, 180, kDefaultLon);
        ChartScale = RealSetting(line[4], kLeastPositive, 36000, kDefaultZoom);
        // Line 5, the chart datum offsets, is not read: the chart
        // configuration owns them.
        UtcHourOffset = static_cast<int16_t>(IntSetting(line[6], -24, 24, 0));
        DistanceFactor = UnitFactorSetting(line[7]);
        GridDatum = static_cast<int16_t>(IntSetting(line[8], -1, 8, -1));
        textLogLine = line[9].substr(0, 8);
        // Line 10, the text-log template, is fixed.
        NmeaLogTemplate = kLogTemplate;
        ManualSpeed = ReadRealSetting(line[11], 0, 100, 10.0);
        RouteName = line[12];
        BackgroundColour = static_cast<int32_t>(IntSetting(line[13], 0, 0xFFFFFF, BackgroundColour));
        ForegroundColour = static_cast<int32_t>(IntSetting(line[14], 0, 0xFFFFFF, ForegroundColour));
        ColourFgIndex = static_cast<int16_t>(IntSetting(line[15], 0, 15, 15));
        ColourBgIndex = static_cast<int16_t>(IntSetting(line[16], 0, 15, 4));
        ColourScheme = static_cast<int16_t>(IntSetting(line[17], 0, 4, 0));
        colourFlags = line[18].substr(0, 8);
        NmeaSourceName = line[19];
        NmeaPortKind = line[20];
        NmeaMode = line[21];
        MultiplexerExe = line[22];
        NmeaStartMode = line[23];
        drLine = line[24].substr(0, 8);
        FixIntervalMs = static_cast<int32_t>(
            IntSetting(line[25], kShortestFixIntervalMs, 86400000, kDefaultFixIntervalMs));
        DRSpeedSource = IntValue<int16_t>(line[26]);
        DRCourseSource = IntValue<int16_t>(line[27]);
        AntennaOffsetLat = RealSetting(line[28], -90, 90, 0.0);
        AntennaOffsetLon = RealSetting(line[29], -180, 180, 0.0);
        VesselLength = IntValue<uint16_t>(line[30]);
        VesselBeam = RealSetting(line[31], 0, 1000, 0.0);
        CaptureDistance = RealSetting(line[32], 0, 1000, 0.2);
        XteDeadband = RealSetting(line[33], 0, 1000, 0.05);
        UserSentenceTemplate = line[34];
        AverageN = static_cast<int16_t>(IntSetting(line[35], 0, 1000, 1));
        LogsFolder = line[36];
        outputLine = line[37];
        TowOffsetA = RealSetting(line[38], -1e4, 1e4, 1.0);
        TowOffsetB = RealSetting(line[39], -1e4, 1e4, 1.0);
        TowOffsetC = RealSetting(line[40], -1e4, 1e4, 0.0);
        TowOffsetD = RealSetting(line[41], -1e4, 1e4, 10.0);
        TowOffsetE = RealSetting(line[42], -1e4, 1e4, 0.0);
        autoChartLine = line[43];
        BrowserPath = line[44];
        ChartsFolder = line[45];
        ComPort = static_cast<int32_t>(IntSetting(line[46], 0, 255, 1));
        BaudRate = static_cast<int32_t>(IntSetting(line[47], 0, 4000000, kDefaultBaud));

        if (AverageN == 0)
            AverageN = 1;
        GridDisplay = GridDatum > -1;
        OutUser = !UserSentenceTemplate.empty();
        if (LogsFolder.empty())
            LogsFolder = AppFile("logs/");
        if (ChartsFolder.empty())
            ChartsFolder = AppFile("charts/");
        // A missing or zero port or baud line gives port 1 at 4800 baud, the
        // NMEA 0183 rate.
        if (ComPort == 0 || BaudRate == 0) {
            ComPort = 1;
            BaudRate = 4800;
        }
    } else {
        SetDefaults();
    }

    NmeaLogTemplatePrev = NmeaLogTemplate;
    SetChartScales();
    TextIsFg = colourFlags.size() > 0 && colourFlags[0] == '1';
    TrackIsFg = colourFlags.size() > 1 && colourFlags[1] == '1';
    TideIsFg = colourFlags.size() > 2 && colourFlags[2] == '1';
    // Switch words match the whole line, case and blanks included.
    TextLogOn = textLogLine == "Keep";
    DRMode = drLine == "DR" && NmeaStartMode.str() != "Auto";
    NmeaOutputOn = outputLine == "AutoON";
    AutoLoadChart = autoChartLine == "AutoCHT";
}

std::string ConfigText()
{
    const std::string colourFlags = { TextIsFg ? '1' : '0', TrackIsFg ? '1' : '0', TideIsFg ? '1' : '0' };

    struct {
        std::string bytes;
        void writeLine(std::string_view line)
        {
            bytes += line;
            bytes += "\r\n";
        }
    } out;
    auto text = [&](const std::string& value) { out.writeLine(OneLine(value)); };
    auto real = [&](double value) { out.writeLine(rtl::RealText(value)); };
    auto integer = [&](int64_t value) { out.writeLine(rtl::StrInt(value)); };

    text(CurrentChartName); // 1
    real(ViewCentreLat);
    real(ViewCentreLon);
    real(ViewZoom);
    out.writeLine(rtl::RealText(ChartOffsetLat) + rtl::RealText(ChartOffsetLon)); // 5
    integer(UtcHourOffset);
    real(DistanceFactor);
    integer(GridDatum);
    out.writeLine(Marker(TextLogSetting(), "Keep"));
    text(NmeaLogTemplate); // 10
    real(ManualSpeed);
    text(RouteName);
    integer(BackgroundColour);
    integer(ForegroundColour);
    integer(ColourFgIndex); // 15
    integer(ColourBgIndex);
    integer(ColourScheme);
    out.writeLine(colourFlags);
    text(NmeaSourceName);
    text(NmeaPortKind); // 20
    text(NmeaMode);
    text(MultiplexerExe);
    text(NmeaStartMode);
    out.writeLine(Marker(DRMode, "DR"));
    integer(FixIntervalMs); // 25
    integer(DRSpeedSource);
    integer(DRCourseSource);
    real(AntennaOffsetLat);
    real(AntennaOffsetLon);
    integer(VesselLength); // 30
    real(VesselBeam);
    real(CaptureDistance);
    real(XteDeadband);
    text(UserSentenceTemplate);
    integer(AverageN); // 35
    text(LogsFolder);
    out.writeLine(Marker(NmeaOutputOn, "AutoON"));
    real(TowOffsetA);
    real(TowOffsetB);
    real(TowOffsetC); // 40
    real(TowOffsetD);
    real(TowOffsetE);
    out.writeLine(Marker(AutoLoadChart, "AutoCHT"));
    text(BrowserPath);
    text(ChartsFolder); // 45
    integer(ComPort);
    integer(BaudRate);
    return std::move(out.bytes);
}

bool SaveConfigFile(const std::string& path)
{
    // A failed write or rename leaves the old file in place; say so rather
    // than let the settings vanish silently.
    if (rtl::WriteFileAtomic(path, ConfigText()))
        return true;
    platform::MessageError(kCreateError);
    return false;
}
