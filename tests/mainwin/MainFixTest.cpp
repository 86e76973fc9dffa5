// The fix cycle as the main window runs it: the track store and its daily
// file, the datum shift, the trip, the navigation panel with its gauge, the
// end of the route, heading-up, re-centring of the views that follow the
// vessel, and the commands around the cycle.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "dialogs/GlobalDlg.h"
#include "mainwin/FixCycle.h"
#include "mainwin/NeedleGauge.h"
#include "nav/LocalClock.h"
#include "nav/TrackLog.h"
#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/TextFile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <numbers>
#include <sys/resource.h>

namespace
{

constexpr double kDeg = std::numbers::pi / 180.0;
const std::string kDegreeSign = "\xB0";

// The PC clock of the tests: 7 March 2026, from 03:40 local time on, one
// hour on at every fix of Fix().
int gClockHour = 3;

LocalDateTime TestNow()
{
    LocalDateTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 7;
    t.hour = gClockHour;
    t.minute = 40;
    return t;
}

class MainFixTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        gClockHour = 3;
        SetLocalClock(TestNow);
        dir.makeFolder("logs");
        Start();
        LogsFolder = app + "logs/";
        ManualSpeed = 6.0;
        LogCount = 0;
        RouteCount = 0;
        ActiveWaypoint = 0;
    }
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }

    // A GPS fix at (lat, lon), west positive; the clock moves on an hour.
    static void Fix(double lat, double lon)
    {
        FixStatus = "$GPGGA";
        CurLat = lat;
        CurLon = lon;
        MainForm->FixBtnClick();
        ++gClockHour;
    }

    // Waypoint 1 due north of the track along longitude 1 W; waypoint 2 beyond it.
    static void SetRoute()
    {
        RoutePoints[1] = { 50.1, 1.0 };
        RouteNames[1] = "Bar Buoy                19   ";
        RoutePoints[2] = { 50.2, 1.0 };
        RouteNames[2] = "Harbour Mouth           19   ";
        RouteCount = 2;
        MainForm->WPName->addItem("Bar Buoy");
        MainForm->WPName->addItem("Harbour Mouth");
        RouteGuidanceOn = true;
        XteRefCourse = 0.0;
        XteDeadband = 0.05;
    }

    static std::string Text(const QLabel* label) { return platform::ls(label->text()); }
};

TEST_F(MainFixTest, FixesGoIntoTheTrackAndTheDailyTrackLog)
{
    Fix(50.0, 1.0);
    EXPECT_NEAR(static_cast<double>(LogRecords[1].time), 220.0, 1e-6); // 03:40 from the PC clock
    EXPECT_EQ(FixTimeText, "034000");
    EXPECT_EQ(TideHour, 5); // 03:40 with high water at 12: 4 - 12 + 13
    Fix(50.1, 1.0);
    ASSERT_EQ(LogCount, 2);
    EXPECT_NEAR(static_cast<double>(LogRecords[2].lat), 50.1, 1e-9);
    EXPECT_EQ(LogDateText, "07-03-26");

    const std::string bytes = dir.read("logs/07-03-26.log");
    EXPECT_EQ(bytes, EncodeTrackLog());

    // The trip: 6 nm made good in the hour. Without a route the panel shows
    // speed and course only.
    EXPECT_EQ(Text(MainForm->Trip), "6.00 Nm");
    EXPECT_EQ(Text(MainForm->SpeedOG), "6.00 Kn");
    EXPECT_EQ(Text(MainForm->CourseOG), "000" + kDegreeSign + "T");
    EXPECT_EQ(Text(MainForm->RngToWp), "");
}

// A logs folder typed without its closing '/' is still the folder: the
// day's track log goes inside it, not beside it as "logs07-03-26.log".
TEST_F(MainFixTest, LogsFolderTypedWithoutItsSeparatorStillHoldsTheDaysTrackLog)
{
    LogsFolder = app + "logs";
    Fix(50.0, 1.0);
    Fix(50.1, 1.0);
    EXPECT_EQ(dir.read("logs/07-03-26.log"), EncodeTrackLog());
    EXPECT_FALSE(std::filesystem::exists(app + "logs07-03-26.log"));
}

