// The preferences and timing commands of the main window: what Cancel
// leaves, what OK applies to the program and its windows, the new log
// template through the dialog, and a setting that lasts across a restart.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "dialogs/ColorGrid.h"
#include "help/ContextHelp.h"
#include "help/HelpKeys.h"
#include "nav/LocalClock.h"
#include "platform/QtHint.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>

namespace
{

using platform::ModalResult;

LocalDateTime FixedNow()
{
    return LocalDateTime { .year = 2026, .month = 12, .day = 7, .hour = 9, .minute = 47 };
}

class MainSettingsTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetLocalClock(FixedNow);
        dir.makeFolder("logs");
    }
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }

    // Opens the preferences from the menu; `user` works the dialog.
    void Preferences(const std::function<ModalResult(TGlobalDlg&)>& user)
    {
        ui.answerModal([user](QDialog& d) { return user(static_cast<TGlobalDlg&>(d)); });
        MainForm->Global1->trigger();
    }

    // "Black on White" chosen on the colour page.
    static void BlackOnWhite(TGlobalDlg& d)
    {
        d.Defaults->setCurrentIndex(3);
        d.DefaultsClick();
    }
};

TEST_F(MainSettingsTest, CancelLeavesUnitsColoursTideAndTemplate)
{
    Start();
    const int32_t background = BackgroundColour;
    const std::string logTemplate = NmeaLogTemplate;
    Preferences([](TGlobalDlg& d) {
        // Units, colours and the manual tide once took effect at the click,
        // so Cancel kept them.
        d.Kilo->click();
        BlackOnWhite(d);
        d.ManTide->click();
        d.WPVoice->click();
        d.LogParse->setText("@t");
        d.COMno->setValue(9);
        return ModalResult::Cancel;
    });
    EXPECT_DOUBLE_EQ(DistanceFactor, 1.0);
    EXPECT_EQ(BackgroundColour, background);
    EXPECT_TRUE(ManualTideOff);
    EXPECT_EQ(NmeaLogTemplate, logTemplate);
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(GlobalSettings, TGlobalSettings {});
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainSettingsTest, OkAppliesToTheProgramAndItsWindows)
{
    Start();
    WpApproachPending = true;
    Preferences([](TGlobalDlg& d) {
        EXPECT_TRUE(d.Naut->isChecked());
        d.Kilo->click();
        d.PBspeed->setValue(4);
        d.KeepTextLog->setChecked(true);
        d.WPVoice->click();
        d.ManTide->click();
        d.Tset->setValue(45);
        d.TDrift->setValue(15);
        d.HWhour->setValue(3);
        d.HWMin->setValue(40);
        d.RepRate->setValue(5);
        return ModalResult::Ok;
    });
    EXPECT_DOUBLE_EQ(DistanceFactor, 1.852);
    EXPECT_EQ(AisPlaySpeed, 4);
    EXPECT_EQ(MainForm->AISplayTime->interval(), 1250);
    EXPECT_TRUE(TextLogOn);
    EXPECT_FALSE(MainForm->TxtLogOnOff->isChecked());
    EXPECT_EQ(platform::ls(Hint(MainForm->TxtLogOnOff)), "Press for Text Logs Off|");
    EXPECT_FALSE(WpApproachPending);
    EXPECT_FALSE(ManualTideOff);
    EXPECT_EQ(TideSet, 45);
    EXPECT_DOUBLE_EQ(TideDrift, 1.5);
    EXPECT_EQ(HWHour, 4);
    EXPECT_EQ(TideHour, 6); // 09:47 is hour 10, six after high water
    EXPECT_EQ(GlobalSettings.RepRate, 5);
    EXPECT_TRUE(GlobalSettings.WPVoice);

    // Switching text logging off puts the button down.
    Preferences([](TGlobalDlg& d) {
        d.KeepTextLog->setChecked(false);
        return ModalResult::Ok;
    });
    EXPECT_FALSE(TextLogOn);
    EXPECT_TRUE(MainForm->TxtLogOnOff->isChecked());
    EXPECT_EQ(platform::ls(Hint(MainForm->TxtLogOnOff)), "Release for Text Logs On|");
}

