#pragma once
// Sending the route to a GPS receiver, plotter or autopilot: one "$ECWPL"
// sentence per route waypoint, in route order, each ended by CR LF:
//
//   $ECWPL,5047.160,N,00118.000,W,FAIRWA*1D
//          latitude   longitude     identifier and checksum
//
// The position comes from the main window's template "$ECWPL,@~:3,"
// (nav/LogTemplate.h): minutes to three decimals, hemisphere letters from
// the signs. The identifier is the name field's first six characters
// upper-cased, without trailing blanks and '@', with every blank,
// apostrophe and full stop turned into '-' ("Bob's Rock" is sent as BOB-S);
// so are the characters NMEA 0183 keeps for its own use (",", "*", "$",
// "!", "\", "^", "~") and anything that is not printable ASCII, which would
// break the sentence. The checksum covers the characters between '$' and
// '*', like the other output sentences; receivers that need none accept one.

#include "nav/NavTypes.h"
#include "nav/RouteFile.h"

#include <functional>
#include <string>
#include <vector>

// The identifier of a waypoint name field, at most six characters.
std::string WaypointIdentifier(const WaypointNameField& name);

// The sentence for route entry `index` (1-based), CR LF included; empty when
// `index` names no route entry.
std::string WaypointSentence(int index);

// Writes one sentence to the port; true when it went out whole, false when
// it was not sent (port closed, or no room in its output buffer).
using SentenceWriter = std::function<bool(const std::string&)>;

// Offers the sentence of every route waypoint in order to `write` while the
// NMEA interface is open (NmeaOpen); a sentence that is not taken is skipped.
// The route and the active waypoint are left as they were. Returns the
// information to show: the number of sentences really sent, three
// characters wide, and " Waypoints sent" ("  5 Waypoints sent").
RouteNotice SendRouteWaypoints(const SentenceWriter& write);
