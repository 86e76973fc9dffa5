#pragma once
// The main window of korvex: an MDI frame that holds the chart views, with
// the menu bar, the tool bar `SpeedPanel`, the navigation panel and the
// status panels. Menu items, buttons and panels are named members, because
// the other windows and the commands refer to them by name.
//
// The implementation is split by area, one file each:
//   Main.cpp           creation, the one-second clock with the deferred start,
//                      the configuration commands, shutdown
//   MainMenus.cpp      the menu bar, tool bar and panels
//   MainMenuState.cpp  UpdateMenuItems: enabled states from the data
//   MainViews.cpp      chart views: creation, arrangement, refresh of all
//   MainPrograms.cpp   printing, copying, help and the outside programs
//   MainHelp.cpp       the help hook and context help
//   MainCharts.cpp     chart, layer and portfolio files, the nearest chart,
//                      saving the chart, the purge commands
//   MainWaypoints.cpp  chart waypoints and their files
//   MainRoutes.cpp     route files, the route commands and measure mode
//   MainChartEdit.cpp  chart point editing
//   MainSettings.cpp   the preferences and timing commands
// Later areas add their own file (MainNmea.cpp, MainFix.cpp ...) and their
// handlers to the matching section below.
//
// The main window is the top of the window libraries (dialogs, then chart
// views, then the main window). The windows below never see it: it
// implements the small interfaces they declare for their calls upwards
// (chartwin::TViewHost for the chart views, TDialogHost for the dialogs) and
// hands itself to them when it creates them. The `MainForm` global is for
// this folder only. Settings the dialogs hold are values (GlobalSettings,
// AlarmSettings) that every reader reads directly.

#include "chartwin/SurveyPlot.h"
#include "chartwin/ViewHost.h"
#include "dialogs/DialogHost.h"
#include "dialogs/ViewerHost.h"
#include "nav/ChartEdit.h"
#include "platform/QtHint.h"
#include "platform/Ui.h"
#include "rtl/ShortString.h"
#include "rtl/TextFile.h"

#include <QImage>
#include <QMainWindow>
#include <QMetaObject>
#include <QSize>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolBar;
class QToolButton;
class TComPortLink;
class TMDIChild;
class TNeedleGauge;
class TMediaPlayer;
class TTimer;
struct TFixPreferences;
struct XteGaugeReading;
namespace serial
{
class TSerialPort;
}

// The main window's title, also the application's.
inline constexpr const char* kProgramTitle = "KV AIS Velta";

// What the program was started with.
struct TStartOptions {
    // Command-line arguments after the program name; the first one, when
    // present, names the configuration file relative to the application folder.
    std::vector<std::string> args;
    // Screen size in pixels; empty: the primary screen's.
    QSize screenSize;
};

