#pragma once
// Pixel patterns of the waypoint symbols (codes 0 to 36 of characters 25-26
// of a waypoint name), pixel rings and filled discs. They need no projection,
// so the waypoint editor's preview draws them as well as the chart views.
//
// Offsets (dx, dy) are pixels from the symbol's pixel, dx to the right and dy
// downwards. `shapeScale` stretches the vertical extent of the rings and of
// the long plus (code 0) and the anchor's shank (code 22); it is 1.0 in use.

#include "draw/RasterCanvas.h"

namespace chartwin
{

// Black on a white background, white on any other: the colour of the shapes
// drawn "in contrast".
TColour ContrastColour(TColour background);

// The pixels (x + Round(sin t * r), y + Round(cos t * r * shapeScale)) for
// t = 2k * pi / divisions, k = 1 .. divisions + 1.
void DrawPixelRing(
    TRasterCanvas& canvas, int x, int y, int radius, int divisions, TColour colour, double shapeScale);

// A pixel ring, then a fill from the centre up to the ring's colour; the
// brush colour is set back to `background` afterwards.
void DrawFilledDisc(TRasterCanvas& canvas, int x, int y, int radius, int divisions, TColour colour,
    double shapeScale, TColour background);

// The three by three plus in the contrast colour that stands for any symbol
// while symbols are off or the view is zoomed out.
void DrawSmallPlus(TRasterCanvas& canvas, int x, int y, TColour background);

// The pixel part of waypoint symbol `code` at (x, y). The geographic parts
// (the circles of 20, 21, 30 and 31, the pointer of 32 and 33) need the
// view's projection and are drawn by the chart view's DrawSymbol. Code 23
// and codes outside 0..36 draw nothing.
void DrawShapePixels(TRasterCanvas& canvas, int x, int y, int code, double shapeScale, TColour background);

} // namespace chartwin
