#include "nav/ChartStore.h"

#include "nav/ChartEdit.h"
#include "nav/NavState.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>

int16_t LoadedPointCount = 0;

namespace
{

constexpr std::size_t kRecordSize = ChartPoint::storedSize; // 12
constexpr int kLayerCount = 10;

} // namespace

int ChartPointsInUse()
{
    return std::clamp<int>(ChartPointCount, 0, kMaxChartPoints);
}

bool IsPenUp(const ChartPoint& point)
{
    return point.lat.value() == -1.0 && point.lon.value() == -1.0;
}

void ClearChartStore()
{
    ChartPoints.fill(PenUpPoint);
    ChartPointCount = 0;
    LoadedPointCount = 0;
    ChartKind = 0;
    SelectedChartPoint = 0;
}

ChartFileContents DecodeChartFile(std::string_view bytes)
{
    ChartFileContents contents;
    const std::size_t records = bytes.size() / kRecordSize;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    contents.points.reserve(records);
    for (std::size_t i = 0; i < records; ++i)
        contents.points.push_back(ChartPoint::load(data + i * kRecordSize));
    const bool cleanEnd
        = bytes.size() % kRecordSize == 0 && !contents.points.empty() && IsPenUp(contents.points.back());
    if (cleanEnd)
        contents.points.pop_back();
    else
        contents.dosFile = !bytes.empty();
    return contents;
}

bool AppendToChartStore(const std::vector<ChartPoint>& points)
{
    int count = ChartPointsInUse();
    const std::size_t room = static_cast<std::size_t>(kMaxChartPoints - count);
    const std::size_t taken = std::min(points.size(), room);
    for (std::size_t i = 0; i < taken; ++i)
        ChartPoints[static_cast<std::size_t>(++count)] = points[i];
    ChartPointCount = static_cast<int16_t>(count);
    LoadedPointCount = ChartPointCount;
    return taken == points.size();
}

LayerLoadResult AppendChartLayers(const std::string& folder, const std::string& chartName)
{
    LayerLoadResult result;
    std::string flags = LayerFlags.str();
    flags.resize(kLayerCount, '*');
    for (int layer = 0; layer < kLayerCount; ++layer) {
        char& flag = flags[static_cast<std::size_t>(layer)];
        if (flag == '-')
            continue;
        const auto bytes
            = rtl::ReadFileBytes(rtl::OpenPath(folder + chartName + ".00" + std::to_string(layer)));
        if (!bytes) {
            flag = '-';
            continue;
        }
        flag = '*';
        const ChartFileContents contents = DecodeChartFile(*bytes);
        result.dosFile = result.dosFile || contents.dosFile;
        if (!AppendToChartStore(contents.points))
            result.storeFull = true;
    }
    LayerFlags = flags;
    return result;
}

std::string EncodeChartFile(int first, int& removed)
{
    removed = 0;
    const int last = ChartPointsInUse();
    std::string image;
    auto put = [&image](const ChartPoint& point) {
        uint8_t record[kRecordSize];
        point.store(record);
        image.append(reinterpret_cast<const char*>(record), kRecordSize);
    };
    for (int i = std::max(first, 1); i <= last; ++i) {
        const ChartPoint& point = ChartPoints[static_cast<std::size_t>(i)];
        const bool nextIsPenUp = i == last || IsPenUp(ChartPoints[static_cast<std::size_t>(i + 1)]);
        if (IsPenUp(point) && nextIsPenUp) {
            ++removed;
            continue;
        }
        put(point);
    }
    put(PenUpPoint);
    return image;
}
