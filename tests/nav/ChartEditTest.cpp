#include "nav/ChartEdit.h"
#include "nav/ChartStore.h"
#include "nav/NavState.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

ChartPoint P(double storedLat, double lon)
{
    return ChartPoint { rtl::Real6(storedLat), rtl::Real6(lon) };
}

class ChartEditTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }

    void Fill(const std::vector<ChartPoint>& points)
    {
        ClearChartStore();
        AppendToChartStore(points);
    }

    std::vector<ChartPoint> Stored() const
    {
        return std::vector<ChartPoint>(ChartPoints.begin(), ChartPoints.begin() + ChartPointCount);
    }
};

TEST_F(ChartEditTest, LineTypeCountsTheThresholdsTheStoredLatitudeExceeds)
{
    EXPECT_EQ(ChartLineType(-1.0), 0); // pen-up
    EXPECT_EQ(ChartLineType(-80.0), 0);
    EXPECT_EQ(ChartLineType(84.0), 0);
    EXPECT_EQ(ChartLineType(100.0), 0); // on a threshold: not past it
    EXPECT_EQ(ChartLineType(100.0001), 1);
    EXPECT_EQ(ChartLineType(120.0), 1); // -80 of type 1
    EXPECT_EQ(ChartLineType(650.25), 3);
    EXPECT_EQ(ChartLineType(1100.0), 5);
    EXPECT_EQ(ChartLineType(1284.0), 6);
    EXPECT_EQ(ChartLineOffset(3), 600.0);
    EXPECT_EQ(ChartLineOffset(6), 1200.0);
}

TEST_F(ChartEditTest, NearestPointIsFoundAtItsTrueLatitudeAndSetsItsOwnOffset)
{
    CosLat = 0.5;
    Fill({ PenUpPoint, P(50.30, 1.30), P(650.25, 1.25), P(50.20, 1.20) });
    LineTypeOffset = 1200;
    EXPECT_EQ(FindNearestChartPoint(50.25, 1.25), 3);
    EXPECT_EQ(SelectedChartPoint, 3);
    EXPECT_EQ(LineTypeOffset, 600.0);

    // Longitudes count at CosLat: 0.04 of longitude is nearer than 0.03 of latitude.
    Fill({ P(50.03, 1.0), P(50.0, 1.04) });
    EXPECT_EQ(NearestChartPoint(50.0, 1.0), 2);
    EXPECT_EQ(LineTypeOffset, 600.0); // only the search that selects sets it

    // Equally near: the first wins.
    Fill({ P(50.0, 1.25), P(50.0, 0.75) });
    EXPECT_EQ(NearestChartPoint(50.0, 1.0), 1);
}

TEST_F(ChartEditTest, PenUpsTakePartInNoSearchSoSnapNeverJumpsToMinusOne)
{
    Fill({ PenUpPoint, P(50.0, 1.0), PenUpPoint });
    // At (-1, -1) itself the pen-ups are at distance 0, the point far away.
    EXPECT_EQ(FindNearestChartPoint(-1.0, -1.0), 2);

    Fill({ PenUpPoint, PenUpPoint });
    LineTypeOffset = 400;
    SelectedChartPoint = 2;
    EXPECT_EQ(FindNearestChartPoint(-1.0, -1.0), 0);
    EXPECT_EQ(SelectedChartPoint, 0);
    EXPECT_EQ(LineTypeOffset, 400.0);
    // Nothing to move or break: the store stays as it was.
    EXPECT_EQ(MoveOrBreakChartPoint(false, 50.0, 1.0), 0);
    EXPECT_EQ(DeleteChartPoint(50.0, 1.0), 0);
    EXPECT_EQ(Stored(), (std::vector<ChartPoint> { PenUpPoint, PenUpPoint }));
    EXPECT_EQ(SelectedChartPoint, 0);
}

TEST_F(ChartEditTest, AddedPointsCarryTheLineTypeOffsetAndAreSelected)
{
    Fill({ PenUpPoint, P(50.0, 1.0) });
    EXPECT_TRUE(AddChartPoint(true, 50.5, 1.5));
    EXPECT_EQ(SelectedChartPoint, 3);
    LineTypeOffset = ChartLineOffset(3);
    EXPECT_TRUE(AddChartPoint(false, 50.5, 1.5));
    EXPECT_EQ(Stored(), (std::vector<ChartPoint> { PenUpPoint, P(50.0, 1.0), PenUpPoint, P(650.5, 1.5) }));
    EXPECT_EQ(SelectedChartPoint, 4);
    EXPECT_EQ(LoadedPointCount, 2); // added points come after the file's
}

TEST_F(ChartEditTest, FullStoreTakesNoPoint)
{
    Fill(std::vector<ChartPoint>(kMaxChartPoints, P(50.0, 1.0)));
    SelectedChartPoint = 5;
    EXPECT_FALSE(AddChartPoint(false, 51.0, 1.0));
    EXPECT_EQ(ChartPointCount, kMaxChartPoints);
    EXPECT_EQ(SelectedChartPoint, 5);

    // The last slot is taken.
    Fill(std::vector<ChartPoint>(kMaxChartPoints - 1, P(50.0, 1.0)));
    EXPECT_TRUE(AddChartPoint(false, 51.0, 1.0));
    EXPECT_EQ(ChartPoints[kMaxChartPoints], P(51.0, 1.0));
    EXPECT_FALSE(AddChartPoint(false, 51.0, 1.0));
}

