#include "nav/WaypointFile.h"
#include "nav/ChartWaypoints.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const WaypointNameField kName = "Fairway buoy            13   ";

class WaypointFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ChartsFolder = dir.path() + "/";
    }

    void Add(const WaypointNameField& name, double lat, double lon)
    {
        ++WaypointDbCount;
        WaypointDbNames[WaypointDbCount] = name;
        WaypointDbPoints[WaypointDbCount] = TPosition { lat, lon };
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;
};

TEST_F(WaypointFileTest, LinesOfBothLayoutsColumnByColumn)
{
    EXPECT_EQ(
        WaypointFileLine(kName, { 50.5, 1.25 }), "Fairway buoy            13   N 50.30.00000  W001.15.00000");
    EXPECT_EQ(
        DosWaypointFileLine(kName, { 50.5, 1.25 }), "Fairway buoy            13   N 50.30.00  W001.15.00");
    EXPECT_EQ(WaypointFileLine(kName, { 0, 0 }).substr(29), "N 00.00.00000  W000.00.00000");
    EXPECT_EQ(WaypointFileLine(kName, { -5.1, -1.5 }).substr(29), "S 05.06.00000  E001.30.00000");
    EXPECT_EQ(DosWaypointFileLine(kName, { -5.1, -121.75 }).substr(29), "S 05.06.00  E121.45.00");
    EXPECT_EQ(WaypointFileLine(kName, { 50.5, 1.25 }).size(), 57u);
    EXPECT_EQ(DosWaypointFileLine(kName, { 50.5, 1.25 }).size(), 51u);
    // A short name keeps the columns.
    EXPECT_EQ(WaypointFileLine("Pier", { 1, 1 }),
        std::string("Pier") + std::string(25, ' ') + "N 01.00.00000  W001.00.00000");
}

TEST_F(WaypointFileTest, MinutesRoundingUpToSixtyCarryIntoTheDegrees)
{
    const double lat = 50 + 59.999996 / 60;
    EXPECT_EQ(WaypointFileLine(kName, { lat, 1.99999999 }).substr(29), "N 51.00.00000  W002.00.00000");
    EXPECT_EQ(DosWaypointFileLine(kName, { 50 + 59.996 / 60, 0 }).substr(29), "N 51.00.00  W000.00.00");
}

TEST_F(WaypointFileTest, WrittenFileIsTheLinesWithCrLfAndReadsBack)
{
    Add(kName, 50.5, 1.25);
    Add("Wreck                   14   ", -5.1, -0.75);
    ASSERT_TRUE(WriteWaypointFile(dir.file("harbour.wpt")));
    EXPECT_EQ(dir.read("harbour.wpt"),
        "Fairway buoy            13   N 50.30.00000  W001.15.00000\r\n"
        "Wreck                   14   S 05.06.00000  E000.45.00000\r\n");
    ASSERT_TRUE(WriteDosWaypointFile(dir.file("harbour.wps")));
    EXPECT_EQ(dir.read("harbour.wps"),
        "Fairway buoy            13   N 50.30.00  W001.15.00\r\n"
        "Wreck                   14   S 05.06.00  E000.45.00\r\n");

    WaypointDbCount = 0;
    LoadWaypointDatabase("harbour");
    ASSERT_EQ(WaypointDbCount, 2);
    EXPECT_EQ(WaypointDbNames[1], kName);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lat, 50.5);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lon, 1.25);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[2].lat, -5.1);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[2].lon, -0.75);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(WaypointFileTest, DosFileIsReadWhenTheChartFileIsMissing)
{
    LoadWaypointDatabase("harbour"); // neither file: nothing, and nothing said
    EXPECT_EQ(WaypointDbCount, 0);
    EXPECT_TRUE(ui.shown().empty());
    dir.write("harbour.wps", "Old mark                05   S 10.30.00  E002.15.00\r\nNext");
    LoadWaypointDatabase("harbour");
    ASSERT_EQ(WaypointDbCount, 2);
    EXPECT_EQ(WaypointDbNames[1], "Old mark                05   ");
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lat, -10.5);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lon, -2.25);
    ui.clear();

    // The chart's own file wins when both are there.
    dir.write("Harbour.WPT", "New mark                05   N 01.00.00000  W001.00.00000\r\n");
    WaypointDbCount = 0;
    LoadWaypointDatabase("harbour");
    ASSERT_EQ(WaypointDbCount, 1);
    EXPECT_EQ(WaypointDbNames[1], "New mark                05   ");
}

TEST_F(WaypointFileTest, HemisphereLettersCountOnlyInUpperCase)
{
    dir.write("c.wpt", "lower                   00   s 10.30.00000  e002.15.00000\r\n");
    LoadWaypointDatabase("c");
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lat, 10.5);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lon, 2.25);
}

