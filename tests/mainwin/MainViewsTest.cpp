// The main window's side of the chart views: creating them, the refresh of
// all views, their arrangement, printing and copying, the menus that follow
// them, and the outside programs started from the menus.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "mainwin/MainPrograms.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPrinter>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <map>

namespace
{

class MainViewsTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Start();
        ChartHomeLat = 50.5;
        ChartHomeLon = 1.25;
        ChartHomeZoom = 4;
        PixelsPerDegLat = 72;
        PixelsPerDegLon = 88;
        CurrentChartName = "harbour";
        ConfigName = "boat";
    }

    void TearDown() override
    {
        mainwin::SetProcessStarter({});
        mainwin::SetPrinter(nullptr);
        MainFormTest::TearDown();
    }

    // The main window on the screen, so the views have their sizes.
    void Show()
    {
        // These tests drive the views only; the one-second clock would run
        // the deferred start (and its about box) on a slow machine.
        MainForm->SecsTimer->setEnabled(false);
        MainForm->resize(1000, 800);
        MainForm->show();
        QCoreApplication::processEvents();
    }

    struct Started {
        std::string program;
        std::vector<std::string> arguments;
        std::string folder;
    };
    // Records every program start instead of starting it; `result` is what
    // the start reports.
    void CaptureStarts(bool result = true)
    {
        mainwin::SetProcessStarter([this, result](const std::string& program,
                                       const std::vector<std::string>& arguments, const std::string& folder) {
            started.push_back({ program, arguments, folder });
            return result;
        });
    }

    std::vector<Started> started;
};

TEST_F(MainViewsTest, NewViewIsNumberedAndCaptionedAfterTheChartAndAThirdIsRefused)
{
    TMDIChild* first = MainForm->CreateChartView("harbour");
    EXPECT_EQ(first->windowTitle(), "harbour (boat)");
    EXPECT_EQ(first->FCursorLat, 50.5);
    EXPECT_EQ(first->FZoom, 4);
    EXPECT_TRUE(first->FIsAisView);

    MainForm->FileNewItemClick();
    ASSERT_EQ(chartwin::ViewCount(), 2);
    TMDIChild* second = chartwin::View(0);
    EXPECT_EQ(second->windowTitle(), "harbour.2 (boat)");
    EXPECT_FALSE(second->FIsAisView);

    MainForm->FileNewItemClick();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Two views maximum - close one first..." });
    EXPECT_EQ(chartwin::ViewCount(), 2);
}

TEST_F(MainViewsTest, RefreshShowsOnlyTheActiveViewAtFullChartWhenAChartWasLoaded)
{
    TMDIChild* back = MainForm->CreateChartView("harbour");
    TMDIChild* front = MainForm->CreateChartView("harbour.2");
    ASSERT_EQ(chartwin::View(0), front);
    back->SetZoom(50);
    front->SetZoom(60);
    CurLat = 49.1;
    CurLon = 2.2;

    MainForm->ZoomHomeOnRefresh = true;
    MainForm->RefreshAllViews();
    EXPECT_FALSE(MainForm->ZoomHomeOnRefresh);
    EXPECT_EQ(front->FZoom, 4);
    EXPECT_EQ(front->FCursorLat, 50.5);
    EXPECT_EQ(back->FZoom, 50);
    // The front view's redraw leaves the working position alone: the view
    // behind it is centred on it.
    EXPECT_EQ(back->FCursorLat, 49.1);
    // The last view stored is the one redrawn last.
    EXPECT_EQ(ViewZoom, 50);

    CurLat = 48;
    MainForm->RefreshAllViews();
    EXPECT_EQ(front->FZoom, 4);
    EXPECT_EQ(front->FCursorLat, 48);
    EXPECT_EQ(back->FCursorLat, 48);

    // The start-up's zoom and centre go to the active view.
    MainForm->SetFirstViewZoom(7.6);
    EXPECT_EQ(front->FIntZoom, 8);
    MainForm->CentreActiveView(49, -2, 30);
    EXPECT_EQ(front->FZoom, 30);
    EXPECT_EQ(ViewCentreLon, -2);
}

