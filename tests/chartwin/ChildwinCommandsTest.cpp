// A chart view's popup commands: the chart's note, route editing at the
// cursor with the waypoint name dialog, snap mode, the playback of the own
// track and the area enclosed around the cursor.

#include "chartwin/CursorFixture.h"
#include "dialogs/OKRightDlg.h"
#include "nav/ChartConfig.h"
#include "nav/RouteEdit.h"
#include "platform/QtHint.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <cmath>

namespace
{

using namespace chartwin::test;
using platform::ModalResult;

class CommandsTest : public CursorFixture
{
protected:
    void SetUp() override
    {
        CursorFixture::SetUp();
        ChartsFolder = charts.path() + "/";
        CurrentChartName = "harbour";
    }

    kvtest::TempDir charts;
};

// ---- Chart information

TEST_F(CommandsTest, NoteOfTheChartOpensAtTheCursorAndClosesAgainAndAMissingOneIsReported)
{
    TMDIChild& view = NewView();
    view.Information1->trigger();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "No Information available!" });
    EXPECT_FALSE(view.Information1->isChecked());
    EXPECT_TRUE(view.Memo1->isHidden());

    ui.clear();
    charts.write("harbour.inf", "Anchorage W of pier\r\nVHF 12\r\n");
    view.Information1->trigger();
    EXPECT_TRUE(view.Information1->isChecked());
    EXPECT_FALSE(view.Memo1->isHidden());
    EXPECT_TRUE(view.Memo1->isReadOnly());
    EXPECT_EQ(view.Memo1->toPlainText().toStdString(), "Anchorage W of pier\nVHF 12");
    view.Information1->trigger();
    EXPECT_FALSE(view.Information1->isChecked());
    EXPECT_TRUE(view.Memo1->isHidden());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CommandsTest, InEditModeANewNoteIsWrittenAndSavedWithTheSecondCommand)
{
    ChartEditable = true;
    TMDIChild& view = NewView();
    // The previous chart's note must not show for a chart without one.
    charts.write("harbour.inf", "Old chart note\r\n");
    view.Information1Click();
    view.Information1Click();
    CurrentChartName = "marina";
    view.Information1Click();
    EXPECT_EQ(ui.messages().back(), "No Information available!");
    EXPECT_TRUE(view.Information1->isChecked());
    EXPECT_FALSE(view.Memo1->isReadOnly());
    EXPECT_EQ(view.Memo1->toPlainText(), "");
    EXPECT_EQ(Hint(view.Memo1), "CTRL+I to Save changes !");
    view.Memo1->setPlainText("Pontoon B\nFuel \xC2\xB0"); // the degree sign, Latin-1 on disk
    view.Information1Click();
    EXPECT_EQ(kvtest::ReadBytes(charts.path() + "/marina.inf"), "Pontoon B\r\nFuel \xB0\r\n");
    EXPECT_TRUE(view.Memo1->isReadOnly());
    EXPECT_EQ(Hint(view.Memo1), "CTRL+I to Close !");
    EXPECT_FALSE(view.Information1->isChecked());
}

TEST_F(CommandsTest, NoteThatCannotBeSavedIsReportedAndStaysOpen)
{
    ChartEditable = true;
    TMDIChild& view = NewView();
    ChartsFolder = charts.path() + "/missing/";
    view.Information1Click();
    view.Memo1->setPlainText("typed text");
    ui.clear();
    view.Information1Click();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "Could not save the chart information to " + ChartsFolder + "harbour.inf");
    EXPECT_TRUE(view.Information1->isChecked());
    EXPECT_EQ(view.Memo1->toPlainText(), "typed text");
}

// ---- Route editing at the cursor

