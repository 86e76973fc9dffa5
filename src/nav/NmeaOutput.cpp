#include "nav/NmeaOutput.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "rtl/Numbers.h"

#include <cmath>
#include <string>

namespace
{

// A heading for the HSC sentence: folded into 0 to 359.9 and written with
// one decimal in a field 5 wide, less one leading blank ("47.5", " 5.0").
std::string HeadingField(double degrees)
{
    double folded = std::fmod(degrees, 360.0);
    if (folded < 0)
        folded += 360.0;
    std::string text = rtl::StrReal(folded, 5, 1);
    if (text == "360.0") // 359.95 and above round up to a full turn
        text = rtl::StrReal(0.0, 5, 1);
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return text;
}

// A true course in whole degrees, three digits, 000 to 359.
std::string WholeCourseText(double degrees)
{
    const int64_t whole = rtl::Round(degrees) % 360;
    return rtl::ZeroFilledInt(whole < 0 ? whole + 360 : whole, 3);
}

} // namespace

void BuildNmeaOutput()
{
    NmeaOutput.clear();
    UserSentenceTooLong = false;
    if (!NmeaOpen || RouteCount < 1 || ActiveWaypoint < 1 || ActiveWaypoint > RouteCount || !NmeaOutputOn)
        return;

    // A sentence with a figure that is not known is left out, not sent with
    // a made-up one.
    const auto add = [](std::string_view pattern) {
        if (const std::optional<std::string> sentence = ExpandNmeaSentence(pattern))
            NmeaOutput += *sentence;
    };
    const std::string legStatus = LegStatusText.str() + LegStatusText.str();
    // NMEA 0183 mode indicator: A autonomous (from a fix), E estimated (from
    // a dead-reckoned position).
    const std::string mode = FixStatus == "DR" ? "E" : "A";
    if (OutXTE)
        add("$ECXTE" + legStatus + ",@x," + mode + "@e@l");
    // Without a heading to steer for this fix (a cross-stream the hull speed
    // cannot match), APB keeps its cross-track error and bearing, and its heading
    // field and that field's unit are left empty; HSC, which says nothing
    // else, is left out.
    const bool steered = std::isfinite(Heading);
    if (OutAPB)
        add("$ECAPB" + legStatus + ",@x,,,,,@w,@b,T," + (steered ? "@h,T" : ",") + "," + mode + "@e@l");
    if (OutHSC && steered)
        add("$ECHSC," + HeadingField(Heading) + ",T," + HeadingField(MagneticDegrees(Heading)) + ",M@e@l");
    // BOD has six fields (true and magnetic bearing, destination, origin):
    // no empty seventh field before the checksum, which a strict listener
    // would take for a malformed sentence. Its bearing is the one from the
    // origin to the destination, the course of the leg; with no origin to
    // name (a leg from where the boat was) it is the one from the present
    // position.
    if (OutBOD) {
        if (TrimNameField(OriginWaypointName.view(), 1, 6).empty())
            add("$ECBOD,@b,T,@^,M,@w,@<@e@l");
        else if (std::isfinite(XteRefCourse))
            add("$ECBOD," + WholeCourseText(XteRefCourse) + ",T,"
                + rtl::ZeroFilledInt(WholeMagneticDegrees(XteRefCourse), 3) + ",M,@w,@<@e@l");
    }
    // The line end is added after the expansion: a user template ending in a
    // stray '@' must not swallow it and run into the next fix's output.
    // A user sentence longer than an NMEA sentence may be (82 characters
    // with its '$' and CR LF) is left out alone: the others go out.
    if (OutUser) {
        if (const std::optional<std::string> sentence = ExpandNmeaSentence(UserSentenceTemplate)) {
            const std::string lines = *sentence + "\r\n";
            bool fits = true;
            for (std::size_t at = 0, end; (end = lines.find("\r\n", at)) != std::string::npos; at = end + 2)
                fits = fits && end + 2 - at <= kMaxNmeaSentence;
            if (fits)
                NmeaOutput += lines;
            else
                UserSentenceTooLong = true;
        }
    }
}
