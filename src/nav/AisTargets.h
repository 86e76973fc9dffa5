#pragma once
// The AIS target table: every decoded AIS message is merged into at most 60
// targets keyed by MMSI (AisTargets[1..AisTargetCount], nav/NavState.h), each
// with a trail of its last 40 distinct positions. Nothing is drawn here; the
// chart views show the table at their next redraw.
//
// Positions stay in AIS units in the records (1/10000 minute, longitude east
// positive); trail entries are degrees, longitude east positive, entry 1 the
// oldest.

#include <cstdint>
#include <string>

namespace nav
{

// Settings of one merge, taken by the caller from its menu items, the
// preferences and the clock.
struct AisMergeOptions {
    double now = 0.0; // local date-time: days since 30 Dec 1899, time of day as fraction
    bool searchDatabase = false; // fill a new target's static data from "KVAIS.ADB"
    bool updateDatabase = false; // append the static data of unknown vessels to "KVAIS.ADB"
    bool voice = false; // announce new targets by voice
    bool monitorMode = false; // the program is a fixed shore station: no voice
};

struct AisMergeResult {
    int slot = 0; // slot merged into, 0 when the merge took nothing
    bool newTarget = false; // the slot was taken by a target not in the table
    // A target got its first position: it is announced with a beep, and by
    // `sectorWord` when that is not empty.
    bool announce = false;
    std::string sectorWord;
    // "KVAIS.ADB" could not be read or written: what went wrong, to be shown
    // once. The database then rests (AisDbSuspended) until it is switched
    // again (SwitchAisDatabase).
    std::string databaseError;
};

// Merges AisDecodeRecord into the table when it holds a message decoded since
// the last merge (AisDecodeFresh), then clears that flag; a decode record
// with MMSI 0 (a type the decoder leaves alone) merges nothing.
//
// A target in the table takes the fields its message carries and the
// time `now`; its trail grows when the position differs from the newest
// entry. A new target takes the whole record into slot AisTargetCount + 1.
// With the table full it takes the slot of a target without a position (the
// one heard least recently) or else of the target farthest from the present
// position CurLat, CurLon, never the selected one, and only when it lies
// nearer than that target: a newcomer farther than every other, or without a
// position, is left out (slot 0). Database look-up and append follow the
// options. A position that is not valid (AisHasPosition, nav/AisSelection.h)
// never enters the trail. A target is announced once,
// when it first has a position: at once for a position report or base
// station report with a position, else at its first report with one.
// SelectedAisTarget is never changed.
AisMergeResult UpdateAisTargets(const AisMergeOptions& options);

// A database menu item was switched: a database resting after an error is
// tried again.
void SwitchAisDatabase();

// Makes room for one more trail entry in slot `slot`: the count grows up to
// 40; at 40 the entries move down one place, dropping the oldest. The caller
// stores the new position at entry [trailCount].
void ShiftTargetTrack(int slot);

// The relative bearing, 0 <= R < 360 degrees, of a position (degrees,
// longitude east positive as in a trail) from the present position CurLat,
// CurLon, taken against the course made good NavCourse. The route, the active
// waypoint and its leg figures are left alone.
double AisRelativeBearing(double lat, double lonEast);

// The announcement word of a relative bearing; each sector is closed below
// and open above: [330, 30) "Ahead", [30, 60) "AheadStarboard",
// [60, 120) "Starboard", [120, 150) "AsternStarboard", [150, 210) "Astern",
// [210, 240) "AsternPort", [240, 300) "Port", [300, 330) "AheadPort".
const char* AisSectorWord(double relativeBearing);

} // namespace nav
