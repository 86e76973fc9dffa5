#include "chartwin/SurveyPlot.h"

#include "chartwin/ChartPainters.h"
#include "chartwin/Childwin.h"
#include "nav/NavState.h"
#include "platform/Ui.h"

#include <cmath>
#include <map>

namespace chartwin
{

namespace
{

// The trend line's canvas over the main window's plot, cleared, with its pen
// at the left end of the zero line.
struct TrendCanvas {
    explicit TrendCanvas(TDataTrendPlot& plot)
        : plot(plot)
    {
        ClearTrendPlot(*plot.image, TColour(BackgroundColour) & 0xFFFFFF, ChartForeground());
        canvas.emplace(*plot.image);
        canvas->SetPenColour(ChartForeground());
        canvas->SetBrushStyle(TBrushStyle::Clear);
        canvas->SetFontColour(ChartForeground());
        canvas->MoveTo(kTrendPlotWidth, kTrendPlotHeight / 2);
        canvas->LineTo(0, kTrendPlotHeight / 2);
    }
    TDataTrendPlot& plot;
    std::optional<TRasterCanvas> canvas;
};

void Labels(TMDIChild& view, const TSurveyPlotInputs& in, const SurveyPoint& p, int x, int y)
{
    TRasterCanvas& c = *view.Canvas;
    if (p.eventText) {
        c.SetFontColour(in.textIsFg ? ChartForeground() : kLime);
        c.TextOut(x + 5, y - 10, *p.eventText);
        c.TextOut(x + 5, y + 4, p.trendText);
    } else if (!view.FEventTextOnly) {
        TColour colour = in.textIsFg ? ChartForeground() : kMagenta;
        if (std::fabs(p.trendValue) > view.FHighlightLimit)
            colour = kLime;
        c.SetFontColour(colour);
        c.TextOut(x + 5, y + 4, p.trendText);
    }
}

} // namespace

SurveyLogFault PlotTextLog(TMDIChild& view, const TSurveyPlotInputs& in)
{
    if (!in.trail)
        return SurveyLogFault::None;
    SurveyWalkOptions o;
    o.positionCode = in.trail->positionCode();
    o.trendField = in.trail->trendField();
    o.showLastN = view.FShowLastN;
    o.showCount = view.FShowCount;
    o.fixNumber = in.fixNumber;
    o.selectionStart = in.selectionStart;
    o.selectionEnd = in.selectionEnd;
    o.chartOffsetLat = in.chartOffsetLat;
    o.chartOffsetLon = in.chartOffsetLon;
    const SurveyWalk walk = in.trail->walk(o);
    if (walk.fault == SurveyLogFault::NotALog)
        return walk.fault;

    const bool graded = o.trendField != '-';
    std::optional<TrendCanvas> trend;
    if (in.trend && in.trend->image)
        trend.emplace(*in.trend);
    PenIsUp = true;
    for (const SurveyPoint& p : walk.points) {
        if (!view.FShowSurveyTrack || p.penUp)
            PenIsUp = true;
        view.Canvas->SetPenStyle(TPenStyle::Solid);
        view.Canvas->SetPenWidth(1);
        view.PlotTo(p.lat, p.lon, 910);
        view.Canvas->SetPenWidth(1);
        const bool visible = !PenIsUp;
        const int x = view.FCursorX, y = view.FCursorY;
        if (visible && SymbolsOn && view.FIntZoom >= view.FShapeThreshold) {
            if (in.fixCrosses)
                DrawFixCross(view, x, y);
            if (view.FColourBlobs && graded)
                DrawValueBlob(*view.Canvas, x, y, BlobColour(p.trendValue, view.FPlotRange));
        }
        if (trend && graded)
            trend->canvas->LineTo(
                p.trendColumn, TrendRow(p.trendValue, trend->plot.gain, trend->plot.reversed));
        if (visible && view.FIntZoom >= view.FTextThreshold && graded)
            Labels(view, in, p, x, y);
        view.Canvas->MoveTo(x, y);
    }
    if (trend && graded && !walk.points.empty() && walk.fault == SurveyLogFault::None) {
        const SurveyPoint& last = walk.points.back();
        const int y = trend->plot.reversed ? 1 : kTrendPlotHeight - 14;
        trend->canvas->TextOut(1, y, TrendValueText(last.trendValue, trend->plot.gain));
    }
    return walk.fault;
}

void DrawValueBlob(TRasterCanvas& canvas, int x, int y, TColour colour)
{
    auto set = [&](int px, int py) {
        if (px >= 0 && py >= 0)
            canvas.SetPixel(px, py, colour);
    };
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            set(x + dx, y + dy);
    for (int d = -1; d <= 1; ++d) {
        set(x - 4, y + d);
        set(x + 4, y + d);
        set(x + d, y - 4);
        set(x + d, y + 4);
    }
}

void ClearTrendPlot(QImage& image, TColour background, TColour foreground)
{
    image = QImage(kTrendPlotWidth, kTrendPlotHeight, QImage::Format_RGB32);
    image.fill(BgrToRgb(background));
    TRasterCanvas canvas(image);
    canvas.SetPenColour(foreground);
    canvas.MoveTo(0, kTrendPlotHeight / 2);
    canvas.LineTo(kTrendPlotWidth, kTrendPlotHeight / 2);
}

void ReportSurveyLogFault(const std::string& path, SurveyLogFault fault)
{
    static std::map<std::string, SurveyLogFault> shown;
    if (fault == SurveyLogFault::None) {
        shown.erase(path);
        return;
    }
    auto [entry, added] = shown.emplace(path, fault);
    if (!added && entry->second == fault)
        return;
    entry->second = fault;
    platform::MessageError(SurveyLogFaultText(fault));
}

} // namespace chartwin
