// The tidal atlas loader on its three files made from arbitrary bytes: the
// first four bytes give the lengths of the station (".pos") and flow (".FLO")
// parts (16-bit little-endian each), the rest after them is the standard port
// file (".STP"). A length of 0xFFFF leaves that file out. The loader keeps
// its diamonds within capacity and the standard port to one line.
#include "ScratchFolder.h"

#include "nav/NavState.h"
#include "nav/TidalAtlas.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace
{

void Place(const char* name, const uint8_t* bytes, std::size_t size, bool present)
{
    std::filesystem::remove(fuzz::ScratchFile(name));
    if (present)
        fuzz::WriteScratchFile(name, bytes, size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    platform::ScriptedUi ui; // the missing-file warnings need no answer
    ResetNavState();
    const unsigned stationField = data[0] | data[1] << 8;
    const unsigned flowField = data[2] | data[3] << 8;
    const uint8_t* rest = data + 4;
    std::size_t left = size - 4;
    const std::size_t stationSize = std::min<std::size_t>(stationField, left);
    Place("atlas.pos", rest, stationSize, stationField != 0xFFFF);
    rest += stationSize;
    left -= stationSize;
    const std::size_t flowSize = std::min<std::size_t>(flowField, left);
    Place("ATLAS.FLO", rest, flowSize, flowField != 0xFFFF);
    rest += flowSize;
    left -= flowSize;
    Place("atlas.stp", rest, left, left > 0);

    LoadTidalData(fuzz::ScratchFile("atlas.pos"));
    if (TideStationCount < 0 || TideStationCount > kMaxTideStations
        || StandardPort.find('\n') != std::string::npos)
        std::abort();
    return 0;
}
