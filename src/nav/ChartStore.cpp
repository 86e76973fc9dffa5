#include "nav/ChartStore.h"

#include "nav/ChartEdit.h"
#include "nav/NavState.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <filesystem>
#include <utility>

int16_t LoadedPointCount = 0;

namespace
{

constexpr std::size_t kRecordSize = ChartPoint::storedSize; // 12
constexpr int kLayerCount = 10;

// The store points first..last, read from the file at `path`.
struct FileRead {
    std::string path;
    int first = 0;
    int last = 0;
};
std::vector<FileRead> filesRead; // in reading order

bool SameFile(const std::string& a, const std::string& b)
{
    const std::string pathA = rtl::OpenPath(a);
    const std::string pathB = rtl::OpenPath(b);
    std::error_code error;
    return pathA == pathB || std::filesystem::equivalent(pathA, pathB, error);
}

// The image of the store points in `ranges` (first, last), one after the
// other. A pen-up followed by another pen-up is left out and counted; the
// point after the last one counts as a pen-up (the end marker follows it).
std::string EncodeRanges(const std::vector<std::pair<int, int>>& ranges, int& removed)
{
    const int inUse = ChartPointsInUse();
    std::vector<const ChartPoint*> points;
    for (const auto& [first, last] : ranges)
        for (int i = std::max(first, 1); i <= std::min(last, inUse); ++i)
            points.push_back(&ChartPoints[static_cast<std::size_t>(i)]);
    removed = 0;
    std::string image;
    auto put = [&image](const ChartPoint& point) {
        uint8_t record[kRecordSize];
        point.store(record);
        image.append(reinterpret_cast<const char*>(record), kRecordSize);
    };
    for (std::size_t k = 0; k < points.size(); ++k) {
        const bool nextIsPenUp = k + 1 == points.size() || IsPenUp(*points[k + 1]);
        if (IsPenUp(*points[k]) && nextIsPenUp) {
            ++removed;
            continue;
        }
        put(*points[k]);
    }
    put(PenUpPoint);
    return image;
}

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
    ChartKind = 0;
    SelectedChartPoint = 0;
    ForgetChartFilesRead();
}

void ForgetChartFilesRead()
{
    LoadedPointCount = 0;
    filesRead.clear();
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

bool AppendToChartStore(const std::vector<ChartPoint>& points, const std::string& path)
{
    int count = ChartPointsInUse();
    if (!path.empty())
        filesRead.push_back(FileRead { path, count + 1, count + static_cast<int>(points.size()) });
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
        const std::string path = folder + chartName + ".00" + std::to_string(layer);
        const auto bytes = rtl::ReadFileBytes(rtl::OpenPath(path));
        if (!bytes) {
            flag = '-';
            continue;
        }
        flag = '*';
        const ChartFileContents contents = DecodeChartFile(*bytes);
        result.dosFile = result.dosFile || contents.dosFile;
        if (!AppendToChartStore(contents.points, path))
            result.storeFull = true;
    }
    LayerFlags = flags;
    return result;
}

std::string EncodeChartFile(int first, int& removed)
{
    return EncodeRanges({ { first, ChartPointsInUse() } }, removed);
}

std::string EncodeLayerFile(const std::string& path, int& removed)
{
    const int inUse = ChartPointsInUse();
    const int loaded = std::clamp<int>(LoadedPointCount, 0, inUse);
    for (auto read = filesRead.rbegin(); read != filesRead.rend(); ++read) {
        if (!SameFile(read->path, path))
            continue;
        const int last = std::min(read->last, loaded);
        if (last == loaded)
            return EncodeRanges({ { read->first, inUse } }, removed);
        return EncodeRanges({ { read->first, last }, { loaded + 1, inUse } }, removed);
    }
    return EncodeChartFile(std::max(loaded, 1), removed);
}
