#include "nav/KVconfig.h"

#include "nav/ChartConfig.h"
#include "nav/NavState.h"
#include "nav/TextLog.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "rtl/TextFile.h"

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

// A configuration real; 0 when the line does not parse or is not finite.
double RealValue(const std::string& line)
{
    double value = 0.0;
    if (!rtl::ParseReal(line, value) || !std::isfinite(value))
        return 0.0;
    return value;
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
void SetDefaults()
{
    CurrentChartName = "world";
    CurLat = -16.780192674;
    CurLon = -41.779279083;
    ChartScale = 0.03125;
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
    FixIntervalMs = 10000;
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
    LogsFolder = AppFolder + "logs/";
    TowOffsetA = 1.0;
    TowOffsetB = 1.0;
    TowOffsetC = 0.0;
    TowOffsetD = 10.0;
    TowOffsetE = 0.0;
    BrowserPath.clear();
    ChartsFolder = AppFolder + "charts/";
    ComPort = 1;
    BaudRate = 38400;
}

} // namespace

void LoadConfig(const std::string& path)
{
    // The switch lines as read (or their defaults); the switches are set from
    // them after the file is closed.
    std::string colourFlags = "000";
    std::string textLogLine = "Keep";
    std::string drLine;
    std::string outputLine = "AutoON";
    std::string autoChartLine = "AutoCHT";

    rtl::TextReader reader;
    if (reader.open(path)) {
        std::array<std::string, kConfigLines + 1> line; // 1-based; missing lines stay empty
        for (int i = 1; i <= kConfigLines; ++i)
            reader.readLine(line[i]);

        CurrentChartName = line[1].empty() ? "missing or" : line[1];
        CurLat = RealValue(line[2]);
        CurLon = RealValue(line[3]);
        ChartScale = RealValue(line[4]);
        // Line 5, the chart datum offsets, is not read: the chart
        // configuration owns them.
        UtcHourOffset = IntValue<int16_t>(line[6]);
        DistanceFactor = RealValue(line[7]);
        GridDatum = IntValue<int16_t>(line[8]);
        textLogLine = line[9].substr(0, 8);
        // Line 10, the text-log template, is fixed.
        NmeaLogTemplate = kLogTemplate;
        ManualSpeed = RealValue(line[11]);
        RouteName = line[12];
        BackgroundColour = IntValue<int32_t>(line[13]);
        ForegroundColour = IntValue<int32_t>(line[14]);
        ColourFgIndex = IntValue<int16_t>(line[15]);
        ColourBgIndex = IntValue<int16_t>(line[16]);
        ColourScheme = IntValue<int16_t>(line[17]);
        colourFlags = line[18].substr(0, 8);
        NmeaSourceName = line[19];
        NmeaPortKind = line[20];
        NmeaMode = line[21];
        MultiplexerExe = line[22];
        NmeaStartMode = line[23];
        drLine = line[24].substr(0, 8);
        FixIntervalMs = IntValue<int32_t>(line[25]);
        DRSpeedSource = IntValue<int16_t>(line[26]);
        DRCourseSource = IntValue<int16_t>(line[27]);
        AntennaOffsetLat = RealValue(line[28]);
        AntennaOffsetLon = RealValue(line[29]);
        VesselLength = IntValue<uint16_t>(line[30]);
        VesselBeam = RealValue(line[31]);
        CaptureDistance = RealValue(line[32]);
        XteDeadband = RealValue(line[33]);
        UserSentenceTemplate = line[34];
        AverageN = IntValue<int16_t>(line[35]);
        LogsFolder = line[36];
        outputLine = line[37];
        TowOffsetA = RealValue(line[38]);
        TowOffsetB = RealValue(line[39]);
        TowOffsetC = RealValue(line[40]);
        TowOffsetD = RealValue(line[41]);
        TowOffsetE = RealValue(line[42]);
        autoChartLine = line[43];
        BrowserPath = line[44];
        ChartsFolder = line[45];
        ComPort = IntValue<int32_t>(line[46]);
        BaudRate = IntValue<int32_t>(line[47]);

        if (AverageN == 0)
            AverageN = 1;
        GridDisplay = GridDatum > -1;
        OutUser = !UserSentenceTemplate.empty();
        if (LogsFolder.empty())
            LogsFolder = AppFolder + "logs/";
        if (ChartsFolder.empty())
            ChartsFolder = AppFolder + "charts/";
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

void SaveConfigFile(const std::string& path)
{
    const std::string colourFlags = { TextIsFg ? '1' : '0', TrackIsFg ? '1' : '0', TideIsFg ? '1' : '0' };

    rtl::AtomicTextWriter out;
    if (!out.create(path)) {
        platform::MessageError(kCreateError);
        return;
    }
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

    // A failed write or rename leaves the old file in place; say so rather
    // than let the settings vanish silently.
    if (!out.commit())
        platform::MessageError(kCreateError);
}
