#include "serial/Win32Dispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
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
    for (platform::SerialEvent* event :
        { &commEvent_, &wake_, &started_, &outputReady_, &flush_, &flushAck_, &outEnded_, &stop_ })
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
    TGuiDelivery::Instance().Wake();
}

// --- thread bodies --------------------------------------------------------------

void TWin32Dispatcher::CommThreadBody()
{
    platform::SerialEventWaiter waiter(device_, stop_);
    started_.Set();
    while (!kill_) {
        uint32_t events = 0;
        const auto result = waiter.Wait(events);
        if (result == platform::SerialEventWaiter::Result::Vanished) {
            // Nothing more will arrive; the dispatch thread keeps polling,
            // and the program's no-data timer tells the user.
            vanished_ = true;
            break;
        }
        if (result != platform::SerialEventWaiter::Result::Events || kill_)
            break;
        if (events & EvRing)
            NoteRingSeen();
        // Events that come before the dispatch thread has taken the last
        // ones are merged into its next pass. The waiter reports each
        // arrival once, so there is no need to wait for that pass here.
        pendingMask_ |= events;
        commEvent_.Set();
    }
    commEnded_ = true;
}

void TWin32Dispatcher::DispThreadBody()
{
    started_.Set();
    uint32_t mask = EvRxChar;
    while (!kill_ && !ClosePending()) {
        const int woke = platform::WaitAny({ &commEvent_, &wake_, &stop_ }, DispatchWaitMs());
        ++wakes_;
        EndSleep();
        if (kill_ || woke == 2)
            break;
        // Woken without a comm event, the last event mask is used again.
        if (woke == 0)
            mask = pendingMask_.exchange(0) | EvRxChar;
        ProcessCommEvent(mask);
        if (!ClosePending())
            ProcessTimers();
        ++passes_;
    }
}

// How long the dispatch thread may sleep after a pass: until the next armed
// timer trigger falls due, 50 ms while a pass left work, not at all after a
// change it has not looked at yet. A timer due in n ms is waited for n ms
// from the clock's whole millisecond, so the wait never ends before the tick
// in which the timer expires has begun.
int TWin32Dispatcher::DispatchWaitMs()
{
    SerClock& clock = CurrentSerClock();
    const bool realTime = &clock == &SteadySerClock();
    const uint64_t now = clock.NowMs();
    const int limit = realTime && !PassLeftWork() ? LongestSleepMs : DispatchWakeMs;
    const uint64_t until = BeginSleep(now + static_cast<uint64_t>(limit));
    return until > now ? static_cast<int>(std::min<uint64_t>(until - now, static_cast<uint64_t>(limit))) : 0;
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
            break;
        case platform::SerialWrite::Cancelled:
            // A flush discards the rest; a stop leaves it.
            if (cancelledBy == 0)
                flushAck_.Set();
            return;
        case platform::SerialWrite::Failed:
            // The device refuses (gone away): the block is dropped.
            AdvanceOutput(static_cast<uint32_t>(block.size()));
            break;
        }
    }
}

} // namespace serial
