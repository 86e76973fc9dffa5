#include "nav/ChartList.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include "rtl/Numbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class ChartListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ChartsFolder = dir.path() + "/";
        CosLat = 1.0;
    }

    void WriteChart(const std::string& file, double lat, double lon, double zoom = 1)
    {
        dir.write(file,
            rtl::RealText(lat) + "\r\n" + rtl::RealText(lon) + "\r\n" + rtl::RealText(zoom) + "\r\n0\r\n");
    }

    std::string Nearest()
    {
        rtl::ShortString<40> name;
        ListChartsOrFindNearest(ChartSearchMode::Nearest, name);
        return name.str();
    }

    void List()
    {
        rtl::ShortString<40> unused = "untouched";
        ListChartsOrFindNearest(ChartSearchMode::List, unused);
        EXPECT_EQ(unused, "untouched");
    }

    kvtest::TempDir dir;
};

TEST_F(ChartListTest, ListsConfigurationsInNameOrderWithoutThePortfolio)
{
    WriteChart("solent.cfg", 50.75, 1.25, 8);
    WriteChart("PORTFOLIO.CFG", 50, 1);
    WriteChart("harbour.CFG", 50.8, 1.3, 64);
    WriteChart("Alderney.cfg", 49.72, 2.2, 16);
    dir.write("harbour.cht", "");
    dir.write("notes.txt", "");
    List();
    ASSERT_EQ(ChartListCount, 3);
    EXPECT_EQ(ChartList[1], "Alderney.cfg");
    EXPECT_EQ(ChartList[2], "harbour.CFG");
    EXPECT_EQ(ChartList[3], "solent.cfg");
    EXPECT_EQ(ChartListCentres[2].lat, 50.8);
    EXPECT_EQ(ChartListCentres[2].lon, 1.3);
    EXPECT_EQ(ChartListCentres[2].zoom, 64);
    EXPECT_EQ(ChartListCentres[1].zoom, 16);
}

TEST_F(ChartListTest, PortfolioIsSkippedWhateverItsCase)
{
    for (const char* name : { "portfolio.cfg", "Portfolio.Cfg" }) {
        kvtest::TempDir other;
        ChartsFolder = other.path() + "/";
        other.write(name, "0\r\n0\r\n1\r\n0\r\n");
        other.write("a.cfg", "0\r\n0\r\n1\r\n0\r\n");
        List();
        ASSERT_EQ(ChartListCount, 1) << name;
        EXPECT_EQ(ChartList[1], "a.cfg");
    }
}

TEST_F(ChartListTest, ListHoldsAtMostOneHundredChartsAndSaysOnceThatTheRestAreLeftOut)
{
    platform::ScriptedUi ui;
    dir.write("PORTFOLIO.cfg", "");
    for (int i = 0; i < 100; ++i)
        dir.write("c" + rtl::ZeroFilledInt(i, 3) + ".cfg", "1\r\n2\r\n3\r\n0\r\n");
    List();
    EXPECT_EQ(ChartListCount, 100);
    EXPECT_TRUE(ui.messages().empty()) << "a full list leaves nothing out";

    dir.write("c100.cfg", "");
    dir.write("c101.cfg", "");
    List();
    EXPECT_EQ(ChartListCount, 100);
    EXPECT_EQ(ChartList[100], "c099.cfg");
    const std::vector<std::string> said = { "More than 100 charts in " + ChartsFolder
        + ": the last 2 are not considered for automatic chart loading" };
    EXPECT_EQ(ui.messages(), said);
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "message:warning");

    List(); // a rescan of the same folder
    EXPECT_EQ(ui.messages(), said);
}

TEST_F(ChartListTest, EmptyOrMissingFolderListsNothingAndTheCurrentChartStays)
{
    ChartListCount = 5;
    List();
    EXPECT_EQ(ChartListCount, 0);
    ChartsFolder = dir.file("nowhere/");
    List();
    EXPECT_EQ(ChartListCount, 0);
    CurrentChartName = "harbour";
    EXPECT_EQ(Nearest(), "harbour");
}

TEST_F(ChartListTest, NearestListedChartWinsOverTheCurrentOneAndTiesGoToTheLater)
{
    WriteChart("east.cfg", 50, 1);
    WriteChart("west.cfg", 50, 3);
    List();
    CurrentChartName = "home";
    ChartHomeLat = 52;
    ChartHomeLon = 2;
    CurLat = 50.1;
    CurLon = 2.8;
    EXPECT_EQ(Nearest(), "west");
    CurLon = 1.1;
    EXPECT_EQ(Nearest(), "east");
    // Nearer to the current chart's home than to any listed chart.
    CurLat = 51.9;
    CurLon = 2;
    EXPECT_EQ(Nearest(), "home");

    // Ties go to the later chart and beat the current one.
    ChartHomeLat = 51;
    CurLat = 50;
    CurLon = 2; // one degree from each of the three
    EXPECT_EQ(Nearest(), "west");
}

TEST_F(ChartListTest, WithThePortfolioOpenTheNearestListedChartIsTakenHoweverFar)
{
    WriteChart("far.cfg", -30, 100); // 5000 nm and more from here
    WriteChart("farther.cfg", -40, 120);
    List();
    CurrentChartName = "Portfolio";
    ChartHomeLat = 50;
    ChartHomeLon = 1;
    CurLat = 50;
    CurLon = 1;
    EXPECT_EQ(Nearest(), "far");
    // Another chart would stay the nearest itself.
    CurrentChartName = "harbour";
    EXPECT_EQ(Nearest(), "harbour");
}

} // namespace
