// The raster layer: lines, patterns, pen modes and fills, pixel for pixel.

#include "draw/RasterCanvas.h"
#include "draw/PixelArt.h"

#include <gtest/gtest.h>

using namespace chartwin;
using namespace chartwin::test;

namespace
{

std::vector<std::string> Grid(const TRasterCanvas& c, int w, int h, TColour ink)
{
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y)
        rows.push_back(Row(c, y, 0, w - 1, ink));
    return rows;
}

} // namespace

TEST(RasterColour, BgrIntegersMapToTheirRgbPixels)
{
    QImage image = MakeImage(3, 1, kBlack);
    TRasterCanvas canvas(image);
    canvas.SetPixel(0, 0, kRed);
    canvas.SetPixel(1, 0, kBlue);
    canvas.SetPixel(2, 0, 0x123456);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0x56, 0x34, 0x12));
    EXPECT_EQ(canvas.Pixel(2, 0), 0x123456u);
    EXPECT_EQ(canvas.Pixel(3, 0), kNoColour);
    EXPECT_EQ(canvas.Pixel(-1, 0), kNoColour);
}

TEST(RasterLine, BresenhamLeavesTheEndPixelAndTiesGoToTheSmallerCoordinate)
{
    const struct {
        int width, height, x0, y0, x1, y1;
        std::vector<std::string> grid;
    } cases[] = {
        { 8, 4, 0, 0, 5, 2, { "##......", "..##....", "....#...", "........" } },
        { 5, 2, 0, 0, 4, 1, { "###..", "...#." } }, // ideal y at x = 2 is 0.5
        { 5, 2, 4, 1, 0, 0, { ".##..", "...##" } },
        { 2, 5, 1, 4, 0, 0, { "..", "#.", "#.", ".#", ".#" } }, // y-major, ideal x at y = 2 is 0.5
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1);
        QImage image = MakeImage(c.width, c.height, kWhite);
        TRasterCanvas canvas(image);
        canvas.MoveTo(c.x0, c.y0);
        canvas.LineTo(c.x1, c.y1);
        EXPECT_EQ(Grid(canvas, c.width, c.height, kBlack), c.grid);
        EXPECT_EQ(canvas.PenX(), c.x1);
        EXPECT_EQ(canvas.PenY(), c.y1);
    }
}

TEST(RasterLine, ZeroLengthLineDrawsNothingAndOffImagePixelsAreSkipped)
{
    QImage image = MakeImage(6, 3, kWhite);
    TRasterCanvas c(image);
    c.MoveTo(2, 1);
    c.LineTo(2, 1);
    EXPECT_EQ(Count(c, kBlack), 0);
    // The next segment starts on the pixel the last one left out.
    c.LineTo(2, 2);
    EXPECT_EQ(c.Pixel(2, 1), kBlack);
    EXPECT_EQ(c.Pixel(2, 2), kWhite);
    c.MoveTo(-100000, 1);
    c.LineTo(100000, 1);
    EXPECT_EQ(Row(c, 1, 0, 5, kBlack), "######");
    EXPECT_EQ(Count(c, kBlack), 6);
    c.MoveTo(3, -50);
    c.LineTo(3, 50);
    EXPECT_EQ(c.Pixel(3, 0), kBlack);
    EXPECT_EQ(c.Pixel(3, 2), kBlack);
}

TEST(RasterPattern, DotsCarryOnAcrossPolylineVertices)
{
    QImage image = MakeImage(14, 3, kWhite);
    TRasterCanvas c(image);
    c.SetPenStyle(TPenStyle::Dot);
    c.SetBrushStyle(TBrushStyle::Clear);
    c.MoveTo(0, 0);
    c.LineTo(4, 0);
    c.LineTo(13, 0);
    EXPECT_EQ(Row(c, 0, 0, 13, kBlack), "###...###...#.");
    // MoveTo starts the pattern again.
    c.MoveTo(4, 2);
    c.LineTo(13, 2);
    EXPECT_EQ(Row(c, 2, 0, 13, kBlack), "....###...###.");
}

