// The AIS painters on a small chart view, read back pixel by pixel:
// lollipops in their colours, labels, trails, the outline with its heading,
// and the range rings.

#include "chartwin/AisPainter.h"
#include "draw/SymbolLibrary.h"
#include "draw/ViewFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

using namespace chartwin;
using namespace chartwin::test;

namespace
{

constexpr int kScale = 6000; // pixels per degree: half a nautical mile is 50 pixels
// The views are centred on the equator, here, where a degree of longitude is
// a degree of latitude; exactly 0 N 0 E is no position for AIS.
constexpr double kLonWest = 2.0;

class AisPainterTest : public ViewFixture
{
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        UseBackground(kNavy);
        Centre(0.0, kLonWest, kScale);
        AisTargetCount = 2;
        Target(1, 0.0, kLonWest); // at the centre pixel
        Target(2, -0.004, kLonWest + 0.004); // 24 pixels down, 24 to the west (left)
        SelectedAisTarget = 1;
    }

    // Target i at (lat, lon west positive), underway at 5 knots due east.
    static void Target(int i, double lat, double lonWest)
    {
        nav::AisTargetRecord& t = PlaceAisTarget(i, lat, lonWest);
        t.speedOverGround = 50;
        t.courseOverGround = 900;
        t.trueHeading = 511;
        t.name = "VESSEL@@@@@@@@@@@@@@";
    }

    TColour At(int x, int y) const { return canvas->Pixel(x, y); }
    static constexpr TColour kNavy = 0x800000;
};

TEST_F(AisPainterTest, SelectedTargetIsYellowOthersRedWithSilverLabels)
{
    TAisDrawOptions options;
    DrawAisTargets(view, options);
    EXPECT_EQ(At(kCentre, kCentre), kYellow);
    EXPECT_EQ(At(kCentre + 6, kCentre), kYellow); // 10 pixels of course line east for 5 knots
    EXPECT_EQ(At(kCentre - 24, kCentre + 24), kRed);
    EXPECT_GT(Count(*canvas, kSilver), 20); // the names
    // The pen ends at the cursor.
    EXPECT_EQ(view.FCursorX, kCentre);
    EXPECT_EQ(view.FCursorY, kCentre);
}

TEST_F(AisPainterTest, LabelsOnTheSelectedTargetOnlyAndMmsiAbove)
{
    TAisDrawOptions options;
    options.labelsOnAll = false;
    DrawAisTarget(view, 2, options);
    EXPECT_EQ(Count(*canvas, kSilver), 0);
    options.showMmsi = true;
    DrawAisTarget(view, 1, options);
    EXPECT_GT(Count(*canvas, kSilver, kCentre + 5, kCentre - 12, kSize, kCentre - 2), 0);
}

TEST_F(AisPainterTest, NoValidSelectionDrawsNoTarget)
{
    SelectedAisTarget = 3;
    DrawAisTargets(view, {});
    EXPECT_EQ(Count(*canvas, kRed) + Count(*canvas, kYellow), 0);
}

TEST_F(AisPainterTest, TargetOffTheBitmapDrawsNothing)
{
    Target(2, 1.0, kLonWest);
    DrawAisTarget(view, 2, {});
    EXPECT_EQ(Count(*canvas, kRed) + Count(*canvas, kSilver), 0);
}

// A position that is not available (91 N 181 E, or anything beyond the
// poles or the date line, or exactly 0 N 0 E) draws nothing, even with the
// view right on it; the same target at a real position is drawn as usual.
TEST_F(AisPainterTest, TargetWhosePositionIsNotAvailableDrawsNothing)
{
    struct NoPosition {
        double lat, lonWest;
    };
    const NoPosition cases[]
        = { { 91, -181 }, { 90.001, 0 }, { -90.001, 0 }, { 0, 180.001 }, { 0, -180.001 }, { 0, 0 } };
    for (const NoPosition& c : cases) {
        SCOPED_TRACE(std::to_string(c.lat) + " " + std::to_string(c.lonWest));
        UseBackground(kNavy);
        Centre(c.lat, c.lonWest, kScale);
        AisTargetCount = 1;
        Target(1, c.lat, c.lonWest);
        DrawAisTargets(view, {});
        EXPECT_EQ(Count(*canvas, kNavy), kSize * kSize) << "nothing drawn";

        Centre(0.0, kLonWest, kScale);
        Target(1, 0.0, kLonWest);
        DrawAisTargets(view, {});
        EXPECT_EQ(At(kCentre, kCentre), kYellow);
    }
}

