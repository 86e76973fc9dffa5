// Charts from the main window: Open Chart with its layers, configuration and
// waypoints, the chart at start-up, the nearest chart, Save Chart As and the
// purge commands, from the dialogs the user answers to the files on disk.

#include "ChartFilesFixture.h"

#include "chartwin/ViewList.h"
#include "nav/ChartList.h"
#include "platform/QtText.h"

#include <QAction>
#include <QLabel>
#include <QMdiSubWindow>
#include <filesystem>

namespace
{

class MainChartsTest : public ChartFilesTest
{
protected:
    // harbour.cht with layer 0, its configuration and one waypoint.
    void WriteHarbour()
    {
        WriteChartFile("harbour.cht", { PenUpPoint, P(50.8, 1.3), P(50.81, 1.31) });
        WriteChartFile("harbour.000", { PenUpPoint, P(250.8, 1.29) });
        WriteChartConfig("harbour", 50.8, 1.3, 64);
        dir.write("charts/harbour.wpt", "Pier head               05   N 50.48.00000  W001.18.00000\r\n");
    }
};

TEST_F(MainChartsTest, OpenChartLoadsLayersConfigurationAndWaypointsIntoANewFirstView)
{
    WriteHarbour();
    Start({ "boat.cfg" });
    OpenChart(charts() + "harbour.cht");

    EXPECT_EQ(Stored(),
        (std::vector<ChartPoint> { PenUpPoint, P(50.8, 1.3), P(50.81, 1.31), PenUpPoint, P(250.8, 1.29) }));
    EXPECT_EQ(LoadedPointCount, 5);
    EXPECT_EQ(LayerFlags, "*---------");
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_EQ(ChartHomeZoom, 64);
    ASSERT_EQ(WaypointDbCount, 1);
    EXPECT_EQ(WaypointDbNames[1], "Pier head               05   ");
    EXPECT_EQ(ChartsFolder, charts());
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, charts() + "harbour.cht");
    EXPECT_EQ(MainForm->SaveDialog1.fileName, "harbour");
    EXPECT_EQ(Captions(), std::vector<std::string> { "harbour (boat)" });
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Total chart points = 5" });
    EXPECT_EQ(ui.fileRequests().at(0).title, "Open a chart file");
    // Paths are built from the folders: the current folder stays where it was.
    EXPECT_EQ(std::filesystem::current_path().string() + "/", app);
}

TEST_F(MainChartsTest, OpeningALayerFileReadsItAloneAndAMissingConfigurationIsReported)
{
    WriteHarbour();
    Start();
    OpenChart(charts() + "harbour.000");
    EXPECT_EQ(Stored(), (std::vector<ChartPoint> { PenUpPoint, P(250.8, 1.29) }));
    EXPECT_EQ(LayerFlags, "**********");

    WriteChartFile("bare.cht", { P(10, 10) });
    ui.clear();
    OpenChart(charts() + "bare.cht");
    EXPECT_EQ(Stored(), std::vector<ChartPoint> { P(10, 10) });
    EXPECT_EQ(
        ui.messages(), (std::vector<std::string> { "Chart Config File Missing!", "Total chart points = 1" }));
    EXPECT_EQ(WaypointDbCount, 0); // the first chart's waypoints went with it
    EXPECT_EQ(MainForm->MDIChildCount(), 1); // the view is used again
}

TEST_F(MainChartsTest, CancelledOrFailedOpenKeepsTheChartAndItsPath)
{
    WriteHarbour();
    Start();
    OpenChart(charts() + "harbour.cht");
    ui.clear();

    ui.answerFile(std::nullopt);
    MainForm->FileOpenItemClick();
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, charts() + "harbour.cht");

    OpenChart(charts() + "gone.cht");
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Non existant File" });
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, charts() + "harbour.cht");
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_EQ(ChartPointCount, 5);
    EXPECT_EQ(ChartsFolder, charts());
}

