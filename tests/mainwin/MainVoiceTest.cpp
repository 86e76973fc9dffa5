// Voice prompts and sound clips of the main window: which steering cue a
// fix plays for each side of the cross-track gauge, "Only on change", the
// approach and end-of-route cues, the AIS announcement, the end of a clip,
// and prompts that cannot be played.

#include "MainFormFixture.h"

#include "dialogs/GlobalDlg.h"
#include "mainwin/FixCycle.h"
#include "mainwin/MediaPlayer.h"
#include "nav/LocalClock.h"
#include "nav/NmeaTemplate.h"
#include "platform/QtSoundBackend.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "support/ChildProcess.h"
#include "support/PtyPair.h"
#include "support/QtWait.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Names = std::vector<std::string>;

// A wave file of `samples` samples of silence: PCM, mono, 8 bit, 8000 Hz.
std::string WaveFile(uint32_t samples)
{
    auto le32 = [](uint32_t v) {
        return std::string { char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24) };
    };
    auto le16 = [](uint16_t v) { return std::string { char(v & 0xFF), char(v >> 8) }; };
    return "RIFF" + le32(36 + samples) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000) + le32(8000)
        + le16(1) + le16(8) + "data" + le32(samples) + std::string(samples, char(0x80));
}

class MainVoiceTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        for (const char* name :
            { "left.wav", "right.wav", "OnTrack.wav", "approach.wav", "select.wav", "Port.wav" })
            dir.write(name, "RIFF");
        Start();
        ui.strictMessages = true; // a prompt never shows a box
        MainForm->SetMediaPlayer(player);
        RouteCount = 2;
        ActiveWaypoint = 2;
        prefs.Voice = true;
        prefs.WPVoice = true;
    }

    // One fix's cues for the cross-track error `xte` against a dead band of
    // 0.05 nm, the gauge showing the colour of the fix before.
    void CueFor(double xte)
    {
        const XteGaugeReading reading = ReadXteGauge(xte, 0.05, shown, prefs.Vfreq);
        shown = reading.colour;
        MainForm->PlaySteeringCues(reading, prefs);
    }

    std::string Status() const { return ls(MainForm->StatusLine->text()); }

    std::shared_ptr<FakePlayer> player = std::make_shared<FakePlayer>();
    TFixPreferences prefs;
    uint32_t shown = kGaugeSilver;
};

TEST_F(MainVoiceTest, EachGaugeColourHasItsCueOnEveryFix)
{
    CueFor(0.10); // red: the track lies to port, steer left
    CueFor(0.10);
    CueFor(-0.10); // lime: steer right
    CueFor(0.04); // white: inside the dead band
    CueFor(-0.05);
    EXPECT_EQ(player->played, (Names { "left.wav", "left.wav", "right.wav", "OnTrack.wav", "OnTrack.wav" }));
    EXPECT_EQ(player->file, app + "OnTrack.wav");
}

TEST_F(MainVoiceTest, OnlyOnChangePlaysACueWhenTheColourChanges)
{
    prefs.Vfreq = true;
    CueFor(0.10);
    CueFor(0.20);
    CueFor(0.30);
    CueFor(0.0);
    CueFor(0.01);
    CueFor(-0.5);
    CueFor(0.5);
    EXPECT_EQ(player->played, (Names { "left.wav", "OnTrack.wav", "right.wav", "left.wav" }));
}

TEST_F(MainVoiceTest, NoCueWithoutVoiceRouteOrSound)
{
    prefs.Voice = false;
    CueFor(0.10);
    prefs.Voice = true;
    RouteCount = 0;
    CueFor(-0.10);
    RouteCount = 2;
    SoundEnabled = false; // a chartlet clip is playing
    CueFor(0.10);
    EXPECT_TRUE(player->played.empty());
    SoundEnabled = true;
    CueFor(0.10);
    EXPECT_EQ(player->played, (Names { "left.wav" }));
}

TEST_F(MainVoiceTest, ApproachAndSelectCuesPlayOnceWhenPending)
{
    WpApproachPending = true;
    CueFor(0.10);
    EXPECT_FALSE(WpApproachPending);
    CueFor(0.10);
    // The approach follows the cue of its fix, and replaces it.
    EXPECT_EQ(player->played, (Names { "left.wav", "approach.wav", "left.wav" }));

    player->played.clear();
    bool selectPending = true;
    prefs.WPVoice = false;
    MainForm->PlaySelectCue(prefs, selectPending);
    EXPECT_TRUE(selectPending);
    prefs.WPVoice = true;
    MainForm->PlaySelectCue(prefs, selectPending);
    MainForm->PlaySelectCue(prefs, selectPending);
    EXPECT_FALSE(selectPending);
    EXPECT_EQ(player->played, (Names { "select.wav" }));
}

