#include "GridTables.h"
#include "nav/geodesy/Lat_Grid.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using geodesy::LatLongToOSGrid;

namespace
{

const std::string kNumericOff = "**********";
const std::string kLetteredOff = "**************";

struct Texts {
    std::string northing = "n-untouched";
    std::string easting = "e-untouched";
    std::string gridRef = "g-untouched";
};

Texts Convert(double lat, double lon, bool lettered)
{
    Texts t;
    LatLongToOSGrid(lat, lon, lettered, t.northing, t.easting, t.gridRef);
    return t;
}

} // namespace

// Positions in every 500 km square of the grid (O and J hold North Sea,
// Orkney and Shetland waters and are lettered like the rest). Each mode
// writes its own texts only. Numeric values agree with PROJ; positions not
// in the reference table were found from their grid values with cs2cs -I.
TEST(LatGrid, NumericAndLetteredTexts)
{
    struct Example {
        const char* what;
        double lat, lon;
        const char *easting, *northing, *gridRef;
    };
    const Example examples[] = {
        { "Norwich", 52.6575703, 1.7179216, "651409.90", "313177.27", "TG 51410 13177" },
        { "Lerwick, 10-character northing", 60.155, -1.145, "447461.13", "1141414.95", "HU 47461 41415" },
        { "Muckle Flugga", 60.856, -0.885, "460570.58", "1219690.15", "HP 60571 19690" },
        { "Scilly, both padded", 49.914, -6.309, "090715.35", "010510.07", "SV 90715 10510" },
        { "leading zero", 57.071644429352, -7.716186888261, "053690.61", "812345.67", "NF 53691 12346" },
        { "Whitby", 54.486, -0.615, "489713.87", "510970.39", "NZ 89714 10970" },
        { "on the 550 km lines", 54.8222614281, 0.3350369650, "550000.00", "550000.00", "OV 50000 50000" },
        { "550 km, inputs rounded", 54.822261, 0.335037, "550000.00", "549999.95", "OV 50000 50000" },
        { "square O", 56.355780043705, 1.437491975643, "612345.40", "723456.30", "OM 12345 23456" },
        { "square J", 60.523826126974, 1.622518893176, "598765.20", "1187654.30", "JQ 98765 87654" },
        // 499999.6 rounds to 500000 m and so counts in the T column.
        { "easting rounds to 500 km", 52.138826801417, -0.538649465718, "499999.60", "250000.20",
            "TL 00000 50000" },
    };
    for (const Example& x : examples) {
        SCOPED_TRACE(x.what);
        const Texts numeric = Convert(x.lat, x.lon, false);
        EXPECT_EQ(numeric.easting, x.easting);
        EXPECT_EQ(numeric.northing, x.northing);
        EXPECT_EQ(numeric.gridRef, "g-untouched");
        const Texts lettered = Convert(x.lat, x.lon, true);
        EXPECT_EQ(lettered.gridRef, x.gridRef);
        EXPECT_EQ(lettered.easting, "e-untouched");
        EXPECT_EQ(lettered.northing, "n-untouched");
    }
}

// Limits one centimetre either side, and garbage (NaN, infinities, huge
// values) that must be caught before any lettering. Off the grid all three
// texts are written, in either mode.
TEST(LatGrid, GridAreaLimitsAndGarbage)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        double lat, lon;
        bool onGrid;
    };
    const Case cases[] = {
        { "easting 699999.99", 52.514765057719, 2.422409192633, true },
        { "easting 700000.01", 52.514765046716, 2.422409486506, false },
        { "northing 0.01", 49.891208318460, -3.392358122036, true },
        { "northing -0.01", 49.891208138614, -3.392358116860, false },
        { "northing 1299999.99", 61.581679212265, -2.0, true },
        { "northing 1300000.01", 61.581679391824, -2.0, false },
        { "easting 0.01", 54.238712553010, -8.141752891810, true },
        { "easting -0.01", 54.238712537403, -8.141753196948, false },
        { "Rockall", 57.596, -13.687, false },
        { "NaN latitude", nan, 0.0, false },
        { "NaN longitude", 52.0, nan, false },
        { "infinite latitude", inf, 0.0, false },
        { "infinite longitude", 52.0, -inf, false },
        { "huge", 1e300, 1e300, false },
        { "huge longitude", 52.0, 1e10, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool lettered : { false, true }) {
            const Texts t = Convert(c.lat, c.lon, lettered);
            if (c.onGrid) {
                EXPECT_NE(t.easting, kNumericOff);
                EXPECT_NE(t.gridRef, kLetteredOff);
            } else {
                EXPECT_EQ(t.easting, kNumericOff);
                EXPECT_EQ(t.northing, kNumericOff);
                EXPECT_EQ(t.gridRef, kLetteredOff);
            }
        }
    }
}

// Reference values from PROJ's exact transverse Mercator on the same
// ellipsoid and origin; the series must agree to the centimetre across
// Great Britain, out to St Kilda 6.5 degrees from the central meridian.
TEST(LatGrid, AgreesWithReferenceTableToTheCentimetre)
{
    const auto points = LoadOsGridPoints();
    ASSERT_GE(points.size(), 20u);
    for (const OsGridPoint& p : points) {
        SCOPED_TRACE(p.name);
        const geodesy::GridXY g = geodesy::OSGridFromLatLong(p.latitude, p.longitude);
        EXPECT_NEAR(g.easting, p.easting, 0.01);
        EXPECT_NEAR(g.northing, p.northing, 0.01);
    }
}
