#pragma once
// The transverse Mercator series shared by the OS GB national grid and UTM:
// meridian arc, radii of curvature and the forward series in powers of the
// longitude difference (terms I to VI). The series is the one published by
// the Ordnance Survey for the national grid; within 3 degrees of the central
// meridian it agrees with an exact transverse Mercator to well under a
// millimetre, and within the whole of Great Britain to a few millimetres.
//
// Sums are carried in long double; the named terms (nu, rho, eta2, M, I to VI,
// the eastings and northings) are held as doubles between steps.

namespace geodesy
{

// Extended-precision pi; every degree/radian conversion of the grid code uses it.
inline constexpr long double kPi = 3.1415926535897932385L;

inline long double DegToRad(long double degrees)
{
    return degrees * kPi / 180.0L;
}
inline long double RadToDeg(long double radians)
{
    return radians * 180.0L / kPi;
}

// x raised to a whole power by repeated multiplication; 1 for a power of 0 or
// less. The series use powers up to 7.
long double IntPower(long double x, int power);

// One projection: an ellipsoid scaled by the central scale factor, the true
// origin and the false origin.
struct TmProjection {
    long double aF0; // semi-major axis times central scale factor, metres
    long double bF0; // semi-minor axis times central scale factor, metres
    long double e2; // eccentricity squared, (aF0^2 - bF0^2) / aF0^2
    double n; // (a - b) / (a + b)
    double phi0; // latitude of true origin, radians
    double eastingOrigin; // false easting, metres
    double northingOrigin; // false northing, metres
};

// Eccentricity squared from the scaled semi-axes.
long double EccentricitySquared(long double aF0, long double bF0);

// Radii of curvature at latitude phi (radians): nu across the meridian, rho
// along it, and eta2 = nu / rho - 1.
struct Radii {
    double nu;
    double rho;
    double eta2;
};
Radii RadiiAt(const TmProjection& p, long double phi);

// Meridian arc from the true origin's latitude to phi (radians), metres.
double MeridianArc(const TmProjection& p, long double phi);

// Easting and northing in metres, false origin included.
struct GridXY {
    double easting;
    double northing;
};

// Forward series at latitude phi and longitude difference dLambda from the
// central meridian (both radians).
GridXY TmForward(const TmProjection& p, long double phi, long double dLambda);

} // namespace geodesy
