// Fuzz target for the position sentence decoder: any bytes as one serial
// line go through the checksum check, both decoding modes (live and AIS log
// playback) and into the navigation state. A valid fix must always carry a
// position, a sentence that failed must never claim a fix, and no position
// read lies off the earth.
#include "nav/NavState.h"
#include "nav/NmeaDecode.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace nav;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    (void)NmeaLineIntact(line);
    for (bool playback : { false, true }) {
        const NmeaDecodeResult d = DecodeNmeaSentence(line, playback);
        if (d.fixValid && (d.failed || !d.lat || !d.lon))
            std::abort();
        if ((d.lat && !(std::abs(*d.lat) <= 90)) || (d.lon && !(std::abs(*d.lon) <= 180)))
            std::abort();
        if (d.monitorLog && !(playback && d.fixValid))
            std::abort();
        if (!d.failed)
            ApplyNmeaDecode(d);
    }
    return 0;
}
