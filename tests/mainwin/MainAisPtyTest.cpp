// AIS end to end: sentences of a busy harbour go into a pseudo-terminal that
// stands in for COM4, through the serial component, the assembly and the
// target table, and what the navigator reads is the text of the "AIS Target
// Data" window.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "dialogs/AISInfo.h"
#include "nav/LocalClock.h"
#include "nav/NmeaTemplate.h"
#include "platform/QtTimer.h"
#include "support/AisSentences.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QToolButton>

namespace
{

using kvtest::AivdmFragments;
using kvtest::AivdmSentence;
using kvtest::PositionReportPayload;
using kvtest::StaticDataPayload;

// The own vessel's position: 50 48.000 N, 1 18.000 W.
constexpr double kOwnLat = 50.8;
constexpr double kOwnLonEast = -1.3;

class AisPtyTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetLocalClock([this] { return clock; });
        receiver.MapAs(4);
        WriteConfig("zudeve.cfg", [] {
            ComPort = 4;
            BaudRate = 4800;
            FixIntervalMs = 3600000;
        });
        Start();
        MainForm->SecsTimer->setEnabled(false);
        MainForm->show();
        view = MainForm->CreateChartView("harbour");
        ASSERT_TRUE(view->FIsAisView);
        view->ShowAIS->click(); // targets on, data window shown
        ASSERT_TRUE(AISInfo->isVisible());
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        const std::string body = "$GPGGA,100000,5048.000,N,00118.000,W,1,08,1.0,10.0,M,47.0,M,,";
        ASSERT_EQ(FixThrough(receiver, body + NmeaChecksum(body, 2), 0), "");
        ASSERT_NEAR(CurLat, kOwnLat, 1e-9);
    }
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }

    // Bytes in at the port; true once `taken` holds.
    bool Receive(const std::vector<std::string>& sentences, const std::function<bool()>& taken)
    {
        std::string bytes;
        for (const std::string& s : sentences)
            bytes += s + "\r\n";
        receiver.Write(bytes);
        return kvtest::WaitFor(taken);
    }
    static bool InTable(int32_t mmsi)
    {
        for (int i = 1; i <= AisTargetCount; ++i)
            if (AisTargets[i].mmsi == mmsi)
                return true;
        return false;
    }
    // A report from `nm` nautical miles north of the own vessel.
    static std::string ReportNorth(int32_t mmsi, double nm)
    {
        return AivdmSentence(PositionReportPayload(mmsi, kOwnLat + nm / 60.0, kOwnLonEast));
    }
    // The data window as the views leave it after a redraw.
    std::string DataWindow() const
    {
        MainForm->RefreshAllViews();
        return AISInfo->Memo1->toPlainText().toStdString();
    }

    LocalDateTime clock { 2026, 12, 7, 10, 0, 0, 0 };
    kvtest::PtyPair receiver;
    TMDIChild* view = nullptr;
};

// A ship at anchor close by, heard 30 s ago, and 59 ships farther out heard
// since: the table is full. A newcomer nearer than the farthest takes that
// one's place; the ship close by stays in the table and in the data window.
TEST_F(AisPtyTest, FullTableKeepsTheNearSelectedVesselWhenANewcomerIsHeard)
{
    ASSERT_TRUE(Receive({ ReportNorth(235000100, 0.1) }, [] { return AisTargetCount == 1; }));
    clock.second = 30;
    std::vector<std::string> harbour;
    for (int i = 1; i <= 59; ++i)
        harbour.push_back(ReportNorth(235000100 + i, 1.0 + i * 0.08)); // out to 5.72 nm
    ASSERT_TRUE(Receive(harbour, [] { return AisTargetCount == 60; }));
    std::string shown = DataWindow();
    ASSERT_NE(shown.find("Target 1 of 60\n"), std::string::npos) << shown;
    ASSERT_NE(shown.find("MMSI - 235000100\n"), std::string::npos) << shown;

    clock.second = 31;
    ASSERT_TRUE(Receive({ ReportNorth(235000999, 5.0) }, [] { return InTable(235000999); }));
    shown = DataWindow();
    EXPECT_NE(shown.find("Target 1 of 60\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("MMSI - 235000100\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nRange 0.1 Nm\n"), std::string::npos) << shown;
    EXPECT_TRUE(InTable(235000100));
    EXPECT_FALSE(InTable(235000159)) << "the farthest gave way";

    // One farther than every other is left out.
    clock.second = 32;
    receiver.Write(ReportNorth(235000998, 8.0) + "\r\n" + ReportNorth(235000997, 0.5) + "\r\n");
    ASSERT_TRUE(kvtest::WaitFor([] { return InTable(235000997); }));
    EXPECT_FALSE(InTable(235000998));
    EXPECT_TRUE(InTable(235000999));
    shown = DataWindow();
    EXPECT_NE(shown.find("MMSI - 235000100\n"), std::string::npos) << shown;
}

// Two ships send their static data at once, one on each channel under the
// same sequential id, and a third ship's report comes between the parts:
// each ship shows its own name and destination.
TEST_F(AisPtyTest, StaticDataSentAtOnceOnBothChannelsStayWithTheirShips)
{
    ASSERT_TRUE(Receive({ ReportNorth(235000006, 0.2), ReportNorth(235000007, 0.4) },
        [] { return AisTargetCount == 2; }));
    const auto f = AivdmFragments(
        StaticDataPayload(235000006, "FAIR WIND", "FFFF", 70, 65, "FFFFFFFFFFFFFFFFFFFF"), 2, "3", "A");
    const auto g = AivdmFragments(
        StaticDataPayload(235000007, "GOOD HOPE", "GGGG", 70, 65, "GGGGGGGGGGGGGGGGGGGG"), 2, "3", "B");
    ASSERT_TRUE(Receive({ f[0], g[0], ReportNorth(235000008, 0.6), f[1], g[1] },
        [] { return AisTargetCount == 3 && AisTargets[2].messageType == 5; }));

    std::string shown = DataWindow(); // the nearest: the first ship
    EXPECT_NE(shown.find("MMSI - 235000006\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nName FAIR WIND\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nDestination FFFFFFFFFFFFFFFFFFFF\n"), std::string::npos) << shown;

    view->HighlightNearest1->trigger(); // step through the targets by hand
    AISInfo->TgtNumUp->click();
    shown = DataWindow();
    EXPECT_NE(shown.find("MMSI - 235000007\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nName GOOD HOPE\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nDestination GGGGGGGGGGGGGGGGGGGG\n"), std::string::npos) << shown;

    AISInfo->TgtNumUp->click();
    shown = DataWindow();
    EXPECT_NE(shown.find("MMSI - 235000008\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nRange 0.6 Nm\n"), std::string::npos) << shown;
}

} // namespace
