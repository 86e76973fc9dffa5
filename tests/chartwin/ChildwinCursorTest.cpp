// The cursor of a chart view: its inverted cross, the readout a click or a
// drag writes into the position panel, the working position it sets, the
// spin buttons and the measure line with its readout.

#include "chartwin/CursorFixture.h"
#include "chartwin/CursorPainter.h"
#include "chartwin/SpinButton.h"
#include "nav/ChartConfig.h"
#include "nav/RouteEdit.h"
#include "support/ShortStringPrint.h"

#include <QAction>
#include <QToolButton>
#include <cmath>

namespace
{

using namespace chartwin::test;
using CursorTest = CursorFixture;

const char* const kHomeReadout = "50\xB0"
                                 "30.0000N 001\xB0"
                                 "15.0000W";

TEST_F(CursorTest, TwoCrossesAtOnePixelLeaveTheBitmapUnchanged)
{
    TMDIChild& view = NewView();
    const QImage before = view.Bitmap.copy();
    view.DrawCursorCross(100, 100, 10);
    EXPECT_NE(view.Bitmap, before);
    // Arms from 3 x size off the centre in to the gap of 3 pixels round it.
    EXPECT_EQ(At(view, 70, 100), kBlack);
    EXPECT_EQ(At(view, 96, 100), kBlack);
    EXPECT_EQ(At(view, 98, 100), kWhite);
    EXPECT_EQ(At(view, 100, 100), kWhite);
    EXPECT_EQ(At(view, 100, 129), kBlack);
    EXPECT_EQ(At(view, 69, 100), kWhite);
    view.DrawCursorCross(100, 100, 10);
    EXPECT_EQ(view.Bitmap, before);
}

TEST_F(CursorTest, RedrawDrawsTheCrossAtTheCursorAndShowsItsPosition)
{
    TMDIChild& view = NewView();
    EXPECT_EQ(view.FCursorX, kCentreX);
    EXPECT_EQ(view.FCursorY, kCentreY);
    EXPECT_EQ(At(view, kCentreX - 10, kCentreY), kBlack);
    EXPECT_EQ(At(view, kCentreX, kCentreY + 10), kBlack);
    EXPECT_EQ(host.position, kHomeReadout);
    EXPECT_EQ(CursorPositionText, kHomeReadout);
    // A redraw only reads the cursor out: the working position is the
    // user's (and the fix cycle's), not the view's.
    EXPECT_EQ(CurLat, 0.0);
    EXPECT_EQ(CurLon, 0.0);
    view.CopyView1->trigger(); // goes to the main window
    EXPECT_EQ(host.copies, 1);
}

TEST_F(CursorTest, ClickMovesTheCrossAndReadsThePixel)
{
    TMDIChild& view = NewView();
    QImage clean = view.Bitmap.copy();
    view.DrawCursorCross(kCentreX, kCentreY, 10);
    clean = view.Bitmap.copy(); // no cross at all
    view.DrawCursorCross(kCentreX, kCentreY, 10);

    view.Image1MouseDown(kCentreX + 69, kCentreY);
    EXPECT_TRUE(view.FMouseDown);
    view.Image1MouseMove(kCentreX + 138, kCentreY + 113);
    view.Image1MouseUp(kCentreX + 138, kCentreY + 113);
    EXPECT_FALSE(view.FMouseDown);
    // 69 and 113 pixels a degree at zoom 1 (x 4 here): half a degree east
    // and a quarter south.
    EXPECT_DOUBLE_EQ(view.FCursorLat, 50.25);
    EXPECT_DOUBLE_EQ(view.FCursorLon, 0.75);
    EXPECT_EQ(host.position,
        "50\xB0"
        "15.0000N 000\xB0"
        "45.0000W");
    // Only the one cross is left, at the last pixel.
    view.DrawCursorCross(kCentreX + 138, kCentreY + 113, 10);
    EXPECT_EQ(view.Bitmap, clean);

    // Without the button down a move does nothing.
    view.Image1MouseMove(10, 10);
    EXPECT_DOUBLE_EQ(view.FCursorLat, 50.25);
}

// A chart keeps its shape on any screen: a view narrower than 4:3 draws at
// the scales of the 4:3 view of its width (the program's image on a 4:3 or
// wider screen), showing more chart in its extra height; a click there
// reads back the position drawn under it.
TEST_F(CursorTest, ChartKeepsItsShapeOnScreensOfEveryShapeAndAClickReadsWhatIsDrawn)
{
    const struct {
        const char* name;
        int width, height, fourByThreeHeight;
    } screens[] = {
        { "5:4", 1280, 1024, 960 },
        { "5:4 small", 1000, 800, 750 },
        { "square", 800, 800, 600 },
    };
    struct Drawn {
        int northSouth, eastWest; // pixels of 1 nm
        double clickLat, clickLon, pixelLat, pixelLon; // the position read at a pixel, and a pixel's size
    };
    // A view of `width` x `height` centred at `lat` at zoom 16.
    auto draw = [this](int width, int height, double lat) {
        ViewImageWidth = static_cast<int16_t>(width);
        ViewImageHeight = static_cast<int16_t>(height);
        SetChartScales();
        TMDIChild& view = NewView(false);
        view.FCursorLat = lat;
        view.FCursorLon = 1.25;
        view.SetZoom(16);
        view.CentreButton1Click();
        int32_t x0 = 0, y0 = 0, xNorth = 0, yNorth = 0, xEast = 0, yEast = 0, x = 0, y = 0;
        const double nmOfLon = 1 / (60 * std::cos(lat * M_PI / 180));
        EXPECT_TRUE(view.Project(lat, 1.25, x0, y0));
        EXPECT_TRUE(view.Project(lat + 1.0 / 60, 1.25, xNorth, yNorth));
        EXPECT_TRUE(view.Project(lat, 1.25 - nmOfLon, xEast, yEast)); // west positive
        EXPECT_TRUE(view.Project(lat + 2.0 / 60, 1.25 - 3 * nmOfLon, x, y));
        view.Image1MouseDown(x, y);
        view.Image1MouseUp(x, y);
        return Drawn { y0 - yNorth, xEast - x0, view.FCursorLat, view.FCursorLon, 1.0 / view.FScaleLat,
            1.0 / view.FScaleLon };
    };
    for (const auto& screen : screens) {
        for (const double lat : { 78.0, -45.0 }) {
            SCOPED_TRACE(std::string(screen.name) + " at " + std::to_string(lat));
            const Drawn fourByThree = draw(screen.width, screen.fourByThreeHeight, lat);
            const Drawn drawn = draw(screen.width, screen.height, lat);
            EXPECT_EQ(drawn.northSouth, fourByThree.northSouth);
            EXPECT_EQ(drawn.eastWest, fourByThree.eastWest);
            EXPECT_NEAR(drawn.clickLat, lat + 2.0 / 60, drawn.pixelLat);
            EXPECT_NEAR(drawn.clickLon, 1.25 - 3 / (60 * std::cos(lat * M_PI / 180)), drawn.pixelLon);
        }
    }
}

TEST_F(CursorTest, DraggingAbove84ReadsTheLimit)
{
    ChartHomeLat = 83.95;
    TMDIChild& view = NewView();
    view.Image1MouseDown(kCentreX, kCentreY);
    view.Image1MouseMove(kCentreX, 0);
    EXPECT_EQ(view.FCursorLat, 84);
    EXPECT_EQ(host.position.substr(0, 11),
        "84\xB0"
        "00.0000N");
    view.Image1MouseUp(kCentreX, 0);
}

TEST_F(CursorTest, DraggingWestAcross180TurnsWestIntoEast)
{
    ChartHomeLon = 179.9; // west positive
    TMDIChild& view = NewView();
    view.Image1MouseDown(kCentreX, kCentreY);
    EXPECT_EQ(host.position.substr(12),
        "179\xB0"
        "54.0000W");
    // West is to the left: 0.25 degrees beyond 180 W.
    view.Image1MouseMove(kCentreX - 69, kCentreY);
    EXPECT_EQ(host.position.substr(12),
        "179\xB0"
        "51.0000E");
    EXPECT_NEAR(view.FCursorLon, -179.85, 1e-9);
    view.Image1MouseUp(kCentreX - 69, kCentreY);
}

TEST_F(CursorTest, WorkingPositionFollowsTheClickUnlessZoomedOutWithTwoViews)
{
    TMDIChild& first = NewView();
    first.SetZoom(0.5);
    first.CentreButton1Click();
    // One view: a click sets the working position whatever the zoom.
    first.Image1MouseDown(kCentreX + 10, kCentreY);
    first.Image1MouseUp(kCentreX + 10, kCentreY);
    EXPECT_EQ(CurLon, first.FCursorLon);

    TMDIChild& second = NewView();
    second.SetZoom(0.5);
    second.CentreButton1Click();
    CurLat = 10;
    CurLon = 20;
    second.Image1MouseDown(kCentreX + 20, kCentreY + 20);
    second.Image1MouseUp(kCentreX + 20, kCentreY + 20);
    EXPECT_EQ(CurLat, 10);
    EXPECT_EQ(CurLon, 20);
    EXPECT_NE(second.FCursorLat, 10); // the view's own cursor moved

    second.SetZoom(0.6);
    second.CentreButton1Click();
    second.Image1MouseDown(kCentreX + 20, kCentreY + 20);
    EXPECT_EQ(CurLat, second.FCursorLat);
    EXPECT_EQ(CurLon, second.FCursorLon);
    second.Image1MouseUp(kCentreX + 20, kCentreY + 20);
}

TEST_F(CursorTest, SpinButtonsStepThePixelAndClearTheStatusLine)
{
    TMDIChild& view = NewView();
    host.status = "something";
    view.UpDown->Down->click();
    EXPECT_EQ(view.FCursorY, kCentreY + 1);
    EXPECT_DOUBLE_EQ(view.FCursorLat, 50.5 - 1.0 / view.FScaleLat);
    EXPECT_EQ(host.status, "");
    view.LeftRight->Down->click();
    EXPECT_EQ(view.FCursorX, kCentreX + 1);
    EXPECT_DOUBLE_EQ(view.FCursorLon, 1.25 - 1.0 / view.FScaleLon);
    view.UpDown->Up->click();
    view.LeftRight->Up->click();
    EXPECT_EQ(view.FCursorX, kCentreX);
    EXPECT_EQ(view.FCursorY, kCentreY);
    EXPECT_EQ(host.position, kHomeReadout);
}

TEST_F(CursorTest, MeasureDrawsADottedLineFromTheOriginAndReadsRangeAndBearing)
{
    TMDIChild& view = NewView();
    MeasureMode = true;
    MeasureStartLat = 50.5;
    MeasureStartLon = 1.25;
    const int east = kCentreX + 200;
    view.Image1MouseDown(east, kCentreY);
    const std::string readout = host.status;
    EXPECT_EQ(readout, FormatRouteDistance());
    EXPECT_NE(readout.find("Bearing 270\xB0T To  90\xB0T From"), std::string::npos) << readout;
    view.Image1MouseUp(east, kCentreY);
    EXPECT_EQ(host.status, readout);
    // Dotted: some pixels between the two crosses are drawn, not all.
    int drawn = 0;
    for (int x = kCentreX + 40; x < east - 40; ++x)
        drawn += At(view, x, kCentreY) == kBlack;
    EXPECT_GT(drawn, 20);
    EXPECT_LT(drawn, east - 80 - kCentreX);

    // The next redraw draws the line again and shows the readout.
    host.status.clear();
    view.CentreButton1Click();
    EXPECT_EQ(host.status, FormatRouteDistance());
}

TEST_F(CursorTest, CursorOutsideTheCullingWindowKeepsItsPosition)
{
    TMDIChild& view = NewView();
    view.FCursorLat = 10.123456;
    view.FCursorLon = 40.654321;
    view.FCursorX = 123;
    view.FCursorY = 234;
    chartwin::DrawCursorAndMeasure(view); // the projection is still the old centre's
    EXPECT_EQ(view.FCursorLat, 10.123456);
    EXPECT_EQ(view.FCursorLon, 40.654321);
    EXPECT_EQ(view.FCursorX, 123);
    EXPECT_EQ(view.FCursorY, 234);
}

} // namespace
