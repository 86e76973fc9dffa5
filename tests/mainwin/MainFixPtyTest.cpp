// The fix cycle end to end: GGA sentences along a route go into a
// pseudo-terminal that stands in for COM4, each fix tick runs the cycle, and
// the autopilot sentences come back out of the same port; the day's track
// log holds the fixes, and what the views do leaves every sentence alone.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/SpinButton.h"
#include "chartwin/ViewList.h"
#include "nav/LocalClock.h"
#include "nav/NmeaTemplate.h"
#include "nav/TrackLog.h"
#include "platform/QtTimer.h"
#include "rtl/TextFile.h"
#include "serial/SerPort.h"
#include "support/AisSentences.h"
#include "support/PtyPair.h"
#include "support/QtWait.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>

namespace
{

class FixPtyTest : public MainFormTest
{
protected:
    // COM4 is the pseudo-terminal; the fix timer is left to the test, NMEA
    // output (XTE and APB) is on, and the route is one waypoint 6' north of
    // the start on the meridian of 1° W.
    void StartOnARouteWithAnAutopilot(
        kvtest::PtyPair& autopilot, const std::function<void()>& more = [] {})
    {
        dir.makeFolder("logs");
        autopilot.MapAs(4);
        WriteConfig("zudeve.cfg", [&] {
            ComPort = 4;
            BaudRate = 4800;
            FixIntervalMs = 3600000;
            ManualSpeed = 6.0;
            NmeaOutputOn = true;
            OutXTE = OutAPB = true;
            OutHSC = OutBOD = OutUser = false;
            more();
        });
        Start();
        MainForm->SecsTimer->setEnabled(false);
        MainForm->CreateChartView("harbour");
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        CosLat = 1.0;
        RoutePoints[1] = { 50.1, 1.0 };
        RouteNames[1] = "Outer Spit              19   ";
        RouteCount = 1;
        ActiveWaypoint = 1;
        XteRefCourse = 0.0;
        RouteGuidanceOn = true;
        UtcHourOffset = 0;
    }
};

TEST_F(FixPtyTest, SentencesAlongARouteBringAutopilotSentencesBackAndFillTheTrackLog)
{
    SetLocalClock([] {
        LocalDateTime t;
        t.year = 2026;
        t.month = 3;
        t.day = 7;
        t.hour = 13;
        return t;
    });
    kvtest::PtyPair autopilot;
    StartOnARouteWithAnAutopilot(autopilot);

    struct Step {
        const char* gga;
        const char* sent; // what the autopilot receives after this fix
    };
    const Step steps[] = {
        // The first fix makes no leg yet: nothing is sent.
        { "$GPGGA,120000,5000.000,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,*6C", "" },
        { "$GPGGA,120100,5000.600,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,*6B",
            "$ECXTE,A,A,0.00,R,N,A*0C\r\n"
            "$ECAPB,A,A,0.00,R,N,,,,,OUTER,000,T,000,T,A*63\r\n" },
        // 0.12 nm east of the track: steer left.
        { "$GPGGA,120200,5001.200,N,00059.880,W,1,08,1.0,10.0,M,47.0,M,,*60",
            "$ECXTE,A,A,0.12,L,N,A*11\r\n"
            "$ECAPB,A,A,0.12,L,N,,,,,OUTER,359,T,359,T,A*7E\r\n" },
    };
    for (const Step& step : steps) {
        const std::string expected = step.sent;
        EXPECT_EQ(FixThrough(autopilot, step.gga, expected.size()), expected) << step.gga;
    }

    // The track log of the day, the fixes stamped with the sentences' UTC times.
    ASSERT_EQ(LogCount, 3);
    const std::string bytes = dir.read("logs/07-03-26.log");
    EXPECT_EQ(bytes, EncodeTrackLog());
    ResetNavState();
    DecodeTrackLog(bytes);
    ASSERT_EQ(LogCount, 3);
    EXPECT_NEAR(static_cast<double>(LogRecords[2].lat), 50.01, 1e-9);
    EXPECT_NEAR(static_cast<double>(LogRecords[3].lon), 0.998, 1e-9);
    EXPECT_NEAR(static_cast<double>(LogRecords[3].time), 722.0, 1e-9);
    SetLocalClock({});
}

// An autopilot that stops reading: once the port's output space is short, a
// fix's sentences are left out whole, never cut, and what did go out is
// whole sentences in order.
TEST_F(FixPtyTest, OutputThatDoesNotFitIsLeftOutWholeNeverCut)
{
    kvtest::PtyPair autopilot;
    StartOnARouteWithAnAutopilot(autopilot);
    ASSERT_EQ(
        FixThrough(autopilot, "$GPGGA,120000,5000.000,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,*6C", 0), "");
    const std::string first
        = FixThrough(autopilot, "$GPGGA,120100,5000.600,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,*6B", 1);
    ASSERT_EQ(first, "$");
    const std::string rest = autopilot.Read(1 << 16, 200);
    const std::size_t perFix = first.size() + rest.size();
    ASSERT_GT(perFix, 40u);

    // Nothing reads now: the driver's buffer and then the port's own fill.
    int fixes = 1;
    while (MainForm->ComPort2->OutputFree() >= perFix && fixes < 20000) {
        MainForm->FixTimerTimer();
        ++fixes;
    }
    ASSERT_LT(fixes, 20000) << "the output space never ran short";
    for (int i = 0; i < 5; ++i, ++fixes)
        MainForm->FixTimerTimer();

    std::string sent = first + rest;
    for (std::string more; !(more = autopilot.Read(1 << 20, 300)).empty();)
        sent += more;
    ASSERT_EQ(sent.size() % perFix, 0u) << "a fix's output was cut";
    EXPECT_LT(sent.size() / perFix, static_cast<std::size_t>(fixes)) << "nothing was left out";
    for (std::size_t at = 0; at < sent.size(); at += perFix)
        ASSERT_EQ(sent.compare(at, perFix, sent, 0, perFix), 0) << "at byte " << at;
}

// "$GPGGA,<time>,<lat>,N,<lon>,W,..." with its checksum.
std::string Gga(const std::string& time, const std::string& lat, const std::string& lonWest)
{
    const std::string body = "$GPGGA," + time + "," + lat + ",N," + lonWest + ",W,1,08,1.0,10.0,M,47.0,M,,";
    return body + NmeaChecksum(body, 2);
}

// Navigation is computed from the fix, never from the views: in a shown
// main window, the same fixes give the same sentences, character for
// character, and the same panel, whether the AIS view follows a target or
// the cursor is moved between fixes in two views.
TEST_F(FixPtyTest, EverySentenceOfAFixIsTheFixsOwnWhateverTheViewsDo)
{
    SetLocalClock([] { return LocalDateTime { 2026, 3, 7, 13, 0, 0, 0 }; });
    enum class Views { Untouched, FollowingATarget, CursorMoved };
    struct Run {
        const char* name;
        Views views;
    };
    const Run runs[] = { { "untouched", Views::Untouched }, { "following a target", Views::FollowingATarget },
        { "cursor moved in two views", Views::CursorMoved } };
    const std::string fixes[]
        = { Gga("120000", "5000.000", "00100.000"), Gga("120100", "5000.600", "00100.000"),
              Gga("120200", "5001.200", "00059.880"), Gga("120300", "5001.800", "00100.060") };

    std::vector<std::string> sent, panels;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.name);
        FreeProgramForms();
        std::filesystem::remove_all(app + "logs");
        kvtest::PtyPair autopilot;
        // Every fix re-centres the views, the AIS view following included.
        StartOnARouteWithAnAutopilot(autopilot, [] {
            DrawEveryN = 1;
            AutoCentre = true;
            OutHSC = OutBOD = true;
        });
        MainForm->show();
        QApplication::setActiveWindow(MainForm);
        TMDIChild* aisView = chartwin::View(0);
        ASSERT_TRUE(aisView->FIsAisView);

