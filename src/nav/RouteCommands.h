#pragma once
// What the main window's route commands do to the navigation state: opening
// and saving a route file, emptying the route, choosing the active waypoint,
// resetting the cross-track reference, and measuring. The window shows the
// dialogs, questions and messages and keeps its controls in step; these
// functions do the rest and return what the window has to show.
//
// `haveView` is true when a chart view is open: the leg to the chosen
// waypoint, and with it the cross-track reference XteRefCourse, is only
// computed then. A leg chosen before any fix has been taken (the present
// position is then only the configured one) sets FirstLegPending: the
// reference is taken again from the boat's position at the first fix
// (nav/NavUpdate.h). Every choice of a waypoint forgets the last arrival.

#include "nav/RouteFile.h"

#include <string>

// Opens a route file chosen by the user: reads it (nav/RouteFile.h); when
// the file was read, RouteName := its base name; when it holds waypoints,
// waypoint 1 is active (with ReverseRoute its last waypoint) and, with a
// view, the leg to it is computed and XteRefCourse := its bearing. A file that could not be read, or holds no
// waypoint, leaves no active waypoint. Returns the message to show.
RouteNotice OpenRoute(const std::string& path, bool haveView);

// Saves the route as ".rte" at `path`; RouteName := its base name when the
// file was written. When it could not be written: "Error writing route
// file!" (error) and RouteName is kept.
RouteNotice SaveRoute(const std::string& path);

// Empties the route (no active waypoint) and leaves dead reckoning.
void PurgeRoute();

// The user picked entry `listIndex` (0-based) of the route list:
// ActiveWaypoint := listIndex + 1 and, with a view, the leg to it is
// computed and XteRefCourse := its bearing. -1 (nothing picked), or an
// index beyond the route, leaves no active waypoint.
void SelectRouteWaypoint(int listIndex, bool haveView);

// The hint of the route list for the selected text: "Selected Waypoint|"
// when its label (the first 24 characters without trailing blanks and '@')
// is shorter than 13 characters, else the label followed by "|".
std::string RouteListHint(const std::string& selectedText);

// "Next Waypoint": the waypoint after the active one along the route as it is
// sailed (with ReverseRoute the one before it in the list); when none is
// active after an arrival that ended the leg, the one after the waypoint
// arrived at (ArrivedWaypoint), on the leg from that waypoint (its origin,
// as after an automatic advance). Past the route's end, or with nothing to
// step from, the route's first waypoint (reversed: its last). With a view
// the leg to it and its cross-track reference are computed at once. Returns the list
// index to select (0-based), -1 for an empty route, which keeps no active
// waypoint.
int StepRouteWaypoint(bool haveView);

// Resets the cross-track reference: XteRefCourse := the bearing of the leg
// from the present position to the active waypoint, a leg with no origin
// waypoint. False, with nothing changed, when no route waypoint is active.
bool ResetCrossTrackReference();

// Measure mode on (`down`, the speed button pressed) or off. On: the origin
// is the present position and MarkMeasureOrigin is set. Either way
// MeasureTotal := 0. Returns the button's new hint: "Measure off|" while
// measuring, else "Measure on|".
std::string SetMeasureMode(bool down);

// Whether the totaliser ("+", "Accumulative Measure") may be used: only
// while measuring with neither dead reckoning nor the NMEA interface on.
bool MeasureTotaliserEnabled();

// Only while measuring: adds the measured distance (origin to the present
// position, display units) to MeasureTotal, makes the present position the
// new origin and sets MarkMeasureOrigin. Returns the new measure readout
// (nav/RouteEdit.h's FormatRouteDistance); empty when not measuring.
std::string TotaliseMeasure();
