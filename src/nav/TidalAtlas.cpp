#include "nav/TidalAtlas.h"

#include "nav/NavState.h"
#include "platform/Ui.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <cstdint>

namespace
{

constexpr std::size_t kFlowRecordSize = kTideHours * TideFlow::storedSize; // 52

std::string CompanionName(const std::string& stationPath, const char* extension)
{
    return stationPath.substr(0, stationPath.size() - std::min<std::size_t>(stationPath.size(), 3))
        + extension;
}

int WholeRecords(std::string_view bytes, std::size_t recordSize)
{
    return static_cast<int>(std::min<std::size_t>(bytes.size() / recordSize, kMaxTideStations));
}

} // namespace

void DecodeTidalAtlas(std::string_view stationBytes, std::string_view flowBytes)
{
    const int stations = WholeRecords(stationBytes, TidePosition::storedSize);
    const auto* stationData = reinterpret_cast<const uint8_t*>(stationBytes.data());
    for (int i = 1; i <= stations; ++i)
        TideStations[i] = TidePosition::load(stationData + (i - 1) * TidePosition::storedSize);

    const int flows = WholeRecords(flowBytes, kFlowRecordSize);
    const auto* flowData = reinterpret_cast<const uint8_t*>(flowBytes.data());
    for (int i = 1; i <= flows; ++i) {
        const uint8_t* record = flowData + (i - 1) * kFlowRecordSize;
        for (int hour = 1; hour <= kTideHours; ++hour)
            TideStreams[i][hour] = TideFlow::load(record + (hour - 1) * TideFlow::storedSize);
    }
    // A diamond without its streams (or streams without a diamond) is of no use.
    TideStationCount = static_cast<int16_t>(std::min(stations, flows));
}

void LoadTidalData(const std::string& stationPath)
{
    const auto stationBytes = rtl::ReadFileBytes(rtl::OpenPath(stationPath));
    if (!stationBytes) {
        platform::MessageWarning("Non existant File");
        return;
    }
    const auto flowBytes = rtl::ReadFileBytes(rtl::OpenPath(CompanionName(stationPath, "FLO")));
    if (!flowBytes) {
        platform::MessageWarning("No FlowRate File");
        return;
    }
    DecodeTidalAtlas(*stationBytes, *flowBytes);

    rtl::TextReader port;
    StandardPort
        = port.open(rtl::OpenPath(CompanionName(stationPath, "STP"))) ? port.readLine() : std::string();
}
