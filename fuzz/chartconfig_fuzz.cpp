// Chart configuration reader on arbitrary bytes. A file it accepts must give
// a view the chart window can project (finite, off the poles, zoom above 0),
// and saving that view must load and save to the same bytes again.
#include "ScratchFolder.h"

#include "nav/ChartConfig.h"
#include "nav/NavState.h"
#include "rtl/TextFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteScratchFile("input.cfg", data, size);
    ResetNavState();
    ViewImageHeight = 768;
    ViewImageWidth = 1024;
    if (!LoadChartConfig(fuzz::ScratchFile("input.cht"))) {
        if (ChartScale != 0.04 || CosLat != 1.0)
            std::abort();
        return 0;
    }
    if (!std::isfinite(CosLat) || CosLat <= 0 || !(ChartHomeZoom > 0) || PixelsPerDegLat <= 0)
        std::abort();

    SaveChartConfig(fuzz::ScratchFile("first.cht"));
    if (!LoadChartConfig(fuzz::ScratchFile("first.cht")))
        std::abort();
    SaveChartConfig(fuzz::ScratchFile("second.cht"));
    if (rtl::ReadFileBytes(fuzz::ScratchFile("first.cfg"))
        != rtl::ReadFileBytes(fuzz::ScratchFile("second.cfg")))
        std::abort();
    return 0;
}
