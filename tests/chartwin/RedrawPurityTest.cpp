// A redraw only draws: the navigation state and the stores stay byte for
// byte as they were, and what goes around the drawing (AIS selection, tow
// layout, the portfolio's chart list) is done by the view's caller steps. A
// view keeps its bitmap from one redraw to the next.

#include "chartwin/ChartPainters.h"
#include "chartwin/CursorFixture.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/View_ZoomDlg.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"

#include <QApplication>
#include <QToolButton>
#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

namespace
{

using Bytes = std::vector<unsigned char>;

// The stored bytes of a value; the records and tables hold no pointers.
template <typename T> Bytes BytesOf(const T& value)
{
    static_assert(std::is_standard_layout_v<T>);
    const auto* first = reinterpret_cast<const unsigned char*>(&value);
    return Bytes(first, first + sizeof value);
}

// Everything a redraw reads or could be tempted to write, as bytes.
std::vector<Bytes> NavigationState()
{
    return { BytesOf(ChartPoints), BytesOf(ChartPointCount), BytesOf(WaypointDbPoints),
        BytesOf(WaypointDbNames), BytesOf(WaypointDbCount), BytesOf(RoutePoints), BytesOf(RouteNames),
        BytesOf(RouteCount), BytesOf(ActiveWaypoint), BytesOf(LogRecords), BytesOf(LogCount),
        BytesOf(TideStations), BytesOf(TideStreams), BytesOf(TideStationCount), BytesOf(TideHour),
        BytesOf(AisTargets), BytesOf(AisTargetCount), BytesOf(SelectedAisTarget), BytesOf(NearestTargetRange),
        BytesOf(ChartHomeLat), BytesOf(ChartHomeLon), BytesOf(ChartHomeZoom), BytesOf(ViewCentreLat),
        BytesOf(ViewCentreLon), BytesOf(ViewZoom), BytesOf(ChartList), BytesOf(ChartListCount),
        BytesOf(TowLayoutPoints), BytesOf(TowLayoutTexts), BytesOf(TowLat), BytesOf(TowLon), BytesOf(CurLat),
        BytesOf(CurLon), BytesOf(ViewRotation), BytesOf(WaypointRangeNm), BytesOf(MeasureMode),
        BytesOf(MarkMeasureOrigin), BytesOf(ConfigName), BytesOf(LayerFlags), BytesOf(TextLogName),
        Bytes(CurrentChartName.begin(), CurrentChartName.end()), BytesOf(GlobalSettings) };
}

using chartwin::test::RecordingHost;

class RedrawPurity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        GlobalSettings = {};
        ViewImageWidth = 200;
        ViewImageHeight = 150;
        PixelsPerDegLat = 45;
        PixelsPerDegLon = 28;
        ChartHomeZoom = 20;
        // The first view is the AIS view; making it empties the target table.
        view = std::make_unique<TMDIChild>(nullptr, &host);
        view->FCursorLat = 50;
        view->FCursorLon = 1;
        view->SetZoom(20);
        view->ShowAIS->setChecked(true);
        CurrentChartName = "portfolio";
        int n = 0;
        for (int i = 0; i < 10; ++i)
            ChartPoints[++n] = ChartPoint { rtl::Real6(49.98 + 0.004 * i), rtl::Real6(1.02 - 0.004 * i) };
        ChartPoints[++n] = PenUpPoint;
        ChartPointCount = int16_t(n);
        WaypointDbCount = 2;
        WaypointDbPoints[1] = TPosition { 50.01, 0.99 };
        WaypointDbPoints[2] = TPosition { 49.99, 1.01 };
        WaypointDbNames[1] = "BUOY                    01   ";
        WaypointDbNames[2] = "RING                    2050 ";
        RouteCount = 2;
        RoutePoints[1] = TPosition { 49.99, 1.01 };
        RoutePoints[2] = TPosition { 50.01, 0.99 };
        RouteNames[1] = RouteNames[2] = "LEG                     19   ";
        ActiveWaypoint = 2;
        LogCount = 3;
        for (int i = 1; i <= 3; ++i)
            LogRecords[i] = LogRecord { rtl::Real6(49.995 + 0.002 * i), rtl::Real6(1.0), rtl::Real6(i) };
        TideStationCount = 1;
        TideStations[1] = TidePosition { rtl::Real6(50.0), rtl::Real6(1.0) };
        TideStreams[1][7] = TideFlow { 45, 12 };
        AisTargetCount = 1;
        AisTargets[1].mmsi = 235000001;
        AisTargets[1].latitude = 50 * 600000;
        AisTargets[1].longitude = -600000;
        AisTargets[1].lastHeard = LocalNow().DateTimeValue(); // heard just now: not aged out
        ShowVesselOutline = true;
        VesselLength = 20;
        VesselBeam = 6;
        GlobalSettings.TextColourFG = GlobalSettings.TideColourFG = true;
    }

    RecordingHost host;
    std::unique_ptr<TMDIChild> view;
};

} // namespace

TEST_F(RedrawPurity, DrawingLeavesNavigationStateAndStoresByteForByte)
{
    ASSERT_TRUE(view->FIsAisView);
    view->NewChartBitmap();
    const QImage blank = view->Bitmap.copy();
    chartwin::PrepareRedraw(*view, GlobalSettings, View_ZoomSettings);
    const std::vector<Bytes> before = NavigationState();

    chartwin::RedrawView(*view, GlobalSettings, View_ZoomSettings);

    EXPECT_TRUE(NavigationState() == before);
    EXPECT_NE(view->Bitmap, blank); // it did draw
    EXPECT_TRUE(view->VesselDrawnAt.has_value());
    EXPECT_EQ(host.chartLists, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RedrawPurity, TheViewsStepsAroundTheDrawingDoWhatTheDrawingMayNot)
{
    view->RedrawView();
    EXPECT_EQ(SelectedAisTarget, 1); // the only target is selected
    EXPECT_NE(TowLayoutTexts[1].str(), ""); // the tow laid out at the vessel
    EXPECT_EQ(host.chartLists, 1); // a portfolio shows its chart list
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RedrawPurity, SecondRedrawOfTheSameViewReusesItsBitmap)
{
    view->RedrawAndStoreView(); // the cursor moves to the newest fix
    view->RedrawAndStoreView();
    const uchar* bits = view->Bitmap.constBits();
    const QImage second = view->Bitmap.copy();
    view->RedrawAndStoreView();
    EXPECT_EQ(view->Bitmap.constBits(), bits);
    EXPECT_EQ(view->Bitmap, second); // cleared and drawn again the same

    ViewImageWidth = 240; // a new size takes a new bitmap
    view->RedrawAndStoreView();
    EXPECT_EQ(view->Bitmap.width(), 240);
}
