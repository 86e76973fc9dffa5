// The main window's menu bar, tool bar and panels. Items whose commands are
// not bound here are present and do nothing until their area binds them.

#include "mainwin/Main.h"
#include "mainwin/NeedleGauge.h"
#include "platform/Guarded.h"
#include "platform/QtHeldBoxes.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcutEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace
{

struct ItemSpec {
    const char* name;
    const char* caption;
    QKeySequence shortcut = {};
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
};

} // namespace

void TMainForm::BuildMenus()
{
    auto make = [this](const ItemSpec& s) {
        auto* item = new QAction(QString::fromLatin1(s.caption), this);
        item->setObjectName(s.name);
        if (!s.shortcut.isEmpty()) {
            item->setShortcut(s.shortcut);
            ResolveAmbiguousShortcut(item);
        }
        if (s.checkable) {
            item->setCheckable(true);
            item->setChecked(s.checked);
            // A click does not change the check mark by itself: the item's
            // command sets it (Qt toggles it before the command runs).
            connect(item, &QAction::triggered, item, [item](bool now) { item->setChecked(!now); });
        }
        item->setEnabled(s.enabled);
        return item;
    };
    auto add = [&](QMenu* menu, const ItemSpec& s) {
        QAction* item = make(s);
        menu->addAction(item);
        return item;
    };
    // Not shown in the menu; the shortcut still runs the command.
    auto hidden = [&](const ItemSpec& s) {
        QAction* item = make(s);
        addAction(item);
        return item;
    };
    auto menu = [this](QMenu* parent, const char* name, const char* caption) {
        QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };

    File1 = menu(nullptr, "File1", "&File");
    OpenFile1 = menu(File1, "OpenFile1", "&Open File");
    Charts1 = add(OpenFile1, { "Charts1", "&Charts", Qt::Key_F3 });
    Logs1 = add(OpenFile1, { "Logs1", "&Logs", Qt::Key_F2 });
    SetHint(Logs1, "Log files");
    Routes1 = add(OpenFile1, { "Routes1", "&Routes" });
    Tides1 = add(OpenFile1, { "Tides1", "&Tides" });
    Config1 = add(OpenFile1, { "Config1", "C&onfig" });
    FileNewItem = add(File1, { "FileNewItem", "&New View" });
    CopyView1 = add(File1, { "CopyView1", "Copy View", Qt::CTRL | Qt::Key_C });
    AvailableCharts = add(File1, { "AvailableCharts", "A&vailable Charts", Qt::Key_F4 });
    NearestChart1 = add(File1, { "NearestChart1", "Nearest C&hart" });
    LoadNearestChart1 = add(File1, { "LoadNearestChart1", "L&oad Nearest Chart" });
    OpenPortfolio1 = add(File1, { "OpenPortfolio1", "Open Chart Portfolio" });
    File1->addSeparator();
    ChartSaveAsItem = add(File1, { "ChartSaveAsItem", "Save Chart &As...", {}, false, false, false });
    SaveLogAs1 = add(File1, { "SaveLogAs1", "Save &Log As..." });
    SetHint(SaveLogAs1, "Save current log as...");
    SaveRouteAs1 = add(File1, { "SaveRouteAs1", "Save &Route As..." });
    SaveConfigAs1 = add(File1, { "SaveConfigAs1", "&Save Config As" });
    File1->addSeparator();
    Print1 = add(File1, { "Print1", "&Print View" });
    PrinterSetUp1 = add(File1, { "PrinterSetUp1", "Printer Set&Up" });
    File1->addSeparator();
    FileExitItem = add(File1, { "FileExitItem", "E&xit" });

    Edit1 = menu(nullptr, "Edit1", "&Edit");
    AddChartWaypoint1 = add(Edit1, { "AddChartWaypoint1", "&Add Chart Waypoint" });
    EditChartWaypoint1 = add(Edit1, { "EditChartWaypoint1", "&Edit Nearest Waypoint" });
    WaypointSnapMode1 = add(Edit1, { "WaypointSnapMode1", "&Show Nearest WP" });
    DeleteChartWaypoint1 = add(Edit1, { "DeleteChartWaypoint1", "&Delete Chart Waypoint" });
    Edit1->addSeparator();
    StartNew = add(Edit1, { "StartNew", "Start a &New Chart" });
    AddChartPoint1 = add(Edit1, { "AddChartPoint1", "Add Chart P&oint", Qt::CTRL | Qt::Key_A });
    SetLineType1 = menu(Edit1, "SetLineType1", "Set Line &Type");
    PenUp1 = add(SetLineType1, { "PenUp1", "Pen Up", Qt::CTRL | Qt::Key_U, true, true });
    LineT0 = add(SetLineType1, { "LineT0", "Line Type 0", Qt::CTRL | Qt::Key_O, true });
    LineT1 = add(SetLineType1, { "LineT1", "Line Type 1", Qt::CTRL | Qt::Key_P, true });
    LineT2 = add(SetLineType1, { "LineT2", "Line Type 2", Qt::CTRL | Qt::Key_K, true });
    LineT3 = add(SetLineType1, { "LineT3", "Line Type 3", Qt::CTRL | Qt::Key_L, true });
    LineT4 = add(SetLineType1, { "LineT4", "Line Type 4", Qt::CTRL | Qt::Key_H, true });
    LineT5 = add(SetLineType1, { "LineT5", "Line Type 5", Qt::CTRL | Qt::Key_Q, true });
    LineT6 = add(SetLineType1, { "LineT6", "Line Type 6", Qt::CTRL | Qt::Key_E, true });
    SnaptoChart1 = add(Edit1, { "SnaptoChart1", "Snap to &Chart", Qt::CTRL | Qt::Key_J });
    EditPoint1 = add(Edit1, { "EditPoint1", "Move Chart Poi&nt", Qt::CTRL | Qt::Key_M });
    DeletePoint1 = add(Edit1, { "DeletePoint1", "Delete Chart &Point", Qt::CTRL | Qt::Key_Z });

    Options1 = menu(nullptr, "Options1", "&Options");
    ShowToolbar1 = add(Options1, { "ShowToolbar1", "Sho&w Toolbar", {}, true, true });
    Options1->addSeparator();
    Alarms1 = add(Options1, { "Alarms1", "&Timing" });
    Global1 = add(Options1, { "Global1", "&Preferences", Qt::Key_F11 });
    Options1->addSeparator();
    Nserver = add(Options1, { "Nserver", "NMEA &Interface", {}, true });
    ShowNMEA = add(Options1, { "ShowNMEA", "Show raw &NMEA", Qt::CTRL | Qt::Key_N, true });
    ProcAis = hidden({ "ProcAis", "Process &AIS Data", {}, true, true });
    UpdateAISDatabase = add(Options1, { "UpdateAISDatabase", "Update AIS Database", {}, true, true });
    SearchAISDatabase = add(Options1, { "SearchAISDatabase", "Search AIS Database", {}, true, true });
    AISMonitor = hidden({ "AISMonitor", "AIS Monitor Mode", {}, true });
    Options1->addSeparator();
    DRMode1 = add(Options1, { "DRMode1", "&DR Mode", {}, true });
    Options1->addSeparator();
    ChartAppendMode = add(Options1, { "ChartAppendMode", "Chart &Append", {}, true });
    ChartEdit1 = add(Options1, { "ChartEdit1", "&Chart Edit", {}, true });
    DOSWPTformat = add(Options1, { "DOSWPTformat", "DOS &WPT format", {}, true, false, false });
    AutoFix1 = hidden({ "AutoFix1", "&Fix", Qt::CTRL | Qt::Key_F });
    ResetXTE1 = hidden({ "ResetXTE1", "Reset  XTE", Qt::CTRL | Qt::Key_X });
    SelectWaypoint1 = hidden({ "SelectWaypoint1", "Next Waypoint", Qt::CTRL | Qt::Key_W });
    TideStep1 = hidden({ "TideStep1", "Tide Step", Qt::CTRL | Qt::Key_Y });
    AccumulativeMeasure1 = hidden({ "AccumulativeMeasure1", "Accumulative Measure", Qt::CTRL | Qt::Key_S });

    Purge1 = menu(nullptr, "Purge1", "&Purge");
    Log1 = add(Purge1, { "Log1", "&Log" });
    Route1 = add(Purge1, { "Route1", "&Route" });
    SurveyTrack1 = add(Purge1, { "SurveyTrack1", "&Survey Track" });
    Chart1 = add(Purge1, { "Chart1", "&Chart" });
    Layers1 = add(Purge1, { "Layers1", "La&yers" });
    Tides2 = add(Purge1, { "Tides2", "&Tides" });
    Purge1->addSeparator();
    All1 = add(Purge1, { "All1", "&All" });

    Window1 = menu(nullptr, "Window1", "&Window");
    WindowCascadeItem = add(Window1, { "WindowCascadeItem", "&Cascade" });
    WindowTileItem = add(Window1, { "WindowTileItem", "Tile &Vert." });
    TileHoriz1 = add(Window1, { "TileHoriz1", "Tile &Horiz." });
    InsetView = add(Window1, { "InsetView", "&Inset View" });
    WindowMinimizeItem = add(Window1, { "WindowMinimizeItem", "&Minimize All" });
    WindowArrangeItem = add(Window1, { "WindowArrangeItem", "&Arrange Icons" });
    Window1->addSeparator();
    Next1 = add(Window1, { "Next1", "&Next" });
    Previous1 = add(Window1, { "Previous1", "&Previous" });

    Tools1 = menu(nullptr, "Tools1", "&Tools");
    NavigationData1 = add(Tools1, { "NavigationData1", "Navigation &Data", {}, true, true, false });
    DataPlot1 = add(Tools1, { "DataPlot1", "Data Trend &Plot", {}, true, false, false });
    SetHint(DataPlot1, "Display / Hide Data Trend Plot");
    ChartletViewer1 = add(Tools1, { "ChartletViewer1", "Raster Image &Viewer" });
    Tools1->addSeparator();
    ViewTextLog1 = add(Tools1, { "ViewTextLog1", "Text &Log Viewer", Qt::Key_F10 });
    SetHint(ViewTextLog1, "Launch Survey Log Viewer");
    AISTracklooker1 = add(Tools1, { "AISTracklooker1", "AIS Log Viewer" });
    SetHint(AISTracklooker1, "Launch AIS Log Viewer");
    AISDatabaseViewer1 = add(Tools1, { "AISDatabaseViewer1", "AIS Database Viewer" });
    TidalAtlasEditor1 = add(Tools1, { "TidalAtlasEditor1", "&Tidal Atlas Editor" });
    WaypointEditor1 = add(Tools1, { "WaypointEditor1", "&Chart file convertor" });
    GPSfileconvertor1 = add(Tools1, { "GPSfileconvertor1", "&GPS file convertor" });
    Tools1->addSeparator();
    SendWaypoints1 = add(Tools1, { "SendWaypoints1", "&Send Route Waypoints", {}, false, false, false });
    Measure1 = hidden({ "Measure1", "Measure +", Qt::CTRL | Qt::Key_Z });

    Help1 = menu(nullptr, "Help1", "&Help");
    KVHelp1 = add(Help1, { "KVHelp1", "&KV Help", Qt::Key_F1 });
    ReleaseNotes1 = add(Help1, { "ReleaseNotes1", "Release Notes" });
    Help1->addSeparator();
    HelpAboutItem = add(Help1, { "HelpAboutItem", "&About" });
}

