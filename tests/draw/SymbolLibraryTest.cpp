// Waypoint symbols and program markers, pixel for pixel.

#include "draw/SymbolLibrary.h"
#include "draw/SymbolShapes.h"
#include "draw/ViewFixture.h"
#include "nav/NavState.h"

#include <cmath>

using namespace chartwin;
using namespace chartwin::test;

namespace
{

class SymbolTest : public ViewFixture
{
protected:
    // DrawSymbol as the painters call it: at the pixel PlotTo reached.
    void Draw(int code, int parameter = 0, std::string_view text = {})
    {
        PenIsUp = true;
        view.PlotTo(view.FCursorLat, view.FCursorLon, 500);
        DrawSymbol(
            view, view.FCursorX, view.FCursorY, view.FCursorLon, view.FCursorLat, parameter, code, text);
    }

    // Distances from the centre pixel of every pixel of `ink`: nearest and
    // farthest, and how many there are.
    struct Spread {
        double nearest = 1e9, farthest = 0;
        int count = 0;
    };
    Spread SpreadOf(TColour ink) const
    {
        Spread s;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (canvas->Pixel(x, y) == ink) {
                    const double d = std::hypot(x - kCentre, y - kCentre);
                    s.nearest = std::min(s.nearest, d);
                    s.farthest = std::max(s.farthest, d);
                    ++s.count;
                }
        return s;
    }

    const std::map<TColour, char> ink { { kBlack, '#' }, { kWhite, 'w' }, { kAqua, 'a' }, { kMagenta, 'm' },
        { kLime, 'l' }, { kYellow, 'y' } };
};

} // namespace

TEST_F(SymbolTest, ShapesPixelForPixel)
{
    const struct {
        int code, half;
        std::vector<std::string> picture;
    } cases[] = {
        { 3, 4, // a diamond with an empty centre row
            { "....#....", "...###...", "..#####..", ".#######.", ".........", ".#######.", "..#####..",
                "...###...", "....#...." } },
        { 15, 8, // a sailing boat
            { ".................", ".................", "..............#..", "....#........#...",
                "....###.....#....", "....#####..#.....", "....#######......", "....#########....",
                "..###############", ".................", ".................", ".................",
                ".................", ".................", ".................", ".................",
                "................." } },
        { 22, 5, // an anchor
            { "...........", "...........", "...........", ".....#.....", ".....#.....", "..#######..",
                ".....#.....", ".....#.....", "..#..#..#..", "...#.#.#...", "....###...." } },
        // A ring of radius 3 and 30 divisions: Round is half to even, and
        // cos 120 degrees times 3 falls just short of -1.5, so it is not symmetric.
        { 19, 3, { "..###..", "##...#.", "#.....#", "#..#..#", "#.....#", "##...##", "..###.." } },
        { 25, 3, { "..yyy..", "yyyyyy.", "yyyyyyy", "yyyyyyy", "yyyyyyy", "yyyyyyy", "..yyy.." } },
    };
    for (const auto& c : cases) {
        UseBackground(kWhite);
        Draw(c.code);
        EXPECT_EQ(Around(c.half, ink), c.picture) << c.code;
    }
    // The filled disc leaves the brush in the background colour.
    EXPECT_EQ(canvas->BrushColour(), kWhite);
}

TEST_F(SymbolTest, ShapesTakeTheContrastColourOfTheBackground)
{
    Draw(1);
    EXPECT_EQ(SpreadOf(kBlack).count, 13);
    UseBackground(0x800000); // navy
    Draw(1);
    EXPECT_EQ(SpreadOf(kWhite).count, 13);
    EXPECT_EQ(SpreadOf(kBlack).count, 0);
    // Coloured shapes keep their colour on any background.
    Draw(8);
    EXPECT_EQ(SpreadOf(kRed).count, 49);
}