TEST_F(CommandsTest, RouteWaypointsAreAddedInsertedAndDeletedAtTheWorkingPosition)
{
    TMDIChild& view = NewView();
    view.Image1MouseDown(kCentreX + 69, kCentreY);
    view.Image1MouseUp(kCentreX + 69, kCentreY);
    view.AddRouteWaypoint1->trigger();
    ASSERT_EQ(RouteCount, 1);
    EXPECT_DOUBLE_EQ(RoutePoints[1].lon, 1.0);
    EXPECT_EQ(RouteNames[1].str().substr(0, 1), "A");
    EXPECT_TRUE(RouteChanged);
    EXPECT_FALSE(KeepRouteSelection);

    // The redraw after the edit centred the view on the cursor.
    view.Image1MouseDown(kCentreX - 69, kCentreY);
    view.Image1MouseUp(kCentreX - 69, kCentreY);
    ActiveWaypoint = 1;
    RouteChanged = false;
    view.InsertWaypoint1->trigger();
    ASSERT_EQ(RouteCount, 2);
    EXPECT_DOUBLE_EQ(RoutePoints[1].lon, 1.25);
    EXPECT_EQ(ActiveWaypoint, 2); // still on the waypoint selected before
    EXPECT_TRUE(RouteChanged);
    EXPECT_TRUE(KeepRouteSelection);

    view.DeleteSelectedWaypoint1->trigger();
    ASSERT_EQ(RouteCount, 1);
    EXPECT_DOUBLE_EQ(RoutePoints[1].lon, 1.25);
}

TEST_F(CommandsTest, EditDialogRenamesAndMovesTheSelectedWaypoint)
{
    TMDIChild& view = NewView();
    CurLat = 50;
    CurLon = 1;
    AddRouteWaypoint("Fairway buoy with a long name here");
    ActiveWaypoint = 1;
    view.Image1MouseDown(kCentreX, kCentreY);
    view.Image1MouseUp(kCentreX, kCentreY);
    std::string prefilled;
    ui.answerModal([&](QDialog& dialog) {
        auto& names = static_cast<TOKRightDlg&>(dialog);
        prefilled = platform::ls(names.NewWPname->text());
        EXPECT_FALSE(names.MoveWP->isChecked());
        names.NewWPname->setText("Pier");
        names.MoveWP->setChecked(true);
        return ModalResult::Ok;
    });
    view.EditRoute1->trigger();
    EXPECT_EQ(prefilled, "Fairway buoy with a long");
    EXPECT_EQ(RouteNames[1].str(), "Pier" + std::string(20, ' ') + "19   ");
    EXPECT_DOUBLE_EQ(RoutePoints[1].lat, 50.5); // the cursor
    EXPECT_TRUE(KeepRouteSelection);

    // Cancel changes nothing; an emptied box gives the generated name.
    ui.answerModal([](QDialog&) { return ModalResult::Cancel; });
    view.EditRoute1Click();
    EXPECT_EQ(RouteNames[1].str().substr(0, 4), "Pier");
    ui.answerModal([](QDialog& dialog) {
        static_cast<TOKRightDlg&>(dialog).NewWPname->clear();
        return ModalResult::Ok;
    });
    view.EditRoute1Click();
    EXPECT_EQ(RouteNames[1].str(), "A" + std::string(23, ' ') + "19   ");

    // No waypoint selected: an empty box, and the edit says so.
    ActiveWaypoint = 0;
    ui.answerModal([&](QDialog& dialog) {
        prefilled = platform::ls(static_cast<TOKRightDlg&>(dialog).NewWPname->text());
        return ModalResult::Ok;
    });
    view.EditRoute1Click();
    EXPECT_EQ(prefilled, "");
    EXPECT_EQ(ui.messages().back(), "Select a waypoint first !");
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(CommandsTest, SnapModeItemShowsAndTogglesTheProgramWideState)
{
    TMDIChild& view = NewView();
    view.WaypointSnapMode->trigger();
    EXPECT_TRUE(SnapToWaypoint);
    EXPECT_TRUE(view.WaypointSnapMode->isChecked());
    view.WaypointSnapMode->trigger();
    EXPECT_FALSE(SnapToWaypoint);
    SnapToWaypoint = true; // set by the other view
    view.PopupMenu1Popup();
    EXPECT_TRUE(view.WaypointSnapMode->isChecked());
}

// ---- Track playback

class PlaybackTest : public CommandsTest
{
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        LogCount = 30;
        for (int i = 1; i <= LogCount; ++i)
            LogRecords[i] = LogRecord { rtl::Real6(50.5 + i * 0.001), rtl::Real6(1.25), rtl::Real6(600.0) };
    }

    // Runs the ticks to the end; the ticks at which the view re-centred.
    std::vector<int> Play(TMDIChild& view)
    {
        std::vector<int> recentred;
        for (int tick = 1; tick <= 200 && view.Delay->enabled(); ++tick) {
            ViewCentreLat = 0;
            view.DelayTimer();
            if (ViewCentreLat != 0)
                recentred.push_back(tick);
        }
        return recentred;
    }
};

