#include "converter/ConversionRun.h"

#include "nav/ChartConfig.h"
#include "nav/ChartStore.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace converter
{

namespace
{

// Thousandths of a minute to degrees.
constexpr double kOffsetUnitsPerDegree = 60000.0;
// The home zoom of a converted chart's configuration.
constexpr double kHomeZoom = 2.0;
// The configuration is written only for a last point of line style 0.
constexpr double kLineStyleZeroLimit = 100.0;

// Line numbers of the lines that gave no position, named in the report.
constexpr std::size_t kNamedSkippedLines = 5;

bool IsReadAsZero(const ChartPoint& point, int lineStyleOffset)
{
    return point.lat.value() == lineStyleOffset && point.lon.value() == 0.0;
}

// A position list with its lines ended by CR alone (old Mac files) read as
// one ending them with LF; CR LF and LF ends are kept.
std::string WithLoneCrAsLf(std::string text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            text[i] = '\n';
    }
    return text;
}

// "3 lines give no position and make no point: lines 2, 5, 9", naming the
// first few lines.
std::string SkippedLinesReport(int64_t count, const std::vector<int64_t>& lines)
{
    std::string text = count == 1 ? "1 line gives no position and makes no point: line "
                                  : std::to_string(count) + " lines give no position and make no point: lines ";
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    if (count > static_cast<int64_t>(lines.size()))
        text += ", ...";
    return text;
}

} // namespace

std::string ConfigFileFor(const std::string& chartFile)
{
    return ChartConfigPath(chartFile);
}

TConverter::TConverter()
    : store_(kStoreRecords + 1, PenUpPoint)
{
}

std::string TConverter::ChartImage(double latOffset, double lonOffset) const
{
    std::string image;
    image.reserve(static_cast<std::size_t>(count_) * ChartPoint::storedSize);
    for (int i = 1; i <= count_; ++i) {
        ChartPoint record = store_[static_cast<std::size_t>(i)];
        if (!IsPenUp(record)) {
            record.lat = rtl::Real6(record.lat.value() + latOffset);
            // West positive, the offset east positive.
            record.lon = rtl::Real6(record.lon.value() - lonOffset);
        }
        uint8_t bytes[ChartPoint::storedSize];
        record.store(bytes);
        image.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
    return image;
}

bool TConverter::Run(const TRunOptions& options, const TRunDisplay& display)
{
    int64_t skip = 0;
    if (!rtl::ParseInt(options.skipFirst, skip)) {
        platform::MessageError("'" + options.skipFirst + "' is not a valid integer value");
        return false;
    }
    TLineOptions lineOptions;
    lineOptions.format = options.format;
    lineOptions.reverse = options.reverse;
    lineOptions.separator = SeparatorOf(options.separator);
    const bool needsSeparator
        = options.format == TInputFormat::DecimalDegrees || options.format == TInputFormat::DegreesMinutes;
    if (needsSeparator && !lineOptions.separator) {
        platform::MessageError("Choose a separator for the input format");
        return false;
    }
    // Typed names may separate folders with '\' (".\charts\bs.cht").
    const std::string inputFile = rtl::SlashPath(options.inputFile);
    const std::string chartFile = rtl::SlashPath(options.outputFile);
    if (options.createFile && rtl::ExtractFileName(chartFile).empty()) {
        platform::MessageError("Choose an output file");
        return false;
    }
    const std::optional<std::string> inputText = rtl::ReadFileBytes(inputFile);
    if (!inputText) {
        platform::MessageError("Cannot open the input file " + options.inputFile);
        return false;
    }
    rtl::TextReader input(WithLoneCrAsLf(*inputText));
    const std::string configFile = ConfigFileFor(chartFile);

    display.clearResults();
    if (options.lineStyle >= 0 && options.lineStyle <= 6)
        lineStyleOffset_ = 200 * options.lineStyle;
    lineOptions.lineStyleOffset = lineStyleOffset_;
    const double latOffset = options.latOffset / kOffsetUnitsPerDegree;
    const double lonOffset = options.lonOffset / kOffsetUnitsPerDegree;
    count_ = 0;
    while (count_ < kLeadingPenUps)
        store_[static_cast<std::size_t>(++count_)] = PenUpPoint;

    const char* const comment = "#";
    int64_t lineCount = 0;
    int64_t fileLine = 0; // the line's number in the file
    int64_t skippedCount = 0;
    std::vector<int64_t> skippedLines;
    // The last position this file gave: the home of its chart configuration.
    std::optional<ChartPoint> lastPosition;
    std::string line;
    while (!input.eof() && count_ < kLastLineRecord) {
        input.readLine(line);
        ++fileLine;
        if (options.filter && !line.empty() && !line.starts_with(comment)) {
            input.readLine(line);
            ++fileLine;
        }
        ++lineCount;
        display.showProgress(rtl::StrInt(lineCount, 4));
        if (lineCount <= skip)
            continue;
        ChartPoint& record = store_[static_cast<std::size_t>(++count_)];
        record = PenUpPoint;
        const bool shown = lineCount < skip + kShownLines;
        if (line.empty())
            continue;
        if (line.starts_with(comment)) {
            if (shown)
                display.addResult("Penup1");
            continue;
        }
        if (lineOptions.separator && line.front() == *lineOptions.separator) {
            if (shown)
                display.addResult("Penup2");
            continue;
        }
        const TLineResult result = ConvertLine(line, lineOptions, current_);
        if (result.rejected) {
            platform::Beep();
            display.addResult(*result.rejected);
        }
        if (shown)
            display.addResult(result.display);
        if (result.unreadable) {
            if (skippedLines.size() < kNamedSkippedLines)
                skippedLines.push_back(fileLine);
            ++skippedCount;
            continue;
        }
        // A line reading 0° 0° is no point either.
        if (!IsReadAsZero(current_, lineStyleOffset_) && !IsPenUp(current_)) {
            record = current_;
            lastPosition = current_;
        }
    }
    for (int i = 0; i < kTrailingPenUps; ++i)
        store_[static_cast<std::size_t>(++count_)] = PenUpPoint;
    platform::Beep();
    platform::MessageInformation("Data Array Written");
    if (skippedCount > 0)
        platform::MessageInformation(SkippedLinesReport(skippedCount, skippedLines));
    // Without a position of its own the chart has no home: the point of an
    // earlier file, or (0, 0), would send korvex to another chart's waters.
    if (!lastPosition)
        platform::MessageWarning(options.inputFile + " had no readable position"
            + (options.createFile ? ": no chart configuration written" : ""));
    if (!options.createFile)
        return true;

    if (!rtl::WriteFileAtomic(chartFile, ChartImage(latOffset, lonOffset))) {
        platform::MessageError("Error writing chart file " + chartFile);
        return false;
    }
    if (lastPosition && lastPosition->lat.value() < kLineStyleZeroLimit) {
        const ChartConfigValues home { lastPosition->lat.value(), lastPosition->lon.value(), kHomeZoom, 0,
            latOffset, lonOffset };
        if (!WriteChartConfigFile(configFile, home)) {
            platform::MessageWarning("Error Writing Chart Config File");
            return false;
        }
    }
    platform::Beep();
    platform::MessageInformation("File successfully converted");
    return true;
}

} // namespace converter
