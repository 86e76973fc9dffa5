#pragma once
// Editing the chart store (nav/ChartStore.h) by hand: the line type of a
// stored point, the point nearest to a position, adding, moving and breaking
// points, and a new empty chart.
//
// Positions are degrees, latitude north positive, longitude WEST positive. A
// point is stored with its true latitude + 200 × line type (0..6), so a
// stored latitude of 650.25 is a type-3 point at 50.25 N; (-1, -1) is a
// pen-up, which ends one polyline and starts the next.

#include <cstdint>

// The point that "Move" and "Delete" act on, 0 = none: the point added last,
// or the one found by the nearest-point search. Emptying the store clears it.
extern int16_t SelectedChartPoint;
// The line type (0..6) chosen last in the line-type menu.
extern int16_t LineType;
// Added to the latitude of new and moved points: 200 × LineType, or the
// offset of the point the nearest-point search found last.
extern double LineTypeOffset;

// The line type of a stored latitude: the number of the thresholds 100, 300,
// 500, 700, 900 and 1100 it exceeds. A pen-up (-1) is type 0.
int ChartLineType(double storedLat);
// What line type `type` adds to a true latitude: 200 × type.
double ChartLineOffset(int type);

// The index (1..ChartPointCount) of the point whose true position lies
// nearest to (lat, lon) on the flat earth (longitudes scaled by CosLat); the
// first of equally near points wins. Pen-ups take no part. 0 when the store
// holds nothing but pen-ups.
int NearestChartPoint(double lat, double lon);

// The nearest point to (lat, lon) becomes SelectedChartPoint, and its own
// line offset LineTypeOffset (left as it was when nothing is found). Returns
// the selection.
int FindNearestChartPoint(double lat, double lon);

// Adds a point after ChartPointCount and selects it: a pen-up, or
// (lat + LineTypeOffset, lon). False, and nothing added, when the store
// already holds kMaxChartPoints.
bool AddChartPoint(bool penUp, double lat, double lon);

// The point that a move or a break acts on: SelectedChartPoint when it is a
// point of the store (for a move, one that is not a pen-up), otherwise the
// point nearest to (lat, lon), which becomes selected.
// Move: the point becomes (lat + LineTypeOffset, lon). Break: it becomes a
// pen-up, so the lines into and out of it go. Returns the index acted on, 0
// when the store has no point to act on.
int MoveOrBreakChartPoint(bool breakPoint, double lat, double lon);

// Breaks the point a break acts on, then steps the selection one back (not
// below 0), so that repeated deletes walk backwards through the chart.
int DeleteChartPoint(double lat, double lon);

// The store of a new chart: one point, a pen-up, and no file read into it.
void StartNewChartStore();

// The working position moved from the GPS datum onto the chart's
// (lat + ChartOffsetLat, lon - ChartOffsetLon), once: a position that is the
// result of the last shift is left as it stands. `last` remembers that result.
struct TDatumShift {
    bool done = false;
    double lat = 0.0, lon = 0.0;
};
void ShiftOntoChartDatumOnce(double& lat, double& lon, TDatumShift& last);
