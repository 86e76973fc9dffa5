// A chart view's projection between positions and bitmap pixels, and its
// zoom and re-centre commands. Every command ends in the same tail: the
// bitmap cleared, a full redraw about the cursor position, the bitmap centre
// scrolled into the window and the view stored as the last view (which the
// configuration saves).

#include "chartwin/Childwin.h"

#include "chartwin/AisPainter.h"
#include "chartwin/ChartPainters.h"
#include "chartwin/SurveyPlot.h"
#include "chartwin/VesselLayout.h"
#include "chartwin/ViewHost.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/View_ZoomDlg.h"
#include "nav/AisSelection.h"
#include "nav/ChartConfig.h"
#include "nav/NavState.h"
#include "nav/TextLog.h"
#include "platform/QtTimer.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace
{

// Zoom for the range to a waypoint or target: the zoom of the smallest
// range (nautical miles) still above it.
struct RangeZoom {
    double range;
    double zoom;
};
constexpr std::array<RangeZoom, 14> kZoomRangeTable { { { 0.02, 6000 }, { 0.05, 2400 }, { 0.1, 1200 },
    { 0.3, 400 }, { 0.6, 200 }, { 1.25, 100 }, { 2.5, 50 }, { 5, 25 }, { 10, 12 }, { 20, 6 }, { 40, 3 },
    { 50, 2 }, { 100, 1 }, { 200, 0.5 } } };
// Ranges beyond the table get its widest zoom.
constexpr double kBeyondTableZoom = 0.5;

// The drawable latitudes: the projection is flat and stretches towards the
// poles.
constexpr double kNorthLimit = 84;
constexpr double kSouthLimit = -80;

double ClampLatitude(double lat)
{
    if (!(lat <= kNorthLimit))
        return std::isnan(lat) ? 0.0 : kNorthLimit;
    return std::max(lat, kSouthLimit);
}

// Into -180..180 (west positive): 190 is -170, -185 is 175.
double WrapLongitude(double lon)
{
    if (!std::isfinite(lon))
        return 0.0;
    lon = std::fmod(lon, 720.0);
    while (lon > 180)
        lon -= 360;
    while (lon < -180)
        lon += 360;
    return lon;
}

// Pixels per degree are whole numbers; a scale of 0 (a tiny bitmap at the
// smallest zoom) would make every position one pixel and the inverse
// projection divide by zero.
int32_t AtLeastOne(int64_t pixels)
{
    return static_cast<int32_t>(std::max<int64_t>(1, pixels));
}

} // namespace

void TMDIChild::NewChartBitmap()
{
    const int width = std::max<int>(1, ViewImageWidth);
    const int height = std::max<int>(1, ViewImageHeight);
    const auto background = static_cast<chartwin::TColour>(BackgroundColour) & 0xFFFFFF;
    const auto foreground = static_cast<chartwin::TColour>(ForegroundColour) & 0xFFFFFF;
    // The bitmap stays while its size does and is only cleared: a redraw
    // allocates no new picture.
    if (Bitmap.width() != width || Bitmap.height() != height)
        Bitmap = QImage(width, height, QImage::Format_RGB32);
    Bitmap.fill(chartwin::BgrToRgb(background));
    // A fresh canvas on it: pen, brush and font start over, as on a new bitmap.
    BitmapCanvas = std::make_unique<chartwin::TRasterCanvas>(Bitmap);
    BitmapCanvas->SetBrushColour(background);
    BitmapCanvas->SetPenColour(foreground);
    Canvas = BitmapCanvas.get();
    FPixPerDegLat = PixelsPerDegLat;
    FPixPerDegLon = PixelsPerDegLon;
    Image1->SetPicture(&Bitmap);
}

void TMDIChild::SetClipMargin()
{
    ClipMargin = chartwin::ClipMarginForZoom(FZoom);
}

void TMDIChild::SetUpProjection()
{
    FCursorLat = ClampLatitude(FCursorLat);
    FCursorLon = WrapLongitude(FCursorLon);
    FCosCentreLat = std::cos(FCursorLat * 2 * M_PI / 360);
    // Stretched by 1 / cos(latitude) to keep the chart's shape.
    FPixPerDegLat = ChartPixelsPerDegreeLat(FCosCentreLat);
    FDegreesHigh = ViewImageHeight / static_cast<double>(AtLeastOne(FPixPerDegLat));
    FDegreesWide = ViewImageWidth / static_cast<double>(AtLeastOne(FPixPerDegLon));
    FScaleLat = AtLeastOne(rtl::Round(FPixPerDegLat * FZoom));
    FScaleLon = AtLeastOne(rtl::Round(FPixPerDegLon * FZoom));
    if (FollowsAisTarget()) {
        std::tie(FDrawCentreLat, FDrawCentreLon) = chartwin::AisChartPosition(AisTargets[SelectedAisTarget]);
    } else {
        FDrawCentreLat = FCursorLat;
        FDrawCentreLon = FCursorLon;
    }
}

