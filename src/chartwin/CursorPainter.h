#pragma once
// The cursor cross and the measure line, as the redraw and the cursor's
// mouse and button commands draw them.

class TMDIChild;

namespace chartwin
{

class TChartPlotter;

// A cross around (X, Y) drawn with an inverting pen: arms from 3 to
// 3 x size pixels off the centre, a gap of 3 pixels round it. Every pixel is
// inverted once, so a second call at the same place erases it. The cursor
// uses size 10, the track marker 5. Leaves the pen mode at copy.
void DrawCursorCross(TChartPlotter& view, int X, int Y, int size);

// A dotted line in the foreground colour from the measure origin
// (MeasureStartLat, MeasureStartLon) to the cursor position.
void DrawMeasureLine(TChartPlotter& view);

// End of every redraw: the cursor pixel recomputed from the cursor position,
// the cross drawn there and the position snapped to that pixel; while
// measuring, the measure line. A cursor position outside the culling window
// is kept as it is (the cross stays at the last cursor pixel).
void DrawCursorAndMeasure(TMDIChild& view);

} // namespace chartwin