TEST_F(SymbolTest, SymbolsOffOrZoomedOutGiveTheSmallPlusAndCode23Nothing)
{
    const std::vector<std::string> plus { ".....", "..#..", ".###.", "..#..", "....." };
    SymbolsOn = false;
    for (int code : { 1, 20, 33, 36, 101, 106 }) {
        UseBackground(kWhite);
        Draw(code, 5);
        EXPECT_EQ(Around(2, ink), plus) << code;
        EXPECT_EQ(SpreadOf(kBlack).count, 5) << code;
    }
    UseBackground(kWhite);
    Draw(23, 40);
    EXPECT_EQ(SpreadOf(kBlack).count, 0);

    SymbolsOn = true;
    view.FIntZoom = view.FShapeThreshold - 1;
    UseBackground(kWhite);
    Draw(36);
    EXPECT_EQ(Around(2, ink), plus);
    view.FIntZoom = view.FShapeThreshold;
    UseBackground(kWhite);
    Draw(36);
    EXPECT_EQ(SpreadOf(kBlack).count, 37);
}

TEST_F(SymbolTest, EveryCallEndsWithThePenAtTheSymbol)
{
    for (int code : { 2, 20, 32, 99, 102, 106 }) {
        Draw(code, 9);
        EXPECT_FALSE(PenIsUp) << code;
        EXPECT_EQ(canvas->PenX(), kCentre) << code;
        EXPECT_EQ(canvas->PenY(), kCentre) << code;
        EXPECT_EQ(view.FCursorX, kCentre) << code;
        EXPECT_EQ(LastPenType, 500) << code;
    }
}

// Each case: code, parameter, its characters, and the pixels per degree that
// put a circle of the expected size 40 pixels from the centre.
TEST_F(SymbolTest, GeographicCircleRadiiFollowTheirUnits)
{
    struct Case {
        int code;
        int parameter;
        const char* text;
        int32_t pixelsPerDegree;
    };
    const Case cases[] = {
        { 20, 50, "50", 4800 }, // 0.5 nm
        { 20, 0, "00", 2400 }, // 1 nm
        { 21, 0, "00", 240 }, // 10 nm
        { 21, 2, "02", 1200 }, // 2 nm
        { 30, 0, "00", 44445 }, // 100 m
        { 31, 0, ".5", 88890 }, // 50 m
        { 31, 0, "00", 4445 }, // 1000 m
    };
    for (const Case& c : cases) {
        UseBackground(kWhite);
        Centre(0, 0, c.pixelsPerDegree);
        Draw(c.code, c.parameter, c.text);
        const Spread circle = SpreadOf(kLime);
        EXPECT_GE(circle.nearest, 38.5) << c.code << " " << c.text;
        EXPECT_LE(circle.farthest, 41.5) << c.code << " " << c.text;
        // Dotted: about half of the 250 pixels of the circumference.
        EXPECT_GT(circle.count, 90) << c.code << " " << c.text;
        EXPECT_LT(circle.count, 170) << c.code << " " << c.text;
        EXPECT_EQ(canvas->Pixel(kCentre, kCentre), kBlack) << c.code;
    }
}

TEST_F(SymbolTest, GeographicCircleWidensWithTheCursorLatitude)
{
    Centre(60, 0, 2400);
    Draw(20, 0); // one nautical mile: 40 pixels north and south, 80 east and west at 60 degrees
    const Spread circle = SpreadOf(kLime);
    EXPECT_GE(circle.nearest, 38.5);
    EXPECT_GT(circle.farthest, 60);
}

TEST_F(SymbolTest, ChartletPointerShowsTheBearingOfItsParameter)
{
    // Half a degree at zoom 1: 30 pixels at 60 pixels per degree.
    Draw(32, 9);
    EXPECT_EQ(Row(*canvas, kCentre, kCentre + 9, kCentre + 30, kAqua), std::string(21, '#') + ".");
    EXPECT_EQ(canvas->Pixel(kCentre - 20, kCentre), kWhite);

    UseBackground(kWhite);
    Draw(32, 18); // south
    EXPECT_EQ(canvas->Pixel(kCentre, kCentre + 29), kAqua);
    EXPECT_EQ(canvas->Pixel(kCentre, kCentre + 30), kWhite);
    EXPECT_EQ(canvas->Pixel(kCentre + 20, kCentre), kWhite);

    for (int parameter : { 0, 37 }) {
        UseBackground(kWhite);
        Draw(32, parameter);
        EXPECT_LT(SpreadOf(kAqua).farthest, 8.5) << parameter;
    }
    // At zoom 2 the pointer is half as long.
    UseBackground(kWhite);
    view.FZoom = 2;
    Draw(32, 9);
    EXPECT_EQ(canvas->Pixel(kCentre + 14, kCentre), kAqua);
    EXPECT_EQ(canvas->Pixel(kCentre + 15, kCentre), kWhite);
}