// Logs that cannot be written, in a missing folder or on a full disk (a
// file-size limit): each log says so in one box, then on the status line,
// and a dozen fixes go on into the track.
TEST_F(MainFixTest, UnwritableLogsGiveOneBoxPerLogNotOnePerFix)
{
    for (const bool fullDisk : { false, true }) {
        SCOPED_TRACE(fullDisk ? "full disk" : "missing folder");
        ui.clear();
        LogCount = 0;
        LogsFolder = app + (fullDisk ? "logs/" : "gone/");
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit full = old;
        full.rlim_cur = 64;
        if (fullDisk)
            ::setrlimit(RLIMIT_FSIZE, &full);
        for (int i = 0; i < 12; ++i) {
            MainForm->StatusLine->clear();
            Fix(50.0 + i * 0.01, 1.0);
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(ui.messages(),
            (std::vector<std::string> { "Error writing Log File!", "Error Writing Text Log" }));
        EXPECT_EQ(Text(MainForm->StatusLine), "Error Writing Text Log");
        EXPECT_EQ(LogCount, 12);

        // Written again: the next failure is a box again.
        LogsFolder = app + "logs/";
        Fix(50.2, 1.0);
        EXPECT_EQ(dir.read("logs/07-03-26.log"), EncodeTrackLog());
    }
}

TEST_F(MainFixTest, ManualFixOnAShiftedChartStoresTheGpsDatumAndStaysPut)
{
    ChartOffsetLat = 0.01;
    ChartOffsetLon = 0.02;
    FixStatus = "MAN";
    CurLat = 50.01; // where the user put it on the chart
    CurLon = 1.02;
    MainForm->FixBtnClick();
    EXPECT_NEAR(static_cast<double>(LogRecords[1].lat), 50.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(LogRecords[1].lon), 1.04, 1e-9);
    EXPECT_NEAR(CurLat, 50.01, 1e-12);
    EXPECT_NEAR(CurLon, 1.02, 1e-12);

    // A GPS position is stored as it came and moved onto the chart datum.
    Fix(50.0, 1.0);
    EXPECT_NEAR(static_cast<double>(LogRecords[2].lat), 50.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(LogRecords[2].lon), 1.0, 1e-9);
    EXPECT_NEAR(CurLat, 50.01, 1e-12);
    EXPECT_NEAR(CurLon, 0.98, 1e-12);
}

TEST_F(MainFixTest, ReadoutAndGaugeOnEitherSideOfTheTrack)
{
    SetRoute();
    ActiveWaypoint = 1;
    // 0.12 nm is 0.00312 degrees of longitude at 50.05 N.
    Fix(49.9, 0.99688);
    // 0.12 nm east of the track heading north: steer left, red.
    Fix(50.0, 0.99688);
    EXPECT_NEAR(XTE, 0.12, 0.005);
    EXPECT_EQ(MainForm->XTerror->progress(), -12);
    EXPECT_EQ(platform::BgrFromQColor(MainForm->XTerror->backColor()), kGaugeRed);
    EXPECT_EQ(platform::ls(Hint(MainForm->XTerror)), "XTE = 0.12|");
    EXPECT_EQ(Text(MainForm->XTEScale), "x 0.1 NM");
    EXPECT_EQ(Text(MainForm->BearingToWP), "359" + kDegreeSign + "T");
    EXPECT_EQ(Text(MainForm->CourseOG), "000" + kDegreeSign + "T");
    EXPECT_EQ(Text(MainForm->SpeedOG), "6.00 Kn");
    EXPECT_EQ(Text(MainForm->RngToWp), "6.00 Nm ");
    EXPECT_EQ(MainForm->WPName->currentIndex(), 0);

    // West of the track: steer right, lime.
    Fix(50.0, 1.00312);
    EXPECT_EQ(MainForm->XTerror->progress(), 12);
    EXPECT_EQ(platform::BgrFromQColor(MainForm->XTerror->backColor()), kGaugeLime);

    // Inside the dead band: white.
    XteDeadband = 0.5;
    Fix(50.0, 1.00312);
    EXPECT_EQ(platform::BgrFromQColor(MainForm->XTerror->backColor()), kGaugeWhite);
}

TEST_F(MainFixTest, EndOfRoutePromptsForTheNextWaypoint)
{
    SetRoute();
    ActiveWaypoint = 3; // past the last waypoint
    Fix(50.2, 1.0);
    Fix(50.3, 1.0);
    EXPECT_EQ(Text(MainForm->StatusLine), "Select Next Waypoint!");
    EXPECT_TRUE(MainForm->SelectVoicePending);
    EXPECT_EQ(platform::ls(Hint(MainForm->WPName)), "End of route !|");
    EXPECT_EQ(MainForm->WPName->currentIndex(), -1);
    EXPECT_EQ(Text(MainForm->RngToWp), "");
    EXPECT_EQ(MainForm->XTerror->progress(), 0);
    EXPECT_EQ(platform::BgrFromQColor(MainForm->XTerror->backColor()), kGaugeWhite);
    EXPECT_EQ(Text(MainForm->CourseOG), "000" + kDegreeSign + "T");
    EXPECT_EQ(ActiveWaypoint, 3);
}

TEST_F(MainFixTest, EndOfRouteReversesOrRepeatsTheRoute)
{
    SetRoute();
    RoutePoints[3] = { 50.3, 1.0 };
    RouteNames[3] = "Pier Head               19   ";
    RouteCount = 3;
    MainForm->WPName->addItem("Pier Head");

    GlobalSettings.NormalMode = false;
    GlobalSettings.Reverse = true;
    ActiveWaypoint = 4;
    Fix(50.3, 1.0);
    Fix(50.35, 1.0);
    EXPECT_TRUE(ReverseRoute);
    EXPECT_TRUE(GlobalSettings.RevRoute);
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_EQ(MainForm->WPName->currentIndex(), 1);
    EXPECT_NEAR(XteRefCourse, 180.0, 1e-6);
    EXPECT_NE(Text(MainForm->StatusLine), "Select Next Waypoint!");

    GlobalSettings.Reverse = false;
    GlobalSettings.RepRoute = true;
    ActiveWaypoint = 0; // the reversed run ended at waypoint 1
    ArrivedWaypoint = 1;
    Fix(50.0, 1.0);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(MainForm->WPName->currentIndex(), 0);
}

TEST_F(MainFixTest, HeadingUpTurnsTheViewsToTheCourseMadeGood)
{
    GlobalSettings.HeadUp = true;
    GlobalSettings.HUPdeadB = 10;
    Fix(50.0, 1.0);
    EXPECT_EQ(ViewRotation, 0.0); // one record gives course 0: north up, as it was
    Fix(50.0, 0.9); // due east
    EXPECT_NEAR(ViewRotation, 270 * kDeg, 1e-12);
}

TEST_F(MainFixTest, ViewsFollowingTheVesselAreRecentred)
{
    TMDIChild* following = MainForm->CreateChartView("harbour");
    following->FAutoRecentre = true;
    TMDIChild* still = MainForm->CreateChartView("harbour");
    still->FShowTrack = false;
    DrawEveryN = 1;
    Fix(50.0, 1.0);
    EXPECT_NE(following->FCursorLat, 50.0); // the first fix only counts
    Fix(50.1, 1.0);
    EXPECT_NEAR(following->FCursorLat, 50.1, 1e-9); // from the redraw's newest track record
    EXPECT_EQ(still->FCursorLat, 0.0);
}

TEST_F(MainFixTest, DeadReckoningStepsAlongTheLegFromTheLastRecord)
{
    SetRoute();
    ActiveWaypoint = 1;
    FixIntervalMs = 600000; // ten minutes
    Fix(50.0, 1.0);
    MainForm->DRMode1Click();
    EXPECT_TRUE(DRMode);
    EXPECT_EQ(MainForm->FixTimer->interval(), 600000);
    EXPECT_EQ(Text(MainForm->StatusLine), "Dead Reckoning Mode !");

    MainForm->FixBtnClick();
    EXPECT_NEAR(static_cast<double>(LogRecords[2].lat), 50.0 + 1.0 / 60.0, 1e-6); // one mile north
    EXPECT_EQ(FixStatus, "DR");
    EXPECT_EQ(Text(MainForm->GPSIndicator), "DR");
    EXPECT_EQ(
        platform::BgrFromQColor(MainForm->GPSIndicator->palette().color(QPalette::WindowText)), 0x0000FFu);

    MainForm->DRMode1Click();
    EXPECT_FALSE(DRMode);
    EXPECT_EQ(MainForm->FixTimer->interval(), 0);
    EXPECT_EQ(Text(MainForm->GPSIndicator), "");
    EXPECT_EQ(Text(MainForm->StatusLine), "");
}

TEST_F(MainFixTest, TripResetAsksFirst)
{
    TripTotal = 3.5;
    MainForm->Trip->setText("3.50 Nm");
    ui.answerNo();
    MainForm->TripDblClick();
    EXPECT_EQ(TripTotal, 3.5);
    ui.answerYes();
    MainForm->TripDblClick();
    EXPECT_EQ(TripTotal, 0.0);
    EXPECT_EQ(TripLeg, 0.0);
    EXPECT_EQ(Text(MainForm->Trip), "0.00 Nm");
    ASSERT_EQ(ui.shown().size(), 2u);
    EXPECT_EQ(ui.shown()[1].text, "Reset the trip distance - Are you sure?");
}

TEST_F(MainFixTest, PositionPanelAndRawNmeaCommands)
{
    CurLat = 50.123456;
    CurLon = 1.5; // west
    MainForm->PosnPanelClick();
    EXPECT_EQ(
        Text(MainForm->StatusLine), "50.12346" + kDegreeSign + " -1.50000" + kDegreeSign + " (S/W -ve)");
    MainForm->StatusLine->clear();
    GridDisplay = true;
    MainForm->PosnPanelClick();
    EXPECT_EQ(Text(MainForm->StatusLine), "");

    const bool format = AltPositionFormat;
    MainForm->PosnPanelDblClick();
    EXPECT_EQ(AltPositionFormat, !format);

    MainForm->ShowNMEAClick();
    EXPECT_TRUE(MainForm->ShowNMEA->isChecked());
    MainForm->StatusLine->setText("$GPGGA,...");
    MainForm->ShowNMEAClick();
    EXPECT_FALSE(MainForm->ShowNMEA->isChecked());
    EXPECT_EQ(Text(MainForm->StatusLine), "");
}

TEST_F(MainFixTest, MenuItemsAndPanelClicksRunTheirCommandsOnce)
{
    MainForm->DRMode1->setEnabled(true); // as with a route in a view
    MainForm->DRMode1->trigger();
    EXPECT_TRUE(DRMode);
    EXPECT_TRUE(MainForm->DRMode1->isChecked());
    MainForm->ShowNMEA->trigger();
    EXPECT_TRUE(MainForm->ShowNMEA->isChecked());

    auto click = [](QWidget* panel, QEvent::Type type) {
        QMouseEvent e(type, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(panel, &e);
    };
    ui.answerNo();
    click(MainForm->Trip, QEvent::MouseButtonDblClick);
    EXPECT_EQ(ui.shown().back().text, "Reset the trip distance - Are you sure?");
    GridDisplay = false;
    CurLat = 1.0;
    CurLon = 2.0;
    click(MainForm->PosnPanel, QEvent::MouseButtonRelease);
    EXPECT_EQ(Text(MainForm->StatusLine), "1.00000" + kDegreeSign + " -2.00000" + kDegreeSign + " (S/W -ve)");
}

TEST_F(MainFixTest, SurveyTrackResetStopsThePlotInEveryView)
{
    TMDIChild* view = MainForm->CreateChartView("harbour");
    CurLat = 50.2;
    CurLon = 1.1;
    MainForm->SurveyTrack1Click();
    EXPECT_FALSE(view->FPlotSurveyLog);
    EXPECT_EQ(view->FCursorLat, 50.2);
    EXPECT_EQ(view->FCursorLon, 1.1);
}

} // namespace
