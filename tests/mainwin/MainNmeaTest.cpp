// NMEA input of the main window, driven through its serial event handlers
// with a scripted port in place of the serial component: line assembly and
// routing, the no-data warning, the NMEA interface command, the fix tick,
// the manual fix, decoding into the present position and the AIS log.

#include "MainFormFixture.h"

#include "dialogs/GlobalDlg.h"
#include "mainwin/ComPortLink.h"
#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <csignal>
#include <cstdio>
#include <deque>
#include <map>
#include <stdexcept>
#include <sys/resource.h>

namespace
{

// The serial component as far as the NMEA input uses it. Records what the
// main window does with it and hands out the bytes a test feeds in.
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
        open = on;
        calls.push_back(on ? "open" : "close");
    }
    uint16_t AvailLength() const override { return availLength; }
    void SetAvailLength(uint16_t length) override { availLength = length; }
    uint16_t AddDataTrigger(const std::string& data, bool ignoreCase) override
    {
        EXPECT_EQ(data, "\r");
        EXPECT_FALSE(ignoreCase);
        dataHandle = next++;
        triggers[dataHandle] = "data";
        return dataHandle;
    }
    uint16_t AddTimerTrigger() override
    {
        timerHandle = next++;
        triggers[timerHandle] = "timer";
        return timerHandle;
    }
    void ArmTimerTrigger(uint16_t handle, int32_t ticks, bool activate) override
    {
        EXPECT_EQ(triggers[handle], "timer");
        calls.push_back("arm " + std::to_string(ticks) + (activate ? " on" : " off"));
    }
    void RemoveTrigger(uint16_t handle) override
    {
        if (triggers.erase(handle) == 0)
            throw std::runtime_error("Bad trigger handle");
    }
    void RemoveAllTriggers() override
    {
        if (open)
            triggers.clear();
        calls.push_back("removeAll");
    }
    uint8_t ReadChar() override
    {
        if (bytes.empty())
            throw std::runtime_error("Buffer is empty");
        const uint8_t c = static_cast<uint8_t>(bytes.front());
        bytes.pop_front();
        return c;
    }

    uint16_t number = 0;
    int32_t baud = 0;
    bool open = false;
    bool refuseOpen = false;
    uint16_t availLength = 0;
    uint16_t next = 8, dataHandle = 0, timerHandle = 0;
    std::map<uint16_t, std::string> triggers;
    std::deque<char> bytes;
    std::vector<std::string> calls;
};

// "$" + body + "*" + its checksum.
std::string Sentence(const std::string& body, char start = '$')
{
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char hex[4];
    std::snprintf(hex, sizeof hex, "*%02X", sum);
    return start + body + hex;
}

const std::string kGga = Sentence("GPGGA,094737,5251.0085,N,00518.8151,E,1,12,0.60,-4,M,46.8,M,,");
const std::string kRmc = Sentence("GPRMC,094738,A,5015.0000,N,00130.0000,W,5.8,235.1,200818,1.4,E,A");
const std::string kAis = "!AIVDM,1,1,,B,13aDp<PP000IwSlN?Wm@0?wN2<1T,0*29";
const double kGgaLat = 52 + 51.0085 / 60, kGgaLon = -(5 + 18.8151 / 60);
const double kRmcLat = 50.25, kRmcLon = 1.5;

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
        dir.write("logs/07-12-26.AIS", "AIS Log Date : 07-12-26\r\n");
    }

    void OpenInterface()
    {
        MainForm->NMEAServerOnOffClick();
        ASSERT_TRUE(NmeaOpen);
        ui.clear();
        port.calls.clear();
    }

    // Bytes from the instrument as the serial component announces them: at
    // each carriage return an available-data event with the bytes before it,
    // then the data-trigger event; the carriage return itself is read with
    // the next event's bytes.
    void Feed(const std::string& bytes)
    {
        for (char c : bytes) {
            if (c != '\r') {
                unannounced_ += c;
                continue;
            }
            Announce();
            MainForm->ComPort2TriggerData(port.dataHandle);
            unannounced_ = "\r";
        }
        if (unannounced_ != "\r")
            Announce();
    }
    void Announce()
    {
        if (unannounced_.empty())
            return;
        port.bytes.insert(port.bytes.end(), unannounced_.begin(), unannounced_.end());
        MainForm->ComPort2TriggerAvail(static_cast<uint16_t>(unannounced_.size()));
        unannounced_.clear();
    }
    void NoDataExpiry() { MainForm->ComPort2TriggerTimer(port.timerHandle); }

    void SelectRmc() { GlobalDlg->Sent->setCurrentIndex(1); }
    std::string Status() const { return ls(MainForm->StatusLine->text()); }
    std::string Indicator() const { return ls(MainForm->GPSIndicator->text()); }
    uint32_t IndicatorColour() const
    {
        return platform::BgrFromQColor(MainForm->GPSIndicator->palette().color(QPalette::WindowText));
    }
    std::string AisLog() const { return dir.read("logs/07-12-26.AIS"); }

    ScriptedPort port;

