// The route commands from the main window: opening, saving and purging a
// route, choosing the active waypoint from the list or with "Next
// Waypoint", resetting the cross-track reference, sending the route and the
// measure mode, each through its menu item or button.

#include "ChartFilesFixture.h"

#include "platform/QtHint.h"
#include "platform/QtText.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

namespace
{

// A ".rte" line: the name in columns 1-24, a symbol code, the position.
std::string RteLine(const std::string& name, const std::string& lat, const std::string& lon)
{
    std::string field = name;
    field.resize(24, ' ');
    return field + "19   " + lat + "  " + lon + "\r\n";
}

// From the working position (50.8, 1.3): north, west and south, about half
// a mile off.
const std::string kNorth = RteLine("North mark", "N 50.48.60000", "W001.18.00000");
const std::string kWest = RteLine("West mark by the old pier", "N 50.48.00000", "W001.18.60000");
const std::string kSouth = RteLine("South mark", "N 50.47.40000", "W001.18.00000");

constexpr double kUnset = -123.0; // an XteRefCourse no command sets

class MainRoutesTest : public ChartFilesTest
{
protected:
    void SetUp() override
    {
        ChartFilesTest::SetUp();
        dir.makeFolder("routes");
        dir.write("routes/marks.rte", kNorth + kWest + kSouth);
        WriteChartFile("harbour.cht", { PenUpPoint, P(50.8, 1.3) });
        WriteChartConfig("harbour", 50.8, 1.3, 64);
        Start();
        OpenChart(charts() + "harbour.cht");
        CurLat = 50.8;
        CurLon = 1.3;
        ui.clear();
    }

    void OpenRouteFile(const std::string& path)
    {
        ui.answerFile(path);
        MainForm->Routes1->trigger();
    }

    // The user picks entry `index` of the route list.
    void Pick(int index)
    {
        MainForm->WPName->setCurrentIndex(index);
        emit MainForm->WPName->activated(index);
    }

