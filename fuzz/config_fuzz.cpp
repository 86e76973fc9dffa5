// The configuration reader on arbitrary bytes, in memory and from a scratch
// file (which also turns the '\\' of old folder and program paths into '/').
// Beyond not crashing, a configuration that was loaded and saved must load and
// save to the same bytes again: what the reader accepts, the writer must write
// back in a form the reader keeps; and the settings that divide or time
// something (the distance unit, the fix interval, the zoom) are always usable.
#include "ScratchFolder.h"

#include "nav/KVconfig.h"
#include "nav/NavState.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    LoadConfigText(std::string(reinterpret_cast<const char*>(data), size));
    if ((DistanceFactor != 1.0 && DistanceFactor != 1.852 && DistanceFactor != 1.15081) || FixIntervalMs <= 0
        || !(ChartScale > 0))
        std::abort();
    const std::string first = ConfigText();

    // From a file: the paths hold no '\\', and what is saved loads and saves
    // the same again.
    ResetNavState();
    LoadConfig(fuzz::WriteScratchFile("zudeve.cfg", data, size));
    for (const std::string& path : { LogsFolder, ChartsFolder, MultiplexerExe, BrowserPath })
        if (path.find('\\') != std::string::npos)
            std::abort();
    const std::string fromFile = ConfigText();
    ResetNavState();
    LoadConfig(fuzz::WriteScratchFile(
        "saved.cfg", reinterpret_cast<const uint8_t*>(fromFile.data()), fromFile.size()));
    if (ConfigText() != fromFile)
        std::abort();

    LoadConfigText(first);
    if (ConfigText() != first)
        std::abort();
    return 0;
}
