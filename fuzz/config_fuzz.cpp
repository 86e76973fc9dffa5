// The configuration reader on arbitrary bytes, in memory. Beyond not
// crashing, a configuration that was loaded and saved must load and save to
// the same bytes again: what the reader accepts, the writer must write back
// in a form the reader keeps; and the settings that divide or time something
// (the distance unit, the fix interval, the zoom) are always usable.
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
    LoadConfigText(first);
    if (ConfigText() != first)
        std::abort();
    return 0;
}