TEST_F(MainChartsTest, AppendModeAddsTheSecondChartAndKeepsTheCaptions)
{
    WriteHarbour();
    dir.makeFolder("other");
    dir.write("other/reef.cht", std::string());
    WriteChartFile("reef.cht", { PenUpPoint, P(450.7, 1.2) });
    Start();
    OpenChart(charts() + "harbour.cht");
    MainForm->ChartAppendMode->trigger();
    ASSERT_TRUE(MainForm->ChartAppendMode->isChecked());
    OpenChart(charts() + "reef.cht");
    EXPECT_EQ(ChartPointCount, 7);
    EXPECT_EQ(ChartPoints[7], P(450.7, 1.2));
    EXPECT_EQ(CurrentChartName, "reef");
    EXPECT_EQ(WaypointDbCount, 1);
    EXPECT_EQ(Captions(), std::vector<std::string> { "harbour ()" });
}

TEST_F(MainChartsTest, OpeningAnotherChartWhileEditingOffersToSaveFirst)
{
    WriteHarbour();
    WriteChartFile("reef.cht", { P(450.7, 1.2) });
    Start();
    OpenChart(charts() + "harbour.cht");
    MainForm->ChartEdit1->setChecked(true);
    ui.clear();

    // Yes, then the save is cancelled: nothing is opened.
    ui.answerFile(charts() + "reef.cht");
    ui.answerYes();
    ui.answerFile(std::nullopt);
    MainForm->FileOpenItemClick();
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_EQ(ChartPointCount, 5);
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, charts() + "harbour.cht");
    EXPECT_EQ(ui.shown().at(1).text, "Save the modified chart before opening another ?");

    // No: the other chart opens unsaved.
    ui.answerFile(charts() + "reef.cht");
    ui.answerNo();
    MainForm->FileOpenItemClick();
    EXPECT_EQ(CurrentChartName, "reef");
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainChartsTest, StartupChartLoadsWithLayersAndWaypointsInTheFirstView)
{
    WriteHarbour();
    WriteConfig("zudeve.cfg", [] { CurrentChartName = "harbour"; });
    Start();
    FirstTick();
    EXPECT_EQ(ChartPointCount, 5);
    EXPECT_EQ(LayerFlags, "*---------");
    EXPECT_EQ(WaypointDbCount, 1);
    EXPECT_EQ(Captions(), std::vector<std::string> { "harbour ()" });
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Total chart points = 5" });
}

TEST_F(MainChartsTest, MissingStartupChartIsReportedAndTheConfigurationKept)
{
    WriteConfig("zudeve.cfg", [] { CurrentChartName = "harbour"; });
    const std::string config = dir.read("zudeve.cfg");
    dir.write("charts/harbour.wpt", "Pier head               05   N 50.48.00000  W001.18.00000\r\n");
    Start();
    FirstTick();
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> {
            "Chart File harbour not found in local chart directory. KV Velta goes on with an empty chart: "
            "open one with File > Open File > Charts (F3)." });
    EXPECT_EQ(dir.read("zudeve.cfg"), config);
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(MainForm->MDIChildCount(), 1); // an empty chart to work on
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, "");
    // Nothing is written beside the missing chart.
    ChartPointCount = 1;
    ui.answerModal([](QDialog& dialog) { return platform::ModalResult::Ok; });
    MainForm->AddChartWaypoint1Click();
    EXPECT_EQ(
        dir.read("charts/harbour.wpt"), "Pier head               05   N 50.48.00000  W001.18.00000\r\n");
}

