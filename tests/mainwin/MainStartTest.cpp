// Start-up of the main window: which configuration it reads, the screen
// rules, the start values, and the first tick of the one-second clock that
// finishes the start.

#include "MainFormFixture.h"

#include "dialogs/AboutBox.h"
#include "dialogs/GlobalDlg.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QImage>
#include <QLabel>
#include <QToolButton>
#include <cstdlib>

namespace
{

TEST_F(MainFormTest, WithoutArgumentReadsZudeveCfgAndHasNoConfigName)
{
    WriteConfig("zudeve.cfg", [] { BrowserPath = "from zudeve"; });
    WriteConfig("boat.cfg", [] { BrowserPath = "from boat"; });
    Start();
    EXPECT_EQ(MainForm->StartConfigPath(), app + "zudeve.cfg");
    EXPECT_EQ(BrowserPath, "from zudeve");
    EXPECT_EQ(ConfigName, "");
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(MainFormTest, ArgumentNamesConfigurationInApplicationFolder)
{
    WriteConfig("zudeve.cfg", [] { BrowserPath = "from zudeve"; });
    WriteConfig("boat.cfg", [] { BrowserPath = "from boat"; });
    Start({ "boat.cfg" });
    EXPECT_EQ(MainForm->StartConfigPath(), app + "boat.cfg");
    EXPECT_EQ(BrowserPath, "from boat");
    EXPECT_EQ(ConfigName, "boat");
}

TEST_F(MainFormTest, ArgumentIsNamedUpToTheLastDotOfItsFileName)
{
    WriteConfig("boat.v2.cfg", [] { BrowserPath = "from boat.v2"; });
    Start({ ".\\boat.v2.cfg" });
    EXPECT_EQ(MainForm->StartConfigPath(), app + "./boat.v2.cfg");
    EXPECT_EQ(BrowserPath, "from boat.v2");
    EXPECT_EQ(ConfigName, "boat.v2");
}

TEST_F(MainFormTest, ArgumentWithoutDotGivesEmptyConfigName)
{
    WriteConfig("zudeve.cfg", [] { BrowserPath = "from zudeve"; });
    Start({ "boatcfg" });
    EXPECT_EQ(ConfigName, "");
    // No such file: the configuration defaults, not zudeve.cfg.
    EXPECT_EQ(BrowserPath, "");
    EXPECT_EQ(CurrentChartName, "world");
}

TEST_F(MainFormTest, WideScreenViewIsCutToFourByThree)
{
    Start({}, QSize(1920, 1080));
    EXPECT_EQ(ViewImageWidth, 1920);
    EXPECT_EQ(ViewImageHeight, 1440);
    EXPECT_DOUBLE_EQ(AreaPixelScale, (600.0 / 1080) * (600.0 / 1080));
    // The configuration is read after the screen size is known.
    EXPECT_EQ(PixelsPerDegLon, 165); // 1920 / 640 × 55
}

TEST_F(MainFormTest, FourByThreeAndNarrowerScreensKeepTheirHeight)
{
    Start({}, QSize(1024, 768));
    EXPECT_EQ(ViewImageHeight, 768);
    EXPECT_DOUBLE_EQ(AreaPixelScale, (600.0 / 768) * (600.0 / 768));
    FreeProgramForms();
    Start({}, QSize(1280, 1024));
    EXPECT_EQ(ViewImageHeight, 1024);
}

TEST_F(MainFormTest, LogsFolderThatCannotBeWrittenIsSaidOnceOnTheStatusLine)
{
    WriteConfig("zudeve.cfg", [this] { LogsFolder = app + "gone/"; });
    Start();
    EXPECT_EQ(MainForm->StatusLine->text().toStdString(), "Cannot write today's logs in " + app + "gone/");
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(MainFormTest, StartValuesAndFolders)
{
    WriteConfig("zudeve.cfg", [] {
        VesselLength = 55;
        VesselBeam = 3.5;
        AverageN = 4;
        HWHour = 3; // not in the configuration
    });
    Start();

    EXPECT_EQ(AppFolder, app);
    EXPECT_EQ(ChartsFolder, app + "charts/");
    EXPECT_EQ(LogsFolder, app + "logs/");
    EXPECT_EQ(MainForm->OpenChtDialog.initialFolder, app + "charts/");
    EXPECT_EQ(MainForm->SaveDialog1.initialFolder, app + "charts/");
    EXPECT_EQ(MainForm->OpenRteDialog.initialFolder, app + "routes/");
    EXPECT_EQ(MainForm->OpenTideDlg.initialFolder, app + "tides/");
    EXPECT_EQ(MainForm->OpenConfigDlg.initialFolder, app);
    EXPECT_EQ(MainForm->SaveConfig.initialFolder, app);
    EXPECT_EQ(MainForm->OpenLogDialog.initialFolder, app + "logs/");
    EXPECT_EQ(MainForm->OpenAISdlg.initialFolder, app + "logs/");

    // Vessel values are set after the configuration and override it; the
    // averaging comes from the configuration.
    EXPECT_EQ(VesselLength, 100);
    EXPECT_EQ(VesselBeam, 20.0);
    EXPECT_EQ(AverageN, 4);
    EXPECT_EQ(HWHour, 12);
    EXPECT_EQ(StandardPort, "No tidal atlas !");
    EXPECT_EQ(LayerFlags, "**********");
    EXPECT_EQ(ThinStep, 2);
    EXPECT_EQ(ThinIndex, 2);
    EXPECT_EQ(DrawEveryN, 1);
    EXPECT_EQ(DataTrendStart, -6);
    EXPECT_EQ(ViewRotationCos, 1.0);
    EXPECT_TRUE(ManualTideOff);
    EXPECT_TRUE(RouteGuidanceOn);
    EXPECT_FALSE(OutBOD);
    EXPECT_FALSE(ChartEditable);
    EXPECT_FALSE(NmeaOpen);
    EXPECT_EQ(NavSpeed, ManualSpeed);
    EXPECT_EQ(CurrentYear, QDate::currentDate().year());
    EXPECT_EQ(MainForm->Trip->text(), "0.00 Nm");

    EXPECT_EQ(AisPlaySpeed, 10);
    EXPECT_EQ(MainForm->AISplayTime->interval(), 500);
    EXPECT_FALSE(MainForm->AISplayTime->running());
    EXPECT_FALSE(MainForm->FixTimer->enabled());
    EXPECT_EQ(MainForm->FixTimer->interval(), 0);
    EXPECT_TRUE(MainForm->SecsTimer->running());
    EXPECT_EQ(MainForm->SecsTimer->interval(), 1000);
    EXPECT_TRUE(MainForm->FirstTickPending);

    EXPECT_TRUE(MainForm->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(MainForm->MDIChildCount(), 0);
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(MainFormTest, AutoStartMarksInterfaceOpenBeforeThePortIsOpened)
{
    WriteConfig("zudeve.cfg", [] {
        NmeaStartMode = "Auto";
        DRMode = true;
    });
    Start();
    EXPECT_TRUE(NmeaOpen);
    EXPECT_TRUE(MainForm->Nserver->isChecked());
    EXPECT_FALSE(DRMode);
    EXPECT_FALSE(MainForm->DRMode1->isChecked());
    EXPECT_EQ(Hint(MainForm->NMEAServerOnOff), "Close NMEA iterface|");
}

TEST_F(MainFormTest, DeadReckoningFromConfigurationEndsAtFirstTickWithoutRoute)
{
    WriteConfig("zudeve.cfg", [] {
        DRMode = true;
        FixIntervalMs = 4000;
    });
    Start();
    EXPECT_TRUE(DRMode);
    EXPECT_TRUE(MainForm->DRMode1->isChecked());
    EXPECT_EQ(MainForm->StatusLine->text(), "Dead Reckoning Mode !");
    EXPECT_EQ(MainForm->FixTimer->interval(), 4000);

    FirstTick();
    EXPECT_FALSE(DRMode);
    EXPECT_FALSE(MainForm->DRMode1->isChecked());
    EXPECT_EQ(MainForm->StatusLine->text(), "");
    EXPECT_EQ(MainForm->FixTimer->interval(), 0);
    EXPECT_FALSE(MainForm->FixTimer->enabled());
}

TEST_F(MainFormTest, FirstTickRunsDeferredStartOnceAndLaterTicksOnlyTheirDuties)
{
    WriteConfig("zudeve.cfg", [] {
        CurrentChartName = "harbour";
        BrowserPath = "viewer";
        TextIsFg = true;
        TideIsFg = true;
    });
    dir.write("charts/harbour.cht", std::string("\x81\0\0\0\0\x80\x81\0\0\0\0\x80", 12)); // end marker only
    Start();
    BrowserPath = "changed since";

    // The clock ticks on, fast here, while the about box waits for the user.
    QDialog* shownBox = nullptr;
    bool clockWentOn = false;
    ui.answerModal([&](QDialog& box) {
        shownBox = &box;
        MainForm->TimePanel->clear();
        clockWentOn = kvtest::WaitFor([] { return !MainForm->TimePanel->text().isEmpty(); }, 2000);
        return platform::ModalResult::Cancel;
    });
    MainForm->SecsTimer->setInterval(20);
    ASSERT_TRUE(kvtest::WaitFor([&] { return shownBox != nullptr; }));
    MainForm->SecsTimer->setEnabled(false);

    EXPECT_TRUE(clockWentOn);
    EXPECT_FALSE(MainForm->FirstTickPending);
    EXPECT_EQ(shownBox, AboutBox);
    EXPECT_EQ(BrowserPath, "viewer"); // read again
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, app + "charts/harbour.cht");
    EXPECT_EQ(MainForm->SaveDialog1.fileName, app + "charts/harbour.cht");
    EXPECT_TRUE(MainForm->LoadLayers);
    EXPECT_TRUE(GlobalSettings.TextColourFG);
    EXPECT_FALSE(GlobalSettings.TrackColourFG);
    EXPECT_TRUE(GlobalSettings.TideColourFG);
    EXPECT_FALSE(MainForm->TimePanel->text().isEmpty());
    EXPECT_EQ(ShownKinds(), (std::vector<std::string> { "message:information", "modal:TAboutBox" }));

    // A second tick neither reads the configuration nor shows the box (an
    // unexpected box would fail the test).
    BrowserPath = "changed again";
    MainForm->TimePanel->clear();
    MainForm->SecsTimerTimer();
    EXPECT_EQ(BrowserPath, "changed again");
    EXPECT_FALSE(MainForm->TimePanel->text().isEmpty());
    EXPECT_EQ(ui.shown().size(), 2u);
}

TEST_F(MainFormTest, AutoStartWithMissingPortWarnsAndStillMarksInterfaceOpen)
{
    const std::string device = dir.file("no-such-port");
    setenv("KORVEX_COM1", device.c_str(), 1);
    WriteConfig("zudeve.cfg", [] {
        NmeaStartMode = "Auto";
        ComPort = 1;
        FixIntervalMs = 2500;
    });
    Start();
    FirstTick();
    unsetenv("KORVEX_COM1");
    // The configuration names no chart, which the start reports first.
    EXPECT_EQ(ui.messages(),
        (std::vector<std::string> {
            "Chart File missing or not found in local chart directory. KV Velta goes on with an empty chart: "
            "open one with File > Open File > Charts (F3).",
            "COM Port not availible or does not exist! Click OK and try Again" }));
    // Marked open all the same: each fix tick then reports the missing data.
    EXPECT_TRUE(NmeaOpen);
    EXPECT_TRUE(MainForm->Nserver->isChecked());
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isChecked());
    EXPECT_EQ(Hint(MainForm->NMEAServerOnOff), "Close NMEA interface|");
    EXPECT_TRUE(MainForm->FixTimer->running());
    EXPECT_EQ(MainForm->FixTimer->interval(), 2500);
    EXPECT_FALSE(MainForm->PlayAISlog->isEnabled());
    // The about box still ends the start.
    EXPECT_EQ(ShownKinds().back(), "modal:TAboutBox");
}

TEST_F(MainFormTest, ChangedRouteRefillsWaypointListOnNextTick)
{
    Start();
    FirstTick();
    AddView();
    RouteCount = 3;
    RouteNames[1] = "Needles Fairway Buoy 12345678";
    RouteNames[2] = "Hurst";
    RouteNames[3] = "Yarmouth";
    RouteChanged = true;
    KeepRouteSelection = false;
    MainForm->SecsTimerTimer();

    ASSERT_EQ(MainForm->WPName->count(), 3);
    EXPECT_EQ(MainForm->WPName->itemText(0), "Needles Fairway Buoy 123");
    EXPECT_EQ(MainForm->WPName->itemText(2), "Yarmouth");
    EXPECT_EQ(ActiveWaypoint, 3);
    EXPECT_EQ(MainForm->WPName->currentIndex(), 2);
    EXPECT_FALSE(RouteChanged);
    EXPECT_TRUE(MainForm->SaveBtn->isEnabled());
    EXPECT_TRUE(MainForm->SaveRouteAs1->isEnabled());

    RouteCount = 2;
    ActiveWaypoint = 1;
    KeepRouteSelection = true;
    RouteChanged = true;
    MainForm->SecsTimerTimer();
    EXPECT_EQ(MainForm->WPName->count(), 2);
    EXPECT_EQ(MainForm->WPName->currentIndex(), 0);
    EXPECT_EQ(ActiveWaypoint, 1);

    RouteCount = 0;
    RouteChanged = true;
    MainForm->SecsTimerTimer();
    EXPECT_EQ(MainForm->WPName->count(), 0);
    EXPECT_FALSE(MainForm->SaveBtn->isEnabled());
    EXPECT_FALSE(MainForm->SaveRouteAs1->isEnabled());
}

TEST_F(MainFormTest, TextLogButtonBlinksWhileDownAndIgnoresMissingGlyphs)
{
    Start();
    FirstTick();
    auto glyphWidth = [] {
        const QList<QSize> sizes = MainForm->TxtLogOnOff->icon().availableSizes();
        return sizes.isEmpty() ? 0 : sizes.front().width();
    };
    // Without glyph files nothing changes and nothing fails.
    MainForm->SecsTimerTimer();
    EXPECT_EQ(glyphWidth(), 0);

    QImage(8, 8, QImage::Format_RGB32).save(QString::fromStdString(app + "TLG.bmp"));
    QImage(12, 12, QImage::Format_RGB32).save(QString::fromStdString(app + "TLG2.bmp"));
    TextLogOn = false;
    MainForm->UpdateMenuItems(); // the button goes down
    ASSERT_TRUE(MainForm->TxtLogOnOff->isChecked());
    std::vector<int> widths;
    for (int i = 0; i < 4; ++i) {
        MainForm->SecsTimerTimer();
        widths.push_back(glyphWidth());
    }
    EXPECT_NE(widths[0], widths[1]);
    EXPECT_EQ(widths[0], widths[2]);
    EXPECT_EQ(widths[1], widths[3]);

    TextLogOn = true;
    MainForm->UpdateMenuItems();
    MainForm->SecsTimerTimer();
    EXPECT_EQ(glyphWidth(), 8);
    MainForm->SecsTimerTimer();
    EXPECT_EQ(glyphWidth(), 8);
}

TEST_F(MainFormTest, TenFormsInTheirOrderWithTheirCaptions)
{
    Start();
    std::vector<std::pair<std::string, std::string>> forms;
    for (QObject* child : MainForm->children())
        if (auto* form = qobject_cast<QDialog*>(child))
            forms.emplace_back(form->metaObject()->className(), form->windowTitle().toStdString());
    const std::vector<std::pair<std::string, std::string>> expected {
        { "TAlarmDialog", "Timing Functions" },
        { "TView_ZoomDlg", "View and Zoom Properties" },
        { "TAboutBox", "About KV AIS Velta" },
        { "TWPeditDlg", "Edit Nearest Waypoint" },
        { "TGlobalDlg", "Preferences" },
        { "TCTRef", "Image Reference Information" },
        { "TCviewer", "Raster Image Viewer" },
        { "TOKRightDlg", "Edit Selected Route Waypoint" },
        { "TAISInfo", "AIS Target Data" },
    };
    EXPECT_EQ(forms, expected);
    EXPECT_STREQ(MainForm->metaObject()->className(), "TMainForm");
}

} // namespace
