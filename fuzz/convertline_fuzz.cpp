// Position list lines and whole conversion runs on arbitrary input. The
// first byte picks the options: bits 0-1 the input format, bit 2 Reverse,
// bits 3-5 the separator, bit 6 Filter, bit 7 Test mode; the rest is the
// position list. Every line must give a pen-up or a point a chart record
// holds, and every run must write a chart file that korvex reads whole.
#include "ScratchFolder.h"

#include "converter/ConversionRun.h"
#include "converter/ConvertLine.h"
#include "nav/ChartStore.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "rtl/TextFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{

const char* const kSeparators[] = { "Tab", "Space", ":", ".", ",", ";", "/", "" };

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckLines(std::string_view list, const converter::TRunOptions& options)
{
    converter::TLineOptions lineOptions { options.format, options.reverse,
        converter::SeparatorOf(options.separator), 200 * options.lineStyle };
    ChartPoint point { rtl::Real6(0.0), rtl::Real6(0.0) };
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string_view::npos)
            end = list.size();
        const std::string line(list.substr(start, end - start));
        const converter::TLineResult result = converter::ConvertLine(line, lineOptions, point);
        if (result.rejected)
            Check(point == PenUpPoint);
        Check(std::isfinite(point.lat.value()) && std::isfinite(point.lon.value()));
        Check(std::fabs(point.lat.value()) <= 1.0e6 + 1200 && std::fabs(point.lon.value()) <= 1.0e6);
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    converter::TRunOptions options;
    options.format = static_cast<converter::TInputFormat>(choice & 3);
    options.reverse = (choice & 4) != 0;
    options.separator = kSeparators[(choice >> 3) & 7];
    options.filter = (choice & 64) != 0;
    options.createFile = (choice & 128) == 0;
    options.lineStyle = choice % 7;
    options.latOffset = 600;
    options.lonOffset = -600;
    const std::string_view list(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckLines(list, options);

    platform::ScriptedUi ui;
    options.inputFile = fuzz::WriteScratchFile("list.dat", data + 1, size - 1);
    options.outputFile = fuzz::ScratchFile("list.cht");
    std::remove(options.outputFile.c_str());
    converter::TConverter converter;
    converter::TRunDisplay display { [] {}, [](const std::string&) {}, [](const std::string&) {} };
    const bool ran = converter.Run(options, display);
    Check(converter.RecordCount() <= converter::TConverter::kStoreRecords);
    if (!ran || !options.createFile)
        return 0;
    const std::string chart = rtl::ReadFileBytes(options.outputFile).value_or(std::string());
    Check(chart.size() % ChartPoint::storedSize == 0);
    Check(chart.size() / ChartPoint::storedSize == static_cast<std::size_t>(converter.RecordCount()));
    const ChartFileContents contents = DecodeChartFile(chart);
    Check(!contents.dosFile);
    Check(contents.points.size() + 1 <= static_cast<std::size_t>(kMaxChartPoints));
    return 0;
}
