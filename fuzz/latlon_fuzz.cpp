// Latitude/longitude text reader on arbitrary text: the input is a latitude
// text and, after the first line break, a longitude text. Whatever position
// it reads, the formatted texts have their fixed lengths (for longitudes
// under 1000 degrees), and after one more reading (which may settle a
// hemisphere letter of a position that shows as zero) texts and positions
// go round unchanged. Every text the formatter writes reads whole, and
// texts completed as the position fields complete them that read whole are
// read in full by the fixed-place reader as well.
#include "nav/LatLonText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t brk = input.find('\n');
    const std::string latText = input.substr(0, brk);
    const std::string lonText = brk == std::string::npos ? std::string() : input.substr(brk + 1);

    double lat = 0, lon = 0;
    ParseLatLonDM(latText, lonText, lat, lon);
    if (!(lat >= -80 && lat <= 84) || !std::isfinite(lon))
        std::abort();

    const std::string latTyped = CompleteLatitudeText(latText);
    const std::string lonTyped = CompleteLongitudeText(lonText);
    double typedLat = 0, typedLon = 0;
    if (ReadLatitudeWhole(latTyped) == LatLonReading::Whole
        && ReadLongitudeWhole(lonTyped) == LatLonReading::Whole
        && !ParseLatLonDM(latTyped, lonTyped, typedLat, typedLon))
        std::abort();

    std::string lat1, lon1;
    FormatLatLonDM(lat, lon, lat1, lon1);
    if (lat1.size() != 12 || (std::fabs(lon) < 999 && lon1.size() != 13))
        std::abort();
    if (ReadLatitudeWhole(lat1) != LatLonReading::Whole
        || (std::fabs(lon) <= 180 && ReadLongitudeWhole(lon1) != LatLonReading::Whole))
        std::abort();
    if (std::fabs(lon) >= 999)
        return 0;
    std::string lat2, lon2, lat3, lon3;
    if (!ParseLatLonDM(lat1, lon1, lat, lon))
        std::abort();
    FormatLatLonDM(lat, lon, lat2, lon2);
    if (!ParseLatLonDM(lat2, lon2, lat, lon))
        std::abort();
    FormatLatLonDM(lat, lon, lat3, lon3);
    if (lat3 != lat2 || lon3 != lon2)
        std::abort();
    return 0;
}
