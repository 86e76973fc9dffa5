#include "nav/ChartStore.h"

#include "nav/ChartEdit.h"
#include "nav/FileNameParts.h"
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

using Range = std::pair<int, int>; // store points first..last

// The store points that came from the file at `path`: read from it, or last
// written to it.
struct FileRead {
    std::string path;
    std::vector<Range> ranges;
};
std::vector<FileRead> filesRead; // in reading (or writing) order

// "<folder><base name>.00<layer>".
std::string LayerFilePath(const std::string& folderAndBase, int layer)
{
    return folderAndBase + ".00" + std::to_string(layer);
}

bool SameFile(const std::string& a, const std::string& b)
{
    const std::string pathA = rtl::OpenPath(a);
    const std::string pathB = rtl::OpenPath(b);
    std::error_code error;
    return pathA == pathB || std::filesystem::equivalent(pathA, pathB, error);
}

// The image of the store points in `ranges`, one after the other. A pen-up
// followed by another pen-up is left out and counted; the point after the
// last one counts as a pen-up (the end marker follows it). With
// `liftBetween`, a range that does not go on from the point before it in
// the store begins with the pen lifted, so that no line joins points that
// were not joined in the store.
std::string EncodeRanges(const std::vector<Range>& ranges, int& removed, bool liftBetween = false)
{
    const int inUse = ChartPointsInUse();
    std::vector<const ChartPoint*> points;
    int previous = -1;
    for (const auto& [first, last] : ranges) {
        const int from = std::max(first, 1);
        const int to = std::min(last, inUse);
        if (from > to)
            continue;
        const bool joined = from == previous + 1 || IsPenUp(ChartPoints[static_cast<std::size_t>(from)]);
        if (liftBetween && previous >= 0 && !joined)
            points.push_back(&PenUpPoint);
        for (int i = from; i <= to; ++i)
            points.push_back(&ChartPoints[static_cast<std::size_t>(i)]);
        previous = to;
    }
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

// True when `path` is one of the layer files "<folder><base name>.000" to
// ".009" that loading the chart `chartPath` reads, and is there to be read.
bool LayerOfChart(const std::string& path, const std::string& chartPath)
{
    if (!rtl::FileExists(path))
        return false;
    const std::string base = ExtractFileDir(chartPath) + ExtractFileBaseName(chartPath);
    for (int layer = 0; layer < kLayerCount; ++layer)
        if (SameFile(path, LayerFilePath(base, layer)))
            return true;
    return false;
}

// The store points a chart saved at `path` holds: all but those that came
// from its own layer files, which its next loading reads again.
std::vector<Range> ChartRanges(const std::string& path)
{
    const int inUse = ChartPointsInUse();
    std::vector<bool> inLayer(static_cast<std::size_t>(inUse) + 1, false);
    for (const FileRead& read : filesRead) {
        if (!LayerOfChart(read.path, path))
            continue;
        for (const auto& [first, last] : read.ranges)
            for (int i = std::max(first, 1); i <= std::min(last, inUse); ++i)
                inLayer[static_cast<std::size_t>(i)] = true;
    }
    std::vector<Range> ranges;
    for (int i = 1; i <= inUse; ++i) {
        if (inLayer[static_cast<std::size_t>(i)])
            continue;
        if (!ranges.empty() && ranges.back().second == i - 1)
            ranges.back().second = i;
        else
            ranges.push_back({ i, i });
    }
    return ranges;
}

// The store points a layer saved at `path` holds (EncodeLayerFile).
std::vector<Range> LayerRanges(const std::string& path)
{
    const int inUse = ChartPointsInUse();
    const int loaded = std::clamp<int>(LoadedPointCount, 0, inUse);
    for (auto read = filesRead.rbegin(); read != filesRead.rend(); ++read) {
        if (!SameFile(read->path, path))
            continue;
        std::vector<Range> ranges;
        for (const auto& [first, last] : read->ranges)
            ranges.push_back({ first, std::min(last, loaded) });
        ranges.push_back({ loaded + 1, inUse });
        return ranges;
    }
    return { { std::max(loaded, 1), inUse } };
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
        filesRead.push_back(FileRead { path, { { count + 1, count + static_cast<int>(points.size()) } } });
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
        const std::string path = LayerFilePath(folder + chartName, layer);
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
    return EncodeRanges(LayerRanges(path), removed);
}

std::string EncodeChartFileAt(const std::string& path, int& removed)
{
    return EncodeRanges(ChartRanges(path), removed, true);
}

void NoteChartFileWritten(const std::string& path, bool chart)
{
    std::vector<Range> ranges = chart ? ChartRanges(path) : LayerRanges(path);
    std::erase_if(filesRead, [&path](const FileRead& read) { return SameFile(read.path, path); });
    filesRead.push_back(FileRead { path, std::move(ranges) });
    LoadedPointCount = static_cast<int16_t>(ChartPointsInUse());
}
