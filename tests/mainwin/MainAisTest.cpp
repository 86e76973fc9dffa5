// AIS in the main window: the merge with its beep and spoken sector, the
// database menu items, and AIS log playback from the tool button to the end
// of the file, one line per tick of the playback timer.

#include "MainFormFixture.h"

#include "dialogs/GlobalDlg.h"
#include "nav/LocalClock.h"
#include "nav/NmeaTemplate.h"
#include "nav/TrackLog.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/Real6.h"
#include "support/AisSentences.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <filesystem>

namespace
{

using kvtest::AivdmFragments;
using kvtest::AivdmSentence;
using kvtest::PositionReportPayload;

const std::string kHeader = "AIS Log Date : 07-12-26";
const std::string kVesselA = AivdmSentence(PositionReportPayload(235000001, 50.80, -1.30));
const std::string kVesselB = AivdmSentence(PositionReportPayload(235000002, 50.82, -1.28));
const std::string kGps = "$GPRMC,094738,A,5048.0000,N,00118.0000,W,5.8,235.1,071226,1.4,E,A*04";

class MainAisTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Start();
        ui.clear();
    }
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }

    // A log file in the logs folder, lines ended by CR LF; its full path.
    std::string WriteLog(const std::string& name, const std::vector<std::string>& lines)
    {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += line + "\r\n";
        return dir.write("logs/" + name, bytes);
    }

    // Something in the table, the track and the trip that playback empties.
    void FillTableTrackAndTrip()
    {
        AisTargetCount = 2;
        AisTargets[1].mmsi = 111;
        AisTargets[2].mmsi = 222;
        SelectedAisTarget = 2;
        LogCount = 5;
        ThinIndex = 4;
        ThinCounter = 3;
        TripTotal = 7.5;
        TripLeg = 0.5;
        MainForm->Trip->setText("7.50 Nm");
        MainForm->AISMonitor->setChecked(true);
    }

    void StartPlayback(const std::string& path)
    {
        ui.answerFile(path);
        MainForm->PlayAISlog->click();
    }
    void Tick() { emit MainForm->AISplayTime->timeout(); }

    std::string Hint(QObject* control) const { return ls(::Hint(control)); }
};

TEST_F(MainAisTest, PlaybackEmptiesTableTrackAndTripThenPlaysOneLinePerTickToTheEnd)
{
    FillTableTrackAndTrip();
    TextLogOn = true;
    MainForm->TxtLogOnOff->setChecked(false);
    std::vector<std::string> lines = { kHeader, kVesselA, kGps };
    for (const std::string& part :
        AivdmFragments(kvtest::StaticDataPayload(235000001, "ALPHA", "GAAA"), 2, "4"))
        lines.push_back(part);
    lines.push_back(kVesselB);
    StartPlayback(WriteLog("07-12-26.AIS", lines));

    EXPECT_EQ(AisTargetCount, 0);
    EXPECT_EQ(AisTargets[1].mmsi, 0);
    EXPECT_EQ(SelectedAisTarget, 0);
    EXPECT_EQ(LogCount, 0);
    EXPECT_EQ(ThinIndex, 2);
    EXPECT_EQ(ThinCounter, 0);
    EXPECT_EQ(TripTotal, 0.0);
    EXPECT_EQ(TripLeg, 0.0);
    EXPECT_EQ(ls(MainForm->Trip->text()), "0.00 Nm");
    EXPECT_FALSE(MainForm->AISMonitor->isChecked());
    EXPECT_TRUE(AisPlayback);
    EXPECT_TRUE(MainForm->AISplayTime->enabled());
    EXPECT_FALSE(MainForm->NMEAServerOnOff->isEnabled());
    EXPECT_EQ(Hint(MainForm->PlayAISlog), "Stop Playing the AIS Log|");
    EXPECT_TRUE(MainForm->TxtLogOnOff->isChecked());
    EXPECT_FALSE(TextLogOn);
    EXPECT_EQ(Hint(MainForm->TxtLogOnOff), "Release for Text Logs On|");
    EXPECT_EQ(ui.fileRequests().at(0).filter, "AIS Log Files|*.AIS|All Files|*.*");

    Tick(); // the header
    EXPECT_EQ(AisTargetCount, 0);
    Tick();
    EXPECT_EQ(AisTargetCount, 1);
    EXPECT_EQ(AisSentence, kVesselA);
    EXPECT_EQ(ui.beeps(), 1);
    Tick();
    EXPECT_EQ(MainForm->CurrentSentence, kGps) << "a GPS line goes to the fix cycle at once";
    EXPECT_DOUBLE_EQ(GpsLat, 50.8);
    Tick();
    Tick();
    EXPECT_EQ(AisTargets[1].name, "ALPHA@@@@@@@@@@@@@@@");
    Tick();
    EXPECT_EQ(AisTargetCount, 2);
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_TRUE(AisPlayback);

    Tick(); // end of the file
    EXPECT_FALSE(AisPlayback);
    EXPECT_FALSE(MainForm->AISplayTime->enabled());
    EXPECT_FALSE(MainForm->AisLogFile.isOpen());
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isEnabled());
    EXPECT_EQ(Hint(MainForm->PlayAISlog), "Playback an AIS Log|");
    EXPECT_EQ(ls(MainForm->GPSIndicator->text()), "GPS ?");
    EXPECT_TRUE(ui.messages().empty());
    // The text log is switched back as it was before the playback, and the
    // own track with its thinning and the trip come back.
    EXPECT_TRUE(TextLogOn);
    EXPECT_FALSE(MainForm->TxtLogOnOff->isChecked());
    EXPECT_EQ(Hint(MainForm->TxtLogOnOff), "Press for Text Logs Off|");
    EXPECT_EQ(LogCount, 5);
    EXPECT_EQ(ThinIndex, 4);
    EXPECT_EQ(ThinCounter, 3);
    EXPECT_EQ(TripTotal, 7.5);
    EXPECT_EQ(TripLeg, 0.5);
    EXPECT_EQ(ls(MainForm->Trip->text()), "7.50 Nm");
}

