#pragma once
// OS GB national grid to latitude/longitude.

namespace geodesy
{

// Latitude (degrees, north positive) and longitude (degrees, EAST positive;
// callers that keep west-positive longitudes negate it) of a grid position
// given as easting and northing in metres.
//
// The latitude is found by iterating on the meridian arc from 70 deg N until
// the arc and the northing agree to the whole metre, at most 1001 passes. The
// result is always the last iterate. notConverged is set when the passes ran
// out without the whole-metre test passing; that happens for a northing that
// lies exactly halfway between two whole metres, where the result is still
// the right position. Every easting and northing is converted, on the grid or
// not.
void OSGridToLatLong(
    double easting, double northing, double& latitude, double& longitude, bool& notConverged);

} // namespace geodesy
