#pragma once
// The chart waypoint database on disk: one fixed-column text line per
// waypoint, CR LF line ends, in database order.
//
// "<chart>.wpt", 57 characters (columns 1-based):
//   1-29  name field: label 1-24, symbol code 25-26, number 27-28, blank 29
//   30    "N" or "S"
//   31-33 whole degrees of latitude, column 31 blank ("  5" is written " 05")
//   34    "."
//   35-42 minutes MM.MMMMM
//   43-44 two blanks
//   45    "W" or "E"
//   46-48 whole degrees of longitude, three digits
//   49    "."
//   50-57 minutes MM.MMMMM
// e.g. for 50.5 N 1.25 W:  <29-character name>N 50.30.00000  W001.15.00000
//
// "<chart>.wps", the older DOS layout, 51 characters: the same with minutes
// MM.MM, so the hemispheres fall in columns 30 and 42, the longitude degrees
// in 43-45 and its minutes in 47-51.
//
// Minutes that round up to 60 carry into the degrees. Both files lie beside
// the chart file; the DOS copy is read only when "<chart>.wpt" is missing.

#include "nav/NavTypes.h"

#include <string>

// One line of either layout (without its line end).
std::string WaypointFileLine(const WaypointNameField& name, const TPosition& position);
std::string DosWaypointFileLine(const WaypointNameField& name, const TPosition& position);

// The two line layouts, also those of the route files (".rte" and ".prn").
enum class WaypointLineLayout { Wpt, Dos };

// Reads one line of `layout`: the name field from columns 1-29 and the
// position, degrees + minutes / 60, negative when the hemisphere column
// holds exactly "S" (latitude) or "E" (longitude), any other character
// counting as north or west. A degree or minute field that does not read as
// a number counts as 0 and makes the result false; name and position are
// set either way.
bool ReadWaypointFileLine(
    const std::string& line, WaypointLineLayout layout, WaypointNameField& name, TPosition& position);

// Write entries 1..WaypointDbCount to `path`, replacing the file whole. When
// it cannot be written, show "Error writing WP database file!" and keep any
// old file; false. The file last loaded with entries left out
// (WaypointFileCutPath) is replaced only when the user agrees: false,
// writing nothing, on No.
bool WriteWaypointFile(const std::string& path);
bool WriteDosWaypointFile(const std::string& path);

// Appends the waypoints of chart `chartName` to the database: from
// "<ChartsFolder><chartName>.wpt", or when that cannot be opened from the
// DOS file "<ChartsFolder><chartName>.WPS" (names matched without regard to
// case). Lines are read until the file ends or the database holds 600
// entries; lines left over show "Waypoint Database Full !" and make the file
// WaypointFileCutPath. A degree or minute field that does not read as a number counts
// as 0 and, once the file is read, "Format errors detected in Waypoint
// database file!" is shown; the line is still taken. Nothing is shown when
// neither file exists.
void LoadWaypointDatabase(const std::string& chartName);
