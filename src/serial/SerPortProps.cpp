// TCustomSerialPort: the property setters, the event setters and Assign.
//
// Every setter stores its value and, while the port is open, applies it to
// the engine at once (a failure raises). While the force flag is set (at
// open, and when the flow levels change) a setter applies its value even
// when it equals the stored one.
#include "serial/SerPort.h"

#include "serial/SerExcept.h"

namespace serial
{

namespace
{

constexpr uint32_t MaxTraceSize = 4000000;
constexpr uint32_t MaxLogSize = 16000000;
constexpr uint32_t EventWordFlag = 0x10; // engine option flag bit 4

bool Running(TTraceLogState state)
{
    return state == TTraceLogState::tlOn || state == TTraceLogState::tlPause;
}

// The engine's software flow mask: 1 transmit side, 2 receive side.
int SoftwareFlowMask(TSWFlowOptions options)
{
    switch (options) {
    case TSWFlowOptions::swfReceive:
        return 2;
    case TSWFlowOptions::swfTransmit:
        return 1;
    case TSWFlowOptions::swfBoth:
        return 3;
    default:
        return 0;
    }
}

} // namespace

void TCustomSerialPort::SetDeviceLayer(TDeviceLayer layer)
{
    // dlWin32 is the only layer this component supports.
    if (IsOpen() || layer == deviceLayer_ || layer != TDeviceLayer::dlWin32)
        return;
    deviceLayer_ = layer;
    DeviceLayerChanged();
}

void TCustomSerialPort::SetComNumber(uint16_t number)
{
    if (number == comNumber_)
        return;
    if (!IsOpen()) {
        comNumber_ = number;
        return;
    }
    // Reopen on the new number with the same triggers, trace and log.
    const TTraceLogState tracing = tracing_;
    const TTraceLogState logging = logging_;
    CloseNow(); // keeps the triggers for the next open
    comNumber_ = number;
    SetTracing(tracing);
    SetLogging(logging);
    SetOpen(true);
}

void TCustomSerialPort::ApplyLine()
{
    if (IsOpen())
        RaiseForErrorCode(
            engine_->SetLine(static_cast<uint32_t>(baud_), static_cast<int>(parity_), dataBits_, stopBits_));
}

void TCustomSerialPort::SetBaud(int32_t baud)
{
    if (baud == baud_ && !force_)
        return;
    baud_ = baud;
    ApplyLine();
}

void TCustomSerialPort::SetParity(TParity parity)
{
    if (parity == parity_ && !force_)
        return;
    parity_ = parity;
    ApplyLine();
}

void TCustomSerialPort::SetDataBits(uint16_t bits)
{
    if (bits == dataBits_ && !force_)
        return;
    dataBits_ = bits;
    ApplyLine();
}

void TCustomSerialPort::SetStopBits(uint16_t bits)
{
    if (bits == stopBits_ && !force_)
        return;
    stopBits_ = bits;
    ApplyLine();
}

void TCustomSerialPort::SetInSize(uint16_t size)
{
    inSize_ = size;
    if (IsOpen())
        engine_->SetupQueues(inSize_, outSize_);
}

void TCustomSerialPort::SetOutSize(uint16_t size)
{
    outSize_ = size;
    if (IsOpen())
        engine_->SetupQueues(inSize_, outSize_);
}

void TCustomSerialPort::SetDTR(bool on)
{
    if (on == dtr_ && !force_)
        return;
    // 1: DTR follows the handshake; the request is ignored.
    if (IsOpen() && RaiseForErrorCode(engine_->SetDTRLine(on)) == 1)
        return;
    dtr_ = on;
}

void TCustomSerialPort::SetRTS(bool on)
{
    if (on == rts_ && !force_)
        return;
    if (IsOpen() && RaiseForErrorCode(engine_->SetRTSLine(on)) == 1)
        return;
    rts_ = on;
}

void TCustomSerialPort::SetHWFlowOptions(THWFlowOptionSet options)
{
    if (options == hwFlow_ && !force_)
        return;
    if (options != 0) {
        if (bufferFull_ == 0 || bufferFull_ > inSize_)
            bufferFull_ = static_cast<uint16_t>(inSize_ * 9 / 10);
        if (bufferResume_ == 0 || bufferResume_ > bufferFull_)
            bufferResume_ = static_cast<uint16_t>(inSize_ / 10);
    }
    if (IsOpen())
        RaiseForErrorCode(engine_->SetHardwareFlow(bufferFull_, bufferResume_, options));
    hwFlow_ = options;
    if (options & (hwfUseRTS | hwfRequireCTS))
        SetRS485Mode(false);
}

void TCustomSerialPort::SetSWFlowOptions(TSWFlowOptions options)
{
    if (options == swFlow_ && !force_)
        return;
    const int mask = SoftwareFlowMask(options);
    if (mask != 0) {
        if (bufferFull_ == 0 || bufferFull_ > inSize_)
            bufferFull_ = static_cast<uint16_t>(inSize_ * 3 / 4);
        if (bufferResume_ == 0 || bufferResume_ > bufferFull_)
            bufferResume_ = static_cast<uint16_t>(inSize_ / 4);
    }
    if (IsOpen()) {
        if (mask != 0)
            RaiseForErrorCode(engine_->SetSoftwareFlow(bufferFull_, bufferResume_, mask));
        else
            RaiseForErrorCode(engine_->SoftwareFlowOff());
    }
    swFlow_ = options;
}

void TCustomSerialPort::SetXOnChar(uint8_t ch)
{
    if (ch == xonChar_ && !force_)
        return;
    xonChar_ = ch;
    if (IsOpen())
        RaiseForErrorCode(engine_->SetFlowChars(xonChar_, xoffChar_));
}

void TCustomSerialPort::SetXOffChar(uint8_t ch)
{
    if (ch == xoffChar_ && !force_)
        return;
    xoffChar_ = ch;
    if (IsOpen())
        RaiseForErrorCode(engine_->SetFlowChars(xonChar_, xoffChar_));
}

void TCustomSerialPort::ReapplyFlow()
{
    const bool force = force_;
    force_ = true;
    try {
        SetHWFlowOptions(hwFlow_);
        SetSWFlowOptions(swFlow_);
    } catch (...) {
        force_ = force;
        throw;
    }
    force_ = force;
}

void TCustomSerialPort::SetBufferFull(uint16_t level)
{
    bufferFull_ = level > inSize_ ? static_cast<uint16_t>(inSize_ * 9 / 10) : level;
    ReapplyFlow();
}

void TCustomSerialPort::SetBufferResume(uint16_t level)
{
    bufferResume_ = level > bufferFull_ ? static_cast<uint16_t>(bufferFull_ / 10) : level;
    ReapplyFlow();
}

// The trace (log false) or the dispatch log (log true) follows a requested
// state; see the header for the states.
void TCustomSerialPort::ApplyTraceState(TTraceLogState state, bool log)
{
    TTraceLogState& current = log ? logging_ : tracing_;
    if (state == current && !force_)
        return;
    if (!IsOpen()) {
        current = state == TTraceLogState::tlOn ? TTraceLogState::tlOn : TTraceLogState::tlOff;
        return;
    }
    TPortDispatcher& engine = *engine_;
    switch (state) {
    case TTraceLogState::tlOff:
        if (Running(current))
            log ? engine.StopLogging() : engine.StopTracing();
        current = TTraceLogState::tlOff;
        break;
    case TTraceLogState::tlOn:
        if (current == TTraceLogState::tlPause)
            log ? engine.ResumeLogging() : engine.ResumeTracing();
        else
            RaiseForErrorCode(log ? engine.StartLogging(logSize_) : engine.StartTracing(traceSize_));
        current = TTraceLogState::tlOn;
        break;
    case TTraceLogState::tlDump:
    case TTraceLogState::tlAppend:
        if (Running(current)) {
            const bool append = state == TTraceLogState::tlAppend;
            current = TTraceLogState::tlOff;
            if (log) {
                engine.ResumeLogging();
                RaiseForErrorCode(engine.DumpLog(logName_, append, logHex_, logAllHex_));
            } else {
                engine.ResumeTracing();
                RaiseForErrorCode(engine.DumpTrace(traceName_, append, traceHex_, traceAllHex_));
            }
        }
        break;
    case TTraceLogState::tlClear:
        if (Running(current))
            log ? engine.ClearLogging() : engine.ClearTracing();
        break;
    case TTraceLogState::tlPause:
        if (current == TTraceLogState::tlOn) {
            log ? engine.PauseLogging() : engine.PauseTracing();
            current = TTraceLogState::tlPause;
        }
        break;
    }
}

void TCustomSerialPort::SetTracing(TTraceLogState state)
{
    ApplyTraceState(state, false);
}

void TCustomSerialPort::SetLogging(TTraceLogState state)
{
    ApplyTraceState(state, true);
}

void TCustomSerialPort::SetTraceSize(uint32_t size)
{
    traceSize_ = std::min(size, MaxTraceSize);
    if (IsOpen() && Running(tracing_)) {
        const TTraceLogState state = tracing_;
        ApplyTraceState(TTraceLogState::tlOff, false);
        ApplyTraceState(state, false);
    }
}

void TCustomSerialPort::SetLogSize(uint32_t size)
{
    logSize_ = std::min(size, MaxLogSize);
    if (IsOpen() && Running(logging_)) {
        const TTraceLogState state = logging_;
        ApplyTraceState(TTraceLogState::tlOff, true);
        ApplyTraceState(state, true);
    }
}

void TCustomSerialPort::SetUseEventWord(bool on)
{
    if (on == useEventWord_ && !force_)
        return;
    useEventWord_ = on;
    if (IsOpen()) {
        const uint32_t flags = engine_->OptionFlags();
        engine_->SetOptionFlags(on ? flags | EventWordFlag : flags & ~EventWordFlag);
    }
}

void TCustomSerialPort::SetRS485Mode(bool on)
{
    if (on == rs485_ && !force_)
        return;
    rs485_ = on;
    if (IsOpen())
        engine_->SetRS485Mode(on);
    if (on) {
        // RS-485 drives RTS itself: no RTS handshake, RTS off between sends.
        SetHWFlowOptions(hwFlow_ & ~(hwfUseRTS | hwfRequireCTS));
        SetRTS(false);
    }
}

void TCustomSerialPort::SetAvailLength(uint16_t length)
{
    availLength_ = length;
    if (IsOpen())
        engine_->SetAvailTrigger(length);
}

void TCustomSerialPort::SetPriorityBoost(uint8_t boost)
{
    priorityBoost_ = boost;
    if (IsOpen())
        engine_->SetThreadBoost(boost);
}

// --- events -----------------------------------------------------------------------

// Setting a trigger event tells the engine whether the port's own window
// wants trigger messages at all.
template <class Event> void TCustomSerialPort::SetTriggerEvent(Event& slot, Event handler)
{
    slot = std::move(handler);
    UpdateHandlerFlags();
}

void TCustomSerialPort::SetOnTrigger(TTriggerEvent handler)
{
    SetTriggerEvent(onTrigger_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerAvail(TTriggerAvailEvent handler)
{
    SetTriggerEvent(onTriggerAvail_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerData(TTriggerDataEvent handler)
{
    SetTriggerEvent(onTriggerData_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerStatus(TTriggerStatusEvent handler)
{
    SetTriggerEvent(onTriggerStatus_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerTimer(TTriggerTimerEvent handler)
{
    SetTriggerEvent(onTriggerTimer_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerLineError(TTriggerLineErrorEvent handler)
{
    SetTriggerEvent(onTriggerLineError_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerModemStatus(TNotifyEvent handler)
{
    SetTriggerEvent(onTriggerModemStatus_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerOutbuffFree(TNotifyEvent handler)
{
    SetTriggerEvent(onTriggerOutbuffFree_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerOutbuffUsed(TNotifyEvent handler)
{
    SetTriggerEvent(onTriggerOutbuffUsed_, std::move(handler));
}

void TCustomSerialPort::SetOnTriggerOutSent(TNotifyEvent handler)
{
    SetTriggerEvent(onTriggerOutSent_, std::move(handler));
}

// --- Assign ---------------------------------------------------------------------------

void TCustomSerialPort::Assign(const TCustomSerialPort& other)
{
    if (&other == this)
        return;
    if (other.IsOpen()) {
        TPortDispatcher::FreeSavedTriggers(savedTriggers_);
        other.engine_->SaveTriggers(savedTriggers_);
        triggersSaved_ = true;
    }
    force_ = other.force_;
    deviceLayer_ = other.deviceLayer_;
    comNumber_ = other.comNumber_;
    baud_ = other.baud_;
    parity_ = other.parity_;
    dataBits_ = other.dataBits_;
    stopBits_ = other.stopBits_;
    inSize_ = other.inSize_;
    outSize_ = other.outSize_;
    autoOpen_ = other.autoOpen_;
    promptForPort_ = other.promptForPort_;
    rs485_ = other.rs485_;
    priorityBoost_ = other.priorityBoost_;
    dtr_ = other.dtr_;
    rts_ = other.rts_;
    bufferFull_ = other.bufferFull_;
    bufferResume_ = other.bufferResume_;
    hwFlow_ = other.hwFlow_;
    swFlow_ = other.swFlow_;
    xonChar_ = other.xonChar_;
    xoffChar_ = other.xoffChar_;
    tracing_ = other.tracing_;
    traceSize_ = other.traceSize_;
    traceName_ = other.traceName_;
    traceHex_ = other.traceHex_;
    traceAllHex_ = other.traceAllHex_;
    logging_ = other.logging_;
    logSize_ = other.logSize_;
    logName_ = other.logName_;
    logHex_ = other.logHex_;
    logAllHex_ = other.logAllHex_;
    availLength_ = other.availLength_;
    SetOnTrigger(other.onTrigger_);
    SetOnTriggerAvail(other.onTriggerAvail_);
    SetOnTriggerData(other.onTriggerData_);
    SetOnTriggerStatus(other.onTriggerStatus_);
    SetOnTriggerTimer(other.onTriggerTimer_);
    onPortOpen_ = other.onPortOpen_;
    onPortClose_ = other.onPortClose_;
    tapiMode_ = other.tapiMode_;
    open_ = false;
}

} // namespace serial
