#pragma once
// The full redraw of a chart view and its layer painters. A redraw paints
// the view's cleared bitmap from the program-wide data in a fixed order:
// vector chart, tidal streams, own track, graticule and world grid,
// waypoints and route, AIS targets, survey log, then cursor and markers.
// Every line goes through the view's PlotTo; nothing is drawn between
// redraws.
//
// A redraw only draws. It takes what it draws as inputs (the view's fields,
// the stores, the preferences value) and writes nothing but the bitmap, the
// view's own cursor and the plotter's pen state: no navigation state, no
// store, no setting, no window raised, no cursor shape, no command. What goes
// around a redraw is the caller's (TMDIChild::RedrawView), in this order:
//   before: PrepareRedraw (graticule switch, projection, track colour), the
//           AIS selection from ChooseAisTarget, the survey log read on to
//           its end into the view's SurveyTail when RedrawPlotsSurveyLog;
//   draw:   RedrawView(view, settings, options);
//   after:  the tow layout at the vessel the redraw drew (LayOutTow),
//           TMDIChild::UpdateAisTargets in the AIS view (target data
//           window, age-out), the portfolio's chart list
//           when RedrawSwitchesPortfolio, the repaint.
// A later layer adds its painter to RedrawView with the inputs it needs as
// parameters, and anything it changes to the caller's steps.
//
// The view calls DrawFixCross and ShowChtsClick from its methods of those
// names.

#include <cstdint>
#include <string>

class TMDIChild;
struct TGlobalSettings;
struct TView_ZoomSettings;

namespace chartwin
{

class TChartPlotter;

// Before a redraw: the graticule switch ("Show Graticule" of the view
// options), the projection for the cursor and zoom, the track colour of the
// preferences. Writes the view's fields only.
void PrepareRedraw(TMDIChild& view, const TGlobalSettings& settings, const TView_ZoomSettings& options);
// The AIS target a redraw of `view` shows selected (SelectedAisTarget for the
// caller to store): the only target, or the nearest when "Highlight Nearest"
// is on; otherwise the present selection.
uint16_t ChooseAisTarget(TMDIChild& view);
// The view shows AIS targets: the AIS view with its AIS button down.
bool RedrawShowsAis(const TMDIChild& view);
// The view plots the survey log: a text log is open and the view's "Plot
// Survey Log" is on.
bool RedrawPlotsSurveyLog(const TMDIChild& view);
// The open chart is a portfolio: after a redraw the views show its chart list.
bool RedrawSwitchesPortfolio();
// Draws the whole view from its inputs (see above): the preferences and
// the switches of the view options that every view reads. The survey plot
// draws view.SurveyTail into view.DataTrend when set and leaves what it found
// wrong with the log in view.SurveyFault.
void RedrawView(TMDIChild& view, const TGlobalSettings& settings, const TView_ZoomSettings& options);

// Chart points in store order, each line type with its pen, hidden line
// types skipped. A pen-up pair always separates polylines.
void DrawChartPoints(TMDIChild& view);

// Tidal diamonds with the stream of the current tidal hour: an arrow of 2
// pixels per tenth of a knot whatever the zoom, and its rate as a label.
// Colour: the foreground with the preferences' "Tides=FG", else aqua.
void DrawTidalStreams(TMDIChild& view, const TGlobalSettings& settings);

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
// unless the route is hidden, symbols and labels always. Labels in the
// foreground colour with the preferences' "Text = FG".
void DrawWaypointsAndRoute(TMDIChild& view, const TGlobalSettings& settings);

// The 1:1 view rectangles of the charts of the charts folder ("Show
// Charts"), or of the one chart `name` when it is not empty.
void DrawChartOutlines(TMDIChild& view, const std::string& name);
// "Show Charts": the outlines of every chart, the cursor drawn again.
void ShowCharts(TMDIChild& view);

} // namespace chartwin
