#pragma once
// Which AIS targets have a position, which one the views show selected, and
// the age-out of silent targets. Plain procedures over the target table
// (AisTargets[1..AisTargetCount], SelectedAisTarget in nav/NavState.h); no
// windows.
//
// SelectedAisTarget is 1-based, 0 for none; a selection is valid while
// 1 <= SelectedAisTarget <= AisTargetCount.

#include <cstdint>

namespace nav
{

struct AisTargetRecord;

// AIS sends latitude 91 and longitude 181 degrees for "position not
// available"; those and any other latitude beyond 90 or longitude beyond
// 180 degrees (either sign) are no position. Degrees, either longitude sign
// convention; NaN is no position either.
bool AisPositionAvailable(double lat, double lon);
// The record's own position (AIS units) is a position. It is not when it is
// not available as above, when it lies at exactly 0 N 0 E (what transponders
// without a position fix send), or when the report's time stamp is 63 (the
// positioning system is inoperative). A target without one is listed with
// its other data but is not drawn, followed, taken as the nearest, given a
// range and bearing or entered in its trail.
bool AisHasPosition(const AisTargetRecord& target);

// The flat-earth distance, nautical miles, from the present position CurLat,
// CurLon to the record's own position (no chart offsets); the caller makes
// sure it has one.
double AisTargetRangeNm(const AisTargetRecord& target);

struct AisNearest {
    int index = 0; // 0: no target
    double range = 99999.0; // nautical miles; 99999 with no target
};

// The target nearest to the present position CurLat, CurLon, by the
// flat-earth distance on the record positions (no chart offsets); targets
// without a position are passed over. Equal distances go to the lower index.
// With exactly one target the index is 1 however far it lies (or whether it
// has a position); `range` is always the least distance found.
AisNearest FindNearestAisTarget();

// The selection is a target in the table.
bool AisSelectionValid();
// The selection is a target in the table that has a position (one a view
// can follow).
bool AisSelectionHasPosition();

// Age-out: every target last heard more than `ageLimit` days before `now`
// (both date-time values, days) leaves the table; the others move down and
// keep their order. The selection follows its target: it moves down by the
// number of removed slots before it, and when the selected target itself
// leaves, the selection stays at its place, or at the last target when that
// place is gone, so it stays valid while any target remains. An empty
// table leaves the selection 0. Returns how many targets left.
int AgeOutAisTargets(double now, double ageLimit);

// Every slot emptied, no target, no selection.
void ClearAisTargets();

// The selection one target down (step -1) or up (+1), staying within
// 1..AisTargetCount; unchanged at either end.
void StepAisSelection(int step);

} // namespace nav
