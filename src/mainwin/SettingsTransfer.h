#pragma once
// The transfer between the navigation state and the preferences and timing
// dialogs: the controls filled before a dialog opens, and the state set from
// them after OK. Only the navigation state changes here; the main window
// adds what touches its own windows (timers, tool buttons, the log file,
// the views: MainSettings.cpp).
//
// Units of the controls: chart offsets in thousandths of a minute, capture
// distance and dead band in hundredths of a nautical mile, the manual drift
// in tenths of a knot, the manual speed in whole knots, the fix interval in
// minutes, seconds and tenths.

#include "dialogs/AlarmDialog.h"
#include "dialogs/GlobalDlg.h"

#include <cstdint>

// The controls that are filled (some controls are only read back and keep
// what the user left in them).
void FillPreferenceFields(TGlobalFields& fields);
// The colour-layer switches, held in the live settings, from TextIsFg,
// TrackIsFg, TideIsFg.
void FillPreferenceSettings(TGlobalSettings& settings);
// The state from the controls after OK, in this order: dead-reckoning
// sources; fix and event numbers (only while neither dead reckoning nor the
// NMEA interface runs); start mode; port and baud rate; reversed route and
// automatic waypoint; capture distance and dead band; high water; manual
// speed; manual tide; grid datum and display; speed in knots; chart offsets;
// view angle (not while heading up); autoload; AIS playback speed; text log
// on; track thinning; viewer path; colours and units; user sentence; output
// switches; variation; output on. The log template is the caller's.
void ApplyPreferenceFields(const TGlobalFields& fields, const TGlobalSettings& settings);

// High water to the hour: the minute spin from 30 on rounds up.
int16_t HighWaterHour(int hour, int minute);

void FillTimingFields(TAlarmFields& fields);
// Takes the timing fields into the navigation state. A fix interval shorter
// than kShortestFixIntervalMs (0 min 0 s among them, which would stop the fix
// cycle) is not taken: FixIntervalMs keeps its value and the result is false;
// the other fields are taken either way.
bool ApplyTimingFields(const TAlarmFields& fields);