TEST_F(MainAisTest, TextLogSwitchComesBackWhenPlaybackStopsAndIsNeverSavedOff)
{
    const std::string log = WriteLog("07-12-26.AIS", { kHeader, kVesselA, kVesselB });
    TextLogOn = true;
    MainForm->UpdateMenuItems();
    StartPlayback(log);
    ASSERT_FALSE(TextLogOn);

    // The configuration saved meanwhile keeps the user's switch.
    SaveConfigFile(app + "during.cfg");
    TextLogOn = true;
    SaveConfigFile(app + "on.cfg");
    TextLogOn = false;
    EXPECT_EQ(dir.read("during.cfg"), dir.read("on.cfg"));

    ui.answerOk();
    MainForm->PlayAISlog->click(); // stop
    EXPECT_TRUE(TextLogOn);
    EXPECT_FALSE(MainForm->TxtLogOnOff->isChecked());

    // Off before the playback: off after it.
    TextLogOn = false;
    MainForm->UpdateMenuItems();
    StartPlayback(log);
    ui.answerOk();
    MainForm->PlayAISlog->click();
    EXPECT_FALSE(TextLogOn);
    EXPECT_TRUE(MainForm->TxtLogOnOff->isChecked());

    // Switched on by hand during the playback: the user's choice stands.
    StartPlayback(log);
    MainForm->TxtLogOnOff->click();
    EXPECT_TRUE(TextLogOn);
    Tick();
    Tick();
    Tick();
    Tick(); // end of the file
    ASSERT_FALSE(AisPlayback);
    EXPECT_TRUE(TextLogOn);
    EXPECT_FALSE(MainForm->TxtLogOnOff->isChecked());
}

TEST_F(MainAisTest, QuitDuringPlaybackSavesTheTextLogSwitchTheUserSet)
{
    TextLogOn = true;
    MainForm->UpdateMenuItems();
    StartPlayback(WriteLog("07-12-26.AIS", { kHeader, kVesselA }));
    ASSERT_FALSE(TextLogOn);

    ui.answerYes();
    EXPECT_TRUE(MainForm->close());
    EXPECT_FALSE(AisPlayback);
    EXPECT_TRUE(TextLogOn);
    const std::string saved = dir.read("zudeve.cfg");
    SaveConfigFile(app + "expected.cfg");
    EXPECT_EQ(saved, dir.read("expected.cfg"));
    EXPECT_NE(saved.find("\r\nKeep\r\n"), std::string::npos);
}

