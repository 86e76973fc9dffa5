#pragma once
// Chart waypoint database entries (WaypointDbNames, WaypointDbPoints,
// WaypointDbCount) as the waypoint editor makes and removes them.

#include "nav/NavTypes.h"

#include <string>

// A waypoint name field from the editor's texts, always 29 characters:
//   1-24   the description, cut or padded with blanks
//   25-26  the first two characters of the symbol text, a shorter text
//          padded with leading '0's ("5" becomes "05", "" becomes "00")
//   27-28  the number text ("1" becomes "01", "" two blanks) when the
//          symbol takes a number, else two blanks
//   29     a blank
WaypointNameField MakeWaypointName(const std::string& description, const std::string& symbolText,
    const std::string& numberText, bool hasNumber);

// The description of a name field: characters 1-24 without the trailing run
// of blanks and '@' characters that pads it; an '@' inside the text stays.
std::string WaypointDescription(const WaypointNameField& name);

// Removes entry `index` (1-based); the later entries move down one place.
// Nothing happens for an index outside 1..WaypointDbCount.
void DeleteDatabaseWaypoint(int index);
