#include "nav/TemplateScan.h"

#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "nav/RouteEdit.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cctype>

bool TemplateScan::Takes(char suffix)
{
    if (!AtEnd() && pattern_[pos_] == suffix) {
        ++pos_;
        return true;
    }
    return false;
}

int TemplateScan::Decimals()
{
    if (!Takes(':'))
        return -1;
    if (AtEnd())
        return 0;
    const char n = Next();
    return std::isdigit(static_cast<unsigned char>(n)) ? n - '0' : 0;
}

std::optional<std::string> TemplateScan::CommonCode(char code)
{
    switch (code) {
    case '#':
        return rtl::StrInt(ActiveWaypoint);
    case '$':
        return FixStatus.str();
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
        return NmeaFields[static_cast<std::size_t>(code - '0')].str();
    case '+':
        return "T:" + TowLayoutTexts[1] + ":" + TowLayoutTexts[2].str();
    case '[':
        return "L:" + TowLayoutTexts[3] + ":" + TowLayoutTexts[4].str();
    case ']':
        return "R:" + TowLayoutTexts[5] + ":" + TowLayoutTexts[6].str();
    case 'F':
        return rtl::ZeroFilledInt(FixNumber, 5);
    case 'G':
        return TtgText.str();
    case 'M':
        return FormatRouteDistance();
    case 'O':
    case 'U':
        return CursorPositionText;
    case 'Q':
        return FixQuality + "-" + SatCount.str();
    case 'S':
        return SogText.str();
    case '>': {
        const int decimals = Decimals();
        TowLat = TowLayoutPoints[5].lat;
        TowLon = TowLayoutPoints[5].lon;
        return DegreeMinuteText(TowLat - ChartOffsetLat, TowLon + ChartOffsetLon, decimals);
    }
    case '~': {
        const int decimals = Decimals();
        if (ActiveWaypoint < 1 || ActiveWaypoint > std::min<int>(RouteCount, kMaxRoutePoints))
            return std::string();
        const TPosition& waypoint = RoutePoints[ActiveWaypoint];
        return DegreeMinuteText(waypoint.lat, waypoint.lon, decimals);
    }
    default:
        return std::nullopt;
    }
}
