// NMEA input of the main window, driven through its serial event handlers
// with a scripted port in place of the serial component: line assembly and
// routing, the no-data warning, the NMEA interface command, the fix tick,
// the manual fix and the AIS log.

#include "MainFormFixture.h"

#include "dialogs/GlobalDlg.h"
#include "mainwin/ComPortLink.h"
#include "nav/NmeaDecode.h"
#include "nav/NmeaTemplate.h"
#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <csignal>
#include <deque>
#include <stdexcept>
#include <sys/resource.h>

namespace
{

// Records what the main window does with the port and hands out the bytes a
// test feeds in. Trigger handles count up from 8; `data` and `timer` are the
// live ones.
class ScriptedPort : public TComPortLink
{
public:
    uint16_t ComNumber() const override { return number; }
    void SetComNumber(uint16_t n) override { number = n; }
    void SetBaud(int32_t b) override { baud = b; }
    void SetOpen(bool on) override
    {
        if (on && refuseOpen)
            throw std::runtime_error("ie_BadId - Specified comport doesn't exist");
        calls.push_back(on ? "open" : "close");
    }
    uint16_t AvailLength() const override { return availLength; }
    void SetAvailLength(uint16_t length) override { availLength = length; }
    uint16_t AddDataTrigger(const std::string& text, bool ignoreCase) override
    {
        calls.push_back(text == "\r" && !ignoreCase ? "add CR" : "add other");
        return data = next++;
    }
    uint16_t AddTimerTrigger() override { return timer = next++; }
    void ArmTimerTrigger(uint16_t handle, int32_t ticks, bool on) override
    {
        calls.push_back(
            (handle == timer ? "arm " : "arm other ") + std::to_string(ticks) + (on ? " on" : ""));
    }
    void RemoveTrigger(uint16_t handle) override { calls.push_back("remove " + std::to_string(handle)); }
    void RemoveAllTriggers() override { calls.push_back("removeAll"); }
    uint8_t ReadChar() override
    {
        const uint8_t c = static_cast<uint8_t>(bytes.at(0));
        bytes.pop_front();
        return c;
    }

    uint16_t number = 0, availLength = 0, next = 8, data = 0, timer = 0;
    int32_t baud = 0;
    bool refuseOpen = false;
    std::deque<char> bytes;
    std::vector<std::string> calls;
};

std::string Sentence(const std::string& body)
{
    return "$" + body + NmeaChecksum(body, 1);
}

const std::string kGga = Sentence("GPGGA,094737,5251.0085,N,00518.8151,E,1,12,0.60,-4,M,46.8,M,,");
const std::string kRmc = Sentence("GPRMC,094738,A,5015.0000,N,00130.0000,W,5.8,235.1,200818,1.4,E,A");
const std::string kAis = "!AIVDM,1,1,,B,13aDp<PP000IwSlN?Wm@0?wN2<1T,0*29";
const std::string kAis2 = "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A";
const std::string kHeader = "AIS Log Date : 07-12-26\r\n";

class MainNmeaTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Start();
        MainForm->ComPortLink = &port;
        ComPort = 3;
        BaudRate = 4800;
        LogsFolder = app + "logs/";
        LogBaseName = "07-12-26";
        dir.write("logs/07-12-26.AIS", kHeader);
    }

    void OpenInterface()
    {
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        ui.clear();
        port.calls.clear();
    }

    // Bytes as the serial component announces them: at each carriage return
    // an available-data event with the bytes before it, then the data-trigger
    // event; the carriage return itself is read with the next bytes.
    void Feed(const std::string& bytes)
    {
        for (char c : bytes) {
            if (c == '\r') {
                Announce();
                MainForm->ComPort2TriggerData(port.data);
            }
            unannounced_ += c;
        }
        if (unannounced_ != "\r")
            Announce();
    }
    void Announce()
    {
        port.bytes.insert(port.bytes.end(), unannounced_.begin(), unannounced_.end());
        if (!unannounced_.empty())
            MainForm->ComPort2TriggerAvail(static_cast<uint16_t>(unannounced_.size()));
        unannounced_.clear();
    }

    std::string Status() const { return ls(MainForm->StatusLine->text()); }
    std::string Indicator() const { return ls(MainForm->GPSIndicator->text()); }
    uint32_t IndicatorColour() const
    {
        return platform::BgrFromQColor(MainForm->GPSIndicator->palette().color(QPalette::WindowText));
    }

    ScriptedPort port;

