#pragma once
// A chart view: an MDI child of the main window ("Drawing Chart",
// maximised) that shows the vector chart and every other layer on an
// off-screen bitmap. The view keeps no picture between changes: every change
// of centre, zoom or option ends in a cleared bitmap and a full redraw from
// the program-wide data. The bitmap itself is kept while its size stays. At most two views are open; the
// first one opened is the AIS view, which cannot be closed while the program runs.
//
// The view belongs to the chart window library, below the main window: it
// reaches the main window only through its host (chartwin/ViewHost.h), and
// reads the preferences from their value (dialogs/GlobalDlg.h).
//
// Projection: a position (degrees, longitude west positive) is placed
// relative to the draw centre at FScaleLat pixels per degree of latitude and
// FScaleLon per degree of longitude, north up and east right, then rotated
// by ViewRotation (heading up) about the bitmap centre. The forward
// projection with its culling is TChartPlotter::Project; InverseProject
// turns a pixel back into a position.
//
// The implementation is split: Childwin.cpp (components, creation,
// closing), ChildwinView.cpp (projection, zoom and re-centre commands).

#include "draw/ChartPlotter.h"
#include "draw/RasterCanvas.h"
#include "nav/SurveyLog.h"
#include "nav/SurveyTrail.h"

#include <QImage>
#include <QMdiSubWindow>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QToolButton;
class TSpinButton;
class TTimer;
namespace chartwin
{
class TViewHost;
struct TDataTrendPlot;
} // namespace chartwin

// AIS target age-out limit in days (After 5, 10 or 15 minutes); every new
// view sets 15 minutes.
extern double AisAgeLimit;
// Orientation of the selected AIS target's outline: 0 course over ground
// ("AIS COG"), 1 true heading ("AIS True Head").
extern int16_t AisHeadingMode;

// Image1: shows the view's bitmap at its own size.
class TChartImage : public QWidget
{
    Q_OBJECT

public:
    explicit TChartImage(QWidget* parent = nullptr);
    void SetPicture(const QImage* picture);

signals:
    // Left button pressed, the mouse moved, the left button released; image
    // pixels.
    void LeftDown(int x, int y);
    void Moved(int x, int y);
    void LeftUp(int x, int y);
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    const QImage* picture_ = nullptr;
};

class TMDIChild : public QMdiSubWindow, public chartwin::TChartPlotter
{
    Q_OBJECT

public:
    // Zoom limits. The buttons stop at kButtonZoomLimit, the mouse wheel at
    // kMaxZoom; no zoom ever leaves kMinZoom..kMaxZoom.
    static constexpr double kMinZoom = 0.03125;
    static constexpr double kButtonZoomLimit = 12000;
    static constexpr double kMaxZoom = 36000;

    enum class TCloseAction { None, Hide, Free, Minimize };

    // Creates the view's components in `area` (none in tests) and runs
    // FormCreate. The creator sets caption, centre and zoom and redraws.
    // `host` is the main window (none in tests and benchmarks).
    explicit TMDIChild(QMdiArea* area = nullptr, chartwin::TViewHost* host = nullptr);
    ~TMDIChild() override;

    // ---- Creation and closing (Childwin.cpp)
    void FormCreate();
    // The AIS view refuses while another view is open; closing the only view
    // asks first and then clears all chart, waypoint and route data.
    void FormClose(TCloseAction& Action);
    void ShowToolBar1Click();
    void CopyView1Click();

    // ---- Projection, zoom and re-centre (ChildwinView.cpp)
    // The bitmap at ViewImageWidth x ViewImageHeight (kept while that size
    // stays) cleared to BackgroundColour, with a fresh canvas whose pen is
    // ForegroundColour; pixels per degree at zoom 1 from the chart.
    void NewChartBitmap();
    void SetClipMargin();
    // Start of every redraw: cursor clamped to latitude -80..84 and wrapped
    // into longitude -180..180, scales for the cursor latitude and zoom,
    // draw centre (the cursor, or the followed AIS target).
    void SetUpProjection();
    // The position (degrees, longitude west positive) of pixel (x, y):
    // latitude clamped to -80..84, longitude wrapped into -180..180.
    void InverseProject(int x, int y, double& lat, double& lon) const;
    // FZoom := zoom kept within kMinZoom..kMaxZoom (anything else, a zero
    // or undefined zoom included, takes the nearer limit; NaN the lower),
    // FIntZoom := its rounded copy.
    void SetZoom(double zoom);

