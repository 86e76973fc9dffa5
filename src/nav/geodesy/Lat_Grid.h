#pragma once
// Latitude/longitude to OS GB national grid.

#include "nav/geodesy/TransverseMercator.h"

#include <string>

namespace geodesy
{

// Easting and northing in metres of a position given in degrees, latitude
// north positive, longitude EAST positive (callers holding west-positive
// longitudes pass the negated value). No range test.
GridXY OSGridFromLatLong(double latitude, double longitude);

// The grid position as display texts. Latitude north positive, longitude EAST
// positive, degrees.
//   lettered false: writes eastingText and northingText, two decimals in at
//                   least 9 characters with leading zeros ("053690.61",
//                   "651409.90", "1141414.95"); gridRef is left as it is.
//   lettered true:  writes gridRef, 14 characters, "TG 51410 13177"; the two
//                   numeric texts are left as they are.
// Off the grid (easting outside 0..700 km, northing outside 0..1300 km, or
// not a number) all three are written: "**********" twice and
// "**************".
void LatLongToOSGrid(double latitude, double longitude, bool lettered, std::string& northingText,
    std::string& eastingText, std::string& gridRef);

} // namespace geodesy
