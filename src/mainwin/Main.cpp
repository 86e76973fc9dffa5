// The main window's creation, its one-second clock with the deferred start,
// the two configuration commands and the shutdown.
//
// Start phases: the constructor builds the window and runs FormCreate
// (start values, folders, first configuration read, daily logs, chart
// list); the first SecsTimer tick, one second later, finishes the start
// (configuration, route and chart, tow layout, the NMEA interface in "Auto"
// mode, the about box); from then on every tick keeps the clock, the route
// list and the text-log button up to date.

#include "mainwin/Main.h"

#include "dialogs/AboutBox.h"
#include "dialogs/Cviewer.h"
#include "dialogs/GlobalDlg.h"
#include "nav/ChartConfig.h"
#include "nav/ChartList.h"
#include "nav/DailyLogs.h"
#include "nav/FileNameParts.h"
#include "nav/KVconfig.h"
#include "nav/NavState.h"
#include "nav/RouteCommands.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "platform/QtWindowFrame.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusTipEvent>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <filesystem>

TMainForm* MainForm = nullptr;

namespace
{

const char* const kDefaultConfig = "zudeve.cfg";

} // namespace

TMainForm::TMainForm(const TStartOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , options_(options)
{
    setObjectName("MainForm");
    setWindowTitle(kProgramTitle);
    MainForm = this;

    FixTimer = new TTimer(this, 0, false);
    SecsTimer = new TTimer(this, 1000, true);
    AISplayTime = new TTimer(this, 500, false);

    BuildMenus();
    BuildToolBar();
    BuildPanels();

    OpenChtDialog.title = "Open a chart file";
    OpenChtDialog.defaultExt = "cht";
    OpenChtDialog.filter = "KV Chart files (*.cht)|*.cht|KV Layer Files (*.00?)|*.00?";
    SaveDialog1.title = "Save current chart as...";
    SaveDialog1.defaultExt = "cht";
    SaveDialog1.filter = "Chart Files (*.cht)|*.cht|Layer Files 000|*.000|Layer Files 001|*.001|"
                         "Layer Files 002|*.002|Layer Files 003|*.003|Layer Files 004|*.004|"
                         "Layer Files 005|*.005|Layer Files 006|*.006|Layer Files 007|*.007|"
                         "Layer Files 008|*.008|Layer Files 009|*.009";
    OpenConfigDlg.title = "Open Config File";
    OpenConfigDlg.defaultExt = "cfg";
    OpenConfigDlg.filter = "Config files (*.cfg)|*.cfg|All files (*.*)|*.*";
    SaveConfig.title = "Save Config As";
    SaveConfig.defaultExt = "cfg";
    SaveConfig.filter = OpenConfigDlg.filter;
    SaveLogDlg.title = "Save log as...";
    SaveLogDlg.defaultExt = "log";
    SaveLogDlg.filter = "KV Log files (*.log)|*.log|All Files (*.*)|*.*";
    OpenAISdlg.defaultExt = "AIS";
    OpenAISdlg.filter = "AIS Log Files|*.AIS|All Files|*.*";

    Bind(SecsTimer, &TMainForm::SecsTimerTimer);
    Bind(Config1, &TMainForm::Config1Click);
    Bind(SaveConfigAs1, &TMainForm::SaveConfigAs1Click);
    Bind(FileExitItem, &TMainForm::FileExitItemClick);
    Bind(HelpAboutItem, &TMainForm::HelpAboutItemClick);
    Bind(ShowToolbar1, &TMainForm::ShowToolbar1Click);
    BindViewCommands();
    BindChartCommands();
    SetUpNmeaInput();
    BindAisCommands();
    SetUpTextLog();
    SetUpTides();
    SetUpDataPlot();
    BindFixCommands();
    BindRouteCommands();
    BindSettingsCommands();
    connect(Edit1, &QMenu::aboutToShow, this, [this] { platform::guarded([this] { Edit1Click(); }); });

    platform::guarded([this] { FormCreate(); });
}

TMainForm::~TMainForm()
{
    platform::guarded([this] { FormDestroy(); });
    if (MainForm == this)
        MainForm = nullptr;
}

std::string TMainForm::StartConfigPath() const
{
    // The argument is always taken relative to the application folder.
    return AppFile(options_.args.empty() ? std::string(kDefaultConfig) : rtl::SlashPath(options_.args.front()));
}

void TMainForm::TakeScreenSize()
{
    QSize screen = options_.screenSize;
    if (screen.isEmpty() && QGuiApplication::primaryScreen())
        screen = QGuiApplication::primaryScreen()->geometry().size();
    if (screen.isEmpty())
        screen = QSize(800, 600); // no screen at all: a VGA-sized view
    const double width = screen.width();
    const double height = screen.height();
    ViewImageHeight = static_cast<int16_t>(screen.height());
    ViewImageWidth = static_cast<int16_t>(screen.width());
    // The area scale comes from the full screen height, before the view is
    // cut to a 4:3 shape.
    AreaPixelScale = (600.0 / height) * (600.0 / height);
    if (width / height > 1.3333335)
        ViewImageHeight = static_cast<int16_t>(rtl::Round(width / 1.3333333));
}

void TMainForm::FormCreate()
{
    // The hint of the control under the mouse reaches event() as a status
    // tip; a change of the active window or view updates the menus.
    auto update = [this] { platform::guarded([this] { UpdateMenuItems(); }); };
    activeFormHooks_.push_back(connect(qApp, &QGuiApplication::focusWindowChanged, this, update));
    activeFormHooks_.push_back(connect(MdiArea, &QMdiArea::subWindowActivated, this, update));
    activeFormHooks_.push_back(connect(MdiArea, &QMdiArea::subWindowActivated, this,
        [this] { platform::guarded([this] { FollowViewCaption(); }); }));

    // Every navigation variable to zero, then to its start value: north up,
    // display switches on, navy and white, all layers, XTE and APB output,
    // track thinning, no tidal atlas, route guidance, AIS playback speed 10,
    // averaging, trip 0, vessel 100 m by 20 m. The chart store is a fixed
    // table held for the whole run; it starts empty.
    ResetNavState();
    TakeScreenSize();
    CurrentYear = static_cast<uint16_t>(QDate::currentDate().year()); // for AIS ETAs

    AppFolder = std::filesystem::current_path().string();
    if (AppFolder.empty() || AppFolder.back() != '/')
        AppFolder += '/';
    ChartsFolder = AppFile("charts/");
    OpenChtDialog.initialFolder = ChartsFolder;
    SaveDialog1.initialFolder = ChartsFolder;
    OpenRteDialog.initialFolder = AppFile("routes/");
    SaveRouteDlg.initialFolder = AppFile("routes/");
    OpenTideDlg.initialFolder = AppFile("tides/");
    OpenConfigDlg.initialFolder = AppFolder;
    SaveConfig.initialFolder = AppFolder;

    CreateHelpHook(AppFile("KVAIS6.chm"));

    FixTimer->setEnabled(false);
    FixTimer->setInterval(0);
    AISplayTime->setInterval(static_cast<int>(rtl::Round(5000.0 / AisPlaySpeed)));
    Trip->setText("0.00 Nm");

    if (options_.args.empty()) {
        ConfigName = "";
    } else {
        // The name up to its last '.'; a name without a '.' names none.
        const std::string& arg = options_.args.front();
        ConfigName = ExtractFileExtension(arg).empty() ? std::string() : ExtractFileBaseName(arg);
    }

    LoadConfig(StartConfigPath());

    OpenLogDialog.initialFolder = LogsFolder;
    SaveLogDlg.initialFolder = LogsFolder;
    OpenAISdlg.initialFolder = LogsFolder;
    if (!ChartsFolder.empty()) {
        OpenChtDialog.initialFolder = ChartsFolder;
        SaveDialog1.initialFolder = ChartsFolder;
    }

    if (NmeaStartMode == "Auto") {
        // Marked open now; the first tick opens the port itself. No log can
        // be played back meanwhile: its fixes would go out on the port.
        Nserver->setChecked(true);
        NmeaOpen = true;
        PlayAISlog->setEnabled(false);
        SetHint(NMEAServerOnOff, "Close NMEA iterface|");
        DRMode = false;
        DRMode1->setChecked(false);
    }

    CloseComPort();
    SerialLineBuffer.clear();

    // Said first, so that the dead reckoning notice stands over it.
    if (!OpenDailyLogs())
        StatusLine->setText(qs("Cannot write today's logs in " + LogsFolder));

    if (DRMode) {
        FixTimer->setInterval(FixIntervalMs);
        FixTimer->setEnabled(true);
        StatusLine->setText("Dead Reckoning Mode !");
    }
    DRMode1->setChecked(DRMode);

    NavSpeed = ManualSpeed;
    FirstTickPending = true;
    UpdateMenuItems();

    // Set after the configuration, which they override.
    VesselBeam = 20.0;
    VesselLength = 100;
    ShowVesselOutline = true;
    ReverseRoute = false;

    rtl::ShortString<40> unused;
    ListChartsOrFindNearest(ChartSearchMode::List, unused);

    setWindowState(windowState() | Qt::WindowMaximized);
    DataTrendStart = -6;
}

void TMainForm::ShowHint(const QString& hint)
{
    StatusLine->setText(hint);
}

bool TMainForm::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        platform::guarded([&] { ShowHint(tip); });
        return true;
    }
    return QMainWindow::event(e);
}