    void ZoomInClick();
    void ZoomOutClick();
    // Wheel: a positive delta zooms in by 1.1, zero or negative out by 0.9.
    void FormMouseWheel(int wheelDelta);
    void Zoom1_1Click();
    // Re-centre about the cursor position: the program's redraw entry point.
    void CentreButton1Click();
    // FZoom from WaypointRangeNm: the zoom of the smallest table range still
    // above it.
    void ZoomForRange();
    // The common tail of the zoom and re-centre commands.
    void RedrawAndStoreView();

    // ---- Redraw (ChildwinView.cpp, the drawing in ChartPainters.cpp)
    // What goes before the drawing (projection, AIS selection), the drawing
    // from GlobalSettings, then what follows it (AIS age-out, the
    // portfolio's chart list, the repaint).
    void RedrawView();
    void DrawFixCross(int X, int Y);
    // ---- Cursor, position readout and measuring (ChildwinCursor.cpp)
    // The cross at (X, Y) with arms from 3 to 3 x size pixels off the
    // centre, every pixel inverted: a second call at the same place erases it.
    void DrawCursorCross(int X, int Y, int size);
    // The user moved the cursor to pixel (X, Y): the cursor position from
    // it, which becomes the working position (CurLat, CurLon) above zoom 0.5
    // or while this is the only view; then ReadOutCursor.
    std::string PixelToPosition(int X, int Y);
    // The readout of the cursor position (nav/PositionReadout.h), also kept
    // in CursorPositionText. The working position is left alone.
    std::string ReadOutCursor();
    // After a redraw: the position panel and, while measuring, the measure
    // readout on the status line.
    void ShowCursorReadout();
    void Image1MouseDown(int X, int Y);
    void Image1MouseMove(int X, int Y);
    void Image1MouseUp(int X, int Y);
    void UpDownDownClick();
    void UpDownUpClick();
    void LeftRightDownClick();
    void LeftRightUpClick();

    // ---- Commands at the cursor and on the whole view (ChildwinCommands.cpp)
    // The chart's note (<chart>.inf) shown at the cursor, editable and saved
    // on closing in chart edit mode.
    void Information1Click();
    void AddRouteWaypoint1Click();
    void InsertWaypoint1Click();
    void EditRoute1Click();
    void DeleteSelectedWaypoint1Click();
    void WaypointSnapModeClick();
    void PopupMenu1Popup();
    // Animated playback of the own track; DelayTimer is its tick.
    void PlaybackLog1Click();
    void DelayTimer();
    // The area enclosed around the cursor by chart lines.
    void Area1Click();
    // Track records shown so far and ticks since the last re-centre.
    int32_t PlaybackIndex = 0, PlaybackStep = 0;

    // The view and zoom properties dialog on this view's options; OK takes
    // them back and redraws.
    void ViewBtnClick();
    void ShowChtsClick();

    // ---- AIS presentation (ChildwinAis.cpp); the controls work in the AIS
    // view only
    // After a redraw of the AIS view and on its refresh: the nearest target
    // selected when highlighting, the selected target's data in the AIS
    // target data window, the age-out of silent targets.
    void UpdateAisTargets();
    // The lines of target i appended to `memo` (the data window's Memo1).
    void ShowAisTargetInfo(int i, QPlainTextEdit* memo);
    // SelectedAisTarget := the nearest target; NearestTargetRange kept while
    // "AIS Zoom Nearest Target" is checked.
    void SelectNearestAisTarget();
    // The 5-second refresh runs in the AIS view while its track is not shown.
    // Switching the track on never empties the own track.
    void SetAisRefresh();
    void RefRateTimer();
    void Image1DblClick();
    void ShowAISClick();
    void HighlightNearest1Click();
    void ShowMMSI1Click();
    void OnAll1Click();
    void OnSelected1Click();
    void Never1Click();
    void After5mins1Click();
    void After10mins1Click();
    void After15mins1Click();
    void LargeLollipop1Click();
    void AISFollowSelectedTarget1Click();
    void AISCOG1Click();
    void AISTrueHead1Click();
    void AISZoomClick();
    void AISShapeClick();
    void ClearAllTargets1Click();
    void RRUpClick();
    void RRDownClick();
    void AISrepeatClick();