TEST_F(ChartEditTest, MovedPointKeepsTheTypeTheSearchFound)
{
    Fill({ PenUpPoint, P(50.0, 1.0), P(650.25, 1.25) });
    LineTypeOffset = 0;
    EXPECT_EQ(MoveOrBreakChartPoint(false, 50.26, 1.24), 3);
    EXPECT_EQ(ChartPoints[3], P(650.26, 1.24));
    // The selection stays: a second move moves the same point.
    EXPECT_EQ(MoveOrBreakChartPoint(false, 50.0, 1.0), 3);
    EXPECT_EQ(ChartPoints[3], P(650.0, 1.0));
    EXPECT_EQ(ChartPoints[2], P(50.0, 1.0));
}

TEST_F(ChartEditTest, MoveNeverTurnsASelectedPenUpIntoAPoint)
{
    Fill({ PenUpPoint, P(50.0, 1.0), P(50.1, 1.1) });
    AddChartPoint(true, 50.2, 1.2); // the new pen-up is selected
    EXPECT_EQ(MoveOrBreakChartPoint(false, 50.01, 1.0), 2);
    EXPECT_EQ(Stored(), (std::vector<ChartPoint> { PenUpPoint, P(50.01, 1.0), P(50.1, 1.1), PenUpPoint }));
    EXPECT_EQ(SelectedChartPoint, 2);
}

TEST_F(ChartEditTest, RepeatedDeletesWalkBackwardsAndBreakingPointOneClearsTheSelection)
{
    Fill({ P(50.0, 1.0), P(50.1, 1.1), PenUpPoint, P(50.3, 1.3) });
    SelectedChartPoint = 4;
    EXPECT_EQ(DeleteChartPoint(0, 0), 4);
    EXPECT_EQ(SelectedChartPoint, 3);
    EXPECT_EQ(DeleteChartPoint(0, 0), 3); // a pen-up stays one
    EXPECT_EQ(DeleteChartPoint(0, 0), 2);
    EXPECT_EQ(DeleteChartPoint(0, 0), 1);
    EXPECT_EQ(SelectedChartPoint, 0);
    EXPECT_EQ(Stored(), std::vector<ChartPoint>(4, PenUpPoint));

    // With nothing selected, the next move searches for the nearest point.
    Fill({ P(50.0, 1.0), P(50.1, 1.1) });
    SelectedChartPoint = 1;
    DeleteChartPoint(0, 0);
    EXPECT_EQ(SelectedChartPoint, 0);
    EXPECT_EQ(MoveOrBreakChartPoint(false, 50.11, 1.1), 2);
    EXPECT_EQ(ChartPoints[2], P(50.11, 1.1));
}

TEST_F(ChartEditTest, SelectionOfAnEmptiedStoreIsNeverActedOn)
{
    Fill({ P(50.0, 1.0), P(50.1, 1.1), P(50.2, 1.2) });
    SelectedChartPoint = 3;
    ClearChartStore();
    EXPECT_EQ(SelectedChartPoint, 0);

    // A selection beyond the points in use (a stale one) is not moved: the
    // nearest point is.
    Fill({ P(50.0, 1.0), P(50.1, 1.1), P(50.2, 1.2) });
    ChartPointCount = 2;
    SelectedChartPoint = 3;
    EXPECT_EQ(MoveOrBreakChartPoint(false, 50.09, 1.1), 2);
    EXPECT_EQ(ChartPoints[3], P(50.2, 1.2));
}

TEST_F(ChartEditTest, NewChartHoldsOnePenUp)
{
    ClearChartStore();
    SelectedChartPoint = 7;
    StartNewChartStore();
    EXPECT_EQ(Stored(), std::vector<ChartPoint> { PenUpPoint });
    EXPECT_EQ(SelectedChartPoint, 0);
    EXPECT_TRUE(AddChartPoint(false, 50.0, 1.0));
    EXPECT_EQ(ChartPointCount, 2);
}

TEST_F(ChartEditTest, WorkingPositionIsShiftedOntoTheChartDatumOnce)
{
    ChartOffsetLat = 0.001;
    ChartOffsetLon = 0.002;
    TDatumShift last;
    double lat = 50.0, lon = 1.0;
    ShiftOntoChartDatumOnce(lat, lon, last);
    EXPECT_DOUBLE_EQ(lat, 50.001);
    EXPECT_DOUBLE_EQ(lon, 0.998);
    ShiftOntoChartDatumOnce(lat, lon, last);
    ShiftOntoChartDatumOnce(lat, lon, last);
    EXPECT_DOUBLE_EQ(lat, 50.001);
    EXPECT_DOUBLE_EQ(lon, 0.998);

    // A new position (the next fix) is shifted again, once.
    lat = 50.1;
    lon = 1.1;
    ShiftOntoChartDatumOnce(lat, lon, last);
    ShiftOntoChartDatumOnce(lat, lon, last);
    EXPECT_DOUBLE_EQ(lat, 50.101);
    EXPECT_DOUBLE_EQ(lon, 1.098);
}

} // namespace