void TMainForm::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    // The window manager may change the size before or after the state.
    if (e->type() == QEvent::WindowStateChange)
        QTimer::singleShot(0, this, [this] { KeepFrameOnScreen(); });
}

void TMainForm::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    KeepFrameOnScreen();
}

bool TMainForm::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    // The window manager may report the frame it draws after the new size
    // has come.
    if (platform::IsFrameChangeEvent(eventType, message))
        QTimer::singleShot(0, this, [this] { KeepFrameOnScreen(); });
    return QMainWindow::nativeEvent(eventType, message, result);
}

void TMainForm::KeepFrameOnScreen()
{
    constexpr Qt::WindowStates notNormal = Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
    if (!isVisible() || (windowState() & notNormal) || !screen())
        return;
    const std::optional<platform::WindowFrame> framed = platform::FramedWindow(this);
    if (!framed)
        return; // no frame drawn by a window manager
    const QRect& frame = framed->frame;
    const QRect& client = framed->client;
    const QRect area = screen()->availableGeometry();
    if (frame.width() <= area.width() && frame.height() <= area.height())
        return;
    const QMargins margins = framed->Margins();
    QRect fitted = QRect(frame.topLeft(), frame.size().boundedTo(area.size())).marginsRemoved(margins);
    fitted.setSize(fitted.size().expandedTo(minimumSize()));
    // Onto the area, its top left corner first where it cannot fit whole.
    const QSize outer = fitted.marginsAdded(margins).size();
    auto onto = [](int at, int size, int areaAt, int areaSize) {
        return std::max(areaAt, std::min(at, areaAt + areaSize - size));
    };
    fitted.moveTopLeft(QPoint(onto(frame.left(), outer.width(), area.left(), area.width()),
                           onto(frame.top(), outer.height(), area.top(), area.height()))
        + QPoint(margins.left(), margins.top()));
    if (fitted != client)
        setGeometry(fitted);
}

