// Where windows come up on a real desktop (an X server with the openbox
// window manager, Qt on xcb): every modal dialog and box lies above all the
// program's windows, those that stay on top included, and has the keyboard;
// every dialog and box the raster image viewer opens lies above the viewer,
// which stays on top, and is transient for it; the main window's dialogs and
// boxes come above the viewer and "AIS Target Data" and leave them lying as
// they did, and are the main window's also while its help window is active;
// the help window comes up above the dialog it was asked from and takes
// clicks and keys while that dialog is modal, stays when the dialog closes
// and closes with the program; gridmerk's F1 opens the page of its window,
// its dialogs come above its window and its help window, and Exit ends it
// with its help window open. The stack and the transient
// owners are read back from the X server as the window manager keeps them.

#include "DesktopFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "converter/Apunit1.h"
#include "dialogs/AISInfo.h"
#include "dialogs/AboutBox.h"
#include "dialogs/AlarmDialog.h"
#include "dialogs/CTRef.h"
#include "dialogs/Cviewer.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/WPeditDlg.h"
#include "help/ContextHelp.h"
#include "help/HelpApi.h"
#include "help/HelpDebug.h"
#include "help/HelpKeys.h"
#include "help/HelpViewer.h"
#include "mainwin/MainFormFixture.h"
#include "nav/ChartletReference.h"
#include "platform/QtText.h"
#include "platform/QtUi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <functional>
#include <memory>
#include <sstream>

namespace
{

// A window that comes up while a case runs: the window it must lie above,
// whether it is transient for that window (or for none), and what the user
// then does in it.
struct Expected {
    const char* what;
    std::function<QWidget*()> window; // nullptr until it is shown
    std::function<QWidget*()> above;
    bool transient;
    std::function<void(QWidget*)> then;
    // Transient for the whole program (its client leader) rather than for
    // that window: a dialog asked while windows that stay on top are up.
    bool programWide = false;
};

struct StackCase {
    std::string name;
    std::function<void()> start; // may run a modal loop; the expected windows come up inside it
    std::vector<Expected> expected;
    std::function<void()> after; // checks once the windows have closed
};

help::THelpWindow* OnlyHelpWindow()
{
    const auto windows = help::OpenHelpWindows();
    return windows.size() == 1 ? windows.front() : nullptr;
}

QWidget* ShownHelpWindow()
{
    help::THelpWindow* help = OnlyHelpWindow();
    return help && help->isVisible() ? help : nullptr;
}

QWidget* Shown(QWidget* w)
{
    return w && w->isVisible() ? w : nullptr;
}

QMessageBox* ShownBox(const std::string& text)
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box && box->isVisible() && ls(box->text()) == text ? box : nullptr;
}

template <class Dialog> Dialog* ShownModal()
{
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

// The user at the help window: the mouse on its Contents, Back and Forward
// buttons, Page Down in the page. Delivered as the window system delivers
// them, so a window blocked by a modal dialog gets none of them.
void UseHelpWindow(QWidget* w)
{
    auto* help = static_cast<help::THelpWindow*>(w);
    const std::string asked = help->CurrentPage();
    auto click = [help](const char* button) {
        auto* b = help->findChild<QToolButton*>(button);
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, b->mapTo(help, b->rect().center()));
    };
    click("Contents");
    EXPECT_EQ(help->CurrentPage(), "/index.htm") << "Contents took no click";
    click("Back");
    if (asked != "/index.htm")
        EXPECT_EQ(help->CurrentPage(), asked) << "Back took no click";
    else // the page before it
        EXPECT_NE(help->CurrentPage(), asked) << "Back took no click";
    click("Forward");
    EXPECT_EQ(help->CurrentPage(), "/index.htm") << "Forward took no click";
    // A window low enough that the page overflows it.
    QScrollBar* bar = help->Browser()->verticalScrollBar();
    help->resize(help->width(), 140);
    kvtest::WaitFor([bar] { return bar->maximum() > 0; });
    bar->setValue(0);
    help->Browser()->setFocus();
    for (int i = 0; i < 3 && bar->value() == 0; ++i)
        QTest::keyClick(help->windowHandle(), Qt::Key_PageDown);
    EXPECT_GT(bar->value(), 0) << "the page does not scroll";
}

