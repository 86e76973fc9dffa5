// The layer painters on a small chart view, read back pixel by pixel.

#include "chartwin/ChartPainters.h"
#include "chartwin/Childwin.h"
#include "chartwin/CursorPainter.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/View_ZoomDlg.h"
#include "draw/PixelArt.h"
#include "nav/NavState.h"
#include "platform/QtHint.h"
#include "support/TempDir.h"

#include <QFrame>
#include <gtest/gtest.h>

using namespace chartwin;
using namespace chartwin::test;

namespace
{

constexpr int kWidth = 160, kHeight = 120;
constexpr int kX = kWidth / 2, kY = kHeight / 2; // pixel of the view's centre

class PainterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        View_ZoomSettings = {};
        ViewImageWidth = kWidth;
        ViewImageHeight = kHeight;
        PixelsPerDegLat = PixelsPerDegLon = 20;
        BackgroundColour = kWhite;
        ForegroundColour = kBlack;
        ChartHomeZoom = 1;
        view = std::make_unique<TMDIChild>();
        Fresh(kWhite);
    }

    void Fresh(TColour background)
    {
        BackgroundColour = int32_t(background);
        view->NewChartBitmap();
        PenIsUp = true;
        ClipMargin = 600;
    }

    // Centred on (lat, lon), `scale` pixels per degree on both axes.
    void Frame(double lat, double lon, int32_t scale)
    {
        view->FDrawCentreLat = view->FCursorLat = lat;
        view->FDrawCentreLon = view->FCursorLon = lon;
        view->FScaleLat = view->FScaleLon = scale;
        view->FIntZoom = 20;
    }

    // Route waypoints at pixels (50, 60) and (110, 60), both of symbol `code`.
    void TwoWaypointRoute(const std::string& code)
    {
        Frame(0, 0, 60);
        RouteCount = 2;
        RoutePoints[1] = TPosition { 0, 0.5 };
        RoutePoints[2] = TPosition { 0, -0.5 };
        RouteNames[1] = Name("ONE", code);
        RouteNames[2] = Name("TWO", code);
    }

    // A tidal station at the centre, its stream at the hour shown.
    static void OneTideStation(TideFlow flow)
    {
        TideStationCount = 1;
        TideStations[1] = TidePosition { rtl::Real6(0.0), rtl::Real6(0.0) };
        TideHour = 0;
        TideStreams[1][7] = flow;
    }

    const TRasterCanvas& Canvas() const { return *view->Canvas; }
    TColour At(int x, int y) const { return Canvas().Pixel(x, y); }

    static void ChartPoint_(int i, double storedLat, double lon)
    {
        ChartPoints[i] = ChartPoint { rtl::Real6(storedLat), rtl::Real6(lon) };
    }
    static WaypointNameField Name(const std::string& label, const std::string& codeAndNumber)
    {
        std::string text = label;
        text.resize(24, ' ');
        return WaypointNameField(text + codeAndNumber + " ");
    }

    std::unique_ptr<TMDIChild> view;
};

} // namespace

TEST_F(PainterTest, ChartPointOfLineTypeTwoIsDrawnDottedBlueAtItsTrueLatitude)
{
    Frame(-49.5, 0, 60);
    ChartPointCount = 2;
    ChartPoint_(1, 350.5, 0.5); // line type 2 at -49.5
    ChartPoint_(2, 350.5, -0.5);
    DrawChartPoints(*view);
    EXPECT_EQ(Row(Canvas(), kY, 50, 62, kBlue), "###...###...#");
    EXPECT_EQ(Count(Canvas(), kBlue), 30);
}

TEST_F(PainterTest, HiddenLineTypeJoinsTheShownPointsAroundIt)
{
    Frame(-49.5, 0, 60);
    ChartPointCount = 3;
    ChartPoint_(1, -49.0, 0.5); // line type 0
    ChartPoint_(2, 350.5, 0); // line type 2, hidden
    ChartPoint_(3, -50.0, -0.5);
    view->FLineTypeShown[2] = false;
    DrawChartPoints(*view);
    EXPECT_EQ(Count(Canvas(), kBlue), 0);
    EXPECT_EQ(At(kX, kY), kBlack); // on the line from (50, 30) to (110, 90)
    EXPECT_EQ(At(50, 30), kBlack);
}

TEST_F(PainterTest, PenUpPairsSeparatePolylinesWhileLineTypeZeroIsHidden)
{
    Frame(0, 0, 60);
    ChartPointCount = 4;
    ChartPoint_(1, 800.5, 0.5); // line type 4 (solid lime) at (0.5, 0.5)
    ChartPoints[2] = PenUpPoint;
    ChartPoint_(3, 800.5, -0.5);
    ChartPoint_(4, 799.5, -0.5);
    view->FLineTypeShown[0] = false;
    DrawChartPoints(*view);
    EXPECT_EQ(At(kX, 30), kWhite); // no line from the first polyline to the second
    EXPECT_EQ(At(110, kY), kLime);
    EXPECT_EQ(Count(Canvas(), kLime), 60);
}

