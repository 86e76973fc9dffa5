// The chart configuration reader on arbitrary bytes, in memory and from a
// scratch "<chart>.cfg" beside a chart (which must read as its bytes do). A
// file it accepts must give a view the chart window can project (finite, off the
// poles, zoom above 0), and saving that view must load and save to the same
// bytes again.
#include "ScratchFolder.h"

#include "nav/ChartConfig.h"
#include "nav/NavState.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace
{

bool Load(const std::optional<std::string>& bytes, bool fromFile)
{
    ResetNavState();
    ViewImageHeight = 768;
    ViewImageWidth = 1024;
    return fromFile ? LoadChartConfig(fuzz::ScratchFile("chart.cht")) : LoadChartConfigText(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::WriteScratchFile("chart.cfg", data, size);
    const bool fromFile = Load(bytes, true);
    const std::string fileView = ChartConfigText();
    if (!Load(bytes, false)) {
        if (fromFile || ChartScale != 0.04 || CosLat != 1.0)
            std::abort();
        return 0;
    }
    if (!fromFile || ChartConfigText() != fileView)
        std::abort();
    if (!std::isfinite(CosLat) || CosLat <= 0 || !(ChartHomeZoom > 0) || PixelsPerDegLat <= 0)
        std::abort();

    const std::string first = ChartConfigText();
    if (!LoadChartConfigText(first))
        std::abort();
    if (ChartConfigText() != first)
        std::abort();
    return 0;
}