private:
    std::string unannounced_;
};

TEST_F(MainNmeaTest, SelectedSentenceAloneFeedsTheFixTick)
{
    OpenInterface();
    Feed(kRmc + "\r\n" + kGga + "\r\n$GPGSV,3,1,10\r\n");
    EXPECT_EQ(LastSentence, kGga); // "GGA" is the default
    MainForm->FixTimerTimer();
    EXPECT_DOUBLE_EQ(CurLat, 52 + 51.0085 / 60);
    EXPECT_DOUBLE_EQ(CurLon, -(5 + 18.8151 / 60));

    GlobalSettings.Sent = 1;
    Feed(kGga + "\r\n" + kRmc + "\r\n" + kGga + "\r\n");
    MainForm->FixTimerTimer();
    EXPECT_EQ(FixStatus, "$GPRMC");
    EXPECT_DOUBLE_EQ(CurLat, 50.25);
    EXPECT_DOUBLE_EQ(CurLon, 1.5);
    EXPECT_EQ(MagVariation, 1);
    EXPECT_EQ(MainForm->SentenceTimeText, "094738");
}

TEST_F(MainNmeaTest, LineEndsNoiseAndTheNinetyNineCharacterLimit)
{
    OpenInterface();
    const std::string gga2 = Sentence("GPGGA,094738,5251.0000,N,00518.0000,E,1,12,0.60,-4,M,46.8,M,,");
    const std::string line99 = "$GPGGA,094737,5251.0085,N,00518.8151,E,1" + std::string(59, ',');
    ASSERT_EQ(line99.size(), 99u);
    struct Row {
        std::string bytes;
        std::string taken; // the GPS sentence the fix tick finds
    };
    const Row rows[] = {
        { kGga + "\r\n", kGga },
        { gga2 + "\r", gga2 }, // a bare CR ends a line
        { gga2 + "\n", gga2 }, // and so does a bare LF
        { kGga + "\n" + gga2 + "\n", gga2 },
        { kGga + "\n\r" + gga2 + "\r\n", gga2 },
        // A sentence glued onto noise or onto a cut sentence is read.
        { "\x95~#" + gga2 + "\r\n", gga2 },
        { std::string(150, 'x') + gga2 + "\n", gga2 },
        { "$GPGGA,0947" + gga2 + "\r\n", gga2 },
        { "!AIVDM,1,1,,B,13aD" + gga2 + "\r\n", gga2 },
        { line99 + "\r\n", line99 },
        { line99 + "X\r\n", "" }, // one character too many
        { "x" + line99 + "\r\n", line99 }, // the noise is no part of it
    };
    for (const Row& row : rows) {
        LastSentence.clear();
        Feed(row.bytes);
        EXPECT_EQ(LastSentence, row.taken) << row.bytes;
        EXPECT_EQ(SerialLineBuffer, "") << row.bytes;
    }

    // The hundredth character, in a later event, throws the line away and
    // restarts the no-data timer.
    Feed(line99 + "\r\n");
    Feed(line99.substr(0, 60));
    port.calls.clear();
    Feed(line99.substr(60) + "X");
    EXPECT_EQ(SerialLineBuffer, "");
    EXPECT_EQ(port.calls, std::vector<std::string> { "arm 273 on" });
    Feed("TAIL\r\n");
    EXPECT_EQ(LastSentence, line99);
    // A line ended by a line feed alone counts as data as one ended by CR.
    port.calls.clear();
    Feed(kGga + "\n");
    EXPECT_EQ(port.calls, std::vector<std::string> { "arm 273 on" });
}

