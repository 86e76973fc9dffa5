#include "serial/Win32Dispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <pthread.h>
#include <sched.h>
#include <stdexcept>

#include "platform/SerialError.h"
#include "platform/Ui.h"
#include "serial/GuiDelivery.h"
#include "serial/SerExcept.h"

namespace serial
{

// The device layer reports events, line errors and modem lines in the bits
// the engine works with.
static_assert(platform::SerialRxChar == EvRxChar && platform::SerialCtsChanged == EvCts
    && platform::SerialDsrChanged == EvDsr && platform::SerialDcdChanged == EvRlsd
    && platform::SerialBreakSeen == EvBreak && platform::SerialErrorSeen == EvErr
    && platform::SerialRingSeen == EvRing);
static_assert(platform::SerialErrRxOverflow == CeRxOver && platform::SerialErrOverrun == CeOverrun
    && platform::SerialErrParity == CeParity && platform::SerialErrFrame == CeFrame
    && platform::SerialErrBreak == CeBreak);
static_assert(platform::SerialLineCts == MsCtsOn && platform::SerialLineDsr == MsDsrOn
    && platform::SerialLineRing == MsRingOn && platform::SerialLineDcd == MsDcdOn);

namespace
{

// Thread kinds in the dispatch log's thread entries.
constexpr uint32_t CommThreadKind = 1, DispThreadKind = 2, OutThreadKind = 3;

// How long StartDispatcher waits for each thread to report that it runs.
constexpr int StartWaitMs = 3000;
// How long an output flush waits for the output thread to let go.
constexpr int FlushWaitMs = 5000;

} // namespace

// What the dispatch thread and a pass it handed to the GUI thread share.
struct TWin32Dispatcher::PassTicket {
    enum class State { Idle, Queued, Running, TakenBack };
    std::mutex Lock;
    TWin32Dispatcher* Engine = nullptr; // null once the threads have ended
    State Now = State::Idle;
    bool Again = false; // one more round wanted
    bool WakeAtEnd = false; // the dispatch thread waits for the pass's end
    uint32_t Mask = EvRxChar;
    long long QueuedAtMs = 0;
};

namespace
{

// The dispatch thread's signals, in the order it waits for them.
constexpr int CommSignal = 0, WakeSignal = 1, StopSignal = 3; // 2: the end of a pass

} // namespace

TWin32Dispatcher::TWin32Dispatcher(TCustomSerialPort* owner)
    : TPortDispatcher(owner)
{
}

TWin32Dispatcher::~TWin32Dispatcher()
{
    DestroyPort();
    StopDispatcher();
    device_.Close();
}

// --- device slots -----------------------------------------------------------

int TWin32Dispatcher::OpenCom(const std::string& deviceName, int, int)
{
    if (running_)
        return -platform::SerialErrorNumber(EBUSY);
    closeRequested_ = false;
    const int error = device_.Open(deviceName);
    if (error != 0)
        return -error;
    shadow_ = TLineSettings {};
    GetComState(shadow_);
    return device_.Fd();
}

int TWin32Dispatcher::CloseCom()
{
    if (running_) {
        // The threads still use the device: it is closed once they have
        // ended (StopDispatcher).
        closeRequested_ = true;
        kill_ = true;
        stop_.Set();
        return 0;
    }
    device_.Close();
    return 0;
}

int TWin32Dispatcher::EscapeCom(int function)
{
    int error = 0;
    switch (function) {
    case EscSetRts:
    case EscClrRts:
        error = device_.SetRts(function == EscSetRts);
        break;
    case EscSetDtr:
    case EscClrDtr:
        error = device_.SetDtr(function == EscSetDtr);
        break;
    default:
        return ecBadArgument;
    }
    return -error;
}

int TWin32Dispatcher::FlushCom(ComSide side)
{
    if (side == ComSide::Output) {
        if (outThread_.joinable() && !outEnded_.IsSet()) {
            // Let the output thread drop the block it is writing.
            flush_.Set();
            platform::WaitAny({ &flushAck_, &outEnded_ }, FlushWaitMs);
        }
        DiscardOutput();
    }
    if (!device_.IsOpen())
        return 0;
    return -device_.Purge(side == ComSide::Input, side == ComSide::Output);
}

uint32_t TWin32Dispatcher::GetComError(TComStat& status)
{
    if (!device_.IsOpen())
        return 0;
    status.InQueue = device_.InQueue();
    status.OutQueue = OutBuffUsed();
    return device_.TakeErrors();
}

uint32_t TWin32Dispatcher::TakeComErrors()
{
    return device_.IsOpen() ? device_.TakeErrors() : 0;
}

int TWin32Dispatcher::ReportComError()
{
    return 0;
}

int TWin32Dispatcher::GetComState(TLineSettings& settings)
{
    platform::SerialLine line;
    if (device_.GetLine(line) != 0)
        return -1;
    std::lock_guard a(LockA());
    settings = shadow_;
    settings.Baud = line.Baud;
    settings.DataBits = static_cast<uint8_t>(line.DataBits);
    settings.Parity = static_cast<uint8_t>(line.Parity);
    // One and a half stop bits go out as two; the setting is kept.
    if (!(shadow_.StopBits == One5StopBits && line.StopBits == 2))
        settings.StopBits = line.StopBits == 2 ? TwoStopBits : OneStopBit;
    settings.OutX = line.XonOutput;
    settings.InX = line.XonInput;
    settings.XonChar = line.XonChar;
    settings.XoffChar = line.XoffChar;
    return 0;
}

int TWin32Dispatcher::SetComState(const TLineSettings& settings)
{
    platform::SerialLine line;
    line.Baud = settings.Baud;
    line.DataBits = settings.DataBits;
    line.Parity = settings.Parity;
    line.StopBits = settings.StopBits == OneStopBit ? 1 : 2;
    // CTS gates the output; RTS follows the input queue. DSR flow control
    // has no termios counterpart and is left out.
    line.RtsCts = settings.OutxCtsFlow || settings.RtsControl == RtsHandshake;
    line.XonOutput = settings.OutX;
    line.XonInput = settings.InX;
    line.XonChar = settings.XonChar;
    line.XoffChar = settings.XoffChar;
    const int error = device_.SetLine(line);
    if (error != 0)
        return -error;
    std::lock_guard a(LockA());
    shadow_ = settings;
    return 0;
}

int TWin32Dispatcher::ReadCom(uint8_t* buffer, int count)
{
    const int n = device_.Read(buffer, count);
    return n > 0 ? n : 0;
}

int TWin32Dispatcher::WriteCom(const uint8_t* buffer, int count)
{
    const int n = CopyToOutBuffer(buffer, count);
    if (n > 0)
        outputReady_.Set();
    return n;
}

bool TWin32Dispatcher::WaitComEvent(uint32_t& eventMask)
{
    platform::SerialEventWaiter waiter(device_, stop_);
    return waiter.Wait(eventMask) == platform::SerialEventWaiter::Result::Events;
}

int TWin32Dispatcher::SetupCom(int, int)
{
    // The driver's queues have fixed sizes on this system.
    return 0;
}

int TWin32Dispatcher::ProcessCommunications()
{
    sched_yield();
    return 0;
}

uint8_t TWin32Dispatcher::GetModemStatus()
{
    return device_.IsOpen() ? device_.ModemLines() : 0;
}

void TWin32Dispatcher::WakeDispatcher()
{
    wake_.Set();
}

// --- starting and stopping ----------------------------------------------------

void TWin32Dispatcher::StartDispatcher()
{
    std::lock_guard guard(startStop_);
    if (running_)
        throw std::runtime_error("Dispatcher already started");
    running_ = true;
    kill_ = false;
    commEnded_ = false;
    vanished_ = false;
    passes_ = 0;
    wakes_ = 0;
    pendingMask_ = 0;
    commInDriver_ = false;
    leftWork_ = false;
    ticket_ = std::make_shared<PassTicket>();
    ticket_->Engine = this;
    for (platform::SerialEvent* event : { &commEvent_, &wake_, &started_, &outputReady_, &flush_, &flushAck_,
             &outEnded_, &stop_, &commQuit_, &commGone_, &passEnded_ })
        event->Reset();
    commThread_
        = std::thread(&TWin32Dispatcher::RunThread, this, &TWin32Dispatcher::CommThreadBody, CommThreadKind);
    started_.Wait(StartWaitMs);
    dispThread_
        = std::thread(&TWin32Dispatcher::RunThread, this, &TWin32Dispatcher::DispThreadBody, DispThreadKind);
    started_.Wait(StartWaitMs);
    outThread_
        = std::thread(&TWin32Dispatcher::RunThread, this, &TWin32Dispatcher::OutThreadBody, OutThreadKind);
    started_.Wait(StartWaitMs);
}

void TWin32Dispatcher::StopDispatcher()
{
    std::lock_guard guard(startStop_);
    if (!running_)
        return;
    kill_ = true;
    stop_.Set();
    JoinThreads();
    {
        // A pass still queued for the GUI thread finds no engine.
        std::lock_guard ticket(ticket_->Lock);
        ticket_->Engine = nullptr;
    }
    running_ = false;
    if (closeRequested_.exchange(false))
        device_.Close();
}

void TWin32Dispatcher::JoinThreads()
{
    const std::thread::id self = std::this_thread::get_id();
    // A worker never stops its own engine; should one get here it leaves the
    // joining to the GUI thread.
    if (self == commThread_.get_id() || self == dispThread_.get_id() || self == outThread_.get_id())
        return;
    // A comm thread waiting in the driver does not see the stop signal.
    if (commThread_.joinable() && commInDriver_)
        while (!commGone_.Wait(5))
            platform::SerialLineWaiter::Interrupt(commThread_.native_handle());
    // The dispatch thread may be waiting for a delivery to the GUI thread:
    // serve it, or it could not see the kill flag until its wait runs out.
    TGuiDelivery::Instance().ServeUntil([this] { return live_.load() == 0; });
    for (std::thread* thread : { &commThread_, &dispThread_, &outThread_ })
        if (thread->joinable())
            thread->join();
}

void TWin32Dispatcher::RunThread(void (TWin32Dispatcher::*body)(), uint32_t kind)
{
    ++live_;
    static const char* const names[] = { "", "serial comm", "serial dispatch", "serial output" };
    pthread_setname_np(pthread_self(), names[kind]);
    AddDispatchEntry(LogThread, LsStart, kind);
    try {
        (this->*body)();
    } catch (const std::exception& e) {
        // Shown on the GUI thread; the thread ends.
        const std::string text = e.what();
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [text] { platform::MessageError(text); }, Qt::QueuedConnection);
    }
    AddDispatchEntry(LogThread, LsExit, kind);
    if (kind == OutThreadKind)
        outEnded_.Set();
    --live_;
    if (kind == CommThreadKind)
        commGone_.Set();
    TGuiDelivery::Instance().Wake();
}

