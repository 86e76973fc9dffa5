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
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/TextFile.h"
#include "serial/SerPort.h"
#include "support/AisSentences.h"
#include "support/PtyPair.h"
#include "support/QtWait.h"
#include "support/SentenceCheck.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <map>

namespace
{

// The texts of every panel and hint of the main window that show a number
// that is not one ("Nan", "+Inf").
std::string NonNumbersShown(const QWidget& window)
{
    static const QRegularExpression notANumber("\\b(Nan|Inf)\\b");
    std::string shown;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        QString text = w->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(w))
            text += " " + label->text();
        if (text.contains(notANumber))
            shown += w->objectName().toStdString() + ": " + text.toStdString() + "\n";
    }
    return shown;
}

// "$GPGGA,<time>,<lat>,N,<lon>,W,..." with its checksum.
std::string Gga(const std::string& time, const std::string& lat, const std::string& lonWest)
{
    const std::string body = "$GPGGA," + time + "," + lat + ",N," + lonWest + ",W,1,08,1.0,10.0,M,47.0,M,,";
    return body + NmeaChecksum(body, 2);
}

class FixPtyTest : public MainFormTest
{
protected:
    // COM4 is the pseudo-terminal; the fix timer is left to the test, NMEA
    // output (XTE and APB) is on, and the route is one waypoint 6' north of
    // the start on the meridian of 1° W.
    // `line7`, when given, replaces the distance unit line of the file, as
    // configLines replace theirs; `more` sets up what a test needs before
    // the program starts.
    void StartOnARouteWithAnAutopilot(kvtest::PtyPair& autopilot, const char* line7 = nullptr,
        const std::function<void()>& more = [] {})
    {
        dir.makeFolder("logs");
        autopilot.MapAs(4);
        WriteAutopilotConfig(more);
        if (line7)
            configLines[7] = line7;
        for (const auto& [number, text] : configLines) {
            std::string file = dir.read("zudeve.cfg");
            std::size_t at = 0;
            for (int line = 1; line < number; ++line)
                at = file.find("\r\n", at) + 2;
            file.replace(at, file.find("\r\n", at) - at, text);
            dir.write("zudeve.cfg", file);
        }
        Start();
        MainForm->SecsTimer->setEnabled(false);
        MainForm->CreateChartView("harbour");
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        FollowOneWaypointNorth();
        UtcHourOffset = 0;
    }

    // One fix through the port: the `expected` bytes it sends, and anything
    // more that comes after them.
    std::string SentAfter(kvtest::PtyPair& autopilot, const std::string& fix, std::size_t expected)
    {
        return FixThrough(autopilot, fix, expected) + autopilot.Read(1 << 16, 100);
    }

