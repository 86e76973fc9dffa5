// The text survey log of the main window: the records a run of fixes
// leaves in the day's log, byte for byte, a second start on the same day, a
// new template from the preferences, opening another log, the text-log
// button and the outside viewer.

#include "MainFormFixture.h"

#include "dialogs/GlobalDlg.h"
#include "mainwin/MainPrograms.h"
#include "nav/LocalClock.h"
#include "nav/TrackLog.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <string>
#include <vector>

namespace
{

const std::string kDay = "07-12-26";
const std::string kHeader = "Log Date : 07-12-26\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n";

// Monday 7 December 2026, 09:47 local time; RunFix moves the seconds on.
int gSecond = 0;

LocalDateTime FixedNow()
{
    LocalDateTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 7;
    t.hour = 9;
    t.minute = 47;
    t.second = gSecond;
    return t;
}

class MainTextLogTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        gSecond = 0;
        SetLocalClock(FixedNow);
        dir.makeFolder("logs");
        WriteConfig("zudeve.cfg", [] { TextLogOn = true; });
        Start();
    }

    void TearDown() override
    {
        mainwin::SetProcessStarter({});
        SetLocalClock({});
        MainFormTest::TearDown();
    }

    // One fix through the fix cycle at (lat N, 1.5 W), the NMEA interface
    // closed, so the PC clock stamps it.
    static void RunFix(double lat, const char* source)
    {
        ++gSecond;
        FixStatus = source;
        CurLat = lat;
        CurLon = 1.5;
        if (FixStatus == "MAN")
            MainForm->ManualFix();
        else
            MainForm->FixTimerTimer();
    }

    std::string Log() const { return dir.read("logs/" + kDay + ".txt"); }

    struct Started {
        std::string program;
        std::vector<std::string> arguments;
    };
    void CaptureStarts(bool result)
    {
        mainwin::SetProcessStarter([this, result](const std::string& program,
                                       const std::vector<std::string>& arguments, const std::string&) {
            started.push_back({ program, arguments });
            return result;
        });
    }
    std::vector<Started> started;
};

TEST_F(MainTextLogTest, FixesWriteRecordsAtTheConfiguredRateAndManualFixesAsEventsAcrossTwoStarts)
{
    // The day's log from an earlier start, with a template of its own.
    const std::string header = "Log Date : 07-12-26\r\n@f,@t,@p:2,@$\r\n";
    dir.write("logs/07-12-26.txt", header);
    FreeProgramForms();
    Start();
    GlobalSettings.RepRate = 2;
    CosLat = 1.0;
    LogCount = 0;

    RunFix(50.25, "GPGGA"); // counted, not logged
    RunFix(50.26, "GPGGA"); // the second: a record
    RunFix(50.27, "MAN"); // a manual fix: an event at once
    RunFix(50.28, "GPGGA"); // the count went on from the event
    RunFix(50.29, "GPGGA");
    const std::string firstRun = header
        + "00001,094702,5015.60,N,00130.00,W,GPGGA\r\n"
          "*1\r\n00002,094703,5016.20,N,00130.00,W,MAN\r\n"
          "00003,094704,5016.80,N,00130.00,W,GPGGA\r\n";
    EXPECT_EQ(Log(), firstRun);

    // Started again the same day: the log goes on, one record a fix now.
    FreeProgramForms();
    Start();
    EXPECT_EQ(FixNumber, 3);
    CosLat = 1.0;
    RunFix(50.3, "GPGGA");
    EXPECT_EQ(Log(), firstRun + "00004,094706,5018.00,N,00130.00,W,GPGGA\r\n");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainTextLogTest, PenUpAndEventMarkersStandBeforeTheirRecord)
{
    NmeaLogTemplate = "@f@w";
    MainForm->WPName->addItem("Nab Tower  @@");
    ComTimeZero = true;
    MainForm->PenUp1->setChecked(false);
    MainForm->WriteTextLogLine(true);
    MainForm->PenUp1->setChecked(true);
    MainForm->WriteTextLogLine(true);
    MainForm->WriteTextLogLine(false);
    ComTimeZero = false;
    MainForm->WriteTextLogLine(false);
    EXPECT_EQ(Log(),
        kHeader
            + "*1\r\n00001Nab Tower\r\n# -b\r\n*2\r\n00002Nab Tower\r\n# -b\r\n00003Nab Tower\r\n"
              "00004Nab Tower\r\n");
}