namespace
{

class HeadingLineTest : public SymbolTest
{
protected:
    void SetUp() override
    {
        SymbolTest::SetUp();
        // Two track records a tenth of a degree apart, due east: course 90.
        CosLat = 1.0;
        AverageN = 2;
        LogCount = 2;
        LogRecords[1] = LogRecord { rtl::Real6(0.0), rtl::Real6(0.1), rtl::Real6(600.0) };
        LogRecords[2] = LogRecord { rtl::Real6(0.0), rtl::Real6(0.0), rtl::Real6(606.0) };
    }
};

} // namespace

TEST_F(HeadingLineTest, FollowsTheViewsRotationEitherWay)
{
    // Whichever way the chart is turned, the line lies over the points the
    // vessel is heading for.
    for (double rotation : { 0.0, -M_PI / 2, 3 * M_PI / 2, M_PI / 4, -0.3 }) {
        Rotate(rotation);
        UseBackground(kWhite);
        Draw(106);
        int32_t ax = 0, ay = 0;
        ASSERT_TRUE(view.Project(0, -50.0 / 60, ax, ay)); // 50 pixels east of the vessel
        EXPECT_EQ(canvas->Pixel(ax, ay), kLime) << rotation << " at " << ax << "," << ay;
        EXPECT_EQ(canvas->Pixel(2 * kCentre - ax, 2 * kCentre - ay), kWhite) << rotation;
    }
}

TEST_F(HeadingLineTest, NotDrawnInAisMonitorMode)
{
    view.AisMonitorMode = [] { return true; };
    Draw(106);
    EXPECT_EQ(SpreadOf(kLime).count, 0);
    EXPECT_EQ(SpreadOf(kBlack).count, 0);
}

TEST_F(SymbolTest, AisLollipopColourAndCourseLine)
{
    AisTargetCount = 2;
    SelectedAisTarget = 1;
    AisTargets[1].speedOverGround = 100; // 10 knots: 20 pixels
    AisTargets[1].courseOverGround = 900; // east
    AisTargets[2].speedOverGround = 1023; // not available
    AisTargets[2].courseOverGround = 3600;
    Draw(103, 1);
    EXPECT_EQ(Row(*canvas, kCentre, kCentre, kCentre + 20, kYellow), std::string(20, '#') + ".");
    UseBackground(kWhite);
    Draw(103, 2);
    EXPECT_LT(SpreadOf(kRed).farthest, 3); // the disc only: no vector for an unknown speed
    UseBackground(kWhite);
    Draw(107, 2);
    EXPECT_LT(SpreadOf(kMagenta).farthest, 3);
}

TEST_F(SymbolTest, NorthMarkerIsACircleOfHalfADegreeWithItsLetter)
{
    Rotate(0.5);
    Draw(102);
    int onCircle = 0, inside = 0, outside = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (canvas->Pixel(x, y) == kSilver) {
                const double d = std::hypot(x - kCentre, y - kCentre);
                onCircle += d >= 28.5 && d <= 31.5; // half a degree: 30 pixels
                inside += d < 28.5; // the "N" below the top point
                outside += d > 31.5;
            }
    EXPECT_GT(onCircle, 170);
    EXPECT_GT(inside, 5);
    EXPECT_EQ(outside, 0);
}

TEST_F(SymbolTest, MarkersOfOtherPaintersRunOnlyWhenThePositionIsVisible)
{
    int vessel = 0, outline = 0;
    view.DrawOwnVessel = [&] { ++vessel; };
    view.DrawAisTargetOutline = [&] { ++outline; };
    Draw(100);
    Draw(104);
    EXPECT_EQ(vessel, 1);
    EXPECT_EQ(outline, 1);
    PenIsUp = true;
    DrawSymbol(view, 0, 0, 0, 0, 0, 100);
    EXPECT_EQ(vessel, 1);
}