    // Lines of the configuration file replaced before the program starts,
    // by line number, as a damaged or hand-edited file would have them.
    std::map<int, std::string> configLines;
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
        { "$GPGGA,120200,5001.200,N,00059.813,W,1,08,1.0,10.0,M,47.0,M,,*6A",
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
    EXPECT_NEAR(static_cast<double>(LogRecords[3].lon), 59.813 / 60, 1e-9);
    EXPECT_NEAR(static_cast<double>(LogRecords[3].time), 722.0, 1e-9);
    SetLocalClock({});
}

// A receiver on a loose connector that ends its lines with LF alone, with
// noise glued to its sentences and positions no one can be at, and a
// distance unit line damaged in the configuration: only the real fixes are
// taken, and the autopilot gets the same sentences as from a clean line.
TEST_F(FixPtyTest, NoisyReceiverAndDamagedUnitLineGiveOnlyRealFixesAndNumbers)
{
    kvtest::PtyPair autopilot;
    StartOnARouteWithAnAutopilot(autopilot, "1,852");
    ASSERT_EQ(DistanceFactor, 1.0);
    const auto sentence = [](const std::string& body) { return "$" + body + NmeaChecksum(body, 1); };
    const std::string noise = "\x95\x13#~" + std::string(120, 'x');
    struct Step {
        std::string bytes;
        std::string taken; // the real fix among them
        const char* sent; // what the autopilot receives after the fix tick
    };
    const Step steps[] = {
        { noise + sentence("GPGGA,120000,5000.000,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,") + "\n",
            "$GPGGA,120000,5000.000,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,*6C", "" },
        { sentence("GPGGA,120030,9500.000,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,") + "\n" + noise
                + sentence("GPGGA,120100,5000.600,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,") + "\n",
            "$GPGGA,120100,5000.600,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,*6B",
            "$ECXTE,A,A,0.00,R,N,A*0C\r\n"
            "$ECAPB,A,A,0.00,R,N,,,,,OUTER,000,T,000,T,A*63\r\n" },
        { "$GPGGA,1201" + sentence("GPGGA,120130,5001.000,N,00160.000,W,1,08,1.0,10.0,M,47.0,M,,") + "\n\r"
                + sentence("GPGGA,120200,5001.200,N,00059.813,W,1,08,1.0,10.0,M,47.0,M,,") + "\n",
            "$GPGGA,120200,5001.200,N,00059.813,W,1,08,1.0,10.0,M,47.0,M,,*6A",
            "$ECXTE,A,A,0.12,L,N,A*11\r\n"
            "$ECAPB,A,A,0.12,L,N,,,,,OUTER,359,T,359,T,A*7E\r\n" },
    };
    for (const Step& step : steps) {
        autopilot.Write(step.bytes);
        ASSERT_TRUE(kvtest::WaitFor([&] { return LastSentence == step.taken; })) << step.taken;
        MainForm->FixTimerTimer();
        const std::string expected = step.sent;
        EXPECT_EQ(expected.empty() ? autopilot.Read(1, 100) : autopilot.Read(expected.size()), expected);
    }
    ASSERT_EQ(LogCount, 3);
    EXPECT_NEAR(static_cast<double>(LogRecords[2].lat), 50.01, 1e-9);
    EXPECT_NEAR(static_cast<double>(LogRecords[3].lon), 59.813 / 60, 1e-9);
    EXPECT_EQ(NonNumbersShown(*MainForm), "");
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
    // Each fix a new sentence at the same place.
    int fixes = 1;
    const auto fix = [&] {
        char time[16];
        std::snprintf(time, sizeof time, "%02d%02d%02d", 13 + fixes / 3600, fixes / 60 % 60, fixes % 60);
        LastSentence = Gga(time, "5000.600", "00100.000");
        MainForm->FixTimerTimer();
        ++fixes;
    };
    while (MainForm->ComPort2->OutputFree() >= perFix && fixes < 20000)
        fix();
    ASSERT_LT(fixes, 20000) << "the output space never ran short";
    for (int i = 0; i < 5; ++i)
        fix();

    std::string sent = first + rest;
    for (std::string more; !(more = autopilot.Read(1 << 20, 300)).empty();)
        sent += more;
    ASSERT_EQ(sent.size() % perFix, 0u) << "a fix's output was cut";
    EXPECT_LT(sent.size() / perFix, static_cast<std::size_t>(fixes)) << "nothing was left out";
    for (std::size_t at = 0; at < sent.size(); at += perFix)
        ASSERT_EQ(sent.compare(at, perFix, sent, 0, perFix), 0) << "at byte " << at;
}

// Every line of the configuration file in turn empty, 0, garbage, huge and
// negative, read by the program and a fix run through the cycle: whatever
// the file says, the autopilot is sent only whole sentences with right
// checksums and numbers in their fields, and no panel shows a non-number.
TEST_F(FixPtyTest, NoConfigurationLineMakesUpANumberForTheAutopilot)
{
    kvtest::PtyPair autopilot;
    StartOnARouteWithAnAutopilot(autopilot);
    OutHSC = OutBOD = true;
    UserSentenceTemplate = "$PKVU,@r,@g,@v,@s,@x,@p,@y,@h,@b,@^,@a,@c@e";
    OutUser = true;
    DistanceFactor = 1.852;
    TextLogOn = false;
    AutoLoadChart = false;
    std::string base = ConfigText();
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = base.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(base.substr(at, end - at));
    ASSERT_EQ(lines.size(), 47u);

    // The boat goes to and fro 6' south of the waypoint, a fix a minute.
    int minute = 0;
    const auto fix = [&] {
        const bool there = minute % 2 != 0;
        char body[96];
        std::snprintf(body, sizeof body, "GPGGA,%02d%02d00,50%s,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,",
            12 + minute / 60, minute % 60, there ? "00.300" : "00.000");
        ++minute;
        // The sentence as the input would leave it for the tick: the input
        // has tests of its own, and this one has many fixes to run.
        LastSentence = "$" + std::string(body) + NmeaChecksum(body, 1);
        MainForm->FixTimerTimer();
        return NmeaOutput;
    };
    fix(); // the first fix makes no leg yet, and sends nothing
    // What the port sends is gathered as it comes and compared at the end.
    std::string expected = fix(), onPort;
    ASSERT_NE(expected, "");

    for (int line = 1; line <= 47; ++line) {
        for (const char* text : { "", "0", "#?x", "99999999999", "-99999999999" }) {
            std::vector<std::string> changed = lines;
            changed[static_cast<std::size_t>(line - 1)] = text;
            std::string file;
            for (const std::string& l : changed)
                file += l + "\r\n";
            LoadConfig(dir.write("row.cfg", file));
            const std::string where = "line " + std::to_string(line) + " \"" + text + "\"";
            const std::string sent = fix();
            expected += sent;
            onPort += autopilot.Read(1 << 16, 0);
            // The user sentence is the user's own text (line 34), sent as typed.
            std::string checked;
            for (std::size_t at = 0, end; (end = sent.find("\r\n", at)) != std::string::npos; at = end + 2)
                if (line != 34 || sent.compare(at, 5, "$PKVU") == 0 || sent.compare(at, 3, "$EC") == 0)
                    checked += sent.substr(at, end + 2 - at);
            EXPECT_EQ(kvtest::SentenceFault(checked), "") << where;
            EXPECT_EQ(NonNumbersShown(*MainForm), "") << where;
            // The lines of the route itself stay as they were.
            ASSERT_EQ(RouteCount, 1) << where;
            ActiveWaypoint = 1;
        }
    }
    onPort += autopilot.Read(expected.size() - std::min(onPort.size(), expected.size()));
    EXPECT_EQ(onPort, expected);
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
              Gga("120200", "5001.200", "00059.813"), Gga("120300", "5001.800", "00100.060") };

