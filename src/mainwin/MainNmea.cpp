// NMEA input: the bytes of the serial port become lines, the latest line of
// the selected GPS sentence ("$GPGGA" or "$GPRMC") waits for the next fix
// tick, "!AIVDM" lines are logged and handed to the AIS path, and silence on
// the port is reported. Also the NMEA interface command, the fix tick, the
// manual fix and the decoding of a sentence into the present position.
//
// The serial component delivers, for each line, an available-data event
// with the bytes before the carriage return and then a data-trigger event
// for the carriage return itself; the line feed of a CR LF pair arrives at
// the head of the next line's bytes and is dropped there. A line ended by a
// line feed alone is found in the bytes themselves (nav/NmeaLine.h).

#include "mainwin/ComPortLink.h"
#include "mainwin/Main.h"

#include "dialogs/GlobalDlg.h"
#include "nav/DailyLogs.h"
#include "nav/NavState.h"
#include "nav/NmeaDecode.h"
#include "nav/NmeaField.h"
#include "nav/NmeaLine.h"
#include "platform/Guarded.h"
#include "platform/QtColour.h"
#include "platform/QtHeldBoxes.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"
#include "serial/SerPort.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTime>
#include <QToolButton>
#include <exception>
#include <filesystem>
#include <stdexcept>

namespace
{

// No-data timer periods in ticks of 55 ms: 15 s after each line, then the
// warning repeats every 10 s.
constexpr int32_t kNoDataTicks = 273;
constexpr int32_t kNoDataRepeatTicks = 182;

// The GPS sentence of the AIS monitor mode: a GGA with quality 5 at the
// present position and time.
const char* const kMonitorSentence = "$KVGGA,@t,@p:3,5,07,0.0,0.0,M,,0000*MON";

// The GPS sentence the preferences' "NMEA Sentence" selects: item 0 "GGA",
// item 1 "RMC".
std::string SelectedGpsSentence()
{
    const int item = GlobalSettings.Sent;
    return item == 1 ? "$GPRMC" : item == 0 ? "$GPGGA" : "";
}

} // namespace

void TMainForm::SetUpNmeaInput()
{
    comPort2_ = std::make_shared<serial::TSerialPort>();
    ComPort2 = comPort2_.get();
    // Only the commands here open the port, always with its triggers: an
    // operation on a closed port never opens it behind the window's back.
    ComPort2->SetAutoOpen(false);
    // A box that a line brings (a log that cannot be written, an error)
    // comes once the port's event is over: the port goes on being read.
    const auto held = [this](auto handler) {
        const platform::HeldBoxes boxes;
        platform::guardedIn(this, handler);
    };
    ComPort2->SetOnTriggerAvail([this, held](serial::TCustomSerialPort&, uint16_t count) {
        held([&] { ComPort2TriggerAvail(count); });
    });
    ComPort2->SetOnTriggerData([this, held](serial::TCustomSerialPort&, uint16_t handle) {
        held([&] { ComPort2TriggerData(handle); });
    });
    ComPort2->SetOnTriggerTimer([this, held](serial::TCustomSerialPort&, uint16_t handle) {
        held([&] { ComPort2TriggerTimer(handle); });
    });
    comPort2Link_ = std::make_shared<TComPortAdapter<serial::TSerialPort>>(*ComPort2);
    ComPortLink = comPort2Link_.get();

    Bind(NMEAServerOnOff, &TMainForm::NMEAServerOnOffClick);
    Bind(Nserver, &TMainForm::NMEAServerOnOffClick);
    Bind(FixBtn, &TMainForm::ManualFix, Boxes::AfterHandler);
    Bind(AutoFix1, &TMainForm::ManualFix, Boxes::AfterHandler);
    Bind(FixTimer, &TMainForm::FixTimerTimer, Boxes::AfterHandler);
    ShowGpsUnknown();
}

TComPortLink& TMainForm::Port() const
{
    if (!ComPortLink)
        throw std::logic_error("no serial component");
    return *ComPortLink;
}

void TMainForm::SetGpsIndicatorColour(uint32_t bgr)
{
    QPalette palette = GPSIndicator->palette();
    palette.setColor(QPalette::WindowText, platform::QColorFromBgr(bgr));
    GPSIndicator->setPalette(palette);
}

