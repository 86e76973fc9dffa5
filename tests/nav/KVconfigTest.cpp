#include "nav/KVconfig.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

const char* const kDefaultTemplate = "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y";

std::string CrLf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// A state in which every configured variable differs from its default.
void SetBoatSettings()
{
    CurrentChartName = "harbour";
    ViewCentreLat = 50.8;
    ViewCentreLon = 1.3;
    ViewZoom = 0.25;
    ChartOffsetLat = 0.0001;
    ChartOffsetLon = -0.0002;
    UtcHourOffset = -2;
    DistanceFactor = 1.852;
    GridDatum = 0;
    TextLogOn = true;
    NmeaLogTemplate = "@f,@d";
    ManualSpeed = 6.5;
    RouteName = "solent";
    BackgroundColour = 0x800000;
    ForegroundColour = 0xFFFFFF;
    ColourFgIndex = 12;
    ColourBgIndex = 3;
    ColourScheme = 2;
    TextIsFg = true;
    TrackIsFg = false;
    TideIsFg = true;
    NmeaSourceName = "Mux";
    NmeaPortKind = "NMEA";
    NmeaMode = "GPS";
    MultiplexerExe = "./mux.exe";
    NmeaStartMode = "Manual";
    DRMode = true;
    FixIntervalMs = 2000;
    DRSpeedSource = 1;
    DRCourseSource = 1;
    AntennaOffsetLat = 0.00001;
    AntennaOffsetLon = -0.00002;
    VesselLength = 12;
    VesselBeam = 3.5;
    CaptureDistance = 0.1;
    XteDeadband = 0.05;
    UserSentenceTemplate = "$ECXXX,@a";
    AverageN = 3;
    LogsFolder = "/data/logs/";
    NmeaOutputOn = true;
    TowOffsetA = 2.0;
    TowOffsetB = 1.5;
    TowOffsetC = 0.0;
    TowOffsetD = 25.0;
    TowOffsetE = -4.0;
    AutoLoadChart = false;
    BrowserPath = "";
    ChartsFolder = "/data/charts/";
    ComPort = 3;
    BaudRate = 38400;
}

const std::vector<std::string> kBoatLines = {
    "harbour",
    " 5.08000000000000E+0001",
    " 1.30000000000000E+0000",
    " 2.50000000000000E-0001",
    " 1.00000000000000E-0004-2.00000000000000E-0004",
    "-2",
    " 1.85200000000000E+0000",
    "0",
    "Keep",
    "@f,@d",
    " 6.50000000000000E+0000",
    "solent",
    "8388608",
    "16777215",
    "12",
    "3",
    "2",
    "101",
    "Mux",
    "NMEA",
    "GPS",
    "./mux.exe",
    "Manual",
    "DR",
    "2000",
    "1",
    "1",
    " 1.00000000000000E-0005",
    "-2.00000000000000E-0005",
    "12",
    " 3.50000000000000E+0000",
    " 1.00000000000000E-0001",
    " 5.00000000000000E-0002",
    "$ECXXX,@a",
    "3",
    "/data/logs/",
    "AutoON",
    " 2.00000000000000E+0000",
    " 1.50000000000000E+0000",
    " 0.00000000000000E+0000",
    " 2.50000000000000E+0001",
    "-4.00000000000000E+0000",
    "",
    "",
    "/data/charts/",
    "3",
    "38400",
};

class ConfigFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        AppFolder = dir.path() + "/";
    }

    // The boat's file with some lines replaced (1-based) or cut short.
    std::string WriteConfig(std::vector<std::pair<int, std::string>> changes = {}, std::size_t lineCount = 47)
    {
        std::vector<std::string> lines = kBoatLines;
        for (const auto& [line, text] : changes)
            lines[line - 1] = text;
        lines.resize(lineCount);
        return dir.write("boat.cfg", CrLf(lines));
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;
};

TEST_F(ConfigFile, SaveWritesTheFortySevenLinesByteForByte)
{
    SetBoatSettings();
    SaveConfigFile(dir.file("zudeve.cfg"));
    EXPECT_EQ(dir.read("zudeve.cfg"), CrLf(kBoatLines));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(dir.list(), std::vector<std::string> { "zudeve.cfg" }); // no temporary file left
}

TEST_F(ConfigFile, SaveWritesSwitchesOffAsEmptyLinesAndTextsOnOneLine)
{
    SetBoatSettings();
    TextLogOn = false;
    DRMode = false;
    NmeaOutputOn = false;
    AutoLoadChart = true;
    TextIsFg = TideIsFg = false;
    TrackIsFg = true;
    CurrentChartName = "two\r\nlines"; // a line break would shift every later line
    SaveConfigFile(dir.file("zudeve.cfg"));

    std::vector<std::string> expected = kBoatLines;
    expected[0] = "two  lines";
    expected[8] = "";
    expected[17] = "010";
    expected[23] = "";
    expected[36] = "";
    expected[42] = "AutoCHT";
    EXPECT_EQ(dir.read("zudeve.cfg"), CrLf(expected));
}

