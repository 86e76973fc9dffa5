#include "draw/ChartPlotter.h"

#include "nav/NavState.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cmath>

bool PenIsUp = false;
int16_t LastPenType = chartwin::kNoPenType;
int32_t ClipMargin = 600;

namespace chartwin
{

namespace
{

// The canvas the cached pen was set on (its serial), with LastPenType.
uint64_t lastPenCanvas = 0;

} // namespace

void InvalidatePenCache()
{
    LastPenType = kNoPenType;
    lastPenCanvas = 0;
}

int32_t ClipMarginForZoom(double zoom)
{
    if (zoom <= 10)
        return 600;
    return int32_t(std::min<int64_t>(rtl::Round(zoom * 60), 30000));
}

bool TChartPlotter::Project(double lat, double lon, int32_t& x, int32_t& y) const
{
    const double dy = (FDrawCentreLat - lat) * FScaleLat;
    const double dx = (FDrawCentreLon - lon) * FScaleLon;
    const int halfHeight = ViewImageHeight / 2;
    const int halfWidth = ViewImageWidth / 2;
    // Offsets from the bitmap's top left corner before rotation.
    const double top = dy + halfHeight;
    const double left = dx + halfWidth;
    if (!(top > -ClipMargin && top < ViewImageHeight + ClipMargin && left > -ClipMargin
            && left < ViewImageWidth + ClipMargin))
        return false;
    y = int32_t(rtl::Round(dy * ViewRotationCos + halfHeight + dx * ViewRotationSin));
    x = int32_t(rtl::Round(dx * ViewRotationCos + halfWidth - dy * ViewRotationSin));
    return true;
}

TColour ChartForeground()
{
    return TColour(ForegroundColour) & 0xFFFFFF;
}

void TChartPlotter::SetPen(int penType)
{
    TRasterCanvas& c = *Canvas;
    const TColour foreground = ChartForeground();
    auto pen = [&](TPenStyle style, TColour colour) {
        c.SetPenStyle(style);
        c.SetPenColour(colour);
    };
    switch (penType) {
    case 0:
        pen(TPenStyle::Solid, kBlack);
        break;
    case 1:
        c.SetPenStyle(TPenStyle::Dot);
        break;
    case 2:
        pen(TPenStyle::Dot, kLime);
        break;
    case 3:
        pen(TPenStyle::Dot, TrackColourFG ? foreground : kYellow);
        break;
    case 4:
        pen(TPenStyle::Dot, kBlue);
        break;
    case 5:
        c.SetPenStyle(TPenStyle::Dash);
        break;
    case 6:
        pen(TPenStyle::Dot, kAqua);
        break;
    case 7: // equator and prime meridian of the world grid, in the grid's grey
        pen(TPenStyle::DashDot, kGrey);
        break;
    case 8:
        pen(TPenStyle::Solid, kLime);
        break;
    case 10:
        pen(TPenStyle::Solid, kBlue);
        break;
    case 12:
        pen(TPenStyle::Solid, kAqua);
        break;
    case 500:
        pen(TPenStyle::Solid, foreground);
        break;
    case 600:
        pen(TPenStyle::Solid, kRed);
        break;
    case 700:
        pen(TPenStyle::Solid, kGrey);
        break;
    case 800:
        pen(TPenStyle::Solid, kSilver);
        break;
    case 900:
        pen(TPenStyle::Solid, kLime);
        break;
    case 910:
        pen(TPenStyle::Solid, kMagenta);
        break;
    default: // 9, 11 and unknown types: solid in the colour the pen has
        c.SetPenStyle(TPenStyle::Solid);
        break;
    }
}

void TChartPlotter::PlotTo(double lat, double lon, int penType)
{
    if (lat == -1.0 && lon == -1.0) {
        PenIsUp = true;
        return;
    }
    if (penType != LastPenType || penType == 3 || Canvas->Serial() != lastPenCanvas) {
        SetPen(penType);
        LastPenType = int16_t(penType);
        lastPenCanvas = Canvas->Serial();
    }
    int32_t x, y;
    if (!Project(lat, lon, x, y)) {
        PenIsUp = true;
        return;
    }
    if (PenIsUp) {
        Canvas->MoveTo(x, y);
        PenIsUp = false;
    } else {
        Canvas->LineTo(x, y);
    }
    FCursorX = x;
    FCursorY = y;
}

void TChartPlotter::DrawGeoCircle(double lat, double lon, double radius, int penType)
{
    const double lonScale = std::cos(FCursorLat * M_PI / 180.0);
    auto point = [&](double t, int type) {
        PlotTo(lat + std::sin(t) * radius, lon + std::cos(t) * radius / lonScale, type);
    };
    PenIsUp = true;
    point(2.0 * M_PI / 60.0, 500);
    for (int k = 1; k <= 61; ++k)
        point(2.0 * k * M_PI / 60.0, penType);
}

} // namespace chartwin
