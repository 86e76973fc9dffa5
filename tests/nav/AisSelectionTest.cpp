// The selected AIS target: the nearest-target search, the age-out with its
// compaction, clearing and stepping through the table by hand.

#include "nav/AisSelection.h"
#include "nav/NavState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

constexpr double kNow = 46000.5; // a date-time value, days
constexpr double kFifteenMinutes = 0.010417;

class AisSelectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        CurLat = 50.8;
        CurLon = 1.3; // west positive
        CosLat = std::cos(50.8 * M_PI / 180);
    }

    // Target i at (lat, lon west positive), heard `minutesAgo` before kNow.
    static void Target(int i, double lat, double lonWest, double minutesAgo = 0)
    {
        AisTargets[i].mmsi = 235000000 + i;
        AisTargets[i].latitude = int32_t(std::lround(lat * 600000));
        AisTargets[i].longitude = int32_t(std::lround(-lonWest * 600000));
        AisTargets[i].lastHeard = kNow - minutesAgo / 1440.0;
        AisTargetCount = std::max<int32_t>(AisTargetCount, i);
    }

    static std::vector<int32_t> Mmsis()
    {
        std::vector<int32_t> out;
        for (int i = 1; i <= AisTargetCount; ++i)
            out.push_back(AisTargets[i].mmsi - 235000000);
        return out;
    }
};

TEST_F(AisSelectionTest, NearestIsTheClosestAndTiesGoToTheLowerIndex)
{
    Target(1, 50.9, 1.3);
    Target(2, 50.81, 1.3); // 0.6 nm north
    Target(3, 50.81, 1.3); // at the same place as 2
    const nav::AisNearest nearest = nav::FindNearestAisTarget();
    EXPECT_EQ(nearest.index, 2);
    EXPECT_NEAR(nearest.range, 0.6, 1e-9);
}

TEST_F(AisSelectionTest, OneTargetIsNearestHoweverFarAway)
{
    Target(1, 50.8, 1.3);
    // About 214000 nm away: the search's start value of 99999 nm is never beaten.
    AisTargets[1].latitude = 0x7FFFFFFF;
    AisTargets[1].longitude = 0x7FFFFFFF;
    const nav::AisNearest nearest = nav::FindNearestAisTarget();
    EXPECT_EQ(nearest.index, 1);
    EXPECT_EQ(nearest.range, 99999);

    AisTargetCount = 0;
    EXPECT_EQ(nav::FindNearestAisTarget().index, 0);
}

TEST_F(AisSelectionTest, TwoAdjacentTargetsExpiringInOnePassAreBothRemovedAndTheOrderKept)
{
    Target(1, 50.8, 1.3, 1);
    Target(2, 50.8, 1.3, 20);
    Target(3, 50.8, 1.3, 16);
    Target(4, 50.8, 1.3, 2);
    Target(5, 50.8, 1.3, 3);
    EXPECT_EQ(nav::AgeOutAisTargets(kNow, kFifteenMinutes), 2);
    EXPECT_EQ(AisTargetCount, 3);
    EXPECT_EQ(Mmsis(), (std::vector<int32_t> { 1, 4, 5 }));
    EXPECT_EQ(AisTargets[4].mmsi, 0); // the slots left behind are empty
    EXPECT_EQ(AisTargets[5].messageType, 0);

    // Just inside the limit stays.
    Target(1, 50.8, 1.3, 14.9);
    Target(2, 50.8, 1.3, 15.1);
    nav::AgeOutAisTargets(kNow, kFifteenMinutes);
    EXPECT_EQ(Mmsis(), (std::vector<int32_t> { 1, 5 }));
}

// Compaction used to lower the selection for every removed slot, also those
// after it, so the selection moved to another target or ran past the table,
// and then no target at all was drawn.
TEST_F(AisSelectionTest, CompactionKeepsTheSelectedTargetSelected)
{
    for (int i = 1; i <= 6; ++i)
        Target(i, 50.8, 1.3, i == 2 || i == 5 || i == 6 ? 30 : 0);
    SelectedAisTarget = 4;
    nav::AgeOutAisTargets(kNow, kFifteenMinutes);
    EXPECT_EQ(Mmsis(), (std::vector<int32_t> { 1, 3, 4 }));
    EXPECT_EQ(SelectedAisTarget, 3);
    EXPECT_EQ(AisTargets[SelectedAisTarget].mmsi, 235000004);
}

TEST_F(AisSelectionTest, SelectionStaysValidWhenTheSelectedTargetLeaves)
{
    for (int i = 1; i <= 4; ++i)
        Target(i, 50.8, 1.3, i >= 3 ? 30 : 0);
    SelectedAisTarget = 4; // the last one, removed with its neighbour
    nav::AgeOutAisTargets(kNow, kFifteenMinutes);
    EXPECT_EQ(AisTargetCount, 2);
    EXPECT_EQ(SelectedAisTarget, 2);

    Target(3, 50.8, 1.3, 0);
    Target(2, 50.8, 1.3, 30);
    SelectedAisTarget = 2; // in the middle: its follower takes its place
    nav::AgeOutAisTargets(kNow, kFifteenMinutes);
    EXPECT_EQ(SelectedAisTarget, 2);
    EXPECT_EQ(AisTargets[2].mmsi, 235000003);
}

TEST_F(AisSelectionTest, EveryTargetExpiredLeavesNoSelection)
{
    Target(1, 50.8, 1.3, 30);
    Target(2, 50.8, 1.3, 30);
    SelectedAisTarget = 1;
    EXPECT_EQ(nav::AgeOutAisTargets(kNow, kFifteenMinutes), 2);
    EXPECT_EQ(AisTargetCount, 0);
    EXPECT_EQ(SelectedAisTarget, 0);
}

TEST_F(AisSelectionTest, ClearEmptiesEverySlot)
{
    Target(1, 50.8, 1.3);
    Target(60, 50.8, 1.3);
    SelectedAisTarget = 60;
    nav::ClearAisTargets();
    EXPECT_EQ(AisTargetCount, 0);
    EXPECT_EQ(SelectedAisTarget, 0);
    EXPECT_EQ(AisTargets[60].mmsi, 0);
}

TEST_F(AisSelectionTest, SteppingStopsAtBothEnds)
{
    Target(1, 50.8, 1.3);
    Target(2, 50.8, 1.3);
    SelectedAisTarget = 1;
    nav::StepAisSelection(-1);
    EXPECT_EQ(SelectedAisTarget, 1);
    nav::StepAisSelection(+1);
    EXPECT_EQ(SelectedAisTarget, 2);
    nav::StepAisSelection(+1);
    EXPECT_EQ(SelectedAisTarget, 2);
}

} // namespace
