// The AIS view redrawn and compared with a stored picture, pixel for pixel:
// targets with names and course lines, a base station, trails, the followed
// target to scale and the range rings at the vessel's last fix.
//
// Regenerate the picture after a deliberate change of the drawing with
//   KV_REGENERATE_GOLDEN=1 build/tests/test_chartwin --gtest_filter='AisGolden*'

#include "GoldenImage.h"

#include "chartwin/Childwin.h"
#include "draw/ViewFixture.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"

#include <QAction>
#include <QImage>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

const std::string kGolden = std::string(KV_TEST_DATA_DIR) + "/chartwin/ais_golden.png";
const LocalDateTime kNow { 2026, 12, 7, 10, 0, 0, 0 };

// Target i at (lat, lon west positive) with its trail reaching back along
// the reverse of its course.
void Target(int i, double lat, double lonWest, int cogDegrees, int sogKnots, const char* name)
{
    nav::AisTargetRecord& t = chartwin::test::PlaceAisTarget(i, lat, lonWest);
    t.mmsi = 235100000 + i;
    t.courseOverGround = uint16_t(cogDegrees * 10);
    t.speedOverGround = uint16_t(sogKnots * 10);
    t.trueHeading = 511;
    t.name = name;
    t.lastHeard = kNow.DateTimeValue();
    const double a = cogDegrees * M_PI / 180;
    t.trailCount = 6;
    for (int n = 1; n <= 6; ++n) {
        const double back = (6 - n) * 0.0004;
        t.trail[n] = { lat - back * std::cos(a), -lonWest - back * std::sin(a) * 1.6 };
    }
}

void Scene()
{
    GoldenScene(50.8);
    SetLocalClock([] { return kNow; });
    CurLat = 50.8;
    CurLon = 1.3;
    ShowVesselOutline = true;
}

// After the AIS view is made: making it empties the table.
void Targets()
{
    Target(1, 50.8010, 1.2990, 45, 8, "SOLENT TRADER@@@@@@@");
    AisTargets[1].toBow = 80;
    AisTargets[1].toStern = 20;
    AisTargets[1].toPort = 6;
    AisTargets[1].toStarboard = 10;
    Target(2, 50.7980, 1.3035, 300, 12, "PILOT CUTTER");
    Target(3, 50.8030, 1.2950, 180, 0, "MOORED BARGE");
    Target(4, 50.7975, 1.2960, 90, 4, "");
    AisTargets[4].messageType = 4; // a base station
    AisTargets[4].utcYear = 2026;
    AisTargets[4].utcMonth = 12;
    AisTargets[4].utcDay = 7;
    AisTargets[4].utcHour = 9;
    AisTargets[4].utcMinute = 59;
    AisTargets[4].utcSecond = 30;
    LogCount = 4;
    for (int i = 1; i <= 4; ++i)
        LogRecords[i]
            = LogRecord { rtl::Real6(50.7990 + 0.0002 * i), rtl::Real6(1.3010 - 0.0002 * i), rtl::Real6(i) };
}

} // namespace

TEST(AisGolden, AisViewMatchesTheStoredPicture)
{
    Scene();
    TMDIChild view;
    ASSERT_TRUE(view.FIsAisView);
    Targets();
    view.FCursorLat = 50.8;
    view.FCursorLon = 1.3;
    view.SetZoom(400);
    view.ShowAIS->setChecked(true);
    view.HighlightNearest1->setChecked(false);
    view.AISFollowSelectedTarget1->setChecked(true);
    view.ShowMMSI1->setChecked(true);
    view.FRingCount = 2;
    SelectedAisTarget = 1;
    view.RedrawAndStoreView();
    SetLocalClock({});
    ASSERT_EQ(AisTargetCount, 4); // nothing aged out

    ExpectMatchesGolden(view.Bitmap, kGolden);
    if (RegeneratingGolden())
        GTEST_SKIP() << "wrote " << kGolden;
}