TEST_F(MainChartsTest, SaveChartAsWritesTheChartItsConfigurationAndWaypoints)
{
    WriteHarbour();
    Start({ "boat.cfg" });
    OpenChart(charts() + "harbour.cht");
    ChartPoints[6] = PenUpPoint; // the pen lifted twice while editing
    ChartPoints[7] = PenUpPoint;
    ChartPoints[8] = P(50.82, 1.32);
    ChartPointCount = 8;
    ViewCentreLat = 50.5;
    ui.clear();

    ui.answerFile(charts() + "new.cht");
    MainForm->SaveBtnClick();
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "Have you entered the correct chart offsets, zoom and centre?" });
    EXPECT_EQ(ui.fileRequests().back().fileName, "harbour.cht");
    ChartFileContents back = DecodeChartFile(dir.read("charts/new.cht"));
    EXPECT_EQ(back.points,
        (std::vector<ChartPoint> { PenUpPoint, P(50.8, 1.3), P(50.81, 1.31), PenUpPoint, P(250.8, 1.29),
            PenUpPoint, P(50.82, 1.32) }));
    EXPECT_EQ(MainForm->StatusLine->text(), "Removed 1 empty points");
    EXPECT_EQ(dir.read("charts/new.cfg").substr(0, 25), " 5.05000000000000E+0001\r\n");
    EXPECT_EQ(dir.read("charts/new.wpt"), dir.read("charts/harbour.wpt"));
    EXPECT_EQ(CurrentChartName, "new");
    EXPECT_EQ(Captions(), std::vector<std::string> { "new (boat)" });
    EXPECT_EQ(ChartList[ChartListCount], "new.cfg");

    // A second '.' belongs to the name; a typed '\\' separates folders.
    const std::string harbourWaypoints = dir.read("charts/harbour.wpt");
    const std::string harbourConfig = dir.read("charts/harbour.cfg");
    for (const char* typed : { "charts/harbour.new.cht", ".\\charts\\bs.cht" }) {
        ui.answerFile(app + typed);
        MainForm->SaveBtnClick();
    }
    EXPECT_EQ(ui.fileRequests().back().fileName, "harbour.new.cht");
    for (const char* name : { "harbour.new", "bs" }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(dir.read("charts/" + std::string(name) + ".cht"), dir.read("charts/new.cht"));
        EXPECT_EQ(dir.read("charts/" + std::string(name) + ".wpt"), harbourWaypoints);
        EXPECT_TRUE(dir.exists("charts/" + std::string(name) + ".cfg"));
    }
    EXPECT_EQ(dir.read("charts/harbour.wpt"), harbourWaypoints);
    EXPECT_EQ(dir.read("charts/harbour.cfg"), harbourConfig);
    EXPECT_EQ(CurrentChartName, "bs");
}

TEST_F(MainChartsTest, WaypointFileCutShortAtOpeningIsSaidOnceAndKeptWhenSavingUnlessAgreed)
{
    WriteChartFile("big.cht", { P(50.8, 1.3) });
    WriteChartConfig("big", 50.8, 1.3, 1);
    std::string waypoints;
    for (int i = 0; i < 601; ++i)
        waypoints += "Mark                    00   N 50.30.00000  W001.15.00000\r\n";
    dir.write("charts/big.wpt", waypoints);
    Start();
    ui.clear();

    OpenChart(charts() + "big.cht");
    EXPECT_EQ(WaypointDbCount, 600);
    EXPECT_EQ(
        ui.messages(), (std::vector<std::string> { "Waypoint Database Full !", "Total chart points = 1" }));

    ui.clear();
    ui.answerFile(charts() + "big.cht");
    ui.answerNo();
    MainForm->SaveBtnClick();
    EXPECT_EQ(ui.shown().back().text,
        "The waypoint file " + charts()
            + "big.wpt holds 601 waypoints and only 600 are loaded."
              " Overwrite it and lose the rest ?");
    EXPECT_EQ(dir.read("charts/big.wpt"), waypoints);
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainChartsTest, ChartFileThatCannotBeWrittenChangesNothing)
{
    WriteHarbour();
    Start({ "boat.cfg" });
    OpenChart(charts() + "harbour.cht");
    ui.clear();
    ui.answerFile(app + "no-such-folder/new.cht");
    MainForm->SaveBtnClick();
    EXPECT_EQ(ui.messages().back(), "Error writing chart file!");
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_EQ(Captions(), std::vector<std::string> { "harbour (boat)" });
    EXPECT_FALSE(dir.exists("no-such-folder"));
    EXPECT_EQ(ChartPointCount, 5);
}

