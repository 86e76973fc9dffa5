#pragma once
// The steps of the fix cycle that need no window: the fix time and tidal
// hour, the 98-record track store with its thinning, the re-centre count,
// the trip, the cross-track gauge, the restart of a finished route and the
// heading-up rotation. Plain functions over the navigation state
// (nav/NavState.h); the main window's FixBtnClick runs them in order
// between its panel updates.

#include <cstdint>
#include <string_view>

// The time stamped on a fix.
struct FixClock {
    int hour = 0; // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    double minutes = 0.0; // minutes of the day, seconds as a fraction
};

// The fix time, setting FixTimeText and FixTime (fraction of a day,
// milliseconds 0). With `useSentenceTime` and a sentence time field that
// begins with a valid "hhmmss" (decimals may follow): the hour plus
// UtcHourOffset, brought into 0..23, with the field's minute and second, and
// FixTimeText := the field. Otherwise, also for a field that is short or not
// a time, the PC's local clock (nav/LocalClock.h) with FixTimeText "hhnnss".
FixClock GetFixTime(bool useSentenceTime, std::string_view sentenceTime);

// Makes room in the track store for the next fix and sets LogCount to its
// slot. Below 98 records the fix takes the next free slot. A full store
// removes record ThinIndex (shifting the later ones down) and puts the fix in
// slot 98. With ThinStep 2 the first record (the start of the track) is
// always kept and the removal point walks up one record every second fix,
// from 2 to 98 and round again; with ThinStep 0 the oldest record goes.
void ThinAutoTrack();

// Counts a fix towards the next re-centre of the chart views: true (and the
// count back to 1) when it passes `drawEveryN`, so views are re-centred from
// the second fix on with 1, and every third fix with 3.
bool CountTowardsRecentre(int16_t& fixesSinceRedraw, int drawEveryN);

// Adds the leg between the last two track records to TripTotal (nautical
// miles) and sets TripLeg to it in display units; a track of fewer than two
// records has no leg (TripLeg 0).
void AddLegToTrip();

// BGR colours of the cross-track gauge.
constexpr uint32_t kGaugeRed = 0x0000FF; // steer left
constexpr uint32_t kGaugeLime = 0x00FF00; // steer right
constexpr uint32_t kGaugeWhite = 0xFFFFFF; // on track
constexpr uint32_t kGaugeSilver = 0xC0C0C0; // before the first reading

// The cross-track gauge for an error `xte` (nm, positive: the track lies to
// port) and the alarm limit `deadband` (nm): the needle from -100 to +100 in
// hundredths of a mile below 1 nm and tenths above (1.5 nm reads -15, 0.25 nm
// -25), the colour of the side and the voice cue file for it. The cue is due
// on every fix, or with `onlyOnChange` only when the colour differs from
// `shownColour`, the gauge's colour before this reading.
struct XteGaugeReading {
    int position = 0;
    uint32_t colour = kGaugeWhite;
    const char* cue = "OnTrack.wav";
    bool cueDue = true;
};
XteGaugeReading ReadXteGauge(double xte, double deadband, uint32_t shownColour, bool onlyOnChange);

// What to do when the route has been run to its end.
enum class RouteCompletion {
    Prompt, // ask for the next waypoint
    Reverse, // run it back the other way
    Repeat, // start again at waypoint 1
};

// With Reverse or Repeat and a route of two or more waypoints run to its end
// (ActiveWaypoint past the last waypoint, or none active after an arrival at
// the last waypoint, on a reversed route the first): Reverse toggles
// ReverseRoute and steers for the second waypoint from the new start, Repeat
// steers for waypoint 1; the leg is computed and XteRefCourse set to its
// bearing. False, changing nothing, otherwise: also after an arrival at an
// intermediate waypoint.
bool RestartRoute(RouteCompletion completion);

// Heading-up: the view rotation for a course made good `course` (whole
// degrees) is 360 - course degrees. The rotation in force is kept while it
// lies within `deadband` degrees of that, measured the short way round
// (across north too); otherwise ViewRotation (radians) and its cosine and
// sine take the new value. True when the rotation changed.
bool ApplyHeadingUp(int course, int deadband);

// The part of the preferences and timing settings (dialogs/GlobalDlg.h,
// dialogs/AlarmDialog.h) that the fix cycle reads, taken at the start of a
// fix, with the forms' defaults.
struct TFixPreferences {
    int RepRate = 1; // "Keep Text Log every" ... "Fixes"
    RouteCompletion Completion = RouteCompletion::Prompt; // "On Completion of route ..."
    bool RevRoute = false; // "Reversed route"
    bool Voice = false; // "XTE Voice -"
    bool Vfreq = false; // "Only on change"
    bool WPVoice = false; // "WP Voice"
    bool HeadUp = false; // "Heading Up While Navigating"
    int HUPdeadB = 0; // "Heading Up Dead Band °"
    bool UTCClock = true; // "Log GPS UTC time if available"
};