void TMainForm::SetTowLayout()
{
    // metres to degrees of latitude: 8.999e-6
    LayoutOffsetLon = AntennaOffsetLon;
    LayoutOffsetLat = AntennaOffsetLat - TowOffsetD * 8.999e-6;
    TowLayoutPoints[5].offset = -(TowOffsetA + TowOffsetB) / 2;
}

void TMainForm::SecsTimerTimer()
{
    if (FirstTickPending) {
        // The deferred start runs next, outside this tick: Qt does not tick
        // a timer again while its own tick is running, and the start's boxes
        // ("Total chart points", the about box) wait for the user while the
        // clock goes on. Ticks meanwhile do only the per-tick duties.
        FirstTickPending = false;
        QMetaObject::invokeMethod(
            this, [this] { platform::guarded([this] { FinishStart(); }); }, Qt::QueuedConnection);
        return;
    }
    DoTickDuties();
}

void TMainForm::DoTickDuties()
{
    TimePanel->setText(QTime::currentTime().toString("HH:mm:ss"));
    if (RouteChanged) {
        RouteChanged = false;
        RefillRouteList();
    }
    ShowTextLogGlyph();
}

void TMainForm::FinishStart()
{
    LoadStartupState();
    SetTowLayout();
    if (RouteCount == 0) {
        DRMode1->setChecked(false);
        StatusLine->clear();
        DRMode = false;
        FixTimer->setInterval(0);
        FixTimer->setEnabled(false);
    }
    RefreshAllViews();
    if (NmeaStartMode == "Auto")
        OpenNmeaInterfaceAtStart();
    HelpAboutItemClick();
    // The first tick's own duties, after what the start has loaded.
    DoTickDuties();
}

void TMainForm::OpenNmeaInterfaceAtStart()
{
    TryOpenComPort();
    // Marked open also without a port: each fix tick then reports the
    // missing data.
    MarkNmeaInterfaceOpen();
}