TEST_F(MainTextLogTest, NothingIsLoggedWhileTheButtonIsDown)
{
    ASSERT_FALSE(MainForm->TxtLogOnOff->isChecked());
    MainForm->TxtLogOnOff->click();
    EXPECT_FALSE(TextLogOn);
    EXPECT_EQ(Hint(MainForm->TxtLogOnOff), "Release for Text Logs On|");
    MainForm->WriteTextLogLine(true);
    EXPECT_EQ(Log(), kHeader);
    EXPECT_EQ(EventNumber, 0);

    MainForm->TxtLogOnOff->click();
    EXPECT_TRUE(TextLogOn);
    EXPECT_EQ(Hint(MainForm->TxtLogOnOff), "Press for Text Logs Off|");
}

TEST_F(MainTextLogTest, LostRecordIsReportedOnceAndTheFixesGoOn)
{
    NmeaLogTemplate = "@f";
    LogCount = 0;
    RunFix(50.25, "GPGGA");
    std::filesystem::rename(dir.file("logs"), dir.file("unplugged")); // the logs disk taken away
    RunFix(50.26, "MAN");
    EXPECT_EQ(
        ui.messages(), (std::vector<std::string> { "Error writing Log File!", "Error Writing Text Log" }));
    MainForm->StatusLine->clear();
    RunFix(50.27, "GPGGA"); // no box at every fix
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ls(MainForm->StatusLine->text()), "Error Writing Text Log");
    EXPECT_EQ(LogCount, 3); // each fix went into the track
    EXPECT_EQ(FixNumber, 1);
    EXPECT_EQ(EventNumber, 0);

    std::filesystem::rename(dir.file("unplugged"), dir.file("logs")); // and back with its files
    RunFix(50.28, "MAN");
    EXPECT_EQ(Log(), kHeader + "00001\r\n*1\r\n00002\r\n");
    // Failing again after a good record shows the box again.
    std::filesystem::rename(dir.file("logs"), dir.file("unplugged"));
    RunFix(50.29, "GPGGA");
    EXPECT_EQ(ui.messages().size(), 4u);
}

TEST_F(MainTextLogTest, NewTemplateFromThePreferences)
{
    NmeaLogTemplate = "@f";
    MainForm->WriteTextLogLine(true);
    // The same template: no question.
    MainForm->TextLogFormatChange("@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y");
    EXPECT_TRUE(ui.shown().empty());

    ui.answerNo();
    MainForm->TextLogFormatChange("@f,@t");
    EXPECT_EQ(ui.shown().back().text, "Log format has changed ! Overwrite the log file ?");
    EXPECT_EQ(NmeaLogTemplate, "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y");
    EXPECT_EQ(Log(), kHeader + "*1\r\n00001\r\n");

    ui.answerYes();
    MainForm->TextLogFormatChange("@f,@t");
    EXPECT_EQ(Log(), "Log Date : 07-12-26\r\n@f,@t\r\n");
    EXPECT_EQ(NmeaLogTemplatePrev, "@f,@t");
    EXPECT_EQ(FixNumber, 0);
    EXPECT_EQ(EventNumber, 0);

    // A log that cannot be rewritten keeps its template and its records.
    LogsFolder = app + "gone/";
    ui.answerYes();
    MainForm->TextLogFormatChange("@t");
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Error Writing Text Log" });
    EXPECT_EQ(NmeaLogTemplate, "@f,@t");
    EXPECT_EQ(NmeaLogTemplatePrev, "@f,@t");
    EXPECT_EQ(Log(), "Log Date : 07-12-26\r\n@f,@t\r\n");
}

TEST_F(MainTextLogTest, OpeningATrackLogMovesTheLogsToItsFolder)
{
    const std::string other = dir.makeFolder("survey 2") + "/";
    LogRecords[1] = LogRecord { rtl::Real6(50.0), rtl::Real6(1.0), rtl::Real6(600.0) };
    LogCount = 1;
    SaveLogFile(other + "run1.log");
    LogCount = 0;
    FixNumber = 5;

    ui.answerFile(other + "run1.log");
    MainForm->Logs1Click();
    EXPECT_EQ(ui.fileRequests().back().title, "Open a log file");
    EXPECT_EQ(LogCount, 1);
    EXPECT_EQ(LogBaseName, "run1");
    EXPECT_EQ(LogsFolder, other);
    EXPECT_EQ(TextLogName, kDay); // the plotted log stays
    EXPECT_EQ(FixNumber, 0);
    // Its text log did not exist: made with the template in force.
    EXPECT_EQ(
        kvtest::ReadBytes(other + "run1.txt"), "Log Date : run1\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n");

    NmeaLogTemplate = "@f";
    MainForm->WriteTextLogLine(false);
    EXPECT_EQ(kvtest::ReadBytes(other + "run1.txt"),
        "Log Date : run1\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n00001\r\n");
    ui.answerFile(std::nullopt);
    MainForm->Logs1Click(); // cancelled: nothing changes
    EXPECT_EQ(LogsFolder, other);
    EXPECT_EQ(MainForm->OpenLogDialog.initialFolder, other);
}