TEST_F(MainAisTest, DatabaseThatCannotBeReadIsReportedOnceUntilAnItemIsSwitched)
{
    std::filesystem::remove(dir.file("KVAIS.ADB")); // made at start
    dir.makeFolder("KVAIS.ADB");
    const std::string error = "Error reading AIS database file " + dir.file("KVAIS.ADB")
        + " - the AIS database is not used until the next start or until its menu items are switched again";
    auto hear = [](int32_t mmsi) {
        MainForm->AssembleAivdm(AivdmSentence(PositionReportPayload(mmsi, 50.8, -1.3)));
        MainForm->UpdateAisTargets();
    };
    hear(235000001);
    hear(235000002);
    hear(235000003);
    EXPECT_EQ(ui.messages(), std::vector<std::string> { error });
    EXPECT_EQ(ui.shown().at(0).kind, "message:error");
    EXPECT_EQ(AisTargetCount, 3);

    MainForm->SearchAISDatabase->trigger(); // off: nothing to read
    hear(235000004);
    MainForm->SearchAISDatabase->trigger(); // on again: tried again
    hear(235000005);
    hear(235000006);
    EXPECT_EQ(ui.messages(), (std::vector<std::string> { error, error }));
}

TEST_F(MainAisTest, HeaderOnlyLogPlaysNothingAndStopsAtTheNextTick)
{
    StartPlayback(WriteLog("07-12-26.AIS", { kHeader }));
    ASSERT_TRUE(AisPlayback);
    Tick();
    EXPECT_TRUE(AisPlayback);
    EXPECT_EQ(AisTargetCount, 0);
    Tick();
    EXPECT_FALSE(AisPlayback);
    EXPECT_FALSE(MainForm->AISplayTime->enabled());
}

TEST_F(MainAisTest, LogThatCannotBeOpenedOrACancelledDialogLeaveEverythingAsItWas)
{
    FillTableTrackAndTrip();
    StartPlayback(app + "logs/missing.AIS");
    ui.answerFile(std::nullopt);
    MainForm->PlayAISlog->click();
    EXPECT_EQ(ui.fileRequests().size(), 2u);
    EXPECT_FALSE(AisPlayback);
    EXPECT_FALSE(MainForm->AISplayTime->enabled());
    EXPECT_EQ(AisTargetCount, 2);
    EXPECT_EQ(AisTargets[2].mmsi, 222);
    EXPECT_EQ(SelectedAisTarget, 2);
    EXPECT_EQ(LogCount, 5);
    EXPECT_EQ(ThinIndex, 4);
    EXPECT_EQ(TripTotal, 7.5);
    EXPECT_EQ(ls(MainForm->Trip->text()), "7.50 Nm");
    EXPECT_TRUE(MainForm->AISMonitor->isChecked());
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isEnabled());
}

TEST_F(MainAisTest, ButtonPausesPlaybackAndAsksWhetherToStop)
{
    StartPlayback(WriteLog("07-12-26.AIS", { kHeader, kVesselA, kVesselB }));
    Tick();
    ui.answerCancel();
    MainForm->PlayAISlog->click();
    EXPECT_EQ(ui.shown().back().kind, "askOk");
    EXPECT_EQ(ui.shown().back().text, "Playback Paused - Stop playing current AIS log file ?");
    EXPECT_TRUE(AisPlayback);
    EXPECT_TRUE(MainForm->AISplayTime->enabled()) << "playback goes on";
    Tick();
    EXPECT_EQ(AisTargetCount, 1);

    ui.answerOk();
    MainForm->PlayAISlog->click();
    EXPECT_FALSE(AisPlayback);
    EXPECT_FALSE(MainForm->AISplayTime->enabled());
    EXPECT_FALSE(MainForm->AisLogFile.isOpen());
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isEnabled());
    EXPECT_EQ(Hint(MainForm->PlayAISlog), "Playback an AIS Log|");
    EXPECT_EQ(AisTargetCount, 1) << "what was played stays";
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainAisTest, NewTargetBeepsAndSpeaksItsSectorUnlessTheProgramIsAShoreStation)
{
    SetLocalClock([] { return LocalDateTime { 2026, 12, 7, 12 }; });
    GlobalSettings.AISvoice = true;
    CosLat = 1.0;
    LogCount = 2;
    CurLat = 50.80;
    CurLon = 1.40; // west positive: vessel A at 1.30 W lies due east
    NavCourse = 60.0;
    NavCourseKnown = true;

    MainForm->AssembleAivdm(kVesselA);
    MainForm->UpdateAisTargets();
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(LastAnnouncedName, "AheadStarboard");
    EXPECT_DOUBLE_EQ(AisTargets[1].lastHeard, LocalDateTime({ 2026, 12, 7, 12 }).DateTimeValue());

    LastAnnouncedName.clear();
    MainForm->AISMonitor->setChecked(true);
    MainForm->AssembleAivdm(kVesselB);
    MainForm->UpdateAisTargets();
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_EQ(LastAnnouncedName, "");
}