private:
    std::string unannounced_;
};

// ---- Lines ---------------------------------------------------------------------

TEST_F(MainNmeaTest, SelectedSentenceAloneFeedsTheFix)
{
    OpenInterface();
    Feed(kRmc + "\r\n" + kGga + "\r\n$GPGSV,3,1,10\r\n");
    EXPECT_EQ(LastSentence, kGga); // "GGA" is the default
    MainForm->FixTimerTimer();
    EXPECT_DOUBLE_EQ(CurLat, kGgaLat);
    EXPECT_DOUBLE_EQ(CurLon, kGgaLon);
    EXPECT_EQ(FixStatus, "$GPGGA");

    SelectRmc();
    Feed(kGga + "\r\n" + kRmc + "\r\n" + kGga + "\r\n");
    EXPECT_EQ(LastSentence, kRmc);
    MainForm->FixTimerTimer();
    EXPECT_DOUBLE_EQ(CurLat, kRmcLat);
    EXPECT_DOUBLE_EQ(CurLon, kRmcLon);
    EXPECT_EQ(FixStatus, "$GPRMC");
    EXPECT_EQ(MainForm->SentenceTimeText, "094738");
}

TEST_F(MainNmeaTest, LineOfNinetyNineCharactersIsKeptAndTheHundredthDiscardsIt)
{
    OpenInterface();
    const std::string body = "$GPGGA,094737,5251.0085,N,00518.8151,E,1,12,0.60,-4,M,46.8,M,,";
    const std::string line99 = body + std::string(99 - body.size(), ',');
    ASSERT_EQ(line99.size(), 99u);
    Feed(line99 + "\r");
    EXPECT_EQ(LastSentence, line99);
    EXPECT_TRUE(SerialLineBuffer.empty());

    // The hundredth character, arriving in a later event, throws the line
    // away and restarts the no-data timer.
    Feed("\n" + line99.substr(0, 60));
    port.calls.clear();
    MainForm->NmeaDataSeen = false;
    Feed(line99.substr(60) + "X");
    EXPECT_TRUE(SerialLineBuffer.empty());
    EXPECT_EQ(port.calls, std::vector<std::string> { "arm 273 on" });
    EXPECT_TRUE(MainForm->NmeaDataSeen);
    // What follows up to the line end is only the tail of the long line.
    Feed("TAIL\r\n");
    EXPECT_EQ(LastSentence, line99);
}

TEST_F(MainNmeaTest, CrLfAndBareCrEndLinesAndBareLfDoesNot)
{
    OpenInterface();
    const std::string gga2 = Sentence("GPGGA,094738,5251.0000,N,00518.0000,E,1,12,0.60,-4,M,46.8,M,,");
    Feed(kGga + "\r\n");
    EXPECT_EQ(LastSentence, kGga);
    Feed(gga2 + "\r");
    EXPECT_EQ(LastSentence, gga2);

    // A line feed alone joins the two lines into one, too long to keep.
    Feed(kGga + "\n" + kGga + "\r");
    EXPECT_EQ(LastSentence, gga2);
    Feed("$GPGGA,1\n2,3\r");
    EXPECT_EQ(LastSentence, "$GPGGA,12,3");
}