TEST_F(WaypointFileTest, LoadingAppendsUpToSixHundredEntriesAndSaysWhenSomeAreLeftOut)
{
    std::string text;
    for (int i = 0; i < 700; ++i)
        text += "Mark                    00   N 50.30.00000  W001.15.00000\r\n";
    dir.write("big.wpt", text);
    Add("Held", 1, 1);
    LoadWaypointDatabase("big");
    EXPECT_EQ(WaypointDbCount, 600);
    EXPECT_EQ(WaypointDbNames[1], "Held");
    EXPECT_EQ(WaypointDbNames[600], "Mark                    00   ");
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "message:warning");
    EXPECT_EQ(ui.shown()[0].text, "Waypoint Database Full !");
    EXPECT_EQ(WaypointFileCutPath, dir.file("big.wpt"));

    // Exactly full is no loss.
    ResetNavState();
    ChartsFolder = dir.path() + "/";
    ui.clear();
    dir.write("six.wpt", text.substr(0, 600 * 59));
    LoadWaypointDatabase("six");
    EXPECT_EQ(WaypointDbCount, 600);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(WaypointFileCutPath, "");
}

TEST_F(WaypointFileTest, FileCutShortAtLoadingIsReplacedOnlyWhenTheUserAgrees)
{
    std::string text;
    for (int i = 0; i < 601; ++i)
        text += "Mark                    00   N 50.30.00000  W001.15.00000\r\n";
    dir.write("Big.WPT", text);
    LoadWaypointDatabase("big");
    ASSERT_EQ(WaypointDbCount, 600);
    ui.clear();

    // Another file is written without a question.
    EXPECT_TRUE(WriteWaypointFile(dir.file("other.wpt")));
    EXPECT_TRUE(ui.shown().empty());

    ui.answerNo();
    EXPECT_FALSE(WriteWaypointFile(dir.file("big.wpt")));
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "ask");
    EXPECT_EQ(ui.shown()[0].text,
        "The waypoint file " + dir.file("Big.WPT")
            + " holds 601 waypoints and only 600 are loaded. Overwrite it and lose the rest ?");
    EXPECT_EQ(dir.read("Big.WPT"), text);

    ui.answerYes();
    EXPECT_TRUE(WriteWaypointFile(dir.file("big.wpt")));
    EXPECT_EQ(dir.read("Big.WPT"), text.substr(0, 600 * 59));
    // Asked once: the file now holds what is loaded.
    EXPECT_TRUE(WriteWaypointFile(dir.file("big.wpt")));
    EXPECT_EQ(ui.shown().size(), 2u);
}

TEST_F(WaypointFileTest, UnreadableFieldsReadAsZeroAndAreReportedOnce)
{
    dir.write("bad.wpt",
        "Good                    00   N 50.30.00000  W001.15.00000\r\n"
        "Bad degrees             00   N x0.30.00000  W001.15.00000\r\n"
        "Short\r\n"
        "Bad minutes             00   N 50.30.0?000  W001.15.00000\r\n");
    LoadWaypointDatabase("bad");
    ASSERT_EQ(WaypointDbCount, 4);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[2].lat, 0.5);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[2].lon, 1.25);
    EXPECT_EQ(WaypointDbNames[3], "Short");
    EXPECT_EQ(WaypointDbPoints[3], (TPosition { 0, 0 }));
    EXPECT_DOUBLE_EQ(WaypointDbPoints[4].lat, 50);
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "message:warning");
    EXPECT_EQ(ui.shown()[0].text, "Format errors detected in Waypoint database file!");
}

TEST_F(WaypointFileTest, UnwritableFileIsReportedAndTheDatabaseKept)
{
    Add(kName, 50.5, 1.25);
    EXPECT_FALSE(WriteWaypointFile(dir.file("missing/harbour.wpt")));
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "message:error");
    EXPECT_EQ(ui.shown()[0].text, "Error writing WP database file!");
    EXPECT_EQ(WaypointDbCount, 1);
}

TEST(ChartWaypointsTest, NameFieldIsAlwaysTwentyNineCharacters)
{
    EXPECT_EQ(
        MakeWaypointName("Fairway buoy", "13   Fairway Buoy", "01", false), "Fairway buoy            13   ");
    EXPECT_EQ(
        MakeWaypointName("Danger circle", "20   Circle Radius", "5", true), "Danger circle           2005 ");
    EXPECT_EQ(MakeWaypointName("Label", "23", "", true), "Label                   23   ");
    EXPECT_EQ(
        MakeWaypointName("A description longer than 24", "5", "12", true), "A description longer tha0512 ");
    EXPECT_EQ(MakeWaypointName("", "", "", false), std::string(24, ' ') + "00   ");
}

TEST(ChartWaypointsTest, DescriptionDropsTrailingAtSignsAndBlanksOnly)
{
    EXPECT_EQ(WaypointDescription("Fairway buoy            13   "), "Fairway buoy");
    EXPECT_EQ(WaypointDescription("Old" + std::string(21, '@') + "0500 "), "Old");
    EXPECT_EQ(WaypointDescription("Old @ @@" + std::string(16, ' ') + "0500 "), "Old");
    // An '@' inside the text is part of it.
    EXPECT_EQ(WaypointDescription("Fish@Chips              00   "), "Fish@Chips");
    EXPECT_EQ(WaypointDescription("@Home@@@                00   "), "@Home");
    EXPECT_EQ(WaypointDescription(" Leading kept           00   "), " Leading kept");
}

} // namespace