// The sector is taken against the course made good through the newest fix:
// on the second fix of the day that is the course between the two fixes.
TEST_F(MainAisTest, TargetHeardAfterTheSecondFixIsAnnouncedAgainstTheCourseOfBothFixes)
{
    SetLocalClock([] { return LocalDateTime { 2026, 12, 7, 12 }; });
    dir.makeFolder("logs"); // for the track log; no text log
    TextLogOn = false;
    GlobalSettings.AISvoice = true;
    AutoLoadChart = false;
    CosLat = 1.0;
    // Two fixes heading due east (longitudes west positive).
    for (const double lon : { 1.0, 0.9 }) {
        CurLat = 50.0;
        CurLon = lon;
        MainForm->FixBtnClick();
    }
    ASSERT_EQ(LogCount, 2);
    EXPECT_DOUBLE_EQ(NavCourse, 90.0);

    // Heard due north of the vessel: on the port beam.
    MainForm->AssembleAivdm(AivdmSentence(PositionReportPayload(235000009, 50.1, -0.9)));
    MainForm->UpdateAisTargets();
    EXPECT_EQ(LastAnnouncedName, "Port");
    EXPECT_EQ(ui.messages(), std::vector<std::string> {});
}

// An own vessel at rest from the start has no course made good: a target
// heard north of it is announced by a beep alone, never as "Port" of a
// course of 090 made up from two fixes at one place. Once it has moved, the
// course it made good stays while it lies at rest again.
TEST_F(MainAisTest, TargetHeardBeforeTheVesselHasMovedOnlyBeeps)
{
    SetLocalClock([] { return LocalDateTime { 2026, 12, 7, 12 }; });
    dir.makeFolder("logs");
    TextLogOn = false;
    GlobalSettings.AISvoice = true;
    AutoLoadChart = false;
    CosLat = 1.0;
    const auto fixAt = [](double lat, double lon) {
        CurLat = lat;
        CurLon = lon;
        MainForm->FixBtnClick();
    };
    fixAt(50.0, 1.0);
    fixAt(50.0, 1.0);
    fixAt(50.0, 1.0);
    ASSERT_EQ(LogCount, 3);
    EXPECT_FALSE(NavCourseKnown);
    EXPECT_EQ(ls(MainForm->CourseOG->text()), "");

    MainForm->AssembleAivdm(AivdmSentence(PositionReportPayload(235000011, 50.1, -1.0)));
    MainForm->UpdateAisTargets();
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(LastAnnouncedName, "");

    // Under way south, then at rest: the target north is astern.
    fixAt(49.9, 1.0);
    fixAt(49.9, 1.0);
    fixAt(49.9, 1.0);
    EXPECT_TRUE(NavCourseKnown);
    EXPECT_DOUBLE_EQ(NavCourse, 180.0);
    MainForm->AssembleAivdm(AivdmSentence(PositionReportPayload(235000012, 50.0, -1.0)));
    MainForm->UpdateAisTargets();
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_EQ(LastAnnouncedName, "Astern");
    EXPECT_EQ(ui.messages(), std::vector<std::string> {});
}

TEST_F(MainAisTest, DatabaseMenuItemsToggleTheirCheckMarksAndSteerTheMerge)
{
    dir.write("KVAIS.ADB", "");
    MainForm->UpdateAISDatabase->trigger();
    EXPECT_FALSE(MainForm->UpdateAISDatabase->isChecked());
    MainForm->SearchAISDatabase->trigger();
    EXPECT_FALSE(MainForm->SearchAISDatabase->isChecked());
    auto hearStaticData = [] {
        for (const std::string& part :
            AivdmFragments(kvtest::StaticDataPayload(235000001, "ALPHA", "GAAA"), 2, "1")) {
            MainForm->AssembleAivdm(part);
            MainForm->UpdateAisTargets();
        }
    };
    hearStaticData();
    hearStaticData(); // known to the table, heard again with the update off
    EXPECT_EQ(dir.read("KVAIS.ADB").size(), 0u);
    MainForm->UpdateAISDatabase->trigger();
    EXPECT_TRUE(MainForm->UpdateAISDatabase->isChecked());
    hearStaticData();
    EXPECT_EQ(dir.read("KVAIS.ADB").size(), 824u);
}