TEST_F(MainNmeaTest, EachLineReArmsItsTriggers)
{
    OpenInterface();
    const uint16_t first = port.dataHandle;
    Feed(kGga + "\r\n");
    EXPECT_NE(port.dataHandle, first);
    EXPECT_EQ(port.triggers.count(first), 0u);
    EXPECT_EQ(port.triggers.size(), 2u); // one data trigger, one timer trigger
    EXPECT_EQ(MainForm->DataTriggerHandle, port.dataHandle);
    EXPECT_EQ(port.calls, std::vector<std::string> { "arm 273 on" });
    // Another trigger's event is not a line end.
    port.calls.clear();
    SerialLineBuffer = kRmc;
    MainForm->ComPort2TriggerData(first);
    EXPECT_EQ(SerialLineBuffer, kRmc);
    EXPECT_TRUE(port.calls.empty());
}

TEST_F(MainNmeaTest, BadChecksumLineIsDroppedAsIfItHadNotCome)
{
    OpenInterface();
    Feed(kGga + "\r\n");
    std::string corrupted = Sentence("GPGGA,094740,5000.0000,N,00000.0000,E,1,12,0.60,-4,M,46.8,M,,");
    corrupted[20] = '9';
    port.calls.clear();
    MainForm->NmeaDataSeen = false;
    Feed(corrupted + "\r\n");
    EXPECT_EQ(LastSentence, kGga);
    // The line end is re-armed, but the silence goes on counting.
    EXPECT_TRUE(port.calls.empty());
    EXPECT_FALSE(MainForm->NmeaDataSeen);
    EXPECT_EQ(MainForm->DataTriggerHandle, port.dataHandle);
    EXPECT_TRUE(SerialLineBuffer.empty());
    // A sentence without a checksum is taken as before.
    Feed("$GPGGA,094741,5000.0000,N,00000.0000,E,1,12,0.60\r\n");
    EXPECT_EQ(LastSentence, "$GPGGA,094741,5000.0000,N,00000.0000,E,1,12,0.60");
}

// ---- Silence ---------------------------------------------------------------------

TEST_F(MainNmeaTest, SilenceBeepsOnceAndRepeatsTheWarningEveryTenSeconds)
{
    OpenInterface();
    Feed(kGga + "\r\n");
    port.calls.clear();
    NoDataExpiry();
    EXPECT_EQ(Status(), "No NMEA data on COM3");
    EXPECT_EQ(LastSentence, "");
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(port.calls, std::vector<std::string> { "arm 182 on" });
    NoDataExpiry();
    NoDataExpiry();
    EXPECT_EQ(ui.beeps(), 1);

    // Data again, then silence again: one more beep.
    Feed(kGga + "\r\n");
    NoDataExpiry();
    EXPECT_EQ(ui.beeps(), 2);
    // Another timer's expiry is not the no-data timer's.
    MainForm->StatusLine->clear();
    MainForm->ComPort2TriggerTimer(port.dataHandle);
    EXPECT_EQ(Status(), "");
}

// ---- The NMEA interface command -----------------------------------------------------

TEST_F(MainNmeaTest, OpeningSetsUpThePortTimerAndMenus)
{
    DRMode = true;
    FixIntervalMs = 2000;
    MainForm->StatusLine->setText("Dead Reckoning Mode !");
    MainForm->NMEAServerOnOffClick();
    EXPECT_EQ(port.number, 3);
    EXPECT_EQ(port.baud, 4800);
    EXPECT_EQ(port.calls, (std::vector<std::string> { "open", "arm 273 on" }));
    EXPECT_EQ(port.availLength, 1);
    EXPECT_EQ(MainForm->DataTriggerHandle, port.dataHandle);
    EXPECT_EQ(MainForm->TimerTriggerHandle, port.timerHandle);
    EXPECT_TRUE(NmeaOpen);
    EXPECT_FALSE(DRMode);
    EXPECT_TRUE(MainForm->NmeaDataSeen);
    EXPECT_TRUE(MainForm->FixTimer->running());
    EXPECT_EQ(MainForm->FixTimer->interval(), 2000);
    EXPECT_TRUE(MainForm->Nserver->isChecked());
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isChecked());
    EXPECT_FALSE(MainForm->DRMode1->isChecked());
    EXPECT_FALSE(MainForm->PlayAISlog->isEnabled());
    EXPECT_EQ(Hint(MainForm->NMEAServerOnOff), "Close NMEA interface|");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "NMEA Interface Open!" });
}

