#pragma once
// Editing the route (RoutePoints, RouteNames, RouteCount, at most 40
// waypoints) at the present position, which the chart view has set to the
// cursor, and the measure readout shown while measuring.

#include "nav/NavTypes.h"

#include <string>

// A generated route name field for a 1-based route position: one letter
// ('A' to 'Z' for 1 to 26, 'a' onwards from 27), 23 blanks, symbol code "19"
// and three blanks.
WaypointNameField GeneratedRouteName(int position);

// The waypoint database entry nearest the present position (ties keep the
// earlier entry); 0 when the database is empty.
int NearestDatabaseWaypoint();

// Appends a waypoint: the nearest database waypoint when SnapToWaypoint is on
// and the database is not empty, else the present position named `name` (cut
// to 29 characters) or, when that is empty, a generated name. A full route
// is refused with a message and left unchanged.
void AddRouteWaypoint(const std::string& name);

// Renames the active waypoint and, with `move`, moves it to the present
// position. A name becomes the 24-character label with symbol code "19"; an
// empty name gives the generated name.
void EditRouteWaypoint(const std::string& name, bool move);

// Removes the active waypoint; the later ones move down. ActiveWaypoint keeps
// its number.
void DeleteRouteWaypoint();

// Inserts a waypoint before the active one, taken as AddRouteWaypoint takes
// it. With a generated name the selection moves on with the waypoint that
// was selected.
void InsertRouteWaypoint(const std::string& name);

// While MeasureMode is on, the readout of distance and bearing from the
// measure origin to the present position, for example
//   "12.3456 Nm  Bearing 270°T To  90°T From"
// (° is the byte 0xB0); sets WaypointDistance (display units),
// MeasureDistText and MeasureBearingText. Empty when not measuring.
std::string FormatRouteDistance();