TEST_F(MainViewsTest, MenusFollowTheOpenViews)
{
    MainForm->UpdateMenuItems();
    EXPECT_FALSE(MainForm->DataPlot1->isEnabled());
    EXPECT_FALSE(MainForm->InsetView->isEnabled());
    MainForm->CreateChartView("harbour");
    EXPECT_TRUE(MainForm->DataPlot1->isEnabled());
    EXPECT_FALSE(MainForm->InsetView->isEnabled());
    MainForm->FileNewItemClick();
    EXPECT_TRUE(MainForm->InsetView->isEnabled());
    chartwin::View(0)->close();
    EXPECT_FALSE(MainForm->InsetView->isEnabled());
    EXPECT_TRUE(MainForm->Print1->isEnabled());
}

TEST_F(MainViewsTest, ClosingTheOnlyViewClearsTheDataButALaterLoadKeepsItsChart)
{
    TMDIChild* ais = MainForm->CreateChartView("harbour");
    TMDIChild* other = MainForm->CreateChartView("harbour.2");
    delete ais; // leaves a view that is not the AIS view on its own
    MainForm->WPName->addItem("A");
    ChartPointCount = 8;
    WaypointDbCount = 3;
    RouteCount = 2;

    ui.answerYes();
    ASSERT_TRUE(other->close());
    EXPECT_EQ(MainForm->MDIChildCount(), 0);
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(MainForm->WPName->count(), 0);
    EXPECT_FALSE(MainForm->Print1->isEnabled());

    // A chart loads before its view opens; a window change meanwhile
    // leaves the store alone.
    ChartPointCount = 40;
    CurrentChartName = "estuary";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    MainForm->UpdateMenuItems();
    EXPECT_EQ(ChartPointCount, 40);
    EXPECT_EQ(CurrentChartName, "estuary");
}

TEST_F(MainViewsTest, NewViewAndCascadeOverlapTheViewsAtAUsableSize)
{
    Show();
    MainForm->CreateChartView("harbour");
    const QSize area = MainForm->MdiArea->viewport()->size();
    const QRect whole(QPoint(0, 0), area);
    EXPECT_TRUE(chartwin::View(0)->isMaximized());

    MainForm->FileNewItemClick();
    for (int round = 0; round < 2; ++round) {
        TMDIChild* front = chartwin::View(0);
        TMDIChild* back = chartwin::View(1);
        for (TMDIChild* view : { front, back }) {
            EXPECT_FALSE(view->isMaximized());
            EXPECT_EQ(view->size(), QSize(area.width() * 3 / 4, area.height() * 3 / 4));
            EXPECT_TRUE(whole.contains(view->geometry()));
        }
        // The active view lies in front, lower and further right.
        EXPECT_EQ(back->pos(), QPoint(0, 0));
        EXPECT_GT(front->x(), 0);
        EXPECT_EQ(front->x(), front->y());
        EXPECT_EQ(MainForm->MdiArea->activeSubWindow(), front);
        MainForm->WindowCascadeItemClick();
    }
}

