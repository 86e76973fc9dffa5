#pragma once
// The program's forms created headless in a temporary application folder:
// the test moves into the folder (the program takes the current folder as
// its application folder) and back out afterwards. Every dialog goes
// through a ScriptedUi; modal dialogs are recorded by class name.

#include "dialogs/AlarmDialog.h"
#include "dialogs/GlobalDlg.h"
#include "mainwin/ProgramForms.h"
#include "nav/KVconfig.h"
#include "nav/NavState.h"
#include "platform/QtUi.h"
#include "support/PtyPair.h"
#include "support/QtWait.h"
#include "support/ScriptedUi.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

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

    void Start(std::vector<std::string> args = {}, QSize screen = QSize(1024, 768))
    {
        CreateProgramForms(TStartOptions { std::move(args), screen });
    }

    // Runs the first tick, expecting the about box at its end.
    void FirstTick()
    {
        ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
        MainForm->SecsTimerTimer();
    }

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
        return port.Read(replySize, replySize == 0 ? 100 : 2000);
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