TEST_F(MainSettingsTest, PortChangeWhileTheInterfaceIsOpenWaitsForTheNextOpening)
{
    Start();
    NmeaOpen = true;
    FixNumber = 5;
    Preferences([](TGlobalDlg& d) {
        EXPECT_FALSE(d.Spoints->isEnabled());
        d.COMno->setValue(4);
        return ModalResult::Ok;
    });
    EXPECT_EQ(ComPort, 4);
    EXPECT_EQ(FixNumber, 5);
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> {
            "COM Port changes will not be applied until NMEA I/F is closed and re-opened !" });
    NmeaOpen = false;
}

TEST_F(MainSettingsTest, NewTemplateThroughTheDialogWithYesAndNo)
{
    Start();
    LogsFolder = app + "logs/";
    LogBaseName = "07-12-26";
    NmeaLogTemplate = NmeaLogTemplatePrev = "@f,@p";
    FixNumber = EventNumber = 3;
    const std::string logBefore = dir.read("logs/07-12-26.txt");

    ui.answerNo();
    Preferences([](TGlobalDlg& d) {
        EXPECT_EQ(d.LogParse->text(), "@f,@p");
        d.LogParse->setText("@t,@p");
        return ModalResult::Ok;
    });
    EXPECT_EQ(ui.shown().back().text, "Log format has changed ! Overwrite the log file ?");
    EXPECT_EQ(NmeaLogTemplate, "@f,@p");
    EXPECT_EQ(dir.read("logs/07-12-26.txt"), logBefore);
    EXPECT_EQ(FixNumber, 3);

    // Without a position the OK check adds one before the question.
    ui.clear();
    ui.answerYes();
    Preferences([](TGlobalDlg& d) {
        d.LogParse->setText("@t");
        return ModalResult::Ok;
    });
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "You omitted position from the log format - it will be added!" });
    EXPECT_EQ(NmeaLogTemplate, "@p:5,@t");
    EXPECT_EQ(NmeaLogTemplatePrev, "@p:5,@t");
    EXPECT_EQ(dir.read("logs/07-12-26.txt"), "Log Date : 07-12-26\r\n@p:5,@t\r\n");
    EXPECT_EQ(FixNumber, 0);
    EXPECT_EQ(EventNumber, 0);
}

TEST_F(MainSettingsTest, TimingOkSetsTheFixIntervalAndCancelLeavesIt)
{
    Start();
    const int interval = MainForm->FixTimer->interval();
    ui.answerModal([](QDialog& d) {
        auto& a = static_cast<TAlarmDialog&>(d);
        EXPECT_EQ(a.FixSecs->value(), 10);
        a.FixSecs->setValue(30);
        return ModalResult::Cancel;
    });
    MainForm->Alarms1->trigger();
    EXPECT_EQ(FixIntervalMs, 10000);
    EXPECT_EQ(MainForm->FixTimer->interval(), interval);

    ui.answerModal([](QDialog& d) {
        auto& a = static_cast<TAlarmDialog&>(d);
        a.FixMins->setValue(1);
        a.FixSecs->setValue(1);
        a.FixDeciSecs->setValue(5);
        a.TimeZone->setValue(2);
        a.AverageN->setValue(3);
        a.DrawN->setValue(4);
        a.UTCClock->setChecked(false);
        return ModalResult::Ok;
    });
    MainForm->TimeBtn->click();
    EXPECT_EQ(FixIntervalMs, 61500);
    EXPECT_EQ(MainForm->FixTimer->interval(), 61500);
    EXPECT_EQ(UtcHourOffset, 2);
    EXPECT_EQ(AverageN, 3);
    EXPECT_EQ(DrawEveryN, 4);
    EXPECT_FALSE(AlarmSettings.UTCClock);
}