TEST_F(ConfigFile, SaveAndLoadRestoreEverySettingButTheListedOnes)
{
    SetBoatSettings();
    const std::string path = dir.file("boat.cfg");
    SaveConfigFile(path);

    ResetNavState();
    ChartOffsetLat = 0.5; // the chart datum offsets keep their values
    ChartOffsetLon = -0.5;
    ui.strictMessages = true;
    LoadConfig(path);

    // The view of lines 2-4 arrives as the working position and zoom.
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_DOUBLE_EQ(CurLon, 1.3);
    EXPECT_DOUBLE_EQ(ChartScale, 0.25);
    EXPECT_EQ(ChartOffsetLat, 0.5);
    EXPECT_EQ(ChartOffsetLon, -0.5);
    EXPECT_EQ(NmeaLogTemplate, kDefaultTemplate);
    EXPECT_EQ(NmeaLogTemplatePrev, kDefaultTemplate);

    // Not written, but derived on loading.
    EXPECT_TRUE(GridDisplay);
    EXPECT_TRUE(OutUser);

    // Every other setting is back: saving what was loaded gives the same
    // file, but for the lines that the load does not carry.
    ViewCentreLat = CurLat;
    ViewCentreLon = CurLon;
    ViewZoom = ChartScale;
    ChartOffsetLat = 0.0001;
    ChartOffsetLon = -0.0002;
    SaveConfigFile(dir.file("again.cfg"));
    std::vector<std::string> expected = kBoatLines;
    expected[9] = kDefaultTemplate;
    EXPECT_EQ(dir.read("again.cfg"), CrLf(expected));
}

TEST_F(ConfigFile, MissingFileGivesTheDefaults)
{
    SetBoatSettings();
    OutUser = true;
    ChartHomeLat = 60.0; // a chart's
    ViewImageHeight = 768;
    ViewImageWidth = 1024;
    ui.strictMessages = true;
    LoadConfig(dir.file("nothing.cfg"));

    // The folders lie beside the program; a missing file gives 38400 baud.
    EXPECT_EQ(CurrentChartName, "world");
    EXPECT_DOUBLE_EQ(CurLat, -16.780192674);
    EXPECT_FALSE(GridDisplay);
    EXPECT_EQ(NmeaLogTemplatePrev, kDefaultTemplate);
    EXPECT_EQ(LogsFolder, AppFolder + "logs/");
    EXPECT_EQ(ChartsFolder, AppFolder + "charts/");
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 38400);
    // Kept as they were.
    EXPECT_EQ(BackgroundColour, 0x800000);
    EXPECT_EQ(ForegroundColour, 0xFFFFFF);
    EXPECT_TRUE(OutUser);
    // Computed in every case: cos 60° = 0.5; 768/200 × 38 × 0.63 / 0.5 =
    // 183.86; 1024/640 × 55 = 88.
    EXPECT_NEAR(CosLat, 0.5, 1e-15);
    EXPECT_EQ(PixelsPerDegLat, 184);
    EXPECT_EQ(PixelsPerDegLon, 88);
    // The projection keeps the chart's home latitude, not the configured
    // position's.
    LoadConfig(dir.file("nothing.cfg"));
    EXPECT_NEAR(CosLat, 0.5, 1e-15);

    // A folder in place of the file reads the same way.
    CurrentChartName = "other";
    LoadConfig(dir.path());
    EXPECT_EQ(CurrentChartName, "world");
}

TEST_F(ConfigFile, ShortFileReadsItsLinesAndTheRestAsZeroOrEmpty)
{
    ui.strictMessages = true;
    LoadConfig(WriteConfig({}, 12));
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_DOUBLE_EQ(ManualSpeed, 6.5);
    EXPECT_EQ(RouteName, "solent");
    EXPECT_EQ(BackgroundColour, 0);
    EXPECT_EQ(NmeaSourceName.str(), "");
    EXPECT_FALSE(NmeaOutputOn);
    EXPECT_FALSE(AutoLoadChart);
    EXPECT_EQ(AverageN, 1);
    EXPECT_EQ(LogsFolder, AppFolder + "logs/");
    EXPECT_EQ(ChartsFolder, AppFolder + "charts/");
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 4800);

    // Without its port and baud lines a file gives port 1 at 4800 baud, not
    // the 38400 of the missing file.
    LoadConfig(WriteConfig({}, 45));
    EXPECT_EQ(ChartsFolder, "/data/charts/");
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 4800);

    // Either line at 0 falls back for both.
    LoadConfig(WriteConfig({ { 47, "0" } }));
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 4800);

    LoadConfig(dir.write("empty.cfg", ""));
    EXPECT_EQ(CurrentChartName, "missing or");
    EXPECT_EQ(CurLat, 0.0);
}

