#pragma once
// Latitude/longitude to UTM on one of eight reference ellipsoids.

#include <string>

namespace geodesy
{

// Ellipsoids by datum number (the position display's datum choice):
//   0 and 1  International 1924     5  Everest
//   2        Bessel                 6  Australian 1967
//   3        Clarke 1866            7  WGS 1972
//   4        Clarke 1880            8  WGS 1984
// Any other number is taken as International 1924.
struct UtmPosition {
    int zone; // 1..60; 0 near the poles and for positions with no zone
    char band; // latitude band C..X; A/B and Y/Z near the poles
    double easting; // metres, false easting 500 km; NaN without a zone
    double northing; // metres, 10000 km added south of the equator; NaN without a zone
};

// Latitude north positive, longitude EAST positive, degrees. The zone is the
// nearest whole of (longitude + 183) / 6 (halves to even, so 0 deg E is zone
// 30 and 6 deg E zone 32) and follows that rule everywhere: there are no
// special zones around Norway and Svalbard. At or above 84 deg N the zone is
// 0 and the band Z (east) or Y; at or below 80 deg S the zone is 0 and the
// band B (east) or A. A latitude or longitude that is not a finite number
// gives zone 0 and band '*'.
UtmPosition UtmFromLatLong(double latitude, double longitude, int datum);

// The UTM position as two display texts, both always written:
//   eastingText  "31U 0309295": zone in 2 characters (blank-led below 10),
//                band letter, a blank, easting in whole metres, 7 digits;
//   northingText " 5752019": a blank and the northing, 7 digits.
// Without a zone (1..60): "  Z *******" and " *******".
void LatLongToUTM(
    double latitude, double longitude, int datum, std::string& northingText, std::string& eastingText);

} // namespace geodesy
