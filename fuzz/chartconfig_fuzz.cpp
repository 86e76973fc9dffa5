// The chart configuration reader on arbitrary bytes, in memory. A file it
// accepts must give a view the chart window can project (finite, off the
// poles, zoom above 0), and saving that view must load and save to the same
// bytes again.
#include "nav/ChartConfig.h"
#include "nav/NavState.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    ViewImageHeight = 768;
    ViewImageWidth = 1024;
    if (!LoadChartConfigText(std::string(reinterpret_cast<const char*>(data), size))) {
        if (ChartScale != 0.04 || CosLat != 1.0)
            std::abort();
        return 0;
    }
    if (!std::isfinite(CosLat) || CosLat <= 0 || !(ChartHomeZoom > 0) || PixelsPerDegLat <= 0)
        std::abort();

    const std::string first = ChartConfigText();
    if (!LoadChartConfigText(first))
        std::abort();
    if (ChartConfigText() != first)
        std::abort();
    return 0;
}
