#pragma once
// The walk over an '@' template shared by korvex's two template languages:
// the output sentences (nav/NmeaTemplate.h) and the main window's record
// line (nav/LogTemplate.h). Both copy plain characters, read the character
// after '@' as a code without regard to case, and give most codes the same
// value; CommonCode holds those.

#include <optional>
#include <string>
#include <string_view>

class TemplateScan
{
public:
    explicit TemplateScan(std::string_view pattern)
        : pattern_(pattern)
    {
    }

    bool AtEnd() const { return pos_ >= pattern_.size(); }
    // The next character; only when not AtEnd.
    char Next() { return pattern_[pos_++]; }
    // Consumes `suffix` when it comes next.
    bool Takes(char suffix);
    // The ":n" of the position codes: the decimals of the minutes, or -1
    // (two decimals, five wide) without it. Any character after the ':' is
    // consumed; one that is not a digit counts as 0, and so does a ':' at
    // the end.
    int Decimals();

    // The value of a code that both languages insert alike, its suffix
    // consumed; nullopt for any other code. `code` is upper case.
    //   #  ActiveWaypoint          0..9  NmeaFields[0..9]
    //   $  FixStatus               +, [, ]  "T:", "L:", "R:" and layout
    //   F  FixNumber, five digits           texts 1:2, 3:4, 5:6
    //   G  TtgText                 M  the measure readout while measuring
    //   O, U  CursorPositionText   Q  FixQuality "-" SatCount
    //   S  SogText
    //   > :n  towed body (layout point 5, copied into TowLat and TowLon)
    //         less the chart datum offsets, degrees and minutes
    //   ~ :n  active route waypoint as it stands, degrees and minutes;
    //         nothing while none is active
    std::optional<std::string> CommonCode(char code);

private:
    std::string_view pattern_;
    std::size_t pos_ = 0;
};
