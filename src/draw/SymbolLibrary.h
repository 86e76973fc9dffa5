#pragma once
// DrawSymbol: one waypoint symbol or program marker at a pixel of a chart
// view.
//
// Codes 0 to 36 are the waypoint symbols of characters 25-26 of a waypoint
// name, with the two-digit number of characters 27-28 as `parameter`:
//   20, 21, 30, 31  circle of a geographic radius, dotted lime (pen type 2):
//                   20 hundredths of a nautical mile (0 = 100), 21 nautical
//                   miles (0 = 10), 30 metres (0 = 100), 31 hundreds of
//                   metres read from the characters as a real (".5" = 50 m,
//                   "00" or 0 = 1000 m)
//   32, 33          chartlet; a parameter 1..36 adds a pointer towards
//                   10 x parameter degrees true
//   23              nothing (a label-only waypoint)
// the others are pixel patterns (draw/SymbolShapes.h).
// Codes 100 to 107 are the program's own markers:
//   100 own vessel outline, 101 EPE circle, 102 north marker, 103 AIS
//   lollipop with its course line, 104 AIS target outline, 105 small AIS
//   lollipop, 106 heading line, 107 AIS lollipop without course line.
//
// Symbols are drawn whole when SymbolsOn is set and the view's FIntZoom has
// reached FShapeThreshold; otherwise every code but 23 shows as a three by
// three plus in the contrast colour. Either way the routine ends with the
// pen lifted and moved to the symbol's position, which also leaves that
// pixel in FCursorX/FCursorY.

#include "draw/ChartPlotter.h"

#include <cstdint>
#include <string_view>

// AIS lollipop size, set by the AIS presentation: the circle's radius in
// pixels (2, or 4 with large lollipops) and the course line's width (1 or 2).
extern int16_t AisLollipopRadius;
extern int16_t AisLollipopPenWidth;

namespace chartwin
{

// (x, y): the pixel PlotTo has just reached for the position (lat, lon),
// degrees, longitude west positive. For code 31, `parameterText` holds
// characters 27-28 of the waypoint name; when empty, `parameter` is used.
// For the AIS markers 103, 105 and 107, `parameter` is the target's slot.
void DrawSymbol(TChartPlotter& view, int x, int y, double lon, double lat, int parameter, int code,
    std::string_view parameterText = {});

} // namespace chartwin
