// The AIS view's commands: the selection and the target data window after a
// redraw, the age-out, the popup's AIS items, the ring and repeat buttons,
// the double click, and what a second view leaves alone.

#include "chartwin/CursorFixture.h"
#include "chartwin/SpinButton.h"
#include "dialogs/AISInfo.h"
#include "draw/SymbolLibrary.h"
#include "draw/ViewFixture.h"
#include "nav/AisAssembly.h"
#include "nav/AisTargets.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "platform/QtHint.h"
#include "platform/QtTimer.h"
#include "support/AisSentences.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{

const LocalDateTime kNow { 2026, 12, 7, 10, 0, 0, 0 };

using chartwin::test::RecordingHost;

class ChildwinAisTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        SetLocalClock([] { return kNow; });
        ViewImageWidth = 200;
        ViewImageHeight = 150;
        PixelsPerDegLat = PixelsPerDegLon = 45;
        ChartHomeLat = 50.8;
        ChartHomeLon = 1.3;
        ChartHomeZoom = 20;
        CurLat = 50.8;
        CurLon = 1.3;
        CosLat = std::cos(50.8 * M_PI / 180);
        AISInfo = new TAISInfo;
        view = std::make_unique<TMDIChild>(nullptr, &host);
        view->FCursorLat = 50.8;
        view->FCursorLon = 1.3;
        view->ShowAIS->setChecked(true);
    }
    void TearDown() override
    {
        view.reset();
        delete AISInfo;
        AISInfo = nullptr;
        SetLocalClock({});
    }

    // Target i at (lat, lon west positive), heard `minutesAgo` before now.
    static void Target(int i, double lat, double lonWest, double minutesAgo = 0)
    {
        chartwin::test::PlaceAisTarget(i, lat, lonWest).lastHeard
            = kNow.DateTimeValue() - minutesAgo / 1440.0;
    }

    std::string Memo() const { return AISInfo->Memo1->toPlainText().toStdString(); }

    platform::ScriptedUi ui;
    RecordingHost host;
    std::unique_ptr<TMDIChild> view;
};

TEST_F(ChildwinAisTest, RedrawSelectsTheNearestListsItAndAgesOutTheSilentOnes)
{
    ASSERT_TRUE(view->FIsAisView);
    Target(1, 50.9, 1.3, 20); // silent for 20 minutes
    Target(2, 50.81, 1.3, 1);
    Target(3, 50.85, 1.3, 2);
    view->CentreButton1Click();
    EXPECT_EQ(AisTargetCount, 2);
    EXPECT_EQ(AisTargets[1].mmsi, 235000002);
    EXPECT_EQ(SelectedAisTarget, 1); // the nearest, after compaction
    EXPECT_EQ(Memo().substr(0, 13), "Target 2 of 3"); // listed before the age-out
    view->CentreButton1Click();
    EXPECT_EQ(Memo().substr(0, 23), "Target 1 of 2\nAge 01:00");

    // The refresh timer's tick does the same.
    AisTargets[2].lastHeard -= 30 / 1440.0;
    view->RefRateTimer();
    EXPECT_EQ(AisTargetCount, 1);
    EXPECT_EQ(Memo().substr(0, 13), "Target 1 of 1");

    // The tick lists the target nearest the fix, also with the view's cursor
    // elsewhere: its redraw and the tick itself write the window, and both
    // must show the same target, not one and then the other.
    Target(2, 50.85, 1.3, 0.5);
    CurLat = 50.849; // the fix; the cursor stays at 50.8, next to target 1
    view->RefRateTimer();
    EXPECT_EQ(SelectedAisTarget, 2);
    EXPECT_EQ(Memo().substr(0, 23), "Target 2 of 2\nAge 00:30");
}

// A target whose position is not available is listed with its other data
// but is neither the nearest nor followed, and has no range or bearing;
// once it reports a real position it is all of these again.
TEST_F(ChildwinAisTest, TargetWithoutAPositionIsListedButNeitherNearestNorFollowed)
{
    Target(1, 91, -181); // AIS "not available"
    Target(2, 5.8, 1.3); // 45 degrees south: farther than 91 N would read
    view->CentreButton1Click();
    EXPECT_EQ(SelectedAisTarget, 2);

    // Picked by hand and followed: the view stays where it was.
    view->HighlightNearest1->trigger();
    SelectedAisTarget = 1;
    view->AISFollowSelectedTarget1->trigger();
    view->CentreButton1Click();
    EXPECT_DOUBLE_EQ(view->FDrawCentreLat, 50.8);
    EXPECT_DOUBLE_EQ(view->FDrawCentreLon, 1.3);
    EXPECT_NE(Memo().find("MMSI - 235000001\n"), std::string::npos);
    EXPECT_NE(Memo().find("Lat - Position not available\nLong - Position not available\n"), std::string::npos)
        << Memo();
    EXPECT_NE(Memo().find("Range - Not available\nBearing - Not available\n"), std::string::npos) << Memo();

    Target(1, 50.81, 1.3);
    view->CentreButton1Click();
    EXPECT_NEAR(view->FDrawCentreLat, 50.81, 1e-9);
    EXPECT_NE(Memo().find("Range 0.6 Nm\nBearing 0.0 "), std::string::npos) << Memo();
}

