#pragma once
// The texts of the AIS presentation: the lines that describe one target in
// the AIS target data window, and the range rings the AIS view offers with
// the hint that names them. No windows; the target table and the fix data
// come from nav/NavState.h.

#include "nav/LocalClock.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nav
{

// What the target lines take from outside the table.
struct AisInfoContext {
    LocalDateTime now; // the local clock
    // The fix time is UTC (the timing dialog's "Log GPS UTC time if
    // available" with AIS monitor mode off), else local.
    bool fixTimeUtc = true;
    // Base name of the AIS log being played back; empty when none plays.
    std::string playbackName;
};

// The 21 lines describing target `i` (1-based), from "Target i of n" to
// "Date: ...". Range and bearing run from the present position CurLat,
// CurLon to the target's newest trail entry, the range in the distance unit
// of DistanceFactor. A target whose position is not available (see
// nav/AisSelection.h) has its Lat and Long lines say so, and no range or
// bearing. Empty for an index outside the table.
std::vector<std::string> AisTargetInfoLines(int i, const AisInfoContext& context);

// The age of a target last heard `age` days ago as "nn:ss": minutes and
// seconds, whole hours left out (61 minutes reads 01:00).
std::string AisAgeText(double age);

// "ETA - " with the estimated arrival of a 20-bit ETA word (month 4 bits,
// day 5, hour 5, minute 6 from the top): "mm/dd " when the month and day
// make a date of `year` (0: year unknown, no date), "hh:mm" when the hour is
// below 24 and the minute below 60. An ETA of 0 (not available) is
// "ETA - " alone.
std::string AisEtaText(int32_t eta, int year);

// The distance unit of a range after its number: " Nm", " Km" or " Mls"
// (as DistanceFactor 1.0, 1.852, 1.15081 select them).
const char* AisRangeUnit(double distanceFactor);

// Range rings: ring counts run 0..16 in steps of 2 (0 = no rings). The ring
// radii in nautical miles and the hint of the rings button ("Rings off|"
// for none).
std::vector<double> RangeRingsNm(int ringCount);
const char* RangeRingHint(int ringCount);
// The ring count after the up and down buttons: 2 more up to 16, 2 fewer
// down to 0.
int RingCountUp(int ringCount);
int RingCountDown(int ringCount);

} // namespace nav
