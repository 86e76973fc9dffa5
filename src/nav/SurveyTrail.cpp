#include "nav/SurveyTrail.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr std::string_view kHeader = "Log Date :";

// Texts are kept to this length: far wider than any bitmap a label is
// drawn on.
constexpr std::size_t kTextKept = 1024;

} // namespace

SurveyTrail::SurveyTrail(char positionCode, char trendField, std::size_t capacity)
    : positionCode_(positionCode)
    , trendField_(trendField)
    , capacity_(std::max<std::size_t>(capacity, 4))
{
}

void SurveyTrail::feed(std::string_view bytes)
{
    splitter_.feed(bytes, [this](std::string_view line) { addLine(line); });
}

void SurveyTrail::addLine(std::string_view line)
{
    if (auto entry = parse(state_, line))
        keep(std::move(*entry));
}

std::optional<SurveyTrail::Entry> SurveyTrail::parse(Parse& s, std::string_view text) const
{
    const uint64_t number = s.lines++;
    if (number == 0) {
        s.header = text.substr(0, kHeader.size()) == kHeader;
        return std::nullopt;
    }
    if (!s.header)
        return std::nullopt;
    if (number == 1) {
        // The log's own template says where each value stands and how long
        // a record at least is; the template in force now may be another.
        s.logTemplate = text;
        s.positionField = TemplateFieldNumber(s.logTemplate, positionCode_);
        s.trendFieldNumber = TemplateFieldNumber(s.logTemplate, trendField_);
        return std::nullopt;
    }
    if (text.size() <= 1)
        return std::nullopt;
    Entry e;
    e.line = number;
    // A line no longer than the template is an event line, as are those
    // beginning with '*' or '#' ("# -b": the next record is not joined to
    // the one before).
    const bool starred = text.size() <= s.logTemplate.size() && text[0] != '*';
    e.penUp = text[0] == '#';
    if (!starred && text[0] != '*')
        ++s.record;
    e.record = s.record;
    e.sample = s.samples;
    if (starred || text[0] == '*' || text[0] == '#') {
        e.kind = Entry::Kind::Event;
        e.text = starred ? "*" : "";
        e.text.append(text.substr(0, kTextKept - e.text.size()));
        return e;
    }
    // A record lacks a value only when it has too few fields (the numbers
    // themselves read as 0 when they do not parse): counting its commas
    // tells a line too short for the template. The record's values are
    // read when it is kept (fill), not for every record of a thinned log.
    const bool graded = trendField_ != '-';
    const int needed = std::max(s.positionField + 3, graded ? s.trendFieldNumber : 1);
    const auto commas = std::count(text.begin(), text.end(), ',');
    // Read with a comma after it, a line of c commas has c + 2 fields.
    if (commas + 2 < needed) {
        e.kind = Entry::Kind::BadLine;
        return e;
    }
    e.parsed = false;
    e.text = text;
    ++s.samples;
    return e;
}

void SurveyTrail::fill(Entry& e) const
{
    if (e.parsed)
        return;
    // The buffer is kept from record to record: no allocation a record.
    static thread_local std::string record;
    record.assign(e.text);
    record += ',';
    const bool graded = trendField_ != '-';
    // Both are there: parse() counted the fields.
    const auto position = ParseSurveyPosition(record, state_.positionField);
    std::string trendText = graded ? CsvField(record, state_.trendFieldNumber).value_or("") : std::string();
    e.lat = position ? position->lat : -1;
    e.lon = position ? position->lon : -1;
    e.value = graded ? LeadingNumber(trendText) : 0.0;
    trendText.resize(std::min(trendText.size(), kTextKept));
    e.text = std::move(trendText);
    e.parsed = true;
}

bool SurveyTrail::keptForStride(const Entry& e) const
{
    if (e.kind == Entry::Kind::Record)
        return e.sample % stride_ == 0;
    return marks_ <= capacity_ / 2 || int64_t(e.line % uint64_t(stride_)) == 0;
}

void SurveyTrail::keep(Entry entry)
{
    if (entry.kind == Entry::Kind::Record && (stride_ == 1 || keptForStride(entry)))
        fill(entry);
    if (stride_ > 1) {
        if (entry.kind != Entry::Kind::Record && !keptForStride(entry))
            return;
        if (entry.kind == Entry::Kind::Record) {
            // The newest record is kept whatever its number: the one kept
            // for that alone gives way to this one.
            auto last = std::find_if(entries_.rbegin(), entries_.rend(),
                [](const Entry& e) { return e.kind == Entry::Kind::Record; });
            if (last != entries_.rend() && !keptForStride(*last))
                entries_.erase(std::next(last).base());
        }
    }
    if (entry.kind != Entry::Kind::Record)
        ++marks_;
    entries_.push_back(std::move(entry));
    if (entries_.size() > capacity_)
        thin();
}

