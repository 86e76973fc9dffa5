#include "draw/RasterCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace chartwin
{

QRgb BgrToRgb(TColour bgr)
{
    const uint32_t r = bgr & 0xFF;
    const uint32_t g = (bgr >> 8) & 0xFF;
    const uint32_t b = (bgr >> 16) & 0xFF;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

TColour RgbToBgr(QRgb rgb)
{
    const uint32_t r = (rgb >> 16) & 0xFF;
    const uint32_t g = (rgb >> 8) & 0xFF;
    const uint32_t b = rgb & 0xFF;
    return (b << 16) | (g << 8) | r;
}

namespace
{

// Whether step s of a pattern is drawn. Periods: dot 6, dash and dash-dot 24.
int PatternPeriod(TPenStyle style)
{
    switch (style) {
    case TPenStyle::Dot:
        return 6;
    case TPenStyle::Dash:
    case TPenStyle::DashDot:
        return 24;
    case TPenStyle::Solid:
        break;
    }
    return 1;
}

bool PatternOn(TPenStyle style, int s)
{
    switch (style) {
    case TPenStyle::Dot:
        return s < 3;
    case TPenStyle::Dash:
        return s < 18;
    case TPenStyle::DashDot:
        return s < 9 || (s >= 15 && s < 18);
    case TPenStyle::Solid:
        break;
    }
    return true;
}

} // namespace

TRasterCanvas::TRasterCanvas(QImage& image)
    : image_(&image)
{
    static std::atomic<uint64_t> lastSerial { 0 };
    serial_ = ++lastSerial;
    if (image_->format() != QImage::Format_RGB32)
        *image_ = image_->convertToFormat(QImage::Format_RGB32);
    width_ = image_->width();
    height_ = image_->height();
}

// A pen that really changes starts its pattern afresh.
template <typename T> void TRasterCanvas::ChangePen(T& field, T value)
{
    if (field != value)
        patternStep_ = 0;
    field = value;
}

void TRasterCanvas::SetPenColour(TColour colour)
{
    ChangePen(penColour_, colour);
}
void TRasterCanvas::SetPenWidth(int width)
{
    ChangePen(penWidth_, width);
}
void TRasterCanvas::SetPenStyle(TPenStyle style)
{
    ChangePen(penStyle_, style);
}
void TRasterCanvas::SetPenMode(TPenMode mode)
{
    ChangePen(penMode_, mode);
}

void TRasterCanvas::MoveTo(int x, int y)
{
    penX_ = x;
    penY_ = y;
    patternStep_ = 0;
}

void TRasterCanvas::LineTo(int x, int y)
{
    if (penWidth_ > 1)
        WideLine(penX_, penY_, x, y);
    else
        ThinLine(penX_, penY_, x, y);
    penX_ = x;
    penY_ = y;
}

void TRasterCanvas::PlotPen(int x, int y, TColour colour)
{
    auto* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
    const uint32_t src = BgrToRgb(colour) & 0xFFFFFF;
    uint32_t dst = row[x] & 0xFFFFFF;
    switch (penMode_) {
    case TPenMode::Copy:
        dst = src;
        break;
    case TPenMode::Xor:
        dst ^= src;
        break;
    case TPenMode::NotXor:
        dst = ~(dst ^ src);
        break;
    case TPenMode::Not:
        dst = ~dst;
        break;
    }
    row[x] = 0xFF000000u | (dst & 0xFFFFFF);
}

// Bresenham along the major axis. The minor offset after k steps is the ideal
// k * minor / major rounded to nearest, a tie going to the smaller screen
// coordinate: floor((2k * minor + bias) / (2 * major)) with bias major - 1
// when the minor coordinate grows and major when it shrinks. Pixels off the
// image are skipped without drawing but still advance the pattern.
void TRasterCanvas::ThinLine(int x0, int y0, int x1, int y1)
{
    const int64_t dx = std::abs(int64_t(x1) - x0);
    const int64_t dy = std::abs(int64_t(y1) - y0);
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy;
    if (major == 0)
        return;
    const int64_t minor = xMajor ? dy : dx;
    const int sMajor = (xMajor ? x1 - x0 : y1 - y0) > 0 ? 1 : -1;
    const int sMinor = (xMajor ? y1 - y0 : x1 - x0) >= 0 ? 1 : -1;
    const int64_t majStart = xMajor ? x0 : y0;
    const int64_t minStart = xMajor ? y0 : x0;
    const int64_t majLimit = xMajor ? width_ : height_;
    const int64_t minLimit = xMajor ? height_ : width_;

    // Steps whose major coordinate lies on the image: majStart + sMajor*k in
    // [0, majLimit).
    int64_t kFirst, kLast;
    if (sMajor > 0) {
        kFirst = -majStart;
        kLast = majLimit - 1 - majStart;
    } else {
        kFirst = majStart - (majLimit - 1);
        kLast = majStart;
    }
    kFirst = std::max<int64_t>(kFirst, 0);
    kLast = std::min<int64_t>(kLast, major - 1);

    const int period = PatternPeriod(penStyle_);
    const bool gapsPainted = brushStyle_ == TBrushStyle::Solid;
    if (kFirst <= kLast) {
        const int64_t twoMajor = 2 * major;
        const int64_t bias = sMinor > 0 ? major - 1 : major;
        const int64_t n = 2 * kFirst * minor + bias;
        int64_t m = n / twoMajor;
        int64_t r = n % twoMajor;
        int step = int((patternStep_ + kFirst) % period);
        for (int64_t k = kFirst; k <= kLast; ++k) {
            const int64_t c = minStart + sMinor * m;
            if (c >= 0 && c < minLimit) {
                const int64_t a = majStart + sMajor * k;
                const int px = int(xMajor ? a : c);
                const int py = int(xMajor ? c : a);
                if (PatternOn(penStyle_, step))
                    PlotPen(px, py, penColour_);
                else if (gapsPainted)
                    PlotPen(px, py, brushColour_);
            }
            r += 2 * minor;
            if (r >= twoMajor) {
                r -= twoMajor;
                ++m;
            }
            if (++step == period)
                step = 0;
        }
    }
    patternStep_ = int((patternStep_ + major) % period);
}

// Wide pens are solid with round ends, as the GDI drew geometric pens. The
// stroke is rasterised into a mask by QPainter, then applied through the pen
// mode so inverting wide lines erase themselves like thin ones.
void TRasterCanvas::WideLine(int x0, int y0, int x1, int y1)
{
    if (x0 == x1 && y0 == y1)
        return;
    const int reach = penWidth_ / 2 + 2;
    const QRect box = QRect(QPoint(std::min(x0, x1) - reach, std::min(y0, y1) - reach),
        QPoint(std::max(x0, x1) + reach, std::max(y0, y1) + reach))
                          .intersected(QRect(0, 0, width_, height_));
    if (box.isEmpty())
        return;
    QImage mask(box.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::white, penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.translate(-box.x(), -box.y());
        painter.drawLine(QPoint(x0, y0), QPoint(x1, y1));
    }
    for (int my = 0; my < mask.height(); ++my) {
        const uchar* row = mask.constScanLine(my);
        for (int mx = 0; mx < mask.width(); ++mx)
            if (row[mx] != 0)
                PlotPen(box.x() + mx, box.y() + my, penColour_);
    }
}

void TRasterCanvas::SetPixel(int x, int y, TColour colour)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    reinterpret_cast<QRgb*>(image_->scanLine(y))[x] = BgrToRgb(colour);
}

TColour TRasterCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return kNoColour;
    return RgbToBgr(reinterpret_cast<const QRgb*>(image_->constScanLine(y))[x]);
}

