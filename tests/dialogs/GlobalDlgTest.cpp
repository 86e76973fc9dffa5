// The preferences dialog's pages, controls and handlers, and the timing
// dialog's fields.

#include "dialogs/GlobalDlg.h"
#include "dialogs/AlarmDialog.h"
#include "dialogs/ColorGrid.h"
#include "nav/ChartStore.h"
#include "nav/NavState.h"
#include "platform/QtColour.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <gtest/gtest.h>

namespace
{

using platform::ModalResult;

class GlobalDlgTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
    void TearDown() override { ResetNavState(); }

    platform::ScriptedUi ui;
    TGlobalDlg dialog;
};

TEST_F(GlobalDlgTest, OpensOnTideAndThePageButtonGoesRoundTheTenPages)
{
    EXPECT_EQ(dialog.PageIndex(), 3);
    for (int i : { 4, 5, 6, 7, 8, 9, 0 }) {
        dialog.SpeedButton1->click();
        EXPECT_EQ(dialog.PageIndex(), i);
        EXPECT_EQ(dialog.TabSet->currentIndex(), i);
    }
    dialog.TabSet->setCurrentIndex(7);
    EXPECT_EQ(dialog.PageIndex(), 7);
}

TEST_F(GlobalDlgTest, OnlyLatLongAndUtmWgs84CanBeChosen)
{
    for (QRadioButton* b : { dialog.OSGridMode, dialog.UTMint1924, dialog.Bessel, dialog.Clarke1866,
             dialog.Clarke1880, dialog.Everest, dialog.Australian, dialog.WGS1972 })
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    EXPECT_TRUE(dialog.LatLongMode->isEnabled());
    EXPECT_TRUE(dialog.WGS1984->isEnabled());
}

TEST_F(GlobalDlgTest, ColourPresets)
{
    const struct {
        int item, background, foreground;
        bool layers;
    } presets[] = { { 0, 4, 15, false }, { 1, 0, 3, false }, { 2, 0, 15, false }, { 3, 15, 0, true } };
    for (const auto& p : presets) {
        dialog.TextColourFG->setChecked(!p.layers);
        dialog.Defaults->setCurrentIndex(p.item);
        dialog.DefaultsClick();
        EXPECT_EQ(dialog.GlobalColor->BackgroundIndex(), p.background) << p.item;
        EXPECT_EQ(dialog.GlobalColor->ForegroundIndex(), p.foreground) << p.item;
        for (QCheckBox* box : { dialog.TextColourFG, dialog.TrackColourFG, dialog.TideColourFG })
            EXPECT_EQ(box->isChecked(), p.layers) << p.item;
        EXPECT_FALSE(dialog.GlobalColor->isEnabled());
        // The disabled grid still shows the colours, the preset's among them:
        // each cell sampled at its top right, clear of the FG and BG marks.
        const QImage grid = dialog.GlobalColor->grab().toImage();
        const int cell = (grid.width() - 1) / 4;
        for (int index : { p.background, p.foreground }) {
            const QColor shown = grid.pixelColor((index % 4) * cell + cell - 4, (index / 4) * cell + 3);
            EXPECT_EQ(shown, platform::QColorFromBgr(GridColour(index))) << p.item << " cell " << index;
        }
    }
    EXPECT_EQ(dialog.GlobalColor->BackgroundColor(), 0xFFFFFFu);
    EXPECT_EQ(dialog.GlobalColor->ForegroundColor(), 0x000000u);

    // "Custom" enables the grid and clears the switches; pressed again it
    // disables the grid and leaves the colours.
    dialog.Defaults->setCurrentIndex(4);
    dialog.DefaultsClick();
    EXPECT_TRUE(dialog.GlobalColor->isEnabled());
    EXPECT_FALSE(dialog.TextColourFG->isChecked());
    dialog.GlobalColor->SetBackgroundIndex(12);
    dialog.DefaultsClick();
    EXPECT_FALSE(dialog.GlobalColor->isEnabled());
    EXPECT_EQ(dialog.GlobalColor->BackgroundIndex(), 12);
    EXPECT_EQ(dialog.GlobalColor->ForegroundIndex(), 0);
}

