#pragma once
// The program's forms created headless in a temporary application folder:
// the test moves into the folder (the program takes the current folder as
// its application folder) and back out afterwards. Every dialog goes
// through a ScriptedUi; modal dialogs are recorded by class name.

#include "dialogs/AlarmDialog.h"
#include "dialogs/GlobalDlg.h"
#include "mainwin/MediaPlayer.h"
#include "mainwin/ProgramForms.h"
#include "nav/KVconfig.h"
#include "nav/NavState.h"
#include "platform/QtUi.h"
#include "support/PtyPair.h"
#include "support/QtWait.h"
#include "support/ScriptedUi.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

// The comma-separated fields of a record or sentence.
inline std::vector<std::string> CommaFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    return fields;
}

// A media player that plays nothing and keeps the names of the files it
// was given: the voice prompts of a test without a sound card.
class FakePlayer : public TMediaPlayer
{
public:
    void Play(const std::string& path) override
    {
        file = path;
        played.push_back(path.substr(path.rfind('/') + 1));
    }
    std::string FileName() const override { return file; }

    std::string file;
    std::vector<std::string> played;
};

// The demo route (demo/routes/approach.rte) sent to the autopilot: every
// waypoint in route order.
inline const std::string kDemoRouteWpl = "$ECWPL,5047.520,N,00120.100,W,ANCHOR*52\r\n"
                                         "$ECWPL,5047.160,N,00118.000,W,FAIRWA*4B\r\n"
                                         "$ECWPL,5047.580,N,00118.000,W,CHANNE*44\r\n"
                                         "$ECWPL,5048.000,N,00118.000,W,ENTRAN*4B\r\n"
                                         "$ECWPL,5048.720,N,00117.940,W,BASIN*19\r\n"
                                         "$ECWPL,5049.080,N,00117.940,W,VISITO*5C\r\n";

// A route of one waypoint, "Outer Spit", 6' north of 50 deg N on the
// meridian of 1 deg W, active, with the cross-track reference due north.
inline void FollowOneWaypointNorth()
{
    RoutePoints[1] = { 50.1, 1.0 };
    RouteNames[1] = "Outer Spit              19   ";
    RouteCount = 1;
    ActiveWaypoint = 1;
    XteRefCourse = 0.0;
    RouteGuidanceOn = true;
}

class MainFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedCwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        app = std::filesystem::current_path().string() + "/";
        ResetNavState();
        GlobalSettings = {};
        AlarmSettings = {};
        ui.nameModal = platform::QtDialogClassName;
    }

    void TearDown() override
    {
        FreeProgramForms();
        std::filesystem::current_path(savedCwd_);
    }

    // Writes a configuration file in the application folder from the
    // navigation state as `setup` leaves it, starting from the reset state.
    void WriteConfig(
        const std::string& name, const std::function<void()>& setup = [] {})
    {
        ResetNavState();
        AppFolder = app;
        setup();
        SaveConfigFile(app + name);
        ResetNavState();
    }

    // The configuration of a boat with an autopilot on COM4 at 4800 baud
    // that takes XTE and APB (no HSC, BOD or user sentence), a hull speed of
    // 6 knots and a fix timer left to the test; `more` changes what a test
    // needs besides.
    void WriteAutopilotConfig(const std::function<void()>& more = [] {})
    {
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
    }

    void Start(std::vector<std::string> args = {}, QSize screen = QSize(1024, 768))
    {
        CreateProgramForms(TStartOptions { std::move(args), screen });
    }

    // Runs the first tick, expecting the about box at its end.
    void FirstTick()
    {
        ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
        MainForm->SecsTimerTimer();
        RunDeferredStart();
    }

    // The deferred start that the first tick hands to the event loop.
    static void RunDeferredStart() { QCoreApplication::sendPostedEvents(MainForm, QEvent::MetaCall); }

    // A chart view as far as the main window's bookkeeping goes.
    QMdiSubWindow* AddView()
    {
        QMdiSubWindow* view = MainForm->MdiArea->addSubWindow(new QWidget);
        view->show();
        return view;
    }

    // One fix through the pseudo-terminal that stands in for the NMEA port:
    // the sentence comes in, the fix tick runs, and what the program sends
    // back is returned (waiting for `replySize` bytes, or briefly for none).
    std::string FixThrough(kvtest::PtyPair& port, const std::string& sentence, std::size_t replySize)
    {
        port.Write(sentence + "\r\n");
        if (!kvtest::WaitFor([&] { return LastSentence == sentence; }))
            return "not taken: " + sentence;
        MainForm->FixTimerTimer();
        // For none, 100 ms for a first byte, which would show that something came.
        return replySize == 0 ? port.Read(1, 100) : port.Read(replySize, 2000);
    }

    // The demo application folder (demo/ of the source tree), every file of
    // it, copied into the application folder.
    void CopyDemoFolder()
    {
        std::filesystem::copy(std::string(KV_SOURCE_DIR) + "/demo", dir.path(),
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }

    std::vector<std::string> ShownKinds() const
    {
        std::vector<std::string> kinds;
        for (const auto& s : ui.shown())
            kinds.push_back(s.kind);
        return kinds;
    }

    // The machine's serial ports stay out of the tests.
    kvtest::IsolatedPorts isolatedPorts;
    kvtest::TempDir dir;
    std::string app; // the application folder, with its trailing '/'
    platform::ScriptedUi ui;

private:
    std::filesystem::path savedCwd_;
};