// --- thread bodies --------------------------------------------------------------

void TWin32Dispatcher::CommThreadBody()
{
    platform::SerialLineWaiter waiter(device_, { &stop_, &commQuit_ });
    commInDriver_ = waiter.WaitMode() == platform::SerialLineWaiter::Mode::Driver;
    started_.Set();
    while (!kill_) {
        uint32_t events = 0;
        if (waiter.Wait(events) != platform::SerialLineWaiter::Result::Events || kill_)
            break;
        if (events & EvRing)
            NoteRingSeen();
        // Events that come before the dispatch thread has taken the last
        // ones are merged into its next pass.
        pendingMask_ |= events;
        commEvent_.Set();
    }
    commEnded_ = true;
}

void TWin32Dispatcher::DispThreadBody()
{
    platform::SerialInputWaiter waiter(device_, { &commEvent_, &wake_, &passEnded_, &stop_ });
    started_.Set();
    uint32_t mask = EvRxChar;
    long long heldSince = -1; // when bytes began to be held, -1 while none are
    while (!kill_ && !ClosePending()) {
        const platform::SerialInputWaiter::Result woke = waiter.Wait(DispatchWaitMs(heldSince));
        ++wakes_;
        const bool nudged = EndSleep();
        if (kill_ || woke.Signal == StopSignal)
            break;
        if (woke.Vanished)
            DeviceGone();
        // Woken without a comm event, the last event mask is used again.
        if (woke.Signal == CommSignal)
            mask = pendingMask_.exchange(0) | EvRxChar;
        const bool timedOut = woke.Signal < 0 && !woke.Input && !woke.Vanished;
        // A nudge is left to the queued pass (asked for one more round
        // below), which the next wait, ending at once, takes back.
        if (timedOut && !nudged && TakeBackStalePass()) {
            heldSince = -1;
            continue;
        }
        // A signal, a nudge, the end of the wait (a timer due, held bytes,
        // work left) or the device going away (its last bytes) asks for a
        // pass; bytes only when they can be delivered. The end of a pass on
        // the GUI thread only changes the next wait.
        bool pass
            = woke.Signal == CommSignal || woke.Signal == WakeSignal || nudged || timedOut || woke.Vanished;
        bool read = false;
        if (!pass && woke.Input) {
            if (PassOutstanding()) {
                pass = true; // its next round reads them
            } else {
                ReadInput();
                read = true;
                switch (InputPassNeed()) {
                case InputNeed::PassNow:
                    pass = true;
                    break;
                case InputNeed::Hold:
                    if (heldSince < 0)
                        heldSince = platform::SteadyNowMs();
                    pass = platform::SteadyNowMs() - heldSince >= InputHoldMs;
                    break;
                case InputNeed::None:
                    heldSince = -1;
                    break;
                }
            }
        }
        if (pass) {
            // Bytes just read need not be asked for again.
            RequestPass(read ? mask & ~EvRxChar : mask);
            heldSince = -1;
        }
    }
}