// Each row puts one text in one line of the boat's file; the line must read
// as what its setting can hold and be written back so, every other line
// read as it stands.
TEST_F(ConfigFile, EachLineReadsAsWhatItsSettingCanHoldAndIsWrittenBackSo)
{
    const std::string one = rtl::RealText(1.0), zero = rtl::RealText(0.0);
    struct Row {
        int line;
        const char* text; // in the file
        std::string written; // what is written back
    };
    const Row rows[] = {
        // Unreadable numbers read as 0 where their setting holds 0.
        { 2, "fifty", zero },
        { 6, "12x", "0" },
        { 30, "70000", "0" }, // beyond the 16-bit vessel length
        { 35, "-", "1" }, // 0 fixes averaged is 1
        // Values a setting cannot hold read as its default.
        { 2, "1e308", rtl::RealText(-16.780192674) },
        { 3, "-181", rtl::RealText(-41.779279083) },
        { 6, "25", "0" },
        { 8, "9", "-1" },
        { 15, "16", "15" },
        { 17, "5", "0" }, // five colour schemes
        { 32, "-0.2", rtl::RealText(0.2) },
        { 35, "-3", "1" },
        { 41, "1e300", rtl::RealText(10.0) },
        { 46, "-7", "1" },
        { 47, "-2147483648", "38400" },
        // Colours out of range keep the colour in force.
        { 13, "99999999999", "255" },
        { 14, "16777216", "65280" },
        // A zoom must be positive.
        { 4, "-0.5", rtl::RealText(0.03125) },
        { 4, "0", rtl::RealText(0.03125) },
        { 4, "close", rtl::RealText(0.03125) },
        { 4, "1e-3", rtl::RealText(0.001) },
        // The distance unit is one of three; anything else is nautical miles.
        { 7, "1,852", one },
        { 7, "0", one },
        { 7, "", one },
        { 7, "-1.852", one },
        { 7, "1.5", one },
        { 7, "1e999", one },
        { 7, "1.852", rtl::RealText(1.852) },
        { 7, " 1.15081000000000E+0000", rtl::RealText(1.15081) },
        // A hull speed that cannot be read is the default 10 knots, not 0.
        { 11, "abc", rtl::RealText(10.0) },
        { 11, "", rtl::RealText(10.0) },
        { 11, "1E999", rtl::RealText(10.0) }, // beyond a double
        { 11, "0", zero },
        // A fix interval is a number of milliseconds, at least one second.
        { 25, "2.5", "10000" },
        { 25, "0", "10000" },
        { 25, "", "10000" },
        { 25, "-1000", "10000" },
        { 25, "999", "10000" }, // shorter than the shortest fix interval
        { 25, "1000", "1000" },
        // Values at the limits are kept.
        { 2, "-90", rtl::RealText(-90.0) },
        { 3, "180", rtl::RealText(180.0) },
        { 14, "16777215", "16777215" },
        { 17, "4", "4" },
        { 46, "255", "255" },
        { 47, "4000000", "4000000" },
    };
    ui.strictMessages = true;
    for (const Row& row : rows) {
        BackgroundColour = 0x0000FF;
        ForegroundColour = 0x00FF00;
        LoadConfig(WriteConfig({ { row.line, row.text } }));
        ViewCentreLat = CurLat;
        ViewCentreLon = CurLon;
        ViewZoom = ChartScale;
        ChartOffsetLat = 0.0001;
        ChartOffsetLon = -0.0002;
        std::vector<std::string> expected = kBoatLines;
        expected[9] = kDefaultTemplate;
        expected[static_cast<std::size_t>(row.line - 1)] = row.written;
        EXPECT_EQ(ConfigText(), CrLf(expected)) << "line " << row.line << " \"" << row.text << "\"";
    }
}

TEST_F(ConfigFile, CrOnlyLineEndsReadByThoseLineEnds)
{
    ui.strictMessages = true;
    std::string text;
    for (const auto& line : kBoatLines)
        text += line + "\r";
    LoadConfig(dir.write("mac.cfg", text));
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_EQ(RouteName, "solent");
    EXPECT_EQ(ChartsFolder, "/data/charts/");
    EXPECT_EQ(BaudRate, 38400);
    // In a file that has line feeds, a lone CR stays inside its line.
    LoadConfig(WriteConfig({ { 12, "sol\rent" } }));
    EXPECT_EQ(RouteName, "sol\rent");
}