// A recording played back in the main window used to empty the own track and
// write its fixes into the day's track log: the navigator's real track of
// the day was gone. The day's track log is left as it was, byte for byte,
// and once the playback ends or is stopped the day's track is back, so the
// next real fix adds to it.
class PlaybackKeepsTheDayTest : public MainFormTest
{
protected:
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }
    // "$" + body + "*hh".
    static std::string Sentence(const std::string& body) { return "$" + body + NmeaChecksum(body, 1); }

    // A track-log image in a line: its count and its first record's latitude.
    static std::string Summary(const std::string& image)
    {
        if (image.size() != kTrackLogSize)
            return std::to_string(image.size()) + " bytes";
        const auto* bytes = reinterpret_cast<const uint8_t*>(image.data());
        return std::to_string(rtl::Real6::fromBytes(bytes + kMaxLogRecords * LogRecord::storedSize).value())
            + " records from " + std::to_string(LogRecord::load(bytes).lat.value()) + " N";
    }
};

TEST_F(PlaybackKeepsTheDayTest, DaysTrackLogSurvivesAPlaybackAndTheNextRealFixAddsToIt)
{
    SetLocalClock([] { return LocalDateTime { 2026, 12, 9, 10, 0, 0, 0 }; });
    kvtest::PtyPair receiver;
    receiver.MapAs(4);
    WriteConfig("zudeve.cfg", [] {
        ComPort = 4;
        BaudRate = 4800;
        FixIntervalMs = 3600000;
    });
    // The day so far: ten fixes near 50.79 N.
    for (int i = 1; i <= 10; ++i)
        LogRecords[i] = LogRecord { rtl::Real6(50.79 + i / 1000.0), rtl::Real6(1.30), rtl::Real6(540.0 + i) };
    LogCount = 10;
    const std::string day = EncodeTrackLog();
    dir.write("logs/09-12-26.log", day);
    ResetNavState();

    Start();
    MainForm->SecsTimer->setEnabled(false);
    MainForm->show();
    MainForm->CreateChartView("harbour");
    ASSERT_EQ(LogCount, 10) << "the day's track is read at start";

    // A recording of another day: ten fixes at 51.50 N and a vessel.
    std::string recording = "AIS Log Date : 01-12-26\r\n";
    for (int i = 0; i < 10; ++i)
        recording += Sentence("GPGGA,12000" + std::to_string(i) + ",5130.00" + std::to_string(i)
                         + ",N,00130.000,W,1,08,1.0,10.0,M,47.0,M,,")
            + "\r\n";
    recording += AivdmSentence(PositionReportPayload(235000001, 51.5, -1.5)) + "\r\n";
    const std::string recorded = dir.write("logs/01-12-26.AIS", recording);

    const struct {
        const char* ending;
        int stopAfterTicks; // 0: played to the end of the file
    } endings[] = { { "played to the end", 0 }, { "stopped by the user", 6 } };
    for (const auto& e : endings) {
        SCOPED_TRACE(e.ending);
        ui.answerFile(recorded);
        MainForm->PlayAISlog->click();
        ASSERT_TRUE(AisPlayback);
        for (int ticks = 0; AisPlayback && ticks < 100; ++ticks) {
            if (ticks == e.stopAfterTicks && ticks > 0) {
                // Meanwhile the views show the recording's track.
                EXPECT_EQ(LogCount, 5);
                EXPECT_NEAR(LogRecords[1].lat.value(), 51.5, 1e-6);
                ui.answerOk();
                MainForm->PlayAISlog->click();
                break;
            }
            emit MainForm->AISplayTime->timeout();
        }
        ASSERT_FALSE(AisPlayback);
        const std::string onDisk = dir.read("logs/09-12-26.log");
        EXPECT_TRUE(onDisk == day) << "the day's track log is not written by a playback: " << Summary(onDisk);
        EXPECT_EQ(LogCount, 10);
        EXPECT_TRUE(EncodeTrackLog() == day)
            << "the day's track is back in memory: " << Summary(EncodeTrackLog());
    }

    MainForm->NMEAServerOnOffClick();
    ASSERT_TRUE(NmeaOpen);
    const std::string taken
        = FixThrough(receiver, Sentence("GPGGA,100000,5048.000,N,00118.000,W,1,08,1.0,10.0,M,47.0,M,,"), 0);
    EXPECT_EQ(taken, "");
    const std::string after = dir.read("logs/09-12-26.log");
    ASSERT_EQ(after.size(), kTrackLogSize);
    EXPECT_TRUE(after.substr(0, 10 * LogRecord::storedSize) == day.substr(0, 10 * LogRecord::storedSize))
        << Summary(after);
    DecodeTrackLog(after);
    ASSERT_EQ(LogCount, 11) << "the real fix follows the day's ten";
    EXPECT_NEAR(LogRecords[11].lat.value(), 50.8, 1e-6);
}

} // namespace