// The user turns to a window.
void Activate(QWidget* w)
{
    w->window()->activateWindow();
    kvtest::WaitFor([w] { return w->window()->isActiveWindow(); });
}

// F1 in a window, made the active one first: the main window's F1 is a
// shortcut of its own.
void PressF1(QWidget* in)
{
    Activate(in);
    QTest::keyClick(in, Qt::Key_F1);
}

void Answer(QWidget* box, QMessageBox::StandardButton button)
{
    static_cast<QMessageBox*>(box)->button(button)->click();
}

class WindowStackTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        help::SetModuleLoader({});
        help::InstallHelpViewer();
        help::LoadHtmlHelp();
        help::HelpFuncsInit(app + "korvex", { app + "korvex" }, help::HelpFolders { dir.path(), "", "" });
        qApp->installEventFilter(&f1);
    }

    void TearDown() override
    {
        if (!OnDesktop())
            return;
        qApp->removeEventFilter(&f1);
        DesktopTest::TearDown();
        help::HelpCloseAll();
        help::HelpFuncsDone();
        help::UnloadHtmlHelp();
    }

    // Shown and managed by the window manager.
    bool Placed(QWidget* w) { return w->isVisible() && x.Managed(static_cast<uint32_t>(w->winId())); }

    bool Placed(QWidget* w, QWidget* above, bool transient, bool programWide = false)
    {
        const auto id = static_cast<uint32_t>(w->winId());
        const auto owner = static_cast<uint32_t>(above->window()->winId());
        if (programWide)
            return x.Above(id, owner) && x.TransientFor(id) != 0 && x.TransientFor(id) == x.ClientLeader(owner);
        return x.Above(id, owner) && x.TransientFor(id) == (transient ? owner : 0u);
    }

    // A modal dialog or box lies above every other window of the program
    // and has the keyboard.
    bool OnTopWithKeyboard(QWidget* w)
    {
        if (w != QApplication::activeModalWidget())
            return true;
        const auto id = static_cast<uint32_t>(w->winId());
        for (QWidget* other : QApplication::topLevelWidgets())
            if (other != w && Placed(other) && !x.Above(id, static_cast<uint32_t>(other->winId())))
                return false;
        return x.InputFocus() == id;
    }

    // The program's windows that are up, bottom first.
    std::vector<uint32_t> ProgramStack()
    {
        std::vector<uint32_t> ids;
        for (uint32_t id : x.Stacking())
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && static_cast<uint32_t>(w->winId()) == id)
                    ids.push_back(id);
        return ids;
    }

    std::string Describe(QWidget* w, QWidget* above)
    {
        std::ostringstream out;
        if (!w || !above)
            return w ? "no window to be above" : "it did not come up";
        const auto id = static_cast<uint32_t>(w->winId());
        out << "window 0x" << std::hex << id << " transient for 0x" << x.TransientFor(id)
            << ", to be above 0x" << above->window()->winId() << "; keyboard at 0x" << x.InputFocus()
            << "; stack from the bottom:";
        for (uint32_t s : x.Stacking())
            out << " 0x" << s;
        return out.str();
    }

    void Run(const StackCase& c)
    {
        SCOPED_TRACE(c.name);
        std::vector<Step> steps;
        for (const Expected& e : c.expected)
            steps.push_back({ e.what,
                [this, &e] {
                    QWidget* w = e.window();
                    QWidget* above = e.above();
                    return w && above && Placed(w) && Placed(w, above, e.transient, e.programWide)
                        && OnTopWithKeyboard(w);
                },
                [&e] { e.then(e.window()); }, [this, &e] { return Describe(e.window(), e.above()); } });
        Play(c.start, steps);
        if (c.after)
            c.after();
    }

    // A bitmap chartlet (drawable, so its waypoint command is on) with the
    // demo entrance's reference, open in the viewer.
    void OpenBitmapChartlet()
    {
        const QImage picture(qs(app + "charts/Entrance.jpg"));
        ASSERT_TRUE(picture.save(qs(app + "charts/Bitmap.bmp"), "BMP"));
        std::filesystem::copy_file(app + "charts/Entrance.ref", app + "charts/Bitmap.ref");
        Cviewer->OpenImage(app + "charts/Bitmap.bmp", false);
        ASSERT_TRUE(Cviewer->ReferenceValid() && Cviewer->ImageDrawable());
        Cviewer->Image1MouseDown(100, 100);
        Cviewer->Image1MouseUp(100, 100);
    }

    help::F1Filter f1;
};