TEST_F(MainViewsTest, TilingSharesTheAreaSideBySideOrStacked)
{
    Show();
    MainForm->CreateChartView("harbour");
    MainForm->FileNewItemClick();
    TMDIChild* a = chartwin::View(0);
    TMDIChild* b = chartwin::View(1);
    const QSize area = MainForm->MdiArea->viewport()->size();

    MainForm->WindowTileItemClick();
    EXPECT_EQ(a->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(b->geometry().left(), area.width() / 2);

    MainForm->TileHoriz1Click();
    EXPECT_EQ(a->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(b->geometry().top(), area.height() / 2);

    MainForm->InsetViewClick();
    EXPECT_EQ(chartwin::View(0)->size(), QSize(300, 225));
    EXPECT_FALSE(chartwin::View(0)->isMaximized());
}

TEST_F(MainViewsTest, PrintingPutsTheViewImageOnOnePageAndACancelPrintsNothing)
{
    Show();
    MainForm->CreateChartView("harbour");
    const std::string pdf = dir.file("view.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(qs(pdf));
    mainwin::SetPrinter(&printer);

    ui.answerPrint(false);
    MainForm->Print1Click();
    EXPECT_FALSE(std::filesystem::exists(pdf));

    ui.answerPrint(true);
    MainForm->Print1Click();
    const std::string bytes = kvtest::ReadBytes(pdf);
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    std::size_t pages = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
         at = bytes.find("/Type /Page", at + 1))
        pages += bytes.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(pages, 1u);
    const QSize shown = chartwin::View(0)->Form->size();
    EXPECT_NE(bytes.find("/Subtype /Image"), std::string::npos);
    EXPECT_NE(bytes.find("/Width " + std::to_string(shown.width())), std::string::npos);
    EXPECT_NE(bytes.find("/Height " + std::to_string(shown.height())), std::string::npos);
}

TEST_F(MainViewsTest, CopyPutsTheShownViewOnTheClipboard)
{
    Show();
    QGuiApplication::clipboard()->clear();
    MainForm->CopyViewClick(); // no view: nothing
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());

    TMDIChild* view = MainForm->CreateChartView("harbour");
    view->CopyView1->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), view->Form->size());
    // The chart's navy background shows in the middle of the bitmap part.
    const QPoint middle = view->ScrollBox1->geometry().center();
    EXPECT_EQ(copied.pixelColor(middle), QColor(0, 0, 128));
}

TEST_F(MainViewsTest, SiblingProgramsStartFromTheApplicationFolderWithTheirArguments)
{
    CaptureStarts();
    dir.write("gridmerk", "#!/bin/sh\n");
    std::filesystem::permissions(dir.file("gridmerk"), std::filesystem::perms::owner_all);
    MainForm->TidalAtlasEditor1->trigger();
    MainForm->WaypointEditor1->trigger();
    MainForm->GPSfileconvertor1->trigger();
    MainForm->AISDatabaseViewer1->trigger();
    MainForm->ReleaseNotes1->trigger();
    BrowserPath = "/usr/bin/my viewer";
    MainForm->ReleaseNotes1Click();

    ASSERT_EQ(started.size(), 6u);
    EXPECT_EQ(started[0].program, "Ebbtab4");
    EXPECT_TRUE(started[0].arguments.empty());
    EXPECT_EQ(started[0].folder, app);
    EXPECT_EQ(started[1].program, app + "gridmerk"); // found in the application folder
    EXPECT_TRUE(started[1].arguments.empty());
    EXPECT_EQ(started[1].folder, app);
    EXPECT_EQ(started[2].program, "Wptdump");
    EXPECT_EQ(started[3].program, "Targetbook.exe");
    EXPECT_EQ(started[3].arguments, std::vector<std::string> { app });
    EXPECT_EQ(started[3].folder, "");
    EXPECT_EQ(started[4].program, "xdg-open"); // no viewer configured nor found
    EXPECT_EQ(started[4].arguments, std::vector<std::string> { app + "Release 500.txt" });
    EXPECT_EQ(started[5].program, "/usr/bin/my viewer");
    EXPECT_EQ(started[5].arguments, std::vector<std::string> { app + "Release 500.txt" });
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainViewsTest, TextViewerFoundInTheCurrentFolderOpensTheReleaseNotes)
{
    CaptureStarts();
    dir.write("Tracklook.exe", "#!/bin/sh\n");
    std::filesystem::permissions(dir.file("Tracklook.exe"), std::filesystem::perms::owner_all);
    const QString was = QDir::currentPath();
    QDir::setCurrent(qs(app));
    MainForm->ReleaseNotes1Click();
    QDir::setCurrent(was);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(QFileInfo(qs(started[0].program)).canonicalFilePath(),
        QFileInfo(qs(dir.file("Tracklook.exe"))).canonicalFilePath());
    EXPECT_EQ(started[0].arguments, std::vector<std::string> { app + "Release 500.txt" });
}

