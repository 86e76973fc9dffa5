#include "nav/LogTemplate.h"

#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "nav/TemplateScan.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cctype>

namespace
{

class LogTemplateWalk
{
public:
    LogTemplateWalk(std::string_view pattern, std::string_view waypointBox)
        : scan_(pattern)
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
        while (!scan_.AtEnd()) {
            const char c = scan_.Next();
            if (c != '@')
                output_ += c;
            else if (!scan_.AtEnd())
                Insert(static_cast<char>(std::toupper(static_cast<unsigned char>(scan_.Next()))));
        }
        return std::move(output_);
    }

private:
    void Insert(char code)
    {
        if (const auto common = scan_.CommonCode(code)) {
            output_ += *common;
            return;
        }
        switch (code) {
        case '&':
            output_ += rtl::StrReal(TripTotal, 0, 2);
            break;
        case 'B':
            output_ += BearingText.str();
            break;
        case 'C':
            output_ += (scan_.Takes('^') ? CogMagText : CogText).str();
            break;
        case 'D':
            output_ += LogDateText.str();
            break;
        case 'H':
            output_ += CtsText.str();
            break;
        case 'L':
            output_ += rtl::StrReal(TripLeg, 0, 4);
            break;
        case 'P':
            output_ += DegreeMinuteText(recordLat_, recordLon_, scan_.Decimals());
            break;
        case 'R':
            output_ += RangeText.str();
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
        case 'X': {
            // On the track the figure reads 0.00 from either side, never -0.00.
            const std::string text = rtl::StrReal(XTE, 0, 2);
            output_ += text == "-0.00" ? text.substr(1) : text;
            break;
        }
        case 'Y':
            output_ += rtl::StrReal(recordLat_ + ChartOffsetLat, 0, 8) + ":"
                + rtl::StrReal(0.0 - (recordLon_ - ChartOffsetLon), 0, 8);
            break;
        default:
            break; // not a code: dropped with its '@'
        }
    }

    TemplateScan scan_;
    std::string_view waypointBox_;
    std::string output_;
    double recordLat_ = 0.0; // GPS datum
    double recordLon_ = 0.0;
};

} // namespace

std::string ExpandLogTemplate(std::string_view pattern, std::string_view waypointBox)
{
    return LogTemplateWalk(pattern, waypointBox).Run();
}
