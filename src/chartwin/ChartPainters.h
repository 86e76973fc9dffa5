#pragma once
// The full redraw of a chart view and its layer painters. A redraw paints
// the view's fresh bitmap from the program-wide data in a fixed order:
// vector chart, tidal streams, own track, graticule and world grid,
// waypoints and route, AIS targets, survey log, then cursor and markers.
// Every line goes through the view's PlotTo; nothing is drawn between
// redraws.
//
// The view calls RedrawView from its own RedrawView, DrawFixCross and
// ShowChtsClick from its methods of those names.

#include <string>

class TMDIChild;

namespace chartwin
{

class TChartPlotter;

void RedrawView(TMDIChild& view);

// Chart points in store order, each line type with its pen, hidden line
// types skipped. A pen-up pair always separates polylines.
void DrawChartPoints(TMDIChild& view);

// Tidal diamonds with the stream of the current tidal hour: an arrow of 2
// pixels per tenth of a knot whatever the zoom, and its rate as a label.
void DrawTidalStreams(TMDIChild& view);

// The own track (pen type 3) with a fix cross at every visible record above
// zoom 50.
void DrawTrack(TMDIChild& view);
// One track position (chart offsets already applied), as track playback
// draws them.
void PlotTrackPoint(TMDIChild& view, double lat, double lon);
// A small diagonal cross at (X, Y); leaves the pen at (X, Y), dotted.
void DrawFixCross(TChartPlotter& view, int X, int Y);

// Graticule lines spaced from the bitmap's top and west edges by a round
// distance in the display unit, then the world grid. Writes the step into
// Panel1's hint.
void DrawGraticule(TMDIChild& view);
// Parallels every 8 degrees (the top one at 84) and meridians every 6
// degrees, at zoom 0.5 and below.
void DrawWorldGrid(TMDIChild& view);

// Database waypoints with labels and symbols, then the route: red legs
// unless the route is hidden, symbols and labels always.
void DrawWaypointsAndRoute(TMDIChild& view);

// The 1:1 view rectangles of the charts of the charts folder ("Show
// Charts"), or of the one chart `name` when it is not empty.
void DrawChartOutlines(TMDIChild& view, const std::string& name);
// "Show Charts": the outlines of every chart, the cursor drawn again.
void ShowCharts(TMDIChild& view);

} // namespace chartwin
