// The demo AIS log played back end to end in the main window: every vessel
// of the log ends up in the target table, on the AIS view's screen at its
// position, and the selected one in the target data window.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "dialogs/AISInfo.h"
#include "nav/LocalClock.h"
#include "platform/QtTimer.h"

#include <QPlainTextEdit>
#include <QToolButton>

namespace
{

const std::string kDemoLog = std::string(KV_SOURCE_DIR) + "/demo/logs/harbour-demo.AIS";

class DemoAisPlaybackTest : public MainFormTest
{
protected:
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }
};

TEST_F(DemoAisPlaybackTest, TargetsOfTheDemoLogAppearOnTheScreenAndInTheDataWindow)
{
    SetLocalClock([] { return LocalDateTime { 2026, 12, 7, 9, 45, 0, 0 }; });
    Start();
    MainForm->show();
    ChartHomeLat = 50.805;
    ChartHomeLon = 1.30;
    ChartHomeZoom = 40;
    TMDIChild* view = MainForm->CreateChartView("harbour");
    ASSERT_TRUE(view->FIsAisView);
    view->ShowAIS->click(); // targets on, data window shown
    ASSERT_TRUE(AISInfo->isVisible());

    // The own vessel lies in the harbour, at the demo configuration's
    // position, where the views come back to when the playback ends.
    CurLat = 50.8;
    CurLon = 1.30;
    ui.answerFile(kDemoLog);
    MainForm->PlayAISlog->click();
    ASSERT_TRUE(AisPlayback);
    int ticks = 0;
    while (AisPlayback && ticks < 2000) {
        emit MainForm->AISplayTime->timeout();
        ++ticks;
    }
    EXPECT_FALSE(AisPlayback);
    EXPECT_EQ(ticks, 470); // 469 lines, then the end of the file
    EXPECT_EQ(AisTargetCount, 13); // twelve vessels and the base station
    MainForm->RefreshAllViews();

    const QImage screen = view->Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), view->Bitmap.size());
    int onScreen = 0;
    for (int i = 1; i <= AisTargetCount; ++i) {
        const nav::AisTargetRecord& t = AisTargets[i];
        int32_t x = 0, y = 0;
        if (!view->Project(t.latitude / 600000.0, -t.longitude / 600000.0, x, y))
            continue;
        if (x < 0 || y < 0 || x >= screen.width() || y >= screen.height())
            continue;
        ++onScreen;
        // Lollipops: red, yellow for the selected one, magenta for the base
        // station. A later label or trail may cover part of one, so its disc
        // (radius 2) is looked for around the pixel.
        bool seen = false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QRgb at = screen.pixel(x + dx, y + dy) & 0xFFFFFF;
                seen = seen || at == 0xFF0000 || at == 0xFFFF00 || at == 0xFF00FF;
            }
        EXPECT_TRUE(seen) << "target " << i << " (" << t.mmsi << ") at " << x << "," << y;
    }
    EXPECT_GE(onScreen, 10);

    const std::string memo = AISInfo->Memo1->toPlainText().toStdString();
    EXPECT_NE(memo.find(" of 13\n"), std::string::npos) << memo;
    EXPECT_NE(memo.find("\nDate: 07/12/2026"), std::string::npos) << memo; // playback has ended
    const nav::AisTargetRecord& selected = AisTargets[SelectedAisTarget];
    EXPECT_NE(memo.find("MMSI - " + std::to_string(selected.mmsi)), std::string::npos) << memo;
}

} // namespace
