#include "draw/SymbolLibrary.h"

#include "draw/SymbolShapes.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "rtl/Numbers.h"

#include <cmath>

int16_t AisLollipopRadius = 2;
int16_t AisLollipopPenWidth = 1;

namespace chartwin
{

namespace
{

constexpr double kDegToRad = M_PI / 180.0;
constexpr double kMetresToDegrees = 8.999e-6;

TColour Background()
{
    return TColour(BackgroundColour) & 0xFFFFFF;
}

// A solid line from (x, y), `length` pixels long, towards the screen angle
// `angle` (radians clockwise from up), drawn with the canvas pen directly.
void ScreenLine(TRasterCanvas& canvas, int x, int y, double length, double angle, TColour colour, int width)
{
    canvas.SetPenStyle(TPenStyle::Solid);
    canvas.SetPenMode(TPenMode::Copy);
    canvas.SetPenColour(colour);
    canvas.SetPenWidth(width);
    canvas.MoveTo(x, y);
    canvas.LineTo(
        x + int(rtl::Round(length * std::sin(angle))), y - int(rtl::Round(length * std::cos(angle))));
    canvas.SetPenWidth(1);
    InvalidatePenCache();
}

// Radius in degrees of the geographic circle of codes 20, 21, 30 and 31.
double CircleRadius(int code, int parameter, std::string_view parameterText)
{
    switch (code) {
    case 20: // hundredths of a nautical mile
        return (parameter == 0 ? 100 : parameter) / 6000.0;
    case 21: // nautical miles
        return (parameter == 0 ? 10 : parameter) / 60.0;
    case 30: // metres
        return (parameter == 0 ? 100 : parameter) / 111112.0;
    default: { // 31: hundreds of metres, the characters read as a real
        double v = parameterText.empty() ? parameter : rtl::RealOr(parameterText, 0.0);
        if (v == 0)
            v = 10;
        return v / 1111.12;
    }
    }
}

// The chartlet pointer of codes 32 and 33: half a degree at zoom 1 towards
// 10 x parameter degrees true, solid aqua (pen type 12).
void DrawPointer(TChartPlotter& view, double lat, double lon, int parameter)
{
    if (parameter < 1 || parameter > 36)
        return;
    const double d = 0.5 / view.FZoom;
    const double a = (10.0 * parameter + 90.0) * kDegToRad;
    PenIsUp = true;
    view.PlotTo(lat, lon, 12);
    view.PlotTo(lat + std::sin(a) * d, lon + std::cos(a) * d / std::cos(view.FCursorLat * kDegToRad), 12);
}

// North marker: "N" above a circle of half a degree at zoom 1.
void DrawNorthMarker(TChartPlotter& view, double lat, double lon)
{
    const double r = 0.5 / view.FZoom;
    PenIsUp = true;
    view.PlotTo(lat + r, lon, 800);
    if (!PenIsUp) {
        TRasterCanvas& canvas = *view.Canvas;
        const int topX = view.FCursorX, topY = view.FCursorY;
        canvas.SetFontColour(kSilver);
        canvas.TextOut(topX + 1, topY + 1, "N");
        canvas.MoveTo(topX, topY); // the circle starts at the top point, not after the text
    }
    const double lonScale = std::cos(view.FCursorLat * kDegToRad);
    for (int k = 1; k <= 61; ++k) {
        const double t = 2.0 * k * M_PI / 60.0 + M_PI / 2.0;
        view.PlotTo(lat + std::sin(t) * r, lon + std::cos(t) * r / lonScale, 800);
    }
}

// AIS lollipops 103, 105 and 107 for target slot `slot`.
void DrawLollipop(TChartPlotter& view, int x, int y, int slot, int code)
{
    TRasterCanvas& canvas = *view.Canvas;
    const bool selected = slot == SelectedAisTarget;
    const TColour other = code == 107 ? kMagenta : kRed;
    const TColour colour = selected ? kYellow : other;
    const int radius = code == 105 ? 3 : AisLollipopRadius;
    DrawFilledDisc(canvas, x, y, radius, 40, colour, ShapeScale, Background());
    if (code == 107 || slot < 1 || slot > kMaxAisTargets)
        return;
    const AisTargetRecord& target = AisTargets[slot];
    // "Not available" speed or course gives no course line rather than a
    // 102-knot vector pointing north.
    if (!nav::AisSpeedAvailable(target) || !nav::AisCourseAvailable(target))
        return;
    const double sog = target.speedOverGround / 10.0;
    const double angle = target.courseOverGround / 10.0 * kDegToRad + ViewRotation;
    if (code == 103) {
        ScreenLine(canvas, x, y, 2 * sog, angle, colour, AisLollipopPenWidth);
    } else if (sog >= 0.6) {
        ScreenLine(canvas, x, y, 5, angle, colour, 5);
        ScreenLine(canvas, x, y, 10, angle, colour, 2);
    }
}

void DrawWholeSymbol(TChartPlotter& view, int x, int y, double lon, double lat, int parameter, int code,
    std::string_view parameterText)
{
    TRasterCanvas& canvas = *view.Canvas;
    if (code >= 0 && code <= 36) {
        DrawShapePixels(canvas, x, y, code, ShapeScale, Background());
        if (code == 20 || code == 21 || code == 30 || code == 31)
            view.DrawGeoCircle(lat, lon, CircleRadius(code, parameter, parameterText), 2);
        else if (code == 32 || code == 33)
            DrawPointer(view, lat, lon, parameter);
        return;
    }
    switch (code) {
    case 100:
        if (!PenIsUp && view.DrawOwnVessel)
            view.DrawOwnVessel();
        break;
    case 101:
        view.DrawGeoCircle(lat, lon, EpeMetres * kMetresToDegrees, 3);
        break;
    case 102:
        DrawNorthMarker(view, lat, lon);
        break;
    case 103:
    case 105:
    case 107:
        DrawLollipop(view, x, y, parameter, code);
        break;
    case 104:
        if (!PenIsUp && view.DrawAisTargetOutline)
            view.DrawAisTargetOutline();
        break;
    case 106: {
        if (view.AisMonitorMode && view.AisMonitorMode())
            break;
        // The course made good, turned with the view like every other
        // bearing on the bitmap, so it reads right in any heading-up angle.
        const double angle = ComputeLogCourse() * kDegToRad + ViewRotation;
        ScreenLine(canvas, x, y, 600, angle, kLime, 1);
        break;
    }
    default:
        break;
    }
}

} // namespace

void DrawSymbol(TChartPlotter& view, int x, int y, double lon, double lat, int parameter, int code,
    std::string_view parameterText)
{
    if (SymbolsOn && view.FIntZoom >= view.FShapeThreshold)
        DrawWholeSymbol(view, x, y, lon, lat, parameter, code, parameterText);
    else if (code != 23)
        DrawSmallPlus(*view.Canvas, x, y, Background());
    PenIsUp = true;
    view.PlotTo(lat, lon, 500);
}

} // namespace chartwin