// Heard first through its static data, a vessel used to be listed at SOG
// 0.0, COG 0.0 and TrueHeading 0, and a report's own "not available" as
// 102.3 knots and 360.0 degrees.
TEST_F(ChildwinAisTest, SpeedCourseAndHeadingAreListedOnlyOnceAReportGivesThem)
{
    const auto hear = [](const std::string& sentence) {
        nav::AssembleAivdm(sentence);
        nav::AisMergeOptions options;
        options.now = kNow.DateTimeValue();
        nav::UpdateAisTargets(options);
    };
    for (const std::string& part :
        kvtest::AivdmFragments(kvtest::StaticDataPayload(235000009, "NORDIC", "CALL"), 2, "1"))
        hear(part);
    const std::string notGiven = "\nSOG - Not available\nCOG - Not available\nTrueHeading - Not available\n";
    view->CentreButton1Click();
    EXPECT_NE(Memo().find("MMSI - 235000009\n"), std::string::npos) << Memo();
    EXPECT_NE(Memo().find(notGiven), std::string::npos) << Memo();

    hear(
        kvtest::AivdmSentence(kvtest::PositionReportPayload(235000009, 50.81, -1.3, 1, { 1023, 3600, 511 })));
    view->CentreButton1Click();
    EXPECT_NE(Memo().find("\nRange 0.6 Nm\n"), std::string::npos) << "placed by its report: " << Memo();
    EXPECT_NE(Memo().find(notGiven), std::string::npos) << Memo();

    hear(kvtest::AivdmSentence(kvtest::PositionReportPayload(235000009, 50.81, -1.3)));
    view->CentreButton1Click();
    EXPECT_NE(Memo().find("\nSOG 12.3\nCOG 270.5\nTrueHeading 271\n"), std::string::npos) << Memo();
}

TEST_F(ChildwinAisTest, NeverKeepsEveryTargetAndEmptyTableLocksHighlighting)
{
    Target(1, 50.81, 1.3, 20);
    view->Never1->trigger();
    EXPECT_TRUE(view->Never1->isChecked());
    view->CentreButton1Click();
    EXPECT_EQ(AisTargetCount, 1);
    EXPECT_DOUBLE_EQ(AisAgeLimit, 0.010417); // kept for when the age-out starts again
    view->HighlightNearest1->trigger();
    EXPECT_FALSE(view->HighlightNearest1->isChecked());

    view->After10Mins1->trigger();
    EXPECT_DOUBLE_EQ(AisAgeLimit, 0.006945);
    view->UpdateAisTargets();
    EXPECT_EQ(AisTargetCount, 0);
    EXPECT_EQ(SelectedAisTarget, 0);
    EXPECT_TRUE(view->HighlightNearest1->isChecked());
    EXPECT_FALSE(view->HighlightNearest1->isEnabled());
    EXPECT_EQ(Memo(), "");
}

TEST_F(ChildwinAisTest, ClearAllAsksFirst)
{
    Target(1, 50.81, 1.3);
    Target(2, 50.82, 1.3);
    ui.answerNo();
    view->ClearAllTargets1->trigger();
    EXPECT_EQ(AisTargetCount, 2);
    ui.answerYes();
    view->ClearAllTargets1->trigger();
    EXPECT_EQ(ui.shown().back().text, "This will remove all displayed AIS targets ! - Are you sure?");
    EXPECT_EQ(AisTargetCount, 0);
    EXPECT_EQ(AisTargets[2].mmsi, 0);
    EXPECT_EQ(SelectedAisTarget, 0);
    EXPECT_FALSE(view->HighlightNearest1->isEnabled());
    EXPECT_FALSE(AISInfo->TgtNum->isVisibleTo(AISInfo));
}

TEST_F(ChildwinAisTest, RingButtonsStepByTwoAndStopAtBothEnds)
{
    EXPECT_EQ(Hint(view->RR).toStdString(), "Rings off|");
    view->RR->Down->click();
    EXPECT_EQ(view->FRingCount, 0);
    view->RR->Up->click();
    EXPECT_EQ(view->FRingCount, 2);
    EXPECT_EQ(view->RangeR->text(), "2");
    EXPECT_EQ(Hint(view->RR).toStdString(), "Rings 0.5,1,2,3,4 Nm|");
    for (int i = 0; i < 9; ++i)
        view->RR->Up->click();
    EXPECT_EQ(view->FRingCount, 16);
    EXPECT_EQ(Hint(view->RR).toStdString(), "Rings 4,8,12,16,20 Nm|");
    view->RR->Down->click();
    EXPECT_EQ(view->FRingCount, 14);
}