void TMainForm::RefillRouteList()
{
    const int count = std::clamp<int>(RouteCount, 0, kMaxRoutePoints);
    {
        // Filling the list is not a choice of the user: no change event.
        const QSignalBlocker quiet(WPName);
        WPName->clear();
        for (int i = 1; i <= count; ++i)
            WPName->addItem(qs(RouteNames[i].str().substr(0, 24)));
        if (KeepRouteSelection) {
            WPName->setCurrentIndex(ActiveWaypoint - 1);
        } else {
            ActiveWaypoint = static_cast<int16_t>(count);
            WPName->setCurrentIndex(count - 1);
        }
    }
    SaveBtn->setEnabled(count > 0);
    SaveRouteAs1->setEnabled(count > 0);
    UpdateMenuItems();
}

void TMainForm::ShowTextLogGlyph()
{
    std::string glyph = "TLG.bmp";
    if (TxtLogOnOff->isChecked()) {
        if (TextLogBlink)
            glyph = "TLG2.bmp";
        TextLogBlink = !TextLogBlink;
    }
    QPixmap picture;
    if (picture.load(qs(rtl::OpenPath(AppFile(glyph)))))
        TxtLogOnOff->setIcon(picture);
}

void TMainForm::ReloadConfig(const std::string& path)
{
    // The text log open since the start keeps the template its header names:
    // the configuration's would write records that do not match it.
    const std::string logTemplate = NmeaLogTemplate;
    LoadConfig(path);
    NmeaLogTemplate = logTemplate;
    NmeaLogTemplatePrev = logTemplate;
}

void TMainForm::LoadStartupState()
{
    ReloadConfig(StartConfigPath());
    if (Cviewer)
        Cviewer->SetFixInterval(FixIntervalMs);
    if (CurrentChartName.empty())
        return;
    if (!RouteName.empty())
        LoadRouteFile(AppFile("routes/" + RouteName + ".rte"));
    OpenChtDialog.fileName = ChartsFile(CurrentChartName + ".cht");
    SaveDialog1.fileName = OpenChtDialog.fileName;
    LoadLayers = true;
    LayerFlags = "**********";
    LoadStartupChart();
    // The chart load sets position and zoom from the chart; the configured
    // ones come back with a third read.
    ReloadConfig(StartConfigPath());
    if (MDIChildCount() > 0)
        SetFirstViewZoom(ChartScale);
    // The configured route was read before the chart: its first leg, from
    // the configured position, becomes the cross-track reference now (not
    // north, which would put the vessel off the track on any other course).
    if (MDIChildCount() > 0)
        ResetCrossTrackReference();
    GlobalSettings.TextColourFG = TextIsFg;
    GlobalSettings.TrackColourFG = TrackIsFg;
    GlobalSettings.TideColourFG = TideIsFg;
}

void TMainForm::Config1Click()
{
    if (NmeaOpen) {
        platform::MessageWarning(
            "You cannot load a config file while logging in progress or a Chart Portfolio is open!");
        return;
    }
    if (!ExecuteOpen(OpenConfigDlg))
        return;
    const std::string chosen = OpenConfigDlg.fileName;
    const std::string previousChart = CurrentChartName;
    ReloadConfig(chosen);
    rtl::ShortString<40> unused;
    ListChartsOrFindNearest(ChartSearchMode::List, unused);
    OpenChtDialog.initialFolder = ChartsFolder;
    SaveDialog1.initialFolder = ChartsFolder;
    const double configuredScale = ChartScale;
    const double configuredLat = CurLat;
    const double configuredLon = CurLon;
    SetTowLayout();
    ConfigName = ExtractFileBaseName(chosen);
    if (!RouteName.empty())
        LoadRouteFile(AppFile("routes/" + RouteName + ".rte"));
    if (!LoadChartConfig(ChartsFile(CurrentChartName + ".cfg"))) {
        platform::MessageWarning("Chart Config File Missing!");
        return;
    }
    // The nearest chart to the configured chart's home replaces the one shown
    // (the old name lets the loader see that the chart changes).
    CurLat = ChartHomeLat;
    CurLon = ChartHomeLon;
    CurrentChartName = previousChart;
    AutoChartClick();
    ChartScale = configuredScale;
    CurLat = configuredLat;
    CurLon = configuredLon;
    CentreActiveView(CurLat, CurLon, ChartScale);
}

void TMainForm::SaveConfigAs1Click()
{
    if (!ExecuteSave(SaveConfig))
        return;
    // A file that was not written does not name the configuration.
    if (!SaveConfiguration(SaveConfig.fileName))
        return;
    ConfigName = ExtractFileBaseName(SaveConfig.fileName);
    SetViewCaptions();
}