TEST(ColorGrid, SixteenColoursByIndex)
{
    const uint32_t expected[] = { 0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
        0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF };
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(GridColour(i), expected[i]) << i;
    EXPECT_EQ(GridColour(-1), 0u);
    EXPECT_EQ(GridColour(16), 0u);
}

TEST_F(GlobalDlgTest, SwitchesEnableTheirControls)
{
    dialog.WP_auto->click();
    EXPECT_FALSE(dialog.CapDist->isEnabled());
    dialog.WP_auto->click();
    EXPECT_TRUE(dialog.CapDist->isEnabled());

    dialog.Voice->click();
    EXPECT_TRUE(dialog.Vfreq->isEnabled());

    dialog.NMEAOutputOn->setChecked(false);
    dialog.NMEAOutputOnClick();
    for (QWidget* w : std::initializer_list<QWidget*> { dialog.sendAPB, dialog.sendXTE, dialog.sendHSC,
             dialog.SendBOD, dialog.Variation, dialog.CustomGroup })
        EXPECT_FALSE(w->isEnabled());
    dialog.NMEAOutputOn->click();
    EXPECT_TRUE(dialog.Variation->isEnabled());
    dialog.SendCustom->click();
    EXPECT_TRUE(dialog.CustomNMEA->isEnabled());

    // Repeat and reverse never stand together.
    dialog.RevRoute->setChecked(true);
    dialog.RepRoute->click();
    EXPECT_FALSE(dialog.RevRoute->isChecked());
    dialog.RevRoute->click();
    EXPECT_FALSE(dialog.RevRoute->isChecked());
}

TEST_F(GlobalDlgTest, LogViewerIsChosenOnTheLogPage)
{
    QWidget* log = dialog.Page(5);
    EXPECT_TRUE(dialog.TBrowse->isVisibleTo(log));
    EXPECT_TRUE(dialog.BrowserPath->isVisibleTo(log));
    EXPECT_TRUE(dialog.BrowserPath->isEnabled());

    dialog.BrowserPath->setText("/usr/bin/less");
    ui.answerFile("/usr/bin/mousepad");
    dialog.TBrowse->click();
    ASSERT_EQ(ui.fileRequests().size(), 1u);
    EXPECT_EQ(ui.fileRequests()[0].title, "Choose Text Log Viewer");
    EXPECT_EQ(ui.fileRequests()[0].fileName, "/usr/bin/less");
    EXPECT_EQ(dialog.BrowserPath->text(), "/usr/bin/mousepad");
    ui.answerFile(std::nullopt);
    dialog.TBrowse->click();
    EXPECT_EQ(dialog.BrowserPath->text(), "/usr/bin/mousepad");
}

TEST_F(GlobalDlgTest, ManualTideEnablesItsControlsAndTheAtlasNameReturns)
{
    StandardPort = "Dover";
    dialog.ManTide->click();
    for (QWidget* w : std::initializer_list<QWidget*> { dialog.Tset, dialog.TDrift, dialog.AvTide })
        EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(dialog.STDport->text(), "?");
    EXPECT_FALSE(dialog.NameLabel->isEnabled());
    dialog.ManTide->click();
    EXPECT_FALSE(dialog.AvTide->isEnabled());
    EXPECT_EQ(dialog.STDport->text(), "Dover");
    // The switch itself waits for OK.
    EXPECT_TRUE(ManualTideOff);
}