TEST_F(MainVoiceTest, AnnouncementIsKeptForTheRepeatButtonAndItsEndEnablesSound)
{
    EXPECT_EQ(LastAnnouncedName, "");
    MainForm->PlayVoice("Port");
    EXPECT_EQ(LastAnnouncedName, "Port");
    EXPECT_EQ(player->file, app + "Port.wav");
    SoundEnabled = false;
    player->OnFinished();
    EXPECT_TRUE(SoundEnabled);
}

TEST_F(MainVoiceTest, MissingPromptIsReportedOnceAndEnablesSound)
{
    std::filesystem::remove(dir.file("left.wav"));
    MainForm->StatusLine->setText("Course to steer 093");
    SoundEnabled = false;
    MainForm->PlayClip(app + "left.wav");
    EXPECT_TRUE(SoundEnabled);
    EXPECT_EQ(Status(), "Sound file not found: left.wav");

    MainForm->StatusLine->setText("Course to steer 093");
    CueFor(0.10);
    CueFor(0.10);
    EXPECT_EQ(Status(), "Course to steer 093"); // said once
    EXPECT_TRUE(player->played.empty());
    // The other prompts still play.
    CueFor(-0.10);
    EXPECT_EQ(player->played, (Names { "right.wav" }));
}

TEST_F(MainVoiceTest, UnplayableClipIsReportedOnceAndEnablesSound)
{
    MainForm->PlayVoice("Port");
    SoundEnabled = false;
    player->OnFailed("not a playable sound file");
    EXPECT_TRUE(SoundEnabled);
    EXPECT_EQ(Status(), "Cannot play Port.wav: not a playable sound file");
    MainForm->StatusLine->clear();
    player->OnFailed("not a playable sound file");
    EXPECT_EQ(Status(), "");

    // Without sound output every prompt fails; that is said once.
    player->OnFailed(kNoSoundOutput);
    EXPECT_EQ(Status(), "No sound output: voice prompts and clips are not heard");
    MainForm->StatusLine->clear();
    CueFor(0.10);
    player->OnFailed(kNoSoundOutput);
    EXPECT_EQ(Status(), "");
}

TEST_F(MainVoiceTest, PromptNameIsMatchedWithoutRegardToCase)
{
    std::filesystem::remove(dir.file("OnTrack.wav"));
    dir.write("ONTRACK.WAV", "RIFF");
    CueFor(0.0);
    EXPECT_EQ(player->file, app + "ONTRACK.WAV");
}

// "$" + body + "*" + its checksum.
std::string Sentence(const std::string& body)
{
    return "$" + body + NmeaChecksum(body, 1);
}

// The whole road: sentences from the receiver through a pseudo-terminal,
// fix ticks, cues and the autopilot sentences back, with the left cue's
// file missing.
TEST_F(MainFormTest, MissingLeftPromptLeavesInputAndFixesRunning)
{
    SetLocalClock([] {
        LocalDateTime t;
        t.year = 2026;
        t.month = 3;
        t.day = 7;
        t.hour = 13;
        return t;
    });
    dir.makeFolder("logs");
    dir.write("OnTrack.wav", "RIFF");
    kvtest::PtyPair receiver;
    receiver.MapAs(4);
    WriteConfig("zudeve.cfg", [] {
        ComPort = 4;
        BaudRate = 4800;
        FixIntervalMs = 3600000; // the test runs each tick itself
        NmeaOutputOn = true;
        OutXTE = true;
        OutAPB = OutHSC = OutBOD = OutUser = false;
    });
    Start();
    auto player = std::make_shared<FakePlayer>();
    MainForm->SetMediaPlayer(player);
    MainForm->SecsTimer->setEnabled(false);
    MainForm->CreateChartView("harbour");
    MainForm->NMEAServerOnOffClick();
    ASSERT_TRUE(NmeaOpen);
    ui.clear();
    ui.strictMessages = true; // from here on no box
    GlobalSettings.Voice = true;

    // One waypoint 6' north of the start, on the meridian of 1 deg W.
    FollowOneWaypointNorth();
    XteDeadband = 0.05;

    const char* const fixes[] = {
        "GPGGA,120000,5000.000,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,",
        "GPGGA,120100,5000.600,N,00100.000,W,1,08,1.0,10.0,M,47.0,M,,", // on track
        "GPGGA,120200,5001.200,N,00059.813,W,1,08,1.0,10.0,M,47.0,M,,", // 0.12 nm east: left
        "GPGGA,120300,5001.800,N,00059.813,W,1,08,1.0,10.0,M,47.0,M,,",
        "GPGGA,120400,5002.400,N,00059.813,W,1,08,1.0,10.0,M,47.0,M,,",
    };
    int fixCount = 0;
    for (const char* body : fixes) {
        const std::string gga = Sentence(body);
        receiver.Write(gga + "\r\n");
        ASSERT_TRUE(kvtest::WaitFor([&] { return LastSentence == gga; })) << gga;
        MainForm->FixTimerTimer();
        EXPECT_EQ(LogCount, ++fixCount);
        // The autopilot sentences of the fix come back out.
        const std::string sent = receiver.Read(4096, 200);
        if (fixCount >= 3) {
            EXPECT_NE(sent.find("$ECXTE,A,A,0.12,L,N,A*11\r\n"), std::string::npos) << sent;
            // Said once, when the first left cue was due.
            EXPECT_EQ(
                ls(MainForm->StatusLine->text()), fixCount == 3 ? "Sound file not found: left.wav" : "");
        }
        MainForm->StatusLine->clear();
    }
    EXPECT_EQ(player->played, (Names { "OnTrack.wav" }));
    EXPECT_TRUE(SoundEnabled);
    EXPECT_TRUE(ui.messages().empty());
    SetLocalClock({});
}

