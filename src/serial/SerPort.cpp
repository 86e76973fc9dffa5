// TCustomSerialPort: opening and closing, the hidden window's event delivery
// and the operations the program calls. The property setters are in
// SerPortProps.cpp.
#include "serial/SerPort.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <set>

#include "platform/SerialDevice.h"
#include "platform/Ui.h"
#include "serial/GuiDelivery.h"
#include "serial/SerExcept.h"
#include "serial/SerSelCom.h"
#include "serial/Win32Dispatcher.h"

namespace serial
{

TSerialComponent::TSerialComponent(QObject* owner)
    : QObject(owner)
{
}

// The component's hidden window: receives the engine's trigger messages on
// the dispatch thread and runs them on the GUI thread. It keeps no state of
// its own, so nothing of it is touched once a delivery has been handed over.
class TComWindow : public TTriggerWindow
{
public:
    void SendTrigger(uint32_t message, uint32_t wParam, uint32_t lParam) override
    {
        TGuiDelivery::Instance().Run(
            [message, wParam, lParam] { TCustomSerialPort::ComWindowProc(message, wParam, lParam); });
    }
};

namespace
{

// Components alive now; an engine's owner is used only while it is one of
// them. Guarded by the engine-list lock.
std::set<const TCustomSerialPort*>& LivePorts()
{
    static std::set<const TCustomSerialPort*> ports;
    return ports;
}

// Shows an error raised inside an event handler; the program goes on.
void ShowHandlerError(const std::string& text)
{
    if (!TGuiDelivery::OnGuiThread())
        return;
    try {
        platform::MessageError(text);
    } catch (...) {
    }
}

// Frees an engine whose delivery is still running (its component was
// destroyed from inside one of its own handlers) once the delivery is over.
void FreeWhenIdle(TPortDispatcher* engine)
{
    if (!engine->Delivering() || !QCoreApplication::instance()) {
        delete engine;
        return;
    }
    QTimer::singleShot(10, QCoreApplication::instance(), [engine] { FreeWhenIdle(engine); });
}

constexpr int DeferredCloseRetryMs = 10;

} // namespace

TCustomSerialPort::TCustomSerialPort(QObject* owner)
    : TSerialComponent(owner)
{
    TGuiDelivery::Instance().Attach();
    std::lock_guard guard(TPortDispatcher::EngineListLock());
    LivePorts().insert(this);
}

TCustomSerialPort::~TCustomSerialPort()
{
    {
        std::lock_guard guard(TPortDispatcher::EngineListLock());
        LivePorts().erase(this);
    }
    try {
        CloseNow();
    } catch (...) {
    }
    if (engine_) {
        InstallWindowHandler(false);
        FreeWhenIdle(engine_.release());
    }
}

// --- opening ------------------------------------------------------------------

void TCustomSerialPort::EnsurePortNumber()
{
    if (comNumber_ != 0)
        return;
    if (!promptForPort_)
        RaiseForErrorCode(ecNoPortSelected);
    TComSelectForm form;
    // An empty list gives no port, whichever button closed the dialog.
    if (platform::ui().showModal(form) != platform::ModalResult::Ok || form.SelectedComNumber() == 0)
        RaiseForErrorCode(ecNoPortSelected);
    comNumber_ = form.SelectedComNumber();
}

std::unique_ptr<TPortDispatcher> TCustomSerialPort::CreateDispatcher()
{
    if (deviceLayer_ != TDeviceLayer::dlWin32)
        RaiseForErrorCode(ecNullApi);
    return std::make_unique<TWin32Dispatcher>(this);
}

int TCustomSerialPort::OpenDispatcher()
{
    uint8_t control = 0;
    if (dtr_)
        control |= 0x01;
    if (rts_)
        control |= 0x02;
    if (hwFlow_ & hwfUseDTR)
        control |= 0x10;
    if (hwFlow_ & hwfUseRTS)
        control |= 0x20;
    return engine_->OpenPort(platform::SerialDeviceName(comNumber_), static_cast<uint32_t>(baud_), control,
        outSize_, inSize_, dataBits_, stopBits_, static_cast<int>(parity_));
}

void TCustomSerialPort::OpenNow()
{
    // No telephony line is ever handed to this program.
    if (tapiMode_ == TTapiMode::tmOn)
        RaiseForErrorCode(ecNotOpenedByTapi);
    EnsurePortNumber();
    engine_ = CreateDispatcher();
    try {
        engine_->SetPortName("COM" + std::to_string(comNumber_));
        int result = OpenDispatcher();
        if (result == ecAccessDenied)
            result = ecAlreadyOpen;
        else if (result == ecFileNotFound || result == ecPathNotFound)
            result = ecBadId;
        if (result != 0)
            RaiseForErrorCode(result);

        state_ = PortState::Open;
        UpdateHandlerFlags();
        force_ = true;
        SetTracing(tracing_);
        SetLogging(logging_);
        SetHWFlowOptions(hwFlow_);
        SetSWFlowOptions(swFlow_);
        SetXOnChar(xonChar_);
        SetXOffChar(xoffChar_);
        SetAvailLength(availLength_);
        SetDTR(dtr_);
        SetRTS(rts_);
        SetUseEventWord(useEventWord_);
        SetRS485Mode(rs485_);
        SetPriorityBoost(priorityBoost_);
        force_ = false;
        open_ = true;
        InstallWindowHandler(true);
        if (triggersSaved_) {
            triggersSaved_ = false;
            engine_->RestoreTriggers(savedTriggers_);
        }
        NotifyOpened();
    } catch (...) {
        force_ = false;
        open_ = false;
        state_ = PortState::Closed;
        if (window_)
            InstallWindowHandler(false);
        engine_.reset();
        throw;
    }
}

void TCustomSerialPort::InstallWindowHandler(bool install)
{
    if (install) {
        window_ = std::make_unique<TComWindow>();
        engine_->RegisterWndHandler(window_.get());
    } else if (window_) {
        if (engine_)
            engine_->DeregisterWndHandler(window_.get());
        window_.reset();
    }
}

void TCustomSerialPort::NotifyOpened()
{
    if (onPortOpen_)
        onPortOpen_(*this);
}

// --- closing ------------------------------------------------------------------

void TCustomSerialPort::CloseNow()
{
    if (state_ != PortState::Open)
        return;
    // A running trace or log goes to its file; a failure there is raised
    // once the port is closed.
    std::exception_ptr dumpFailure;
    try {
        SetTracing(TTraceLogState::tlDump);
        SetLogging(TTraceLogState::tlDump);
    } catch (...) {
        dumpFailure = std::current_exception();
    }
    state_ = PortState::Closing;
    TPortDispatcher::FreeSavedTriggers(savedTriggers_);
    engine_->SaveTriggers(savedTriggers_);
    triggersSaved_ = true;
    // Outside this port's handlers the worker threads end first (a delivery
    // they wait for is served meanwhile, and dropped), so the close is
    // complete when this returns. Inside one, the dispatch thread waits for
    // that very handler: the close is finished after it.
    if (handlerDepth_ == 0)
        engine_->StopDispatcher();
    engine_->ClosePort();
    if (engine_->Delivering()) {
        // A handler of this port is running: finish once it has returned.
        QTimer::singleShot(0, this, [this] { DeferredClose(); });
    } else {
        FinishClose();
    }
    NotifyClosed();
    if (dumpFailure)
        std::rethrow_exception(dumpFailure);
}

void TCustomSerialPort::FinishClose()
{
    InstallWindowHandler(false);
    engine_.reset();
    state_ = PortState::Closed;
    open_ = false;
}

void TCustomSerialPort::DeferredClose()
{
    if (state_ != PortState::Closing || !engine_)
        return;
    if (engine_->Delivering()) {
        QTimer::singleShot(DeferredCloseRetryMs, this, [this] { DeferredClose(); });
        return;
    }
    FinishClose();
    if (deferredOpen_) {
        deferredOpen_ = false;
        try {
            OpenNow();
        } catch (const std::exception& e) {
            ShowHandlerError(e.what());
        }
    }
}

void TCustomSerialPort::NotifyClosed()
{
    if (onPortClose_)
        onPortClose_(*this);
}

void TCustomSerialPort::SetOpen(bool open)
{
    if (open) {
        if (state_ == PortState::Closed)
            OpenNow();
        else if (state_ == PortState::Closing)
            deferredOpen_ = true;
    } else if (state_ == PortState::Open) {
        CloseNow();
    } else if (state_ == PortState::Closing) {
        deferredOpen_ = false;
    }
}

// --- the hidden window ----------------------------------------------------------

void TCustomSerialPort::ComWindowProc(uint32_t msg, uint32_t wParam, uint32_t lParam)
{
    if (msg < TriggerAvailMsg || msg > TriggerStatusMsg)
        return;
    // Held for the whole event, as every engine's list entry may be looked
    // up meanwhile; handlers must not wait for a thread that needs it.
    std::lock_guard guard(TPortDispatcher::EngineListLock());
    TPortDispatcher* engine = TPortDispatcher::FindEngine(lParam >> 16);
    if (!engine || !engine->Owner() || !LivePorts().count(engine->Owner()))
        return;
    TCustomSerialPort& port = *engine->Owner();
    // A port that is closing takes no more events: the bytes they announce
    // would read as zeros.
    if (port.engine_.get() != engine || !port.IsOpen())
        return;
    const auto handle = static_cast<uint16_t>(wParam);
    struct Depth {
        int& Count;
        explicit Depth(int& count)
            : Count(++count)
        {
        }
        ~Depth() { --Count; }
    } depth(port.handlerDepth_);
    try {
        port.FireTrigger(static_cast<uint16_t>(msg), handle,
            static_cast<uint16_t>(msg == TriggerAvailMsg ? wParam : lParam & 0xFFFF));
        switch (msg) {
        case TriggerAvailMsg:
            port.FireTriggerAvail(handle);
            break;
        case TriggerDataMsg:
            port.FireTriggerData(handle);
            break;
        case TriggerTimerMsg:
            port.FireTriggerTimer(handle);
            break;
        default:
            port.FireTriggerStatus(handle);
            switch (handle & 7) {
            case StatusModem:
                port.FireTriggerModemStatus();
                break;
            case StatusLine: {
                const bool lineBreak = port.LineBreak();
                port.FireTriggerLineError(static_cast<uint16_t>(port.LineError()), lineBreak);
                break;
            }
            case StatusOutFree:
                port.FireTriggerOutbuffFree();
                break;
            case StatusOutUsed:
                port.FireTriggerOutbuffUsed();
                break;
            case StatusOutSent:
                port.FireTriggerOutSent();
                break;
            default:
                break;
            }
        }
    } catch (const std::exception& e) {
        ShowHandlerError(e.what());
    } catch (...) {
        ShowHandlerError("Unknown error");
    }
}

bool TCustomSerialPort::AnyTriggerEvent() const
{
    return onTrigger_ || onTriggerAvail_ || onTriggerData_ || onTriggerStatus_ || onTriggerTimer_
        || onTriggerLineError_ || onTriggerModemStatus_ || onTriggerOutbuffFree_ || onTriggerOutbuffUsed_
        || onTriggerOutSent_;
}

void TCustomSerialPort::UpdateHandlerFlags()
{
    if (IsOpen())
        engine_->UpdateHandlerState(AnyTriggerEvent() ? 1 : 2);
}

namespace
{

// Calls an event when it is assigned.
template <class Event, class... Args> void Fire(const Event& event, TCustomSerialPort& port, Args... args)
{
    if (event)
        event(port, args...);
}

} // namespace

void TCustomSerialPort::FireTrigger(uint16_t msg, uint16_t triggerHandle, uint16_t data)
{
    Fire(onTrigger_, *this, msg, triggerHandle, data);
}

void TCustomSerialPort::FireTriggerAvail(uint16_t count)
{
    Fire(onTriggerAvail_, *this, count);
}

void TCustomSerialPort::FireTriggerData(uint16_t triggerHandle)
{
    Fire(onTriggerData_, *this, triggerHandle);
}

void TCustomSerialPort::FireTriggerStatus(uint16_t triggerHandle)
{
    Fire(onTriggerStatus_, *this, triggerHandle);
}

void TCustomSerialPort::FireTriggerTimer(uint16_t triggerHandle)
{
    Fire(onTriggerTimer_, *this, triggerHandle);
}

void TCustomSerialPort::FireTriggerLineError(uint16_t error, bool lineBreak)
{
    Fire(onTriggerLineError_, *this, error, lineBreak);
}

void TCustomSerialPort::FireTriggerModemStatus()
{
    Fire(onTriggerModemStatus_, *this);
}

void TCustomSerialPort::FireTriggerOutbuffFree()
{
    Fire(onTriggerOutbuffFree_, *this);
}

void TCustomSerialPort::FireTriggerOutbuffUsed()
{
    Fire(onTriggerOutbuffUsed_, *this);
}

void TCustomSerialPort::FireTriggerOutSent()
{
    Fire(onTriggerOutSent_, *this);
}

// --- operations -----------------------------------------------------------------

TPortDispatcher* TCustomSerialPort::Dispatcher()
{
    if (!engine_ && state_ == PortState::Closed && autoOpen_)
        SetOpen(true);
    return engine_.get();
}

TPortDispatcher* TCustomSerialPort::CheckedDispatcher()
{
    TPortDispatcher* engine = Dispatcher();
    if (!engine)
        RaiseForErrorCode(ecNotOpen);
    return engine;
}

uint16_t TCustomSerialPort::AddDataTrigger(const std::string& data, bool ignoreCase)
{
    if (Closing())
        return 0;
    return static_cast<uint16_t>(RaiseForErrorCode(CheckedDispatcher()->AddDataTrigger(data, ignoreCase)));
}

uint16_t TCustomSerialPort::AddTimerTrigger()
{
    if (Closing())
        return 0;
    return static_cast<uint16_t>(RaiseForErrorCode(CheckedDispatcher()->AddTimerTrigger()));
}

void TCustomSerialPort::ArmTimerTrigger(uint16_t handle, int32_t ticks, bool activate)
{
    if (Closing())
        return;
    RaiseForErrorCode(
        CheckedDispatcher()->SetTimerTrigger(handle, static_cast<uint64_t>(std::max(ticks, 0)), activate));
}

void TCustomSerialPort::RemoveTrigger(uint16_t handle)
{
    if (IsOpen())
        RaiseForErrorCode(engine_->RemoveTrigger(handle));
}

void TCustomSerialPort::RemoveAllTriggers()
{
    if (!IsOpen())
        return;
    engine_->ClearAllTriggers();
    SetAvailLength(0);
}

uint8_t TCustomSerialPort::ReadChar()
{
    if (Closing())
        return 0;
    uint8_t ch = 0;
    RaiseForErrorCode(CheckedDispatcher()->GetChar(ch));
    return ch;
}

uint16_t TCustomSerialPort::OutputFree()
{
    if (!IsOpen())
        return outSize_;
    return static_cast<uint16_t>(std::min<uint32_t>(engine_->OutBuffFree(), 0xFFFF));
}

void TCustomSerialPort::WriteString(const std::string& text)
{
    if (text.empty() || Closing())
        return;
    RaiseForErrorCode(CheckedDispatcher()->PutBlock(
        reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size())));
}

TOutputOutcome TCustomSerialPort::TakeOutputOutcome()
{
    return IsOpen() ? engine_->TakeOutputOutcome() : TOutputOutcome::None;
}

int TCustomSerialPort::LineError()
{
    if (!IsOpen())
        return 0;
    return RaiseForErrorCode(engine_->TakeLineError());
}

bool TCustomSerialPort::LineBreak()
{
    return IsOpen() && engine_->TakeLineBreak();
}

int TCustomSerialPort::ProcessCommunications()
{
    if (Closing())
        return 0;
    return RaiseForErrorCode(CheckedDispatcher()->ProcessCommunications());
}

} // namespace serial
