#include "chartwin/CursorPainter.h"

#include "chartwin/Childwin.h"
#include "nav/NavState.h"

namespace chartwin
{

void DrawCursorCross(TChartPlotter& view, int X, int Y, int size)
{
    TRasterCanvas& canvas = *view.Canvas;
    // A solid one-pixel pen, so that both calls invert the same pixels.
    canvas.SetPenStyle(TPenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.SetPenMode(TPenMode::Not);
    const int reach = 3 * size;
    canvas.MoveTo(X - reach, Y);
    canvas.LineTo(X - 3, Y);
    canvas.MoveTo(X + 3, Y);
    canvas.LineTo(X + reach, Y);
    canvas.MoveTo(X, Y - reach);
    canvas.LineTo(X, Y - 3);
    canvas.MoveTo(X, Y + 3);
    canvas.LineTo(X, Y + reach);
    canvas.SetPenMode(TPenMode::Copy);
    InvalidatePenCache();
}

void DrawMeasureLine(TChartPlotter& view)
{
    PenIsUp = true;
    view.PlotTo(MeasureStartLat, MeasureStartLon, 500);
    // The move set the foreground pen; the line is drawn dotted with it.
    view.Canvas->SetPenStyle(TPenStyle::Dot);
    view.PlotTo(view.FCursorLat, view.FCursorLon, 500);
    view.Canvas->SetPenStyle(TPenStyle::Solid);
    InvalidatePenCache();
}

void DrawCursorAndMeasure(TMDIChild& view)
{
    const int32_t lastX = view.FCursorX, lastY = view.FCursorY;
    PenIsUp = true;
    view.PlotTo(view.FCursorLat, view.FCursorLon, 500);
    const bool visible = !PenIsUp;
    if (!visible) {
        view.FCursorX = lastX;
        view.FCursorY = lastY;
    }
    DrawCursorCross(view, view.FCursorX, view.FCursorY, 10);
    if (visible)
        view.InverseProject(view.FCursorX, view.FCursorY, view.FCursorLat, view.FCursorLon);
    if (MeasureMode)
        DrawMeasureLine(view);
}

} // namespace chartwin
