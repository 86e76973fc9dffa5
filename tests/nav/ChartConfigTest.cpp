#include "nav/ChartConfig.h"
#include "nav/FileNameParts.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

// The base name names a chart's companion files, a configuration and a log:
// the name up to its last '.'. A '\' typed or configured is a folder
// separator.
TEST(FileNamePartsTest, SplitsFolderBaseNameAndExtensionAtTheLastDot)
{
    struct Case {
        const char* path;
        const char* folder;
        const char* base;
        const char* extension;
    };
    const Case cases[] = {
        { "/data/charts/harbour.cht", "/data/charts/", "harbour", "cht" },
        { "charts/harbour.003", "charts/", "harbour", "003" },
        { "charts/harbour.new.cht", "charts/", "harbour.new", "cht" },
        { "charts/a.b.000", "charts/", "a.b", "000" },
        { "charts.d/readme", "charts.d/", "readme", "" },
        // A bare name has no folder, and its name starts at its first character.
        { "boat.cfg", "", "boat", "cfg" },
        { "./boat2.cfg", "./", "boat2", "cfg" },
        { "logs/07-12-26.AIS", "logs/", "07-12-26", "AIS" },
        { ".\\charts\\bs.cht", "./charts/", "bs", "cht" },
        { "C:\\KV\\logs\\trip.day2.txt", "C:/KV/logs/", "trip.day2", "txt" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFileDir(c.path), c.folder);
        EXPECT_EQ(ExtractFileBaseName(c.path), c.base);
        EXPECT_EQ(ExtractFileExtension(c.path), c.extension);
        EXPECT_EQ(ChartConfigPath(c.path), std::string(c.folder) + c.base + ".cfg");
    }
}

class ChartConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ViewImageHeight = 768;
        ViewImageWidth = 1024;
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;
};

TEST_F(ChartConfigTest, SaveWritesSixLinesFromTheLastView)
{
    ViewCentreLat = 50.8;
    ViewCentreLon = 1.3;
    ViewZoom = 64;
    ChartKind = -3;
    ChartOffsetLat = 0.0001;
    ChartOffsetLon = -0.00025;
    CurLat = 10; // the working position is not what is saved
    EXPECT_TRUE(SaveChartConfig(dir.file("harbour.cht")));
    EXPECT_EQ(dir.read("harbour.cfg"),
        " 5.08000000000000E+0001\r\n"
        " 1.30000000000000E+0000\r\n"
        " 6.40000000000000E+0001\r\n"
        "-3\r\n"
        " 1.00000000000000E-0004\r\n"
        "-2.50000000000000E-0004\r\n");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ChartConfigTest, LoadSetsHomeAndLastViewAndTheProjectionScales)
{
    dir.write("Harbour.CFG", " 5.08E+0001\r\n1.3\r\n64\r\n7\r\n0.0001\r\n-0.00025\r\n");
    EXPECT_TRUE(LoadChartConfig(dir.file("harbour.cht")));
    EXPECT_EQ(CurLat, 50.8);
    EXPECT_EQ(CurLon, 1.3);
    EXPECT_EQ(ChartScale, 64);
    EXPECT_EQ(ChartKind, 7);
    EXPECT_EQ(ChartOffsetLat, 0.0001);
    EXPECT_EQ(ChartOffsetLon, -0.00025);
    EXPECT_EQ(ChartHomeLat, 50.8);
    EXPECT_EQ(ChartHomeLon, 1.3);
    EXPECT_EQ(ChartHomeZoom, 64);
    EXPECT_EQ(ViewCentreLat, 50.8);
    EXPECT_EQ(ViewCentreLon, 1.3);
    EXPECT_EQ(ViewZoom, 64);
    EXPECT_DOUBLE_EQ(CosLat, std::cos(50.8 * M_PI / 180));
    EXPECT_EQ(PixelsPerDegLat, 145); // 768 / 200 × 38 × 0.63 / cos 50.8° = 145.08
    EXPECT_EQ(PixelsPerDegLon, 88); // 1024 / 640 × 55
}

TEST_F(ChartConfigTest, FourLineFileKeepsTheDatumOffsets)
{
    ChartOffsetLat = 0.5;
    ChartOffsetLon = -0.5;
    dir.write("old.cfg", "10\r\n20\r\n2\r\n1\r\n");
    EXPECT_TRUE(LoadChartConfig(dir.file("old.cht")));
    EXPECT_EQ(ChartScale, 2);
    EXPECT_EQ(ChartOffsetLat, 0.5);
    EXPECT_EQ(ChartOffsetLon, -0.5);
}

// A missing file and a file whose view cannot be projected (a zoom of 0
// divides by zero, a pole has no longitude scale) give the same defaults.
TEST_F(ChartConfigTest, MissingOrUnusableFileGivesTheDefaultViewAndFalse)
{
    const char* unusable[] = {
        "50\r\n1\r\n0\r\n0\r\n",
        "50\r\n1\r\n-2\r\n0\r\n",
        "50\r\n1\r\nwide\r\n0\r\n",
        "90\r\n1\r\n1\r\n0\r\n",
        "-90\r\n1\r\n1\r\n0\r\n",
        "50\r\n",
        "",
    };
    for (const char* text : unusable) {
        dir.write("bad.cfg", text);
        ChartKind = 9;
        ChartOffsetLat = 0.5;
        ViewZoom = 3;
        EXPECT_FALSE(LoadChartConfig(dir.file("bad.cht"))) << text;
        EXPECT_EQ(CurLat, 0);
        EXPECT_EQ(CurLon, 0);
        EXPECT_EQ(ChartScale, 0.04);
        EXPECT_EQ(ChartHomeZoom, 0.04);
        EXPECT_EQ(ChartKind, 0);
        EXPECT_EQ(ChartOffsetLat, 0);
        EXPECT_EQ(ViewZoom, 3); // the last view is left alone
        EXPECT_EQ(CosLat, 1.0);
        EXPECT_EQ(PixelsPerDegLat, 92); // 768 / 200 × 38 × 0.63
    }
    EXPECT_FALSE(LoadChartConfig(dir.file("none.cht")));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ChartConfigTest, UnwritableFileIsReportedAsAWarning)
{
    EXPECT_FALSE(SaveChartConfig(dir.file("no-such-folder/harbour.cht")));
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "message:warning");
    EXPECT_EQ(ui.shown()[0].text, "Error Writing Chart Config File");
}

} // namespace