    std::vector<std::string> RouteFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(app + "routes"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::string> ListEntries() const
    {
        std::vector<std::string> entries;
        for (int i = 0; i < MainForm->WPName->count(); ++i)
            entries.push_back(ls(MainForm->WPName->itemText(i)));
        return entries;
    }
};

TEST_F(MainRoutesTest, OpenedRouteFillsTheListAndSteersTheFirstLeg)
{
    XteRefCourse = kUnset;
    OpenRouteFile(app + "routes/marks.rte");

    ASSERT_EQ(ui.fileRequests().size(), 1U);
    const platform::FileDialogRequest& request = ui.fileRequests().front();
    EXPECT_EQ(request.title, "Open a route file");
    EXPECT_EQ(request.defaultExt, "rte");
    EXPECT_EQ(request.filter, "Route Files (*.rte)|*.rte|KVnav DOS Route Files (*.prn)|*.prn");
    EXPECT_EQ(request.initialFolder, app + "routes/");
    EXPECT_TRUE(ui.messages().empty());

    EXPECT_EQ(RouteCount, 3);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(RouteName, "marks");
    EXPECT_EQ(MainForm->SaveRouteDlg.fileName, "marks");
    EXPECT_EQ(ListEntries(),
        (std::vector<std::string> {
            "North mark              ", "West mark by the old pie", "South mark              " }));
    EXPECT_EQ(MainForm->WPName->currentIndex(), 0);
    EXPECT_NEAR(XteRefCourse, 0.0, 1e-4);
    EXPECT_TRUE(MainForm->SaveBtn->isEnabled());
    EXPECT_TRUE(MainForm->SaveRouteAs1->isEnabled());
    EXPECT_TRUE(MainForm->Route1->isEnabled());
    EXPECT_TRUE(MainForm->DRMode1->isEnabled());
    EXPECT_FALSE(MainForm->SendWPS->isEnabled()); // the NMEA interface is closed
}

TEST_F(MainRoutesTest, FailedOrBadOpenLeavesNoActiveWaypoint)
{
    OpenRouteFile(app + "routes/marks.rte");
    ui.clear();

    // A file that is gone: the route is empty, the old name stays.
    OpenRouteFile(app + "routes/gone.rte");
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Route File does not exist !" });
    EXPECT_EQ(ui.shown().back().kind, "message:warning");
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(RouteName, "marks");
    EXPECT_EQ(MainForm->WPName->count(), 0);
    EXPECT_EQ(MainForm->WPName->currentIndex(), -1);
    EXPECT_FALSE(MainForm->SaveBtn->isEnabled());
    EXPECT_FALSE(MainForm->Route1->isEnabled());

    // An empty file: read, but nothing to steer to.
    dir.write("routes/empty.rte", "");
    ui.clear();
    OpenRouteFile(app + "routes/empty.rte");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(RouteName, "empty");

    // A bad number: the warning, and the route keeps what was read.
    dir.write("routes/bad.rte", kNorth + RteLine("Rock", "N 5x.48.00000", "W001.18.00000"));
    ui.clear();
    OpenRouteFile(app + "routes/bad.rte");
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Route file format error !" });
    EXPECT_EQ(RouteCount, 2);
    EXPECT_EQ(ActiveWaypoint, 1);

    // Cancel changes nothing.
    ui.clear();
    ui.answerFile(std::nullopt);
    MainForm->Routes1->trigger();
    EXPECT_EQ(RouteCount, 2);
    EXPECT_EQ(RouteName, "bad");
}

TEST_F(MainRoutesTest, ConfigurationLoadsItsRouteAndSteersItsFirstLeg)
{
    // A configuration that names the route, at a position south-west of
    // the north mark.
    RouteName = "marks";
    ViewCentreLat = 50.79;
    ViewCentreLon = 1.31;
    ViewZoom = 64;
    SaveConfigFile(app + "west.cfg");
    RouteName.clear();
    XteRefCourse = kUnset;

    ui.answerFile(app + "west.cfg");
    MainForm->Config1->trigger();
    EXPECT_EQ(RouteName, "marks");
    EXPECT_EQ(RouteCount, 3);
    EXPECT_EQ(ActiveWaypoint, 1);
    // To the north mark (50.81, 1.30) from (50.79, 1.31): 1.2' north,
    // 0.6' of longitude (0.38 nm) east.
    EXPECT_NEAR(XteRefCourse, 17.54, 0.01);
}

TEST_F(MainRoutesTest, DosRouteOpensWithItsHemispheres)
{
    // DOS columns: minutes to 2 decimals, W/E in column 42.
    dir.write("routes/old.prn", "Cape Point              19   S 34.21.00  E018.29.00\r\n");
    OpenRouteFile(app + "routes/old.prn");
    EXPECT_TRUE(ui.messages().empty());
    ASSERT_EQ(RouteCount, 1);
    EXPECT_NEAR(RoutePoints[1].lat, -(34 + 21.0 / 60), 1e-9);
    EXPECT_NEAR(RoutePoints[1].lon, -(18 + 29.0 / 60), 1e-9);
    EXPECT_EQ(RouteName, "old");
    EXPECT_EQ(ListEntries(), std::vector<std::string> { "Cape Point              " });
}

TEST_F(MainRoutesTest, SaveWritesTheRouteAndCancelWritesNothing)
{
    OpenRouteFile(app + "routes/marks.rte");
    ui.clear();

    ui.answerFile(app + "routes/copy.rte");
    MainForm->SaveBtn->click();
    ASSERT_EQ(ui.fileRequests().size(), 1U);
    EXPECT_EQ(ui.fileRequests()[0].title, "Save route as...");
    EXPECT_EQ(ui.fileRequests()[0].filter, "Route Files (*.rte)|*.rte");
    EXPECT_EQ(ui.fileRequests()[0].fileName, "marks");
    EXPECT_EQ(dir.read("routes/copy.rte"), kNorth + kWest + kSouth);
    EXPECT_EQ(RouteName, "copy");
    EXPECT_TRUE(ui.messages().empty());

    // Cancel: nothing written, the name kept.
    ui.answerFile(std::nullopt);
    MainForm->SaveRouteAs1->trigger();
    EXPECT_EQ(RouteName, "copy");
    EXPECT_EQ(RouteFiles(), (std::vector<std::string> { "copy.rte", "marks.rte" }));

    // A folder that does not exist: the error, the name kept.
    ui.answerFile(app + "nowhere/x.rte");
    MainForm->SaveRouteAs1->trigger();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Error writing route file!" });
    EXPECT_EQ(ui.shown().back().kind, "message:error");
    EXPECT_EQ(RouteName, "copy");
}

TEST_F(MainRoutesTest, PurgeAsksThenEmptiesTheRouteAndLeavesDeadReckoning)
{
    OpenRouteFile(app + "routes/marks.rte");
    MainForm->DRMode1->trigger();
    ASSERT_TRUE(DRMode);

    ui.answerNo();
    MainForm->Route1->trigger();
    EXPECT_EQ(RouteCount, 3);
    EXPECT_EQ(ui.shown().back().text, "This will remove the current route! - Are you sure?");

    ui.answerYes();
    MainForm->Route1->trigger();
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(MainForm->WPName->count(), 0);
    EXPECT_EQ(MainForm->WPName->currentText(), "");
    EXPECT_FALSE(MainForm->SaveBtn->isEnabled());
    EXPECT_FALSE(MainForm->SaveRouteAs1->isEnabled());
    EXPECT_FALSE(DRMode);
    EXPECT_FALSE(MainForm->DRMode1->isChecked());
    EXPECT_FALSE(MainForm->DRMode1->isEnabled());
    EXPECT_EQ(MainForm->StatusLine->text(), "");
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainRoutesTest, PickingFromTheListSteersToItButTheFixCycleSelectionDoesNot)
{
    OpenRouteFile(app + "routes/marks.rte");
    MainForm->RngToWp->setText("0.50 Nm");
    MainForm->BearingToWP->setText("000");

    Pick(1);
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-4);
    EXPECT_EQ(MainForm->RngToWp->text(), "");
    EXPECT_EQ(MainForm->BearingToWP->text(), "");
    // A label of 13 characters or more is its own hint.
    EXPECT_EQ(Hint(MainForm->WPName), "West mark by the old pie|");

