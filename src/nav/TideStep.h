#pragma once
// The tidal hour, the hour relative to high water at the standard port that
// picks the streams of the atlas: from the clock, or stepped by hand with
// the "T" button, one hour on from the hour it last set, +6 wrapping round
// to -6, the status line naming the hour it stands for at the standard port.

#include <cstdint>
#include <string>

// The hour relative to high water, -6..+6, at the clock time hour:minute
// (0..23, 0..59) with high water at `highWaterHour` (0..24, the hour of
// high water rounded to the nearest, 23:30 being 24). The signed time from
// high water in whole hours (the minutes rounded, half an hour up), taken
// the short way round the day into -12 < d <= 12 so that it is the same
// either side of midnight, then folded into -6..+6 by 13 hours, the tidal
// cycle: 7 hours after high water is 6 before the next.
//   03:40 with high water at 12: 4 - 12 = -8, plus 13 = +5
//   00:10 with high water at 23:  0 - 23 = -23, plus 24 = +1
int TidalHour(int hour, int minute, int highWaterHour);

// The hour after `count` (-6..+6): +6 is followed by -6.
int NextTideStep(int count);

// "Tide +1 Hrs rel to HW Dover (10:00)   " for count 1 with high water at 9:
// the count and the clock hour (high water + count, kept in 0..23) each
// right-aligned in 2 characters.
std::string TideStepStatus(int count, int highWaterHour, const std::string& standardPort);