void TMainForm::ShowGpsUnknown()
{
    GPSIndicator->setText("GPS ?");
    SetGpsIndicatorColour(nav::kIndicatorSilver);
    SetHint(GPSIndicator, "GPS and position data status|");
}

// ---- The serial port -------------------------------------------------------

void TMainForm::OpenComPort()
{
    TComPortLink& port = Port();
    port.SetComNumber(static_cast<uint16_t>(ComPort));
    port.SetBaud(BaudRate);
    port.SetOpen(true);
    port.SetAvailLength(1);
    DataTriggerHandle = port.AddDataTrigger("\r", false);
    TimerTriggerHandle = port.AddTimerTrigger();
    port.ArmTimerTrigger(TimerTriggerHandle, kNoDataTicks, true);
}

void TMainForm::CloseComPort()
{
    if (!ComPortLink)
        return;
    ComPortLink->SetOpen(false);
    ComPortLink->RemoveAllTriggers();
    ComPortLink->SetAvailLength(0);
}

void TMainForm::TryOpenComPort()
{
    if (ComPort <= 0)
        return;
    try {
        OpenComPort();
        NmeaDataSeen = true;
    } catch (const platform::DialogRefused&) {
        throw;
    } catch (...) {
        // A port left half open (open, but without its triggers) would take
        // data that nothing reads: close it again.
        try {
            CloseComPort();
        } catch (...) {
        }
        platform::MessageWarning("COM Port not availible or does not exist! Click OK and try Again");
    }
}

bool TMainForm::ComPortOpen() const
{
    return ComPortLink && ComPortLink->AvailLength() != 0;
}

