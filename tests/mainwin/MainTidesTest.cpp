// The tides commands: opening an atlas sets the tidal hour from the clock,
// removing it asks first, and the "T" button steps the hour round.

#include "MainFormFixture.h"

#include "mainwin/FixCycle.h"
#include "mainwin/Main.h"
#include "nav/LocalClock.h"
#include "rtl/Real6.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace
{

int gHour = 10, gMinute = 30;

LocalDateTime Clock()
{
    LocalDateTime t;
    t.hour = gHour;
    t.minute = gMinute;
    return t;
}

// A one-diamond atlas "solent" in the tides folder.
void WriteAtlas(kvtest::TempDir& dir)
{
    dir.makeFolder("tides");
    std::string pos, flo;
    auto real6 = [](double v) {
        const rtl::Real6 r(v);
        return std::string(reinterpret_cast<const char*>(r.bytes().data()), 6);
    };
    pos = real6(50.78) + real6(1.3);
    for (int h = 0; h < 13; ++h)
        flo += std::string { char(90), 0, char(10 + h), 0 };
    dir.write("tides/solent.pos", pos);
    dir.write("tides/solent.FLO", flo);
    dir.write("tides/solent.STP", "Portsmouth\r\n");
}

class MainTidesTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        gHour = 10;
        gMinute = 30;
        SetLocalClock(Clock);
        WriteAtlas(dir);
        Start();
    }
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }
    void OpenAtlas()
    {
        ui.answerFile(app + "tides/solent.pos");
        MainForm->Tides1Click();
    }
};

} // namespace

TEST_F(MainTidesTest, OpeningAnAtlasTakesTheTidalHourFromTheClock)
{
    HWHour = 12;
    OpenAtlas();
    EXPECT_EQ(TideStationCount, 1);
    EXPECT_EQ(StandardPort, "Portsmouth");
    EXPECT_EQ(TideHour, -1); // 10:30 counts as 11
    ASSERT_FALSE(ui.fileRequests().empty());
    EXPECT_EQ(ui.fileRequests().back().title, "Open Tidal Atlas");
    EXPECT_EQ(ui.fileRequests().back().filter, "KV Tide files (*.pos)|*.pos|All files (*.*)|*.*");

    gMinute = 29;
    OpenAtlas();
    EXPECT_EQ(TideHour, -2);

    HWHour = 0;
    gHour = 23;
    gMinute = 45;
    OpenAtlas();
    EXPECT_EQ(TideHour, 0); // 24 becomes 0
}

TEST_F(MainTidesTest, CancelAndAMissingAtlasLeaveTheHour)
{
    TideHour = 3;
    ui.answerFile(std::nullopt);
    MainForm->Tides1Click();
    EXPECT_EQ(TideHour, 3);
    ui.answerFile(app + "tides/none.pos");
    MainForm->Tides1Click();
    EXPECT_EQ(TideHour, 3);
    EXPECT_EQ(TideStationCount, 0);
}

TEST_F(MainTidesTest, StepWrapsRoundAndSaysWhichHour)
{
    HWHour = 9;
    MainForm->CreateChartView("harbour");
    OpenAtlas();
    ASSERT_TRUE(MainForm->IncTide->isEnabled());
    std::vector<int> hours;
    for (int i = 0; i < 13; ++i) {
        MainForm->IncTide->click();
        hours.push_back(TideHour);
    }
    EXPECT_EQ(hours, (std::vector<int> { 1, 2, 3, 4, 5, 6, -6, -5, -4, -3, -2, -1, 0 }));
    for (int i = 0; i < 7; ++i)
        MainForm->TideStep1->trigger(); // Ctrl+Y
    EXPECT_EQ(TideHour, -6);
    EXPECT_EQ(MainForm->StatusLine->text(), "Tide -6 Hrs rel to HW Portsmouth ( 3:00)   ");
    EXPECT_EQ(MainForm->TideStep1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
}

TEST_F(MainTidesTest, PurgeAsksThenTheStepDoesNothing)
{
    OpenAtlas();
    ui.answerNo();
    MainForm->Tides2Click();
    EXPECT_EQ(TideStationCount, 1);
    ui.answerYes();
    MainForm->Tides2Click();
    EXPECT_EQ(ui.shown().back().text, "This will remove the current tidal atlas! - Are you sure?");
    EXPECT_EQ(TideStationCount, 0);
    EXPECT_EQ(StandardPort, "No tidal atlas !");
    const int16_t hour = TideHour;
    MainForm->IncTideClick();
    EXPECT_EQ(TideHour, hour);
}
