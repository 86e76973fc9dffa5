#pragma once
// Stepping the tidal hour by hand: the "T" button moves the hour in use one
// hour on from the hour it last set, +6 wrapping round to -6, and the status
// line names the hour it stands for at the standard port.

#include <cstdint>
#include <string>

// The hour after `count` (-6..+6): +6 is followed by -6.
int NextTideStep(int count);

// "Tide +1 Hrs rel to HW Dover (10:00)   " for count 1 with high water at 9:
// the count and the clock hour (high water + count, kept in 0..23) each
// right-aligned in 2 characters.
std::string TideStepStatus(int count, int highWaterHour, const std::string& standardPort);
