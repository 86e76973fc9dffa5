#include "GridTables.h"
#include "nav/geodesy/UTM_Grid.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using geodesy::LatLongToUTM;

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

TEST(UtmGrid, WholeTexts)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Example {
        const char* what;
        double lat, lon;
        int datum;
        const char *easting, *northing;
    };
    const Example examples[] = {
        { "Colchester", 51.88627587, 0.22884737, 8, "31U 0309295", " 5752019" },
        { "Sydney, southern false northing", -33.8688, 151.2093, 8, "56H 0334369", " 6250948" },
        { "Anchorage, one-digit zone", 61.2181, -149.9003, 3, " 6V 0344241", " 6790333" },
        { "equator is band M (10.5 -> 10)", 0.0, 3.0, 8, "31M 0500000", " 0000000" },
        { "north cap east", 85.0, 10.0, 8, "  Z *******", " *******" },
        { "north cap from 84 N, west", 84.0, -10.0, 8, "  Y *******", " *******" },
        { "south cap from 80 S, west", -80.0, -10.0, 8, "  A *******", " *******" },
        { "south cap east", -85.0, 10.0, 8, "  B *******", " *******" },
        { "180 W is zone 0", 50.0, -180.0, 8, "  U *******", " *******" },
        { "longitude beyond 180", 45.0, 400.0, 8, "  T *******", " *******" },
        { "huge longitude", 45.0, -1e300, 8, "  T *******", " *******" },
        { "NaN latitude", nan, 3.0, 8, "  * *******", " *******" },
        { "NaN longitude", 45.0, nan, 8, "  * *******", " *******" },
    };
    for (const Example& x : examples) {
        SCOPED_TRACE(x.what);
        const Texts t = Utm(x.lat, x.lon, x.datum);
        EXPECT_EQ(t.easting, x.easting);
        EXPECT_EQ(t.northing, x.northing);
    }
}

TEST(UtmGrid, ZoneAndBandBoundariesRoundHalvesToEven)
{
    struct Example {
        double lat, lon;
        const char* zoneBand;
    };
    const Example examples[] = {
        { 50.0, 0.0, "30U" }, // zone 30.5 -> 30
        { 50.0, 6.0, "32U" }, // 31.5 -> 32
        { 50.0, 180.0, "60U" }, // 60.5 -> 60
        { 64.0, 3.0, "31V" }, // band 18.5 -> 18
        { 72.0, 3.0, "31X" }, // 19.5 -> 20
        { -72.0, 3.0, "31D" }, // 1.5 -> 2
        { 80.0, 3.0, "31X" }, // X runs on to 84 N
        { 83.99, 10.0, "32X" },
        { -79.99, 10.0, "32C" },
    };
    for (const Example& x : examples) {
        SCOPED_TRACE(std::to_string(x.lat) + " " + std::to_string(x.lon));
        EXPECT_EQ(Utm(x.lat, x.lon).easting.substr(0, 3), x.zoneBand);
    }
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

// Reference values from PROJ's exact transverse Mercator, one zone at a time,
// on all eight ellipsoids, both hemispheres and out to the zone edges.
TEST(UtmGrid, AgreesWithReferenceTableToTheCentimetre)
{
    const auto points = LoadUtmPoints();
    ASSERT_GE(points.size(), 20u);
    for (const UtmPoint& p : points) {
        SCOPED_TRACE(p.name);
        const geodesy::UtmPosition u = geodesy::UtmFromLatLong(p.latitude, p.longitude, p.datum);
        EXPECT_EQ(u.zone, p.zone);
        EXPECT_EQ(u.band, p.band);
        EXPECT_NEAR(u.easting, p.easting, 0.01);
        EXPECT_NEAR(u.northing, p.northing, 0.01);
    }
}