void SurveyTrail::thin()
{
    while (entries_.size() > capacity_) {
        stride_ *= 2;
        const auto newest = std::find_if(
            entries_.rbegin(), entries_.rend(), [](const Entry& e) { return e.kind == Entry::Kind::Record; });
        const Entry* keepAlways = newest == entries_.rend() ? nullptr : &*newest;
        std::vector<Entry> kept;
        kept.reserve(capacity_ + 1);
        std::size_t marks = 0;
        for (Entry& e : entries_) {
            if (&e == keepAlways || keptForStride(e)) {
                marks += e.kind != Entry::Kind::Record;
                kept.push_back(std::move(e));
            }
        }
        entries_ = std::move(kept);
        marks_ = marks;
    }
}

SurveyWalk SurveyTrail::walk(const SurveyWalkOptions& o) const
{
    SurveyWalk walk;
    // A last line without its end counts as a line, as a reader of the
    // whole file takes it.
    Parse tailState;
    std::optional<Entry> tail;
    const bool hasTail = splitter_.hasPartial();
    if (hasTail) {
        tailState = state_;
        tail = parse(tailState, splitter_.partial());
    }
    const Parse& s = hasTail ? tailState : state_;
    if (s.lines == 0 || !s.header) {
        walk.fault = SurveyLogFault::NotALog;
        return walk;
    }

    auto used = [&](int64_t record) {
        if (!o.showLastN)
            return true;
        return record >= o.fixNumber - o.showCount && (!o.selectionEnd || record <= *o.selectionEnd);
    };
    // The trend column comes from the number of records plotted before a
    // record: counted from the first record plotted.
    std::optional<int64_t> firstSample;
    std::optional<std::string> pendingEvent;
    bool pendingPenUp = false;
    auto take = [&](const Entry& kept) {
        if (!used(kept.record))
            return true;
        // The newest record of a thinned log is read only when it is drawn.
        std::optional<Entry> filled;
        if (!kept.parsed) {
            filled = kept;
            fill(*filled);
        }
        const Entry& e = filled ? *filled : kept;
        switch (e.kind) {
        case Entry::Kind::Event:
            pendingEvent = e.text;
            pendingPenUp = pendingPenUp || e.penUp;
            return true;
        case Entry::Kind::BadLine:
            walk.fault = SurveyLogFault::BadLine;
            return false;
        case Entry::Kind::Record:
            break;
        }
        if (!firstSample)
            firstSample = e.sample;
        const int64_t samples = e.sample - *firstSample;
        int column = 0;
        if (!o.showLastN)
            column = ClampedPixel(double(samples) * 116 / double(std::max<int64_t>(o.fixNumber, 0) + 1));
        else if (!o.selectionEnd)
            column = ClampedPixel(double(samples));
        else {
            const int64_t span = std::abs(*o.selectionEnd - o.selectionStart.value_or(0)) + 1;
            column = ClampedPixel(double(samples) * 116 / double(span));
        }
        SurveyPoint p;
        p.lat = e.lat + o.chartOffsetLat;
        p.lon = e.lon - o.chartOffsetLon;
        p.penUp = pendingPenUp;
        p.trendText = e.text;
        p.trendValue = e.value;
        p.eventText = std::move(pendingEvent);
        p.trendColumn = std::max(column, 0);
        walk.points.push_back(std::move(p));
        pendingEvent.reset();
        pendingPenUp = false;
        return true;
    };
    walk.points.reserve(entries_.size() + 1);
    for (const Entry& e : entries_)
        if (!take(e))
            return walk;
    if (tail)
        take(*tail);
    return walk;
}

SurveyWalk WalkSurveyLog(const std::vector<std::string>& lines, const SurveyWalkOptions& o)
{
    SurveyTrail trail(o.positionCode, o.trendField, std::numeric_limits<std::size_t>::max());
    for (const std::string& line : lines)
        trail.addLine(line);
    return trail.walk(o);
}

void SurveyLogTail::catchUp(const std::string& path, char positionCode, char trendField)
{
    if (trail_ && (trail_->positionCode() != positionCode || trail_->trendField() != trendField)) {
        trail_.reset();
        reader_ = {};
    }
    if (!trail_)
        trail_.emplace(positionCode, trendField);
    present_ = reader_.read(
        path, [&] { trail_.emplace(positionCode, trendField); },
        [&](std::string_view bytes) { trail_->feed(bytes); });
}
