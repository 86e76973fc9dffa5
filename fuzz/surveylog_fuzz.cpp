// Fuzz target for reading a text survey log back for the chart. The first
// four bytes are the walk: byte 0 the position code (bit 0: towed body) and
// the trend row's direction (bit 1), byte 1 the trend letter (bit 7: none),
// byte 2 the record window, byte 3 where the view's trail is cut in two; the
// rest is the log file, walked with those options. The walk must end with a fault or with
// points whose trend columns are never negative, and the blob colour and
// trend row of every value must stay in their ranges. The same bytes fed to
// a view's trail in two pieces must walk as the whole lines do, and a trail
// with a small bound must stay within it.
#include "nav/SurveyLog.h"
#include "nav/SurveyTrail.h"
#include "rtl/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr std::size_t kPrefix = 4;
    if (size < kPrefix)
        return 0;
    SurveyWalkOptions o;
    o.positionCode = data[0] & 1 ? '>' : 'P';
    o.trendField = data[1] & 0x80 ? '-' : static_cast<char>(data[1]);
    o.showLastN = data[2] & 1;
    o.showCount = data[2] >> 1;
    o.fixNumber = data[2] * 300;
    if (data[2] & 2) {
        o.selectionStart = data[0] * 7;
        o.selectionEnd = data[1] * 5 - 300;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + kPrefix, size - kPrefix);
    rtl::TextReader reader { std::string(bytes) };
    std::vector<std::string> lines;
    while (!reader.eof())
        lines.push_back(reader.readLine());

    const SurveyWalk walk = WalkSurveyLog(lines, o);
    if (walk.fault == SurveyLogFault::NotALog && !walk.points.empty())
        std::abort();
    for (const SurveyPoint& p : walk.points) {
        if (p.trendColumn < 0)
            std::abort();
        const uint32_t colour = BlobColour(p.trendValue, 10);
        if (colour > 0xFFFFFF)
            std::abort();
        const int row = TrendRow(p.trendValue, 50000, data[0] & 2);
        if (row < -1000000000 || row > 1000000100)
            std::abort();
    }
    SurveyTrail trail(o.positionCode, o.trendField);
    const std::size_t cut = bytes.empty() ? 0 : data[3] % bytes.size();
    trail.feed(bytes.substr(0, cut));
    trail.feed(bytes.substr(cut));
    const SurveyWalk fed = trail.walk(o);
    if (fed.fault != walk.fault || fed.points.size() != walk.points.size())
        std::abort();
    for (std::size_t i = 0; i < fed.points.size(); ++i) {
        const SurveyPoint &a = fed.points[i], &b = walk.points[i];
        if (a.trendText != b.trendText || a.eventText != b.eventText || a.trendColumn != b.trendColumn
            || a.penUp != b.penUp)
            std::abort();
    }

    SurveyTrail small(o.positionCode, o.trendField, 8);
    small.feed(bytes);
    if (small.kept() > 8)
        std::abort();
    small.walk(o);
    return 0;
}