TEST_F(MainSettingsTest, TimingRefusesAFixIntervalShorterThanASecondAndKeepsTheOneInForce)
{
    Start();
    ASSERT_EQ(FixIntervalMs, 10000);
    ui.clear();
    struct Row {
        int mins, secs, deciSecs;
        int32_t inForce; // the interval after OK
    };
    const Row rows[] = {
        { 0, 0, 0, 10000 }, // would stop the fix cycle
        { 0, 0, 9, 10000 },
        { 0, 1, 0, 1000 }, // the shortest
        { 0, 0, 0, 1000 },
    };
    for (const Row& row : rows) {
        ui.answerModal([&](QDialog& d) {
            auto& a = static_cast<TAlarmDialog&>(d);
            a.FixMins->setValue(row.mins);
            a.FixSecs->setValue(row.secs);
            a.FixDeciSecs->setValue(row.deciSecs);
            a.AverageN->setValue(3);
            return ModalResult::Ok;
        });
        MainForm->Alarms1->trigger();
        EXPECT_EQ(FixIntervalMs, row.inForce) << row.secs << "." << row.deciSecs;
        EXPECT_EQ(MainForm->FixTimer->interval(), row.inForce);
    }
    EXPECT_EQ(ui.messages(),
        (std::vector<std::string> { "The fix interval must be at least 1 second - it stays at 10.0 s",
            "The fix interval must be at least 1 second - it stays at 10.0 s",
            "The fix interval must be at least 1 second - it stays at 1.0 s" }));
    // The other settings of the dialog are taken.
    EXPECT_EQ(AverageN, 3);
}

TEST_F(MainSettingsTest, PagesCarryTheirHelpContexts)
{
    Start();
    const int contexts[] = { 90, 91, 93, 94, 95, 96, 97, 98, 99, 32 };
    for (int page = 0; page < kGlobalPageCount; ++page)
        EXPECT_EQ(help::HelpContextOf(GlobalDlg->Page(page)), contexts[page]) << page;
    EXPECT_EQ(help::HelpContextOf(AlarmDialog), 7);

    // The Help buttons ask for the page's context, and the dialog's.
    std::vector<intptr_t> asked;
    const help::HelpHandler previous
        = help::SetApplicationHelpHandler([&](uint16_t, intptr_t data, bool& callHelp) {
              asked.push_back(data);
              callHelp = false;
              return true;
          });
    GlobalDlg->TabSet->setCurrentIndex(4);
    GlobalDlg->HelpBtn->click();
    GlobalDlg->TabSet->setCurrentIndex(9);
    GlobalDlg->HelpBtn->click();
    AlarmDialog->HelpBtn->click();
    help::SetApplicationHelpHandler(previous);
    EXPECT_EQ(asked, (std::vector<intptr_t> { 95, 32, 7 }));
}

TEST_F(MainSettingsTest, ChartColoursChosenInTheDialogLastAcrossARestart)
{
    Start();
    FirstTick();
    Preferences([](TGlobalDlg& d) {
        BlackOnWhite(d);
        return ModalResult::Ok;
    });
    EXPECT_EQ(BackgroundColour, 0xFFFFFF);
    EXPECT_TRUE(TextIsFg);
    ui.answerYes();
    ASSERT_TRUE(MainForm->close());

    // zudeve.cfg lines 13 to 18: background and foreground colour, their
    // grid indices, the preset and the foreground switches.
    const std::string cfg = dir.read("zudeve.cfg");
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = cfg.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(cfg.substr(at, end - at));
    ASSERT_GE(lines.size(), 18u);
    EXPECT_EQ(lines[12], "16777215");
    EXPECT_EQ(lines[13], "0");
    EXPECT_EQ(lines[14], "0");
    EXPECT_EQ(lines[15], "15");
    EXPECT_EQ(lines[16], "3");
    EXPECT_EQ(lines[17], "111");

    FreeProgramForms();
    ResetNavState();
    GlobalSettings = {};
    Start();
    FirstTick();
    EXPECT_EQ(BackgroundColour, 0xFFFFFF);
    TMDIChild* view = MainForm->CreateChartView("harbour");
    MainForm->RefreshAllViews();
    EXPECT_EQ(view->Bitmap.pixelColor(2, 2), QColor(Qt::white));
    Preferences([](TGlobalDlg& d) {
        EXPECT_EQ(d.Defaults->currentIndex(), 3);
        EXPECT_EQ(d.GlobalColor->BackgroundIndex(), 15);
        EXPECT_TRUE(d.TextColourFG->isChecked());
        return ModalResult::Cancel;
    });
}

} // namespace