bool TMainForm::SaveConfiguration(const std::string& path)
{
    const bool autoLoad = AutoLoadChart;
    if (ChartEditable)
        AutoLoadChart = autoLoadBeforeEdit_;
    bool written = false;
    try {
        written = SaveConfigFile(path);
    } catch (...) {
        AutoLoadChart = autoLoad;
        throw;
    }
    AutoLoadChart = autoLoad;
    return written;
}

void TMainForm::SetViewCaptions()
{
    const QString caption = qs(CurrentChartName + " (" + ConfigName.str() + ")");
    for (int i = MDIChildCount() - 1; i >= 0; --i)
        MDIChildren(i)->setWindowTitle(caption);
}

void TMainForm::FormCloseQuery(bool& CanClose)
{
    if (!platform::AskYesNo("Quit Korvane - Are you sure?")) {
        CanClose = false;
        return;
    }
    if (NmeaOpen)
        CloseNmeaInterface();
    if (AisPlayback) {
        AISplayTime->setEnabled(false);
        StopAisPlayback();
    }
    // A chart that was to be saved and was not (the write failed or the
    // dialog was cancelled) keeps the program open, so that the edits can
    // still be saved elsewhere.
    if (ChartEdit1->isChecked() && MDIChildCount() > 0
        && platform::AskYesNo("Save the modified chart before exit ?") && !SaveChartAs()) {
        CanClose = false;
        return;
    }
    // Always the default file, also when another one was named at start or
    // loaded since.
    SaveConfiguration(AppFile(kDefaultConfig));
    // The chart store is a fixed table: nothing to free.
    CanClose = true;
}

void TMainForm::closeEvent(QCloseEvent* e)
{
    bool canClose = false;
    platform::guardedIn(this, [&] { FormCloseQuery(canClose); });
    if (!canClose) {
        e->ignore();
        return;
    }
    // Nothing ticks between the close and the window's destruction.
    SecsTimer->setEnabled(false);
    FixTimer->setEnabled(false);
    AISplayTime->setEnabled(false);
    e->accept();
    // Closing the main window ends the program, also while tool windows
    // (raster viewer, AIS target data) are open.
    QCoreApplication::quit();
}

void TMainForm::FormDestroy()
{
    for (const QMetaObject::Connection& hook : activeFormHooks_)
        disconnect(hook);
    activeFormHooks_.clear();
    DestroyHelpHook();
}

void TMainForm::FileExitItemClick()
{
    close();
}

void TMainForm::HelpAboutItemClick()
{
    if (AboutBox)
        platform::ui().showModal(*AboutBox);
}

void TMainForm::ShowToolbar1Click()
{
    ShowToolbar1->setChecked(!ShowToolbar1->isChecked());
    SpeedPanel->setVisible(ShowToolbar1->isChecked());
}

void TMainForm::Edit1Click()
{
    UpdateMenuItems();
}

void TMainForm::ClearNavPanel()
{
    RngToWp->clear();
    BearingToWP->clear();
    SpeedMG->clear();
    TimeToWP->clear();
    CourseOG->clear();
    SpeedOG->clear();
    GPSIndicator->clear();
}

void TMainForm::ClearRouteList()
{
    ClearNavPanel();
    WPName->clear();
}

bool TMainForm::AisMonitorOn() const
{
    return AISMonitor && AISMonitor->isChecked();
}

void TMainForm::ShowAvailableCharts()
{
    if (AvailableCharts)
        AvailableCharts->trigger();
}

int TMainForm::MDIChildCount() const
{
    return static_cast<int>(MdiArea->subWindowList().size());
}

QMdiSubWindow* TMainForm::MDIChildren(int index) const
{
    // Most recently active first.
    const QList<QMdiSubWindow*> stack = MdiArea->subWindowList(QMdiArea::StackingOrder);
    if (index < 0 || index >= stack.size())
        return nullptr;
    return stack[stack.size() - 1 - index];
}

bool ExecuteOpen(platform::FileDialogRequest& dialog)
{
    const std::optional<std::string> chosen = platform::ui().openFile(dialog);
    if (!chosen)
        return false;
    dialog.fileName = rtl::SlashPath(*chosen);
    return true;
}

bool ExecuteSave(platform::FileDialogRequest& dialog)
{
    const std::optional<std::string> chosen = platform::ui().saveFile(dialog);
    if (!chosen)
        return false;
    dialog.fileName = rtl::SlashPath(*chosen);
    return true;
}
