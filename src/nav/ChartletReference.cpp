#include "nav/ChartletReference.h"

#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr double kMinCornerSpan = 1e-7; // degrees

// Reads the 11 lines one by one; the first fault stops reading and is kept.
class LineReader
{
public:
    LineReader(std::string_view contents, const std::string& fileName)
        : reader_(std::string(contents))
        , fileName_(fileName)
    {
    }

    int64_t integer(const char* what)
    {
        if (!next(what))
            return 0;
        bool ok = false;
        const int64_t value = reader_.readIntLine(&ok);
        if (!ok || value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
            fail(what, "is not a whole number");
        return value;
    }

    double real(const char* what)
    {
        if (!next(what))
            return 0.0;
        bool ok = false;
        const double value = reader_.readRealLine(&ok);
        if (!ok || !std::isfinite(value))
            fail(what, "is not a number");
        return value;
    }

    // A fault in the value just read.
    void fail(const char* what, const char* fault)
    {
        if (error_.empty())
            error_ = "Reference file format error in \"" + fileName_ + "\", line " + std::to_string(line_)
                + ": " + what + " " + fault;
    }

    const std::string& error() const { return error_; }

private:
    // True when the next line is there to be read and no fault came before.
    bool next(const char* what)
    {
        ++line_;
        if (!error_.empty())
            return false;
        if (reader_.eof()) {
            fail(what, "is missing");
            return false;
        }
        return true;
    }

    rtl::TextReader reader_;
    std::string fileName_;
    std::string error_;
    int line_ = 0;
};

} // namespace

bool ChartletReference::valid() const
{
    return nwLat - seLat > kMinCornerSpan && nwLon - seLon > kMinCornerSpan;
}

std::string ChartletReferencePath(const std::string& imagePath)
{
    return rtl::ChangeFileExt(imagePath, ".ref");
}

ReferenceReadResult ParseChartletReference(std::string_view contents, const std::string& fileName)
{
    LineReader lines(contents, fileName);
    ChartletReference r;
    const int64_t height = lines.integer("the image height");
    if (lines.error().empty() && height < 1)
        lines.fail("the image height", "must be at least 1 pixel");
    const int64_t width = lines.integer("the image width");
    if (lines.error().empty() && width < 1)
        lines.fail("the image width", "must be at least 1 pixel");
    r.height = static_cast<int32_t>(height);
    r.width = static_cast<int32_t>(width);
    r.nwLat = lines.real("the north-west latitude");
    r.nwLon = lines.real("the north-west longitude");
    r.seLat = lines.real("the south-east latitude");
    r.seLon = lines.real("the south-east longitude");
    r.trackColour = static_cast<int32_t>(lines.integer("the track colour") & 0xFFFFFF);
    r.trackWidth = lines.integer("the track width") >= 2 ? 2 : 1;
    r.latOffset = static_cast<int32_t>(
        std::clamp<int64_t>(lines.integer("the latitude offset"), -kMaxChartletOffset, kMaxChartletOffset));
    r.lonOffset = static_cast<int32_t>(
        std::clamp<int64_t>(lines.integer("the longitude offset"), -kMaxChartletOffset, kMaxChartletOffset));
    r.audioFlag = static_cast<int32_t>(lines.integer("the audio clip flag"));

    ReferenceReadResult result;
    if (!lines.error().empty()) {
        result.status = ReferenceStatus::FormatError;
        result.message = lines.error();
        return result;
    }
    result.status = ReferenceStatus::Read;
    result.reference = r;
    return result;
}

ReferenceReadResult ReadChartletReference(const std::string& path)
{
    const std::optional<std::string> contents = rtl::ReadFileBytes(rtl::OpenPath(path));
    if (!contents)
        return {};
    return ParseChartletReference(*contents, rtl::ExtractFileName(path));
}

std::string FormatChartletReference(const ChartletReference& r)
{
    std::string text;
    const auto line = [&text](const std::string& value) { text += value + "\r\n"; };
    line(std::to_string(r.height));
    line(std::to_string(r.width));
    line(rtl::RealText(r.nwLat));
    line(rtl::RealText(r.nwLon));
    line(rtl::RealText(r.seLat));
    line(rtl::RealText(r.seLon));
    line(std::to_string(r.trackColour));
    line(std::to_string(r.trackWidth));
    line(std::to_string(r.latOffset));
    line(std::to_string(r.lonOffset));
    line(std::to_string(r.audioFlag));
    return text;
}

bool WriteChartletReference(const std::string& path, const ChartletReference& reference)
{
    return rtl::WriteFileAtomic(rtl::CreatePath(path), FormatChartletReference(reference));
}