TEST_F(MainNmeaTest, LinesReArmTheTriggersAndBadChecksumsAreDropped)
{
    OpenInterface();
    const uint16_t first = port.data;
    Feed(kGga + "\r\n");
    EXPECT_EQ(
        port.calls, (std::vector<std::string> { "remove " + std::to_string(first), "add CR", "arm 273 on" }));
    EXPECT_EQ(MainForm->DataTriggerHandle, port.data);
    MainForm->ComPort2TriggerData(first); // not the live data trigger: no line end
    EXPECT_EQ(port.calls.size(), 3u);

    // A corrupted line is dropped as if it had not come: the line end is
    // re-armed, but the silence goes on counting.
    std::string corrupted = Sentence("GPGGA,094740,5000.0000,N,00000.0000,E,1,12,0.60");
    corrupted[20] = '9';
    port.calls.clear();
    MainForm->NmeaDataSeen = false;
    Feed(corrupted + "\r\n");
    EXPECT_EQ(LastSentence, kGga);
    EXPECT_EQ(port.calls.back(), "add CR");
    EXPECT_FALSE(MainForm->NmeaDataSeen);
    // So is a line that puts the vessel where no one can be, checksum or not.
    Feed(Sentence("GPGGA,094740,9500.0000,N,00000.0000,E,1,12,0.60") + "\r\n");
    Feed("$GPGGA,094740,5000.0000,N,00060.0000,E,1,12,0.60\r\n");
    EXPECT_EQ(LastSentence, kGga);
    EXPECT_FALSE(MainForm->NmeaDataSeen);
    Feed("$GPGGA,094741,5000.0000,N,00000.0000,E,1,12,0.60\r\n"); // no checksum: taken
    EXPECT_EQ(LastSentence, "$GPGGA,094741,5000.0000,N,00000.0000,E,1,12,0.60");
}

TEST_F(MainNmeaTest, SilenceBeepsOnceThenRepeatsTheWarningEveryTenSeconds)
{
    OpenInterface();
    Feed(kGga + "\r\n");
    port.calls.clear();
    for (int i = 0; i < 3; ++i)
        MainForm->ComPort2TriggerTimer(port.timer);
    EXPECT_EQ(Status(), "No NMEA data on COM3");
    EXPECT_EQ(LastSentence, "");
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(port.calls, std::vector<std::string>(3, "arm 182 on"));
    Feed(kGga + "\r\n");
    MainForm->ComPort2TriggerTimer(port.timer);
    EXPECT_EQ(ui.beeps(), 2);

    MainForm->FixTimerTimer(); // the tick after the warning finds no sentence
    EXPECT_EQ(Status(), "No Position Data!");
    EXPECT_EQ(IndicatorColour(), nav::kIndicatorRed);
    EXPECT_EQ(ui.beeps(), 3);
    LastSentence = "$GPGGA,094737,5251.0085,N,00518.8151,E,1,12,x"; // undecodable
    MainForm->FixTimerTimer();
    EXPECT_EQ(Status(), "No Position Data!");
    EXPECT_EQ(ui.beeps(), 4);
}

TEST_F(MainNmeaTest, InterfaceCommandOpensAndClosesThePort)
{
    DRMode = true;
    FixIntervalMs = 2000;
    MainForm->NMEAServerOnOffClick();
    EXPECT_EQ(port.number, 3);
    EXPECT_EQ(port.baud, 4800);
    EXPECT_EQ(port.calls, (std::vector<std::string> { "open", "add CR", "arm 273 on" }));
    EXPECT_TRUE(NmeaOpen);
    EXPECT_FALSE(DRMode);
    EXPECT_EQ(MainForm->FixTimer->interval(), 2000);
    EXPECT_TRUE(MainForm->FixTimer->running());
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isChecked());
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "NMEA Interface Open!" });

    ui.clear();
    port.calls.clear();
    ui.answerNo();
    MainForm->NMEAServerOnOffClick();
    EXPECT_TRUE(NmeaOpen);
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isChecked());
    ui.answerYes();
    MainForm->NMEAServerOnOffClick();
    EXPECT_EQ(ui.shown()[1].text, "Close NMEA interface! - Are you sure?");
    EXPECT_EQ(port.calls, (std::vector<std::string> { "close", "removeAll" }));
    EXPECT_FALSE(NmeaOpen);
    EXPECT_FALSE(MainForm->FixTimer->running());
    EXPECT_FALSE(MainForm->NMEAServerOnOff->isChecked());
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "NMEA Interface Closed!" });
    EXPECT_EQ(Indicator(), "GPS ?");
    EXPECT_EQ(IndicatorColour(), nav::kIndicatorSilver);

    // A port that will not open leaves the interface closed.
    ui.clear();
    port.refuseOpen = true;
    MainForm->NMEAServerOnOffClick();
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "COM Port not availible or does not exist! Click OK and try Again" });
    EXPECT_FALSE(NmeaOpen);
    EXPECT_FALSE(MainForm->NMEAServerOnOff->isChecked());
}

