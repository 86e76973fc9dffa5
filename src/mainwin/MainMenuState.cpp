// UpdateMenuItems: the one place that decides which menu items and buttons
// are enabled, from the data that are loaded. Called after loads, purges and
// mode changes, and whenever the active window or chart view changes.

#include "mainwin/Main.h"

#include "nav/ChartStore.h"
#include "nav/NavState.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <initializer_list>

void TMainForm::UpdateMenuItems()
{
    ShowTextLogSwitch();

    const int views = MDIChildCount();
    const bool view = views > 0;
    const bool oneView = views == 1;
    const bool track = LogCount > 0;
    const bool points = ChartPointCount > 0;
    const bool editing = ChartEditable;
    const bool fullZoom = ViewZoom >= 1;

    for (QObject* item : std::initializer_list<QObject*> { Data_Plot, DataPlot1, FileNewItem, Print1,
             WindowCascadeItem, WindowTileItem, TileHoriz1, WindowArrangeItem, WindowMinimizeItem,
             ResetXTEBtn, MeasureModeBtn, All1, Tides1, Logs1, Routes1, Edit1->menuAction(), AvailableCharts,
             NearestChart1, ShowNearest, LoadNearestChart1, Config1 })
        item->setProperty("enabled", view);

    InsetView->setEnabled(views == 2);

    FixBtn->setEnabled(view && !DRMode);
    AutoFix1->setEnabled(view && !DRMode);

    SaveLogAs1->setEnabled(view && track);
    Log1->setEnabled(view && track);

    const bool route = view && RouteCount > 0;
    SaveRouteAs1->setEnabled(route);
    Route1->setEnabled(route);
    DRMode1->setEnabled(route);

    IncTide->setEnabled(view && TideStationCount > 0);
    Tides2->setEnabled(view && TideStationCount > 0);

    Chart1->setEnabled(view && points);
    AddChartWaypoint1->setEnabled(view && points);

    const bool waypoints = view && WaypointDbCount > 0;
    EditChartWaypoint1->setEnabled(waypoints);
    DeleteChartWaypoint1->setEnabled(waypoints);
    WaypointSnapMode1->setEnabled(waypoints);

    Layers1->setEnabled(view && points && LayerFlags != "----------");
    SurveyTrack1->setEnabled(view && TextLogName != "NoFile");

    SendWPS->setEnabled(Route1->isEnabled() && NmeaOpen);
    SendWaypoints1->setEnabled(Route1->isEnabled() && NmeaOpen);

    AutoChart->setEnabled(view && ChartListCount > 0);

    const bool pointEditing = oneView && !track && points && editing;
    for (QAction* item : std::initializer_list<QAction*> {
             AddChartPoint1, SetLineType1->menuAction(), EditPoint1, DeletePoint1 })
        item->setEnabled(pointEditing && fullZoom);
    // The line types' shortcuts add points: they work only where the menu does.
    for (QAction* item : SetLineType1->actions())
        item->setEnabled(pointEditing && fullZoom);
    ChartSaveAsItem->setEnabled(pointEditing);
    SnaptoChart1->setEnabled(view && !track && points && editing && fullZoom);
    StartNew->setEnabled(!points && editing);
    DOSWPTformat->setEnabled(editing);

    FixTimer->setEnabled((RouteCount > 0 && DRMode1->isChecked()) || Nserver->isChecked());

    // The last view was closed: the data it showed go with it. A start or a
    // chart load that has not opened a view yet keeps the data it has.
    if (!view && hadView_) {
        ClearChartStore();
        WaypointDbCount = 0;
        LayerFlags = "**********";
        CurrentChartName.clear();
    }
    hadView_ = view;
}