TEST_F(MainNmeaTest, PortThatWillNotOpenLeavesTheInterfaceClosed)
{
    port.refuseOpen = true;
    MainForm->NMEAServerOnOffClick();
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "COM Port not availible or does not exist! Click OK and try Again" });
    EXPECT_EQ(port.calls, (std::vector<std::string> { "close", "removeAll" }));
    EXPECT_FALSE(NmeaOpen);
    EXPECT_FALSE(MainForm->FixTimer->running());
    EXPECT_FALSE(MainForm->NMEAServerOnOff->isChecked());

    // No port configured: nothing at all.
    ui.clear();
    port.calls.clear();
    ComPort = 0;
    MainForm->NMEAServerOnOffClick();
    EXPECT_TRUE(ui.shown().empty());
    EXPECT_TRUE(port.calls.empty());
    EXPECT_FALSE(NmeaOpen);
}

TEST_F(MainNmeaTest, ClosingAsksThenClosesThePortAndGreysTheIndicator)
{
    OpenInterface();
    ui.answerNo();
    MainForm->NMEAServerOnOffClick();
    EXPECT_TRUE(NmeaOpen);
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isChecked());
    EXPECT_TRUE(port.calls.empty());

    MainForm->GPSIndicator->setText("GPS");
    ui.answerYes();
    MainForm->NMEAServerOnOffClick();
    EXPECT_EQ(ui.shown()[1].text, "Close NMEA interface! - Are you sure?");
    EXPECT_EQ(port.calls, (std::vector<std::string> { "close", "removeAll" }));
    EXPECT_EQ(port.availLength, 0);
    EXPECT_FALSE(MainForm->ComPortOpen());
    EXPECT_FALSE(NmeaOpen);
    EXPECT_FALSE(MainForm->FixTimer->running());
    EXPECT_FALSE(MainForm->Nserver->isChecked());
    EXPECT_FALSE(MainForm->NMEAServerOnOff->isChecked());
    EXPECT_TRUE(MainForm->PlayAISlog->isEnabled());
    EXPECT_EQ(Hint(MainForm->NMEAServerOnOff), "Open NMEA interface|");
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "NMEA Interface Closed!" });
    EXPECT_EQ(Indicator(), "GPS ?");
    EXPECT_EQ(IndicatorColour(), 0xC0C0C0u);
}

// ---- Fix tick, decoding and the manual fix ---------------------------------------------

TEST_F(MainNmeaTest, TickWithoutSentenceReportsNoPositionData)
{
    OpenInterface();
    MainForm->ShowNMEA->setChecked(true);
    MainForm->FixTimerTimer();
    EXPECT_EQ(Status(), "No Position Data!");
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(IndicatorColour(), 0x0000FFu);
    EXPECT_FALSE(MainForm->TimePanel->text().isEmpty());

    // A sentence that cannot be decoded is reported the same way.
    LastSentence = "$GPGGA,094737,5251.0085,N,00518.8151,E,1,12,x";
    MainForm->FixTimerTimer();
    EXPECT_EQ(Status(), "No Position Data!");
    EXPECT_EQ(ui.beeps(), 2);

    // With raw display on, the sentence taken is shown.
    Feed(kGga + "\r\n");
    MainForm->FixTimerTimer();
    EXPECT_EQ(Status(), kGga);
}

TEST_F(MainNmeaTest, RmcStatusVShowsRedAndLeavesThePosition)
{
    OpenInterface();
    SelectRmc();
    CurLat = 10;
    CurLon = 20;
    Feed(Sentence("GPRMC,094738,V,5015.0000,N,00130.0000,W,,,200818,,") + "\r\n");
    // Without a chart view only the decoder's indicator shows it.
    MainForm->FixTimerTimer();
    EXPECT_EQ(Indicator(), "GPS");
    EXPECT_EQ(ui.beeps(), 0);
    AddView();
    MainForm->FixTimerTimer();
    EXPECT_FALSE(MainForm->FixValid);
    EXPECT_EQ(CurLat, 10);
    EXPECT_EQ(CurLon, 20);
    EXPECT_EQ(Indicator(), "GPS");
    EXPECT_EQ(IndicatorColour(), 0x0000FFu);
    EXPECT_EQ(Hint(MainForm->GPSIndicator), "No GPS Position|");
    EXPECT_EQ(FixQuality, "0");
    EXPECT_EQ(ui.beeps(), 1);
    // RMC without a variation: none.
    EXPECT_EQ(MagVariation, 0);

    Feed(kRmc + "\r\n");
    MainForm->FixTimerTimer();
    EXPECT_TRUE(MainForm->FixValid);
    EXPECT_EQ(MagVariation, 1);
    EXPECT_EQ(IndicatorColour(), 0x00FF00u);
    EXPECT_EQ(Hint(MainForm->GPSIndicator), "GPS Position|");
    EXPECT_EQ(ui.beeps(), 1);
}

