#pragma once
// The chart cursor's position readout, in the form the position display
// settings choose (GridDisplay, GridDatum, AltPositionFormat):
//   latitude/longitude, whole seconds to a tenth  "50°30'45.0N 001°15'00.0W"
//   latitude/longitude, decimal minutes (Alt)     "50°30.0000N 001°15.0000W"
//   OS grid, numeric                              "E651409.90 N313177.27"
//   OS grid, lettered (Alt)                       "TG 51410 13177"
//   UTM on ellipsoid GridDatum 1..8               "31U 0309295 5752019"
// (° is the Latin-1 byte 0xB0.) Blanks inside the latitude/longitude fields
// are written as '0'.

#include <string>

// The readout of a position: latitude north positive, longitude WEST
// positive, degrees. At most 60 characters.
std::string CursorPositionReadout(double latitude, double longitude);
