// PlotTo: projection, culling, the shared pen state and the pen cache.

#include "draw/ViewFixture.h"

#include <cmath>

using namespace chartwin;
using namespace chartwin::test;

using PlotToTest = ViewFixture;

TEST_F(PlotToTest, PenUpPairOnlyLiftsThePen)
{
    view.PlotTo(0, 0, 600);
    ASSERT_FALSE(PenIsUp);
    view.PlotTo(-1, -1, 2);
    EXPECT_TRUE(PenIsUp);
    EXPECT_EQ(LastPenType, 600);
    EXPECT_EQ(canvas->PenColour(), kRed);
    EXPECT_EQ(view.FCursorX, kCentre);
}

TEST_F(PlotToTest, FirstVisiblePointIsAMoveThenLinesLeaveTheirEndPixel)
{
    view.PlotTo(0, 0, 500);
    EXPECT_EQ(Count(*canvas, kBlack), 0);
    EXPECT_EQ(view.FCursorX, 60);
    EXPECT_EQ(view.FCursorY, 60);
    view.PlotTo(0.5, 0, 500); // 30 pixels north
    EXPECT_EQ(view.FCursorX, 60);
    EXPECT_EQ(view.FCursorY, 30);
    EXPECT_EQ(Count(*canvas, kBlack), 30);
    EXPECT_EQ(canvas->Pixel(60, 31), kBlack);
    EXPECT_EQ(canvas->Pixel(60, 30), kWhite);
    // East is to the right: longitudes are west positive.
    view.PlotTo(0.5, -0.5, 500);
    EXPECT_EQ(view.FCursorX, 90);
    EXPECT_EQ(canvas->Pixel(89, 30), kBlack);
}

TEST_F(PlotToTest, PenIsSetOnlyWhenItsTypeChangesExceptTheTrackPen)
{
    view.PlotTo(0, 0, 2);
    canvas->SetPenColour(kRed); // a painter changing the pen behind PlotTo's back
    canvas->SetPenStyle(TPenStyle::Solid);
    view.PlotTo(0, -0.5, 2);
    EXPECT_EQ(Row(*canvas, 60, 60, 89, kRed), std::string(30, '#'));

    canvas->SetPenColour(kRed);
    view.PlotTo(0.5, -0.5, 3); // the track pen is set at every point
    EXPECT_EQ(canvas->Pixel(90, 59), kYellow);
    EXPECT_EQ(canvas->PenStyle(), TPenStyle::Dot);
    view.TrackColourFG = true;
    view.PlotTo(0.5, 0, 3);
    EXPECT_EQ(canvas->Pixel(89, 30), kBlack);
}

TEST_F(PlotToTest, AFreshBitmapNeverInheritsAPenItDidNotSet)
{
    view.PlotTo(0, 0, 2);
    view.PlotTo(0, -0.5, 2);
    ASSERT_EQ(LastPenType, 2);
    // A new bitmap (or another view) whose canvas pen is the default one.
    QImage second = MakeImage(kSize, kSize, kWhite);
    TRasterCanvas other(second);
    view.Canvas = &other;
    PenIsUp = true;
    view.PlotTo(0, 0, 2);
    view.PlotTo(0, -0.5, 2);
    EXPECT_EQ(Row(other, 60, 60, 70, kLime), "###...###..");
    EXPECT_EQ(Count(other, kBlack), 0);
}

TEST_F(PlotToTest, DottedChartLinesCarryTheirPatternAcrossVertices)
{
    view.PlotTo(0, 0, 4);
    view.PlotTo(0, -4.0 / 60, 4);
    view.PlotTo(0, -13.0 / 60, 4);
    EXPECT_EQ(Row(*canvas, 60, 60, 73, kBlue), "###...###...#.");
}

TEST_F(PlotToTest, ACulledPointLiftsThePenSoNoLineJoinsIt)
{
    view.PlotTo(0, 0, 500);
    view.PlotTo(0, -20, 500); // 1200 pixels east: beyond the margin
    EXPECT_TRUE(PenIsUp);
    EXPECT_EQ(view.FCursorX, 60);
    view.PlotTo(0.5, 0, 500);
    EXPECT_FALSE(PenIsUp);
    EXPECT_EQ(Count(*canvas, kBlack), 0);
}

TEST_F(PlotToTest, CullingMarginIsMeasuredFromTheBitmapEdges)
{
    ClipMargin = 10;
    int32_t x = 0, y = 0;
    // 54 pixels above the centre: on the bitmap, so it must be drawn even
    // though it lies further from the centre than the margin.
    ASSERT_TRUE(view.Project(0.9, 0, x, y));
    EXPECT_EQ(y, 6);
    EXPECT_TRUE(view.Project(0, 0.9, x, y)); // 54 pixels west
    EXPECT_EQ(x, 6);
    EXPECT_FALSE(view.Project(1.2, 0, x, y)); // 12 above the top edge
    EXPECT_TRUE(view.Project(-1.15, 0, x, y)); // 8 below the bottom edge
    EXPECT_FALSE(view.Project(-1.25, 0, x, y)); // 14 below
    EXPECT_FALSE(view.Project(0, -1.25, x, y)); // 14 right of the right edge
}

TEST_F(PlotToTest, RotationTurnsThePictureAboutTheBitmapCentre)
{
    // Heading up on a course of 270: west is up and north to the right.
    ViewRotation = M_PI / 2;
    ViewRotationCos = 0;
    ViewRotationSin = 1;
    int32_t x = 0, y = 0;
    ASSERT_TRUE(view.Project(0.5, 0, x, y));
    EXPECT_EQ(x, 90);
    EXPECT_EQ(y, 60);
    ASSERT_TRUE(view.Project(0, 0.5, x, y));
    EXPECT_EQ(x, 60);
    EXPECT_EQ(y, 30);
}

TEST(ClipMargin, GrowsWithTheZoomAboveTenUpToItsCap)
{
    EXPECT_EQ(ClipMarginForZoom(0.03125), 600);
    EXPECT_EQ(ClipMarginForZoom(10), 600);
    EXPECT_EQ(ClipMarginForZoom(10.5), 630);
    EXPECT_EQ(ClipMarginForZoom(500), 30000);
    EXPECT_EQ(ClipMarginForZoom(36000), 30000);
}
