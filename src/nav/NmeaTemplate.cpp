#include "nav/NmeaTemplate.h"

#include "nav/LatLonText.h"
#include "nav/LocalClock.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/TemplateScan.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

// The whole degrees and the minutes of an angle, both without sign:
// dd (width) then mm.mm (decimals + 3 wide). Minutes that round up to 60
// carry into the degrees, so a sentence never carries 60 minutes.
std::string DegreesAndMinutes(double value, int degreeWidth, int minuteWidth, int decimals)
{
    const DegreesMinutesText split = SplitDegreesMinutes(value, minuteWidth, decimals);
    return rtl::ZeroFilledInt(split.degrees, degreeWidth) + split.minutes;
}

// Course fields hold 000 to 359: a course text that reads 360 or more (a
// rounded bearing of 359.6) or below 0 is folded into that range. Any other
// text, including one that is not a number, is kept as it stands.
std::string FoldedCourseText(const std::string& text)
{
    int64_t value = 0;
    if (!rtl::ParseInt(text, value) || (value >= 0 && value < 360))
        return text;
    return rtl::ZeroFilledInt(((value % 360) + 360) % 360, 3);
}

// The six-character form of a waypoint name for the destination and origin
// fields: blanks, points and apostrophes become '_'. The kept name takes the
// short form; the field is its upper-case copy.
std::string ShortWaypointName(rtl::ShortString<33>& kept)
{
    std::string name = TrimNameField(kept.view(), 1, 6);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == ' ' || c == '.' || c == '\''; }, '_');
    kept = name;
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return SentenceSafeText(name);
}

// The text of a common code as it goes into a sentence. Received sentence
// fields, the receiver's fix quality and satellite count, layout texts and
// the cursor readout come from outside the program: they go in without any
// character that could change the sentence's structure. The fix status is
// the head of a received sentence ("$GPRMC"): its leading '$' or '!' is what
// the code is for, the rest is received text.
std::string CommonCodeText(char code, const std::string& text)
{
    if (code == '$' && !text.empty())
        return text.front() + SentenceSafeText(std::string_view(text).substr(1));
    if ((code >= '0' && code <= '9') || std::string_view("+[]OUQ").find(code) != std::string_view::npos)
        return SentenceSafeText(text);
    return text;
}

// Codes whose text is a number or a figure of the navigation panel.
bool IsFigureCode(char code)
{
    return std::string_view("#ABCFGHMPRSTVXY>~^").find(code) != std::string_view::npos;
}

// A figure text the program made from a number that is not finite ("Nan",
// "+Inf" from the number texts of rtl/Numbers.h), or the panel's mark for a
// figure it has not got ("********").
bool FigureUnknown(std::string_view text)
{
    return text.find('*') != std::string_view::npos || rtl::HoldsNonFiniteText(text);
}

std::string UpToFirstBlank(const std::string& text)
{
    return text.substr(0, text.find(' '));
}

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

// Every character of `output` from `start` (0-based) as it will be sent:
// a blank goes out as '0' and '|' as a blank.
std::string SentChecksum(const std::string& output, std::size_t start)
{
    std::string sent = output.substr(std::min(start, output.size()));
    for (char& c : sent) {
        if (c == ' ')
            c = '0';
        else if (c == '|')
            c = ' ';
    }
    return NmeaChecksum(sent, 1);
}

// Reads the walk of one template: the position, the suffixes a code may take,
// and the output so far with the start of its checksum.
class TemplateWalk
{
public:
    explicit TemplateWalk(std::string_view pattern)
        : scan_(pattern)
    {
        // The present position of '@P' and '@Y': the newest track record
        // brought to the chart datum, or the present position itself while
        // the track log is empty.
        const int count = std::clamp<int>(LogCount, 0, kMaxLogRecords);
        if (count > 0) {
            presentLat_ = static_cast<double>(LogRecords[count].lat) + ChartOffsetLat;
            presentLon_ = static_cast<double>(LogRecords[count].lon) - ChartOffsetLon;
        } else {
            presentLat_ = CurLat;
            presentLon_ = CurLon;
        }
    }

    // False once a figure the template inserted was not known.
    bool Known() const { return known_; }

    std::string Run()
    {
        while (!scan_.AtEnd()) {
            const char c = scan_.Next();
            if (c != '@') {
                if (c == '$')
                    checksumStart_ = output_.size() + 1;
                output_ += c;
                continue;
            }
            if (!scan_.AtEnd())
                Insert(static_cast<char>(std::toupper(static_cast<unsigned char>(scan_.Next()))));
        }
        for (char& c : output_) {
            if (c == ' ')
                c = '0';
        }
        std::replace(output_.begin(), output_.end(), '|', ' ');
        return std::move(output_);
    }

private:
    void Insert(char code)
    {
        const std::size_t start = output_.size();
        InsertText(code);
        if (IsFigureCode(code) && FigureUnknown(std::string_view(output_).substr(start)))
            known_ = false;
    }