        // A vessel 3' west of the track, heard before the first fix.
        const std::string target
            = kvtest::AivdmSentence(kvtest::PositionReportPayload(235000001, 50.05, -1.05));
        autopilot.Write(target + "\r\n");
        ASSERT_TRUE(kvtest::WaitFor([] { return AisTargetCount == 1; }));

        if (run.views == Views::FollowingATarget) {
            aisView->ShowAIS->click();
            aisView->AISFollowSelectedTarget1->trigger();
            ASSERT_TRUE(aisView->AISFollowSelectedTarget1->isChecked());
        }
        if (run.views == Views::CursorMoved)
            MainForm->FileNewItemClick();

        std::string out;
        for (const std::string& fix : fixes) {
            autopilot.Write(fix + "\r\n");
            ASSERT_TRUE(kvtest::WaitFor([&] { return LastSentence == fix; }));
            MainForm->FixTimerTimer();
            out += autopilot.Read(1 << 16, 200);
            if (run.views == Views::FollowingATarget) {
                EXPECT_NEAR(aisView->FDrawCentreLat, 50.05, 1e-6) << "the view follows the target";
            }
            if (run.views == Views::CursorMoved) {
                for (TMDIChild* view : chartwin::Views()) {
                    QTest::mouseClick(view->Image1, Qt::LeftButton, {}, QPoint(20, 30));
                    view->UpDown->Up->click();
                    view->LeftRight->Down->click();
                }
            }
        }
        sent.push_back(out);
        panels.push_back((MainForm->RngToWp->text() + "|" + MainForm->BearingToWP->text() + "|"
            + MainForm->TimeToWP->text() + "|" + MainForm->SpeedOG->text() + "|" + MainForm->CourseOG->text())
                             .toStdString());
    }
    ASSERT_NE(sent[0].find("$ECAPB,A,A,"), std::string::npos) << sent[0];
    for (std::size_t i = 1; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i], sent[0]) << runs[i].name;
        EXPECT_EQ(panels[i], panels[0]) << runs[i].name;
    }
    SetLocalClock({});
}

} // namespace