    // The main window, as far as the view needs it; none in tests.
    chartwin::TViewHost* const Host;
    // Where the last redraw drew the own vessel (latitude, longitude); the
    // tow layout is made from it after the redraw.
    std::optional<std::pair<double, double>> VesselDrawnAt;
    // The data-trend plot the redraw draws into (the AIS view while the plot
    // is shown), and what the survey plot found wrong with the log (none
    // when it did not plot); the caller's steps around the drawing set the
    // one and report the other.
    chartwin::TDataTrendPlot* DataTrend = nullptr;
    std::optional<SurveyLogFault> SurveyFault;
    // The survey log as this view plots it, read on before each redraw up to
    // what was appended since the last.
    SurveyLogTail SurveyTail;

    // ---- State
    int32_t FPixPerDegLat = 0, FPixPerDegLon = 0; // pixels per degree at zoom 1
    double FCosCentreLat = 1.0;
    double FDegreesHigh = 0.0, FDegreesWide = 0.0; // degrees covered at zoom 1
    bool FMouseDown = false;
    bool FAutoRecentre = false; // the fix cycle re-centres this view
    bool FIsAisView = false;
    bool FShowWaypoints = true, FShowRoute = true, FShowTides = true, FShowTrack = true;
    std::array<bool, 7> FLineTypeShown {}; // chart line types 0..6 drawn
    bool FPlotSurveyLog = true, FShowSurveyTrack = true, FShowLastN = true;
    bool FEventTextOnly = false, FColourBlobs = false;
    bool FAutoZoom = false; // zoom follows the range to the active waypoint
    bool FShowGraticule = false;
    bool FShowVessel = true;
    bool FKeepOnTop = false;
    double FPlotRange = 10.0;
    int32_t FShowCount = 100;
    int32_t FTextThreshold = 100, FTidalThreshold = 20; // least FIntZoom for texts
    char FTrendField = '-';
    double FHighlightLimit = 0.0;
    int32_t FRingCount = 0;

    // The bitmap and its drawing surface.
    QImage Bitmap;
    std::unique_ptr<chartwin::TRasterCanvas> BitmapCanvas;

    // ---- Components
    QWidget* Form; // the client area: side tool bar and scroll box
    QFrame* Panel1; // side tool bar, 30 px, right
    QToolButton *ZoomIn, *ZoomOut, *Zoom1_1, *CentreButton1, *ViewBtn;
    TSpinButton *UpDown, *LeftRight;
    QToolButton *ShowAIS, *AISrepeat;
    TSpinButton* RR;
    QLabel* RangeR;
    QScrollArea* ScrollBox1;
    TChartImage* Image1;
    QPlainTextEdit* Memo1; // chart information panel
    TTimer* Delay; // track playback, 100 ms
    TTimer* RefRate; // AIS refresh, 5000 ms

    QMenu* PopupMenu1;
    QAction *AddRouteWaypoint1, *InsertWaypoint1, *EditRoute1, *DeleteSelectedWaypoint1, *WaypointSnapMode;
    QAction *ShowToolBar1, *Information1, *ViewProperties1, *Area1, *CopyView1;
    QAction *ReCentre1, *ZoomOut1, *ZoomIn1, *Zoom1_11, *PlaybackLog1, *ShowChts;
    QAction* AisSeparatorBefore;
    QAction *HighlightNearest1, *ShowMMSI1, *LargeLollipop1, *AISFollowSelectedTarget1, *AISZoom, *AISShape;
    QMenu *ShowNameMMSI1, *AutoRemove1, *AISVesselOrientation1;
    QAction *OnAll1, *OnSelected1, *Never1, *After15Mins1, *After10Mins1, *After5Mins1, *AISCOG1,
        *AISTrueHead1;
    QAction* AisSeparatorAfter;
    QAction* ClearAllTargets1;

protected:
    void closeEvent(QCloseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildToolPanel();
    void BuildPopupMenu();
    void BindAisCommands();
    // The data window's target spin: shown while highlighting is off and
    // targets exist.
    void ShowTargetSpin();
    void CentreScrollBox();
    // The view follows the selected AIS target: AIS view, follow item
    // checked, ShowAIS down and a selected target that has a position.
    bool FollowsAisTarget() const;
    void ConnectCursor();
    void ConnectCommands();
    // Moves the cursor by one pixel (the spin buttons).
    void StepCursor(int dx, int dy);
    // The route changed at the cursor: a redraw on a fresh bitmap.
    void RedrawAfterRouteEdit(bool keepSelection);
    void CentreOnTrackRecord(int index);
    // The view's own track and vessel switches while a playback runs.
    std::optional<std::pair<bool, bool>> SwitchesBeforePlayback;
};
