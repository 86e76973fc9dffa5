#include "nav/geodesy/Lat_Grid.h"

#include "nav/geodesy/OsGrid.h"
#include "rtl/Numbers.h"

#include <cstdint>

namespace geodesy
{

namespace
{

const char kNumericOffGrid[] = "**********";
const char kLetteredOffGrid[] = "**************";

bool OnGrid(const GridXY& g)
{
    // Written so that NaN fails every comparison and lands off the grid.
    return g.easting >= 0.0 && g.easting < kOsMaxEasting && g.northing >= 0.0 && g.northing < kOsMaxNorthing;
}

// The lettered reference of a position on the grid. The grid is divided into
// 500 km squares (S, T in the south, N, O in the middle, H, J in the north),
// each into 25 squares of 100 km lettered A to Z without I, row by row from
// the north-west corner. The five digits of each coordinate are whole metres
// inside the 100 km square.
std::string LetteredReference(const GridXY& g)
{
    // Whole metres; a coordinate just below a 100 km line that rounds up to
    // it counts in the square beyond (499999.6 m is in the 500 km column).
    const int64_t e = rtl::Round(g.easting);
    const int64_t n = rtl::Round(g.northing);
    const int64_t e100 = e / 100000; // 0..7 on the grid
    const int64_t n100 = n / 100000; // 0..13 on the grid

    char first;
    int64_t row;
    if (n100 < 5) {
        first = e100 < 5 ? 'S' : 'T';
        row = 4 - n100;
    } else if (n100 < 10) {
        first = e100 < 5 ? 'N' : 'O';
        row = 9 - n100;
    } else {
        first = e100 < 5 ? 'H' : 'J';
        row = 14 - n100;
    }
    const int64_t column = e100 < 5 ? e100 : e100 - 5;
    int64_t k = 5 * row + column;
    if (k > 7)
        ++k; // no I
    const char second = static_cast<char>('A' + k);

    const std::string eText = rtl::ZeroFilledInt(e, 6);
    const std::string nText = rtl::ZeroFilledInt(n, 7);
    std::string ref;
    ref += first;
    ref += second;
    ref += ' ';
    ref += eText.substr(1, 5);
    ref += ' ';
    ref += nText.substr(2, 5);
    return ref;
}

} // namespace

GridXY OSGridFromLatLong(double latitude, double longitude)
{
    const TmProjection p = OsGridProjection();
    const long double phi = DegToRad(latitude);
    const long double lambda = DegToRad(longitude);
    return TmForward(p, phi, lambda - kOsLambda0);
}

void LatLongToOSGrid(double latitude, double longitude, bool lettered, std::string& northingText,
    std::string& eastingText, std::string& gridRef)
{
    const GridXY g = OSGridFromLatLong(latitude, longitude);
    if (!OnGrid(g)) {
        eastingText = kNumericOffGrid;
        northingText = kNumericOffGrid;
        gridRef = kLetteredOffGrid;
        return;
    }
    if (lettered) {
        gridRef = LetteredReference(g);
    } else {
        eastingText = rtl::ZeroFilledReal(g.easting, 9, 2);
        northingText = rtl::ZeroFilledReal(g.northing, 9, 2);
    }
}

} // namespace geodesy