TEST_F(WindowStackTest, DialogsAndHelpComeAboveTheWindowThatAsks)
{
    Start();
    FirstTick();
    ASSERT_EQ(CurrentChartName, "harbour");
    MainForm->show();
    OpenBitmapChartlet();
    Cviewer->show();
    ASSERT_TRUE(kvtest::WaitFor([this] { return Placed(MainForm) && Placed(Cviewer); }));
    platform::setUi(&desktop);

    auto viewer = [] { return static_cast<QWidget*>(Cviewer); };
    auto main = [] { return static_cast<QWidget*>(MainForm); };
    auto reject = [](QWidget* w) { static_cast<QDialog*>(w)->reject(); };
    auto useHelpThenReject = [](QDialog* dialog) {
        return [dialog](QWidget* help) {
            UseHelpWindow(help);
            dialog->reject();
        };
    };
    auto helpStays = [this] {
        QWidget* help = ShownHelpWindow();
        ASSERT_NE(help, nullptr) << "the help window closed with the dialog";
        EXPECT_TRUE(kvtest::WaitFor([&] { return Placed(help); }));
    };
    std::unique_ptr<TForm1> gridmerk;
    uint32_t gridmerkWindow = 0, gridmerkHelp = 0, korvexHelp = 0; // window ids, to see them go
    auto gridmerkForm = [&gridmerk] { return static_cast<QWidget*>(gridmerk.get()); };
    auto helpAt = [](const char* page) {
        return [page]() -> QWidget* {
            QWidget* help = ShownHelpWindow();
            return help && static_cast<help::THelpWindow*>(help)->CurrentPage() == page ? help : nullptr;
        };
    };

    // What the main window asks, and the answer that closes it.
    struct Asked {
        const char* what;
        std::function<void()> ask;
        std::function<QWidget*()> window;
        std::function<void(QWidget*)> answer;
    };
    auto no = [](QWidget* box) { Answer(box, QMessageBox::No); };
    auto ok = [](QWidget* box) { Answer(box, QMessageBox::Ok); };
    const char* const twoViews = "Two views maximum - close one first...";
    auto askForThirdView = [] {
        if (chartwin::ViewCount() < 2)
            MainForm->FileNewItem->trigger();
        MainForm->FileNewItem->trigger();
    };
    const Asked asked[] = {
        { "File > Exit", [] { MainForm->FileExitItem->trigger(); },
            [] { return ShownBox("Quit Korvane - Are you sure?"); }, no },
        { "About", [] { MainForm->HelpAboutItem->trigger(); }, [] { return Shown(AboutBox); }, reject },
        { "Preferences", [] { MainForm->Global1->trigger(); }, [] { return Shown(GlobalDlg); }, reject },
        { "Timing", [] { MainForm->Alarms1->trigger(); }, [] { return Shown(AlarmDialog); }, reject },
        { "the open dialog", [] { MainForm->Charts1->trigger(); }, ShownModal<QFileDialog>, reject },
        { "the save dialog", [] { MainForm->SaveConfigAs1->trigger(); }, ShownModal<QFileDialog>, reject },
        { "a warning", askForThirdView, [twoViews] { return ShownBox(twoViews); }, ok },
    };
    // With one window that stays on top up beside the main window, the user
    // at the main window or at that window: what the main window asks comes
    // above both, as the whole program's, and when answered leaves them
    // lying as they did, the one on top still above.
    std::vector<uint32_t> before;
    uint32_t dialogWindow = 0;
    auto withOnTop = [&](const char* name, QWidget* onTop, QWidget* atKeyboard, const Asked& a) {
        return StackCase { std::string(a.what) + " with " + name + " up, the keyboard at "
                + (atKeyboard == MainForm ? "the main window" : name),
            [&, onTop, atKeyboard, a] {
                help::HelpCloseAll();
                for (QWidget* w : { static_cast<QWidget*>(Cviewer), static_cast<QWidget*>(AISInfo) })
                    w->setVisible(w == onTop);
                ASSERT_TRUE(kvtest::WaitFor([&] { return ProgramStack().size() == 2 && Placed(onTop); }));
                x.AskToActivate(static_cast<uint32_t>(atKeyboard->winId()));
                ASSERT_TRUE(kvtest::WaitFor(
                    [&] { return x.InputFocus() == static_cast<uint32_t>(atKeyboard->winId()); }));
                before = ProgramStack();
                a.ask();
            },
            { { a.what, a.window, main, true,
                [&, a](QWidget* w) {
                    dialogWindow = static_cast<uint32_t>(w->winId());
                    a.answer(w);
                },
                true } },
            [&, onTop] {
                EXPECT_TRUE(kvtest::WaitFor([&] { return !x.Managed(dialogWindow); }));
                EXPECT_TRUE(kvtest::WaitFor([&] { return ProgramStack() == before; }))
                    << "the windows lie otherwise than before";
                EXPECT_TRUE(
                    x.Above(static_cast<uint32_t>(onTop->winId()), static_cast<uint32_t>(MainForm->winId())));
            } };
    };

    std::vector<StackCase> cases = {
        { "viewer: Reference Image, its help, the question to save", [] { Cviewer->RefInfo->trigger(); },
            { { "the reference dialog", [] { return Shown(CTRef); }, viewer, true,
                  [](QWidget*) { CTRef->BitBtn3->click(); } },
                { "its help", ShownHelpWindow, [] { return static_cast<QWidget*>(CTRef); }, true,
                    [](QWidget* help) {
                        UseHelpWindow(help);
                        CTRef->OKBtn->click();
                    } },
                { "the question", [] { return ShownBox("Save modified chartlet reference data file ?"); },
                    viewer, true,
                    [](QWidget* box) {
                        static_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
                    } } },
            [] { EXPECT_EQ(CTRef->parentWidget(), MainForm); } },
        { "viewer: Create KV Waypoint", [] { Cviewer->CreateWP->trigger(); },
            { { "Add New Waypoint",
                [] { return WPeditDlg->windowTitle() == "Add New Waypoint" ? Shown(WPeditDlg) : nullptr; },
                viewer, true, reject } },
            [] { EXPECT_EQ(WPeditDlg->parentWidget(), MainForm); } },
        { "viewer: Open Image File", [] { Cviewer->OpenChartletFile1->trigger(); },
            { { "the open dialog", ShownModal<QFileDialog>, viewer, true, reject } }, {} },
        { "viewer: F1", [] { PressF1(Cviewer); },
            { { "help", helpAt("/viewer.htm"), viewer, true, UseHelpWindow } }, [] { Cviewer->hide(); } },
        { "main window: F1", [] { PressF1(MainForm); },
            { { "help", helpAt("/index.htm"), main, false, UseHelpWindow } }, {} },
        { "Preferences: F1", [] { MainForm->Global1->trigger(); },
            { { "Preferences", [] { return Shown(GlobalDlg); }, main, true, [](QWidget* w) { PressF1(w); } },
                { "help", ShownHelpWindow, [] { return static_cast<QWidget*>(GlobalDlg); }, true,
                    useHelpThenReject(GlobalDlg) } },
            helpStays },
        { "Timing: F1", [] { MainForm->Alarms1->trigger(); },
            { { "Timing", [] { return Shown(AlarmDialog); }, main, true, [](QWidget* w) { PressF1(w); } },
                { "help", helpAt("/timing.htm"), [] { return static_cast<QWidget*>(AlarmDialog); }, true,
                    useHelpThenReject(AlarmDialog) } },
            helpStays },
    };
    for (const Asked& a : asked)
        for (QWidget* onTop : { static_cast<QWidget*>(Cviewer), static_cast<QWidget*>(AISInfo) })
            for (QWidget* atKeyboard : { static_cast<QWidget*>(MainForm), onTop })
                cases.push_back(
                    withOnTop(onTop == Cviewer ? "the viewer" : "AIS Target Data", onTop, atKeyboard, a));
    const StackCase closing[] = {
        { "main window: a warning while its help window is active",
            [&] {
                Cviewer->hide();
                AISInfo->hide();
                help::HelpCloseAll();
                PressF1(MainForm);
                ASSERT_TRUE(kvtest::WaitFor([] {
                    QWidget* help = ShownHelpWindow();
                    return help && help->isActiveWindow();
                }));
                askForThirdView();
            },
            { { "the warning", [twoViews] { return ShownBox(twoViews); }, main, true, ok } }, {} },
        { "gridmerk: F1 in its window and its input formats, its dialogs, then Exit",
            [&] {
                gridmerk = std::make_unique<TForm1>();
                gridmerk->show();
                gridmerkWindow = static_cast<uint32_t>(gridmerk->winId());
                ASSERT_TRUE(kvtest::WaitFor([&] { return Placed(gridmerk.get()); }));
                help::HelpCloseAll();
                PressF1(gridmerk.get());
            },
            { { "its page", helpAt("/index.htm"), gridmerkForm, false,
                  [&](QWidget* help) {
                      gridmerkHelp = static_cast<uint32_t>(help->winId());
                      PressF1(gridmerk->Format);
                  } },
                { "the formats page", helpAt("/formats.htm"), gridmerkForm, false,
                    [&](QWidget*) {
                        // Its dialogs come from their own event, not from inside this check.
                        QTimer::singleShot(0, [&] {
                            Activate(gridmerk.get());
                            gridmerk->BrowseRep->click();
                        });
                    } },
                { "its open dialog", ShownModal<QFileDialog>, gridmerkForm, true,
                    [&](QWidget* w) {
                        reject(w);
                        QTimer::singleShot(0, [&] { gridmerk->Button1->click(); });
                    } },
                { "its question",
                    [] {
                        return ShownBox(
                            "Have you got an internet connection ? if so you can download coastline data.");
                    },
                    gridmerkForm, true,
                    [&](QWidget* box) {
                        no(box);
                        gridmerk->Exit->click();
                    } } },
            [&] {
                EXPECT_TRUE(help::OpenHelpWindows().empty());
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w != MainForm && w->isVisible())
                        ADD_FAILURE() << "still open: " << ls(w->windowTitle());
                EXPECT_TRUE(
                    kvtest::WaitFor([&] { return !x.Managed(gridmerkWindow) && !x.Managed(gridmerkHelp); }));
                gridmerk.reset();
            } },
        { "korvex closes with its help window open",
            [&] {
                PressF1(MainForm);
                ASSERT_NE(ShownHelpWindow(), nullptr);
                korvexHelp = static_cast<uint32_t>(ShownHelpWindow()->winId());
                platform::setUi(&ui);
                ui.answerYes(); // "Quit ... Are you sure?"
                MainForm->close();
                FreeProgramForms();
            },
            {},
            [&] {
                EXPECT_TRUE(help::OpenHelpWindows().empty());
                EXPECT_TRUE(kvtest::WaitFor([&] { return !x.Managed(korvexHelp); }));
            } },
    };
    cases.insert(cases.end(), std::begin(closing), std::end(closing));
    for (const StackCase& c : cases)
        Run(c);
}

