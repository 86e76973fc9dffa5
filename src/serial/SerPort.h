#pragma once
// The com-port component: the one face of the serial link that the rest of
// the program sees. The main window owns one as ComPort2: it sets the port
// number and bit rate, opens and closes the port, adds a data trigger on
// carriage return and a no-data timer trigger, reads received bytes inside
// the available-data event and writes NMEA output.
//
// Settings live in properties while the port is closed and are applied to
// the port engine each time it opens; a setting changed while it is open is
// applied at once. Engine failures (negative codes) are raised as the
// exceptions of SerExcept.h.
//
// Events run on the GUI thread: the engine hands each trigger to the
// component's hidden window (TComWindow), which runs it at once when the
// engine's pass runs on the GUI thread, and otherwise through TGuiDelivery,
// waiting for it (at most 3000 ms before it has started). Trigger events
// that arrive while the port is not open (it is closing) are dropped: their
// bytes belong to a port that is going away.
//
// Closing keeps a copy of the port's triggers and the next open puts it back
// (the main window removes its triggers only after closing, which changes
// nothing on a closed port, and finds them again after reopening). A handler
// may close its own port; the close is then finished once the delivery has
// ended.

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "serial/PortDispatcher.h"

namespace serial
{

// The class library's component: the serial components' common base.
class TSerialComponent : public QObject
{
public:
    explicit TSerialComponent(QObject* owner = nullptr);
    std::string Version() const { return "v1.00"; }
    void SetVersion(const std::string&) { }
};

enum class TDeviceLayer { dlWin32, dlWinsock };
enum class TParity { pNone, pOdd, pEven, pMark, pSpace };
// THWFlowOptionSet: a set of these bits.
enum THWFlowOptions : uint8_t { hwfUseDTR = 1, hwfUseRTS = 2, hwfRequireDSR = 4, hwfRequireCTS = 8 };
using THWFlowOptionSet = uint8_t;
enum class TSWFlowOptions { swfNone, swfReceive, swfTransmit, swfBoth };
enum class TTraceLogState { tlOff, tlOn, tlDump, tlAppend, tlClear, tlPause };
enum class TTapiMode { tmNone, tmAuto, tmOn, tmOff };

class TCustomSerialPort;
class TComWindow;

using TNotifyEvent = std::function<void(TCustomSerialPort& sender)>;
using TTriggerEvent
    = std::function<void(TCustomSerialPort& cp, uint16_t msg, uint16_t triggerHandle, uint16_t data)>;
using TTriggerAvailEvent = std::function<void(TCustomSerialPort& cp, uint16_t count)>;
using TTriggerHandleEvent = std::function<void(TCustomSerialPort& cp, uint16_t triggerHandle)>;
using TTriggerDataEvent = TTriggerHandleEvent;
using TTriggerStatusEvent = TTriggerHandleEvent;
using TTriggerTimerEvent = TTriggerHandleEvent;
using TTriggerLineErrorEvent = std::function<void(TCustomSerialPort& cp, uint16_t error, bool lineBreak)>;

class TCustomSerialPort : public TSerialComponent
{
public:
    explicit TCustomSerialPort(QObject* owner = nullptr);
    ~TCustomSerialPort() override;