TEST_F(PlaybackTest, ReCentresEverySpeedDependentNumberOfPointsAndRestoresTheView)
{
    AisPlaySpeed = 10;
    TMDIChild& view = NewView();
    view.FShowVessel = false; // the view's own choice, kept over the playback
    view.PlaybackLog1->trigger();
    EXPECT_EQ(view.Delay->interval(), 100);
    EXPECT_FALSE(view.FShowTrack);
    EXPECT_NEAR(view.FCursorLat, 50.501, 1e-9);
    EXPECT_EQ(host.status, "Log Playback in Progress ...");
    EXPECT_EQ(Play(view), (std::vector<int> { 10, 20, 30 }));
    EXPECT_FALSE(view.Delay->enabled());
    EXPECT_EQ(view.PlaybackIndex, 30);
    EXPECT_TRUE(view.FShowTrack);
    EXPECT_FALSE(view.FShowVessel);
    EXPECT_NEAR(view.FCursorLat, 50.53, 1e-9); // the last record
    EXPECT_EQ(host.status, "");

    AisPlaySpeed = 3;
    view.PlaybackLog1Click();
    EXPECT_EQ(view.Delay->interval(), 333);
    EXPECT_EQ(Play(view), (std::vector<int> { 5, 10, 15, 20, 25, 30 }));
}

TEST_F(PlaybackTest, EachViewGetsBackItsOwnSwitches)
{
    AisPlaySpeed = 10;
    TMDIChild& first = NewView();
    TMDIChild& second = NewView();
    first.FShowTrack = true;
    first.FShowVessel = true;
    second.FShowTrack = false;
    second.FShowVessel = true;
    first.PlaybackLog1Click();
    second.PlaybackLog1Click();
    Play(first);
    Play(second);
    EXPECT_TRUE(first.FShowTrack);
    EXPECT_TRUE(first.FShowVessel);
    EXPECT_FALSE(second.FShowTrack);
    EXPECT_TRUE(second.FShowVessel);
}

TEST_F(PlaybackTest, RefusedWhileAnAisLogPlaysAndNothingWithoutTwoRecords)
{
    TMDIChild& view = NewView();
    AisPlayback = true;
    view.PlaybackLog1Click();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Not allowed while playing an AIS log!" });
    EXPECT_FALSE(view.Delay->enabled());
    AisPlayback = false;
    LogCount = 1;
    view.PlaybackLog1Click();
    EXPECT_FALSE(view.Delay->enabled());
    EXPECT_TRUE(view.FShowTrack);
}

// ---- Area

class AreaTest : public CommandsTest
{
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        CosLat = std::cos(50.5 * M_PI / 180);
    }

    // A closed rectangle of chart line round the chart's home, `dLat` by
    // `dLon` degrees.
    static void Enclosure(double dLat, double dLon)
    {
        const double n = 50.5 + dLat / 2, s = 50.5 - dLat / 2;
        const double e = 1.25 - dLon / 2, w = 1.25 + dLon / 2;
        const double corners[][2] = { { n, e }, { s, e }, { s, w }, { n, w }, { n, e } };
        ChartPointCount = 0;
        for (const auto& c : corners)
            ChartPoints[++ChartPointCount] = ChartPoint { rtl::Real6(c[0]), rtl::Real6(c[1]) };
    }

    // Square nautical miles of the rectangle.
    static double NmSquared(double dLat, double dLon) { return dLat * 60 * dLon * 60 * CosLat; }

    // Runs "Area" at `zoom` and returns the number it showed and its unit.
    std::pair<double, std::string> Measure(TMDIChild& view, double zoom)
    {
        view.SetZoom(zoom);
        ui.clear();
        view.Area1Click();
        const std::string text = ui.messages().at(0);
        EXPECT_EQ(text.substr(0, 7), "Area = ");
        const std::size_t unitAt = text.find(' ', 7);
        return { std::stod(text.substr(7, unitAt - 7)), text.substr(unitAt) };
    }
};

