#pragma once
// The one plotting routine of the chart views. Every painter draws through
// PlotTo: it projects a position onto the view's bitmap, picks the pen of a
// pen type and moves or draws there.
//
// Pen types and their pens (colours Windows BGR):
//   0 solid black             1 dotted, colour kept       2 dotted lime
//   3 dotted, the foreground colour with "Track=FG", else yellow
//   4 dotted blue             5 dashed, colour kept       6 dotted aqua
//   7 dash-dot grey           8 solid lime                9, 11 solid, colour kept
//   10 solid blue             12 solid aqua               500 solid foreground colour
//   600 solid red             700 solid grey              800 solid silver
//   900 solid lime            910 solid magenta           any other: solid, colour kept
// Chart line type k is drawn with pen type 2k, line type 0 with 500.
//
// The pen is set only when the pen type differs from LastPenType, and always
// for type 3 (the own track), whose pen the fix crosses change between
// points. The cache is also bound to the canvas it was set on, so a fresh
// bitmap or another view never inherits a pen it did not set; drawing code
// that changes the canvas pen directly calls InvalidatePenCache.

#include "draw/RasterCanvas.h"

#include <cstdint>
#include <functional>

namespace chartwin
{
// The chart's foreground colour (ForegroundColour) as a pen or font colour.
TColour ChartForeground();
} // namespace chartwin

// Program-wide pen state, shared by all chart views.
extern bool PenIsUp; // the next visible point is moved to, not drawn to
extern int16_t LastPenType; // pen type the canvas pen was last set for
extern int32_t ClipMargin; // pixels beyond the bitmap that still count as visible

namespace chartwin
{

constexpr int16_t kNoPenType = -1; // LastPenType after an invalidation

// Forgets the cached pen, so the next PlotTo sets its pen whatever its type.
void InvalidatePenCache();

// ClipMargin for a zoom: 600 pixels up to zoom 10, then 60 per unit of zoom,
// at most 30000, so long segments whose ends lie off the bitmap still draw.
int32_t ClipMarginForZoom(double zoom);

// The part of a chart view that its painters share: the projection of the
// current redraw, the cursor pixel that PlotTo writes, and the settings the
// symbols read. The chart view fills these fields before it paints; field
// names are the view's own.
class TChartPlotter
{
public:
    TRasterCanvas* Canvas = nullptr;

    double FZoom = 1.0; // zoom factor
    int32_t FIntZoom = 1; // Round(FZoom), compared against the thresholds
    double FCursorLat = 0.0, FCursorLon = 0.0; // degrees, longitude west positive
    int32_t FCursorX = 0, FCursorY = 0; // cursor pixel; also the last pixel PlotTo reached
    double FDrawCentreLat = 0.0, FDrawCentreLon = 0.0; // position at the bitmap centre
    int32_t FScaleLat = 1, FScaleLon = 1; // pixels per degree at the current zoom
    int32_t FShapeThreshold = 15; // least FIntZoom at which symbols are drawn whole
    // The preferences' "Track=FG" check box, read when a redraw starts.
    bool TrackColourFG = false;

    // Symbol markers that belong to other painters of the view. Unset, they
    // draw nothing.
    std::function<void()> DrawOwnVessel; // marker 100
    std::function<void()> DrawAisTargetOutline; // marker 104
    // The main window's "AIS Monitor Mode" check item; unset reads as off.
    std::function<bool()> AisMonitorMode;

    // Projects a position (degrees, longitude west positive) to a pixel.
    // Returns false, leaving x and y alone, when the point lies outside the
    // bitmap and its ClipMargin. The margin is measured from the bitmap's
    // edges: a point on the bitmap is never culled, whatever the bitmap size.
    bool Project(double lat, double lon, int32_t& x, int32_t& y) const;

    // Moves or draws to a position with the pen of `penType`. The pair
    // (-1, -1) only lifts the pen. A culled point lifts the pen; a visible
    // one is moved to when the pen is up (and puts it down) or drawn to
    // otherwise; either way its pixel goes to FCursorX/FCursorY.
    void PlotTo(double lat, double lon, int penType);

    // Sets the canvas pen for a pen type (the table above).
    void SetPen(int penType);

    // A circle of `radius` degrees around (lat, lon) through 60 plotted
    // points, the longitude scaled by the cursor latitude. Starts with the
    // pen up and a move (pen type 500) to the point at 6 degrees.
    void DrawGeoCircle(double lat, double lon, double radius, int penType);
};

} // namespace chartwin