    // --- properties (getter, setter) ----------------------------------------
    TDeviceLayer DeviceLayer() const { return deviceLayer_; }
    void SetDeviceLayer(TDeviceLayer layer);
    uint16_t ComNumber() const { return comNumber_; }
    void SetComNumber(uint16_t number);
    int32_t Baud() const { return baud_; }
    void SetBaud(int32_t baud);
    bool PromptForPort() const { return promptForPort_; }
    void SetPromptForPort(bool on) { promptForPort_ = on; }
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    uint16_t DataBits() const { return dataBits_; }
    void SetDataBits(uint16_t bits);
    uint16_t StopBits() const { return stopBits_; }
    void SetStopBits(uint16_t bits);
    uint16_t InSize() const { return inSize_; }
    void SetInSize(uint16_t size);
    uint16_t OutSize() const { return outSize_; }
    void SetOutSize(uint16_t size);
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool on) { autoOpen_ = on; }
    bool Open() const { return open_; }
    void SetOpen(bool open);
    bool DTR() const { return dtr_; }
    void SetDTR(bool on);
    bool RTS() const { return rts_; }
    void SetRTS(bool on);
    THWFlowOptionSet HWFlowOptions() const { return hwFlow_; }
    void SetHWFlowOptions(THWFlowOptionSet options);
    TSWFlowOptions SWFlowOptions() const { return swFlow_; }
    void SetSWFlowOptions(TSWFlowOptions options);
    uint8_t XOnChar() const { return xonChar_; }
    void SetXOnChar(uint8_t ch);
    uint8_t XOffChar() const { return xoffChar_; }
    void SetXOffChar(uint8_t ch);
    uint16_t BufferFull() const { return bufferFull_; }
    void SetBufferFull(uint16_t level);
    uint16_t BufferResume() const { return bufferResume_; }
    void SetBufferResume(uint16_t level);
    TTraceLogState Tracing() const { return tracing_; }
    void SetTracing(TTraceLogState state);
    uint32_t TraceSize() const { return traceSize_; }
    void SetTraceSize(uint32_t size);
    std::string TraceName() const { return traceName_; }
    void SetTraceName(const std::string& name) { traceName_ = name; }
    bool TraceHex() const { return traceHex_; }
    void SetTraceHex(bool on) { traceHex_ = on; }
    bool TraceAllHex() const { return traceAllHex_; }
    void SetTraceAllHex(bool on) { traceAllHex_ = on; }
    TTraceLogState Logging() const { return logging_; }
    void SetLogging(TTraceLogState state);
    uint32_t LogSize() const { return logSize_; }
    void SetLogSize(uint32_t size);
    std::string LogName() const { return logName_; }
    void SetLogName(const std::string& name) { logName_ = name; }
    bool LogHex() const { return logHex_; }
    void SetLogHex(bool on) { logHex_ = on; }
    bool LogAllHex() const { return logAllHex_; }
    void SetLogAllHex(bool on) { logAllHex_ = on; }
    // Always true; its setter is an empty slot.
    bool UseMSRShadow() const { return true; }
    virtual void SetUseMSRShadow(bool) { }
    bool UseEventWord() const { return useEventWord_; }
    void SetUseEventWord(bool on);
    uint16_t CommNotificationLevel() const { return commNotificationLevel_; }
    void SetCommNotificationLevel(uint16_t level) { commNotificationLevel_ = level; }
    TTapiMode TapiMode() const { return tapiMode_; }
    void SetTapiMode(TTapiMode mode) { tapiMode_ = mode; }
    bool RS485Mode() const { return rs485_; }
    void SetRS485Mode(bool on);
    // Available-data threshold; 0 switches the available-data event off.
    uint16_t AvailLength() const { return availLength_; }
    void SetAvailLength(uint16_t length);
    uint8_t PriorityBoost() const { return priorityBoost_; }
    void SetPriorityBoost(uint8_t boost);

    // --- events ---------------------------------------------------------------
    void SetOnPortOpen(TNotifyEvent handler) { onPortOpen_ = std::move(handler); }
    void SetOnPortClose(TNotifyEvent handler) { onPortClose_ = std::move(handler); }
    void SetOnTrigger(TTriggerEvent handler);
    void SetOnTriggerAvail(TTriggerAvailEvent handler);
    void SetOnTriggerData(TTriggerDataEvent handler);
    void SetOnTriggerStatus(TTriggerStatusEvent handler);
    void SetOnTriggerTimer(TTriggerTimerEvent handler);
    void SetOnTriggerLineError(TTriggerLineErrorEvent handler);
    void SetOnTriggerModemStatus(TNotifyEvent handler);
    void SetOnTriggerOutbuffFree(TNotifyEvent handler);
    void SetOnTriggerOutbuffUsed(TNotifyEvent handler);
    void SetOnTriggerOutSent(TNotifyEvent handler);

    // --- operations -------------------------------------------------------------
    // A data trigger on up to 21 bytes; the handle, or 0 while closing.
    uint16_t AddDataTrigger(const std::string& data, bool ignoreCase);
    // An inactive timer trigger; the handle, or 0 while closing.
    uint16_t AddTimerTrigger();
    // Activate: a non-zero ticks value (55 ms each) becomes the period and
    // the trigger counts its period from now; otherwise it is deactivated.
    void ArmTimerTrigger(uint16_t handle, int32_t ticks, bool activate);
    // Only while open; handle 1 is the available-data trigger.
    void RemoveTrigger(uint16_t handle);
    // Only while open: every trigger, the available-data threshold (and
    // AvailLength) to 0, handle numbering restarted.
    void RemoveAllTriggers();
    // Inside an available-data or data event the next byte after those
    // already read in it (consumed when the event ends); outside one the next
    // byte, consumed. Byte 0 while closing; EBufferIsEmpty when none is left.
    uint8_t ReadChar();
    // Free output buffer space while open, OutSize otherwise.
    uint16_t OutputFree();
    // Queues the bytes for sending as one block; nothing for an empty text
    // or while closing.
    void WriteString(const std::string& text);
    // While open: what became of the output since the last call (the
    // device's own thread writes it); None otherwise.
    TOutputOutcome TakeOutputOutcome();
    // While open: the oldest pending line error code and whether a break was
    // seen (both taken); 0 / false otherwise.
    int LineError();
    bool LineBreak();
    int ProcessCommunications();
    // Copies the other port's settings, events and (when it is open) its
    // triggers; this port's Open reads false afterwards, nothing is closed.
    void Assign(const TCustomSerialPort& other);