TEST_F(MainNmeaTest, GgaQualitySixIsNoFix)
{
    OpenInterface();
    AddView();
    CurLat = 10;
    Feed(Sentence("GPGGA,094737,5251.0085,N,00518.8151,E,6,12,0.60,-4,M,46.8,M,,") + "\r\n");
    MainForm->FixTimerTimer();
    EXPECT_FALSE(MainForm->FixValid);
    EXPECT_EQ(CurLat, 10);
    EXPECT_EQ(FixQuality, "");
    // Caption "GPS" in red, beep: the invalid-fix display.
    EXPECT_EQ(Indicator(), "GPS");
    EXPECT_EQ(IndicatorColour(), 0x0000FFu);
    EXPECT_EQ(ui.beeps(), 1);
}

TEST_F(MainNmeaTest, ComCapturePointIsTakenOnceAndItsRepeatIgnored)
{
    OpenInterface();
    AddView();
    MainForm->AddChartPoint1->setEnabled(true);
    MainForm->CurrentSentence = "$PSCOM,000000,5048.0000,N,00118.0000,W,0,09";
    LogCount = 5;
    MainForm->ProcessNmeaSentence();
    EXPECT_TRUE(ComTimeZero);
    EXPECT_TRUE(MainForm->FixValid);
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_DOUBLE_EQ(CurLon, 1.3);
    EXPECT_EQ(PrevSentence, MainForm->CurrentSentence);
    EXPECT_EQ(LogCount, 0);
    EXPECT_EQ(ui.beeps(), 1); // the chart point's

    LogCount = 5;
    MainForm->ProcessNmeaSentence();
    EXPECT_EQ(LogCount, 5);
    EXPECT_EQ(ui.beeps(), 1);

    // With point adding disabled the capture still resets the track.
    MainForm->AddChartPoint1->setEnabled(false);
    MainForm->CurrentSentence = "$PSCOM,000000,5048.5000,N,00118.0000,W,0,09";
    MainForm->ProcessNmeaSentence();
    EXPECT_EQ(LogCount, 0);
    EXPECT_EQ(ui.beeps(), 1);
}

TEST_F(MainNmeaTest, ManualFixTakesTheFixWithTheInterfaceOpenOrClosed)
{
    // Closed: straight to the fix cycle with the manual position.
    CurLat = 50.5;
    MainForm->ManualFix();
    EXPECT_EQ(FixStatus, "MAN");
    EXPECT_FALSE(ManualFixFlag);
    EXPECT_DOUBLE_EQ(CurLat, 50.5);
    EXPECT_TRUE(ui.shown().empty());

    // Open: the latest sentence at once.
    OpenInterface();
    Feed(kGga + "\r\n");
    MainForm->ManualFix();
    EXPECT_EQ(FixStatus, "$GPGGA");
    EXPECT_DOUBLE_EQ(CurLat, kGgaLat);
    EXPECT_FALSE(ManualFixFlag);
}