TEST_F(AisPainterTest, BaseStationShowsItsStationLabelAndMagentaRing)
{
    AisTargets[2].messageType = 4;
    AisTargets[2].utcYear = 2026;
    DrawAisTarget(view, 2, {});
    EXPECT_EQ(At(kCentre - 24, kCentre + 24), kMagenta);
    EXPECT_GT(Count(*canvas, kSilver), 20);
}

TEST_F(AisPainterTest, TrailRunsThroughEveryEntryWithTheTrackPen)
{
    nav::AisTargetRecord& t = AisTargets[1];
    t.trailCount = 3;
    t.trail[1] = { 0.0, 0.008 - kLonWest }; // east positive: 48 pixels to the right
    t.trail[2] = { 0.0, 0.004 - kLonWest };
    t.trail[3] = { 0.0, -kLonWest };
    DrawAisTargetTrail(view, 1);
    EXPECT_GT(Count(*canvas, kYellow, kCentre, kCentre, kCentre + 49, kCentre + 1), 15); // dotted
    EXPECT_EQ(At(kCentre - 5, kCentre), kNavy);
}

// With no heading (511) "AIS True Head" turns the outline to the course.
TEST_F(AisPainterTest, OutlineFallsBackToTheCourseWithoutAHeading)
{
    nav::AisTargetRecord& t = AisTargets[1];
    t.toBow = 60;
    t.toStern = 20;
    t.toPort = 8;
    t.toStarboard = 8;
    EXPECT_EQ(AisOutlineHeading(t, 1), 90.0);
    EXPECT_EQ(AisOutlineHeading(t, 0), 90.0);
    Centre(0.0, kLonWest, 60000); // a metre is 0.54 pixels
    DrawAisTargetOutline(view, t, 1);
    const QImage byCourse = image.copy();
    // 80 m long, heading east: the bow 60 m = 32 pixels east of the position.
    EXPECT_EQ(At(kCentre + 32, kCentre), kLime);
    EXPECT_EQ(At(kCentre + 33, kCentre), kNavy);
    t.trueHeading = 0;
    EXPECT_EQ(AisOutlineHeading(t, 1), 0.0);
    UseBackground(kNavy);
    DrawAisTargetOutline(view, t, 1);
    EXPECT_NE(image, byCourse);
    EXPECT_EQ(At(kCentre, kCentre - 32), kLime); // now the bow points north
}

// A course or heading that AIS did not give turns no outline: either mode
// takes the other figure, and with neither the outline is not drawn (it
// used to point north, or along 360.0 for a course of 3600).
TEST_F(AisPainterTest, OutlineTurnsOnlyToAFigureAisGave)
{
    const struct {
        uint16_t cog, heading;
        int mode;
        std::optional<double> expected;
    } cases[] = {
        { 900, 511, 0, 90.0 },
        { 900, 45, 0, 90.0 },
        { 900, 45, 1, 45.0 },
        { 3600, 45, 0, 45.0 },
        { 3600, 45, 1, 45.0 },
        { 900, 360, 1, 90.0 },
        { 3600, 511, 0, std::nullopt },
        { 3600, 511, 1, std::nullopt },
        { 4000, 400, 1, std::nullopt },
    };
    nav::AisTargetRecord& t = AisTargets[1];
    t.toBow = 60;
    t.toStern = 20;
    t.toPort = 8;
    t.toStarboard = 8;
    Centre(0.0, kLonWest, 60000);
    for (const auto& c : cases) {
        SCOPED_TRACE(
            std::to_string(c.cog) + " " + std::to_string(c.heading) + " mode " + std::to_string(c.mode));
        t.courseOverGround = c.cog;
        t.trueHeading = c.heading;
        EXPECT_EQ(AisOutlineHeading(t, c.mode), c.expected);
        UseBackground(kNavy);
        DrawAisTargetOutline(view, t, c.mode);
        EXPECT_EQ(Count(*canvas, kLime) > 0, c.expected.has_value());
    }
}

TEST_F(AisPainterTest, RingsOfHalfAMileAroundTheCentre)
{
    SymbolsOn = true;
    DrawRangeRings(view, 0.0, kLonWest, 2);
    EXPECT_GT(Count(*canvas, kLime, kCentre - 2, kCentre - 52, kCentre + 3, kCentre - 47), 0);
    EXPECT_EQ(At(kCentre, kCentre - 25), kNavy);
    UseBackground(kNavy);
    DrawRangeRings(view, 0.0, kLonWest, 0);
    EXPECT_EQ(Count(*canvas, kLime), 0);
}

} // namespace