void TMainForm::ComPort2TriggerAvail(uint16_t Count)
{
    TComPortLink& port = Port();
    std::string bytes(Count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(port.ReadChar());
    const nav::NmeaLineBytes got = nav::AppendNmeaLineBytes(SerialLineBuffer, bytes);
    if (got.overflowed)
        NoteNmeaData();
    // Lines ended by a line feed alone: each is taken as at a carriage return.
    std::exception_ptr failure;
    for (const std::string& line : got.lines)
        if (TakeNmeaLine(line, failure))
            NoteNmeaData();
    if (failure)
        std::rethrow_exception(failure);
}

void TMainForm::ComPort2TriggerData(uint16_t TriggerHandle)
{
    if (TriggerHandle != DataTriggerHandle)
        return;
    const std::string line = SerialLineBuffer;
    SerialLineBuffer.clear();
    std::exception_ptr failure;
    const bool intact = TakeNmeaLine(line, failure);
    // The triggers are re-armed whatever became of the line: without them no
    // further line would ever be read.
    TComPortLink& port = Port();
    port.RemoveTrigger(TriggerHandle);
    DataTriggerHandle = port.AddDataTrigger("\r", false);
    if (intact)
        NoteNmeaData();
    if (failure)
        std::rethrow_exception(failure);
}

bool TMainForm::TakeNmeaLine(const std::string& line, std::exception_ptr& failure)
{
    // A line whose checksum does not match, or that puts the vessel where no
    // one can be, was corrupted on the wire: it is dropped as if it had not
    // come, so it neither moves the vessel nor counts as data for the
    // no-data warning.
    if (!nav::NmeaLineIntact(line))
        return false;
    try {
        RouteNmeaLine(line);
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    return true;
}

void TMainForm::NoteNmeaData()
{
    Port().ArmTimerTrigger(TimerTriggerHandle, kNoDataTicks, true);
    NmeaDataSeen = true;
}

void TMainForm::RouteNmeaLine(const std::string& line)
{
    const std::string kind = line.substr(0, 6);
    const std::string gps = SelectedGpsSentence();
    if (!gps.empty() && kind == gps) {
        LastSentence = line;
        ++gpsLinesIn_;
        AisSentence.clear();
    } else if (kind == "!AIVDM") {
        AisSentence = line;
    }
    if (!ProcAis->isChecked() || !AisSentence.starts_with("!AIVDM"))
        return;
    // Each AIS line is processed once, on its own arrival; it does not wait
    // to be handed on again with the lines that follow it.
    const std::string sentence = AisSentence;
    try {
        if (ShowNMEA->isChecked())
            StatusLine->setText(qs(sentence));
        LogAisSentence(sentence);
        AssembleAivdm(sentence);
        UpdateAisTargets();
    } catch (...) {
        AisSentence.clear();
        throw;
    }
    AisSentence.clear();
}

void TMainForm::LogAisSentence(const std::string& sentence)
{
    // The day's AIS log, created at start with its header and made anew with
    // it when it has gone; a log that cannot be written is skipped (and said
    // so), tried again at the next sentence, and the line still processed.
    const std::string path = LogsFile(LogBaseName.str() + ".AIS");
    AisLogGpsSentence = LastSentence;
    std::vector<std::string> lines;
    const bool newAis = sentence != AisLastLogged;
    if (newAis)
        lines.push_back(sentence);
    // The GPS sentence follows when its time has changed; there is none
    // after a no-data warning, and an empty line is never written.
    const std::string gpsTime = nav::GetNmeaField(AisLogGpsSentence, 1);
    const bool newGps = !AisLogGpsSentence.empty() && gpsTime != AisLogTime;
    if (newGps)
        lines.push_back(AisLogGpsSentence);
    if (lines.empty())
        return;
    const bool written = AppendToDailyLog(path, AisLogHeader(LogBaseName.str()), lines);
    ReportLogWrite(written, aisLogFailing_, platform::MessageKind::Warning, "Error Writing AIS Log");
    if (!written)
        return;
    if (newAis)
        AisLastLogged = sentence;
    if (newGps)
        AisLogTime = gpsTime;
}

void TMainForm::ComPort2TriggerTimer(uint16_t TriggerHandle)
{
    if (TriggerHandle != TimerTriggerHandle)
        return;
    TComPortLink& port = Port();
    StatusLine->setText(qs("No NMEA data on COM" + std::to_string(port.ComNumber())));
    LastSentence.clear();
    // One beep when the data stops, not one every 10 s.
    if (NmeaDataSeen)
        platform::Beep();
    port.ArmTimerTrigger(TimerTriggerHandle, kNoDataRepeatTicks, true);
    NmeaDataSeen = false;
}

// ---- The NMEA interface command ----------------------------------------------

void TMainForm::CloseNmeaInterface()
{
    StatusLine->clear();
    Nserver->setChecked(false);
    FixTimer->setInterval(0);
    FixTimer->setEnabled(false);
    CloseComPort();
    NmeaOpen = false;
    portOutputFailing_ = false;
    ClearNavPanel();
}

void TMainForm::MarkNmeaInterfaceOpen()
{
    NMEAServerOnOff->setChecked(true);
    SetHint(NMEAServerOnOff, "Close NMEA interface|");
    Nserver->setChecked(true);
    FixTimer->setInterval(FixIntervalMs);
    FixTimer->setEnabled(true);
    NmeaOpen = true;
    UpdateMenuItems();
    DRMode = false;
    StatusLine->clear();
    DRMode1->setChecked(false);
    PlayAISlog->setEnabled(false);
    // The shore-station mode of a played-back log is not the receiver's:
    // live fixes are followed.
    AISMonitor->setChecked(false);
}

void TMainForm::NMEAServerOnOffClick()
{
    // While a log plays back the interface stays shut, from the menu as from
    // the greyed button: a played-back fix would go out to the autopilot as
    // a live one.
    if (!NmeaOpen && !AisPlayback) {
        // Relative paths of the serial component's trace files are taken in
        // the application folder; a folder that is gone changes nothing.
        std::error_code ignored;
        std::filesystem::current_path(AppFolder, ignored);
        TryOpenComPort();
        if (ComPortOpen()) {
            MarkNmeaInterfaceOpen();
            platform::MessageInformation("NMEA Interface Open!");
        }
    } else if (NmeaOpen && platform::AskYesNo("Close NMEA interface! - Are you sure?")) {
        SetHint(NMEAServerOnOff, "Open NMEA interface|");
        CloseNmeaInterface();
        platform::Beep();
        PlayAISlog->setEnabled(true);
        platform::MessageInformation("NMEA Interface Closed!");
        ShowGpsUnknown();
    }
    // The button and the menu item show the state, also when the command
    // changed nothing.
    NMEAServerOnOff->setChecked(NmeaOpen);
    Nserver->setChecked(NmeaOpen);
}

// ---- Fix tick, manual fix and decoding --------------------------------------------

void TMainForm::FixTimerTimer()
{
    TimePanel->setText(QTime::currentTime().toString("HH:mm:ss"));
    if (!NmeaOpen || DRMode) {
        FixBtnClick();
        return;
    }
    try {
        const bool monitor = AISMonitor->isChecked();
        // A tick makes a fix only of a line that came in since the last
        // tick took one: a position that did not come again is not logged
        // and sent again as if new. A manual fix takes the last line anyway.
        if (!monitor && !ManualFixFlag && !LastSentence.empty() && LastSentence == takenSentence_
            && gpsLinesIn_ == gpsLinesTaken_)
            return;
        CurrentSentence = monitor ? ExpandTemplate(kMonitorSentence) : LastSentence;
        if (!monitor) {
            takenSentence_ = LastSentence;
            gpsLinesTaken_ = gpsLinesIn_;
        }
        if (ShowNMEA->isChecked())
            StatusLine->setText(qs(CurrentSentence));
        else
            StatusLine->clear();
        if (CurrentSentence.empty())
            ShowNoPositionData();
        else
            ProcessNmeaSentence();
    } catch (const platform::DialogRefused&) {
        throw;
    } catch (...) {
        ShowNoPositionData();
    }
}

void TMainForm::ShowNoPositionData()
{
    platform::Beep();
    StatusLine->setText("No Position Data!");
    SetGpsIndicatorColour(nav::kIndicatorRed);
}

void TMainForm::ManualFix()
{
    FixStatus = "MAN";
    ManualFixFlag = true;
    try {
        FixTimerTimer();
    } catch (...) {
        ManualFixFlag = false;
        throw;
    }
    ManualFixFlag = false;
}

std::string TMainForm::GetSentenceField(int n) const
{
    return nav::GetNmeaField(CurrentSentence, n);
}

bool TMainForm::DecodeNmeaSentence()
{
    SentenceTimeText.clear();
    FixQuality.clear();
    GPSIndicator->clear();
    FixValid = false;
    const nav::NmeaDecodeResult decode = nav::DecodeNmeaSentence(CurrentSentence, AisPlayback);
    if (decode.failed)
        return false;
    nav::ApplyNmeaDecode(decode);
    SentenceTimeText = decode.timeText;
    FixValid = decode.fixValid;
    GPSIndicator->setText(qs(decode.caption));
    if (decode.colour)
        SetGpsIndicatorColour(*decode.colour);
    if (decode.hint)
        SetHint(GPSIndicator, qs(*decode.hint));
    if (decode.monitorLog)
        AISMonitor->setChecked(true);
    return true;
}

void TMainForm::ShowInvalidFix()
{
    ClearNavPanel();
    GPSIndicator->setText("GPS");
    platform::Beep();
    SetGpsIndicatorColour(nav::kIndicatorRed);
}

void TMainForm::ProcessNmeaSentence()
{
    // Played-back lines come from files: a corrupted one is skipped as the
    // live input skips it.
    if (!nav::NmeaLineIntact(CurrentSentence))
        return;
    FixStatus = CurrentSentence.substr(0, 6);
    if (!DecodeNmeaSentence() && NmeaOpen)
        throw std::runtime_error("Unreadable sentence: " + CurrentSentence);
    if (FixValid) {
        CurLat = GpsLat;
        CurLon = GpsLon;
    }
    if (MDIChildCount() == 0)
        return;
    if (!NmeaOpen) {
        // AIS log playback
        if (FixValid)
            FixBtnClick();
        else
            ShowInvalidFix();
        return;
    }
    if (!ComTimeZero && FixValid)
        FixBtnClick();
    if (!FixValid)
        ShowInvalidFix();
    if (ComTimeZero && FixValid && CurrentSentence != PrevSentence) {
        // Chart-point capture: each new captured point once.
        FixBtnClick();
        PrevSentence = CurrentSentence;
        LogCount = 0;
        if (AddChartPoint1->isEnabled()) {
            AddChartPoint1Click();
            platform::Beep();
        }
    }
}
