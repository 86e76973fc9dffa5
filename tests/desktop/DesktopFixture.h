#pragma once
// The program's forms on a real desktop (an X server with the openbox window
// manager, Qt on xcb; scripts/on-desktop.sh): skipped without one, started
// once the window manager runs, in an application folder holding the demo
// folder. `x` reads the window stack back from the X server; a test installs
// `desktop` to have real dialogs and boxes shown.

#include "XWindowStack.h"

#include "mainwin/MainFormFixture.h"
#include "platform/QtUi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class DesktopTest : public MainFormTest
{
protected:
    static bool OnDesktop() { return QGuiApplication::platformName() == "xcb"; }

    void SetUp() override
    {
        if (!OnDesktop())
            GTEST_SKIP() << "needs an X display (run through scripts/on-desktop.sh)";
        ASSERT_TRUE(x.Connected());
        ASSERT_TRUE(kvtest::WaitFor([this] { return x.WindowManagerRunning(); }, 10000))
            << "no window manager on the display";
        MainFormTest::SetUp();
        CopyDemoFolder();
    }

    void TearDown() override
    {
        if (!OnDesktop())
            return;
        platform::setUi(&ui);
        MainFormTest::TearDown();
    }

    // What the user does, one step after another: each step waits until
    // `ready` holds, at most 5 s (then the test fails with what `seen` tells),
    // and acts. `start` may run the modal loops the steps happen in; steps
    // left when it returns are waited for.
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
        std::function<std::string()> seen = {};
    };
    static void Play(const std::function<void()>& start, const std::vector<Step>& steps)
    {
        std::size_t next = 0;
        QElapsedTimer waited;
        waited.start();
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (next >= steps.size())
                return;
            const Step& step = steps[next];
            if (step.ready()) {
                ++next;
                waited.restart();
                step.act();
                return;
            }
            if (waited.elapsed() < 5000)
                return;
            ADD_FAILURE() << step.what << ": " << (step.seen ? step.seen() : "not reached");
            next = steps.size();
            for (int i = 0; i < 5 && QApplication::activeModalWidget(); ++i)
                QApplication::activeModalWidget()->close();
        });
        poll.start();
        start();
        kvtest::WaitFor([&] { return next >= steps.size(); }, 15000);
        poll.stop();
    }

    kvtest::XWindowStack x;
    platform::QtUi desktop;
};