TEST_F(MainNmeaTest, PlaybackShowsMonitorLogsAndSkipsCorruptedLines)
{
    AisPlayback = true;
    AddView();
    MainForm->CurrentSentence = "$KVGGA,120000,5048.0,N,00118.0,W,5,07,0.0,0.0,M,,0000*MON";
    MainForm->ProcessNmeaSentence();
    EXPECT_TRUE(MainForm->FixValid);
    EXPECT_TRUE(MainForm->AISMonitor->isChecked());
    EXPECT_EQ(Indicator(), "MON");
    EXPECT_EQ(IndicatorColour(), 0x0000FFu);
    EXPECT_DOUBLE_EQ(CurLat, 50.8);

    MainForm->CurrentSentence = kRmc;
    MainForm->CurrentSentence[10] ^= 1;
    MainForm->ProcessNmeaSentence();
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_EQ(Indicator(), "MON");

    // An undecodable line plays as an invalid fix, not as an error.
    MainForm->CurrentSentence = "$GPGGA,094737,5251.0085,N,00518.8151,E,1,12,x";
    MainForm->ProcessNmeaSentence();
    EXPECT_EQ(Indicator(), "GPS");
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_TRUE(ui.messages().empty());
}

// ---- AIS lines ---------------------------------------------------------------------------

TEST_F(MainNmeaTest, AisLogHoldsEachNewSentenceAndTheGpsLineWhenItsTimeChanges)
{
    OpenInterface();
    const std::string ais2 = "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A";
    const std::string gga2 = Sentence("GPGGA,094738,5251.0000,N,00518.0000,E,1,12,0.60,-4,M,46.8,M,,");
    // Before any GPS line: the AIS line alone, no empty line.
    Feed(kAis + "\r\n");
    Feed(kGga + "\r\n" + kAis + "\r\n" + kAis + "\r\n" + ais2 + "\r\n");
    // Same GPS time again: not logged again.
    Feed(Sentence("GPGGA,094737,5251.9999,N,00518.8151,E,1,12,0.60,-4,M,46.8,M,,") + "\r\n" + kAis + "\r\n");
    Feed(gga2 + "\r\n" + ais2 + "\r\n");
    // After a no-data warning there is no GPS line to add.
    NoDataExpiry();
    Feed(kAis + "\r\n");
    const std::string expected = "AIS Log Date : 07-12-26\r\n" + kAis + "\r\n" + kGga + "\r\n" + ais2 + "\r\n"
        + kAis + "\r\n" + ais2 + "\r\n" + gga2 + "\r\n" + kAis + "\r\n";
    EXPECT_EQ(AisLog(), expected);

    // Nothing is logged with AIS processing off.
    MainForm->ProcAis->setChecked(false);
    Feed(ais2 + "\r\n");
    EXPECT_EQ(AisLog(), expected);
}

TEST_F(MainNmeaTest, PendingAisLineIsHandledOnceOnly)
{
    OpenInterface();
    MainForm->ShowNMEA->setChecked(true);
    Feed(kAis + "\r\n");
    EXPECT_EQ(Status(), kAis);
    EXPECT_EQ(AisSentence, "");
    // Other lines that follow do not hand it on again.
    MainForm->StatusLine->setText("quiet");
    Feed("$GPGSV,3,1,10\r\n$SDDBT,1.0,f,0.3,M,0.1,F\r\n");
    EXPECT_EQ(Status(), "quiet");
}

TEST_F(MainNmeaTest, AisLogThatCannotBeWrittenStopsNeitherTheLineNorTheTriggers)
{
    OpenInterface();
    // A full disk: no file may grow.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit full = old;
    full.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &full);
    MainForm->ShowNMEA->setChecked(true);
    Feed(kGga + "\r\n" + kAis + "\r\n");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(Status(), kAis);
    EXPECT_EQ(AisLastLogged, ""); // not logged: tried again with the next line
    EXPECT_EQ(AisLog(), "AIS Log Date : 07-12-26\r\n");
    EXPECT_EQ(MainForm->DataTriggerHandle, port.dataHandle);
    EXPECT_EQ(port.calls.back(), "arm 273 on");
    Feed(kAis + "\r\n");
    EXPECT_EQ(AisLog(), "AIS Log Date : 07-12-26\r\n" + kAis + "\r\n" + kGga + "\r\n");

    // No log file at all: the line is processed just the same.
    std::filesystem::remove(dir.file("logs/07-12-26.AIS"));
    MainForm->StatusLine->clear();
    Feed(kAis + "\r\n");
    EXPECT_EQ(Status(), kAis);
    EXPECT_FALSE(dir.exists("logs/07-12-26.AIS"));
}

} // namespace