TEST_F(MainNmeaTest, InvalidFixesLeaveThePositionAndShowRed)
{
    OpenInterface();
    GlobalSettings.Sent = 1;
    CurLat = 10;
    Feed(Sentence("GPRMC,094738,V,5015.0000,N,00130.0000,W,,,200818,,") + "\r\n");
    MainForm->FixTimerTimer();
    EXPECT_EQ(Indicator(), "GPS"); // without a chart view: no beep
    EXPECT_EQ(ui.beeps(), 0);
    AddView();
    // The receiver sends its line again: a new fix, invalid as before.
    Feed(Sentence("GPRMC,094738,V,5015.0000,N,00130.0000,W,,,200818,,") + "\r\n");
    MainForm->FixTimerTimer();
    EXPECT_FALSE(MainForm->FixValid);
    EXPECT_EQ(CurLat, 10);
    EXPECT_EQ(IndicatorColour(), nav::kIndicatorRed);
    EXPECT_EQ(Hint(MainForm->GPSIndicator), "No GPS Position|");
    EXPECT_EQ(MagVariation, 0); // RMC without a variation field
    EXPECT_EQ(ui.beeps(), 1);

    GlobalSettings.Sent = 0;
    Feed(Sentence("GPGGA,094737,5251.0085,N,00518.8151,E,6,12,0.60,-4,M,46.8,M,,") + "\r\n");
    MainForm->FixTimerTimer();
    EXPECT_FALSE(MainForm->FixValid);
    EXPECT_EQ(CurLat, 10);
    EXPECT_EQ(FixQuality, "");
    EXPECT_EQ(ui.beeps(), 2);
}

TEST_F(MainNmeaTest, ManualFixWithTheInterfaceClosedAndOpen)
{
    CurLat = 50.5;
    MainForm->ManualFix();
    EXPECT_EQ(FixStatus, "MAN");
    EXPECT_FALSE(ManualFixFlag);
    EXPECT_DOUBLE_EQ(CurLat, 50.5);
    OpenInterface();
    Feed(kGga + "\r\n");
    MainForm->ManualFix();
    EXPECT_EQ(FixStatus, "$GPGGA");
    EXPECT_DOUBLE_EQ(CurLat, 52 + 51.0085 / 60);
    EXPECT_FALSE(ManualFixFlag);
}

TEST_F(MainNmeaTest, MonitorModeTakesTheStationPositionAtEachTick)
{
    OpenInterface();
    MainForm->AISMonitor->setChecked(true);
    CurLat = 50.8;
    CurLon = 1.3;
    MainForm->FixTimerTimer();
    EXPECT_TRUE(MainForm->FixValid);
    EXPECT_EQ(FixStatus, "$KVGGA");
    EXPECT_EQ(Indicator(), "MON");
    EXPECT_EQ(IndicatorColour(), nav::kIndicatorLime);
    EXPECT_EQ(Hint(MainForm->GPSIndicator), "Live AIS Monitor mode|");
    EXPECT_NEAR(CurLat, 50.8, 1e-6);
    EXPECT_NEAR(CurLon, 1.3, 1e-6);
}

