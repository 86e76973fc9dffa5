// A chart waypoint added on a real desktop (an X server with the openbox
// window manager, Qt on xcb) the way the help tells a new user to: Edit >
// Add Chart Waypoint, the description and the position typed key by key.
// A latitude without its hemisphere letter is refused in an error box while
// the dialog stays open with the field to mend; the latitude then typed as
// the help shows it ends up in the chart's waypoint file as typed.

#include "DesktopFixture.h"

#include "dialogs/WPeditDlg.h"
#include "mainwin/Main.h"
#include "platform/QtText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace
{

class WaypointEntryTest : public DesktopTest
{
protected:
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