void TMDIChild::InverseProject(int x, int y, double& lat, double& lon) const
{
    const double rowFromCentre = y - ViewImageHeight / 2;
    const double columnFromCentre = x - ViewImageWidth / 2;
    lat = FDrawCentreLat
        - (rowFromCentre * ViewRotationCos - columnFromCentre * ViewRotationSin) / AtLeastOne(FScaleLat);
    lon = FDrawCentreLon
        - (columnFromCentre * ViewRotationCos + rowFromCentre * ViewRotationSin) / AtLeastOne(FScaleLon);
    lat = ClampLatitude(lat);
    lon = WrapLongitude(lon);
}

bool TMDIChild::FollowsAisTarget() const
{
    return FIsAisView && AISFollowSelectedTarget1->isChecked() && ShowAIS->isChecked()
        && nav::AisSelectionHasPosition();
}

void TMDIChild::SetZoom(double zoom)
{
    if (!(zoom >= kMinZoom))
        zoom = kMinZoom;
    else if (zoom > kMaxZoom)
        zoom = kMaxZoom;
    FZoom = zoom;
    FIntZoom = static_cast<int32_t>(rtl::Round(zoom));
}

void TMDIChild::ZoomInClick()
{
    const double doubled = FZoom * 2;
    if (doubled > kButtonZoomLimit) {
        // At the button limit the zoom stops; a deeper zoom reached with the
        // wheel is kept rather than lowered.
        platform::Beep();
        SetZoom(std::max(FZoom, kButtonZoomLimit));
    } else {
        SetZoom(doubled);
    }
    RedrawAndStoreView();
}

void TMDIChild::ZoomOutClick()
{
    double halved = FZoom * 0.5;
    if (halved < kMinZoom) {
        halved = kMinZoom;
        platform::Beep();
    }
    SetZoom(halved);
    RedrawAndStoreView();
}

void TMDIChild::FormMouseWheel(int wheelDelta)
{
    double zoom = FZoom * (wheelDelta > 0 ? 1.1 : 0.9);
    if (zoom < kMinZoom) {
        zoom = kMinZoom;
        platform::Beep();
    } else if (zoom > kMaxZoom) {
        zoom = kMaxZoom;
        platform::Beep();
    }
    SetZoom(zoom);
    RedrawAndStoreView();
}

void TMDIChild::Zoom1_1Click()
{
    SetZoom(ChartHomeZoom);
    FCursorLat = ChartHomeLat;
    FCursorLon = ChartHomeLon;
    RedrawAndStoreView();
}

void TMDIChild::CentreButton1Click()
{
    if (FAutoZoom && RouteCount > 0 && ActiveWaypoint <= RouteCount)
        ZoomForRange();
    // Zooming on the nearest target needs one with a position.
    if (AISZoom->isChecked() && AisTargetCount > 0 && nav::AisSelectionHasPosition() && FIsAisView
        && HighlightNearest1->isChecked()) {
        const double waypointRange = WaypointRangeNm;
        WaypointRangeNm = NearestTargetRange;
        ZoomForRange();
        WaypointRangeNm = waypointRange;
    }
    RedrawAndStoreView();
    if (MarkMeasureOrigin) {
        DrawFixCross(FCursorX, FCursorY);
        MarkMeasureOrigin = false;
    }
}

void TMDIChild::ZoomForRange()
{
    double zoom = kBeyondTableZoom;
    for (auto entry = kZoomRangeTable.rbegin(); entry != kZoomRangeTable.rend(); ++entry)
        if (WaypointRangeNm < entry->range)
            zoom = entry->zoom;
    SetZoom(zoom);
}

void TMDIChild::RedrawAndStoreView()
{
    SetClipMargin();
    NewChartBitmap();
    RedrawView();
    CentreScrollBox();
    ViewCentreLat = FCursorLat;
    ViewCentreLon = FCursorLon;
    ViewZoom = FZoom;
}

void TMDIChild::CentreScrollBox()
{
    for (QScrollBar* bar : { ScrollBox1->horizontalScrollBar(), ScrollBox1->verticalScrollBar() })
        bar->setValue(bar->maximum() / 2 + 1);
}

