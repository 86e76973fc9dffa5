#include "nav/geodesy/Grid_Lat.h"

#include "nav/geodesy/OsGrid.h"
#include "rtl/Numbers.h"

#include <cmath>

namespace geodesy
{

namespace
{

constexpr int kMaxPasses = 1001;

} // namespace

void OSGridToLatLong(double easting, double northing, double& latitude, double& longitude, bool& notConverged)
{
    const TmProjection p = OsGridProjection();
    const long double fromOrigin = static_cast<long double>(northing) - p.northingOrigin;

    // Each pass moves the latitude by the arc still missing, taken at the
    // scaled semi-major axis; the radii of the last pass are kept for the
    // series below.
    double phi = 1.2217304763960306; // 70 deg N
    Radii r {};
    bool converged = false;
    for (int pass = 1; pass <= kMaxPasses && !converged; ++pass) {
        r = RadiiAt(p, phi);
        const double m = MeridianArc(p, phi);
        phi = static_cast<double>(phi + (fromOrigin - m) / p.aF0);
        converged = rtl::Round(static_cast<double>(fromOrigin)) == rtl::Round(m);
    }
    notConverged = !converged;

    const long double nu = r.nu;
    const long double rho = r.rho;
    const long double eta2 = r.eta2;
    const long double t = std::sin(static_cast<long double>(phi)) / std::cos(static_cast<long double>(phi));
    const long double t2 = t * t;
    const long double t4 = IntPower(t, 4);
    const long double secPhi = std::sqrt(t2 + 1.0L);

    const double VII = static_cast<double>(t / (2.0L * rho * nu));
    const double VIII = static_cast<double>(
        t / (24.0L * rho * IntPower(nu, 3)) * (5.0L + 3.0L * t2 + eta2 - 9.0L * t2 * eta2));
    const double IX
        = static_cast<double>(t / (720.0L * rho * IntPower(nu, 5)) * (61.0L + 90.0L * t2 + 45.0L * t4));
    const double X = static_cast<double>(secPhi / nu);
    const double XI = static_cast<double>(secPhi / (6.0L * IntPower(nu, 3)) * (nu / rho + 2.0L * t2));
    const double XII
        = static_cast<double>(secPhi / (120.0L * IntPower(nu, 5)) * (5.0L + 28.0L * t2 + 24.0L * t4));
    const double XIIA = static_cast<double>(secPhi / (5040.0L * IntPower(nu, 7))
        * (61.0L + 662.0L * t2 + 1320.0L * t4 + 720.0L * IntPower(t, 6)));

    const long double dE = static_cast<long double>(easting) - p.eastingOrigin;
    const long double phiOut = phi - VII * IntPower(dE, 2) + VIII * IntPower(dE, 4) - IX * IntPower(dE, 6);
    const long double lambdaOut
        = DegToRad(-2.0L) + X * dE - XI * IntPower(dE, 3) + XII * IntPower(dE, 5) - XIIA * IntPower(dE, 7);
    latitude = static_cast<double>(RadToDeg(phiOut));
    longitude = static_cast<double>(RadToDeg(lambdaOut));
}

} // namespace geodesy
