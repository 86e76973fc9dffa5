// Enabled states of menu items and buttons as UpdateMenuItems derives them
// from the data and the open chart views.

#include "MainFormFixture.h"

#include "platform/QtTimer.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace
{

class MenuStateTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Start();
    }

    void LoadSomeOfEverything()
    {
        LogCount = 2;
        RouteCount = 1;
        TideStationCount = 1;
        ChartPointCount = 10;
        WaypointDbCount = 1;
        ChartListCount = 1;
    }

    // The items of the with-a-view row of the table, a sample of the rest.
    std::vector<QObject*> ViewItems() const
    {
        auto* f = MainForm;
        return { f->Data_Plot, f->FileNewItem, f->Print1, f->WindowCascadeItem, f->WindowTileItem,
            f->TileHoriz1, f->WindowArrangeItem, f->WindowMinimizeItem, f->ResetXTEBtn, f->MeasureModeBtn,
            f->All1, f->Tides1, f->Logs1, f->Routes1, f->Edit1->menuAction(), f->AvailableCharts,
            f->NearestChart1, f->ShowNearest, f->LoadNearestChart1, f->Config1 };
    }
};

bool Enabled(const QObject* item)
{
    return item->property("enabled").toBool();
}

TEST_F(MenuStateTest, WithoutViewEveryViewItemIsDisabledWhateverTheData)
{
    LoadSomeOfEverything();
    MainForm->UpdateMenuItems();
    for (QObject* item : ViewItems())
        EXPECT_FALSE(Enabled(item)) << item->objectName().toStdString();
    for (QObject* item : std::vector<QObject*> { MainForm->FixBtn, MainForm->SaveLogAs1, MainForm->Route1,
             MainForm->IncTide, MainForm->Chart1, MainForm->EditChartWaypoint1, MainForm->AutoChart })
        EXPECT_FALSE(Enabled(item)) << item->objectName().toStdString();
}

TEST_F(MenuStateTest, ViewWithoutDataEnablesOnlyTheViewItems)
{
    AddView();
    MainForm->UpdateMenuItems();
    for (QObject* item : ViewItems())
        EXPECT_TRUE(Enabled(item)) << item->objectName().toStdString();
    EXPECT_TRUE(MainForm->FixBtn->isEnabled());
    for (QObject* item : std::vector<QObject*> { MainForm->SaveLogAs1, MainForm->Log1, MainForm->SaveRouteAs1,
             MainForm->Route1, MainForm->DRMode1, MainForm->IncTide, MainForm->Tides2, MainForm->Chart1,
             MainForm->AddChartWaypoint1, MainForm->EditChartWaypoint1, MainForm->DeleteChartWaypoint1,
             MainForm->WaypointSnapMode1, MainForm->Layers1, MainForm->SendWPS, MainForm->SendWaypoints1,
             MainForm->AutoChart, MainForm->StartNew, MainForm->DOSWPTformat, MainForm->ChartSaveAsItem })
        EXPECT_FALSE(Enabled(item)) << item->objectName().toStdString();
}

TEST_F(MenuStateTest, ViewWithDataEnablesTheDataItems)
{
    AddView();
    LoadSomeOfEverything();
    MainForm->UpdateMenuItems();
    for (QObject* item : std::vector<QObject*> { MainForm->SaveLogAs1, MainForm->Log1, MainForm->SaveRouteAs1,
             MainForm->Route1, MainForm->DRMode1, MainForm->IncTide, MainForm->Tides2, MainForm->Chart1,
             MainForm->AddChartWaypoint1, MainForm->EditChartWaypoint1, MainForm->DeleteChartWaypoint1,
             MainForm->WaypointSnapMode1, MainForm->Layers1, MainForm->AutoChart })
        EXPECT_TRUE(Enabled(item)) << item->objectName().toStdString();
    // Sending the route needs the interface too.
    EXPECT_FALSE(MainForm->SendWPS->isEnabled());
    NmeaOpen = true;
    MainForm->UpdateMenuItems();
    EXPECT_TRUE(MainForm->SendWPS->isEnabled());
    EXPECT_TRUE(MainForm->SendWaypoints1->isEnabled());

    LayerFlags = "----------";
    DRMode = true;
    TextLogName = "NoFile";
    MainForm->UpdateMenuItems();
    EXPECT_FALSE(MainForm->Layers1->isEnabled());
    EXPECT_FALSE(MainForm->FixBtn->isEnabled());
    EXPECT_FALSE(MainForm->AutoFix1->isEnabled());
    EXPECT_FALSE(MainForm->SurveyTrack1->isEnabled());
}

