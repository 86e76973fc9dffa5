#include "nav/geodesy/UTM_Grid.h"

#include "nav/geodesy/TransverseMercator.h"
#include "rtl/Numbers.h"

#include <cmath>
#include <cstdint>
#include <iterator>

namespace geodesy
{

namespace
{

constexpr long double kUtmScale = 0.9996L;

struct Ellipsoid {
    long double a; // semi-major axis, metres
    long double b; // semi-minor axis, metres
};

// Indexed by datum number.
constexpr Ellipsoid kEllipsoids[] = {
    { 6378388.0L, 6356911.9462L }, // 0: International 1924
    { 6378388.0L, 6356911.9462L }, // 1: International 1924
    { 6377397.155L, 6356078.9629L }, // 2: Bessel 1841
    { 6378206.4L, 6356583.8L }, // 3: Clarke 1866
    { 6378249.145L, 6356514.8696L }, // 4: Clarke 1880
    { 6377276.34518L, 6356075.41511L }, // 5: Everest
    { 6378160.0L, 6356774.7192L }, // 6: Australian National 1967
    { 6378135.0L, 6356750.5L }, // 7: WGS 72
    { 6378137.0L, 6356752.3141L }, // 8: WGS 84
};

TmProjection UtmProjection(int datum)
{
    const bool known = datum >= 0 && datum < static_cast<int>(std::size(kEllipsoids));
    const Ellipsoid& el = kEllipsoids[known ? datum : 0];
    TmProjection p;
    p.aF0 = el.a * kUtmScale;
    p.bF0 = el.b * kUtmScale;
    p.e2 = EccentricitySquared(p.aF0, p.bF0);
    p.n = static_cast<double>((p.aF0 - p.bF0) / (p.aF0 + p.bF0));
    p.phi0 = 0.0;
    p.eastingOrigin = 500000.0;
    p.northingOrigin = 0.0;
    return p;
}

// Bands are 8 degrees from 80 deg S, lettered from C without I and O; the
// band centred on a whole multiple takes the even side of a boundary
// (0 deg is M, 64 deg N is V).
char BandLetter(double latitude)
{
    int code = 66 + static_cast<int>(rtl::Round((latitude + 84.0) / 8.0));
    if (code > 72)
        ++code; // no I
    if (code > 78)
        ++code; // no O
    return static_cast<char>(code);
}

} // namespace

UtmPosition UtmFromLatLong(double latitude, double longitude, int datum)
{
    UtmPosition u {};
    if (!std::isfinite(latitude) || !std::isfinite(longitude)) {
        u.zone = 0;
        u.band = '*';
        u.easting = u.northing = std::nan("");
        return u;
    }
    const int64_t zone = rtl::Round((longitude + 183.0) / 6.0);
    u.zone = zone >= 1 && zone <= 60 ? static_cast<int>(zone) : 0;
    if (latitude >= 84.0) {
        u.zone = 0;
        u.band = longitude > 0.0 ? 'Z' : 'Y';
    } else if (latitude <= -80.0) {
        u.zone = 0;
        u.band = longitude > 0.0 ? 'B' : 'A';
    } else if (latitude >= 80.0) {
        u.band = 'X';
    } else {
        u.band = BandLetter(latitude);
    }

    if (u.zone == 0) {
        u.easting = u.northing = std::nan("");
        return u;
    }
    // Central meridian of zone z is at 6z - 183 degrees.
    const TmProjection p = UtmProjection(datum);
    const long double dLambda = DegToRad(static_cast<long double>(longitude) - (6.0L * u.zone - 183.0L));
    const GridXY g = TmForward(p, DegToRad(latitude), dLambda);
    u.easting = g.easting;
    u.northing = latitude < 0.0 ? g.northing + 10000000.0 : g.northing;
    return u;
}

void LatLongToUTM(
    double latitude, double longitude, int datum, std::string& northingText, std::string& eastingText)
{
    const UtmPosition u = UtmFromLatLong(latitude, longitude, datum);
    if (u.zone == 0) {
        eastingText = std::string("  ") + u.band + " *******";
        northingText = " *******";
        return;
    }
    eastingText = rtl::StrInt(u.zone, 2) + u.band + ' ' + rtl::ZeroFilledInt(rtl::Round(u.easting), 7);
    northingText = ' ' + rtl::ZeroFilledInt(rtl::Round(u.northing), 7);
}

} // namespace geodesy
