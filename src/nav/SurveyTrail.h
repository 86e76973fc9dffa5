#pragma once
// The survey log as a chart view keeps it between redraws: the log's lines
// are taken as they are appended (the file is never read twice), and what
// the plot draws of each line is kept in a bounded store, so that neither a
// redraw's time nor the memory grows with a log of millions of records.
//
// Up to `capacity` lines are kept exactly as WalkSurveyLog would walk them.
// Past that the records are thinned evenly: every second kept record is
// dropped and from then on only every stride-th record is kept (the stride
// doubling each time the store fills again), the newest record always. Event
// and pen-up lines are kept as long as they fill at most half the store; a
// pen-up of a dropped stretch still lifts the pen before the next kept
// record. A day of 1 Hz fixes (86 400) is drawn through about every 8th
// record; the trend column of a kept record is counted from its own number.

#include "nav/SurveyLog.h"
#include "rtl/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SurveyTrail
{
public:
    static constexpr std::size_t kCapacity = 16384;

    // `positionCode` and `trendField` as in SurveyWalkOptions: they decide
    // what is kept of each record.
    SurveyTrail(char positionCode, char trendField, std::size_t capacity = kCapacity);

    char positionCode() const { return positionCode_; }
    char trendField() const { return trendField_; }

    // Bytes appended to the log, in file order; a last line without its
    // end counts as a line until more bytes come.
    void feed(std::string_view bytes);
    // One whole line (without its end).
    void addLine(std::string_view line);

    // The points to plot for the view's options (their position code and
    // trend field are the trail's own), or the log's fault.
    SurveyWalk walk(const SurveyWalkOptions& options) const;

    // Lines kept in the store.
    std::size_t kept() const { return entries_.size(); }

private:
    struct Entry {
        enum class Kind : uint8_t { Record, Event, BadLine };
        Kind kind = Kind::Record;
        bool penUp = false; // an event: the "# -b" marker
        bool parsed = true; // false: a record's values not read yet, `text` its line
        int64_t record = 0; // the running record number at this line
        int64_t sample = 0; // records before this one
        uint64_t line = 0; // line number in the file
        double lat = 0, lon = 0, value = 0;
        std::string text; // a record's graded field as written, an event's line
    };
    // What the walk of the lines so far has learnt.
    struct Parse {
        uint64_t lines = 0;
        bool header = false; // line 1 is a text log header
        std::string logTemplate;
        int positionField = 1, trendFieldNumber = 1;
        int64_t record = 0, samples = 0;
    };

    // The entry of one line, or none (a header, template or skipped line).
    std::optional<Entry> parse(Parse& state, std::string_view line) const;
    // Reads a record's position and graded field from its line.
    void fill(Entry& entry) const;
    void keep(Entry entry);
    void thin();
    bool keptForStride(const Entry& entry) const;

    char positionCode_, trendField_;
    std::size_t capacity_;
    rtl::LineSplitter splitter_;
    Parse state_;
    std::vector<Entry> entries_;
    std::size_t marks_ = 0; // event and bad-line entries kept
    int64_t stride_ = 1;
};

// A view's survey log: the trail of the log file, brought up to the file
// before each redraw by reading only what was appended since the last time.
class SurveyLogTail
{
public:
    // Reads what was appended to `path`; a file that shrank or was replaced,
    // or other position code or trend field, starts the trail again from the
    // whole file. A missing log leaves no trail.
    void catchUp(const std::string& path, char positionCode, char trendField);
    // The trail, none when the log was missing at the last catch-up.
    const SurveyTrail* trail() const { return present_ ? &*trail_ : nullptr; }

private:
    rtl::AppendedReader reader_;
    std::optional<SurveyTrail> trail_;
    bool present_ = false;
};