void TMainForm::BuildToolBar()
{
    SpeedPanel = new QToolBar("SpeedPanel", this);
    SpeedPanel->setObjectName("SpeedPanel");
    SpeedPanel->setMovable(false);
    SpeedPanel->setFloatable(false);
    SpeedPanel->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, SpeedPanel);

    auto button = [this](const char* name, const QString& hint, const QString& caption,
                      QStyle::StandardPixmap icon = QStyle::SP_CustomBase, bool toggle = false) {
        auto* b = new QToolButton(SpeedPanel);
        b->setObjectName(name);
        if (icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(icon));
        else
            b->setText(caption);
        b->setCheckable(toggle);
        b->setAutoRaise(true);
        SetHint(b, hint);
        SpeedPanel->addWidget(b);
        return b;
    };

    OpenBtn = button("OpenBtn", "Open Chart|", "Open", QStyle::SP_DialogOpenButton);
    OpenPF = button("OpenPF", "Open a chart portfolio|", "PF", QStyle::SP_DirOpenIcon);
    SaveBtn = button("SaveBtn", "Save Route|", "Save", QStyle::SP_DialogSaveButton);
    SaveBtn->setEnabled(false);
    AutoChart = button("AutoChart", "Auto Load Nearest Chart|", "Auto", QStyle::SP_BrowserReload);
    ShowNearest = button("ShowNearest", "Nearest Chart Name|", "?");
    SpeedPanel->addSeparator();
    GlobalView = button("GlobalView", "Preferences|", "Pref");
    TimeBtn = button("TimeBtn", "Timing Functions|", "Time");
    FixBtn = button("FixBtn", "Manual Fix !|", "Fix");
    IncTide = button("IncTide", "Step Tide forward 1 hour|", "T");
    SpeedPanel->addSeparator();

    Trip = new QLabel("0.00 Nm", SpeedPanel);
    Trip->setObjectName("Trip");
    Trip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Trip->setMinimumWidth(80);
    Trip->setAlignment(Qt::AlignCenter);
    SetHint(Trip, "Trip Distance (Double Click to Reset)|");
    SpeedPanel->addWidget(Trip);
    SpeedPanel->addSeparator();

    MeasureModeBtn = button("MeasureMode", "Measure On|", "Meas", QStyle::SP_CustomBase, true);
    ExMeasure = button("ExMeasure", "Totalise distance and reset measure point|", "+");
    ExMeasure->setEnabled(false);
    SendWPS = button("SendWPS", "Send Route Waypoints to GPS|", "WPS");
    NMEAServerOnOff = button("NMEAServerOnOff", "Open NMEA interface|", "NMEA", QStyle::SP_CustomBase, true);
    TxtLogOnOff = button("TxtLogOnOff", "Press for Text Logs Off|", "Log", QStyle::SP_CustomBase, true);
    PlayAISlog = button("PlayAISlog", "Playback an AIS Log|", "AIS", QStyle::SP_MediaPlay);
    HelpIndexBtn = button("HelpIndexBtn", "Help Contents|", "Help", QStyle::SP_DialogHelpButton);
}

