#include "nav/ChartletView.h"

#include "rtl/Numbers.h"

#include <algorithm>

namespace
{

constexpr double kZoomStep = 1.5;
constexpr int32_t kFixCrossArm = 6;
constexpr int32_t kCursorGap = 3;
constexpr int32_t kCursorArm = 30;

int32_t NearPixel(double value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(rtl::Round(value), -kFarPixel, kFarPixel));
}

int32_t RoundedSide(double value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(rtl::Round(value), 0, INT32_MAX));
}

} // namespace

PixelPoint PositionToPixel(const ChartletReference& r, double lat, double lon)
{
    if (!r.valid())
        return {};
    const double y = (r.nwLat - (lat + r.latOffsetDegrees())) * r.height / (r.nwLat - r.seLat);
    const double x = (r.nwLon - (lon - r.lonOffsetDegrees())) * r.width / (r.nwLon - r.seLon);
    return { NearPixel(x), NearPixel(y) };
}

TPosition PixelToPosition(
    const ChartletReference& r, int32_t displayedWidth, int32_t displayedHeight, int32_t x, int32_t y)
{
    TPosition p { r.nwLat, r.nwLon };
    if (displayedHeight >= 1)
        p.lat -= (r.nwLat - r.seLat) * y / displayedHeight;
    if (displayedWidth >= 1)
        p.lon -= (r.nwLon - r.seLon) * x / displayedWidth;
    return p;
}

PixelPoint DisplayedToImage(int32_t x, int32_t y, double zoom)
{
    if (!(zoom > 0.0))
        return { x, y };
    return { NearPixel(x / zoom), NearPixel(y / zoom) };
}

ChartletZoom NormalZoom(const ChartletReference& reference)
{
    return { 1.0, reference.height, reference.width };
}

bool ZoomIn(ChartletZoom& z)
{
    if (z.height > kMaxZoomInSide || z.width > kMaxZoomInSide)
        return false;
    z.zoom *= kZoomStep;
    z.height = RoundedSide(z.height * kZoomStep);
    z.width = RoundedSide(z.width * kZoomStep);
    return true;
}

bool ZoomOut(ChartletZoom& z)
{
    const int32_t height = RoundedSide(z.height / kZoomStep);
    const int32_t width = RoundedSide(z.width / kZoomStep);
    if (height < kMinDisplayedSide || width < kMinDisplayedSide)
        return false;
    z.zoom /= kZoomStep;
    z.height = height;
    z.width = width;
    return true;
}

int32_t CentredScrollPosition(int32_t size, int32_t clientSize)
{
    return (size - clientSize) / 2 + 1; // div truncates toward zero
}

int32_t ScrollPositionFor(int32_t displayedSize, int32_t clientSize, int32_t pixel, double zoom)
{
    return CentredScrollPosition(displayedSize, clientSize) + NearPixel(pixel * zoom) - displayedSize / 2;
}

std::array<PixelStroke, 2> FixCrossStrokes(PixelPoint at)
{
    return { {
        { { at.x - kFixCrossArm, at.y }, { at.x + kFixCrossArm, at.y } },
        { { at.x, at.y - kFixCrossArm }, { at.x, at.y + kFixCrossArm } },
    } };
}

std::array<PixelStroke, 4> CursorCrossStrokes(PixelPoint at)
{
    return { {
        { { at.x - kCursorGap, at.y }, { at.x - kCursorArm, at.y } },
        { { at.x + kCursorGap, at.y }, { at.x + kCursorArm, at.y } },
        { { at.x, at.y - kCursorGap }, { at.x, at.y - kCursorArm } },
        { { at.x, at.y + kCursorGap }, { at.x, at.y + kCursorArm } },
    } };
}

std::vector<PixelPoint> TrackPixels(const ChartletReference& reference, std::span<const LogRecord> records)
{
    std::vector<PixelPoint> pixels;
    if (!reference.valid())
        return pixels;
    pixels.reserve(records.size());
    for (const LogRecord& record : records)
        pixels.push_back(PositionToPixel(reference, record.lat.value(), record.lon.value()));
    return pixels;
}

bool MayAddChartPoint(const ChartPointDigitising& s)
{
    return s.chartWindows == 1 && s.logCount == 0 && s.chartPointCount >= 1 && s.chartEditable
        && s.viewZoom >= 1.0 && s.cursor != s.lastAdded;
}