TEST(RasterPattern, DashAndDashDotPeriods)
{
    QImage image = MakeImage(50, 2, kWhite);
    TRasterCanvas c(image);
    c.SetBrushStyle(TBrushStyle::Clear);
    c.SetPenStyle(TPenStyle::Dash);
    c.MoveTo(0, 0);
    c.LineTo(49, 0);
    EXPECT_EQ(Row(c, 0, 0, 48, kBlack), "##################......##################......#");
    c.SetPenStyle(TPenStyle::DashDot);
    c.MoveTo(0, 1);
    c.LineTo(49, 1);
    EXPECT_EQ(Row(c, 1, 0, 48, kBlack), "#########......###......#########......###......#");
}

TEST(RasterPattern, PatternPhaseSurvivesClippingAndAPenChangeRestartsIt)
{
    QImage image = MakeImage(12, 2, kWhite);
    TRasterCanvas c(image);
    c.SetBrushStyle(TBrushStyle::Clear);
    c.SetPenStyle(TPenStyle::Dot);
    // 4 pixels off the image before x = 0: the pattern is at step 4 there.
    c.MoveTo(-4, 0);
    c.LineTo(12, 0);
    EXPECT_EQ(Row(c, 0, 0, 11, kBlack), "..###...###.");

    c.MoveTo(0, 1);
    c.LineTo(4, 1);
    c.SetPenColour(kRed);
    c.LineTo(11, 1);
    EXPECT_EQ(Row(c, 1, 0, 3, kBlack), "###.");
    EXPECT_EQ(Row(c, 1, 4, 11, kRed), "###...#.");
}

TEST(RasterPattern, GapsTakeTheBrushColourWhileTheBrushIsSolid)
{
    QImage image = MakeImage(8, 1, kRed);
    TRasterCanvas c(image);
    c.SetPenStyle(TPenStyle::Dot);
    c.SetPenColour(kLime);
    c.SetBrushColour(kBlue);
    c.MoveTo(0, 0);
    c.LineTo(8, 0);
    EXPECT_EQ(Row(c, 0, 0, 7, kLime), "###...##");
    EXPECT_EQ(Row(c, 0, 0, 7, kBlue), "...###..");
}