TEST_F(ChildwinAisTest, CheckItemsToggleOnceAndLollipopsFollowTheirItem)
{
    view->LargeLollipop1->trigger();
    EXPECT_EQ(AisLollipopRadius, 4);
    EXPECT_EQ(AisLollipopPenWidth, 2);
    view->LargeLollipop1->trigger();
    EXPECT_FALSE(view->LargeLollipop1->isChecked());
    EXPECT_EQ(AisLollipopRadius, 2);
    view->AISTrueHead1->trigger();
    EXPECT_EQ(AisHeadingMode, 1);
    EXPECT_FALSE(view->AISCOG1->isChecked());
    view->AISCOG1->trigger();
    EXPECT_EQ(AisHeadingMode, 0);
}

TEST_F(ChildwinAisTest, ZoomNearestLocksHighlightingAndTheSpinFollowsIt)
{
    Target(1, 50.81, 1.3);
    Target(2, 50.82, 1.3);
    view->HighlightNearest1->trigger(); // off: the spin steps by hand
    EXPECT_TRUE(AISInfo->TgtNum->isVisibleTo(AISInfo));
    view->AISZoom->trigger(); // takes highlighting with it
    EXPECT_TRUE(view->AISZoom->isChecked());
    EXPECT_TRUE(view->HighlightNearest1->isChecked());
    EXPECT_FALSE(view->HighlightNearest1->isEnabled());
    EXPECT_FALSE(AISInfo->TgtNum->isVisibleTo(AISInfo));
    EXPECT_NEAR(NearestTargetRange, 0.6, 1e-6);
    view->AISZoom->trigger();
    EXPECT_TRUE(view->HighlightNearest1->isEnabled());
}

TEST_F(ChildwinAisTest, ShowAisButtonShowsAndHidesTheDataWindow)
{
    view->ShowAIS->click(); // released
    EXPECT_FALSE(AISInfo->isVisible());
    view->ShowAIS->click();
    EXPECT_TRUE(AISInfo->isVisible());
}

TEST_F(ChildwinAisTest, DoubleClickSelectsTheNearestOrShowsTheNearestWaypoint)
{
    Target(1, 50.85, 1.3);
    Target(2, 50.81, 1.3);
    view->HighlightNearest1->trigger();
    SelectedAisTarget = 1;
    view->Image1DblClick();
    EXPECT_EQ(SelectedAisTarget, 2);
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_EQ(Memo().substr(0, 13), "Target 2 of 2");
    view->ShowAIS->setChecked(false);
    view->Image1DblClick();
    EXPECT_EQ(host.nearestWaypoint, 1);
}

TEST_F(ChildwinAisTest, RepeatPlaysTheLastAnnouncementOnly)
{
    view->AISrepeat->click();
    EXPECT_TRUE(host.spoken.empty());
    LastAnnouncedName = "AheadPort";
    view->AISrepeat->click();
    EXPECT_EQ(host.spoken, std::vector<std::string> { "AheadPort" });
}

// A second view used to reset the program-wide age limit, lollipop size and
// selection, leaving the AIS view's menu marks wrong.
TEST_F(ChildwinAisTest, SecondViewLeavesTheAisSettingsAlone)
{
    Target(1, 50.81, 1.3);
    Target(2, 50.82, 1.3);
    view->HighlightNearest1->setChecked(false);
    SelectedAisTarget = 2;
    view->After5Mins1->trigger();
    view->LargeLollipop1->trigger();
    TMDIChild second(nullptr, &host);
    EXPECT_FALSE(second.FIsAisView);
    EXPECT_EQ(SelectedAisTarget, 2);
    EXPECT_DOUBLE_EQ(AisAgeLimit, 0.003472);
    EXPECT_EQ(AisLollipopRadius, 4);
    EXPECT_EQ(AisTargetCount, 2);
}

// Switching the track on in the AIS view used to empty the own track.
TEST_F(ChildwinAisTest, RefreshRunsWhileTheTrackIsHiddenAndSwitchingItOnKeepsTheTrack)
{
    LogCount = 3;
    view->FShowTrack = false;
    view->SetAisRefresh();
    EXPECT_TRUE(view->RefRate->enabled());
    view->FShowTrack = true;
    view->SetAisRefresh();
    EXPECT_FALSE(view->RefRate->enabled());
    EXPECT_EQ(LogCount, 3);
}

} // namespace