TEST_F(ConfigFile, SwitchWordsMatchTheWholeLineExactly)
{
    ui.strictMessages = true;
    LoadConfig(WriteConfig({ { 9, "keep" }, { 37, "AutoON " }, { 43, "AutoCHT" }, { 18, "1x1" } }));
    EXPECT_FALSE(TextLogOn);
    EXPECT_FALSE(NmeaOutputOn);
    EXPECT_TRUE(AutoLoadChart);
    EXPECT_TRUE(TextIsFg);
    EXPECT_FALSE(TrackIsFg);
    EXPECT_TRUE(TideIsFg);

    // Dead reckoning is never switched on together with the automatic start.
    LoadConfig(WriteConfig({ { 23, "Auto" }, { 24, "DR" } }));
    EXPECT_FALSE(DRMode);
    LoadConfig(WriteConfig({ { 23, "Manual" }, { 24, "DR" } }));
    EXPECT_TRUE(DRMode);
    LoadConfig(WriteConfig({ { 23, "Manual" }, { 24, "dr" } }));
    EXPECT_FALSE(DRMode);

    // "8" is a UTM ellipsoid, so the grid readout goes on; -1 is lat/long.
    LoadConfig(WriteConfig({ { 8, "8" } }));
    EXPECT_TRUE(GridDisplay);
    LoadConfig(WriteConfig({ { 8, "-1" } }));
    EXPECT_FALSE(GridDisplay);
}

TEST_F(ConfigFile, TextsKeepTheirCapacityButFoldersAreNotCut)
{
    const std::string longName(40, 'n');
    const std::string longFolder = "/" + std::string(120, 'f') + "/";
    LoadConfig(WriteConfig({ { 19, longName }, { 23, "Manual and more text beyond 33 chars" },
        { 36, longFolder }, { 45, longFolder } }));
    EXPECT_EQ(NmeaSourceName.str(), std::string(33, 'n'));
    EXPECT_EQ(NmeaStartMode.str(), "Manual and more text beyond 33 ch");
    EXPECT_EQ(LogsFolder, longFolder);
    EXPECT_EQ(ChartsFolder, longFolder);
    EXPECT_EQ(CurrentChartName, "harbour"); // lines after long ones still in place
    EXPECT_EQ(ComPort, 3);
}

TEST_F(ConfigFile, PixelScalesRoundHalfToEvenAndSurviveAPolarHomeLatitude)
{
    // 192 / 640 × 55 = 16.5, which rounds to the even 16.
    ViewImageWidth = 192;
    ViewImageHeight = 600;
    LoadConfig(dir.file("nothing.cfg"));
    EXPECT_EQ(PixelsPerDegLon, 16);

    ChartHomeLat = 90.0; // cosine next to 0: the scale is clamped, not undefined
    LoadConfig(dir.file("nothing.cfg"));
    EXPECT_GT(PixelsPerDegLat, 1000000);
}

TEST_F(ConfigFile, FailedWriteKeepsTheOldFileAndSaysSo)
{
    SetBoatSettings();

    // A folder that does not exist.
    SaveConfigFile(dir.file("gone/zudeve.cfg"));
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Error creating config file !" });
    EXPECT_FALSE(dir.exists("gone"));

    // The new file cannot be created beside the old one: a name at the
    // length limit leaves no room for the temporary file's name.
    const std::string name = std::string(246, 'c') + ".cfg";
    dir.write(name, "old settings\r\n");
    ui.clear();
    SaveConfigFile(dir.file(name));
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Error creating config file !" });
    EXPECT_EQ(dir.read(name), "old settings\r\n");

    // The file cannot be replaced (a folder stands in its place).
    dir.makeFolder("taken.cfg");
    ui.clear();
    SaveConfigFile(dir.file("taken.cfg"));
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Error creating config file !" });
    EXPECT_EQ(dir.list(), (std::vector<std::string> { name, "taken.cfg" }));
}

// The shipped demo folder's configuration is exactly what SaveConfigFile
// writes for it, so the program rewrites it unchanged at exit.
TEST_F(ConfigFile, DemoConfigurationSavesBackByteForByte)
{
    const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/zudeve.cfg";
    AppFolder = std::string(KV_SOURCE_DIR) + "/demo/";
    ui.strictMessages = true;
    LoadConfig(demo);
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_EQ(NmeaStartMode.str(), "Manual");
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_DOUBLE_EQ(CurLon, 1.3); // west
    EXPECT_EQ(ChartsFolder, AppFolder + "charts/"); // empty folder lines: beside the configuration
    EXPECT_EQ(LogsFolder, AppFolder + "logs/");
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 4800);

    ViewCentreLat = CurLat;
    ViewCentreLon = CurLon;
    ViewZoom = ChartScale;
    LogsFolder.clear();
    ChartsFolder.clear();
    SaveConfigFile(dir.file("zudeve.cfg"));
    EXPECT_EQ(dir.read("zudeve.cfg"), kvtest::ReadBytes(demo));
}

} // namespace
