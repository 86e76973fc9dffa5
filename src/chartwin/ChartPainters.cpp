#include "chartwin/ChartPainters.h"

#include "chartwin/AisPainter.h"
#include "chartwin/Childwin.h"
#include "chartwin/CursorPainter.h"
#include "chartwin/SurveyPlot.h"
#include "chartwin/VesselLayout.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/View_ZoomDlg.h"
#include "draw/SymbolLibrary.h"
#include "nav/AisSelection.h"
#include "nav/ChartConfig.h"
#include "nav/ChartEdit.h"
#include "nav/NavState.h"
#include "nav/TextLog.h"
#include "platform/QtHint.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <QAction>
#include <QFrame>
#include <QToolButton>

#include <cmath>
#include <tuple>
#include <vector>

namespace chartwin
{

namespace
{

constexpr double kDegToRad = 0.01745329; // the tidal arrow's own factor

bool AisFollowChecked(const TMDIChild& view)
{
    return view.AISFollowSelectedTarget1->isChecked() && view.ShowAIS->isChecked();
}

// How the AIS view's popup has targets drawn.
TAisDrawOptions AisDrawOptionsOf(const TMDIChild& view)
{
    TAisDrawOptions options;
    options.labelsOnAll = view.OnAll1->isChecked();
    options.showMmsi = view.ShowMMSI1->isChecked();
    options.conventionalShape = view.AISShape->isChecked();
    return options;
}

// The view is centred on the selected AIS target (one with a position).
bool FollowsAisTarget(const TMDIChild& view)
{
    return view.FIsAisView && AisFollowChecked(view) && nav::AisSelectionHasPosition();
}

// Lifts the pen and moves it to a position; true when it is on the bitmap.
bool MoveTo(TMDIChild& view, double lat, double lon)
{
    PenIsUp = true;
    view.PlotTo(lat, lon, 500);
    return !PenIsUp;
}

// The marker `code` at the cursor position.
void MarkerAtCursor(TMDIChild& view, int code)
{
    MoveTo(view, view.FCursorLat, view.FCursorLon);
    DrawSymbol(view, view.FCursorX, view.FCursorY, view.FCursorLon, view.FCursorLat, 0, code);
}

// The text survey log with the view's trend field.
void PlotSurveyLog(TMDIChild& view, const TGlobalSettings& settings, const TView_ZoomSettings& options)
{
    TSurveyPlotInputs in;
    in.trail = view.SurveyTail.trail();
    in.fixCrosses = options.UseCrosses;
    in.textIsFg = settings.TextColourFG;
    in.fixNumber = FixNumber;
    if (DataTrendStart != -6) {
        in.selectionStart = DataTrendOffset;
        in.selectionEnd = DataTrendStart;
    }
    in.chartOffsetLat = ChartOffsetLat;
    in.chartOffsetLon = ChartOffsetLon;
    in.trend = view.FIsAisView ? view.DataTrend : nullptr;
    view.SurveyFault = PlotTextLog(view, in);
}

// ---- Tidal streams

TColour TideColour(const TGlobalSettings& settings)
{
    return settings.TideColourFG ? ChartForeground() : kAqua;
}

void DrawTideDiamond(TMDIChild& view, int Y, int X, int zoom, TColour colour)
{
    static const int big[][2] = { { -3, 0 }, { 3, 0 }, { -1, -2 }, { -1, 2 }, { 1, -2 }, { 1, 2 }, { 2, 1 },
        { 2, -1 }, { -2, -1 }, { -2, 1 }, { 0, -3 }, { 0, 3 } };
    static const int small[][2] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
    if (zoom >= 3) {
        for (auto& d : big)
            view.Canvas->SetPixel(X + d[0], Y + d[1], colour);
    } else {
        for (auto& d : small)
            view.Canvas->SetPixel(X + d[0], Y + d[1], colour);
    }
}

// `rate` in tenths of a knot, `direction` in degrees true.
void DrawTideArrow(TMDIChild& view, int Y, int X, int rate, int direction, TColour colour)
{
    TRasterCanvas& c = *view.Canvas;
    const double a = (direction - 90) * kDegToRad + ViewRotation;
    c.SetPenStyle(TPenStyle::Solid);
    c.SetPenColour(colour);
    c.MoveTo(X, Y);
    c.LineTo(X + int(rtl::Round(2 * rate * std::cos(a))), Y + int(rtl::Round(2 * rate * std::sin(a))));
    c.MoveTo(X, Y);
    InvalidatePenCache();
}

// ---- Waypoints

// Label, symbol code and parameter of a waypoint name: characters 1-24 with
// trailing blanks and '@' removed, the numbers in 25-26 and 27-28.
struct WaypointFields {
    std::string label;
    int code;
    int parameter;
    std::string parameterText;
};

WaypointFields SplitName(const WaypointNameField& name)
{
    const std::string& text = name.str();
    WaypointFields f;
    f.label = text.substr(0, 24);
    while (!f.label.empty() && (f.label.back() == ' ' || f.label.back() == '@'))
        f.label.pop_back();
    f.code = int(rtl::IntOr(text.size() > 24 ? text.substr(24, 2) : std::string(), 0));
    f.parameterText = text.size() > 26 ? text.substr(26, 2) : std::string();
    f.parameter = int(rtl::IntOr(f.parameterText, 0));
    return f;
}

void Label(TMDIChild& view, const std::string& text, TColour colour)
{
    view.Canvas->SetFontColour(colour);
    view.Canvas->TextOut(view.FCursorX + 5, view.FCursorY + 4, text);
}

// ---- Graticule

struct GraticuleStep {
    double limit; // largest bitmap height in display units for this step
    double step;
    const char* label;
};
constexpr GraticuleStep kGraticuleSteps[]
    = { { 0.1, 0.01, "Grat. 0.01" }, { 1, 0.1, "Grat. 0.1" }, { 10, 1, "Grat. 1.0" }, { 100, 10, "Grat. 10" },
          { 1000, 100, "Grat. 100" }, { 10000, 1000, "Grat. 1000" } };

const char* UnitText()
{
    const char* unit = "";
    if (DistanceFactor < 1.1)
        unit = "Nm ";
    if (DistanceFactor > 1.2)
        unit = "Km ";
    if (DistanceFactor > 1.0 && DistanceFactor < 1.8)
        unit = "Mls ";
    return unit;
}

void SetPanelHint(TMDIChild& view, const std::string& hint)
{
    SetHint(view.Panel1, QString::fromLatin1(hint.data(), qsizetype(hint.size())));
}

// ---- Chart outlines

std::vector<std::string> ChartConfigNames(const std::string& name)
{
    if (!name.empty())
        return { name + ".cfg" };
    std::vector<std::string> names;
    for (const std::string& file : rtl::ListFolder(ChartsFolder, ".cfg")) {
        if (names.size() == kMaxChartList)
            break;
        if (file == "zudeve.cfg" || rtl::UpperCase(file) == "PORTFOLIO.CFG")
            continue;
        names.push_back(file.substr(0, 40));
        ChartList[names.size()] = names.back();
    }
    return names;
}

} // namespace

void PrepareRedraw(TMDIChild& view, const TGlobalSettings& settings, const TView_ZoomSettings& options)
{
    view.FShowGraticule = view.FZoom < 0.5 ? true : options.ShowScale;
    view.SetUpProjection();
    view.TrackColourFG = settings.TrackColourFG;
}

uint16_t ChooseAisTarget(TMDIChild& view)
{
    if (AisTargetCount == 1)
        return 1;
    if (AisTargetCount > 1 && view.HighlightNearest1->isChecked())
        return uint16_t(nav::FindNearestAisTarget().index);
    return SelectedAisTarget;
}

bool RedrawShowsAis(const TMDIChild& view)
{
    return view.FIsAisView && view.ShowAIS->isChecked();
}

bool RedrawPlotsSurveyLog(const TMDIChild& view)
{
    return TextLogName.str() != "NoFile" && view.FPlotSurveyLog;
}

bool RedrawSwitchesPortfolio()
{
    return rtl::UpperCase(CurrentChartName).find("PORTFOLIO") != std::string::npos;
}

void RedrawView(TMDIChild& view, const TGlobalSettings& settings, const TView_ZoomSettings& options)
{
    DrawChartPoints(view);
    DrawTidalStreams(view, settings);
    if (view.FShowTrack)
        DrawTrack(view);
    DrawGraticule(view);
    DrawWaypointsAndRoute(view, settings);

    // AIS targets, in the AIS view only.
    if (RedrawShowsAis(view))
        DrawAisTargets(view, AisDrawOptionsOf(view));

    if (RedrawPlotsSurveyLog(view))
        PlotSurveyLog(view, settings, options);

    // Cursor and markers.
    const bool following = FollowsAisTarget(view);
    if (LogCount == 0 && AisTargetCount == 0 && !view.ShowAIS->isChecked() && view.FIsAisView) {
        view.FCursorX = ViewImageWidth / 2;
        view.FCursorY = ViewImageHeight / 2;
        view.InverseProject(view.FCursorX, view.FCursorY, view.FCursorLat, view.FCursorLon);
        DrawCursorAndMeasure(view);
    } else {
        if (view.FShowTrack && LogCount > 0 && !following) {
            const LogRecord& newest = LogRecords[std::min<int>(LogCount, kMaxLogRecords)];
            view.FCursorLat = newest.lat + ChartOffsetLat;
            view.FCursorLon = newest.lon - ChartOffsetLon;
            if (options.ShowEPE)
                MarkerAtCursor(view, 101);
            if (ViewRotation != 0)
                MarkerAtCursor(view, 102);
        }
        if (AisFollowChecked(view)) {
            if (nav::AisSelectionHasPosition()) {
                std::tie(view.FCursorLat, view.FCursorLon) = AisChartPosition(AisTargets[SelectedAisTarget]);
            } else {
                view.FCursorX = ViewImageWidth / 2;
                view.FCursorY = ViewImageHeight / 2;
                view.InverseProject(view.FCursorX, view.FCursorY, view.FCursorLat, view.FCursorLon);
            }
        }
        DrawCursorAndMeasure(view);
        if (AisFollowChecked(view) && view.FIsAisView)
            MarkerAtCursor(view, 104);
    }

    if (view.FShowTrack && view.FShowVessel && !following) {
        // The vessel to scale at the newest fix, which also lays out the tow
        // positions the output templates read.
        if (ShowVesselOutline && LogCount > 0)
            MarkerAtCursor(view, 100);
        if (view.FRingCount > 0) {
            MarkerAtCursor(view, 106);
            DrawRangeRings(view, view.FCursorLat, view.FCursorLon, view.FRingCount);
        }
    }
}

void DrawChartPoints(TMDIChild& view)
{
    PenIsUp = true;
    const int count = std::min<int>(ChartPointCount, kMaxChartPoints);
    for (int i = 1; i <= count; ++i) {
        const double stored = ChartPoints[i].lat;
        const double lon = ChartPoints[i].lon;
        if (stored == -1.0 && lon == -1.0) {
            // Pen-up pairs end a polyline even when line type 0, whose
            // threshold they fall under, is hidden.
            PenIsUp = true;
            continue;
        }
        const int k = ChartLineType(stored);
        if (view.FLineTypeShown[k])
            view.PlotTo(stored - ChartLineOffset(k), lon, k == 0 ? 500 : 2 * k);
    }
}

void DrawTidalStreams(TMDIChild& view, const TGlobalSettings& settings)
{
    if (!view.FShowTides || TideStationCount <= 0 || TideHour < -6 || TideHour > 6)
        return;
    const TColour colour = TideColour(settings);
    const int count = std::min<int>(TideStationCount, kMaxTideStations);
    for (int i = 1; i <= count; ++i) {
        if (!MoveTo(view, TideStations[i].lat, TideStations[i].lon))
            continue;
        const int X = view.FCursorX, Y = view.FCursorY;
        DrawTideDiamond(view, Y, X, view.FIntZoom, colour);
        const TideFlow& flow = TideStreams[i][TideHour + 7];
        DrawTideArrow(view, Y, X, flow.rate, flow.set, colour);
        if (view.FIntZoom >= view.FTidalThreshold && LabelsOn) {
            std::string label = rtl::StrReal(flow.rate / 10.0, 3, 1);
            if (view.FIntZoom >= 2 * view.FTidalThreshold)
                label += "k" + std::to_string(flow.set) + "\xB0T";
            view.Canvas->SetFontColour(colour);
            view.Canvas->TextOut(X + 2, Y + 2, label);
        }
    }
}

void DrawTrack(TMDIChild& view)
{
    view.PlotTo(-1, -1, 3);
    view.Canvas->SetPenMode(TPenMode::Copy);
    const int count = std::min<int>(LogCount, kMaxLogRecords);
    for (int i = 1; i <= count; ++i) {
        const double lat = LogRecords[i].lat + ChartOffsetLat;
        const double lon = LogRecords[i].lon - ChartOffsetLon;
        PlotTrackPoint(view, lat, lon);
        if (i == count && !PenIsUp && AisFollowChecked(view) && view.FIsAisView) {
            const int X = view.FCursorX, Y = view.FCursorY;
            DrawCursorCross(view, X, Y, 5);
            if (view.FRingCount > 0) {
                DrawSymbol(view, X, Y, lon, lat, 0, 106);
                DrawRangeRings(view, lat, lon, view.FRingCount);
            }
        }
    }
}

void PlotTrackPoint(TMDIChild& view, double lat, double lon)
{
    view.PlotTo(lat, lon, 3);
    if (!PenIsUp && view.FZoom > 50)
        DrawFixCross(view, view.FCursorX, view.FCursorY);
}

void DrawFixCross(TChartPlotter& view, int X, int Y)
{
    TRasterCanvas& c = *view.Canvas;
    c.SetPenStyle(TPenStyle::Solid);
    c.MoveTo(X - 2, Y - 2);
    c.LineTo(X + 3, Y + 3);
    c.MoveTo(X - 2, Y + 2);
    c.LineTo(X + 3, Y - 3);
    c.MoveTo(X, Y);
    c.SetPenStyle(TPenStyle::Dot);
    c.SetPenMode(TPenMode::Copy);
    InvalidatePenCache();
}

void DrawGraticule(TMDIChild& view)
{
    if (view.FShowGraticule && view.FZoom >= 0.2) {
        ClipMargin = 30000;
        const double top = view.FDegreesHigh / (2 * view.FZoom) + view.FDrawCentreLat;
        const double left = view.FDegreesWide / (2 * view.FZoom) + view.FDrawCentreLon; // the west edge
        const double h = view.FDegreesHigh / view.FZoom;
        const double w = view.FDegreesWide / view.FZoom;
        const double q = DistanceFactor * view.FDegreesHigh * 60 / view.FZoom; // bitmap height, display units
        const double qw = DistanceFactor * view.FDegreesWide * 60 / view.FZoom / view.FCosCentreLat;
        const GraticuleStep* step = nullptr;
        if (q > 0)
            for (const GraticuleStep& candidate : kGraticuleSteps)
                if (q <= candidate.limit) {
                    step = &candidate;
                    break;
                }
        // A bitmap taller than 10000 units has no step; it cannot happen at
        // zoom 0.2 or more, and an endless loop must not either.
        if (step) {
            const double s = step->step / 60 / DistanceFactor; // degrees of latitude
            for (int n = 0;; ++n) {
                const double lat = top + s - n * s;
                if (!(lat > top - q / 60))
                    break;
                view.PlotTo(-1, -1, 800);
                view.PlotTo(lat, left - w, 800);
                view.PlotTo(lat, left, 800);
            }
            const double sw = s / view.FCosCentreLat;
            for (int n = 0;; ++n) {
                const double lon = left + sw - n * sw;
                if (!(lon > left - qw / 60))
                    break;
                view.PlotTo(-1, -1, 800);
                view.PlotTo(top - h, lon, 800);
                view.PlotTo(top, lon, 800);
            }
            SetPanelHint(view, std::string(step->label) + UnitText() + "|");
        }
    }
    view.SetClipMargin();
    DrawWorldGrid(view);
}

void DrawWorldGrid(TMDIChild& view)
{
    if (!(view.FZoom <= 0.5 && view.FShowGraticule))
        return;
    if (view.FZoom < 0.2)
        SetPanelHint(view, "");
    auto latitude = [](int j) { return j == 20 ? 84.0 : -80.0 + 8 * j; };
    for (int j = 0; j <= 20; ++j) {
        view.PlotTo(-1, -1, 700);
        for (int m = 0; m <= 60; ++m)
            view.PlotTo(latitude(j), -180.0 + 6 * m, j == 10 ? 7 : 700);
    }
    for (int m = 0; m <= 60; ++m) {
        view.PlotTo(-1, -1, 700);
        for (int j = 0; j <= 20; ++j)
            view.PlotTo(latitude(j), -180.0 + 6 * m, m == 30 ? 7 : 700);
    }
}

void DrawWaypointsAndRoute(TMDIChild& view, const TGlobalSettings& settings)
{
    const bool textIsFg = settings.TextColourFG;
    if (view.FShowWaypoints) {
        const int count = std::min<int>(WaypointDbCount, kMaxWaypoints);
        for (int i = 1; i <= count; ++i) {
            const TPosition& p = WaypointDbPoints[i];
            if (!MoveTo(view, p.lat, p.lon))
                continue;
            const WaypointFields f = SplitName(WaypointDbNames[i]);
            const bool labelZoom = view.FIntZoom >= view.FTextThreshold
                || (f.code == 23 && view.FIntZoom >= f.parameter && f.parameterText != "  "
                    && f.parameterText.size() == 2);
            if (LabelsOn && labelZoom)
                Label(view, f.label, textIsFg ? ChartForeground() : kSilver);
            DrawSymbol(
                view, view.FCursorX, view.FCursorY, p.lon, p.lat, f.parameter, f.code, f.parameterText);
        }
        MoveTo(view, view.FCursorLat, view.FCursorLon);
    }

    const int count = std::min<int>(RouteCount, kMaxRoutePoints);
    PenIsUp = true;
    if (count > 0)
        view.PlotTo(RoutePoints[1].lat, RoutePoints[1].lon, 500);
    for (int i = 1; i <= count; ++i) {
        const TPosition& p = RoutePoints[i];
        if (!view.FShowRoute)
            PenIsUp = true;
        view.PlotTo(p.lat, p.lon, 600);
        if (PenIsUp)
            continue;
        WaypointFields f = SplitName(RouteNames[i]);
        if (i == ActiveWaypoint && f.code == 19)
            f.code = 34;
        if (LabelsOn && view.FIntZoom >= view.FTextThreshold)
            Label(view, f.label, textIsFg ? ChartForeground() : kWhite);
        DrawSymbol(view, view.FCursorX, view.FCursorY, p.lon, p.lat, f.parameter, f.code, f.parameterText);
    }
    MoveTo(view, view.FCursorLat, view.FCursorLon);
}

void DrawChartOutlines(TMDIChild& view, const std::string& name)
{
    const std::vector<std::string> names = ChartConfigNames(name);
    for (const std::string& entry : names) {
        const auto home = ReadChartHomeView(rtl::JoinPath(ChartsFolder, entry));
        if (!home)
            continue;
        const double lat = home->lat, lon = home->lon, zoom = home->zoom;
        if (names.size() == 1) {
            ChartHomeLat = lat;
            ChartHomeLon = lon;
            ChartHomeZoom = zoom;
        }
        // A zoom of 0 (or a value that did not parse) has no rectangle.
        if (!(zoom > 0) || view.FPixPerDegLat == 0 || view.FPixPerDegLon == 0)
            continue;
        const double halfHeight = (double(ViewImageHeight) / view.FPixPerDegLat) / (2 * zoom);
        const double halfWidth = (double(ViewImageWidth) / view.FPixPerDegLon) / (2 * zoom);
        const double north = lat + halfHeight, south = lat - halfHeight;
        const double east = lon - halfWidth, west = lon + halfWidth; // west positive
        const int32_t margin = ClipMargin;
        ClipMargin = margin * 5;
        PenIsUp = true;
        view.PlotTo(north, east, 500);
        view.PlotTo(south, east, 500);
        view.PlotTo(south, west, 500);
        view.PlotTo(north, west, 500);
        view.PlotTo(north, east, 500);
        ClipMargin = margin;
        if (MoveTo(view, north, west))
            Label(view, entry.substr(0, entry.size() >= 4 ? entry.size() - 4 : 0), kSilver);
        view.PlotTo(-1, -1, 500);
    }
}

void ShowCharts(TMDIChild& view)
{
    DrawCursorCross(view, view.FCursorX, view.FCursorY, 10);
    DrawChartOutlines(view, "");
    DrawCursorAndMeasure(view);
    view.Image1->update();
}

} // namespace chartwin
