#include "nav/PositionReadout.h"

#include "nav/LatLonText.h"
#include "nav/NavState.h"
#include "nav/geodesy/Lat_Grid.h"
#include "nav/geodesy/UTM_Grid.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr std::size_t kMaxReadout = 60;

std::string ZeroBlanks(std::string text)
{
    std::replace(text.begin(), text.end(), ' ', '0');
    return text;
}

// One coordinate: degrees in `degreeWidth` characters, the degree sign and
// the minutes, then the hemisphere letter.
std::string Coordinate(double value, int degreeWidth, char positive, char negative)
{
    const char hemisphere = value >= 0 ? positive : negative;
    if (AltPositionFormat) {
        // Decimal minutes; minutes that round up to 60 carry into the degrees.
        const DegreesMinutesText dm = SplitDegreesMinutes(std::fabs(value), 7, 4);
        return ZeroBlanks(rtl::StrInt(dm.degrees, degreeWidth)) + "\xB0" + dm.minutes + hemisphere;
    }
    const double magnitude = std::fabs(value);
    const int64_t degrees = rtl::Trunc(magnitude);
    const double minutes = 60 * (magnitude - static_cast<double>(degrees));
    const int64_t wholeMinutes = rtl::Trunc(minutes);
    // Seconds truncated to tenths.
    const double seconds = static_cast<double>(rtl::Trunc(rtl::Frac(minutes) * 600)) / 10;
    return ZeroBlanks(rtl::StrInt(degrees, degreeWidth) + "\xB0" + rtl::StrInt(wholeMinutes, 2) + "'"
               + rtl::StrReal(seconds, 4, 1))
        + hemisphere;
}

} // namespace

std::string CursorPositionReadout(double latitude, double longitude)
{
    std::string text;
    if (GridDisplay && GridDatum == 0) {
        std::string northing, easting, gridRef;
        geodesy::LatLongToOSGrid(latitude, -longitude, AltPositionFormat, northing, easting, gridRef);
        text = AltPositionFormat ? gridRef : "E" + easting + " N" + northing;
    } else if (GridDisplay && GridDatum >= 1 && GridDatum <= 8) {
        std::string northing, easting;
        geodesy::LatLongToUTM(latitude, -longitude, GridDatum, northing, easting);
        text = easting + northing;
    } else {
        text = Coordinate(latitude, 2, 'N', 'S') + " " + Coordinate(longitude, 3, 'W', 'E');
    }
    if (text.size() > kMaxReadout)
        text.resize(kMaxReadout);
    return text;
}