TEST(RasterPenMode, InvertingPensEraseThemselves)
{
    QImage image = MakeImage(6, 3, kWhite);
    TRasterCanvas c(image);
    c.SetPixel(2, 1, kRed);
    const QImage before = image.copy();

    c.SetPenMode(TPenMode::NotXor);
    c.SetPenColour(kBlack); // not-xor with black inverts each pixel
    c.MoveTo(0, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(c.Pixel(0, 1), kBlack);
    EXPECT_EQ(c.Pixel(2, 1), kAqua); // inverse of red
    c.MoveTo(0, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(image, before);

    c.SetPenMode(TPenMode::Not);
    c.SetPenWidth(3);
    c.MoveTo(1, 1);
    c.LineTo(4, 1);
    EXPECT_NE(image, before);
    c.MoveTo(1, 1);
    c.LineTo(4, 1);
    EXPECT_EQ(image, before);

    c.SetPenMode(TPenMode::Xor);
    c.SetPenWidth(1);
    c.SetPenColour(kRed);
    c.MoveTo(0, 0);
    c.LineTo(3, 0);
    EXPECT_EQ(c.Pixel(0, 0), kAqua);
}

TEST(RasterLine, WideLinesAreSolidAndCoverTheirWidth)
{
    QImage image = MakeImage(20, 9, kWhite);
    TRasterCanvas c(image);
    c.SetPenStyle(TPenStyle::Dot); // ignored for wide pens
    c.SetPenWidth(3);
    c.MoveTo(3, 4);
    c.LineTo(16, 4);
    for (int x = 4; x <= 15; ++x) {
        EXPECT_EQ(c.Pixel(x, 3), kBlack) << x;
        EXPECT_EQ(c.Pixel(x, 4), kBlack) << x;
        EXPECT_EQ(c.Pixel(x, 5), kBlack) << x;
    }
    EXPECT_EQ(c.Pixel(10, 1), kWhite);
    EXPECT_EQ(c.Pixel(10, 7), kWhite);
}

TEST(RasterFill, BorderFillStopsAtTheColourAndDiagonalGapsHold)
{
    // A diamond outline of 8-connected pixels; a 4-connected fill must not
    // leak through its diagonal steps.
    QImage image = MakeImage(9, 9, kWhite);
    TRasterCanvas c(image);
    const int pts[][2] = { { 4, 1 }, { 5, 2 }, { 6, 3 }, { 7, 4 }, { 6, 5 }, { 5, 6 }, { 4, 7 }, { 3, 6 },
        { 2, 5 }, { 1, 4 }, { 2, 3 }, { 3, 2 } };
    for (auto& p : pts)
        c.SetPixel(p[0], p[1], kRed);
    c.SetPixel(4, 4, kBlue); // an island of another colour is filled over
    c.SetBrushColour(kLime);
    c.FloodFill(4, 4, kRed, TFillStyle::Border);
    EXPECT_EQ(Picture(c, 4, 4, 4, kWhite, { { kRed, 'R' }, { kLime, 'L' } }),
        (std::vector<std::string> { ".........", "....R....", "...RLR...", "..RLLLR..", ".RLLLLLR.",
            "..RLLLR..", "...RLR...", "....R....", "........." }));
    // Starting on the border colour fills nothing.
    c.SetBrushColour(kBlue);
    c.FloodFill(4, 1, kRed, TFillStyle::Border);
    EXPECT_EQ(Count(c, kBlue), 0);
}

TEST(RasterFill, SurfaceFillTakesOnlyTheConnectedRegionOfTheColour)
{
    QImage image = MakeImage(7, 3, kWhite);
    TRasterCanvas c(image);
    c.SetPixel(3, 0, kBlack);
    c.SetPixel(3, 1, kBlack);
    c.SetPixel(3, 2, kBlack);
    c.SetBrushColour(kYellow);
    c.FloodFill(1, 1, kWhite, TFillStyle::Surface);
    EXPECT_EQ(Row(c, 1, 0, 6, kYellow), "###....");
    EXPECT_EQ(Count(c, kYellow), 9);
    // A fill with the colour it replaces, and repeated fills, terminate.
    c.SetBrushColour(kWhite);
    c.FloodFill(5, 1, kWhite, TFillStyle::Surface);
    for (int i = 0; i < 300; ++i) {
        c.SetBrushColour(i % 2 ? kRed : kBlue);
        c.FloodFill(5, 1, kBlack, TFillStyle::Border);
    }
    EXPECT_EQ(Count(c, kBlack), 3);
    EXPECT_EQ(Count(c, kRed), 9);
}

TEST(RasterText, TextIsDrawnInTheFontColourOnABrushBoxAndMovesThePen)
{
    QImage image = MakeImage(80, 20, kBlue);
    TRasterCanvas c(image);
    c.SetFontColour(kLime);
    c.SetBrushColour(kBlack);
    c.TextOut(2, 3, "N\xB0");
    const int width = c.TextWidth("N\xB0");
    EXPECT_GT(width, 5);
    EXPECT_EQ(c.PenX(), 2 + width);
    EXPECT_EQ(c.PenY(), 3);
    EXPECT_GT(Count(c, kLime), 5);
    EXPECT_EQ(c.Pixel(2, 3), kBlack);
    EXPECT_EQ(c.Pixel(1, 3), kBlue);
    // With a clear brush the background stays.
    c.SetBrushStyle(TBrushStyle::Clear);
    c.TextOut(40, 3, "N");
    EXPECT_EQ(c.Pixel(40, 3), kBlue);
}
