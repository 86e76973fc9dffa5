#include "draw/SymbolShapes.h"

#include "rtl/Numbers.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace chartwin
{

TColour ContrastColour(TColour background)
{
    return (background & 0xFFFFFF) == kWhite ? kBlack : kWhite;
}

void DrawPixelRing(
    TRasterCanvas& canvas, int x, int y, int radius, int divisions, TColour colour, double shapeScale)
{
    for (int k = 1; k <= divisions + 1; ++k) {
        const double t = 2.0 * k * M_PI / divisions;
        canvas.SetPixel(x + int(rtl::Round(std::sin(t) * radius)),
            y + int(rtl::Round(std::cos(t) * radius * shapeScale)), colour);
    }
}

void DrawFilledDisc(TRasterCanvas& canvas, int x, int y, int radius, int divisions, TColour colour,
    double shapeScale, TColour background)
{
    DrawPixelRing(canvas, x, y, radius, divisions, colour, shapeScale);
    canvas.SetBrushColour(colour);
    canvas.FloodFill(x, y, colour, TFillStyle::Border);
    canvas.SetBrushColour(background);
}

namespace
{

// Pixel setter for one symbol: offsets from its centre in one colour.
class Stamp
{
public:
    Stamp(TRasterCanvas& canvas, int x, int y, TColour colour)
        : canvas_(canvas)
        , x_(x)
        , y_(y)
        , colour_(colour)
    {
    }

    void Colour(TColour colour) { colour_ = colour; }
    void Px(int dx, int dy) { canvas_.SetPixel(x_ + dx, y_ + dy, colour_); }
    void Pixels(std::initializer_list<std::pair<int, int>> offsets)
    {
        for (auto [dx, dy] : offsets)
            Px(dx, dy);
    }
    // Row dx0..dx1 at dy.
    void Row(int dx0, int dx1, int dy)
    {
        for (int dx = dx0; dx <= dx1; ++dx)
            Px(dx, dy);
    }
    // A row of odd width centred on dx 0.
    void Centred(int width, int dy) { Row(-(width / 2), width / 2, dy); }
    // Column dy0..dy1 at dx.
    void Col(int dy0, int dy1, int dx)
    {
        for (int dy = dy0; dy <= dy1; ++dy)
            Px(dx, dy);
    }
    void Block(int dx0, int dx1, int dy0, int dy1)
    {
        for (int dy = dy0; dy <= dy1; ++dy)
            Row(dx0, dx1, dy);
    }
    // A triangle of rows 7, 5, 3 and 1 pixels wide, the widest at dy
    // `base`, the next ones `step` (+1 or -1) further each.
    void Triangle(int base, int step)
    {
        for (int i = 0; i < 4; ++i)
            Centred(7 - 2 * i, base + i * step);
    }
    // Pixels with |dx| = |dy| for dx in -reach..reach.
    void Diagonals(int reach)
    {
        for (int d = -reach; d <= reach; ++d) {
            Px(d, d);
            Px(d, -d);
        }
    }

private:
    TRasterCanvas& canvas_;
    int x_, y_;
    TColour colour_;
};

int Scaled(int extent, double shapeScale)
{
    return int(rtl::Round(extent * shapeScale));
}

} // namespace

void DrawSmallPlus(TRasterCanvas& canvas, int x, int y, TColour background)
{
    Stamp s(canvas, x, y, ContrastColour(background));
    s.Pixels({ { -1, 0 }, { 0, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } });
}

void DrawShapePixels(TRasterCanvas& canvas, int x, int y, int code, double shapeScale, TColour background)
{
    Stamp s(canvas, x, y, ContrastColour(background));
    switch (code) {
    case 0: // long plus
        s.Row(-6, 6, 0);
        s.Col(-Scaled(6, shapeScale), Scaled(6, shapeScale), 0);
        break;
    case 1: // plus
        s.Row(-3, 3, 0);
        s.Col(-3, 3, 0);
        break;
    case 2: // dot
        s.Px(0, 0);
        break;
    case 3: // diamond with an empty centre row
        s.Triangle(1, 1);
        s.Triangle(-1, -1);
        break;
    case 4: // beacon
        for (int dy : { -4, -3, 0, 1 })
            s.Row(-1, 1, dy);
        s.Col(-4, 4, 0);
        break;
    case 5:
        s.Pixels({ { -3, 0 }, { -2, 0 }, { 2, 0 }, { 3, 0 }, { -1, -1 }, { 1, -1 }, { -1, 1 }, { 1, 1 },
            { -2, -2 }, { 0, -2 }, { 2, -2 }, { -2, 2 }, { 0, 2 }, { 2, 2 }, { 0, -3 }, { 0, 3 } });
        break;
    case 6: // two triangles pointing down
        s.Triangle(1, 1);
        s.Triangle(-4, 1);
        break;
    case 7: // house
        s.Colour(kLime);
        s.Block(-3, 3, 0, 4);
        s.Row(-2, 2, -1);
        s.Row(-2, 2, -2);
        s.Row(-1, 1, -3);
        s.Px(0, -4);
        break;
    case 8:
        s.Colour(kRed);
        s.Block(-3, 3, -3, 3);
        break;
    case 9: // two triangles meeting at the centre
        s.Triangle(4, -1);
        s.Triangle(-4, 1);
        break;
    case 10:
        s.Diagonals(3);
        break;
    case 11:
        s.Block(-1, 1, -4, 4);
        break;
    case 12: // two triangles pointing up
        s.Triangle(4, -1);
        s.Triangle(-1, -1);
        break;
    case 13:
        s.Col(-2, 2, 0);
        s.Row(-3, 3, 3);
        s.Row(-3, 3, 4);
        s.Row(-1, 1, -3);
        s.Row(-1, 1, -4);
        break;
    case 14:
        s.Row(-6, 6, 0);
        s.Col(-3, 3, -2);
        s.Col(-3, 3, 2);
        break;
    case 15: // sailing boat
        s.Row(-6, 8, 0);
        s.Row(-4, 4, -1);
        s.Row(-4, 2, -2);
        s.Row(-4, 0, -3);
        s.Row(-4, -2, -4);
        s.Px(-4, -5);
        for (int i = 0; i <= 6; ++i)
            s.Px(i, -i);
        break;
    case 16:
        s.Row(-3, 3, 0);
        s.Col(-3, 3, 0);
        s.Pixels({ { -2, -2 }, { -2, 2 }, { 2, -2 }, { 2, 2 } });
        break;
    case 17:
        s.Row(-2, 3, -1);
        s.Row(-3, 2, 1);
        break;
    case 18:
        s.Colour(kMagenta);
        DrawPixelRing(canvas, x, y, 7, 60, kMagenta, shapeScale);
        s.Px(0, 0);
        break;
    case 19:
        DrawPixelRing(canvas, x, y, 3, 30, ContrastColour(background), shapeScale);
        s.Px(0, 0);
        break;
    case 20:
    case 21:
    case 30:
    case 31: // centre of a geographic circle
        s.Px(0, 0);
        break;
    case 22: // anchor
        s.Row(-3, 3, 0);
        s.Col(-Scaled(2, shapeScale), Scaled(5, shapeScale), 0);
        s.Pixels({ { -1, 5 }, { 1, 5 }, { -2, 4 }, { 2, 4 }, { -3, 3 }, { 3, 3 } });
        break;
    case 24:
        DrawFilledDisc(canvas, x, y, 6, 60, kMagenta, shapeScale, background);
        s.Pixels({ { 0, 3 }, { -1, 2 }, { 1, 2 }, { -1, 1 }, { 1, 1 }, { 2, 0 }, { -2, 0 }, { 2, -1 },
            { -2, -1 }, { 3, -2 }, { -3, -2 }, { 0, 4 }, { 1, 3 }, { -1, 3 }, { -2, 1 }, { 2, 1 }, { 3, 0 },
            { -3, 0 }, { 3, -1 }, { -3, -1 }, { 2, -2 }, { -2, -2 } });
        break;
    case 25:
        DrawFilledDisc(canvas, x, y, 3, 30, kYellow, shapeScale, background);
        break;
    case 26:
        DrawFilledDisc(canvas, x, y, 4, 40, kYellow, shapeScale, background);
        break;
    case 27:
        DrawFilledDisc(canvas, x, y, 3, 30, kLime, shapeScale, background);
        break;
    case 28:
        DrawFilledDisc(canvas, x, y, 3, 30, kRed, shapeScale, background);
        break;
    case 29:
        DrawPixelRing(canvas, x, y, 7, 60, ContrastColour(background), shapeScale);
        s.Diagonals(5);
        break;
    case 32:
    case 33: // chartlet: bar, two rows and a ring, 33 with a note mark
        s.Colour(kAqua);
        s.Block(-1, 1, -4, 4);
        s.Row(-3, 3, -4);
        s.Row(-3, 3, 4);
        DrawPixelRing(canvas, x, y, 8, 60, kAqua, shapeScale);
        if (code == 33) {
            s.Pixels({ { 9, -4 }, { 10, -4 }, { 9, -5 }, { 10, -5 }, { 10, -3 }, { 10, -6 } });
            s.Col(-12, -4, 11);
            s.Pixels({ { 12, -12 }, { 12, -10 }, { 13, -12 }, { 13, -10 } });
        }
        break;
    case 34: // the active route waypoint
        DrawFilledDisc(canvas, x, y, 3, 30, kWhite, shapeScale, background);
        break;
    case 35:
        s.Colour(kMagenta);
        for (int i = 0; i <= 6; ++i)
            s.Px(i, -i);
        s.Pixels({ { 1, -2 }, { 2, -1 }, { 2, -3 }, { 3, -2 }, { 4, -3 }, { 3, -4 }, { 5, -4 }, { 4, -5 },
            { 3, -5 }, { 5, -3 }, { 4, -6 }, { 6, -4 }, { 5, -6 }, { 6, -5 } });
        break;
    case 36: // large plus
        s.Row(-9, 9, 0);
        s.Col(-9, 9, 0);
        break;
    default: // 23 (label only) and codes without a shape
        break;
    }
}

} // namespace chartwin
