// A chart waypoint added on a real desktop (an X server with the openbox
// window manager, Qt on xcb) the way the help tells a new user to: Edit >
// Add Chart Waypoint, the description and the position typed key by key.
// A latitude without its hemisphere letter is refused in an error box while
// the dialog stays open with the field to mend; the latitude then typed as
// the help shows it ends up in the chart's waypoint file as typed.

#include "XWindowStack.h"

#include "dialogs/WPeditDlg.h"
#include "mainwin/Main.h"
#include "mainwin/MainFormFixture.h"
#include "platform/QtText.h"
#include "platform/QtUi.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

namespace
{

class WaypointEntryTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X display (run through scripts/on-desktop.sh)";
        ASSERT_TRUE(x.Connected());
        ASSERT_TRUE(kvtest::WaitFor([this] { return x.WindowManagerRunning(); }, 10000))
            << "no window manager on the display";
        MainFormTest::SetUp();
        CopyDemoFolder();
    }

    void TearDown() override
    {
        if (QGuiApplication::platformName() != "xcb")
            return;
        platform::setUi(&ui);
        MainFormTest::TearDown();
    }

    // The user, one step after another: each step waits until `ready`
    // holds, then acts. Runs inside the modal loops that `start` opens.
    struct Step {
        const char* what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    void Play(const std::function<void()>& start, const std::vector<Step>& steps)
    {
        std::size_t next = 0;
        QElapsedTimer waited;
        waited.start();
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (next >= steps.size())
                return;
            if (steps[next].ready()) {
                waited.restart();
                steps[next++].act();
                return;
            }
            if (waited.elapsed() < 5000)
                return;
            ADD_FAILURE() << "not reached: " << steps[next].what;
            next = steps.size();
            for (int i = 0; i < 5 && QApplication::activeModalWidget(); ++i)
                QApplication::activeModalWidget()->close();
        });
        poll.start();
        start();
        poll.stop();
        EXPECT_EQ(next, steps.size());
    }

    // A click whose handler may open a modal box of its own: it runs from
    // the event loop, not from inside the step that makes it.
    static void ClickLater(QWidget* button)
    {
        QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    }

    static void Retype(QLineEdit* field, const char* utf8)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, QString::fromUtf8(utf8));
    }

    kvtest::XWindowStack x;
    platform::QtUi desktop;
};

TEST_F(WaypointEntryTest, PositionTypedAsTheHelpShowsIsWrittenToTheWaypointFile)
{
    Start();
    FirstTick();
    ASSERT_EQ(CurrentChartName, "harbour");
    MainForm->show();
    ASSERT_TRUE(kvtest::WaitFor([] { return MainForm->isVisible(); }));
    const std::string wpt = app + "charts/harbour.wpt";
    const std::string before = kvtest::ReadBytes(wpt);
    platform::setUi(&desktop);

    auto dialogUp
        = [] { return QApplication::activeModalWidget() == WPeditDlg && WPeditDlg->isActiveWindow(); };
    std::string refusal;
    Play([] { MainForm->AddChartWaypoint1->trigger(); },
        { { "the waypoint dialog", dialogUp,
              [] {
                  Retype(WPeditDlg->WPdesc, "West pierhead light");
                  WPeditDlg->WPShape->setCurrentIndex(5);
                  Retype(WPeditDlg->Latitude, "50°47.80000");
                  Retype(WPeditDlg->Longitude, "001°18.5W");
                  ClickLater(WPeditDlg->BitBtn1);
              } },
            { "the error box",
                [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                [&refusal] {
                    auto* box = static_cast<QMessageBox*>(QApplication::activeModalWidget());
                    refusal = ls(box->text());
                    EXPECT_EQ(box->icon(), QMessageBox::Critical);
                    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                } },
            { "the dialog again, its latitude to mend",
                [dialogUp] {
                    return dialogUp() && WPeditDlg->Latitude->hasFocus()
                        && WPeditDlg->Latitude->selectedText() == WPeditDlg->Latitude->text();
                },
                [] {
                    QTest::keyClicks(WPeditDlg->Latitude, QString::fromUtf8("50°49.12345N"));
                    EXPECT_EQ(WPeditDlg->Latitude->text(), QString::fromUtf8("50°49.12345N"));
                    ClickLater(WPeditDlg->BitBtn1);
                } } });

    EXPECT_EQ(refusal,
        ls(QString::fromUtf8("Lat \"50°47.800000\" cannot be read. Type degrees, minutes and N or S, such as "
                             "50°49.12345N.")));
    EXPECT_FALSE(WPeditDlg->isVisible());
    EXPECT_EQ(
        kvtest::ReadBytes(wpt), before + "West pierhead light     05   N 50.49.12345  W001.18.50000\r\n");
}

} // namespace