TEST_F(GlobalDlgTest, FieldsGoInAndComeBack)
{
    TGlobalFields f;
    f.ForegroundIndex = 9;
    f.BackgroundIndex = 1;
    f.Defaults = 2;
    f.DistanceUnit = 2;
    f.KnAlways = false;
    f.PositionMode = 8;
    f.Deadband = 50;
    f.WP_auto = false;
    f.CapDist = 3;
    f.HWhour = 7;
    f.HWMin = 45;
    f.STDport = "?"; // with the manual tide in use
    f.Vspeed = 9;
    f.ManTide = true;
    f.Tset = 135;
    f.TDrift = 12;
    f.LatOffs = -300;
    f.LongOffs = 600;
    f.Cht2WGS84 = true;
    f.ALmode = true;
    f.ViewAngle = 45;
    f.KeepTextLog = true;
    f.LogParse = "@p:5,@t";
    f.KeepLog = false;
    f.PBspeed = 20;
    f.BrowserPath = "viewer";
    f.Mspeed = 1;
    f.Mcourse = 1;
    f.Cpoints = "10";
    f.Lmask = "**********";
    f.TidePoints = "2";
    f.Wpoints = "3";
    f.Rpoints = "4";
    f.Lpoints = "5";
    f.AISNtargets = "6   Targets";
    f.Spoints = 70000;
    f.Enumber = 8;
    f.CountersEditable = false;
    f.NMEAOutputOn = true;
    f.sendAPB = false;
    f.Variation = 3;
    f.SendCustom = true;
    f.CustomNMEA = "$ECABC,@1";
    f.COMno = 4;
    f.Rate = 1;
    f.AutoLaunch = true;
    dialog.SetFields(f);
    EXPECT_EQ(dialog.Fields(), f);
    EXPECT_FALSE(dialog.Spoints->isEnabled());
    EXPECT_FALSE(dialog.Label26->isEnabled());
    EXPECT_TRUE(dialog.Cht2WGS84->isEnabled());
    EXPECT_TRUE(dialog.Tset->isEnabled());
    f.DistanceUnit = -1;
    f.Rate = -1;
    dialog.SetFields(f);
    EXPECT_EQ(dialog.Fields(), f);
}

TEST_F(GlobalDlgTest, OkAndCancelWithTheFields)
{
    TGlobalSettings settings;
    TGlobalFields fields;
    fields.COMno = 3;
    ui.answerModal([](QDialog& d) {
        static_cast<TGlobalDlg&>(d).COMno->setValue(9);
        return ModalResult::Cancel;
    });
    EXPECT_FALSE(dialog.Execute(settings, fields));
    EXPECT_EQ(fields.COMno, 3);
    ui.answerModal([](QDialog& d) {
        auto& g = static_cast<TGlobalDlg&>(d);
        EXPECT_EQ(g.COMno->value(), 3);
        g.COMno->setValue(9);
        g.HeadUp->setChecked(true);
        return ModalResult::Ok;
    });
    EXPECT_TRUE(dialog.Execute(settings, fields));
    EXPECT_EQ(fields.COMno, 9);
    EXPECT_TRUE(settings.HeadUp);
}

TEST_F(GlobalDlgTest, TemplateWithoutPositionGetsOneOnOk)
{
    dialog.LogParse->setText("@t,@d");
    dialog.OKBtnClick();
    EXPECT_EQ(dialog.LogParse->text(), "@p:5,@t,@d");
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "You omitted position from the log format - it will be added!" });
    EXPECT_EQ(ui.shown().back().kind, "message:warning");

    // The expander takes "@P" as a position too; it once got a second one.
    ui.clear();
    dialog.LogParse->setText("@P:4,@d");
    dialog.OKBtnClick();
    EXPECT_EQ(dialog.LogParse->text(), "@P:4,@d");
    EXPECT_TRUE(ui.messages().empty());

    // No check while the last "COM" sentence carried no time.
    ComTimeZero = true;
    dialog.LogParse->setText("@t");
    dialog.OKBtnClick();
    EXPECT_EQ(dialog.LogParse->text(), "@t");
}