TEST_F(PainterTest, HiddenRouteKeepsItsSymbolsButDrawsNoLegs)
{
    TwoWaypointRoute("01");
    view->FShowRoute = false;
    DrawWaypointsAndRoute(*view, TGlobalSettings {});
    EXPECT_EQ(Count(Canvas(), kRed), 0);
    EXPECT_EQ(At(50 + 3, kY), kBlack); // the plus of each waypoint
    EXPECT_EQ(At(110, kY - 3), kBlack);

    Fresh(kWhite);
    view->FShowRoute = true;
    DrawWaypointsAndRoute(*view, TGlobalSettings {});
    EXPECT_EQ(At(kX, kY), kRed);
    EXPECT_EQ(At(107, kY), kBlack); // the second symbol lies over the leg
}

TEST_F(PainterTest, ActiveWaypointOfCode19IsDrawnAsAWhiteDisc)
{
    Fresh(0x800000); // navy: the ring of code 19 is white too, but hollow
    TwoWaypointRoute("19");
    ActiveWaypoint = 2;
    view->FShowRoute = false;
    DrawWaypointsAndRoute(*view, TGlobalSettings {});
    EXPECT_EQ(At(110 + 1, kY + 1), kWhite); // filled
    EXPECT_EQ(At(50 + 1, kY + 1), 0x800000u); // ring only
    EXPECT_EQ(At(50 + 3, kY), kWhite);
}

TEST_F(PainterTest, WaypointLabelsAppearFromTheTextThreshold)
{
    Frame(0, 0, 60);
    WaypointDbCount = 1;
    WaypointDbPoints[1] = TPosition { 0, 0 };
    WaypointDbNames[1] = Name("LABEL@@", "23");
    DrawWaypointsAndRoute(*view, TGlobalSettings {});
    EXPECT_EQ(Count(Canvas(), kSilver), 0);
    WaypointDbNames[1] = Name("LABEL@@", "2315"); // label-only, shown from zoom 15
    DrawWaypointsAndRoute(*view, TGlobalSettings {});
    EXPECT_GT(Count(Canvas(), kSilver), 10);
    EXPECT_EQ(Count(Canvas(), kBlack), 0);
}

TEST_F(PainterTest, GraticuleHintNamesItsStepAndUnit)
{
    DistanceFactor = 1.852;
    view->SetZoom(0.3);
    view->RedrawView();
    EXPECT_EQ(Hint(view->Panel1), "Grat. 1000Km |");
    EXPECT_GT(Count(Canvas(), kSilver), 100); // graticule
    EXPECT_GT(Count(Canvas(), kGrey), 100); // world grid

    DistanceFactor = 1.0;
    view->SetZoom(4);
    View_ZoomSettings.ShowScale = true; // the options dialog's choice above zoom 0.5
    Fresh(kWhite);
    view->RedrawView();
    EXPECT_EQ(Hint(view->Panel1), "Grat. 100Nm |");
    EXPECT_EQ(Count(Canvas(), kGrey), 0);

    view->SetZoom(0.1);
    Fresh(kWhite);
    view->RedrawView();
    EXPECT_EQ(Hint(view->Panel1), "");
    EXPECT_EQ(Count(Canvas(), kSilver), 0);
    EXPECT_GT(Count(Canvas(), kGrey), 100);
}

TEST_F(PainterTest, WorldGridTopParallelIs84)
{
    view->FCursorLat = 84;
    view->FCursorLon = 3; // between two meridians
    view->SetZoom(0.1);
    view->RedrawView();
    // The cursor cross lies across the parallel: taken off first.
    view->DrawCursorCross(view->FCursorX, view->FCursorY, 10);
    auto greyInRow = [&](int y) { return Count(Canvas(), kGrey, 0, y, kWidth, y + 1); };
    EXPECT_GT(greyInRow(kY), kWidth - 10); // the parallel at 84
    // 4 degrees further south (14 pixels a degree here) only meridians cross.
    ASSERT_EQ(view->FScaleLat, 14);
    EXPECT_LT(greyInRow(kY + 56), 30);
}

TEST_F(PainterTest, TidalArrowIsTwoPixelsPerTenthOfAKnotAtAnyZoom)
{
    Frame(0, 0, 60);
    OneTideStation(TideFlow { 90, 15 }); // east, 1.5 knots
    for (int zoom : { 1, 10 }) {
        Fresh(kWhite);
        view->FIntZoom = zoom;
        DrawTidalStreams(*view, TGlobalSettings {});
        EXPECT_EQ(Row(Canvas(), kY, kX + 4, kX + 30, kAqua), std::string(26, '#') + ".") << zoom;
        EXPECT_EQ(At(kX - 3, kY), zoom >= 3 ? kAqua : kWhite) << zoom;
        EXPECT_EQ(At(kX - 1, kY), zoom >= 3 ? kWhite : kAqua) << zoom;
    }
}