class TMainForm : public QMainWindow, public chartwin::TViewHost, public TDialogHost, public TViewerHost
{
    Q_OBJECT

public:
    explicit TMainForm(const TStartOptions& options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Start-up, one-second clock and shutdown (Main.cpp)
    void FormCreate();
    // Shows the long part of a hint (the text after '|') on the status line.
    void ShowHint(const QString& hint);
    void SecsTimerTimer();
    // The deferred start that the first tick sets off: configuration, route
    // and chart, the interface in start mode "Auto", the about box.
    void FinishStart();
    // What every tick does: the clock panel, the route list after a change
    // of route, the text-log button's glyph.
    void DoTickDuties();
    void LoadStartupState();
    void FormCloseQuery(bool& CanClose);
    void FormDestroy();
    void Config1Click();
    void SaveConfigAs1Click();
    void FileExitItemClick();
    // The configuration file named at start: "zudeve.cfg" in the application
    // folder, or the first command-line argument taken relative to it.
    std::string StartConfigPath() const;

    // ---- Menus, tool bar and views (MainMenuState.cpp, Main.cpp)
    void UpdateMenuItems() override;
    void HelpAboutItemClick();
    void ShowToolbar1Click();
    void Edit1Click();
    // Chart views: the MDI children, index 0 the active one.
    int MDIChildCount() const;
    QMdiSubWindow* MDIChildren(int index) const;

    // ---- Navigation panel
    void ClearNavPanel() override;
    // The panel blank and the route list WPName emptied.
    void ClearRouteList() override;
    // "AIS Monitor" is checked.
    bool AisMonitorOn() const override;
    // Runs "Available Charts" through its menu item.
    void ShowAvailableCharts() override;
    // The chart cursor's readouts (MainCursor.cpp).
    void ShowCursorPosition(const std::string& text) override;
    void ShowStatus(const std::string& text) override;

    // ---- The fix cycle and the commands around it (MainFix.cpp)
    // One accepted fix: speed and course, dead reckoning, fix time and tidal
    // hour, the track store, the views that follow the vessel, the day's
    // track log, the navigation update, trip, text-log record, navigation
    // panel and gauge with their cues, end of the route, the output
    // sentences and heading-up.
    void FixBtnClick();
    void DRMode1Click();
    void TripDblClick(); // double click on Trip
    // Purge > Survey Track: every view stops plotting the survey log and is
    // re-centred on the present position.
    void SurveyTrack1Click();
    void PosnPanelClick();
    void PosnPanelDblClick();
    void ShowNMEAClick();
    // The cycle's part of the preferences and timing settings, as they stand.
    TFixPreferences ReadFixPreferences() const;
    int16_t FixesSinceRedraw = 0; // fixes since the views that follow the vessel were re-centred
    bool SelectVoicePending = false; // the "select next waypoint" cue is due

    // ---- NMEA input, the NMEA interface and the fix tick (MainNmea.cpp)
    // The serial component; its events run the three handlers below.
    serial::TSerialPort* ComPort2 = nullptr;
    // ComPort2 as the NMEA input drives it (not owned); tests put a
    // scripted port here.
    TComPortLink* ComPortLink = nullptr;
    // Handlers of the serial component's available-data, data-trigger and
    // timer-trigger events: line assembly, line routing with the re-arming
    // of the triggers, and the no-data warning.
    void ComPort2TriggerAvail(uint16_t Count);
    void ComPort2TriggerData(uint16_t TriggerHandle);
    void ComPort2TriggerTimer(uint16_t TriggerHandle);
    // ComPort2: ComNumber := ComPort, Baud := BaudRate, Open, AvailLength 1,
    // the CR data trigger and the 15-second no-data timer trigger; throws
    // when the port cannot be opened (also without a serial component).
    void OpenComPort();
    // ComPort2: Open := false, RemoveAllTriggers, AvailLength := 0.
    void CloseComPort();
    // With a port configured (ComPort > 0): OpenComPort; a failure is shown
    // and the port closed again.
    void TryOpenComPort();
    // The port is open with its triggers (AvailLength not 0).
    bool ComPortOpen() const;
    // Button, menu item, fix timer and menus as the open interface has them;
    // dead reckoning off.
    void MarkNmeaInterfaceOpen();
    // Status line, menu item and fix timer off, the port closed, the
    // navigation panel blank.
    void CloseNmeaInterface();
    void NMEAServerOnOffClick();
    void FixTimerTimer();
    void ManualFix();
    // Decodes CurrentSentence into the present position and runs the fix
    // cycle: live while the interface is open, otherwise for AIS log
    // playback. Live, a sentence that cannot be decoded throws (the fix tick
    // reports it); in playback it counts as an invalid fix.
    void ProcessNmeaSentence();
    // Field n of CurrentSentence (0: the identifier).
    std::string GetSentenceField(int n) const;
    // The GPS indicator's font colour, BGR.
    void SetGpsIndicatorColour(uint32_t bgr);
    // "GPS ?" in silver with the indicator's own hint: no position source.
    void ShowGpsUnknown();
    std::string CurrentSentence; // the sentence the fix tick hands to the decoder
    std::string SentenceTimeText; // field 1 of the last decoded sentence
    bool FixValid = false; // the last decoded sentence gave a valid fix
    uint16_t DataTriggerHandle = 0; // the CR data trigger
    uint16_t TimerTriggerHandle = 0; // the no-data timer trigger

    // ---- AIS: sentence assembly, target table, database, log playback (MainAis.cpp)
    // Fragment assembly and decoding of one "!AIVDM" sentence, then the
    // merge of the decoded record into the target table with the beep and
    // spoken sector of a new target.
    void AssembleAivdm(const std::string& sentence);
    void UpdateAisTargets();
    void SearchAISDatabaseClick();
    void UpdateAISDatabaseClick();
    // Starts playback of an AIS log, or pauses a running one and asks
    // whether to stop it.
    void PlayAISlogClick();
    // One log line per tick; at the end of the file playback stops.
    void AISplayTimeTimer();
    void CloseAisLogFile();
    // The playback file's name without folder and extension, while it plays.
    std::string AisPlaybackName() const override;
    rtl::TextReader AisLogFile; // the log being played back

    // ---- Chart views (MainViews.cpp); index 0 is the active view
    // (chartwin/ViewList.h)
    TMDIChild* CreateChartView(const std::string& name);
    // The window's title while the active view is maximised.
    void FollowViewCaption();
    void FileNewItemClick();
    void WindowCascadeItemClick();
    void WindowTileItemClick(); // side by side
    void TileHoriz1Click(); // one above the other
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void InsetViewClick();
    void Next1Click();
    void Previous1Click();
    // Every view re-centred on the present position and redrawn; the first
    // shown at 1:1 instead when ZoomHomeOnRefresh is set (then cleared).
    void RefreshAllViews() override;
    // The first view's zoom := zoom (with its rounded copy) and its route
    // display on; nothing without a view.
    void SetFirstViewZoom(double zoom);
    // The active view's centre and zoom, then its re-centre; nothing
    // without a view.
    void CentreActiveView(double lat, double lon, double zoom);
    // Set by a chart load: the next RefreshAllViews shows the chart at 1:1.
    bool ZoomHomeOnRefresh = false;

    // ---- Printing, help and outside programs (MainPrograms.cpp)
    void Print1Click();
    void PrinterSetUp1Click();
    void CopyViewClick() override;
    void Contents1Click();
    void KVHelp1Click();
    void ChartletViewer1Click();
    void TidalAtlasEditor1Click();
    void WaypointEditor1Click();
    void GPSfileconvertor1Click();
    void AISDatabaseViewer1Click();
    void ReleaseNotes1Click();

    // ---- Text survey log (MainTextLog.cpp)
    // Appends one record to the text log; `Event` (a manual fix) puts the
    // next event number before it. A record that cannot be written is
    // reported and dropped, and the caller goes on.
    void WriteTextLogLine(bool Event);
    // The main window's '@' template language (nav/LogTemplate.h) on `text`;
    // '@W' inserts the route list's selected entry.
    std::string ExpandTemplate(const std::string& text);
    void Logs1Click();
    void SaveLogAs1Click();
    void ViewTextLog1Click();
    void AISTracklooker1Click();
    void TxtLogOnOffClick();
    void ShowTextLogSwitch(); // TxtLogOnOff and its hint from TextLogOn
    // The preferences' template `typed` after OK: when it differs from the
    // current log's template, asks whether the log may be started afresh
    // under it; otherwise (or when the log cannot be rewritten) the log's
    // template stays.
    void TextLogFormatChange(const std::string& typed);

    // ---- Voice prompts and sound clips (MainVoice.cpp)
    // The one media player of the window: the Qt Multimedia one, made at its
    // first use, unless SetMediaPlayer installed another.
    TMediaPlayer& MediaPlayer1();
    void SetMediaPlayer(std::shared_ptr<TMediaPlayer> player);
    // Plays the wave file `path` and returns at once. A file that is missing
    // or cannot be played, or a machine without sound output, is reported on
    // the status line (each report once) and sound is enabled again; the
    // caller goes on either way.
    void PlayClip(const std::string& path);
    // Plays AppFolder + word + ".wav" and keeps the word as the last
    // announcement (AIS new-target sectors, the AIS view's repeat button).
    void PlayVoice(const std::string& word) override;
    // End of a clip: sound may play again.
    void MediaPlayer1Notify();
    // The voice cues of a fix on a leg: the cross-track cue of the gauge
    // reading when it is due, then the waypoint approach when one is pending.
    // Only with a route and while sound is enabled.
    void PlaySteeringCues(const XteGaugeReading& gauge, const TFixPreferences& prefs);
    // The "select next waypoint" cue at the end of the route when `pending`,
    // which it clears once played.
    void PlaySelectCue(const TFixPreferences& prefs, bool& pending);

    // ---- Chart store and chart files (MainCharts.cpp)
    // Opens a chart or layer file chosen in OpenChtDialog: it replaces the
    // chart (or, with "Chart Append" checked, is added to it) with its
    // layers, configuration and waypoints, in the first view or a new one.
    void FileOpenItemClick();
    // The chart named by OpenChtDialog's file name with its layers (when
    // LoadLayers is set) and waypoints, in a new chart view. A missing chart
    // is reported and the program goes on with an empty chart.
    void LoadStartupChart();
    // The layer files 0 to 9 beside the chart that LayerFlags leaves on.
    void LoadChartLayers();
    // Writes the store as the chart or layer file chosen in SaveDialog1, then
    // the chart configuration and the waypoint file beside it.
    void SaveBtnClick();
    // Replaces the chart by the chart of the chart list nearest to the
    // working position (not in chart edit mode).
    void AutoChartClick();
    void NearestChart1Click();
    void OpenPortfolio1Click();
    // Every view shows the charts of the chart list, the last view first.
    void AvailableChartsClick();
    void ChartAppendModeClick();
    // Purge: track log, chart, layers, everything; each asks first.
    void Log1Click();
    void Chart1Click();
    void Layers1Click();
    void All1Click();
    std::string ChartTitle; // base name of the chart file opened last

    // ---- Chart waypoints (MainWaypoints.cpp)
    // "<chart>.wpt", and "<chart>.wps" while DOSWPTformat is checked, beside
    // the chart file named by SaveDialog1.
    void WriteChartWaypointFile();
    void WriteDosWaypointFile();
    void AddChartWaypoint1Click();
    void EditChartWaypoint1Click(); // the waypoint nearest to the working position
    void WaypointSnapMode1Click() override; // shows it read-only
    void DeleteChartWaypoint1Click();
    void DOSWPTformatClick();

    // ---- Routes and measure mode (MainRoutes.cpp)
    // Reads a ".rte" or ".prn" file into the route (the start-up route, the
    // route of a configuration); with a view shown its first leg is the
    // cross-track reference. The list follows at the next clock tick.
    void LoadRouteFile(const std::string& path);
    void Routes1Click();
    // Cancel writes nothing and keeps RouteName.
    void SaveRouteAs1Click();
    void Route1Click(); // Purge > Route
    // The user picked entry `index` (0-based) of the route list WPName.
    void WPNameChange(int index);
    void SelectWaypoint1Click(); // "Next Waypoint"
    void XTerrorDblClick(); // resets the cross-track reference
    void SendWPSClick();
    void MeasureModeClick();
    void ExMeasureClick();
    // ---- Chart point editing (MainChartEdit.cpp); points go in at the
    // working position CurLat, CurLon, which a click in the view sets
    void ChartEdit1Click();
    // Line type k checked and a point of that type added at once.
    void LineT0Click();
    void LineT1Click();
    void LineT2Click();
    void LineT3Click();
    void LineT4Click();
    void LineT5Click();
    void LineT6Click();
    void PenUp1Click();
    // Adds a chart point at the working position: a pen-up while "Pen Up"
    // is checked.
    void AddChartPoint1Click();
    void SnaptoChart1Click();
    void EditPoint1Click();
    void DeletePoint1Click();
    void StartNewClick();
    // ---- The raster image viewer's calls (MainChartlet.cpp)
    void AddChartWaypointHere() override;
    void AddChartPointHere() override;
    bool PenUpChecked() const override;
    int ChartViewCount() const override;
    void PlayChartletClip(const std::string& path) override;
    void StopChartletClip() override;
    void PrintChartletView(const QImage& image) override;

    // ---- Context help (MainHelp.cpp)
    // The application's help event with HELP_CONTEXT and `context`: the
    // help hook shows that page of the help file.
    void ShowHelpContext(int context) override;
    // HelpSystem on the help file, and its release, which closes every help
    // window.
    void CreateHelpHook(const std::string& helpFile);
    void DestroyHelpHook();

    // ---- Preferences and timing (MainSettings.cpp)
    void GlobalViewClick();
    void Alarms1Click();

    // ---- Tides (MainTides.cpp)
    void Tides1Click(); // open a tidal atlas
    void Tides2Click(); // remove it
    void IncTideClick(); // the tidal hour one on from the last step
    int16_t TideStepCount = 0; // the hour the step last set, -6..+6

    // ---- Data-trend plot (MainDataPlot.cpp)
    void DataPlot1Click();
    // The data-trend plot cleared (a fresh bitmap with its zero line).
    void InitDataPlot() override;
    chartwin::TDataTrendPlot* DataTrendPlot() override;
    void DataTrendPlotted() override;
    void SetDataTrendLabel(const std::string& field) override;
    void Data_GainChange();
    // Press and release on the plot at column x (0..116).
    void Data_PlotMouseDown(int x);
    void Data_PlotMouseUp(int x);
    void PlotAllClick();
    void CopyPlottoClipboard1Click();
    QImage DataPlotImage; // what Data_Plot shows
    int DataTrendLeftX = 0; // column of the selection's left marker
    QMenu* PlotPopupMenu = nullptr;
    QAction* CopyPlottoClipboard1 = nullptr;

    // ---- State of the main window
    bool FirstTickPending = false;
    bool TextLogBlink = false; // text-log glyph shows its second picture
    bool LoadLayers = false; // layer files are read after the base chart
    bool NmeaDataSeen = false; // a line arrived since the no-data timer was armed

    // ---- File dialogs: their state (folder, file name) lives between uses
    platform::FileDialogRequest OpenChtDialog, SaveDialog1, OpenRteDialog, SaveRouteDlg, OpenTideDlg,
        OpenConfigDlg, SaveConfig, OpenLogDialog, SaveLogDlg, OpenAISdlg;

    // ---- Timers
    TTimer* FixTimer; // fix interval; runs while the interface is open or in DR mode
    TTimer* SecsTimer; // 1000 ms, from creation to exit
    TTimer* AISplayTime; // AIS log playback, round(5000 / AisPlaySpeed) ms

    // ---- Menu bar
    QMenu* File1;
    QMenu* OpenFile1;
    QAction *Charts1, *Logs1, *Routes1, *Tides1, *Config1;
    QAction *FileNewItem, *CopyView1, *AvailableCharts, *NearestChart1, *LoadNearestChart1, *OpenPortfolio1;
    QAction *ChartSaveAsItem, *SaveLogAs1, *SaveRouteAs1, *SaveConfigAs1, *Print1, *PrinterSetUp1,
        *FileExitItem;

    QMenu* Edit1;
    QAction *AddChartWaypoint1, *EditChartWaypoint1, *WaypointSnapMode1, *DeleteChartWaypoint1, *StartNew;
    QAction* AddChartPoint1;
    QMenu* SetLineType1;
    QAction *PenUp1, *LineT0, *LineT1, *LineT2, *LineT3, *LineT4, *LineT5, *LineT6;
    QAction *SnaptoChart1, *EditPoint1, *DeletePoint1;

    QMenu* Options1;
    QAction *ShowToolbar1, *Alarms1, *Global1, *Nserver, *ShowNMEA;
    QAction *ProcAis, *UpdateAISDatabase, *SearchAISDatabase, *AISMonitor;
    QAction *DRMode1, *ChartAppendMode, *ChartEdit1, *DOSWPTformat;
    // Hidden items: not shown in the menu, their shortcuts work.
    QAction *AutoFix1, *ResetXTE1, *SelectWaypoint1, *TideStep1, *AccumulativeMeasure1;

    QMenu* Purge1;
    QAction *Log1, *Route1, *SurveyTrack1, *Chart1, *Layers1, *Tides2, *All1;

    QMenu* Window1;
    QAction *WindowCascadeItem, *WindowTileItem, *TileHoriz1, *InsetView, *WindowMinimizeItem,
        *WindowArrangeItem, *Next1, *Previous1;

    QMenu* Tools1;
    QAction *NavigationData1, *DataPlot1, *ChartletViewer1, *ViewTextLog1, *AISTracklooker1,
        *AISDatabaseViewer1, *TidalAtlasEditor1, *WaypointEditor1, *GPSfileconvertor1, *SendWaypoints1;
    QAction* Measure1; // hidden

    QMenu* Help1;
    QAction *KVHelp1, *ReleaseNotes1, *HelpAboutItem;

    // ---- Tool bar, left to right
    QToolBar* SpeedPanel;
    QToolButton *OpenBtn, *OpenPF, *SaveBtn, *AutoChart, *ShowNearest, *GlobalView, *TimeBtn, *FixBtn,
        *IncTide;
    QLabel* Trip;
    // The measure button; the program-wide flag of the same name is ::MeasureMode.
    QToolButton* MeasureModeBtn;
    QToolButton *ExMeasure, *SendWPS, *NMEAServerOnOff, *TxtLogOnOff, *PlayAISlog, *HelpIndexBtn;

    // ---- Navigation panel
    QFrame* NavPanel;
    QLabel *SpeedOG, *SpeedMG, *CourseOG, *RngToWp, *TimeToWP, *BearingToWP;
    QComboBox* WPName;
    TNeedleGauge* XTerror;
    QLabel* XTEScale;
    QPushButton* ResetXTEBtn;
    // Data-trend plot, hidden until switched on.
    QFrame* Data_Panel;
    QLabel *Data_Plot, *Data_Label, *Gain_Label;
    QSpinBox* Data_Gain;
    QCheckBox* Data_Rev;
    QPushButton* PlotAll;

    // ---- Status panels
    QLabel *StatusLine, *GPSIndicator, *PosnPanel, *TimePanel;

    QMdiArea* MdiArea;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    QMenu* createPopupMenu() override;

private:
    // A window (neither maximised, full-screen nor minimised) whose frame
    // is larger than the free area of its screen is cut to it and moved onto
    // it: restored from maximised, the window manager gives back the size
    // the program started with, the whole free area for the window without
    // its frame.
    void KeepFrameOnScreen();
    // MainMenus.cpp
    void BuildMenus();
    void BuildToolBar();
    void BuildPanels();
    // Runs a command from a menu item, button or timer inside the handler edge.
    // A fix handler's boxes (Boxes::AfterHandler) come once it has returned,
    // so that no box stops the fix cycle (platform/QtHeldBoxes.h).
    enum class Boxes { InPlace, AfterHandler };
    void Bind(QAction* item, void (TMainForm::*handler)(), Boxes boxes = Boxes::InPlace);
    void Bind(QToolButton* button, void (TMainForm::*handler)(), Boxes boxes = Boxes::InPlace);
    void Bind(TTimer* timer, void (TMainForm::*handler)(), Boxes boxes = Boxes::InPlace);
    void RunBound(void (TMainForm::*handler)(), Boxes boxes);
    void ResolveAmbiguousShortcut(QAction* item);
    // A window inside the main window (a chart view) gives up every key of
    // its own actions (its popup menu, the close of its window menu, Ctrl+W
    // among others) that an item of the main menus has, so that each menu
    // shortcut keeps one meaning wherever the focus is.
    void YieldMenuShortcuts(QWidget* window);
    // MainViews.cpp
    void BindViewCommands();
    // MainNmea.cpp: binds the NMEA commands and the fix timer, GPS indicator
    // at its start state.
    void SetUpNmeaInput();
    bool DecodeNmeaSentence();
    // Routes a finished line unless it is damaged (false); a failure while
    // routing it is kept in `failure` (the first one) for the caller to raise
    // once its own work is done.
    bool TakeNmeaLine(const std::string& line, std::exception_ptr& failure);
    // Data came: the no-data timer starts again.
    void NoteNmeaData();
    void RouteNmeaLine(const std::string& line);
    void LogAisSentence(const std::string& sentence);
    void ShowInvalidFix();
    void ShowNoPositionData();
    TComPortLink& Port() const;
    // MainAis.cpp
    void BindAisCommands();
    void StopAisPlayback();
    // The NMEA interface button and menu item, refused during playback.
    void EnableNmeaInterfaceCommands(bool enabled);
    // The own track is kept aside while an AIS log plays back, and the day's
    // track log is not written: the played-back fixes fill the track for the
    // views only. When the playback stops the kept track comes back, and the
    // next real fix adds to it. The own position, course and leg along the
    // route are kept with it: a recorded boat's arrivals move neither the
    // active waypoint nor the cross-track line this one is steered by.
    void HoldOwnTrack();
    void ReleaseOwnTrack();
    struct HeldTrack {
        std::string image; // the track store as its track-log image
        int16_t thinIndex = 0;
        int16_t thinCounter = 0;
        double tripTotal = 0;
        double tripLeg = 0;
        double lat = 0, lon = 0;
        double course = 0;
        bool courseKnown = false;
        int16_t activeWaypoint = 0, arrivedWaypoint = 0;
        double xteRefCourse = 0;
        rtl::ShortString<33> originWaypointName;
        bool firstLegPending = false, reverseRoute = false;
    };
    std::optional<HeldTrack> heldTrack_;
    // MainFix.cpp
    void BindFixCommands();
    void ShowNavigationReadout(const TFixPreferences& prefs);
    void HandleEndOfRoute(const TFixPreferences& prefs);
    // WPName's entry `index` (0-based); -1 or an index beyond the list
    // selects nothing.
    void SelectRouteEntry(int index);
    void RecentreTrackingViews();
    void SendNmeaOutput();
    // The navigation panel blank and the cross-track gauge as at start.
    void ClearNavPanelAndGauge();

    // MainSettings.cpp
    void BindSettingsCommands();
    // MainCharts.cpp, MainWaypoints.cpp, MainChartEdit.cpp
    void BindChartCommands();
    void BindChartEditCommands();
    // Line type k checked (0..6), then a point added; nothing when it was
    // checked already.
    void ChooseLineType(int k);
    bool autoLoadBeforeEdit_ = false; // AutoLoadChart when chart edit mode went on
    TDatumShift lineTypeShift_; // the last shift of the working position by a line-type choice
    void SetViewCaptions(const std::string& caption);
    // Appends a chart file's points to the store, saying when it was an old
    // DOS file or did not fit.
    void TakeChartFile(const std::string& bytes, const std::string& path);
    void ShowChartTotals();
    void EmptyChart();
    void EmptyTrackLog();
    // In chart edit mode, offers to save the chart first; false when the
    // user wanted it saved and it was not.
    bool OfferToSaveEditedChart();
    // Open Chart; on Cancel or failure OpenChtDialog keeps `currentPath`.
    bool OpenChartFile(const std::string& currentPath);
    bool ReadStartupChart();
    bool SaveChartAs();
    // The waypoint file beside SaveDialog1's chart file; empty without one.
    std::string WaypointFilePath(const std::string& extension) const;
    // The dialog's waypoint into database entry `index`, then the views and
    // the waypoint file.
    void StoreEditedWaypoint(int index);

    // MainRoutes.cpp: binds the route and measure commands, the route file
    // dialogs' titles and filters.
    void BindRouteCommands();

    // Main.cpp
    // LoadConfig once the day's logs are open: the text log's template stays.
    void ReloadConfig(const std::string& path);
    void TakeScreenSize();
    void SetTowLayout();
    void OpenNmeaInterfaceAtStart();
    void RefillRouteList();
    void ShowTextLogGlyph();
    void SetViewCaptions();
    // The configuration as the user set it: chart edit mode's own switch-off
    // of automatic chart loading is not stored. False when the file could
    // not be written (the message has been shown).
    bool SaveConfiguration(const std::string& path);

    // MainTextLog.cpp, MainVoice.cpp
    void SetUpTextLog();
    // MainTides.cpp, MainDataPlot.cpp
    void SetUpTides();
    void SetUpDataPlot();
    void ShowDataPlot();
    // The one open view while it plots a selection, else none.
    TMDIChild* SelectingView() const;
    void DrawPlotMarker(int x, uint32_t colour);
    chartwin::TDataTrendPlot dataTrend_;
    void ReportSoundFailure(const std::string& text);
    // A per-fix write (track log, text log, AIS log) that cannot be done is
    // shown in a box the first time; while it goes on failing the status line
    // says so at each try, so the fixes are not held up by a box each. A
    // write that succeeds again makes the next failure a box once more.
    void ReportLogWrite(bool written, bool& failing, platform::MessageKind kind, const std::string& text);
    bool textLogFailing_ = false; // the last record could not be written
    bool trackLogFailing_ = false;
    bool aisLogFailing_ = false;
    bool portOutputFailing_ = false; // the port refused the last output, or had no room for it
    std::string userSentenceToldFor_; // the user template whose length has been reported
    std::string takenSentence_; // the GPS line the last fix tick took
    uint64_t gpsLinesIn_ = 0, gpsLinesTaken_ = 0; // GPS lines come in, and as far as the last tick took

    std::shared_ptr<TMediaPlayer> mediaPlayer_;
    std::vector<std::string> soundReports_; // status texts already shown

    TStartOptions options_;
    std::vector<QMetaObject::Connection> activeFormHooks_;
    bool hadView_ = false; // a chart view was open at the last menu update
    // Own ComPort2 and its link. Declared last, so the port is closed first
    // when the window goes, while everything its events touch still exists.
    std::shared_ptr<serial::TSerialPort> comPort2_;
    std::shared_ptr<TComPortLink> comPort2Link_;
};

extern TMainForm* MainForm;

// Runs a file dialog on its request and keeps the chosen file as the
// dialog's file name. False on Cancel.
bool ExecuteOpen(platform::FileDialogRequest& dialog);
bool ExecuteSave(platform::FileDialogRequest& dialog);
