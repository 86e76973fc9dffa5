#pragma once
// The drawing surface of a chart view: a pen, a brush and a font over a
// QImage, with a current position moved by MoveTo and LineTo.
//
// Chart drawing is defined pixel by pixel, so one-pixel lines, line patterns,
// single pixels and flood fills are rasterised here, as the Windows GDI drew
// them for the original program:
// - a one-pixel line is drawn from the current position up to, but not
//   including, its end pixel (Bresenham; where the ideal line passes exactly
//   half way between two pixels, the one with the smaller coordinate is
//   taken, so a line and its reverse cover the same pixels);
// - dotted (3 on, 3 off), dashed (18 on, 6 off) and dash-dot (9 on, 6 off,
//   3 on, 6 off) patterns carry on from one LineTo to the next; MoveTo and
//   a change of pen start the pattern afresh;
// - while the brush is solid, the pattern's gaps are painted in the brush
//   colour (the GDI's opaque background mode); with a clear brush they are
//   left alone;
// - the pen mode combines the pen colour with the pixel under it (copy, xor,
//   not-xor, invert), so an inverted drawing drawn twice disappears;
// - flood fills are 4-connected.
// Lines wider than one pixel (always solid, round ends) and text go through
// QPainter; text uses the DejaVu fonts in place of the original's fonts.
//
// Colours are Windows BGR integers throughout (0x0000FF is red); BgrToRgb and
// RgbToBgr are the only conversion to and from the image's pixels.

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace chartwin
{

using TColour = uint32_t; // Windows BGR: 0x00BBGGRR

constexpr TColour kBlack = 0x000000;
constexpr TColour kRed = 0x0000FF;
constexpr TColour kLime = 0x00FF00;
constexpr TColour kYellow = 0x00FFFF;
constexpr TColour kBlue = 0xFF0000;
constexpr TColour kMagenta = 0xFF00FF;
constexpr TColour kAqua = 0xFFFF00;
constexpr TColour kGrey = 0x808080;
constexpr TColour kSilver = 0xC0C0C0;
constexpr TColour kWhite = 0xFFFFFF;
// What Pixel() answers for a point outside the image.
constexpr TColour kNoColour = 0xFFFFFFFF;

// The image pixel (0xAARRGGBB, opaque) of a BGR colour, and back.
QRgb BgrToRgb(TColour bgr);
TColour RgbToBgr(QRgb rgb);

enum class TPenStyle { Solid, Dot, Dash, DashDot };
enum class TPenMode { Copy, Xor, NotXor, Not };
enum class TBrushStyle { Solid, Clear };
// Border: fill everything up to pixels of the given colour. Surface: fill
// the connected pixels that have the given colour.
enum class TFillStyle { Border, Surface };

class TRasterCanvas
{
public:
    // Draws on `image` (not owned), which is converted to RGB32 if needed.
    explicit TRasterCanvas(QImage& image);

    // A number no other canvas of this run has: caches of pen state key on it.
    uint64_t Serial() const { return serial_; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    QImage& Image() { return *image_; }

    // Pen. Setting a different value starts the line pattern afresh.
    void SetPenColour(TColour colour);
    void SetPenWidth(int width);
    void SetPenStyle(TPenStyle style);
    void SetPenMode(TPenMode mode);
    TColour PenColour() const { return penColour_; }
    int PenWidth() const { return penWidth_; }
    TPenStyle PenStyle() const { return penStyle_; }
    TPenMode PenMode() const { return penMode_; }

    void SetBrushColour(TColour colour) { brushColour_ = colour; }
    void SetBrushStyle(TBrushStyle style) { brushStyle_ = style; }
    TColour BrushColour() const { return brushColour_; }
    TBrushStyle BrushStyle() const { return brushStyle_; }

    // Font: a DejaVu family name and the character height in pixels.
    void SetFontName(const QString& family) { fontFamily_ = family; }
    void SetFontHeight(int pixels) { fontHeight_ = pixels; }
    void SetFontColour(TColour colour) { fontColour_ = colour; }
    TColour FontColour() const { return fontColour_; }

    void MoveTo(int x, int y);
    // A line from the current position to (x, y), which becomes the current
    // position. One-pixel pens leave (x, y) itself undrawn.
    void LineTo(int x, int y);
    int PenX() const { return penX_; }
    int PenY() const { return penY_; }

    // Sets one pixel, whatever the pen mode. Points off the image are ignored.
    void SetPixel(int x, int y, TColour colour);
    // The pixel's colour, or kNoColour off the image.
    TColour Pixel(int x, int y) const;

    // Flood fill with the brush colour from (x, y).
    void FloodFill(int x, int y, TColour colour, TFillStyle style);

    // Text in Latin-1 with its top left corner at (x, y), on a brush-coloured
    // box while the brush is solid. The pen moves to the end of the text.
    void TextOut(int x, int y, const std::string& latin1);
    int TextWidth(const std::string& latin1) const;
    int TextHeight(const std::string& latin1) const;

private:
    template <typename T> void ChangePen(T& field, T value);
    void PlotPen(int x, int y, TColour colour);
    void ThinLine(int x0, int y0, int x1, int y1);
    void WideLine(int x0, int y0, int x1, int y1);
    QFont CurrentFont() const;

    QImage* image_;
    uint64_t serial_ = 0;
    int width_;
    int height_;

    TColour penColour_ = kBlack;
    int penWidth_ = 1;
    TPenStyle penStyle_ = TPenStyle::Solid;
    TPenMode penMode_ = TPenMode::Copy;
    int patternStep_ = 0; // pixels stepped since the pattern started

    TColour brushColour_ = kWhite;
    TBrushStyle brushStyle_ = TBrushStyle::Solid;

    QString fontFamily_ = QStringLiteral("DejaVu Sans");
    int fontHeight_ = 11;
    TColour fontColour_ = kBlack;

    int penX_ = 0;
    int penY_ = 0;

    // Flood fill bookkeeping, kept between fills so a small fill on a large
    // image does not clear a whole image-sized buffer.
    std::vector<uint8_t> visited_;
};

} // namespace chartwin