TEST_F(AreaTest, EnclosureInTheUnitsOfTheDistanceSettingScaledByTheBitmap)
{
    const struct {
        double dLat, dLon, zoom, factor;
        const char* unit;
        double perNm2;
    } cases[] = {
        { 0.1, 0.16, 32, 1.0, " Sq. Nm", 1 },
        { 0.1, 0.16, 32, 1.852, " Hectares", 1.852 * 1.852 * 100 },
        { 0.1, 0.16, 32, 1.15081, " Acres", 1.15081 * 1.15081 * 640 },
        { 0.00015, 0.0002, 12000, 1.852, " Sq. Metres", 1852.0 * 1852 },
        { 0.00015, 0.0002, 12000, 1.15081, " Sq. Feet", 6076.12 * 6076.12 },
    };
    TMDIChild& view = NewView();
    AreaPixelScale = 4; // a screen of 300 pixels would say so: the bitmap's height counts
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        Enclosure(c.dLat, c.dLon);
        DistanceFactor = c.factor;
        const auto [area, unit] = Measure(view, c.zoom);
        EXPECT_EQ(unit, c.unit);
        EXPECT_NEAR(area, NmSquared(c.dLat, c.dLon) * c.perNm2, NmSquared(c.dLat, c.dLon) * c.perNm2 * 0.02);
    }
    // The view's layers stay off afterwards.
    EXPECT_FALSE(
        view.FShowTrack || view.FShowWaypoints || view.FShowRoute || view.FShowTides || view.FPlotSurveyLog);
    // Too small for square miles.
    DistanceFactor = 1.0;
    ui.clear();
    view.Area1Click();
    EXPECT_EQ(ui.messages().at(0), "Area = 0.00 Sq. Nm");
}

// A 1 km grid square round the chart's home measured on the view images of
// 5:4, 4:3 and 16:9 screens (1920 x 1080 draws on a 4:3 image of 1920 x
// 1440) and of two sizes: the area its vertices give, whatever the shape.
TEST_F(AreaTest, AreaOfAKilometreSquareIsRightOnViewsOfEveryShapeAndSize)
{
    const struct {
        const char* name;
        int width, height;
    } screens[] = {
        { "5:4", 1280, 1024 },
        { "4:3", 1024, 768 },
        { "16:9", 1920, 1440 },
        { "5:4 at 1000 x 800", 1000, 800 },
    };
    const double dLat = 1 / 111.2; // 1 km of latitude near 50.5 N, in degrees
    const double dLon = 1 / (111.32 * std::cos(50.5 * M_PI / 180));
    DistanceFactor = 1.852; // hectares: two decimals of some 100
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.name);
        ViewImageWidth = static_cast<int16_t>(screen.width);
        ViewImageHeight = static_cast<int16_t>(screen.height);
        SetChartScales();
        Enclosure(dLat, dLon);
        TMDIChild& view = NewView();
        const auto [area, unit] = Measure(view, 250);
        EXPECT_EQ(unit, " Hectares");
        const double hectares = NmSquared(dLat, dLon) * 1.852 * 1.852 * 100;
        EXPECT_NEAR(area, hectares, hectares * 0.015);
    }
}

TEST_F(AreaTest, CursorOnALineFillsNothingAndCountsNothing)
{
    Enclosure(0.1, 0.16);
    TMDIChild& view = NewView();
    view.SetZoom(32);
    view.FCursorLat = 50.55; // on the northern edge
    ui.clear();
    view.Area1Click();
    EXPECT_EQ(ui.messages().at(0), "Area = 0.00 Sq. Nm");
}

TEST_F(AreaTest, RefusedWhileTheVesselIsTracked)
{
    TMDIChild& view = NewView();
    for (auto refuse : { +[] { NmeaOpen = true; }, +[] { DRMode = true; }, +[] { LogCount = 1; } }) {
        NmeaOpen = DRMode = false;
        LogCount = 0;
        refuse();
        ui.clear();
        view.Area1Click();
        EXPECT_EQ(ui.messages(),
            std::vector<std::string> { "Close NMEA server or turn DR mode off and purge the log first !" });
        EXPECT_TRUE(view.FShowTrack);
    }
}

} // namespace
