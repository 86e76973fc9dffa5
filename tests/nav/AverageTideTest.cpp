// The mean stream along the leg for the preferences' "Average" button, and
// the chart's move onto the GPS datum.

#include "nav/AverageTide.h"
#include "nav/ChartDatumShift.h"
#include "nav/ChartStore.h"
#include "nav/NavState.h"

#include <gtest/gtest.h>

namespace
{

class AverageTide : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        CosLat = 1.0;
        CurLat = 50.0;
        CurLon = 1.0;
        RouteCount = 1;
        ActiveWaypoint = 1;
        RoutePoints[1] = { 51.0, 1.0 };
        TideHour = 0;
        ManualSpeed = 6.0;
    }
    void TearDown() override { ResetNavState(); }

    // One diamond at the present position with the same stream every hour.
    static void OneDiamond(int16_t set, int16_t rate)
    {
        TideStationCount = 1;
        TideStations[1] = { rtl::Real6(50.0), rtl::Real6(1.0) };
        for (int hour = 1; hour <= kTideHours; ++hour)
            TideStreams[1][hour] = TideFlow { set, rate };
    }
};

TEST_F(AverageTide, NeedsAnAtlasAndARoute)
{
    HoursToWaypoint = 3;
    EXPECT_EQ(AverageTideAlongLeg({}).outcome, AverageTideOutcome::NoAtlasOrRoute);
    OneDiamond(0, 10);
    RouteCount = 0;
    EXPECT_EQ(AverageTideAlongLeg({}).outcome, AverageTideOutcome::NoAtlasOrRoute);
}

TEST_F(AverageTide, MeanOfStreamsDueNorthEastSouthWest)
{
    HoursToWaypoint = 4.2;
    ManualSpeed = 1.0; // every sample within reach of the diamond
    const struct {
        int16_t set;
        int expected;
    } cases[] = { { 0, 0 }, { 90, 90 }, { 180, 180 }, { 270, 270 }, { 45, 45 }, { 315, 315 } };
    for (const auto& c : cases) {
        OneDiamond(c.set, 17);
        const AverageTideResult mean = AverageTideAlongLeg({});
        EXPECT_EQ(mean.outcome, AverageTideOutcome::Averaged);
        EXPECT_EQ(mean.samples, 4);
        EXPECT_EQ(mean.set, c.expected) << "set " << c.set;
        EXPECT_EQ(mean.rate, 17) << "set " << c.set;
    }
}

TEST_F(AverageTide, SamplesAwayFromEveryDiamondHaveNoStream)
{
    // At 6 knots the samples lie 0, 6, 12 and 18 nm from the only diamond,
    // whose stream reaches 5 nm: one hour of stream over four.
    HoursToWaypoint = 4.2;
    OneDiamond(0, 40);
    const AverageTideResult mean = AverageTideAlongLeg({});
    EXPECT_EQ(mean.samples, 4);
    EXPECT_EQ(mean.set, 0);
    EXPECT_EQ(mean.rate, 10);
}

TEST_F(AverageTide, OneAndAHalfHoursTakesThePresentDiamondAndHour)
{
    HoursToWaypoint = 1.5;
    OneDiamond(200, 30);
    TideHour = 2;
    TideStreams[1][2 + 7] = TideFlow { 123, 14 };
    const AverageTideResult mean = AverageTideAlongLeg({});
    EXPECT_EQ(mean.samples, 1);
    EXPECT_EQ(mean.set, 123);
    EXPECT_EQ(mean.rate, 14);
}

TEST_F(AverageTide, SixtyHoursTakesFortyOneSamplesRoundTheTidalHours)
{
    HoursToWaypoint = 60;
    ManualSpeed = 0.0; // the samples stay at the diamond
    OneDiamond(0, 0);
    // Only hour +6 runs: 41 samples from -6 pass it three times
    // (-6 .. +6, -6 .. +6, -6 .. +6, then -6 and -5).
    TideHour = -6;
    TideStreams[1][13] = TideFlow { 90, 41 };
    const AverageTideResult mean = AverageTideAlongLeg({});
    EXPECT_EQ(mean.samples, 41);
    EXPECT_EQ(mean.set, 90);
    EXPECT_EQ(mean.rate, 3); // 3 × 41 / 41
}

TEST_F(AverageTide, LaterSamplesMoveToTheNearerDiamond)
{
    HoursToWaypoint = 2;
    ManualSpeed = 30.0; // half a degree north in the hour
    TideStationCount = 2;
    TideStations[1] = { rtl::Real6(50.0), rtl::Real6(1.0) };
    TideStations[2] = { rtl::Real6(50.5), rtl::Real6(1.0) };
    TideStreams[1][7] = TideFlow { 90, 10 };
    TideStreams[2][8] = TideFlow { 270, 10 };
    // East for an hour, then west for an hour: no mean stream, set 90 by rule.
    const AverageTideResult mean = AverageTideAlongLeg({});
    EXPECT_EQ(mean.samples, 2);
    EXPECT_EQ(mean.rate, 0);
}

TEST_F(AverageTide, UnderOneHourOrNoProgressGivesNoMean)
{
    OneDiamond(90, 10);
    // No progress (-1) and the tide stronger than the boat (-2) once gave set
    // 90 rate 0 without a word; they warn as for less than an hour to go.
    for (double hours : { 0.0, 0.9, -1.0, -2.0 }) {
        HoursToWaypoint = hours;
        EXPECT_EQ(AverageTideAlongLeg({}).outcome, AverageTideOutcome::UnderOneHour) << hours;
    }
}

TEST_F(AverageTide, ASetJustWestOfNorthIsStoredAsZero)
{
    HoursToWaypoint = 3;
    ManualSpeed = 0.0;
    OneDiamond(0, 50);
    TideStreams[1][9] = TideFlow { 359, 50 }; // atan of the mean rounds to 90, + 270 = 360
    const AverageTideResult mean = AverageTideAlongLeg({});
    EXPECT_EQ(mean.set, 0);
    EXPECT_EQ(mean.rate, 50);
}

TEST(ChartDatumShift, PointsMoveAndPenUpsStay)
{
    ResetNavState();
    ClearChartStore();
    ChartPoints[1] = { rtl::Real6(50.0 + 200 * 3), rtl::Real6(1.0) };
    ChartPoints[2] = { rtl::Real6(50.1 + 200 * 3), rtl::Real6(1.1) };
    ChartPoints[3] = PenUpPoint;
    ChartPoints[4] = { rtl::Real6(49.0), rtl::Real6(-0.5) };
    ChartPointCount = 4;
    WaypointDbCount = 1;
    WaypointDbPoints[1] = { 50.0, 1.0 };

    ShiftChartPoints(0.01, -0.005);
    EXPECT_NEAR(ChartPoints[1].lat.value(), 649.99, 1e-9);
    EXPECT_NEAR(ChartPoints[1].lon.value(), 0.995, 1e-9);
    EXPECT_NEAR(ChartPoints[2].lat.value(), 650.09, 1e-9);
    EXPECT_EQ(ChartPoints[3], PenUpPoint);
    EXPECT_NEAR(ChartPoints[4].lat.value(), 48.99, 1e-9);
    EXPECT_NEAR(ChartPoints[4].lon.value(), -0.505, 1e-9);
    EXPECT_EQ(ChartPoints[5], PenUpPoint); // beyond the store's count
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lat, 50.0);

    ShiftChartWaypoints(0.01, -0.005);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lat, 49.99);
    EXPECT_DOUBLE_EQ(WaypointDbPoints[1].lon, 0.995);
    ResetNavState();
}

} // namespace
