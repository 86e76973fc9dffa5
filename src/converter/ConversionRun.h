#pragma once
// One conversion run: a position list read line by line into the point
// store, shown as it goes, and in Create mode written as a korvex chart file
// with its chart configuration file beside it.
//
// The chart file holds, in order: 6 pen-ups, one record per line after the
// skipped ones (a pen-up for an empty line, a comment line starting with '#',
// a line starting with the separator, a line that reads as 0° 0°, a grid
// position outside the grid area and a line that gives no position), then
// 5 pen-ups. Lines may end with CR LF, LF or CR alone. At most 10789 lines are
// taken, so the file never holds more than the 10800 records korvex loads.
// Datum offsets are added to every record that is not a pen-up.

#include "converter/ConvertLine.h"
#include "nav/NavTypes.h"

#include <functional>
#include <string>
#include <vector>

namespace converter
{

// The window's choices for a run, as the controls show them.
struct TRunOptions {
    std::string inputFile;
    std::string outputFile; // chart or layer file
    bool createFile = true; // false: Test, nothing is written
    TInputFormat format = TInputFormat::DecimalDegrees;
    bool reverse = true;
    std::string separator = "Tab"; // the separator choice, see SeparatorOf
    int latOffset = 0; // datum offsets, thousandths of a minute, W and S negative
    int lonOffset = 0;
    int lineStyle = 0; // 0..6
    std::string skipFirst = "0"; // lines to skip, a whole number
    bool filter = false; // drop the first line of each pair
};

// Where a run shows its progress and results.
struct TRunDisplay {
    std::function<void()> clearResults;
    std::function<void(const std::string&)> addResult;
    // The line count, right-aligned in 4 characters, after every line read.
    std::function<void(const std::string&)> showProgress;
};

class TConverter
{
public:
    static constexpr int kStoreRecords = 10800;
    static constexpr int kLeadingPenUps = 6;
    static constexpr int kTrailingPenUps = 5;
    // The record index stops taking lines here: 6 + 10789 + 5 = 10800.
    static constexpr int kLastLineRecord = kStoreRecords - kTrailingPenUps;
    // Lines shown in the results: those counted below skip + kShownLines.
    static constexpr int kShownLines = 300;

    TConverter();

    // Runs a conversion. Every option is checked before anything is read or
    // written; a bad one is reported and the run does not start. The chart
    // file goes to a temporary file renamed over the old one at the end, so
    // a failed run leaves an existing chart as it was. Messages go through
    // the platform seam: "Data Array Written" after reading, then how many
    // lines gave no position and the first few of their line numbers,
    // "File successfully converted" after writing. The configuration's home
    // is the last position the list gave; a list that gave none gets no
    // configuration, and the run says the file had no readable position.
    // False when the run stopped on an error.
    bool Run(const TRunOptions& options, const TRunDisplay& display);

    // The point of the last line converted: (0, 0) before the first; kept
    // between runs.
    const ChartPoint& CurrentPoint() const { return current_; }
    // Records 1..RecordCount() of the last run (index 0 unused).
    const std::vector<ChartPoint>& Store() const { return store_; }
    int RecordCount() const { return count_; }

private:
    // The chart file image of records 1..count_ with the datum offsets in
    // degrees.
    std::string ChartImage(double latOffset, double lonOffset) const;

    std::vector<ChartPoint> store_;
    int count_ = 0;
    ChartPoint current_ { rtl::Real6(0.0), rtl::Real6(0.0) };
    int lineStyleOffset_ = 0;
};

// The configuration file written beside a chart file: "<folder><base
// name>.cfg", as korvex looks for it ("./charts/harbour.cht" gives
// "./charts/harbour.cfg"; a name without extension gets ".cfg").
std::string ConfigFileFor(const std::string& chartFile);

} // namespace converter