// "AIS Target Data" and the raster image viewer are windows of their own:
// minimised from their title bar (the window manager asked, as its button
// asks it) or from the data window's own menu, they alone go, and the main
// window with its chart stays up; the command that shows them brings them
// back. Both stay above the main window. The data window asks for a
// minimise button only, and comes up below the main window's tool bar,
// covering none of its buttons.
TEST_F(WindowStackTest, AisTargetDataAndTheViewerMinimiseAloneAndCoverNoToolButton)
{
    Start();
    FirstTick();
    MainForm->show();
    ASSERT_TRUE(kvtest::WaitFor([this] { return Placed(MainForm); }));
    TMDIChild* aisView = nullptr;
    for (TMDIChild* view : chartwin::Views())
        if (view->FIsAisView)
            aisView = view;
    ASSERT_NE(aisView, nullptr);
    ASSERT_FALSE(AISInfo->isVisible());
    aisView->ShowAIS->click();
    ASSERT_TRUE(kvtest::WaitFor([this] { return Placed(AISInfo); }));
    auto id = [](QWidget* w) { return static_cast<uint32_t>(w->winId()); };
    const uint32_t main = id(MainForm), data = id(AISInfo);

    {
        SCOPED_TRACE("where AIS Target Data comes up");
        ASSERT_TRUE(kvtest::WaitFor([&] { return x.Frame(data).y > x.Frame(main).y; }));
        const kvtest::XRect frame = x.Frame(data);
        std::vector<QWidget*> bars { MainForm->menuBar() };
        for (QToolBar* bar : MainForm->findChildren<QToolBar*>())
            bars.push_back(bar);
        for (QWidget* bar : bars)
            for (QWidget* button : bar->findChildren<QWidget*>()) {
                if (!button->isVisible() || !qobject_cast<QAbstractButton*>(button))
                    continue;
                const QPoint at = button->mapToGlobal(QPoint(0, 0));
                EXPECT_FALSE(frame.Intersects({ at.x(), at.y(), button->width(), button->height() }))
                    << "covers " << ls(button->objectName()) << " \"" << ls(button->toolTip()) << "\"";
            }
        const uint32_t functions = x.MotifFunctions(data);
        EXPECT_EQ(functions & (x.kMwmFuncAll | x.kMwmFuncMinimize | x.kMwmFuncMaximize | x.kMwmFuncClose),
            x.kMwmFuncMinimize);
    }

    struct Minimise {
        const char* what;
        QWidget* window;
        std::function<void()> minimise;
        std::function<void()> showAgain;
    };
    auto aisButtonOffAndOn = [aisView] {
        aisView->ShowAIS->click();
        aisView->ShowAIS->click();
    };
    const Minimise minimising[] = {
        { "AIS Target Data from its title bar", AISInfo, [&] { x.AskToMinimise(data); }, aisButtonOffAndOn },
        { "AIS Target Data from its menu", AISInfo, [] { AISInfo->Minimise1->trigger(); }, aisButtonOffAndOn },
        { "the viewer from its title bar", Cviewer, [&] { x.AskToMinimise(id(Cviewer)); },
            [] { MainForm->ChartletViewer1Click(); } },
    };
    MainForm->ChartletViewer1Click();
    ASSERT_TRUE(kvtest::WaitFor([this] { return Placed(Cviewer); }));
    for (const Minimise& m : minimising) {
        SCOPED_TRACE(m.what);
        const uint32_t window = id(m.window);
        ASSERT_TRUE(kvtest::WaitFor([&] { return Placed(m.window) && !x.Iconic(window); }));
        EXPECT_EQ(x.TransientFor(window), 0u);
        EXPECT_TRUE(x.Above(window, main));
        m.minimise();
        ASSERT_TRUE(kvtest::WaitFor([&] { return x.Iconic(window) && m.window->isMinimized(); }))
            << "not minimised";
        EXPECT_FALSE(x.Iconic(main)) << "the main window went with it";
        EXPECT_FALSE(x.Iconic(id(m.window == AISInfo ? static_cast<QWidget*>(Cviewer) : AISInfo)))
            << "the other window went with it";
        m.showAgain();
        EXPECT_TRUE(kvtest::WaitFor([&] { return !x.Iconic(window) && m.window->isVisible(); }))
            << "not brought back";
        EXPECT_TRUE(kvtest::WaitFor([&] { return x.Above(window, main); }));
    }
}