void TMainForm::BuildPanels()
{
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);

    MdiArea = new QMdiArea(centre);
    MdiArea->setObjectName("MdiArea");
    row->addWidget(MdiArea, 1);

    NavPanel = new QFrame(centre);
    NavPanel->setObjectName("NavPanel");
    NavPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    NavPanel->setFixedWidth(150);
    row->addWidget(NavPanel);
    setCentralWidget(centre);

    auto* column = new QVBoxLayout(NavPanel);
    column->setContentsMargins(4, 4, 4, 4);
    auto readout = [this, column](const char* name, const char* caption, const char* hint) {
        column->addWidget(new QLabel(caption, NavPanel));
        auto* value = new QLabel(NavPanel);
        value->setObjectName(name);
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumHeight(22);
        SetHint(value, hint);
        column->addWidget(value);
        return value;
    };
    SpeedOG = readout("SpeedOG", "Speed OG", "Speed over ground|");
    CourseOG = readout("CourseOG", "Course OG", "Course over ground|");
    SpeedMG = readout("SpeedMG", "VMG", "VMG to Waypoint|");

    column->addWidget(new QLabel("Waypoint", NavPanel));
    WPName = new QComboBox(NavPanel);
    WPName->setObjectName("WPName");
    SetHint(WPName, "Selected Waypoint|");
    column->addWidget(WPName);
    RngToWp = readout("RngToWp", "Range", "Waypoint Distance|");
    BearingToWP = readout("BearingToWP", "Bearing", "Waypoint Bearing|");
    TimeToWP = readout("TimeToWP", "Time to go", "Time to Waypoint|");

    XTerror = new TNeedleGauge(NavPanel);
    XTerror->setObjectName("XTerror");
    column->addWidget(XTerror);
    auto* xteRow = new QHBoxLayout;
    XTEScale = new QLabel(NavPanel);
    XTEScale->setObjectName("XTEScale");
    ResetXTEBtn = new QPushButton("Reset", NavPanel);
    ResetXTEBtn->setObjectName("ResetXTEBtn");
    xteRow->addWidget(XTEScale, 1);
    xteRow->addWidget(ResetXTEBtn);
    column->addLayout(xteRow);

    Data_Panel = new QFrame(NavPanel);
    Data_Panel->setObjectName("Data_Panel");
    auto* grid = new QGridLayout(Data_Panel);
    grid->setContentsMargins(0, 0, 0, 0);
    Data_Label = new QLabel("Data Trend", Data_Panel);
    Data_Label->setObjectName("Data_Label");
    Data_Plot = new QLabel(Data_Panel);
    Data_Plot->setObjectName("Data_Plot");
    Data_Plot->setFixedSize(117, 86);
    Data_Plot->setFrameStyle(QFrame::Box | QFrame::Plain);
    SetHint(Data_Plot, "Trend of selected data|");
    Gain_Label = new QLabel("Gain", Data_Panel);
    Gain_Label->setObjectName("Gain_Label");
    Data_Gain = new QSpinBox(Data_Panel);
    Data_Gain->setObjectName("Data_Gain");
    Data_Gain->setRange(1, 50000);
    Data_Gain->setValue(200);
    SetHint(Data_Gain, "Full Scale= 22.5|");
    Data_Rev = new QCheckBox("-", Data_Panel);
    Data_Rev->setObjectName("Data_Rev");
    SetHint(Data_Rev, "Reverse sign of plotted data|");
    PlotAll = new QPushButton("All", Data_Panel);
    PlotAll->setObjectName("PlotAll");
    SetHint(PlotAll, "Select and plot all / selected data|");
    grid->addWidget(Data_Label, 0, 0, 1, 2);
    grid->addWidget(Data_Plot, 1, 0, 1, 2);
    grid->addWidget(Gain_Label, 2, 0);
    grid->addWidget(Data_Gain, 2, 1);
    grid->addWidget(Data_Rev, 3, 0);
    grid->addWidget(PlotAll, 3, 1);
    column->addWidget(Data_Panel);
    Data_Panel->hide();
    column->addStretch(1);

    auto panel = [this](const char* name, int minWidth) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(minWidth);
        return label;
    };
    StatusLine = panel("StatusLine", 200);
    GPSIndicator = panel("GPSIndicator", 50);
    GPSIndicator->setAlignment(Qt::AlignCenter);
    PosnPanel = panel("PosnPanel", 230);
    TimePanel = panel("TimePanel", 80);
    TimePanel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(StatusLine, 1);
    statusBar()->addPermanentWidget(GPSIndicator);
    statusBar()->addPermanentWidget(PosnPanel);
    statusBar()->addPermanentWidget(TimePanel);
    statusBar()->setSizeGripEnabled(false);
    // The main window is never narrower than its panels side by side (the
    // status bar only hands its width on as an explicit minimum).
    statusBar()->setMinimumWidth(statusBar()->minimumSizeHint().width());
}

