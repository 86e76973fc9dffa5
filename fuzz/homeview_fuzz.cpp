// The home view of a chart configuration file, as the chart list and the
// chart outlines read it, on arbitrary bytes in a scratch "<chart>.cfg": it
// always reads, and when the chart configuration reader takes the same file
// its working position and zoom are the home view's three values.
#include "ScratchFolder.h"

#include "nav/ChartConfig.h"
#include "nav/NavState.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string cfg = fuzz::WriteScratchFile("home.cfg", data, size);
    const auto home = ReadChartHomeView(cfg);
    if (!home)
        std::abort();

    ResetNavState();
    ViewImageHeight = 768;
    ViewImageWidth = 1024;
    if (LoadChartConfig(fuzz::ScratchFile("home.cht"))
        && (CurLat != home->lat || CurLon != home->lon || ChartScale != home->zoom))
        std::abort();

    std::filesystem::remove(cfg);
    if (ReadChartHomeView(cfg))
        std::abort();
    return 0;
}