// gridmerk's results are a list to read: typed keys leave it as it is, and
// Tab (or Shift+Tab) takes the keyboard on to the window's other controls.
TEST_F(WindowStackTest, GridmerkResultsTakeNoTypingAndTabLeavesThem)
{
    TForm1 gridmerk;
    gridmerk.show();
    ASSERT_TRUE(kvtest::WaitFor([&] { return Placed(&gridmerk); }));
    gridmerk.Results->setPlainText("1 50.8000 -1.3000");
    for (const Qt::KeyboardModifiers modifiers : { Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier) }) {
        SCOPED_TRACE(modifiers == Qt::ShiftModifier ? "Shift+Tab" : "Tab");
        Activate(&gridmerk);
        gridmerk.Results->setFocus();
        ASSERT_TRUE(kvtest::WaitFor([&] { return gridmerk.Results->hasFocus(); }));
        for (const char c : std::string("typed"))
            QTest::keyClick(gridmerk.windowHandle(), c);
        QTest::keyClick(gridmerk.windowHandle(), Qt::Key_Delete);
        QTest::keyClick(gridmerk.windowHandle(), Qt::Key_Tab, modifiers);
        EXPECT_EQ(ls(gridmerk.Results->toPlainText()), "1 50.8000 -1.3000");
        EXPECT_TRUE(kvtest::WaitFor([&] { return !gridmerk.Results->hasFocus() && gridmerk.focusWidget(); }))
            << "the keyboard stays in the results";
    }
}