TEST_F(MainTextLogTest, OpeningATextLogMakesItTheLogThatIsPlottedAndWritten)
{
    const std::string text = "Log Date : 06-12-26\r\n@f,@x\r\n00001,0.1\r\n*1\r\n00002,0.2\r\n";
    dir.write("logs/06-12-26.txt", text);
    ui.answerFile(app + "logs/06-12-26.txt");
    MainForm->Logs1Click();
    EXPECT_EQ(TextLogName, "06-12-26");
    EXPECT_EQ(LogBaseName, "06-12-26");
    EXPECT_EQ(NmeaLogTemplate, "@f,@x");
    EXPECT_EQ(FixNumber, 2);

    // A name with a second '.' is named up to its last one.
    dir.write("logs/trip.day2.txt", text);
    ui.answerFile(app + "logs/trip.day2.txt");
    MainForm->Logs1Click();
    EXPECT_EQ(LogBaseName, "trip.day2");
    EXPECT_EQ(TextLogName, "trip.day2");
    EXPECT_EQ(dir.read("logs/06-12-26.txt"), text);
}

TEST_F(MainTextLogTest, ViewerGetsTheLogAsOneArgumentAndTheDesktopOpensItWhenNoneIsConfigured)
{
    LogsFolder = dir.makeFolder("my logs; $(x)") + "/";
    dir.write("my logs; $(x)/07-12-26.AIS", "AIS Log Date : 07-12-26\r\n");
    CaptureStarts(true);
    MainForm->ViewTextLog1->trigger();
    BrowserPath = "/opt/viewer/look";
    MainForm->AISTracklooker1->trigger();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].program, "xdg-open"); // no log viewer on this system
    EXPECT_EQ(started[0].arguments, std::vector<std::string> { LogsFolder + "07-12-26.txt" });
    EXPECT_EQ(started[1].program, "/opt/viewer/look");
    // The AIS log as it is named on disk.
    EXPECT_EQ(started[1].arguments, std::vector<std::string> { LogsFolder + "07-12-26.AIS" });
    EXPECT_TRUE(ui.messages().empty());

    // No viewer: the message names the file and where a viewer is set.
    const std::string noViewer = "Application Not Available !\nNo viewer could open " + LogsFolder
        + "07-12-26.txt.\nA viewer program can be set in Options > Preferences, page Log: Choose Text Log "
          "Viewer.";
    BrowserPath = "";
    CaptureStarts(false);
    MainForm->ViewTextLog1Click();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { noViewer });

    // The desktop's opener itself: missing, or ending with a failure because
    // it has nothing for the file, or opening it. It is waited for without
    // holding korvex up.
    mainwin::SetProcessStarter({});
    MainForm->SecsTimer->setEnabled(false); // no start while events are served
    const char* const path = getenv("PATH");
    const std::string savedPath = path ? path : "";
    struct Opener {
        const char* script; // nullptr: none on the search path
        bool message;
    };
    int row = 0;
    for (const Opener& opener : { Opener { nullptr, true }, Opener { "#!/bin/sh\nexit 3\n", true },
             Opener { "#!/bin/sh\nexit 0\n", false } }) {
        SCOPED_TRACE(opener.script ? opener.script : "none");
        const std::string bin = "bin" + std::to_string(++row);
        dir.makeFolder(bin);
        if (opener.script) {
            dir.write(bin + "/xdg-open", opener.script);
            std::filesystem::permissions(dir.file(bin + "/xdg-open"), std::filesystem::perms::owner_all);
        }
        setenv("PATH", dir.file(bin).c_str(), 1);
        ui.clear();
        MainForm->ViewTextLog1Click();
        setenv("PATH", savedPath.c_str(), 1);
        EXPECT_TRUE(ui.messages().empty() || !opener.script); // korvex did not wait for it
        kvtest::WaitFor([&] { return !ui.messages().empty(); }, opener.message ? 5000 : 500);
        EXPECT_EQ(ui.messages(),
            opener.message ? std::vector<std::string> { noViewer } : std::vector<std::string> {});
    }
}

} // namespace
