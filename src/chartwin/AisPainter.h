#pragma once
// The AIS layer of a chart view's redraw: each target of the table as a
// lollipop with its labels and trail, the selected target to scale, and the
// range rings. Painters only: they take what they draw as parameters, read
// the target table and draw through the view's PlotTo; the selection, the
// target data window and the age-out are the view's steps around the
// redraw (Childwin.h).
//
// A target's chart position: latitude = record latitude / 600000 +
// ChartOffsetLat, longitude (west positive) = -(record longitude) / 600000 -
// ChartOffsetLon; trail entries get the same offsets and sign change.

#include "nav/AisRecord.h"

#include <optional>
#include <utility>

namespace chartwin
{

class TChartPlotter;

// The AIS view's popup choices that change how targets look.
struct TAisDrawOptions {
    bool labelsOnAll = true; // "On All", else "On Selected"
    bool showMmsi = false; // "AIS Show MMSI"
    bool conventionalShape = false; // "AIS Conventional Target Shape"
};

// Heading of the outline, degrees: 0 course over ground, 1 true heading;
// either falls back to the other when AIS did not give it, and with neither
// there is none.
std::optional<double> AisOutlineHeading(const nav::AisTargetRecord& target, int headingMode);

// The chart position of a record (degrees, longitude west positive).
std::pair<double, double> AisChartPosition(const nav::AisTargetRecord& target);

// Target `i`'s symbol and labels in silver; nothing when its position is off
// the bitmap. Ends with the pen lifted at the view's cursor position. A
// target whose position is not available (nav/AisSelection.h) draws nothing
// at all, here and in its trail.
void DrawAisTarget(TChartPlotter& view, int i, const TAisDrawOptions& options);
// Target `i`'s trail, oldest entry first, with the track pen (type 3).
void DrawAisTargetTrail(TChartPlotter& view, int i);
// Every target with its trail, then the selected one again on top. Draws
// nothing without a valid selection.
void DrawAisTargets(TChartPlotter& view, const TAisDrawOptions& options);

// `target` to scale from its dimensions, about its reported position, turned
// to the heading of `headingMode`: lime sides and a dotted centre line from
// the stern centre to the bow. Nothing without a heading to turn it to.
void DrawAisTargetOutline(TChartPlotter& view, const nav::AisTargetRecord& target, int headingMode);

// The rings of `ringCount` around (lat, lon) (degrees, longitude west
// positive): dotted lime circles of a geographic radius (symbols 20 and 21).
void DrawRangeRings(TChartPlotter& view, double lat, double lon, int ringCount);

} // namespace chartwin
