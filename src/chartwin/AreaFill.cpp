#include "chartwin/AreaFill.h"

#include <vector>

namespace chartwin
{

int64_t FillAndCountArea(
    TRasterCanvas& canvas, int x, int y, TColour background, TColour foreground, TColour fill)
{
    const int width = canvas.Width(), height = canvas.Height();
    if (x < 0 || y < 0 || x >= width || y >= height || canvas.Pixel(x, y) != background)
        return 0;
    enum : uint8_t { kUnseen, kRegion, kBoundary };
    std::vector<uint8_t> seen(static_cast<std::size_t>(width) * height, kUnseen);
    auto at = [width](int px, int py) { return static_cast<std::size_t>(py) * width + px; };
    std::vector<std::pair<int, int>> pending { { x, y } };
    seen[at(x, y)] = kRegion;
    int64_t count = 0;
    while (!pending.empty()) {
        const auto [px, py] = pending.back();
        pending.pop_back();
        ++count;
        const std::pair<int, int> neighbours[]
            = { { px - 1, py }, { px + 1, py }, { px, py - 1 }, { px, py + 1 } };
        for (const auto& [nx, ny] : neighbours) {
            if (nx < 0 || ny < 0 || nx >= width || ny >= height || seen[at(nx, ny)] != kUnseen)
                continue;
            const TColour colour = canvas.Pixel(nx, ny);
            if (colour == background) {
                seen[at(nx, ny)] = kRegion;
                pending.emplace_back(nx, ny);
            } else if (colour == foreground) {
                seen[at(nx, ny)] = kBoundary;
                ++count;
            }
        }
    }
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px)
            if (seen[at(px, py)] == kRegion)
                canvas.SetPixel(px, py, fill);
    return count;
}

} // namespace chartwin