void TMainForm::Bind(QAction* item, void (TMainForm::*handler)(), Boxes boxes)
{
    connect(item, &QAction::triggered, this, [this, handler, boxes] { RunBound(handler, boxes); });
}

void TMainForm::Bind(QToolButton* button, void (TMainForm::*handler)(), Boxes boxes)
{
    connect(button, &QToolButton::clicked, this, [this, handler, boxes] { RunBound(handler, boxes); });
}

void TMainForm::Bind(TTimer* timer, void (TMainForm::*handler)(), Boxes boxes)
{
    connect(timer, &TTimer::timeout, this, [this, handler, boxes] { RunBound(handler, boxes); });
}

void TMainForm::RunBound(void (TMainForm::*handler)(), Boxes boxes)
{
    std::optional<platform::HeldBoxes> held;
    if (boxes == Boxes::AfterHandler)
        held.emplace();
    platform::guardedIn(this, [&] { (this->*handler)(); });
}

void TMainForm::ResolveAmbiguousShortcut(QAction* item)
{
    item->installEventFilter(this);
}

void TMainForm::YieldMenuShortcuts(QWidget* window)
{
    // The menu items are the main window's own actions; a view's actions
    // are further down (views are children of the MDI area).
    QList<QKeySequence> menuKeys;
    for (QAction* item : findChildren<QAction*>(Qt::FindDirectChildrenOnly))
        menuKeys += item->shortcuts();
    for (QAction* own : window->findChildren<QAction*>()) {
        QList<QKeySequence> keys = own->shortcuts();
        const auto taken = std::remove_if(
            keys.begin(), keys.end(), [&](const QKeySequence& key) { return menuKeys.contains(key); });
        if (taken == keys.end())
            continue;
        keys.erase(taken, keys.end());
        own->setShortcuts(keys);
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e)
{
    // Two enabled items with one shortcut (Ctrl+Z deletes a chart point and
    // also totals the measure): the first in menu order runs, as a menu
    // shortcut lookup finds it first.
    if (e->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(e)->isAmbiguous()) {
        const QKeySequence key = static_cast<QShortcutEvent*>(e)->key();
        for (QAction* item : findChildren<QAction*>()) {
            if (item->shortcut() == key && item->isEnabled()) {
                item->trigger();
                break;
            }
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

QMenu* TMainForm::createPopupMenu()
{
    // The tool bar is shown and hidden by "Sho&w Toolbar" only.
    return nullptr;
}
