#pragma once
// The OS GB national grid: transverse Mercator on the Airy 1830 ellipsoid,
// true origin 49 deg N 2 deg W, false origin 400 km west and 100 km north of
// it, central scale factor 0.9996012717. No datum shift is made anywhere:
// latitudes and longitudes are taken to be on the grid's own datum.

#include "nav/geodesy/TransverseMercator.h"

namespace geodesy
{

// Airy 1830 semi-axes times the central scale factor, metres.
inline constexpr long double kOsAF0 = 6375020.481L;
inline constexpr long double kOsBF0 = 6353722.49L;
// True origin, radians (49 deg N, 2 deg W).
inline constexpr double kOsPhi0 = 0.8552113334772214;
inline constexpr double kOsLambda0 = -0.03490658503988659;

// The grid area: 0 <= easting < 700 km, 0 <= northing < 1300 km.
inline constexpr double kOsMaxEasting = 700000.0;
inline constexpr double kOsMaxNorthing = 1300000.0;

inline TmProjection OsGridProjection()
{
    TmProjection p;
    p.aF0 = kOsAF0;
    p.bF0 = kOsBF0;
    p.e2 = EccentricitySquared(kOsAF0, kOsBF0);
    p.n = 0.0016732202895858128;
    p.phi0 = kOsPhi0;
    p.eastingOrigin = 400000.0;
    p.northingOrigin = -100000.0;
    return p;
}

} // namespace geodesy
