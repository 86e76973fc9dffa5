#pragma once
// Route files: the route (RoutePoints, RouteNames, RouteCount, at most 40
// waypoints) as text, one line per waypoint in route order, CR LF line ends
// written, CR LF or LF read.
//
// ".rte", 57 characters, the layout of the waypoint database (see
// nav/WaypointFile.h):
//   Fairway buoy            13   N 50.47.16000  W001.18.00000
//   1-29 name field, 30 N/S, 31-33 degrees (31 blank), 34 ".", 35-42 minutes
//   MM.MMMMM, 43-44 blanks, 45 W/E, 46-48 degrees, 49 ".", 50-57 minutes.
// ".prn", the route file of the DOS program, read only: minutes MM.MM, so
//   the longitude's W/E falls in column 42, its degrees in 43-45 and its
//   minutes in 47-51.
//
// A file holds at most 40 waypoints: later lines are not read. Positions are
// degrees, longitude west positive.

#include "platform/Ui.h"

#include <string>

namespace rtl
{
class TextReader;
}

// The kind of route file a name gives: the text after the last '.' of the
// file name, without regard to case ("my.route.rte" is a route file).
enum class RouteFileKind { Rte, Prn, Unknown };
RouteFileKind RouteFileKindOf(const std::string& path);

// The file's name without its folder and its last extension: the name
// RouteName keeps ("routes/my.route.rte" gives "my.route").
std::string RouteBaseName(const std::string& path);

enum class RouteReadOutcome {
    Read, // the file was read (it may have held no waypoint)
    Missing, // the file could not be opened
    FormatError, // read, but a degree or minute field was not a number (read as 0)
    UnknownKind, // neither ".rte" nor ".prn": nothing read
};

// A message box for the window to show; no text: nothing to show.
struct RouteNotice {
    platform::MessageKind kind = platform::MessageKind::Plain;
    std::string text;
};
// Shows a notice that has a text through the platform seam.
void ShowRouteNotice(const RouteNotice& notice);

// "Route File does not exist !" for Missing, "Route file format error !"
// (warnings both) for FormatError and UnknownKind, no text for Read.
RouteNotice RouteReadNotice(RouteReadOutcome outcome);

// Replaces the route by the lines of `file`, read in the layout of `kind`
// (Unknown reads nothing). The route is emptied first and ActiveWaypoint
// is 0; when a waypoint was read ActiveWaypoint is 1 and KeepRouteSelection
// is set. RouteChanged is set in any case, so the window's list is rebuilt.
RouteReadOutcome ReadRouteText(rtl::TextReader& file, RouteFileKind kind);

// The same from the file at `path` (its name matched without regard to
// case), the kind taken from its name. A file that cannot be opened leaves
// the route empty with no active waypoint.
RouteReadOutcome ReadRouteFile(const std::string& path);

// Writes route entries 1..RouteCount to `path` as ".rte", replacing the file
// whole (a failed write keeps the old file). False when it could not be
// written.
bool WriteRouteFile(const std::string& path);
