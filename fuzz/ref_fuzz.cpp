// Chartlet reference reader on arbitrary bytes, in memory and from a scratch
// "<image>.ref" found by the image's name (which must read as its bytes do,
// and a missing one silently as the defaults). A file is either read or
// reported with a message; a read reference writes back to a text that reads
// and writes unchanged, and mapping positions and pixels with it, zooming and
// centring never overflows or divides by zero (UBSan watches).
#include "ScratchFolder.h"

#include "nav/ChartletReference.h"
#include "nav/ChartletView.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace
{

void Exercise(const ChartletReference& r)
{
    volatile int32_t sink = 0;
    for (const double lat : { r.nwLat, r.seLat, 0.0, 90.0, -90.0 })
        for (const double lon : { r.nwLon, r.seLon, 0.0, 180.0, -180.0 }) {
            const PixelPoint p = PositionToPixel(r, lat, lon);
            if (p.x < -kFarPixel || p.x > kFarPixel || p.y < -kFarPixel || p.y > kFarPixel)
                std::abort();
            sink = sink + p.x;
        }
    ChartletZoom zoom = NormalZoom(r);
    for (int i = 0; i < 40 && ZoomIn(zoom); ++i)
        sink = sink + ScrollPositionFor(zoom.height, 300, r.height / 2, zoom.zoom);
    while (ZoomOut(zoom))
        if (zoom.height < kMinDisplayedSide || zoom.width < kMinDisplayedSide)
            std::abort();
    const TPosition corner = PixelToPosition(r, zoom.width, zoom.height, zoom.width, zoom.height);
    const PixelPoint cursor = DisplayedToImage(zoom.width, zoom.height, zoom.zoom);
    sink = sink + cursor.x + static_cast<int32_t>(corner.lat > 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ReferenceReadResult read = ParseChartletReference(input, "input.ref");
    const std::string refPath = fuzz::WriteScratchFile("input.ref", data, size);
    const ReferenceReadResult fromFile
        = ReadChartletReference(ChartletReferencePath(fuzz::ScratchFile("input.jpg")));
    if (fromFile.status != read.status || fromFile.reference != read.reference
        || fromFile.message != read.message)
        std::abort();
    std::filesystem::remove(refPath);
    const ReferenceReadResult missing = ReadChartletReference(refPath);
    if (missing.status != ReferenceStatus::Missing || missing.reference != ChartletReference {})
        std::abort();
    if (read.status == ReferenceStatus::FormatError) {
        if (read.message.rfind("Reference file format error", 0) != 0
            || read.reference != ChartletReference {})
            std::abort();
        return 0;
    }
    if (read.status != ReferenceStatus::Read || read.reference.height < 1 || read.reference.width < 1)
        std::abort();
    Exercise(read.reference);

    const std::string first = FormatChartletReference(read.reference);
    const ReferenceReadResult again = ParseChartletReference(first, "first.ref");
    if (again.status != ReferenceStatus::Read || FormatChartletReference(again.reference) != first)
        std::abort();
    return 0;
}
