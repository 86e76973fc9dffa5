#include "GridTables.h"
#include "nav/geodesy/Lat_Grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using geodesy::LatLongToOSGrid;
using geodesy::OSGridFromLatLong;

namespace
{

const std::string kNumericOff = "**********";
const std::string kLetteredOff = "**************";

struct Texts {
    std::string northing = "n-untouched";
    std::string easting = "e-untouched";
    std::string gridRef = "g-untouched";
};

Texts Numeric(double lat, double lon)
{
    Texts t;
    LatLongToOSGrid(lat, lon, false, t.northing, t.easting, t.gridRef);
    return t;
}

Texts Lettered(double lat, double lon)
{
    Texts t;
    LatLongToOSGrid(lat, lon, true, t.northing, t.easting, t.gridRef);
    return t;
}

} // namespace

TEST(LatGrid, NorwichInBothModesWritesOnlyItsOwnTexts)
{
    const Texts numeric = Numeric(52.6575703, 1.7179216);
    EXPECT_EQ(numeric.easting, "651409.90");
    EXPECT_EQ(numeric.northing, "313177.27");
    EXPECT_EQ(numeric.gridRef, "g-untouched");

    const Texts lettered = Lettered(52.6575703, 1.7179216);
    EXPECT_EQ(lettered.gridRef, "TG 51410 13177");
    EXPECT_EQ(lettered.easting, "e-untouched");
    EXPECT_EQ(lettered.northing, "n-untouched");
}

TEST(LatGrid, NorthingOfAMillionMetresTakesTenCharacters)
{
    const Texts numeric = Numeric(60.155, -1.145);
    EXPECT_EQ(numeric.easting, "447461.13");
    EXPECT_EQ(numeric.northing, "1141414.95");
    EXPECT_EQ(Lettered(60.155, -1.145).gridRef, "HU 47461 41415");
}

TEST(LatGrid, LeadingBlanksBecomeZeros)
{
    // 53690.61 E, 812345.67 N (west of the Outer Hebrides).
    const Texts west = Numeric(57.071644429352, -7.716186888261);
    EXPECT_EQ(west.easting, "053690.61");
    EXPECT_EQ(west.northing, "812345.67");
    // 90715.35 E, 10510.07 N (Isles of Scilly): both fields padded.
    const Texts scilly = Numeric(49.914, -6.309);
    EXPECT_EQ(scilly.easting, "090715.35");
    EXPECT_EQ(scilly.northing, "010510.07");
    EXPECT_EQ(Lettered(49.914, -6.309).gridRef, "SV 90715 10510");
}

// The squares east of 500 km and north of 500 km (O and J) hold parts of
// the North Sea, Orkney and Shetland waters; they get letters like the rest.
TEST(LatGrid, EverySquareOfTheGridIsLettered)
{
    EXPECT_EQ(Lettered(52.473, 1.763).gridRef, "TM 55529 92819"); // Lowestoft, T
    EXPECT_EQ(Lettered(57.813, -8.57).gridRef, "NF 10039 99304"); // St Kilda, N
    EXPECT_EQ(Lettered(54.486, -0.615).gridRef, "NZ 89714 10970"); // Whitby, N
    EXPECT_EQ(Lettered(60.856, -0.885).gridRef, "HP 60571 19690"); // Muckle Flugga, H
    EXPECT_EQ(Lettered(56.355780043705, 1.437491975643).gridRef, "OM 12345 23456"); // O
    EXPECT_EQ(Lettered(60.523826126974, 1.622518893176).gridRef, "JQ 98765 87654"); // J
}

TEST(LatGrid, SquareEastAndNorthOf500Kilometres)
{
    // Given to nine decimals the position lies on the 550 km lines.
    const Texts exact = Numeric(54.8222614281, 0.3350369650);
    EXPECT_EQ(exact.easting, "550000.00");
    EXPECT_EQ(exact.northing, "550000.00");
    EXPECT_EQ(Lettered(54.8222614281, 0.3350369650).gridRef, "OV 50000 50000");

    // Rounded to six decimals it lies 5 cm south of the line; the lettered
    // reference rounds to the same whole metre.
    const Texts rounded = Numeric(54.822261, 0.335037);
    EXPECT_EQ(rounded.easting, "550000.00");
    EXPECT_EQ(rounded.northing, "549999.95");
    EXPECT_EQ(Lettered(54.822261, 0.335037).gridRef, "OV 50000 50000");
}

TEST(LatGrid, LetteredReferenceUsesRoundedMetresForTheSquare)
{
    // 499999.6 E, 250000.2 N: the easting rounds to 500000, in the T column.
    EXPECT_EQ(Lettered(52.138826801417, -0.538649465718).gridRef, "TL 00000 50000");
    EXPECT_EQ(Numeric(52.138826801417, -0.538649465718).easting, "499999.60");
}

TEST(LatGrid, GridAreaLimitsInBothModes)
{
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
        { "Channel south of the grid", 48.5, -2.0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Texts numeric = Numeric(c.lat, c.lon);
        const Texts lettered = Lettered(c.lat, c.lon);
        if (c.onGrid) {
            EXPECT_NE(numeric.easting, kNumericOff);
            EXPECT_EQ(numeric.gridRef, "g-untouched");
            EXPECT_EQ(lettered.gridRef.size(), 14u);
            EXPECT_EQ(lettered.easting, "e-untouched");
        } else {
            // Off the grid all three texts are written, in either mode.
            for (const Texts& t : { numeric, lettered }) {
                EXPECT_EQ(t.easting, kNumericOff);
                EXPECT_EQ(t.northing, kNumericOff);
                EXPECT_EQ(t.gridRef, kLetteredOff);
            }
        }
    }
}

TEST(LatGrid, GarbageInputIsOffTheGrid)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[][2] = { { nan, 0.0 }, { 52.0, nan }, { inf, 0.0 }, { 52.0, -inf }, { 1e300, 1e300 },
        { -1e300, 0.0 }, { 52.0, 1e10 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c[0]) + " " + std::to_string(c[1]));
        for (bool lettered : { false, true }) {
            Texts t;
            LatLongToOSGrid(c[0], c[1], lettered, t.northing, t.easting, t.gridRef);
            EXPECT_EQ(t.easting, kNumericOff);
            EXPECT_EQ(t.northing, kNumericOff);
            EXPECT_EQ(t.gridRef, kLetteredOff);
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
        const geodesy::GridXY g = OSGridFromLatLong(p.latitude, p.longitude);
        EXPECT_NEAR(g.easting, p.easting, 0.01);
        EXPECT_NEAR(g.northing, p.northing, 0.01);

        // The texts carry two decimals of the same values.
        const Texts t = Numeric(p.latitude, p.longitude);
        EXPECT_NEAR(std::stod(t.easting), p.easting, 0.015);
        EXPECT_NEAR(std::stod(t.northing), p.northing, 0.015);
        EXPECT_EQ(t.easting.size(), 9u);
        EXPECT_EQ(t.northing.size(), p.northing >= 1000000.0 ? 10u : 9u);
    }
}
