#include "nav/geodesy/TransverseMercator.h"

#include <cmath>

namespace geodesy
{

long double IntPower(long double x, int power)
{
    long double result = 1.0L;
    for (int i = 0; i < power; ++i)
        result *= x;
    return result;
}

long double EccentricitySquared(long double aF0, long double bF0)
{
    return (aF0 * aF0 - bF0 * bF0) / (aF0 * aF0);
}

Radii RadiiAt(const TmProjection& p, long double phi)
{
    const long double sinPhi = std::sin(phi);
    const long double w = 1.0L - p.e2 * sinPhi * sinPhi;
    Radii r;
    r.nu = static_cast<double>(p.aF0 / std::sqrt(w));
    r.rho = static_cast<double>((1.0L - p.e2) * r.nu / w);
    r.eta2 = static_cast<double>(static_cast<long double>(r.nu) / r.rho - 1.0L);
    return r;
}

double MeridianArc(const TmProjection& p, long double phi)
{
    const long double n = p.n;
    const long double n2 = n * n;
    const long double n3 = n2 * n;
    const long double d = phi - p.phi0;
    const long double s = phi + p.phi0;
    const long double ma = (1.0L + n + 5.0L / 4.0L * n2 + 5.0L / 4.0L * n3) * d;
    const long double mb = (3.0L * n + 3.0L * n2 + 21.0L / 8.0L * n3) * std::sin(d) * std::cos(s);
    const long double mc = (15.0L / 8.0L * n2 + 15.0L / 8.0L * n3) * std::sin(2.0L * d) * std::cos(2.0L * s);
    const long double md = 35.0L / 24.0L * n3 * std::sin(3.0L * d) * std::cos(3.0L * s);
    return static_cast<double>(p.bF0 * (ma - mb + mc - md));
}

GridXY TmForward(const TmProjection& p, long double phi, long double dLambda)
{
    const Radii r = RadiiAt(p, phi);
    const double m = MeridianArc(p, phi);
    const long double nu = r.nu;
    const long double rho = r.rho;
    const long double eta2 = r.eta2;
    const long double sinPhi = std::sin(phi);
    const long double cosPhi = std::cos(phi);
    const long double tanPhi = sinPhi / cosPhi;
    const long double tan2 = tanPhi * tanPhi;
    const long double tan4 = IntPower(tanPhi, 4);

    const double I = static_cast<double>(m + static_cast<long double>(p.northingOrigin));
    const double II = static_cast<double>(nu / 2.0L * sinPhi * cosPhi);
    const double III
        = static_cast<double>(nu / 24.0L * sinPhi * IntPower(cosPhi, 3) * (5.0L - tan2 + 9.0L * eta2));
    const double IIIA
        = static_cast<double>(nu / 720.0L * sinPhi * IntPower(cosPhi, 5) * (61.0L - 58.0L * tan2 + tan4));
    const double IV = static_cast<double>(nu * cosPhi);
    const double V = static_cast<double>(nu / 6.0L * IntPower(cosPhi, 3) * (nu / rho - tan2));
    const double VI = static_cast<double>(nu / 120.0L * IntPower(cosPhi, 5)
        * (5.0L - 18.0L * tan2 + tan4 + 14.0L * eta2 - 58.0L * tan2 * eta2));

    GridXY out;
    out.northing = static_cast<double>(
        I + II * IntPower(dLambda, 2) + III * IntPower(dLambda, 4) + IIIA * IntPower(dLambda, 6));
    out.easting = static_cast<double>(
        p.eastingOrigin + IV * dLambda + V * IntPower(dLambda, 3) + VI * IntPower(dLambda, 5));
    return out;
}

} // namespace geodesy