void TMDIChild::RedrawView()
{
    if (FKeepOnTop)
        raise();
    chartwin::PrepareRedraw(*this, GlobalSettings, View_ZoomSettings);
    SelectedAisTarget = chartwin::ChooseAisTarget(*this);
    VesselDrawnAt.reset();
    DataTrend = FIsAisView && Host ? Host->DataTrendPlot() : nullptr;
    SurveyFault.reset();
    if (chartwin::RedrawPlotsSurveyLog(*this))
        SurveyTail.catchUp(TextLogPath(), View_ZoomSettings.Ubow ? '>' : 'P', FTrendField);
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct RestoreCursor {
            ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
        } restore;
        chartwin::RedrawView(*this, GlobalSettings, View_ZoomSettings);
    }
    if (DataTrend && Host)
        Host->DataTrendPlotted();
    DataTrend = nullptr;
    if (SurveyFault)
        chartwin::ReportSurveyLogFault(TextLogPath(), *SurveyFault);
    if (VesselDrawnAt)
        chartwin::LayOutTow(VesselDrawnAt->first, VesselDrawnAt->second);
    if (chartwin::RedrawShowsAis(*this))
        UpdateAisTargets();
    if (chartwin::RedrawSwitchesPortfolio() && Host)
        Host->ShowAvailableCharts();
    ShowCursorReadout();
    Image1->update();
}

void TMDIChild::DrawFixCross(int X, int Y)
{
    chartwin::DrawFixCross(*this, X, Y);
}

void TMDIChild::ViewBtnClick()
{
    // The switches no view keeps (EPE, fix crosses, tow, highlight) stay as
    // the dialog showed them last.
    TView_ZoomSettings s = View_ZoomSettings;
    s.OnTop = FKeepOnTop;
    s.xShape = FShapeThreshold;
    s.xText = FTextThreshold;
    s.xTidal = FTidalThreshold;
    s.xZoom = FIntZoom;
    s.ShowWPS = FShowWaypoints;
    s.ShowRT = FShowRoute;
    s.ShowTide = FShowTides;
    s.ShowTrack = FShowTrack;
    s.PlotTextLog = FPlotSurveyLog;
    s.PlotV = std::string(1, FTrendField);
    s.EVonly = FEventTextOnly;
    s.SVtrack = FShowSurveyTrack;
    s.ShowScale = FShowGraticule;
    s.ShowV = FShowVessel;
    s.BlobOn = FColourBlobs;
    s.PlotRange = static_cast<int>(rtl::Round(FPlotRange));
    s.Last200 = FShowLastN;
    s.Nshow = FShowCount;
    s.AutoZoom = FAutoZoom;
    for (int k = 0; k < 7; ++k)
        s.Lay[k] = FLineTypeShown[k];
    const int shownZoom = s.xZoom;

    std::unique_ptr<TView_ZoomDlg> own;
    TView_ZoomDlg* dialog = View_ZoomDlg;
    if (!dialog) {
        own = std::make_unique<TView_ZoomDlg>();
        dialog = own.get();
    }
    if (!dialog->Execute(s))
        return;
    View_ZoomSettings = s;

    // Only a zoom typed in changes the zoom: an OK for another option keeps
    // a fractional zoom as it is. 0 leaves it alone.
    if (s.xZoom > 0 && s.xZoom != shownZoom)
        SetZoom(s.xZoom);
    FIntZoom = static_cast<int32_t>(rtl::Round(FZoom));
    FKeepOnTop = s.OnTop;
    // Switching the track on shows the track as it stands; it is not emptied.
    FShowTrack = s.ShowTrack;
    SetAisRefresh();
    FShowRoute = s.ShowRT;
    FShowWaypoints = s.ShowWPS;
    FShowTides = s.ShowTide;
    FShapeThreshold = s.xShape;
    FTextThreshold = s.xText;
    FTidalThreshold = s.xTidal;
    FTrendField = s.PlotV.empty() ? '-' : s.PlotV[0];
    if (s.PlotV.size() > 1 && FIsAisView && Host)
        Host->SetDataTrendLabel(s.PlotV);
    FPlotSurveyLog = s.PlotTextLog;
    FEventTextOnly = s.EVonly;
    FShowSurveyTrack = s.SVtrack;
    FShowGraticule = s.ShowScale;
    FShowVessel = s.ShowV;
    FColourBlobs = s.BlobOn;
    FPlotRange = s.PlotRange;
    FShowLastN = s.Last200;
    FShowCount = s.Nshow;
    FAutoZoom = s.AutoZoom;
    for (int k = 0; k < 7; ++k)
        FLineTypeShown[k] = s.Lay[k];
    FHighlightLimit = HighlightLimit(s);

    CentreButton1Click();
    ViewZoom = FZoom;
}

void TMDIChild::ShowChtsClick()
{
    chartwin::ShowCharts(*this);
    ShowCursorReadout();
}