TEST_F(MainNmeaTest, ComCapturePointIsTakenOnceAndPlaybackSkipsCorruptedLines)
{
    OpenInterface();
    AddView();
    MainForm->AddChartPoint1->setEnabled(true);
    TextLogOn = false; // the survey log has no part here
    MainForm->CurrentSentence = "$PSCOM,000000,5048.0000,N,00118.0000,W,0,09";
    for (int repeat = 0; repeat < 2; ++repeat)
        MainForm->ProcessNmeaSentence();
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_EQ(LogCount, 0); // each capture empties the track
    EXPECT_EQ(PrevSentence, MainForm->CurrentSentence);
    EXPECT_EQ(ui.beeps(), 1); // the one chart point's: the repeat added none

    NmeaOpen = false;
    AisPlayback = true;
    MainForm->CurrentSentence = kRmc;
    MainForm->CurrentSentence[10] ^= 1;
    MainForm->ProcessNmeaSentence();
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    // An undecodable played line is an invalid fix, not an error.
    MainForm->CurrentSentence = "$GPGGA,094737,5251.0085,N,00518.8151,E,1,12,x";
    MainForm->ProcessNmeaSentence();
    EXPECT_EQ(Indicator(), "GPS");
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainNmeaTest, AisLogHoldsEachNewSentenceAndTheGpsLineWhenItsTimeChanges)
{
    OpenInterface();
    const std::string gga2 = Sentence("GPGGA,094738,5251.0000,N,00518.0000,E,1,12,0.60,-4,M,46.8,M,,");
    const std::string ggaSameTime = Sentence("GPGGA,094737,5251.9999,N,00518.8151,E,1,12,0.60,-4,M,46.8,M,,");
    Feed(kAis + "\r\n" + kGga + "\r\n" + kAis + "\r\n" + kAis2 + "\r\n" + ggaSameTime + "\r\n" + kAis
        + "\r\n");
    Feed(gga2 + "\r\n" + kAis2 + "\r\n");
    MainForm->ComPort2TriggerTimer(port.timer); // no GPS line any more: none is logged
    Feed(kAis + "\r\n");
    MainForm->ProcAis->setChecked(false);
    Feed(kAis2 + "\r\n");
    EXPECT_EQ(dir.read("logs/07-12-26.AIS"),
        kHeader + kAis + "\r\n" + kGga + "\r\n" + kAis2 + "\r\n" + kAis + "\r\n" + kAis2 + "\r\n" + gga2
            + "\r\n" + kAis + "\r\n");
}

// A full disk: the log keeps its last whole line, the failure is shown in a
// box once and then on the status line, and the line is handled all the same.
TEST_F(MainNmeaTest, AisLogOnAFullDiskEndsAtItsLastWholeLineAndIsReportedOnce)
{
    OpenInterface();
    MainForm->ShowNMEA->setChecked(true);
    const std::string before = dir.read("logs/07-12-26.AIS");
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit full = old;
    full.rlim_cur = before.size() + 12; // room for "!AIVDM,1,1,"
    setrlimit(RLIMIT_FSIZE, &full);
    Feed(kGga + "\r\n" + kAis + "\r\n");
    const std::string cut = dir.read("logs/07-12-26.AIS");
    const std::vector<std::string> firstBoxes = ui.messages();
    MainForm->StatusLine->setText("quiet");
    Feed(kAis2 + "\r\n");
    const std::string status = Status();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(cut, before);
    EXPECT_EQ(firstBoxes, std::vector<std::string> { "Error Writing AIS Log" });
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(status, "Error Writing AIS Log");
    EXPECT_EQ(port.calls.back(), "arm 273 on");
    EXPECT_EQ(AisSentence, "");
    // The lines that follow do not hand it on again.
    MainForm->StatusLine->setText("quiet");
    Feed("$GPGSV,3,1,10\r\n");
    EXPECT_EQ(Status(), "quiet");
    // Not logged then, so logged with the next one.
    Feed(kAis + "\r\n");
    EXPECT_EQ(dir.read("logs/07-12-26.AIS"), before + kAis + "\r\n" + kGga + "\r\n");
}

} // namespace
