// A whole view redrawn and compared with a stored picture, pixel for pixel:
// chart lines of several line types, a route with its legs and active
// waypoint, the own track with fix crosses, database waypoints with labels,
// tidal streams and the graticule.
//
// Regenerate the picture after a deliberate change of the drawing with
//   KV_REGENERATE_GOLDEN=1 build/tests/test_chartwin --gtest_filter='RedrawGolden*'

#include "GoldenImage.h"

#include "chartwin/ChartPainters.h"
#include "chartwin/Childwin.h"
#include "dialogs/View_ZoomDlg.h"
#include "nav/NavState.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace
{

const std::string kGolden = std::string(KV_TEST_DATA_DIR) + "/chartwin/redraw_golden.png";

void Scene()
{
    GoldenScene(50);
    // Three polylines: a type 0 coast, a dotted type 2 depth line and a solid
    // type 5 line, each ended by a pen-up pair.
    int n = 0;
    for (int type : { 0, 2, 5 }) {
        for (int i = 0; i < 12; ++i) {
            const double lat = 49.96 + 0.025 * type + 0.004 * i;
            const double lon = 1.08 - 0.014 * i + 0.01 * std::sin(i + type);
            ChartPoints[++n] = ChartPoint { rtl::Real6(lat + 200.0 * type), rtl::Real6(lon) };
        }
        ChartPoints[++n] = PenUpPoint;
    }
    ChartPointCount = int16_t(n);
    const char* names[] = { "BUOY                    01   ", "WRECK                   10   ",
        "ANCHORAGE               22   ", "RING                    2050 ", "DISC                    25   " };
    WaypointDbCount = 5;
    for (int i = 1; i <= 5; ++i) {
        WaypointDbPoints[i] = TPosition { 49.95 + 0.02 * i, 1.05 - 0.02 * i };
        WaypointDbNames[i] = names[i - 1];
    }
    RouteCount = 3;
    RoutePoints[1] = TPosition { 49.94, 1.06 };
    RoutePoints[2] = TPosition { 49.99, 1.0 };
    RoutePoints[3] = TPosition { 50.04, 0.93 };
    for (int i = 1; i <= 3; ++i)
        RouteNames[i] = "LEG                     19   ";
    ActiveWaypoint = 2;
    LogCount = 6;
    for (int i = 1; i <= 6; ++i)
        LogRecords[i]
            = LogRecord { rtl::Real6(49.93 + 0.01 * i), rtl::Real6(0.96 + 0.004 * i), rtl::Real6(i) };
    TideStationCount = 2;
    TideStations[1] = TidePosition { rtl::Real6(49.97), rtl::Real6(0.95) };
    TideStations[2] = TidePosition { rtl::Real6(50.03), rtl::Real6(1.04) };
    TideStreams[1][7] = TideFlow { 45, 12 };
    TideStreams[2][7] = TideFlow { 200, 7 };
}

} // namespace

TEST(RedrawGolden, WholeViewMatchesTheStoredPicture)
{
    Scene();
    TMDIChild view;
    view.FCursorLat = 50;
    view.FCursorLon = 1;
    view.SetZoom(60);
    view.FTextThreshold = 50;
    view.FTidalThreshold = 20;
    View_ZoomSettings = {};
    View_ZoomSettings.ShowScale = true; // "Show Graticule"
    view.NewChartBitmap();
    view.RedrawView();

    ExpectMatchesGolden(view.Bitmap, kGolden);
    if (RegeneratingGolden())
        GTEST_SKIP() << "wrote " << kGolden;
}