TEST_F(GlobalDlgTest, ChartShiftMovesTheChartKeepsPenUpsAndZeroesTheOffsetsUnlessRefused)
{
    ClearChartStore();
    ChartPointCount = 3;
    ChartPoints[1] = { rtl::Real6(250.0), rtl::Real6(1.0) }; // line type 1
    ChartPoints[2] = PenUpPoint;
    ChartPoints[3] = { rtl::Real6(50.5), rtl::Real6(1.5) };
    WaypointDbCount = 1;
    WaypointDbPoints[1] = { 50.0, 1.0 };
    dialog.LatOffs->setValue(600); // 0.01°
    dialog.LongOffs->setValue(-300); // -0.005°
    ui.answerNo();
    dialog.Cht2WGS84Click();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "No changes were made." });
    EXPECT_DOUBLE_EQ(ChartPoints[1].lat.value(), 250.0);
    EXPECT_EQ(dialog.LatOffs->value(), 600);

    ui.clear();
    ui.answerYes();
    ui.answerNo(); // not the waypoints
    dialog.Cht2WGS84Click();
    EXPECT_NEAR(ChartPoints[1].lat.value(), 249.99, 1e-9);
    EXPECT_NEAR(ChartPoints[1].lon.value(), 0.995, 1e-9);
    EXPECT_EQ(ChartPoints[2], PenUpPoint);
    EXPECT_NEAR(ChartPoints[3].lat.value(), 50.49, 1e-9);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lat, 50.0);
    EXPECT_EQ(dialog.LatOffs->value(), 0);
    EXPECT_EQ(dialog.LongOffs->value(), 0);
    EXPECT_EQ(ChartOffsetLat, 0.0);
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> {
            "Done - Click OK to redraw chart. Save the chart to update files on disk" });
    const std::vector<std::string> questions = { ui.shown()[0].text, ui.shown()[1].text };
    EXPECT_EQ(questions[0], "This will edit the chart! - Are you sure?");
    EXPECT_EQ(questions[1], "Do you want to process the chart waypoints too?");

    ui.clear();
    dialog.LatOffs->setValue(600);
    ui.answerYes(2);
    dialog.Cht2WGS84Click();
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lat, 49.99);
}

TEST_F(GlobalDlgTest, AverageButtonFillsSetAndDriftOrSaysWhy)
{
    dialog.Tset->setValue(45);
    dialog.AvTideClick();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "No tidal atlas or no route! Enter manual values." });
    EXPECT_EQ(ui.shown().back().kind, "message:error");
    EXPECT_EQ(dialog.Tset->value(), 45);

    CosLat = 1.0;
    CurLat = 50.0;
    CurLon = 1.0;
    RouteCount = 1;
    ActiveWaypoint = 1;
    RoutePoints[1] = { 51.0, 1.0 };
    TideStationCount = 1;
    TideStations[1] = { rtl::Real6(50.0), rtl::Real6(1.0) };
    for (int hour = 1; hour <= kTideHours; ++hour)
        TideStreams[1][hour] = TideFlow { 270, 23 };
    ui.clear();
    HoursToWaypoint = 0.5;
    dialog.AvTideClick();
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "Less than 1 hr to WP. Use nearest tide or enter manual values !" });
    EXPECT_EQ(dialog.Tset->value(), 0);
    EXPECT_EQ(dialog.TDrift->value(), 0);

    ui.clear();
    HoursToWaypoint = 5;
    dialog.AvTideClick();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(dialog.Tset->value(), 270);
    EXPECT_EQ(dialog.TDrift->value(), 23);
}

TEST(AlarmDialog, CancelLeavesTheFieldsAndTheClockOkWritesThemBack)
{
    platform::ScriptedUi ui;
    TAlarmDialog dialog;
    TAlarmSettings settings;
    TAlarmFields fields { 1, 1, 5, 2, 3, 4 };
    const auto change = [](QDialog& d) {
        auto& a = static_cast<TAlarmDialog&>(d);
        EXPECT_EQ(a.FixDeciSecs->value(), 5);
        a.FixSecs->setValue(30);
        a.UTCClock->setChecked(false);
    };
    ui.answerModal([&](QDialog& d) {
        change(d);
        return ModalResult::Cancel;
    });
    EXPECT_FALSE(dialog.Execute(settings, fields));
    EXPECT_EQ(fields, (TAlarmFields { 1, 1, 5, 2, 3, 4 }));
    EXPECT_TRUE(settings.UTCClock);
    ui.answerModal([&](QDialog& d) {
        change(d);
        return ModalResult::Ok;
    });
    EXPECT_TRUE(dialog.Execute(settings, fields));
    EXPECT_EQ(fields, (TAlarmFields { 1, 30, 5, 2, 3, 4 }));
    EXPECT_FALSE(settings.UTCClock);
}

} // namespace
