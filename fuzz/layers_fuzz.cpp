// The layer files of a chart, "<chart>.000" to "<chart>.009", read from a
// scratch charts folder on arbitrary bytes. The first two bytes give the
// layers switched off (bit i set: layer i's flag is '-'); then, for layers 0
// to 9 in turn, a 16-bit little-endian length and that many bytes of the
// layer file (0xFFFF: no file; odd layers are written under an upper-case
// name). The flags say which layers were read, the store holds their points
// in order up to its capacity, and a layer saved again holds no more than
// what was read from it and reads back whole.
#include "ScratchFolder.h"

#include "nav/ChartStore.h"
#include "nav/NavState.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace
{

constexpr int kLayers = 10;
constexpr unsigned kNoFile = 0xFFFF;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const std::filesystem::path folder = fuzz::ScratchFolder() / "layers";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);

    ResetNavState();
    ClearChartStore();
    ForgetChartFilesRead();
    const unsigned off = data[0] | data[1] << 8;
    std::string flags;
    for (int layer = 0; layer < kLayers; ++layer)
        flags += off & (1u << layer) ? '-' : '*';
    LayerFlags = flags;

    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    std::vector<char> expectedFlags(kLayers, '-');
    std::vector<ChartFileContents> read(kLayers);
    for (int layer = 0; layer < kLayers && rest.size() >= 2; ++layer) {
        const unsigned length = static_cast<uint8_t>(rest[0]) | static_cast<uint8_t>(rest[1]) << 8;
        rest.remove_prefix(2);
        if (length == kNoFile)
            continue;
        const std::string_view bytes = rest.substr(0, length);
        rest.remove_prefix(bytes.size());
        const std::string name = std::string(layer % 2 ? "CHART.00" : "chart.00") + std::to_string(layer);
        std::ofstream(folder / name, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (flags[static_cast<std::size_t>(layer)] == '-')
            continue;
        expectedFlags[static_cast<std::size_t>(layer)] = '*';
        read[static_cast<std::size_t>(layer)] = DecodeChartFile(bytes);
    }

    const std::string prefix = folder.string() + "/";
    const LayerLoadResult result = AppendChartLayers(prefix, "chart");
    if (LayerFlags.str() != std::string(expectedFlags.begin(), expectedFlags.end()))
        std::abort();
    std::size_t total = 0;
    bool dos = false;
    std::vector<ChartPoint> expected;
    for (const ChartFileContents& layer : read) {
        total += layer.points.size();
        dos = dos || layer.dosFile;
        expected.insert(expected.end(), layer.points.begin(), layer.points.end());
    }
    const std::size_t held = std::min<std::size_t>(total, kMaxChartPoints);
    if (result.storeFull != (total > held) || result.dosFile != dos
        || ChartPointCount != static_cast<int>(held))
        std::abort();
    for (std::size_t i = 0; i < held; ++i)
        if (!(ChartPoints[i + 1] == expected[i]))
            std::abort();

    std::size_t before = 0;
    for (int layer = 0; layer < kLayers; ++layer) {
        if (expectedFlags[static_cast<std::size_t>(layer)] != '*')
            continue;
        const std::size_t count = read[static_cast<std::size_t>(layer)].points.size();
        const std::size_t taken = before >= held ? 0 : std::min(count, held - before);
        before += count;
        int removed = 0;
        const std::string saved = EncodeLayerFile(prefix + "chart.00" + std::to_string(layer), removed);
        const ChartFileContents back = DecodeChartFile(saved);
        if (back.dosFile || back.points.size() > taken)
            std::abort();
    }
    return 0;
}