TEST_F(MenuStateTest, ChartPointEditingNeedsOneViewNoTrackAndFullZoom)
{
    QMdiSubWindow* first = AddView();
    ChartEditable = true;
    ChartPointCount = 5;
    ViewZoom = 1.0;
    auto* f = MainForm;
    const std::vector<QAction*> pointItems { f->AddChartPoint1, f->SetLineType1->menuAction(), f->EditPoint1,
        f->DeletePoint1 };
    auto pointItemsEnabled = [&] {
        int n = 0;
        for (QAction* item : pointItems)
            n += item->isEnabled();
        return n;
    };

    f->UpdateMenuItems();
    EXPECT_EQ(pointItemsEnabled(), 4);
    EXPECT_TRUE(f->ChartSaveAsItem->isEnabled());
    EXPECT_TRUE(f->SnaptoChart1->isEnabled());
    EXPECT_TRUE(f->DOSWPTformat->isEnabled());
    EXPECT_FALSE(f->StartNew->isEnabled());

    ViewZoom = 0.5;
    f->UpdateMenuItems();
    EXPECT_EQ(pointItemsEnabled(), 0);
    EXPECT_TRUE(f->ChartSaveAsItem->isEnabled());
    EXPECT_FALSE(f->SnaptoChart1->isEnabled());

    ViewZoom = 1.0;
    AddView();
    f->UpdateMenuItems();
    EXPECT_EQ(pointItemsEnabled(), 0);
    EXPECT_FALSE(f->ChartSaveAsItem->isEnabled());
    EXPECT_TRUE(f->SnaptoChart1->isEnabled());

    delete first;
    LogCount = 1;
    f->UpdateMenuItems();
    EXPECT_EQ(pointItemsEnabled(), 0);
    EXPECT_FALSE(f->ChartSaveAsItem->isEnabled());
    EXPECT_FALSE(f->SnaptoChart1->isEnabled());

    ChartPointCount = 0;
    f->UpdateMenuItems();
    EXPECT_TRUE(f->StartNew->isEnabled());
    ChartEditable = false;
    f->UpdateMenuItems();
    EXPECT_FALSE(f->StartNew->isEnabled());
    EXPECT_FALSE(f->DOSWPTformat->isEnabled());
}

TEST_F(MenuStateTest, TextLogButtonIsDownExactlyWhenTextLogsAreOff)
{
    TextLogOn = false;
    MainForm->UpdateMenuItems();
    EXPECT_TRUE(MainForm->TxtLogOnOff->isChecked());
    EXPECT_EQ(Hint(MainForm->TxtLogOnOff), "Release for Text Logs On|");
    EXPECT_EQ(MainForm->TxtLogOnOff->toolTip(), "Release for Text Logs On");
    TextLogOn = true;
    MainForm->UpdateMenuItems();
    EXPECT_FALSE(MainForm->TxtLogOnOff->isChecked());
    EXPECT_EQ(Hint(MainForm->TxtLogOnOff), "Press for Text Logs Off|");
}

TEST_F(MenuStateTest, FixTimerRunsWithInterfaceOrWithRouteInDeadReckoning)
{
    FixIntervalMs = 3000;
    MainForm->FixTimer->setInterval(FixIntervalMs);
    MainForm->Nserver->setChecked(true);
    MainForm->UpdateMenuItems();
    EXPECT_TRUE(MainForm->FixTimer->running());

    MainForm->Nserver->setChecked(false);
    MainForm->DRMode1->setChecked(true);
    MainForm->UpdateMenuItems();
    EXPECT_FALSE(MainForm->FixTimer->running()); // no route

    RouteCount = 1;
    MainForm->UpdateMenuItems();
    EXPECT_TRUE(MainForm->FixTimer->running());
}

TEST_F(MenuStateTest, ClosingTheLastViewClearsTheChartData)
{
    CurrentChartName = "harbour";
    ChartPointCount = 5;
    WaypointDbCount = 2;
    LayerFlags = "*-********";
    MainForm->UpdateMenuItems();
    EXPECT_EQ(CurrentChartName, "harbour"); // no view yet: nothing was closed

    QMdiSubWindow* view = AddView();
    MainForm->UpdateMenuItems();
    delete view;
    MainForm->UpdateMenuItems();
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(WaypointDbCount, 0);
    EXPECT_EQ(LayerFlags, "**********");
    EXPECT_EQ(CurrentChartName, "");
}

TEST_F(MenuStateTest, MenuCaptionsShortcutsAndInitialChecks)
{
    auto* f = MainForm;
    EXPECT_EQ(f->Config1->text(), "C&onfig");
    EXPECT_EQ(f->Charts1->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(f->DeletePoint1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(f->ResetXTE1->text(), "Reset  XTE");
    EXPECT_TRUE(f->ShowToolbar1->isChecked());
    EXPECT_TRUE(f->PenUp1->isChecked());
    EXPECT_TRUE(f->ProcAis->isChecked());
    EXPECT_TRUE(f->NavigationData1->isChecked());
    EXPECT_FALSE(f->NavigationData1->isEnabled());
    // Hidden items are in no menu; their shortcuts still work.
    EXPECT_TRUE(f->Options1->actions().contains(f->DRMode1));
    EXPECT_FALSE(f->Options1->actions().contains(f->AutoFix1));
    EXPECT_TRUE(f->actions().contains(f->AutoFix1));
    int buttons = 0;
    for (QToolButton* b : f->SpeedPanel->findChildren<QToolButton*>())
        buttons += !Hint(b).isEmpty();
    EXPECT_EQ(buttons, 16);

    // A click changes a check mark only through the item's command.
    f->ChartAppendMode->trigger();
    EXPECT_TRUE(f->ChartAppendMode->isChecked());
    f->ShowToolbar1->trigger();
    EXPECT_FALSE(f->ShowToolbar1->isChecked());
    EXPECT_TRUE(f->SpeedPanel->isHidden());
}

} // namespace
