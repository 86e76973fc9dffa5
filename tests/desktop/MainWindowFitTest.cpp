// The main window on a small screen (1024x768 under openbox: the test is
// registered with a screen of that size). Started as korvex starts, then
// restored from maximised, its frame as the window manager draws it lies on
// the screen. At the smallest size it allows, with and without the data
// trend plot, every figure of the navigation panel is shown whole inside the
// window, the status bar's panels lie side by side each at its width, and
// the window with its frame still fits the screen.

#include "DesktopFixture.h"

#include "mainwin/Main.h"
#include "mainwin/ProgramForms.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <QWindow>
#include <sstream>

namespace
{

class MainWindowFitTest : public DesktopTest
{
protected:
    // korvex as it starts on the demo folder, the window maximised and then
    // restored as the title bar's button restores it.
    void StartAndRestore()
    {
        Start();
        FirstTick();
        ShowMainForm();
        id = static_cast<uint32_t>(MainForm->winId());
        // Maximised by the window manager, its frame covering the screen,
        // and shown as such by Qt.
        ASSERT_TRUE(kvtest::WaitFor([this] {
            const kvtest::XRect frame = x.Frame(id);
            const kvtest::XRect screen = x.Screen();
            return x.Managed(id) && x.Maximised(id) && frame.x == 0 && frame.y == 0
                && frame.width == screen.width && frame.height == screen.height
                && MainForm->windowHandle()->isExposed()
                && MainForm->frameGeometry() == QRect(0, 0, screen.width, screen.height);
        })) << "not maximised";
        MainForm->showNormal();
        // Qt takes the state at once; the window manager's restore follows.
        ASSERT_TRUE(kvtest::WaitFor([this] { return !x.Maximised(id); })) << "not restored";
    }

    static std::string Describe(const kvtest::XRect& r)
    {
        std::ostringstream out;
        out << r.width << "x" << r.height << " at (" << r.x << ", " << r.y << ")";
        return out.str();
    }

    uint32_t id = 0;
};

// Where a widget lies in the main window.
QRect InMainWindow(const QWidget* w)
{
    return QRect(w->mapTo(MainForm, QPoint(0, 0)), w->size());
}

QString Name(const QWidget* w)
{
    QString name = w->objectName();
    if (auto* label = qobject_cast<const QLabel*>(w); label && name.isEmpty())
        name = "\"" + label->text() + "\"";
    return QString("%1 %2").arg(w->metaObject()->className(), name);
}

// The figures of the navigation panel that are cut off, squeezed below the
// height they ask for, or outside the window's room between the tool bar
// and the status bar.
QStringList PanelFaults()
{
    QStringList faults;
    QWidget* centre = MainForm->centralWidget();
    const QRect room = InMainWindow(centre) & MainForm->rect();
    for (QWidget* w : MainForm->NavPanel->findChildren<QWidget*>()) {
        // The panel's own figures and those of the data trend plot, not the
        // parts they are made of.
        if (!w->isVisibleTo(MainForm)
            || (w->parentWidget() != MainForm->NavPanel && w->parentWidget() != MainForm->Data_Panel))
            continue;
        const int asks = w->sizeHint().expandedTo(w->minimumSize()).boundedTo(w->maximumSize()).height();
        const QRect at = InMainWindow(w);
        if (!room.contains(at))
            faults << QString("%1 at (%2, %3) %4x%5 lies outside (%6, %7) %8x%9")
                          .arg(Name(w))
                          .arg(at.x())
                          .arg(at.y())
                          .arg(at.width())
                          .arg(at.height())
                          .arg(room.x())
                          .arg(room.y())
                          .arg(room.width())
                          .arg(room.height());
        else if (w->height() < asks)
            faults << QString("%1 is %2 high, needs %3").arg(Name(w)).arg(w->height()).arg(asks);
    }
    return faults;
}

// The status bar's panels narrower than they are made, or overlapping.
QStringList StatusFaults()
{
    QStringList faults;
    const std::vector<QLabel*> panels
        = { MainForm->StatusLine, MainForm->GPSIndicator, MainForm->PosnPanel, MainForm->TimePanel };
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const QLabel* panel = panels[i];
        if (panel->width() < panel->minimumWidth())
            faults << QString("%1 is %2 wide, needs %3").arg(Name(panel)).arg(panel->width()).arg(panel->minimumWidth());
        if (!MainForm->rect().contains(InMainWindow(panel)))
            faults << Name(panel) + " lies outside the window";
        for (std::size_t j = i + 1; j < panels.size(); ++j)
            if (InMainWindow(panel).intersects(InMainWindow(panels[j])))
                faults << Name(panel) + " overlaps " + Name(panels[j]);
    }
    return faults;
}

TEST_F(MainWindowFitTest, RestoredWindowFitsTheScreenFrameIncluded)
{
    const kvtest::XRect screen = x.Screen();
    ASSERT_EQ(screen.width, 1024);
    ASSERT_EQ(screen.height, 768);
    StartAndRestore();
    EXPECT_TRUE(kvtest::WaitFor([&] { return x.Frame(id).width > 0 && x.Frame(id).Inside(screen); }))
        << "frame " << Describe(x.Frame(id)) << " on a screen of " << Describe(screen);
}

TEST_F(MainWindowFitTest, SmallestWindowShowsTheWholeNavigationPanel)
{
    const kvtest::XRect screen = x.Screen();
    ASSERT_EQ(screen.width, 1024);
    ASSERT_EQ(screen.height, 768);
    Start();
    FirstTick();
    MainForm->show();
    id = static_cast<uint32_t>(MainForm->winId());
    ASSERT_TRUE(kvtest::WaitFor([this] { return x.Managed(id) && MainForm->windowHandle()->isExposed(); }))
        << "not shown";
    for (const bool plot : { false, true }) {
        SCOPED_TRACE(plot ? "with the data trend plot" : "without the data trend plot");
        if (plot)
            MainForm->DataPlot1Click();
        ASSERT_EQ(MainForm->DataPlot1->isChecked(), plot);
        // The smallest size: what the window asks the window manager for,
        // asked again should a late answer of the window manager undo it.
        MainForm->layout()->activate();
        const QSize smallest = MainForm->minimumSize();
        ASSERT_TRUE(kvtest::WaitFor([&] {
            if (MainForm->size() != smallest)
                MainForm->resize(smallest);
            const kvtest::XRect frame = x.Frame(id);
            const QSize margins = MainForm->frameGeometry().size() - MainForm->size();
            return MainForm->size() == smallest && frame.width == smallest.width() + margins.width()
                && frame.height == smallest.height() + margins.height();
        })) << "not shrunk to " << smallest.width() << "x" << smallest.height() << ": "
             << Describe(x.Frame(id)) << ", " << MainForm->width() << "x" << MainForm->height();
        QApplication::processEvents();
        EXPECT_EQ(PanelFaults().join("\n").toStdString(), "");
        EXPECT_EQ(StatusFaults().join("\n").toStdString(), "");
        const kvtest::XRect frame = x.Frame(id);
        EXPECT_LE(frame.width, screen.width) << Describe(frame);
        EXPECT_LE(frame.height, screen.height) << Describe(frame);
    }
}

} // namespace