// One pass: the comm event, then the timers.
void TWin32Dispatcher::Pass(uint32_t mask)
{
    if (kill_)
        return;
    ProcessCommEvent(mask);
    if (!ClosePending())
        ProcessTimers();
    ++passes_;
    leftWork_ = PassLeftWork();
}

bool TWin32Dispatcher::PassOutstanding()
{
    std::lock_guard guard(ticket_->Lock);
    return ticket_->Now != PassTicket::State::Idle;
}

// Hands a pass to the GUI thread, or asks the one handed over for one more
// round.
void TWin32Dispatcher::RequestPass(uint32_t mask)
{
    {
        std::lock_guard guard(ticket_->Lock);
        ticket_->Mask = mask | (ticket_->Now != PassTicket::State::Idle ? EvRxChar : 0);
        if (ticket_->Now != PassTicket::State::Idle) {
            ticket_->Again = true;
            return;
        }
        ticket_->Now = PassTicket::State::Queued;
        ticket_->QueuedAtMs = platform::SteadyNowMs();
    }
    TGuiDelivery::Instance().Post([ticket = ticket_] { RunQueuedPass(ticket); });
}

// GUI thread: the handed-over pass, with its further rounds, unless it was
// taken back or the threads have ended meanwhile.
void TWin32Dispatcher::RunQueuedPass(const std::shared_ptr<PassTicket>& ticket)
{
    std::unique_lock guard(ticket->Lock);
    TWin32Dispatcher* engine = ticket->Engine;
    if (!engine || ticket->Now != PassTicket::State::Queued)
        return;
    ticket->Now = PassTicket::State::Running;
    do {
        ticket->Again = false;
        const uint32_t mask = ticket->Mask;
        guard.unlock();
        engine->Pass(mask);
        guard.lock();
    } while (ticket->Again && ticket->Engine);
    ticket->Now = PassTicket::State::Idle;
    const bool wake = ticket->WakeAtEnd || engine->leftWork_;
    ticket->WakeAtEnd = false;
    guard.unlock();
    // Otherwise the dispatch thread sleeps as it would after a pass of its
    // own.
    if (wake)
        engine->passEnded_.Set();
}

