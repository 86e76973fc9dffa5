#pragma once
// Reading the text survey log back for the chart: which field of a record
// holds a template code's value, the records' positions and values, the
// event lines, and the colour scale of the value blobs. The file's form is
// in nav/TextLog.h; its second line is the template the records were
// written with, and only that line says where a value stands.
//
//   @f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y
//   00012,07-12-26,094737,5048.0000,N,00118.0000,W,1-08,235,5.8Kn,4.2,...
//
// Every '@' code followed by a comma is one field; a position code ('@p' for
// the vessel, '@>' for the towed body) is four: latitude DDMM.mmmm, N or S,
// longitude DDDMM.mmmm, W or E, with or without a ":n" suffix. So in the
// template above '@v' is field 11 and '@p' fields 4 to 7.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The field number (1-based) of the code `letter` in `recordTemplate`,
// letters compared without regard to case. A letter the template does not
// hold gives the field after the last code counted.
int TemplateFieldNumber(std::string_view recordTemplate, char letter);

// Field `n` (1-based) of a comma-separated line, or nullopt when the line
// has fewer fields.
std::optional<std::string> CsvField(std::string_view line, int n);

// The number at the start of a field: the text up to its first blank (at
// most 79 characters); 0 when that is not a number.
double LeadingNumber(std::string_view text);

// A position written as four fields from field `f`: latitude DDMM.mmmm,
// "N"/"S", longitude DDDMM.mmmm, "W"/"E". Degrees, longitude west positive.
struct SurveyPosition {
    double lat = -1;
    double lon = -1;
};
std::optional<SurveyPosition> ParseSurveyPosition(std::string_view line, int f);

// The blob colour (Windows BGR) of `value` on a scale of `range`: ten
// colours by tenth of the range, black for the lowest tenth, then navy,
// purple, green, teal, blue, aqua, lime, yellow, red, and white just above
// the range. A value at or below 0 is black; one beyond the top, white.
uint32_t BlobColour(double value, double range);

// What the chart plot needs of a log, taken from the view and the data-trend
// selection.
struct SurveyWalkOptions {
    char positionCode = 'P'; // 'P' the vessel, '>' the towed body
    char trendField = '-'; // the graded code's letter; '-' none
    // With showLastN only records numbered from fixNumber - showCount up to
    // the selection end (when there is one) are used.
    bool showLastN = true;
    int64_t showCount = 100;
    int64_t fixNumber = 0; // records in the log
    std::optional<int64_t> selectionStart, selectionEnd; // record numbers
    double chartOffsetLat = 0, chartOffsetLon = 0; // added / taken off the positions
};

// One record to plot.
struct SurveyPoint {
    double lat = 0, lon = 0; // chart datum, longitude west positive
    bool penUp = false; // not joined to the point before ("# -b" marker)
    std::string trendText; // the graded field as written
    double trendValue = 0;
    std::optional<std::string> eventText; // the event line before it
    int trendColumn = 0; // data-trend plot column of this record
};

enum class SurveyLogFault {
    None,
    NotALog, // the first line is not a text log header
    BadLine, // a record too short for the template: the plot ends there
};

struct SurveyWalk {
    SurveyLogFault fault = SurveyLogFault::None;
    std::vector<SurveyPoint> points;
};

// The message for a fault.
const char* SurveyLogFaultText(SurveyLogFault fault);

// Walks the lines of a text log (header, template, records). A line no
// longer than the template that does not begin with '*' is an event line
// too, as are lines beginning with '*' or '#'; lines of 0 or 1 character
// are skipped. Every line is kept (SurveyTrail with no bound).
SurveyWalk WalkSurveyLog(const std::vector<std::string>& lines, const SurveyWalkOptions& options);

// A plot coordinate rounded to a whole pixel (half to even); NaN gives 0 and
// values far off any plot are clamped well inside int.
int ClampedPixel(double value);

// ---- The data-trend plot (117 x 86 pixels) of the main window

constexpr int kTrendPlotWidth = 117;
constexpr int kTrendPlotHeight = 86;

// The gain box: 0 (or less) counts as 1; steps of 1 below 100, of 100 from
// 100 up; the full scale it gives, "Full Scale=22.50|" for 200.
int TrendGain(int typed);
int TrendGainStep(int gain);
std::string TrendFullScaleHint(int gain);

// The row of a value: the zero line at half the height, up for positive
// values (down with the sign reversed), gain / 100 pixels per unit.
int TrendRow(double value, int gain, bool reversed);

// The last value's text: 2 decimals, 4 from a gain of 1000.
std::string TrendValueText(double value, int gain);

// The log record under plot column x (0..116) of a log of `fixNumber`
// records.
int64_t TrendRecordAt(int64_t fixNumber, int x);

// A selection made with the mouse, its two ends in the order they were set.
// A selection dragged from right to left is taken from its smaller end.
struct TrendSelection {
    int64_t start = 0, end = 0;
    int leftX = 0, rightX = 0;
};
TrendSelection OrderTrendSelection(int64_t pressRecord, int pressX, int64_t releaseRecord, int releaseX);