    std::vector<std::string> sent, panels;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.name);
        FreeProgramForms();
        std::filesystem::remove_all(app + "logs");
        kvtest::PtyPair autopilot;
        // Every fix re-centres the views, the AIS view following included.
        StartOnARouteWithAnAutopilot(autopilot, nullptr, [] {
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

// The fixes of the route test and what the autopilot gets after each.
struct RouteFix {
    std::string gga;
    std::string sent;
};
const RouteFix kRouteFixes[] = {
    { Gga("120000", "5000.000", "00100.000"), "" },
    { Gga("120100", "5000.600", "00100.000"),
        "$ECXTE,A,A,0.00,R,N,A*0C\r\n$ECAPB,A,A,0.00,R,N,,,,,OUTER,000,T,000,T,A*63\r\n" },
    { Gga("120200", "5001.200", "00059.813"),
        "$ECXTE,A,A,0.12,L,N,A*11\r\n$ECAPB,A,A,0.12,L,N,,,,,OUTER,359,T,359,T,A*7E\r\n" },
};

// A box of the program left up while the fix timer runs: the port is read,
// each sentence that comes in is one fix, logged and sent, the panel shows
// it, and no tick makes a fix of a sentence that did not come again.
TEST_F(FixPtyTest, BoxLeftUpStopsNeitherThePortNorTheFixes)
{
    SetLocalClock([] { return LocalDateTime { 2026, 3, 7, 13, 0, 0, 0 }; });
    struct Case {
        const char* name;
        const char* box;
        bool aisLog; // only the AIS log fails, on an AIS line
    };
    const Case cases[]
        = { { "track log", "Error writing Log File!", false }, { "AIS log", "Error Writing AIS Log", true } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreeProgramForms();
        std::filesystem::remove_all(app + "logs");
        ui.clear();
        kvtest::PtyPair autopilot;
        StartOnARouteWithAnAutopilot(autopilot);
        if (c.aisLog) {
            MainForm->ProcAis->setChecked(true);
            // A folder where the log was: it cannot be written, nor made anew.
            std::filesystem::remove(app + "logs/07-03-26.AIS");
            std::filesystem::create_directory(app + "logs/07-03-26.AIS");
        } else {
            LogsFolder = app + "gone/";
        }
        MainForm->FixTimer->setInterval(20);

        bool up = false;
        std::vector<std::string> underBox;
        ui.whileMessageUp = [&](const platform::ScriptedUi::Shown& box) {
            if (up || box.text != c.box)
                return;
            up = true;
            // A modal loop of its own, as a real box runs.
            QEventLoop loop;
            QTimer::singleShot(0, [&] {
                for (int i = 1; i < 3; ++i) {
                    autopilot.Write(kRouteFixes[i].gga + "\r\n");
                    if (!kvtest::WaitFor([&] { return LogCount == i + 1; })) {
                        underBox.push_back("no fix " + std::to_string(i));
                        break;
                    }
                    underBox.push_back(autopilot.Read(kRouteFixes[i].sent.size()));
                    underBox.push_back(ls(MainForm->RngToWp->text()));
                }
                kvtest::WaitFor([] { return false; }, 150); // ticks with nothing new
                underBox.push_back(std::to_string(LogCount) + autopilot.Read(1, 0));
                loop.quit();
            });
            loop.exec();
        };
        autopilot.Write(kRouteFixes[0].gga + "\r\n");
        if (c.aisLog) {
            ASSERT_TRUE(kvtest::WaitFor([] { return LogCount == 1; }));
            autopilot.Write(
                kvtest::AivdmSentence(kvtest::PositionReportPayload(235000001, 50.05, -1.05)) + "\r\n");
        }
        EXPECT_TRUE(kvtest::WaitFor([&] { return up && !underBox.empty(); }, 8000));
        kvtest::WaitFor([&] { return underBox.size() == 5 || underBox.size() == 1; });
        ui.whileMessageUp = nullptr;
        const std::vector<std::string> expected { kRouteFixes[1].sent, "5.40 Nm ", kRouteFixes[2].sent,
            ls(MainForm->RngToWp->text()), "3" };
        EXPECT_EQ(underBox, expected);
        EXPECT_NE(expected[3], "");
    }
    SetLocalClock({});
}

// A user sentence too long for one NMEA sentence (82 characters with its
// '$' and CR LF) is left out alone, said once, not at every fix; one that
// fits goes out after the navigation sentences.
TEST_F(FixPtyTest, UserSentenceTooLongIsLeftOutAloneAndSaidOnce)
{
    struct Case {
        std::string user; // the template, as line 34 holds it
        bool sent;
    };
    const Case cases[] = {
        { "$PKVU," + std::string(5000, 'A') + "@e", false },
        { "$PKVU," + std::string(71, 'A') + "@e", true }, // 80 characters and CR LF
        { "$PKVU," + std::string(72, 'A') + "@e", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user.substr(0, 12) + "... " + std::to_string(c.user.size()));
        FreeProgramForms();
        std::filesystem::remove_all(app + "logs");
        ui.clear();
        kvtest::PtyPair autopilot;
        StartOnARouteWithAnAutopilot(autopilot, nullptr, [&] {
            UserSentenceTemplate = c.user;
            OutUser = true;
        });
        ui.clear();
        const std::string user = c.sent ? ExpandNmeaTemplate(c.user) + "\r\n" : "";
        for (const RouteFix& fix : kRouteFixes) {
            const std::string expected = fix.sent.empty() ? "" : fix.sent + user;
            EXPECT_EQ(FixThrough(autopilot, fix.gga, expected.size()), expected);
        }
        const std::vector<std::string> told {
            "User NMEA sentence longer than 82 characters - it is not sent"
        };
        EXPECT_EQ(ui.messages(), c.sent ? std::vector<std::string> {} : told);
    }
}

// A port that stops taking output (the adapter pulled): the failure is said
// in a box once, then on the status line, the GPS indicator shows it; with
// the device back and the interface opened again, output goes out, and the
// next failure is a box again.
TEST_F(FixPtyTest, PortThatStopsTakingOutputIsSaidOnceAndAgainAfterAGoodWrite)
{
    auto autopilot = std::make_unique<kvtest::PtyPair>();
    StartOnARouteWithAnAutopilot(*autopilot);
    ASSERT_EQ(FixThrough(*autopilot, kRouteFixes[0].gga, 0), "");
    ASSERT_EQ(FixThrough(*autopilot, kRouteFixes[1].gga, kRouteFixes[1].sent.size()), kRouteFixes[1].sent);
    const std::string failure = "Error writing NMEA output to COM4";
    int minute = 3;
    const auto next = [&] {
        char time[16];
        std::snprintf(time, sizeof time, "12%02d00", minute++ % 60);
        return Gga(time, "5001.200", "00059.813");
    };
    // A fix with the input gone too: the sentence as the input left it.
    const auto fixWithPortGone = [&] {
        LastSentence = next();
        MainForm->FixTimerTimer();
        EXPECT_TRUE(kvtest::WaitFor(
            [] { return MainForm->ComPort2->OutputFree() == MainForm->ComPort2->OutSize(); }));
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ui.clear();
        autopilot->CloseMaster();
        for (int i = 0; i < 4; ++i)
            fixWithPortGone();
        EXPECT_EQ(ui.messages(), std::vector<std::string> { failure });
        EXPECT_EQ(ls(MainForm->StatusLine->text()), failure);
        EXPECT_EQ(MainForm->GPSIndicator->palette().color(QPalette::WindowText), QColor(Qt::red));
        EXPECT_EQ(ls(MainForm->GPSIndicator->toolTip()).substr(0, failure.size()), failure);

        // The device back: the interface closed and opened again.
        ui.answerYes();
        MainForm->NMEAServerOnOffClick();
        ASSERT_FALSE(NmeaOpen);
        autopilot = std::make_unique<kvtest::PtyPair>();
        autopilot->MapAs(4);
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        for (int i = 1; i < 3; ++i)
            EXPECT_EQ(FixThrough(*autopilot, next(), kRouteFixes[2].sent.size()), kRouteFixes[2].sent);
        EXPECT_NE(MainForm->GPSIndicator->palette().color(QPalette::WindowText), QColor(Qt::red));
    }
}

// A heading to steer reaches the autopilot only when this fix has one. A
// hull speed line that cannot be read is the default 10 knots; with a hull
// speed of 0, or a cross-stream the boat cannot stem, APB keeps its
// cross-track error and bearing with the heading field empty and HSC is
// not sent, never a heading of 000, the set of the stream or the last one.
TEST_F(FixPtyTest, HeadingToSteerIsSentOnlyWhenThisFixHasOne)
{
    struct Row {
        const char* what;
        const char* line11; // the hull speed line; none: the fixture's 6 kn
        double stream[2]; // knots, setting west, at the second and the third fix
        const char* sent[2]; // after the second and the third fix
    };
    const Row rows[] = {
        { "hull speed unreadable", "abc", { 3, 3 },
            { "$ECXTE,A,A,0.12,L,N,A*11\r\n$ECAPB,A,A,0.12,L,N,,,,,OUTER,359,T,016,T,A*76\r\n"
              "$ECHSC,16.0,T,16.0,M*47\r\n",
                "$ECXTE,A,A,0.12,L,N,A*11\r\n$ECAPB,A,A,0.12,L,N,,,,,OUTER,358,T,016,T,A*77\r\n"
                "$ECHSC,15.8,T,15.8,M*47\r\n" } },
        { "hull speed 0", "0", { 0, 0 },
            { "$ECXTE,A,A,0.12,L,N,A*11\r\n$ECAPB,A,A,0.12,L,N,,,,,OUTER,359,T,,,A*15\r\n",
                "$ECXTE,A,A,0.12,L,N,A*11\r\n$ECAPB,A,A,0.12,L,N,,,,,OUTER,358,T,,,A*14\r\n" } },
        { "stream grows stronger than the boat", nullptr, { 3, 8 },
            { "$ECXTE,A,A,0.12,L,N,A*11\r\n$ECAPB,A,A,0.12,L,N,,,,,OUTER,359,T,029,T,A*7A\r\n"
              "$ECHSC,28.6,T,28.6,M*47\r\n",
                "$ECXTE,A,A,0.12,L,N,A*11\r\n$ECAPB,A,A,0.12,L,N,,,,,OUTER,358,T,,,A*14\r\n" } },
    };
    const std::string fixes[] = { Gga("120000", "5000.000", "00100.000"),
        Gga("120100", "5001.200", "00059.813"), Gga("120200", "5001.800", "00059.813") };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FreeProgramForms();
        std::filesystem::remove_all(app + "logs");
        configLines.clear();
        if (row.line11)
            configLines[11] = row.line11;
        kvtest::PtyPair autopilot;
        StartOnARouteWithAnAutopilot(autopilot);
        OutHSC = true;
        ManualTideOff = false; // the stream as typed in
        TideSet = 270;
        ASSERT_EQ(SentAfter(autopilot, fixes[0], 0), "");
        for (int i = 0; i < 2; ++i) {
            TideDrift = row.stream[i];
            const std::string expected = row.sent[i];
            EXPECT_EQ(SentAfter(autopilot, fixes[i + 1], expected.size()), expected) << fixes[i + 1];
        }
    }
}

// A receiver whose RMC leaves the variation fields empty (many do) says
// nothing about the variation: the 4° W typed in the preferences stays in
// every magnetic figure sent, and only an RMC that gives a variation
// replaces it.
TEST_F(FixPtyTest, RmcWithoutAVariationKeepsTheVariationTypedIn)
{
    kvtest::PtyPair autopilot;
    StartOnARouteWithAnAutopilot(autopilot);
    ui.answerModal([](QDialog& dialog) {
        auto& d = static_cast<TGlobalDlg&>(dialog);
        d.Variation->setValue(-4);
        d.Sent->setCurrentIndex(1); // the receiver's RMC gives the fix
        d.sendXTE->setChecked(false);
        d.sendAPB->setChecked(false);
        d.sendHSC->setChecked(true);
        d.SendBOD->setChecked(true);
        return platform::ModalResult::Ok;
    });
    MainForm->Global1->trigger();
    ASSERT_EQ(MagVariation, -4);
    ASSERT_TRUE(NmeaOpen);

    const auto rmc = [](const std::string& time, const std::string& lat, const std::string& variation) {
        const std::string body
            = "$GPRMC," + time + ",A," + lat + ",N,00100.000,W,6.0,000.0,071226," + variation;
        return body + NmeaChecksum(body, 2);
    };
    const std::string west4 = "$ECHSC,00.0,T,04.0,M*43\r\n"
                              "$ECBOD,000,T,004,M,OUTER,*0B\r\n";
    const std::string east3 = "$ECHSC,00.0,T,357.0,M*76\r\n"
                              "$ECBOD,000,T,357,M,OUTER,*0E\r\n";
    struct Step {
        std::string rmc;
        const std::string& sent;
        int variation; // afterwards
    };
    const std::string none;
    const Step steps[] = {
        { rmc("120000", "5000.000", ","), none, -4 }, // the first fix makes no leg yet
        { rmc("120100", "5000.600", ","), west4, -4 },
        { rmc("120200", "5001.200", ",,A"), west4, -4 },
        { rmc("120300", "5001.800", "003.0,E"), east3, 3 },
        { rmc("120400", "5002.400", ",,A"), east3, 3 },
    };
    for (const Step& step : steps) {
        EXPECT_EQ(SentAfter(autopilot, step.rmc, step.sent.size()), step.sent) << step.rmc;
        EXPECT_EQ(MagVariation, step.variation) << step.rmc;
    }
}

// The cross-track error sent is the distance from the leg's line on the
// side the boat is: 0.30 nm right of the leg it stays 0.30 as the waypoint
// comes near and abeam, and past the waypoint the status turns V with the
// boat's own side.
TEST_F(FixPtyTest, CrossTrackErrorIsTheDistanceFromTheLegNearAbeamAndPastTheWaypoint)
{
    kvtest::PtyPair autopilot;
    StartOnARouteWithAnAutopilot(autopilot);
    struct Step {
        const char* what;
        std::string gga;
        const char* sent;
    };
    // The leg runs due north to Outer Spit, 50°06' N 1° W, where a minute of
    // longitude is 0.64 nm.
    const Step steps[] = {
        { "start", Gga("120000", "5000.000", "00100.000"), "" },
        { "0.39 nm to go, 0.30 nm right of the leg", Gga("120100", "5005.751", "00059.532"),
            "$ECXTE,A,A,0.30,L,N,A*11\r\n"
            "$ECAPB,A,A,0.30,L,N,,,,,OUTER,310,T,310,T,A*7E\r\n" },
        { "abeam, 0.30 nm to the right", Gga("120200", "5006.000", "00059.532"),
            "$ECXTE,A,A,0.30,L,N,A*11\r\n"
            "$ECAPB,A,A,0.30,L,N,,,,,OUTER,270,T,270,T,A*7E\r\n" },
        { "0.50 nm past it, 0.20 nm left of the leg", Gga("120300", "5006.500", "00100.312"),
            "$ECXTE,V,V,0.20,R,N,A*0E\r\n"
            "$ECAPB,V,V,0.20,R,N,,,,,OUTER,158,T,158,T,A*61\r\n" },
    };
    for (const Step& step : steps) {
        const std::string expected = step.sent;
        EXPECT_EQ(SentAfter(autopilot, step.gga, expected.size()), expected) << step.what;
        EXPECT_EQ(ActiveWaypoint, 1) << step.what;
    }
}

// Chart or no chart, distances and bearings are worked at the latitude of
// the positions, not at the equator's scale: 0.45 nm south of a waypoint at
// 50.8 N and 0.10 nm west of its leg running north, the autopilot is told
// 0.10 nm and 013, as with the chart loaded.
TEST_F(FixPtyTest, WithoutAChartDistancesAndBearingsUseThePresentLatitude)
{
    const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/charts/";
    struct Row {
        const char* what;
        std::vector<const char*> charts; // demo chart files in the charts folder
        bool folderReadable;
    };
    const Row rows[] = {
        { "the start chart missing", {}, true },
        { "a charts folder that cannot be read", {}, false },
        { "the start chart without its configuration", { "harbour.cht" }, true },
        { "the start chart loaded", { "harbour.cht", "harbour.cfg" }, true },
    };
    const std::string fixes[] = { Gga("120000", "5047.450", "00118.158"), Gga("120100", "5047.550", "00118.158") };
    const std::string sent = "$ECXTE,A,A,0.10,R,N,A*0D\r\n"
                             "$ECAPB,A,A,0.10,R,N,,,,,OUTER,013,T,013,T,A*62\r\n";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FreeProgramForms();
        std::filesystem::remove_all(app + "logs");
        std::filesystem::remove_all(app + "charts");
        if (row.folderReadable)
            dir.makeFolder("charts");
        else
            dir.write("charts", "a file where the folder should be");
        for (const char* name : row.charts)
            dir.write(std::string("charts/") + name, kvtest::ReadBytes(demo + name));
        kvtest::PtyPair autopilot;
        StartOnARouteWithAnAutopilot(autopilot, nullptr, [&] {
            CurrentChartName = "harbour";
            ChartsFolder = app + "charts/";
            ViewCentreLat = 50.79;
            ViewCentreLon = 1.3;
        });
        FirstTick();
        RoutePoints[1] = { 50.8, 1.3 };
        XteRefCourse = 0.0;
        ASSERT_EQ(SentAfter(autopilot, fixes[0], 0), "");
        EXPECT_EQ(SentAfter(autopilot, fixes[1], sent.size()), sent);
    }
}

} // namespace
