#include "GridTables.h"
#include "nav/geodesy/UTM_Grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using geodesy::LatLongToUTM;
using geodesy::UtmFromLatLong;

namespace
{

struct Texts {
    std::string easting = "untouched";
    std::string northing = "untouched";
};

Texts Utm(double lat, double lon, int datum = 8)
{
    Texts t;
    LatLongToUTM(lat, lon, datum, t.northing, t.easting);
    return t;
}

} // namespace

TEST(UtmGrid, ColchesterNorthOfTheEquator)
{
    const Texts t = Utm(51.88627587, 0.22884737);
    EXPECT_EQ(t.easting, "31U 0309295");
    EXPECT_EQ(t.northing, " 5752019");
}

TEST(UtmGrid, SydneyGetsTheSouthernFalseNorthing)
{
    const Texts t = Utm(-33.8688, 151.2093);
    EXPECT_EQ(t.easting, "56H 0334369");
    EXPECT_EQ(t.northing, " 6250948");
}

TEST(UtmGrid, SingleDigitZoneKeepsItsLeadingBlank)
{
    EXPECT_EQ(Utm(61.2181, -149.9003, 3).easting, " 6V 0344241"); // Anchorage, Clarke 1866
}

TEST(UtmGrid, PolarCapsHaveNoZone)
{
    EXPECT_EQ(Utm(85.0, 10.0).easting, "  Z *******");
    EXPECT_EQ(Utm(85.0, 10.0).northing, " *******");
    EXPECT_EQ(Utm(84.0, -10.0).easting, "  Y *******");
    EXPECT_EQ(Utm(-80.0, -10.0).easting, "  A *******");
    EXPECT_EQ(Utm(-80.0, -10.0).northing, " *******");
    EXPECT_EQ(Utm(-85.0, 10.0).easting, "  B *******");
    // Just inside the caps there are zones: X runs up to 84 N, C down to 80 S.
    EXPECT_EQ(Utm(83.99, 10.0).easting.substr(0, 3), "32X");
    EXPECT_EQ(Utm(-79.99, 10.0).easting.substr(0, 3), "32C");
}

TEST(UtmGrid, ZoneBoundariesRoundHalvesToEven)
{
    EXPECT_EQ(Utm(50.0, 0.0).easting.substr(0, 3), "30U"); // 30.5 -> 30
    EXPECT_EQ(Utm(50.0, 6.0).easting.substr(0, 3), "32U"); // 31.5 -> 32
    EXPECT_EQ(Utm(50.0, 180.0).easting.substr(0, 3), "60U"); // 60.5 -> 60
    // 180 W is zone 0: no zone, the band letter is kept.
    EXPECT_EQ(Utm(50.0, -180.0).easting, "  U *******");
    EXPECT_EQ(Utm(50.0, -180.0).northing, " *******");
}

TEST(UtmGrid, BandBoundariesRoundHalvesToEven)
{
    const Texts equator = Utm(0.0, 3.0);
    EXPECT_EQ(equator.easting, "31M 0500000");
    EXPECT_EQ(equator.northing, " 0000000");
    EXPECT_EQ(Utm(64.0, 3.0).easting.substr(0, 3), "31V");
    EXPECT_EQ(Utm(-72.0, 3.0).easting.substr(0, 3), "31D"); // 1.5 -> 2
    EXPECT_EQ(Utm(72.0, 3.0).easting.substr(0, 3), "31X"); // 19.5 -> 20
    EXPECT_EQ(Utm(80.0, 3.0).easting.substr(0, 3), "31X");
}

TEST(UtmGrid, UnknownDatumNumbersMeanInternational1924)
{
    const Texts intl = Utm(51.88627587, 0.22884737, 1);
    for (int datum : { 0, 9, 42, -1, -2147483647 - 1 }) {
        SCOPED_TRACE(datum);
        const Texts t = Utm(51.88627587, 0.22884737, datum);
        EXPECT_EQ(t.easting, intl.easting);
        EXPECT_EQ(t.northing, intl.northing);
    }
    EXPECT_NE(intl.northing, Utm(51.88627587, 0.22884737, 8).northing);
}

TEST(UtmGrid, GarbageInputGivesNoZone)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[][2] = { { nan, 0.0 }, { 45.0, nan }, { inf, 0.0 }, { 45.0, -inf }, { 45.0, 1e300 },
        { 45.0, -1e300 }, { 1e300, 1e300 }, { 45.0, 400.0 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c[0]) + " " + std::to_string(c[1]));
        const Texts t = Utm(c[0], c[1]);
        EXPECT_EQ(t.easting.substr(3), " *******");
        EXPECT_EQ(t.northing, " *******");
    }
}

// Reference values from PROJ's exact transverse Mercator, one zone at a time,
// on all eight ellipsoids, both hemispheres and out to the zone edges.
TEST(UtmGrid, AgreesWithReferenceTableToTheCentimetre)
{
    const auto points = LoadUtmPoints();
    ASSERT_GE(points.size(), 20u);
    for (const UtmPoint& p : points) {
        SCOPED_TRACE(p.name);
        const geodesy::UtmPosition u = UtmFromLatLong(p.latitude, p.longitude, p.datum);
        EXPECT_EQ(u.zone, p.zone);
        EXPECT_EQ(u.band, p.band);
        EXPECT_NEAR(u.easting, p.easting, 0.01);
        EXPECT_NEAR(u.northing, p.northing, 0.01);

        const Texts t = Utm(p.latitude, p.longitude, p.datum);
        ASSERT_EQ(t.easting.size(), 11u);
        ASSERT_EQ(t.northing.size(), 8u);
        EXPECT_EQ(std::stoi(t.easting.substr(0, 2)), p.zone);
        EXPECT_EQ(t.easting[2], p.band);
        // Whole metres: within half a metre plus the centimetre.
        EXPECT_NEAR(std::stod(t.easting.substr(4)), p.easting, 0.51);
        EXPECT_NEAR(std::stod(t.northing), p.northing, 0.51);
    }
}