    Pick(2);
    EXPECT_EQ(ActiveWaypoint, 3);
    EXPECT_NEAR(XteRefCourse, 180.0, 1e-4);
    EXPECT_EQ(Hint(MainForm->WPName), "Selected Waypoint|");

    // The fix cycle selects the active entry on every fix: no new reference.
    XteRefCourse = kUnset;
    MainForm->WPName->setCurrentIndex(0);
    EXPECT_EQ(XteRefCourse, kUnset);
    EXPECT_EQ(ActiveWaypoint, 3);
}

TEST_F(MainRoutesTest, NextWaypointStepsWrapsAndTakesTheNewLegAtOnce)
{
    OpenRouteFile(app + "routes/marks.rte");
    const QString hint = Hint(MainForm->WPName);

    MainForm->SelectWaypoint1->trigger();
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_EQ(MainForm->WPName->currentIndex(), 1);
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-4);

    MainForm->SelectWaypoint1->trigger();
    EXPECT_EQ(ActiveWaypoint, 3);
    EXPECT_NEAR(XteRefCourse, 180.0, 1e-4);

    // Past the last waypoint: back to the first.
    MainForm->SelectWaypoint1->trigger();
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(MainForm->WPName->currentIndex(), 0);
    EXPECT_NEAR(XteRefCourse, 0.0, 1e-4);
    // The selection was set without running the list's change.
    EXPECT_EQ(Hint(MainForm->WPName), hint);
}

