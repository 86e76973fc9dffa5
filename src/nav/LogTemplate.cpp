#include "nav/LogTemplate.h"

#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "nav/RouteEdit.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cctype>

namespace
{

class LogTemplateWalk
{
public:
    LogTemplateWalk(std::string_view pattern, std::string_view waypointBox)
        : pattern_(pattern)
        , waypointBox_(waypointBox)
    {
        const int count = std::clamp<int>(LogCount, 0, kMaxLogRecords);
        if (count > 0) {
            recordLat_ = static_cast<double>(LogRecords[count].lat);
            recordLon_ = static_cast<double>(LogRecords[count].lon);
        } else {
            recordLat_ = CurLat - ChartOffsetLat;
            recordLon_ = CurLon + ChartOffsetLon;
        }
    }

    std::string Run()
    {
        while (pos_ < pattern_.size()) {
            const char c = pattern_[pos_++];
            if (c != '@')
                output_ += c;
            else if (pos_ < pattern_.size())
                Insert(pattern_[pos_++]);
        }
        return std::move(output_);
    }

private:
    bool Takes(char suffix)
    {
        if (pos_ < pattern_.size() && pattern_[pos_] == suffix) {
            ++pos_;
            return true;
        }
        return false;
    }

    // The ":n" of the position codes, as DegreeMinuteText takes it: -1
    // without a colon; a colon at the end or before a non-digit gives 0.
    int Decimals()
    {
        if (!Takes(':'))
            return -1;
        if (pos_ >= pattern_.size())
            return 0;
        const char n = pattern_[pos_++];
        return std::isdigit(static_cast<unsigned char>(n)) ? n - '0' : 0;
    }

    void Insert(char code)
    {
        switch (std::toupper(static_cast<unsigned char>(code))) {
        case '#':
            output_ += rtl::StrInt(ActiveWaypoint);
            break;
        case '$':
            output_ += FixStatus.str();
            break;
        case '&':
            output_ += rtl::StrReal(TripTotal, 0, 2);
            break;
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
            output_ += NmeaFields[static_cast<std::size_t>(code - '0')].str();
            break;
        case '+':
            output_ += "T:" + TowLayoutTexts[1] + ":" + TowLayoutTexts[2].str();
            break;
        case '[':
            output_ += "L:" + TowLayoutTexts[3] + ":" + TowLayoutTexts[4].str();
            break;
        case ']':
            output_ += "R:" + TowLayoutTexts[5] + ":" + TowLayoutTexts[6].str();
            break;
        case '>': {
            const int decimals = Decimals();
            TowLat = TowLayoutPoints[5].lat;
            TowLon = TowLayoutPoints[5].lon;
            output_ += DegreeMinuteText(TowLat - ChartOffsetLat, TowLon + ChartOffsetLon, decimals);
            break;
        }
        case 'B':
            output_ += BearingText.str();
            break;
        case 'C':
            output_ += (Takes('^') ? CogMagText : CogText).str();
            break;
        case 'D':
            output_ += LogDateText.str();
            break;
        case 'F':
            output_ += rtl::ZeroFilledInt(FixNumber, 5);
            break;
        case 'G':
            output_ += TtgText.str();
            break;
        case 'H':
            output_ += CtsText.str();
            break;
        case 'L':
            output_ += rtl::StrReal(TripLeg, 0, 4);
            break;
        case 'M':
            output_ += FormatRouteDistance();
            break;
        case 'O':
        case 'U':
            output_ += CursorPositionText;
            break;
        case 'P':
            output_ += DegreeMinuteText(recordLat_, recordLon_, Decimals());
            break;
        case 'Q':
            output_ += FixQuality + "-" + SatCount.str();
            break;
        case 'R':
            output_ += RangeText.str();
            break;
        case 'S':
            output_ += SogText.str();
            break;
        case 'T':
            output_ += FixTimeText.str();
            break;
        case 'V':
            output_ += VmgText.str();
            break;
        case 'W':
            output_ += TrimNameField(waypointBox_, 1, 33);
            break;
        case 'X':
            output_ += rtl::StrReal(XTE, 0, 2);
            break;
        case 'Y':
            output_ += rtl::StrReal(recordLat_ + ChartOffsetLat, 0, 8) + ":"
                + rtl::StrReal(0.0 - (recordLon_ - ChartOffsetLon), 0, 8);
            break;
        case '~': {
            const int decimals = Decimals();
            if (ActiveWaypoint >= 1 && ActiveWaypoint <= std::min<int>(RouteCount, kMaxRoutePoints)) {
                const TPosition& waypoint = RoutePoints[ActiveWaypoint];
                output_ += DegreeMinuteText(waypoint.lat, waypoint.lon, decimals);
            }
            break;
        }
        default:
            break; // not a code: dropped with its '@'
        }
    }

    std::string_view pattern_;
    std::string_view waypointBox_;
    std::size_t pos_ = 0;
    std::string output_;
    double recordLat_ = 0.0; // GPS datum
    double recordLon_ = 0.0;
};

} // namespace

std::string ExpandLogTemplate(std::string_view pattern, std::string_view waypointBox)
{
    return LogTemplateWalk(pattern, waypointBox).Run();
}
