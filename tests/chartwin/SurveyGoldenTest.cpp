// A view with the demo survey log plotted over the demo tidal atlas,
// compared with a stored picture pixel for pixel: the joined magenta points
// with fix crosses and value blobs, the event texts, the tidal streams at
// three hours before high water, and the trend line in the data-trend plot.
//
// Regenerate the pictures after a deliberate change of the drawing with
//   KV_REGENERATE_GOLDEN=1 build/tests/test_chartwin --gtest_filter='SurveyGolden*'

#include "GoldenImage.h"

#include "chartwin/CursorFixture.h"
#include "chartwin/SurveyPlot.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/View_ZoomDlg.h"
#include "nav/NavState.h"
#include "nav/TidalAtlas.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

const std::string kDemo = std::string(KV_SOURCE_DIR) + "/demo";
const std::string kGolden = std::string(KV_TEST_DATA_DIR) + "/chartwin/survey_golden.png";
const std::string kTrendGolden = std::string(KV_TEST_DATA_DIR) + "/chartwin/survey_trend_golden.png";

} // namespace

TEST(SurveyGolden, DemoSurveyLogOverTheDemoAtlas)
{
    GoldenScene(50.8);
    GlobalSettings = {};
    View_ZoomSettings = {};
    View_ZoomSettings.UseCrosses = true;
    LogsFolder = kDemo + "/logs/";
    LogBaseName = "survey";
    TextLogName = "survey";
    FixNumber = 38;
    LoadTidalData(kDemo + "/tides/harbour.pos");
    ASSERT_EQ(TideStationCount, 6);
    TideHour = -3;

    QImage trend;
    chartwin::TDataTrendPlot plot { &trend, 400, false };
    chartwin::test::RecordingHost host;
    host.plot = &plot;
    TMDIChild view(nullptr, &host);
    ASSERT_TRUE(view.FIsAisView);
    view.FCursorLat = 50.7932;
    view.FCursorLon = 1.3;
    view.SetZoom(300);
    view.FTrendField = 'V';
    view.FColourBlobs = true;
    view.FEventTextOnly = true;
    view.FShowLastN = false;
    view.FTextThreshold = 200;
    view.FTidalThreshold = 100;
    view.NewChartBitmap();
    view.RedrawView();

    ExpectMatchesGolden(view.Bitmap, kGolden);
    ExpectMatchesGolden(trend, kTrendGolden);
    if (RegeneratingGolden())
        GTEST_SKIP() << "wrote " << kGolden << " and " << kTrendGolden;
}