TEST_F(MainViewsTest, ProgramThatDoesNotStartIsReported)
{
    CaptureStarts(false);
    MainForm->TidalAtlasEditor1Click();
    MainForm->AISDatabaseViewer1Click();
    MainForm->ReleaseNotes1Click(); // not even the desktop's opener started
    EXPECT_EQ(ui.messages(),
        (std::vector<std::string> { "Application Not Available !", "Application Not Available",
            "Application Not Available !\nNo viewer could open " + app
                + "Release 500.txt.\nA viewer program can be set in Options > Preferences, page Log: Choose "
                  "Text Log Viewer." }));

    // Without its folder a program is not started at all.
    AppFolder = app + "gone/";
    MainForm->WaypointEditor1->trigger(); // the error is shown at the handler's edge
    EXPECT_EQ(started.size(), 3u);
    ASSERT_EQ(ui.messages().size(), 4u);
    EXPECT_NE(ui.messages()[3].find("gone"), std::string::npos);

    mainwin::SetProcessStarter({});
    EXPECT_FALSE(mainwin::StartProcess(app + "no such program", { "x" }, ""));
}

// Every shortcut of the menus runs its own item wherever the focus is: in a
// chart view, whose own keys (its popup menu, its window's close) must not
// take a menu key, or in the main window. Ctrl+Z belongs to two items: the
// first enabled one in menu order runs.
TEST_F(MainViewsTest, EveryMenuShortcutRunsItsItemWithTheFocusInAViewOrInTheMainWindow)
{
    MainForm->show();
    TMDIChild* view = MainForm->CreateChartView("harbour");
    QApplication::setActiveWindow(MainForm);

    // Every item and menu enabled; the items' commands are left out: a
    // press counts the item it reached.
    for (QMenu* menu : MainForm->findChildren<QMenu*>())
        menu->menuAction()->setEnabled(true);
    std::map<QAction*, int> runs;
    std::vector<QAction*> items;
    auto watch = [&](QAction* item) {
        QObject::disconnect(item, &QAction::triggered, nullptr, nullptr);
        item->setEnabled(true);
        QObject::connect(item, &QAction::triggered, [&runs, item] { ++runs[item]; });
        items.push_back(item);
    };
    for (QAction* item : MainForm->findChildren<QAction*>(Qt::FindDirectChildrenOnly))
        if (!item->shortcut().isEmpty())
            watch(item);
    const std::size_t menuItems = items.size();
    ASSERT_GE(menuItems, 25u);
    for (QAction* item : view->PopupMenu1->actions())
        if (!item->shortcut().isEmpty())
            watch(item);
    ASSERT_GE(items.size(), menuItems + 9);
    auto firstWith = [&](const QKeySequence& key, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            if (items[i]->isEnabled() && items[i]->shortcut() == key)
                return items[i];
        return static_cast<QAction*>(nullptr);
    };

    struct Focus {
        const char* name;
        QWidget* widget;
        std::size_t itemCount; // the view's popup items count only in the view
    };
    const Focus foci[]
        = { { "chart view", view->Image1, items.size() }, { "main window", MainForm, menuItems } };
    for (const Focus& focus : foci) {
        focus.widget->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focus.widget) << focus.name;
        for (std::size_t i = 0; i < focus.itemCount; ++i) {
            const QKeySequence key = items[i]->shortcut();
            QAction* expected = firstWith(key, focus.itemCount);
            runs.clear();
            // Twice: Qt hands an ambiguous key to its owners in turn.
            for (int press = 0; press < 2; ++press)
                QTest::keyClick(focus.widget, key[0].key(), key[0].keyboardModifiers());
            EXPECT_EQ(runs, (std::map<QAction*, int> { { expected, 2 } }))
                << focus.name << ": " << key.toString().toStdString() << " for "
                << expected->objectName().toStdString();
        }
    }

    // The other Ctrl+Z item runs while the first is disabled.
    MainForm->DeletePoint1->setEnabled(false);
    runs.clear();
    QTest::keyClick(view->Image1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(runs, (std::map<QAction*, int> { { MainForm->Measure1, 1 } }));
}

} // namespace