// A pass still queued after the delivery wait limit runs here, its events
// handed over one by one.
bool TWin32Dispatcher::TakeBackStalePass()
{
    uint32_t mask;
    {
        std::lock_guard guard(ticket_->Lock);
        if (ticket_->Now != PassTicket::State::Queued
            || platform::SteadyNowMs() - ticket_->QueuedAtMs < TGuiDelivery::Instance().WaitLimitMs())
            return false;
        ticket_->Now = PassTicket::State::TakenBack;
        mask = ticket_->Mask;
    }
    Pass(mask);
    std::lock_guard guard(ticket_->Lock);
    ticket_->Now = PassTicket::State::Idle;
    ticket_->Again = ticket_->WakeAtEnd = false;
    return true;
}

// Nothing more will arrive: the comm thread ends, the dispatch thread goes on
// (timers still fire, and the program's no-data timer tells the user).
void TWin32Dispatcher::DeviceGone()
{
    commQuit_.Set();
    commGone_.Wait(StartWaitMs);
    vanished_ = true;
}

// How long the dispatch thread may sleep: until the next armed timer
// trigger falls due, 50 ms while the last pass left work, not at all after a
// change it has not looked at yet, no longer than held bytes may wait or a
// queued pass may stay unstarted. A timer due in n ms is waited for n ms from
// the clock's whole millisecond, so the wait never ends before the tick in
// which the timer expires has begun.
int TWin32Dispatcher::DispatchWaitMs(long long heldSinceMs)
{
    SerClock& clock = CurrentSerClock();
    const bool realTime = &clock == &SteadySerClock();
    const uint64_t now = clock.NowMs();
    const int limit = realTime && !leftWork_ ? LongestSleepMs : DispatchWakeMs;
    const uint64_t until = BeginSleep(now + static_cast<uint64_t>(limit));
    long long wait = until > now ? static_cast<long long>(std::min<uint64_t>(until - now, limit)) : 0;
    const long long steadyNow = platform::SteadyNowMs();
    if (heldSinceMs >= 0)
        wait = std::min(wait, heldSinceMs + InputHoldMs - steadyNow);
    std::lock_guard guard(ticket_->Lock);
    if (ticket_->Now != PassTicket::State::Idle && until != 0 && until <= now) {
        // A timer fell due while a pass is handed over: that pass fires it,
        // and its end wakes this thread to look at the timers again.
        ticket_->WakeAtEnd = true;
        wait = limit;
    }
    if (ticket_->Now == PassTicket::State::Queued)
        wait = std::min(wait, ticket_->QueuedAtMs + TGuiDelivery::Instance().WaitLimitMs() - steadyNow);
    return static_cast<int>(std::max(wait, 0LL));
}