TEST_F(MainRoutesTest, ResetXteAsksAndMeasuresFromHere)
{
    OpenRouteFile(app + "routes/marks.rte");
    CurLat = 50.81;
    CurLon = 1.29; // now due east of the north mark

    ui.answerNo();
    MainForm->ResetXTEBtn->click();
    EXPECT_EQ(ui.shown().back().kind, "ask");
    EXPECT_EQ(ui.shown().back().text, "Reset XTE - Are you sure?");
    EXPECT_NEAR(XteRefCourse, 0.0, 1e-4);

    ui.answerYes();
    MainForm->ResetXTE1->trigger();
    EXPECT_NEAR(XteRefCourse, 270.0, 1e-4);
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainRoutesTest, SendingWithTheInterfaceClosedSaysNoneWereSent)
{
    OpenRouteFile(app + "routes/marks.rte");
    ActiveWaypoint = 2;
    MainForm->SendWaypoints1->setEnabled(true);
    MainForm->SendWaypoints1->trigger();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "  0 Waypoints sent" });
    EXPECT_EQ(ui.shown().back().kind, "message:information");
    EXPECT_EQ(ActiveWaypoint, 2);

    // Marked open, but no port behind it: still none.
    ui.clear();
    NmeaOpen = true;
    MainForm->SendWPSClick();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "  0 Waypoints sent" });
    NmeaOpen = false;
}

TEST_F(MainRoutesTest, MeasureOnTotalsAndOff)
{
    MainForm->MeasureModeBtn->click();
    EXPECT_TRUE(MeasureMode);
    EXPECT_EQ(MeasureStartLat, 50.8);
    EXPECT_EQ(MeasureStartLon, 1.3);
    EXPECT_EQ(Hint(MainForm->MeasureModeBtn), "Measure off|");
    EXPECT_TRUE(MainForm->ExMeasure->isEnabled());
    EXPECT_TRUE(MainForm->AccumulativeMeasure1->isEnabled());

    // One mile north, totalised; the origin moves along.
    CurLat = 50.8 + 1.0 / 60;
    MainForm->ExMeasure->click();
    EXPECT_NEAR(MeasureTotal, 1.0, 1e-9);
    EXPECT_EQ(MeasureStartLat, CurLat);
    EXPECT_NE(MainForm->StatusLine->text(), "");
    // Another half mile, through the hidden menu item.
    CurLat += 0.5 / 60;
    MainForm->AccumulativeMeasure1->trigger();
    EXPECT_NEAR(MeasureTotal, 1.5, 1e-9);

    MainForm->MeasureModeBtn->click();
    EXPECT_FALSE(MeasureMode);
    EXPECT_EQ(MeasureTotal, 0.0);
    EXPECT_EQ(Hint(MainForm->MeasureModeBtn), "Measure on|");
    EXPECT_EQ(MainForm->StatusLine->text(), "");
    EXPECT_FALSE(MainForm->ExMeasure->isEnabled());
    EXPECT_FALSE(MainForm->AccumulativeMeasure1->isEnabled());

    // Not measuring: the totaliser does nothing.
    MainForm->ExMeasureClick();
    EXPECT_EQ(MeasureTotal, 0.0);
    EXPECT_EQ(MainForm->StatusLine->text(), "");
}

TEST_F(MainRoutesTest, MeasureTotaliserIsOffWhileTheInterfaceIsOpen)
{
    NmeaOpen = true;
    MainForm->MeasureModeBtn->click();
    EXPECT_TRUE(MeasureMode);
    EXPECT_FALSE(MainForm->ExMeasure->isEnabled());
    EXPECT_FALSE(MainForm->AccumulativeMeasure1->isEnabled());
    NmeaOpen = false;
}

} // namespace
