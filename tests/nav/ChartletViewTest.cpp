#include "nav/ChartletView.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// 600 x 400 pixels over 0.02 degrees of latitude and 0.03 of longitude:
// 20000 pixels per degree both ways.
ChartletReference Plan()
{
    ChartletReference r;
    r.height = 400;
    r.width = 600;
    r.nwLat = 50.82;
    r.nwLon = 1.31;
    r.seLat = 50.80;
    r.seLon = 1.28;
    return r;
}

LogRecord Fix(double lat, double lon)
{
    return { rtl::Real6(lat), rtl::Real6(lon), rtl::Real6(600.0) };
}

TEST(ChartletViewTest, MapsPositionsOntoImagePixels)
{
    const ChartletReference r = Plan();
    EXPECT_EQ(PositionToPixel(r, 50.82, 1.31), (PixelPoint { 0, 0 }));
    EXPECT_EQ(PositionToPixel(r, 50.80, 1.28), (PixelPoint { 600, 400 }));
    EXPECT_EQ(PositionToPixel(r, 50.81, 1.295), (PixelPoint { 300, 200 }));
    // Outside the image: negative and beyond the size.
    EXPECT_EQ(PositionToPixel(r, 50.83, 1.32), (PixelPoint { -200, -200 }));
    // Far away: held, not overflowed.
    EXPECT_EQ(PositionToPixel(r, -80.0, -170.0), (PixelPoint { kFarPixel, kFarPixel }));
    // An invalid reference maps nothing.
    ChartletReference flat = r;
    flat.seLat = flat.nwLat;
    EXPECT_EQ(PositionToPixel(flat, 50.81, 1.295), (PixelPoint { 0, 0 }));
}

TEST(ChartletViewTest, OffsetsOfSixtyMoveAFixOneThousandthOfADegreeNorthAndEast)
{
    ChartletReference r = Plan();
    const PixelPoint plain = PositionToPixel(r, 50.81, 1.295);
    r.latOffset = 60;
    r.lonOffset = 60;
    const PixelPoint shifted = PositionToPixel(r, 50.81, 1.295);
    EXPECT_EQ(shifted, PositionToPixel(Plan(), 50.811, 1.294)); // north, and east (longitude west positive)
    EXPECT_EQ(shifted.y, plain.y - 20); // 0.001 degree = 20 pixels up
    EXPECT_EQ(shifted.x, plain.x + 20); // and 20 to the right
}

TEST(ChartletViewTest, ChartletAcrossThePrimeMeridianMapsBothSides)
{
    ChartletReference r = Plan();
    r.nwLon = 0.5;
    r.seLon = -0.5;
    r.width = 1000;
    EXPECT_EQ(PositionToPixel(r, 50.82, 0.25).x, 250); // west of Greenwich
    EXPECT_EQ(PositionToPixel(r, 50.82, 0.0).x, 500);
    EXPECT_EQ(PositionToPixel(r, 50.82, -0.25).x, 750); // east
    EXPECT_DOUBLE_EQ(PixelToPosition(r, 1000, 400, 750, 0).lon, -0.25);
}

TEST(ChartletViewTest, PixelUnderTheCursorGivesItsPositionAtAnyZoom)
{
    ChartletReference r = Plan();
    r.latOffset = 600; // not applied to the cursor's position
    TPosition p = PixelToPosition(r, 600, 400, 300, 100);
    EXPECT_NEAR(p.lat, 50.815, 1e-12);
    EXPECT_NEAR(p.lon, 1.295, 1e-12);
    // Zoomed 1.5: the same spot is at 1.5 times the displayed pixel.
    p = PixelToPosition(r, 900, 600, 450, 150);
    EXPECT_NEAR(p.lat, 50.815, 1e-12);
    EXPECT_NEAR(p.lon, 1.295, 1e-12);
    // A degenerate displayed size divides by nothing.
    p = PixelToPosition(r, 0, 0, 450, 150);
    EXPECT_EQ(p, (TPosition { 50.82, 1.31 }));

    EXPECT_EQ(DisplayedToImage(450, 151, 1.5), (PixelPoint { 300, 101 }));
    EXPECT_EQ(DisplayedToImage(3, 5, 2.0), (PixelPoint { 2, 2 })); // 1.5 and 2.5 round to even
}