void TWin32Dispatcher::OutThreadBody()
{
    started_.Set();
    while (!kill_ && !ClosePending()) {
        const int which = platform::WaitAny({ &outputReady_, &flush_, &stop_ }, -1);
        if (which == 0 && !kill_)
            WriteOutput();
        else if (which == 1)
            flushAck_.Set();
        else
            break;
    }
}

// Sends every unsent byte; the engine hands them over as one block, oldest
// first, however the buffer has wrapped.
void TWin32Dispatcher::WriteOutput()
{
    while (!kill_) {
        const std::vector<uint8_t> block = UnsentOutput();
        if (block.empty())
            return;
        std::size_t written = 0;
        int cancelledBy = -1;
        const platform::SerialWrite result
            = device_.Write(block.data(), block.size(), written, { &flush_, &stop_ }, cancelledBy);
        switch (result) {
        case platform::SerialWrite::Done:
            AdvanceOutput(static_cast<uint32_t>(written));
            NoteOutputOutcome(TOutputOutcome::Sent);
            break;
        case platform::SerialWrite::Cancelled:
            // A flush discards the rest; a stop leaves it.
            if (cancelledBy == 0)
                flushAck_.Set();
            return;
        case platform::SerialWrite::Failed:
            // The device refuses (gone away): the block is dropped, and the
            // program hears of it.
            AdvanceOutput(static_cast<uint32_t>(block.size()));
            NoteOutputOutcome(TOutputOutcome::Refused);
            break;
        }
    }
}

} // namespace serial