// A layer file saved over a file that was read holds every point read from
// it and then what was added; a new layer holds only what was added, after
// the last point read. The chart under a layer never goes into it.
TEST_F(MainChartsTest, LayerFileHoldsItsOwnPointsAndThoseAddedButNeverTheChart)
{
    WriteHarbour();
    const std::vector<ChartPoint> layer { PenUpPoint, P(50.7, 1.2), P(50.71, 1.21), P(50.72, 1.22) };
    const ChartPoint added = P(50.73, 1.23);
    std::vector<ChartPoint> layerEdited = layer;
    layerEdited.push_back(added);
    struct Case {
        const char* name;
        std::vector<const char*> opened; // the first opened alone, the others appended
        const char* savedAs;
        std::vector<ChartPoint> expected;
    };
    const Case cases[] = {
        // The chart's own layer .000 and .003, read with it.
        { "over a layer read with its chart", { "harbour.cht" }, "harbour.000",
            { PenUpPoint, P(250.8, 1.29), added } },
        { "over the last layer read with its chart", { "harbour.cht" }, "harbour.003", layerEdited },
        { "a new layer", { "harbour.cht" }, "harbour.005", { P(50.72, 1.22), added } },
        { "a layer opened alone", { "harbour.003" }, "harbour.003", layerEdited },
        { "a layer appended onto the chart", { "harbour.cht", "harbour.003" }, "harbour.003", layerEdited },
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteChartFile("harbour.003", layer);
        std::filesystem::remove(dir.file("charts/harbour.005"));
        for (const char* name : c.opened) {
            OpenChart(charts() + name);
            MainForm->ChartAppendMode->setChecked(true);
        }
        MainForm->ChartAppendMode->setChecked(false);
        ChartPoints[++ChartPointCount] = added;

        ui.answerFile(charts() + c.savedAs);
        MainForm->SaveBtnClick();
        EXPECT_EQ(DecodeChartFile(dir.read(std::string("charts/") + c.savedAs)).points, c.expected);
        EXPECT_EQ(
            dir.read("charts/harbour.cfg").substr(0, 25), rtl::RealText(50.8) + "\r\n"); // not rewritten
    }
}

TEST_F(MainChartsTest, NearestChartLoadsAutomaticallyButNotWhileEditing)
{
    WriteHarbour();
    WriteChartFile("reef.cht", { P(450.7, 1.2) });
    WriteChartConfig("reef", 50.7, 1.2, 16);
    dir.write("charts/reef.wpt", "");
    Start({ "boat.cfg" });
    OpenChart(charts() + "harbour.cht");
    MainForm->FileNewItemClick(); // a second view
    ui.clear();

    CurLat = 50.71;
    CurLon = 1.21;
    MainForm->ChartEdit1->setChecked(true);
    MainForm->AutoChartClick();
    EXPECT_EQ(CurrentChartName, "harbour");

    MainForm->ChartEdit1->setChecked(false);
    MainForm->NearestChart1Click();
    EXPECT_EQ(MainForm->StatusLine->text(), "reef");
    MainForm->AutoChartClick();
    EXPECT_EQ(CurrentChartName, "reef");
    EXPECT_EQ(Stored(), std::vector<ChartPoint> { P(450.7, 1.2) });
    EXPECT_EQ(LayerFlags, "----------");
    EXPECT_EQ(WaypointDbCount, 0);
    EXPECT_EQ(CurLat, 50.7); // the chart's home, with no track under way
    EXPECT_EQ(ChartScale, 16);
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, charts() + "reef.cht");
    EXPECT_EQ(MainForm->SaveDialog1.fileName, charts() + "reef.cht");
    EXPECT_EQ(Captions(), (std::vector<std::string> { "reef. (boat)", "reef.2 (boat)" }));
    EXPECT_TRUE(ui.messages().empty());

    // Already the nearest: nothing happens.
    ChartPointCount = 0;
    MainForm->AutoChartClick();
    EXPECT_EQ(ChartPointCount, 0);

    // A nearest chart whose file is gone changes nothing.
    ChartPointCount = 1;
    WriteChartConfig("ghost", 50.71, 1.21, 16);
    rtl::ShortString<40> unused;
    ListChartsOrFindNearest(ChartSearchMode::List, unused);
    CurLat = 50.71;
    CurLon = 1.21;
    MainForm->AutoChartClick();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Non existant File" });
    EXPECT_EQ(CurrentChartName, "reef");
    EXPECT_EQ(ChartPointCount, 1);
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, charts() + "reef.cht");
}

