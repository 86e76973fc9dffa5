#pragma once
// One line of a position list turned into one chart point, and the sample
// lines the window shows for each input format.
//
// Input lines hold one position each, latitude north positive, longitude
// EAST positive (the chart point keeps it west positive, so it is negated):
//   OS GB grid            "553690.6 223163.5"         easting, a blank, northing (metres)
//   decimal degrees       "51.88627587<sep>0.22884737"
//   degrees and minutes   "51.22.7587<sep>001.50.4737"  51°22.7587', 1°50.4737'
// With `reverse` the longitude comes first (the window's default).

#include "nav/NavTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace converter
{

enum class TInputFormat { Grid, DecimalDegrees, DegreesMinutes, DegreesMinutesSeconds };

struct TLineOptions {
    TInputFormat format = TInputFormat::DecimalDegrees;
    bool reverse = true; // longitude first (not for grid input)
    std::optional<char> separator = '\t'; // nullopt: none chosen
    int lineStyleOffset = 0; // 200 × line style, added to every latitude
};

struct TLineResult {
    std::string display; // the text shown for the line
    // Set for a grid position outside 49..61 N, 7.5 W..2 E: the line the
    // window adds to its results, after a beep. The point is then a pen-up.
    std::optional<std::string> rejected;
    // Set for a line that gives no position: a value missing or not read
    // whole as a number, not finite, or beyond what a position can be
    // (latitude beyond 90°, longitude beyond 180°, minutes not below 60).
    // The point is left as it was.
    bool unreadable = false;
};

// Converts `line` into `point`. Grid positions outside the grid box give
// the pen-up point; a line without a position leaves the point as it was.
// The degrees and minutes seconds format converts nothing: the point keeps
// its value.
TLineResult ConvertLine(const std::string& line, const TLineOptions& options, ChartPoint& point);

// The separator character of a separator choice: "Space" a blank, "Tab" the
// tab character, any other text its first character ("None" gives 'N');
// nullopt for an empty text.
std::optional<char> SeparatorOf(const std::string& choice);

// "Sample Format Required" and three lines showing the format; empty for
// the degrees, minutes and seconds format, which has no sample.
std::vector<std::string> SampleFormat(TInputFormat format, bool reverse);

} // namespace converter