// What became of a clip given to a Qt player.
struct ClipOutcome {
    std::string fileName; // the player's file name once the clip is given
    std::string failure;
    bool finished = false;
};

// Plays `path` on a fresh Qt player until it ends or fails, 5 s at the most.
ClipOutcome PlayOnQtPlayer(const std::string& path)
{
    std::shared_ptr<TMediaPlayer> player = MakeQtMediaPlayer();
    ClipOutcome outcome;
    player->OnFailed = [&](const std::string& why) { outcome.failure = why; };
    player->OnFinished = [&] { outcome.finished = true; };
    player->Play(path);
    outcome.fileName = player->FileName();
    kvtest::WaitFor([&] { return outcome.finished || !outcome.failure.empty(); }, 5000);
    return outcome;
}

// The Qt player on a file that is not sound: whether the machine has a
// sound output or not, the failure comes back instead of the clip hanging.
TEST(QtMediaPlayerTest, FileThatIsNotSoundFails)
{
    kvtest::TempDir dir;
    const std::string path = dir.write("noise.wav", std::string(64, 'x'));
    const ClipOutcome outcome = PlayOnQtPlayer(path);
    EXPECT_EQ(outcome.fileName, path);
    EXPECT_NE(outcome.failure, "");
    EXPECT_FALSE(outcome.finished);
}

// The Qt player on a real wave file plays it to its end, unless the machine
// has no sound output device (a container, a build server).
TEST(QtMediaPlayerTest, WaveFilePlaysToItsEndWhereThereIsAnOutput)
{
    if (!platform::SoundBackendProblem().empty())
        GTEST_SKIP() << platform::SoundBackendProblem();
    kvtest::TempDir dir;
    const ClipOutcome outcome = PlayOnQtPlayer(dir.write("left.wav", WaveFile(800)));
    if (outcome.failure != kNoSoundOutput) {
        EXPECT_EQ(outcome.failure, "");
        EXPECT_TRUE(outcome.finished);
    }
}

class MainVoiceWithoutBackendTest : public MainFormTest
{
};

// A machine without the GStreamer plugin packages, made in a child process
// by pointing GStreamer at empty plugin folders and a fresh registry. Making
// a Qt media player there kills the program, so none is made: the first
// prompt says once that there is no sound output, every cue and clip after
// it is skipped, and the window goes on.
TEST_F(MainVoiceWithoutBackendTest, PromptsAreSkippedAndSaidOnce)
{
    if (!kvtest::InTestChild()) {
        const std::string empty = dir.makeFolder("no-plugins");
        const kvtest::ChildRun child = kvtest::RunTestInChild({ "GST_PLUGIN_SYSTEM_PATH_1_0=" + empty,
            "GST_PLUGIN_SYSTEM_PATH=" + empty, "GST_PLUGIN_PATH_1_0=" + empty, "GST_PLUGIN_PATH=" + empty,
            "GST_REGISTRY_1_0=" + dir.file("registry.bin"), "GST_REGISTRY=" + dir.file("registry.bin"),
            "QT_MEDIA_BACKEND=gstreamer" });
        EXPECT_TRUE(child.passed) << child.output;
        return;
    }
    std::string missing;
    for (const std::string& name : platform::SoundBackendElements())
        missing += (missing.empty() ? "" : ", ") + name;
    EXPECT_EQ(platform::SoundBackendProblem(), "GStreamer elements missing: " + missing);

    dir.write("Port.wav", WaveFile(800));
    dir.write("left.wav", WaveFile(800));
    Start();
    ui.strictMessages = true;
    MainForm->PlayVoice("Port");
    EXPECT_EQ(ls(MainForm->StatusLine->text()), "No sound output: voice prompts and clips are not heard");
    EXPECT_EQ(MainForm->MediaPlayer1().FileName(), app + "Port.wav");
    EXPECT_TRUE(SoundEnabled);

    MainForm->StatusLine->clear();
    RouteCount = 2;
    ActiveWaypoint = 2;
    TFixPreferences prefs;
    prefs.Voice = true;
    for (int fix = 0; fix < 3; ++fix)
        MainForm->PlaySteeringCues(ReadXteGauge(0.10, 0.05, kGaugeSilver, false), prefs);
    EXPECT_EQ(MainForm->MediaPlayer1().FileName(), app + "left.wav");
    EXPECT_EQ(ls(MainForm->StatusLine->text()), "");
    EXPECT_TRUE(SoundEnabled);
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