    void InsertText(char code)
    {
        if (const auto common = scan_.CommonCode(code)) {
            output_ += CommonCodeText(code, *common);
            return;
        }
        switch (code) {
        case 'A':
            output_ += rtl::StrInt(std::abs(static_cast<int>(MagVariation)), 3)
                + (MagVariation < 0 ? ",W" : ",E");
            break;
        case 'B':
            output_ += FoldedCourseText(BearingText);
            break;
        case 'C':
            output_ += FoldedCourseText(scan_.Takes('^') ? CogMagText : CogText);
            break;
        case 'D': {
            const LocalDateTime now = LocalNow();
            if (scan_.Takes(':'))
                output_ += TwoDigits(now.day) + "," + TwoDigits(now.month) + "," + rtl::StrInt(now.year);
            else if (scan_.Takes('/'))
                output_ += TwoDigits(now.day) + "/" + TwoDigits(now.month) + "/" + TwoDigits(now.year);
            else
                output_ += TwoDigits(now.day) + TwoDigits(now.month) + TwoDigits(now.year);
            break;
        }
        case 'E':
            output_ += SentChecksum(output_, checksumStart_);
            break;
        case 'H':
            // Without a heading to steer for this fix the text is the panel's
            // (the set of the stream), not a heading to send.
            if (!std::isfinite(Heading))
                known_ = false;
            output_ += FoldedCourseText(CtsText);
            break;
        case 'L':
            output_ += "\r\n";
            break;
        case 'P':
            output_ += DegreeMinuteText(presentLat_, presentLon_, scan_.Decimals());
            break;
        case 'R':
            output_ += UpToFirstBlank(RangeText);
            break;
        case 'T':
            if (scan_.Takes(':')) {
                const LocalDateTime now = LocalNow();
                output_ += TwoDigits(now.hour) + ":" + TwoDigits(now.minute) + ":" + TwoDigits(now.second);
            } else {
                output_ += FixTimeText.str();
            }
            break;
        case 'V':
            output_ += UpToFirstBlank(VmgText);
            break;
        case 'W':
            output_ += ShortWaypointName(DestWaypointName);
            break;
        case 'X':
            output_ += XteText + "N";
            break;
        case 'Y':
            output_ += rtl::StrReal(presentLat_, 0, 8) + "," + rtl::StrReal(0.0 - presentLon_, 0, 8);
            break;
        case '<':
            output_ += ShortWaypointName(OriginWaypointName);
            break;
        case '^': {
            if (!std::isfinite(WaypointBearing))
                known_ = false;
            output_ += rtl::StrInt(WholeMagneticDegrees(WaypointBearing), 3);
            break;
        }
        default:
            break; // not a code: dropped with its '@'
        }
    }

    TemplateScan scan_;
    std::string output_;
    std::size_t checksumStart_ = 0; // 0-based, into output_
    double presentLat_ = 0.0;
    double presentLon_ = 0.0;
    bool known_ = true;
};

} // namespace

std::string NmeaChecksum(std::string_view text, int start)
{
    unsigned sum = 0;
    for (std::size_t i = static_cast<std::size_t>(std::max(start, 1)) - 1; i < text.size(); ++i)
        sum ^= static_cast<unsigned char>(text[i]);
    char hex[8];
    std::snprintf(hex, sizeof hex, "*%02X", sum & 0xFF);
    return hex;
}

bool IsSentenceReserved(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b > 0x7E || std::string_view("$!*,\\^~").find(c) != std::string_view::npos;
}

std::string SentenceSafeText(std::string_view text)
{
    std::string safe(text);
    std::replace_if(safe.begin(), safe.end(), IsSentenceReserved, '_');
    return safe;
}

std::string TrimNameField(std::string_view name, int first, int count)
{
    const std::string_view head = name.substr(0, 33);
    const std::size_t from = static_cast<std::size_t>(std::max(first, 1)) - 1;
    if (from >= head.size() || count <= 0)
        return {};
    std::string field(head.substr(from, static_cast<std::size_t>(count)));
    while (!field.empty() && (field.back() == ' ' || field.back() == '@'))
        field.pop_back();
    return field;
}

std::string DegreeMinuteText(double lat, double lon, int decimals)
{
    const int minuteWidth = decimals < 0 ? 5 : decimals + 3;
    const int minuteDecimals = decimals < 0 ? 2 : decimals;
    std::string text = DegreesAndMinutes(lat, 2, minuteWidth, minuteDecimals) + (lat >= 0 ? ",N," : ",S,")
        + DegreesAndMinutes(lon, 3, minuteWidth, minuteDecimals) + (lon >= 0 ? ",W" : ",E");
    std::replace(text.begin(), text.end(), ' ', '0');
    return text;
}

std::string ExpandNmeaTemplate(std::string_view pattern)
{
    return TemplateWalk(pattern).Run();
}

std::optional<std::string> ExpandNmeaSentence(std::string_view pattern)
{
    TemplateWalk walk(pattern);
    std::string sentence = walk.Run();
    if (!walk.Known())
        return std::nullopt;
    return sentence;
}