TEST(ChartletViewTest, ZoomInBeepsAtTheLargestSizeAndZoomOutAtTheSmallest)
{
    ChartletZoom z = NormalZoom(Plan());
    EXPECT_EQ(z.zoom, 1.0);
    EXPECT_EQ(z.height, 400);
    EXPECT_EQ(z.width, 600);
    ASSERT_TRUE(ZoomIn(z));
    EXPECT_EQ(z.zoom, 1.5);
    EXPECT_EQ(z.height, 600);
    EXPECT_EQ(z.width, 900);
    ASSERT_TRUE(ZoomOut(z));
    EXPECT_EQ(z.zoom, 1.0);
    EXPECT_EQ(z.height, 400);

    // Sizes are rounded at every step (half to even): 7 * 1.5 = 10.5 -> 10.
    z = { 1.0, 7, 600 };
    ASSERT_TRUE(ZoomIn(z));
    EXPECT_EQ(z.height, 10);

    z = { 1.0, 16383, 600 };
    const ChartletZoom before = z;
    EXPECT_FALSE(ZoomIn(z));
    EXPECT_EQ(z.height, before.height);
    EXPECT_EQ(z.zoom, before.zoom);
    z.height = 16382;
    EXPECT_TRUE(ZoomIn(z));
    EXPECT_EQ(z.height, 24573);
    // A wide image stops at the same size across.
    z = { 1.0, 100, 16383 };
    EXPECT_FALSE(ZoomIn(z));

    // Zoom out stops before a side falls below 16 pixels.
    z = NormalZoom(Plan());
    int steps = 0;
    while (ZoomOut(z))
        ++steps;
    EXPECT_EQ(steps, 7); // 400 267 178 119 79 53 35 23 (the next would be 15)
    EXPECT_EQ(z.height, 23);
    EXPECT_EQ(z.width, 35);
    EXPECT_GT(z.zoom, 0.0);
}

TEST(ChartletViewTest, ScrollPositionsCentreTheImageOrAPoint)
{
    EXPECT_EQ(CentredScrollPosition(600, 300), 151);
    EXPECT_EQ(CentredScrollPosition(300, 600), -149); // div truncates toward zero
    EXPECT_EQ(CentredScrollPosition(301, 600), -148);
    // A point in the middle of the image: the image centred.
    EXPECT_EQ(ScrollPositionFor(600, 300, 300, 1.0), CentredScrollPosition(600, 300));
    // At zoom 1.5 the point at image pixel 100 is displayed at 150.
    EXPECT_EQ(ScrollPositionFor(900, 300, 100, 1.5), 301 + 150 - 450);
}

TEST(ChartletViewTest, CrossesAreDrawnAroundThePoint)
{
    const auto fix = FixCrossStrokes({ 100, 50 });
    EXPECT_EQ(fix[0], (PixelStroke { { 94, 50 }, { 106, 50 } }));
    EXPECT_EQ(fix[1], (PixelStroke { { 100, 44 }, { 100, 56 } }));
    const auto cursor = CursorCrossStrokes({ 100, 50 });
    EXPECT_EQ(cursor[0], (PixelStroke { { 97, 50 }, { 70, 50 } }));
    EXPECT_EQ(cursor[1], (PixelStroke { { 103, 50 }, { 130, 50 } }));
    EXPECT_EQ(cursor[2], (PixelStroke { { 100, 47 }, { 100, 20 } }));
    EXPECT_EQ(cursor[3], (PixelStroke { { 100, 53 }, { 100, 80 } }));
}

TEST(ChartletViewTest, TrackIsMappedRecordByRecordAndAnEmptyTrackGivesNothing)
{
    const std::vector<LogRecord> track = { Fix(50.82, 1.31), Fix(50.81, 1.295), Fix(50.80, 1.28) };
    EXPECT_EQ(TrackPixels(Plan(), track), (std::vector<PixelPoint> { { 0, 0 }, { 300, 200 }, { 600, 400 } }));
    EXPECT_TRUE(TrackPixels(Plan(), {}).empty());
    EXPECT_TRUE(TrackPixels(ChartletReference {}, track).empty());
}

TEST(ChartletViewTest, ChartPointsAreDigitisedOnlyWithOneViewAndAMovedCursor)
{
    ChartPointDigitising s;
    s.chartWindows = 1;
    s.logCount = 0;
    s.chartPointCount = 10;
    s.chartEditable = true;
    s.viewZoom = 1.0;
    s.cursor = { 120, 80 };
    s.lastAdded = { 100, 80 };
    EXPECT_TRUE(MayAddChartPoint(s));

    // Each condition alone refuses the point.
    const std::vector<void (*)(ChartPointDigitising&)> refusals = {
        [](ChartPointDigitising& t) { t.lastAdded = t.cursor; }, // cursor not moved since the last point
        [](ChartPointDigitising& t) { t.chartWindows = 2; },
        [](ChartPointDigitising& t) { t.logCount = 1; },
        [](ChartPointDigitising& t) { t.chartPointCount = 0; },
        [](ChartPointDigitising& t) { t.chartEditable = false; },
        [](ChartPointDigitising& t) { t.viewZoom = 0.99; },
    };
    for (std::size_t i = 0; i < refusals.size(); ++i) {
        ChartPointDigitising t = s;
        refusals[i](t);
        EXPECT_FALSE(MayAddChartPoint(t)) << i;
    }
}

} // namespace