TEST_F(MainChartsTest, PortfolioMovesTheChartsFolder)
{
    dir.makeFolder("atlas");
    dir.write("atlas/SolentPortfolio.cht", std::string("\x81\0\0\0\0\x80\x81\0\0\0\0\x80", 12));
    WriteChartConfig("unused", 0, 0, 1);
    dir.write("atlas/a.cfg", "50\r\n1\r\n1\r\n0\r\n");
    Start();
    ui.answerFile(app + "atlas/SolentPortfolio.cht");
    MainForm->OpenPortfolio1Click();
    EXPECT_EQ(ui.fileRequests().at(0).title, "Open a chart portfolio");
    EXPECT_EQ(ui.fileRequests().at(0).fileName, "*Portfolio.cht");
    EXPECT_EQ(ChartsFolder, app + "atlas/");
    EXPECT_EQ(MainForm->SaveDialog1.initialFolder, app + "atlas/");
    ASSERT_EQ(ChartListCount, 1);
    EXPECT_EQ(ChartList[1], "a.cfg");
    EXPECT_EQ(MainForm->OpenChtDialog.title, "Open a chart file");

    // Cancelled: the chart path is not left as the pattern.
    ui.answerFile(std::nullopt);
    MainForm->OpenPortfolio1Click();
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, app + "atlas/SolentPortfolio.cht");
}

TEST_F(MainChartsTest, LayerPurgeReloadsTheChartAloneIntoTheOpenViews)
{
    WriteHarbour();
    Start();
    OpenChart(charts() + "harbour.cht");
    MainForm->FileNewItemClick();
    ASSERT_EQ(MainForm->MDIChildCount(), 2);
    ui.clear();
    ui.answerYes();
    MainForm->Layers1Click();
    EXPECT_EQ(MainForm->MDIChildCount(), 2);
    EXPECT_EQ(Stored(), (std::vector<ChartPoint> { PenUpPoint, P(50.8, 1.3), P(50.81, 1.31) }));
    EXPECT_EQ(LayerFlags, "----------");
    EXPECT_EQ(WaypointDbCount, 1);
    EXPECT_FALSE(MainForm->LoadLayers);
    EXPECT_FALSE(MainForm->Layers1->isEnabled());

    ui.answerNo();
    MainForm->Chart1Click();
    EXPECT_EQ(ChartPointCount, 3);
}

TEST_F(MainChartsTest, ChartAndLogAndAllPurges)
{
    WriteHarbour();
    Start();
    OpenChart(charts() + "harbour.cht");
    LogCount = 5;
    TripTotal = 3;
    RouteCount = 2;
    ConfigName = "boat";
    ui.clear();
    // The window's title names the maximised view by its caption.
    MainForm->show();
    EXPECT_EQ(ls(MainForm->windowTitle()), "KV AIS Velta - [harbour ()]");

    ui.answerYes();
    MainForm->Log1Click();
    EXPECT_EQ(LogCount, 0);
    EXPECT_EQ(TripTotal, 0);
    EXPECT_EQ(MainForm->Trip->text(), "0.00 Nm");
    EXPECT_EQ(ui.shown().at(0).text, "This will remove the automatic track! - Are you sure?");

    ui.answerYes();
    MainForm->Chart1Click();
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(LoadedPointCount, 0);
    EXPECT_EQ(WaypointDbCount, 0);
    EXPECT_EQ(CurrentChartName, "");
    EXPECT_EQ(Captions(), std::vector<std::string> { "" });
    EXPECT_EQ(ls(MainForm->windowTitle()), "KV AIS Velta");
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, "");
    EXPECT_EQ(MainForm->SaveDialog1.fileName, "");

    ui.answerYes();
    MainForm->All1Click();
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ConfigName, "");
    EXPECT_FALSE(MainForm->DRMode1->isChecked());
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainChartsTest, DemoFolderStartsOnItsHarbourChart)
{
    CopyDemoChart();
    Start();
    FirstTick();
    EXPECT_EQ(CurrentChartName, "harbour");
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "Total chart points = " + std::to_string(ChartPointCount) });
    EXPECT_GT(ChartPointCount, 40);
    EXPECT_EQ(WaypointDbCount, 9);
    EXPECT_EQ(RouteCount, 6);
    EXPECT_EQ(Captions(), std::vector<std::string> { "harbour ()" });
    ASSERT_EQ(ChartListCount, 1);
    EXPECT_EQ(ChartList[1], "harbour.cfg");
}

} // namespace