TEST_F(PainterTest, PaintersTakeTheirColoursFromASettingsValueWithNoDialog)
{
    ASSERT_EQ(GlobalDlg, nullptr);
    Frame(0, 0, 60);
    OneTideStation(TideFlow { 90, 15 });
    WaypointDbCount = 1;
    WaypointDbPoints[1] = TPosition { 0.5, 0 }; // 30 pixels above the centre
    WaypointDbNames[1] = Name("LABEL", "01");
    view->FTextThreshold = 1;
    for (bool foreground : { false, true }) {
        TGlobalSettings settings;
        settings.TideColourFG = settings.TextColourFG = foreground;
        Fresh(kWhite);
        DrawTidalStreams(*view, settings);
        EXPECT_EQ(At(kX + 10, kY), foreground ? kBlack : kAqua) << foreground;
        Fresh(kWhite);
        DrawWaypointsAndRoute(*view, settings);
        EXPECT_EQ(Count(Canvas(), kSilver) > 0, !foreground) << foreground;
    }
}

TEST_F(PainterTest, TidalLabelShowsRateThenDirectionWhenZoomedFurther)
{
    Frame(0, 0, 60);
    OneTideStation(TideFlow { 45, 15 });
    const struct {
        int zoom;
        const char* label;
    } cases[] = { { 19, nullptr }, { 20, "1.5" }, { 40, "1.5k45\xB0T" } };
    for (const auto& c : cases) {
        Fresh(kWhite);
        view->FIntZoom = c.zoom;
        DrawTidalStreams(*view, TGlobalSettings {});
        QImage expected = MakeImage(kWidth, kHeight, kWhite);
        TRasterCanvas reference(expected);
        reference.SetFontColour(kAqua);
        const std::string text = c.label ? c.label : "1.5k45\xB0T";
        if (c.label)
            reference.TextOut(kX + 2, kY + 2, text);
        const QRect box(kX + 2, kY + 2, reference.TextWidth(text), reference.TextHeight(text));
        EXPECT_EQ(view->Bitmap.copy(box), expected.copy(box)) << c.zoom;
    }
}

TEST_F(PainterTest, TrackShowsFixCrossesAboveZoom50)
{
    Frame(0, 0, 60);
    LogCount = 2;
    LogRecords[1] = LogRecord { rtl::Real6(0.0), rtl::Real6(0.5), rtl::Real6(0.0) };
    LogRecords[2] = LogRecord { rtl::Real6(0.0), rtl::Real6(-0.5), rtl::Real6(1.0) };
    view->FZoom = 60;
    DrawTrack(*view);
    EXPECT_EQ(At(110 - 2, kY - 2), kYellow);
    EXPECT_EQ(At(50 + 2, kY + 2), kYellow);
    Fresh(kWhite);
    view->FZoom = 50;
    DrawTrack(*view);
    EXPECT_EQ(At(110 - 2, kY - 2), kWhite);
    EXPECT_EQ(At(kX, kY), kYellow); // the dotted track itself
}

TEST_F(PainterTest, ChartOutlinesOfTheChartsFolder)
{
    kvtest::TempDir charts;
    ChartsFolder = charts.path() + "/";
    view->SetZoom(1);
    view->SetUpProjection();
    // The cursor cross as a redraw leaves it; "Show Charts" draws it again.
    DrawCursorAndMeasure(*view);
    const int crossOnly = Count(Canvas(), kWhite);
    ShowCharts(*view);
    EXPECT_EQ(Count(Canvas(), kWhite), crossOnly); // an empty folder draws nothing

    charts.write("flat.cfg", "0\r\n0\r\n0\r\n1\r\n"); // zoom 0: no rectangle to draw
    ShowCharts(*view);
    EXPECT_EQ(Count(Canvas(), kWhite), crossOnly);
    EXPECT_EQ(ChartHomeZoom, 0);

    charts.write("zudeve.cfg", "0\r\n0\r\n2\r\n");
    charts.write("Portfolio.cfg", "0\r\n0\r\n2\r\n");
    charts.write("harbour.cfg", "0\r\n0\r\n2\r\n1\r\n");
    ShowCharts(*view);
    // Zoom 2 covers the middle half of the bitmap: 14 and 20 pixels a degree.
    EXPECT_EQ(At(kX + 1, 30), kBlack); // beside the cursor cross
    EXPECT_EQ(At(40, kY), kBlack);
    EXPECT_EQ(At(kX + 1, 29), kWhite);
    EXPECT_GT(Count(Canvas(), kSilver), 10); // "harbour" at the north-west corner
    EXPECT_EQ(ChartHomeZoom, 0); // two charts listed: the home view is left alone
}
