#pragma once
// The geometry of the raster image viewer, apart from any window: where a
// position lies on a referenced chartlet and the reverse, the zoom steps and
// their limits, the scroll positions that centre a point, the crosses drawn
// on the image, the track as image pixels, and when a chart point may be
// digitised from the image.
//
// Two pixel spaces: image pixels (the H x W of the reference, in which the
// track and crosses are drawn on the image) and displayed pixels (image
// pixels times the zoom, in which the mouse reports).
// Positions are degrees, latitude north positive, longitude WEST positive.

#include "nav/ChartletReference.h"
#include "nav/NavTypes.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Mapped pixels are held to +-kFarPixel: far enough outside any image that a
// line to such a point leaves the image in nearly the same direction, near
// enough that the painter's fixed-point arithmetic does not overflow.
constexpr int32_t kFarPixel = 1000000;

// The image pixel of a position, with the reference's offsets applied
// (a positive latitude offset moves the point north, a positive longitude
// offset east):
//   y = round((nwLat - (lat + latOffset)) * H / (nwLat - seLat))
//   x = round((nwLon - (lon - lonOffset)) * W / (nwLon - seLon))
// The reference must be valid; an invalid one gives (0, 0).
PixelPoint PositionToPixel(const ChartletReference& reference, double lat, double lon);

// The position under a displayed pixel (offsets not applied):
//   lat = nwLat - (nwLat - seLat) * y / displayedHeight
//   lon = nwLon - (nwLon - seLon) * x / displayedWidth
// A displayed size below 1 gives the north-west corner's value.
TPosition PixelToPosition(const ChartletReference& reference, int32_t displayedWidth, int32_t displayedHeight,
    int32_t x, int32_t y);

// The image pixel under a displayed pixel: each coordinate divided by the
// zoom and rounded.
PixelPoint DisplayedToImage(int32_t x, int32_t y, double zoom);

// Zoom factor and displayed size. Each step multiplies or divides the zoom
// by 1.5 and the displayed size too, rounding the size at every step.
struct ChartletZoom {
    double zoom = 1.0;
    int32_t height = 0; // displayed pixels
    int32_t width = 0;
};

// Zoom in is refused while a displayed side exceeds this.
constexpr int32_t kMaxZoomInSide = 16382;
// Zoom out is refused when a displayed side would fall below this.
constexpr int32_t kMinDisplayedSide = 16;

// 1:1, the displayed size the reference's H x W.
ChartletZoom NormalZoom(const ChartletReference& reference);
// One step in or out; false (nothing changed) when refused: the viewer beeps.
bool ZoomIn(ChartletZoom& zoom);
bool ZoomOut(ChartletZoom& zoom);

// The scroll position that centres an image of `size` displayed pixels in a
// client area of `clientSize`: (size - clientSize) div 2 + 1.
int32_t CentredScrollPosition(int32_t size, int32_t clientSize);
// The scroll position that brings image pixel `pixel` to the middle:
// (displayed - client) div 2 + 1 + round(pixel x zoom) - displayed div 2.
int32_t ScrollPositionFor(int32_t displayedSize, int32_t clientSize, int32_t pixel, double zoom);

struct PixelStroke {
    PixelPoint from;
    PixelPoint to;

    friend bool operator==(const PixelStroke&, const PixelStroke&) = default;
};

// A fix cross: a horizontal and a vertical stroke of 12 pixels, 6 on each
// side of the point.
std::array<PixelStroke, 2> FixCrossStrokes(PixelPoint at);
// The cursor cross: four strokes, left, right, up and down, each from 3 to 30
// pixels away from the point (the point itself stays visible). Drawn with an
// inverting pen, so drawing it twice removes it.
std::array<PixelStroke, 4> CursorCrossStrokes(PixelPoint at);

// The image pixels of track records (LogRecords 1..LogCount, oldest first).
// Empty when the reference is not valid or there are no records.
std::vector<PixelPoint> TrackPixels(const ChartletReference& reference, std::span<const LogRecord> records);

// What the viewer knows when it is asked to digitise the cursor point as a
// chart point (by hand or on its 2-second timer).
struct ChartPointDigitising {
    int chartWindows = 0; // open chart views
    int logCount = 0; // track records
    int chartPointCount = 0; // points in the chart store
    bool chartEditable = false; // a chart is open for editing
    double viewZoom = 0.0; // the chart view's zoom
    PixelPoint cursor; // image pixels
    PixelPoint lastAdded; // the point digitised last
};

// A chart point may be added only with exactly one chart view, an empty
// track, a chart of at least one point open for editing, a view zoom of at
// least 1.0, and a cursor moved since the last point added.
bool MayAddChartPoint(const ChartPointDigitising& state);
