// NMEA input end to end: a recorded track goes into a pseudo-terminal that
// stands in for COM4, through the serial component and the main window's
// line handlers, and the fix timer takes each position.

#include "MainFormFixture.h"

#include "platform/QtTimer.h"
#include "rtl/TextFile.h"
#include "support/PtyPair.h"
#include "support/QtWait.h"

#include <QLabel>
#include <cmath>

namespace
{

TEST_F(MainFormTest, RecordedTrackThroughAPseudoTerminalGivesAFixAtEachTick)
{
    kvtest::PtyPair gps;
    gps.MapAs(4);
    WriteConfig("zudeve.cfg", [] {
        ComPort = 4;
        BaudRate = 4800;
    });
    Start();
    // A fast fix tick keeps the test short (shorter than a configuration or
    // the Timing dialog may set); the interface takes it when it opens.
    FixIntervalMs = 50;
    // The start clock has no part here (its first tick would load a chart).
    MainForm->SecsTimer->setEnabled(false);
    MainForm->NMEAServerOnOffClick();
    ASSERT_TRUE(NmeaOpen);
    ASSERT_EQ(ui.messages(), std::vector<std::string> { "NMEA Interface Open!" });

    // A sailing boat at 5-6 kn, with the twenty other sentence kinds of its
    // instruments around each "$GPGGA" (file lines 15, 49, 83 ...).
    const auto lines = rtl::ReadAllLines(std::string(KV_SHARED_TESTDATA_DIR) + "/nmea/bundg_zeus_9.nmea");
    ASSERT_TRUE(lines);
    struct Fix {
        std::size_t line;
        double lat, lon;
    };
    const Fix fixes[] = { { 15, 52.8501566667, -5.3136200000 }, { 49, 52.8501416667, -5.3135850000 },
        { 83, 52.8501233333, -5.3135533333 }, { 117, 52.8501100000, -5.3135233333 } };
    std::size_t next = 0;
    for (const Fix& fix : fixes) {
        std::string bytes;
        for (; next < fix.line; ++next)
            bytes += (*lines)[next] + "\r\n";
        gps.Write(bytes);
        ASSERT_TRUE(kvtest::WaitFor([&] { return std::abs(CurLat - fix.lat) < 1e-9; }))
            << "line " << fix.line;
        EXPECT_NEAR(CurLon, fix.lon, 1e-9);
        EXPECT_EQ(FixStatus, "$GPGGA");
        EXPECT_EQ(MainForm->GPSIndicator->text(), "GPS");
    }

    // Silence is reported after 15 s; closing ends the input.
    ui.answerYes();
    MainForm->NMEAServerOnOffClick();
    EXPECT_FALSE(NmeaOpen);
    EXPECT_FALSE(MainForm->ComPortOpen());
}

} // namespace