    // The engine, opening the port first when AutoOpen allows it; null while
    // closed. CheckedDispatcher raises ECommNotOpen instead of returning null.
    TPortDispatcher* Dispatcher();
    TPortDispatcher* CheckedDispatcher();
    // The engine as it is, without auto-open (tests and diagnostics).
    TPortDispatcher* Engine() const { return engine_.get(); }
    bool Closing() const { return state_ == PortState::Closing; }

protected:
    virtual std::unique_ptr<TPortDispatcher> CreateDispatcher();
    virtual void DeviceLayerChanged() { }
    virtual int OpenDispatcher();
    virtual void InstallWindowHandler(bool install);
    virtual void EnsurePortNumber();
    virtual void FireTrigger(uint16_t msg, uint16_t triggerHandle, uint16_t data);
    virtual void FireTriggerAvail(uint16_t count);
    virtual void FireTriggerData(uint16_t triggerHandle);
    virtual void FireTriggerStatus(uint16_t triggerHandle);
    virtual void FireTriggerTimer(uint16_t triggerHandle);
    virtual void UpdateHandlerFlags();
    virtual void FireTriggerLineError(uint16_t error, bool lineBreak);
    virtual void FireTriggerModemStatus();
    virtual void FireTriggerOutbuffFree();
    virtual void FireTriggerOutbuffUsed();
    virtual void FireTriggerOutSent();
    virtual void CloseNow();
    virtual void OpenNow();
    virtual void NotifyOpened();
    virtual void NotifyClosed();

private:
    friend class TComWindow;
    enum class PortState { Closed = 0, Closing = 1, Open = 2 };

    // Runs on the GUI thread for each message of the hidden window.
    static void ComWindowProc(uint32_t msg, uint32_t wParam, uint32_t lParam);
    void DeferredClose();
    void FinishClose();
    void ApplyTraceState(TTraceLogState state, bool log);
    void ApplyLine();
    void ReapplyFlow();
    template <class Event> void SetTriggerEvent(Event& slot, Event handler);
    bool IsOpen() const { return state_ == PortState::Open; }
    bool AnyTriggerEvent() const;

    TDeviceLayer deviceLayer_ = TDeviceLayer::dlWin32;
    uint16_t comNumber_ = 0;
    int32_t baud_ = 19200;
    bool promptForPort_ = true;
    TParity parity_ = TParity::pNone;
    uint16_t dataBits_ = 8;
    uint16_t stopBits_ = 1;
    uint16_t inSize_ = 4096;
    uint16_t outSize_ = 4096;
    bool autoOpen_ = true;
    bool open_ = false;
    bool dtr_ = true;
    bool rts_ = true;
    THWFlowOptionSet hwFlow_ = 0;
    TSWFlowOptions swFlow_ = TSWFlowOptions::swfNone;
    uint8_t xonChar_ = 17;
    uint8_t xoffChar_ = 19;
    uint16_t bufferFull_ = 0;
    uint16_t bufferResume_ = 0;
    TTraceLogState tracing_ = TTraceLogState::tlOff;
    uint32_t traceSize_ = 10000;
    std::string traceName_ = "SERIAL.TRC";
    bool traceHex_ = true;
    bool traceAllHex_ = false;
    TTraceLogState logging_ = TTraceLogState::tlOff;
    uint32_t logSize_ = 10000;
    std::string logName_ = "SERIAL.LOG";
    bool logHex_ = true;
    bool logAllHex_ = false;
    bool useEventWord_ = true;
    uint16_t commNotificationLevel_ = 10;
    TTapiMode tapiMode_ = TTapiMode::tmAuto;
    bool rs485_ = false;
    uint16_t availLength_ = 1;
    uint8_t priorityBoost_ = 0;

    TNotifyEvent onPortOpen_, onPortClose_;
    TTriggerEvent onTrigger_;
    TTriggerAvailEvent onTriggerAvail_;
    TTriggerDataEvent onTriggerData_;
    TTriggerStatusEvent onTriggerStatus_;
    TTriggerTimerEvent onTriggerTimer_;
    TTriggerLineErrorEvent onTriggerLineError_;
    TNotifyEvent onTriggerModemStatus_, onTriggerOutbuffFree_, onTriggerOutbuffUsed_, onTriggerOutSent_;

    PortState state_ = PortState::Closed;
    bool force_ = false;
    int handlerDepth_ = 0; // handlers of this port running now (GUI thread)
    bool deferredOpen_ = false;
    bool triggersSaved_ = false;
    SavedTriggers savedTriggers_;
    std::unique_ptr<TPortDispatcher> engine_;
    std::unique_ptr<TComWindow> window_;
};

// The component as the forms use it: TCustomSerialPort with its properties
// and events published; it adds nothing.
class TSerialPort : public TCustomSerialPort
{
public:
    using TCustomSerialPort::TCustomSerialPort;
};

} // namespace serial