// How much of `lower` the frame of `upper` covers, as a share of the frame
// of `lower`, as the window manager keeps them.
double Covered(kvtest::XWindowStack& x, QWidget* upper, QWidget* lower)
{
    const auto a = x.Frame(static_cast<uint32_t>(upper->winId()));
    const auto b = x.Frame(static_cast<uint32_t>(lower->window()->winId()));
    if (b.width <= 0 || b.height <= 0)
        return 1.0;
    const int w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const int h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? static_cast<double>(w) * h / (static_cast<double>(b.width) * b.height) : 0.0;
}

std::string Frames(kvtest::XWindowStack& x, QWidget* help, QWidget* asker)
{
    std::ostringstream out;
    for (QWidget* w : { help, asker->window() }) {
        const auto f = x.Frame(static_cast<uint32_t>(w->winId()));
        out << (w == help ? "help " : "; asked from ") << f.width << "x" << f.height << " at (" << f.x << ", "
            << f.y << ")";
    }
    return out.str();
}

// F1 in Preferences, Timing, the viewer and the main window maximised: the
// help window comes up above the window it documents, transient for a
// dialog, on the screen, and clear of that window where the screen has room
// beside it (a 1280x1024 screen has it beside the dialogs); with no room
// (the maximised main window, a 1024x768 screen) it covers at most half.
TEST_F(WindowStackTest, HelpLeavesTheWindowItDocumentsInView)
{
    Start();
    FirstTick();
    MainForm->show();
    OpenBitmapChartlet();
    ASSERT_TRUE(kvtest::WaitFor([this] { return Placed(MainForm); }));
    platform::setUi(&desktop);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const bool roomBeside = screen.width() >= 1280 && screen.height() >= 1024;

    auto viewer = [] { return static_cast<QWidget*>(Cviewer); };
    auto main = [] { return static_cast<QWidget*>(MainForm); };
    auto helpAt = [](const char* page) {
        return [page]() -> QWidget* {
            QWidget* help = ShownHelpWindow();
            return help && static_cast<help::THelpWindow*>(help)->CurrentPage() == page ? help : nullptr;
        };
    };
    // The help window leaves `asker` in view (clear of it, or at least half
    // of it), then the user closes `asker` if it is a dialog.
    auto inViewOf = [this, screen](QWidget* asker, bool clear) {
        return [this, screen, asker, clear](QWidget* help) {
            auto inView = [&] {
                const double covered = Covered(x, help, asker);
                return clear ? covered == 0.0 : covered <= 0.5;
            };
            auto onScreen = [&] {
                const auto f = x.Frame(static_cast<uint32_t>(help->winId()));
                return screen.contains(QRect(f.x, f.y, f.width, f.height));
            };
            kvtest::WaitFor([&] { return inView() && onScreen(); });
            EXPECT_TRUE(inView()) << (clear ? "over the window it documents: "
                                            : "over more than half of it: ")
                                  << Frames(x, help, asker);
            EXPECT_TRUE(onScreen()) << "off the screen: " << Frames(x, help, asker);
            if (auto* dialog = qobject_cast<QDialog*>(asker); dialog && dialog->isModal())
                dialog->reject();
        };
    };

    kvtest::XRect helpFrame;
    const StackCase cases[] = {
        { "Preferences: F1", [] { MainForm->Global1->trigger(); },
            { { "Preferences", [] { return Shown(GlobalDlg); }, main, true, [](QWidget* w) { PressF1(w); } },
                { "help", ShownHelpWindow, [] { return static_cast<QWidget*>(GlobalDlg); }, true,
                    inViewOf(GlobalDlg, roomBeside) } },
            {} },
        { "Timing: F1, the help window open", [] { MainForm->Alarms1->trigger(); },
            { { "Timing", [] { return Shown(AlarmDialog); }, main, true, [](QWidget* w) { PressF1(w); } },
                { "help", helpAt("/timing.htm"), [] { return static_cast<QWidget*>(AlarmDialog); }, true,
                    inViewOf(AlarmDialog, roomBeside) } },
            {} },
        { "Preferences again, the help window moved clear of it: it stays where it is",
            [] { MainForm->Global1->trigger(); },
            { { "Preferences", [] { return Shown(GlobalDlg); }, main, true,
                  [this, &helpFrame, screen](QWidget* w) {
                      // The user moves the help window into the widest strip
                      // of the screen beside the dialog, and asks again.
                      QWidget* help = ShownHelpWindow();
                      ASSERT_NE(help, nullptr);
                      const auto d = x.Frame(static_cast<uint32_t>(w->winId()));
                      const QRect strips[] = {
                          QRect(screen.left(), screen.top(), d.x - screen.left(), screen.height()),
                          QRect(d.x + d.width, screen.top(), screen.right() + 1 - d.x - d.width,
                              screen.height()),
                          QRect(screen.left(), screen.top(), screen.width(), d.y - screen.top()),
                          QRect(screen.left(), d.y + d.height, screen.width(),
                              screen.bottom() + 1 - d.y - d.height),
                      };
                      const QRect* widest = std::max_element(
                          std::begin(strips), std::end(strips), [](const QRect& a, const QRect& b) {
                              return a.width() * a.height() < b.width() * b.height();
                          });
                      // Its frame as the window manager has it round its inside.
                      const auto f = x.Frame(static_cast<uint32_t>(help->winId()));
                      const QRect inside = help->geometry();
                      const QMargins frame(inside.left() - f.x, inside.top() - f.y,
                          f.x + f.width - 1 - inside.right(), f.y + f.height - 1 - inside.bottom());
                      help->setGeometry(widest->marginsRemoved(frame));
                      kvtest::WaitFor([&] {
                          helpFrame = x.Frame(static_cast<uint32_t>(help->winId()));
                          return QRect(helpFrame.x, helpFrame.y, helpFrame.width, helpFrame.height)
                              == *widest;
                      });
                      PressF1(w);
                  } },
                { "help", ShownHelpWindow, [] { return static_cast<QWidget*>(GlobalDlg); }, true,
                    [this, &helpFrame, inViewOf](QWidget* help) {
                        const QRect before(helpFrame.x, helpFrame.y, helpFrame.width, helpFrame.height);
                        auto frame = [&] {
                            const auto f = x.Frame(static_cast<uint32_t>(help->winId()));
                            return QRect(f.x, f.y, f.width, f.height);
                        };
                        kvtest::WaitFor([&] { return frame() == before; });
                        EXPECT_EQ(frame(), before) << "moved: " << Frames(x, help, GlobalDlg);
                        inViewOf(GlobalDlg, true)(help);
                    } } },
            {} },
        { "viewer: F1",
            [this] {
                help::HelpCloseAll();
                Cviewer->show();
                ASSERT_TRUE(kvtest::WaitFor([this] { return Placed(Cviewer); }));
                PressF1(Cviewer);
            },
            { { "help", helpAt("/viewer.htm"), viewer, true, inViewOf(Cviewer, roomBeside) } },
            [] { Cviewer->hide(); } },
        { "main window maximised: F1",
            [this, screen] {
                help::HelpCloseAll();
                MainForm->showMaximized();
                ASSERT_TRUE(kvtest::WaitFor([&] {
                    return x.Frame(static_cast<uint32_t>(MainForm->winId())).width == screen.width();
                }));
                PressF1(MainForm);
            },
            { { "help", helpAt("/index.htm"), main, false, inViewOf(MainForm, false) } }, {} },
    };
    for (const StackCase& c : cases)
        Run(c);
}

} // namespace