// Scan-line fill over 4-connected neighbours. Pixels are marked in visited_
// with a generation number, so the buffer is cleared only once every 255
// fills whatever their size.
void TRasterCanvas::FloodFill(int x, int y, TColour colour, TFillStyle style)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || brushStyle_ == TBrushStyle::Clear)
        return;
    const QRgb key = BgrToRgb(colour);
    const QRgb fill = BgrToRgb(brushColour_);
    auto inside = [&](QRgb p) { return (style == TFillStyle::Border) ? p != key : p == key; };
    auto pixelAt
        = [&](int px, int py) { return reinterpret_cast<const QRgb*>(image_->constScanLine(py))[px]; };
    if (!inside(pixelAt(x, y)))
        return;

    const std::size_t total = std::size_t(width_) * std::size_t(height_);
    if (visited_.size() != total + 1) {
        visited_.assign(total + 1, 0); // the extra last byte holds the generation
    }
    uint8_t& generation = visited_[total];
    if (++generation == 0) {
        std::fill(visited_.begin(), visited_.end() - 1, 0);
        generation = 1;
    }
    const uint8_t mark = generation;
    auto fresh = [&](int px, int py) {
        return visited_[std::size_t(py) * width_ + px] != mark && inside(pixelAt(px, py));
    };

    std::vector<std::pair<int, int>> seeds { { x, y } };
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        if (!fresh(sx, sy))
            continue;
        int left = sx;
        while (left > 0 && fresh(left - 1, sy))
            --left;
        int right = sx;
        while (right + 1 < width_ && fresh(right + 1, sy))
            ++right;
        auto* row = reinterpret_cast<QRgb*>(image_->scanLine(sy));
        for (int px = left; px <= right; ++px) {
            visited_[std::size_t(sy) * width_ + px] = mark;
            row[px] = fill;
        }
        for (int ny : { sy - 1, sy + 1 }) {
            if (ny < 0 || ny >= height_)
                continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                const bool open = fresh(px, ny);
                if (open && !inRun)
                    seeds.emplace_back(px, ny);
                inRun = open;
            }
        }
    }
}

QFont TRasterCanvas::CurrentFont() const
{
    QFont font(fontFamily_);
    font.setPixelSize(std::max(1, fontHeight_));
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void TRasterCanvas::TextOut(int x, int y, const std::string& latin1)
{
    const QString text = QString::fromLatin1(latin1.data(), qsizetype(latin1.size()));
    const QFont font = CurrentFont();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    {
        QPainter painter(image_);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        if (brushStyle_ == TBrushStyle::Solid)
            painter.fillRect(QRect(x, y, width, metrics.height()), QColor::fromRgb(BgrToRgb(brushColour_)));
        painter.setPen(QColor::fromRgb(BgrToRgb(fontColour_)));
        painter.drawText(QPoint(x, y + metrics.ascent()), text);
    }
    MoveTo(x + width, y);
}

int TRasterCanvas::TextWidth(const std::string& latin1) const
{
    return QFontMetrics(CurrentFont())
        .horizontalAdvance(QString::fromLatin1(latin1.data(), qsizetype(latin1.size())));
}

int TRasterCanvas::TextHeight(const std::string& latin1) const
{
    return QFontMetrics(CurrentFont()).height();
}

} // namespace chartwin
