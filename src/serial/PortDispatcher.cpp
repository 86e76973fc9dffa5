// TPortDispatcher: lifecycle, line settings, flow control, the input ring and
// the output buffer. Triggers, handlers and the evaluation passes are in
// PortDispatcherTriggers.cpp.
#include "serial/PortDispatcher.h"

#include <algorithm>
#include <cstring>

#include "serial/SerExcept.h"

namespace serial
{

namespace
{

std::vector<TPortDispatcher*>& Engines()
{
    static std::vector<TPortDispatcher*> engines;
    return engines;
}

} // namespace

std::recursive_mutex& TPortDispatcher::EngineListLock()
{
    static std::recursive_mutex lock;
    return lock;
}

TPortDispatcher* TPortDispatcher::FindEngine(uint32_t number)
{
    std::lock_guard guard(EngineListLock());
    auto& engines = Engines();
    return number < engines.size() ? engines[number] : nullptr;
}

TPortDispatcher::TPortDispatcher(TCustomSerialPort* owner)
    : owner_(owner)
{
    std::lock_guard guard(EngineListLock());
    auto& engines = Engines();
    auto free = std::find(engines.begin(), engines.end(), nullptr);
    if (free != engines.end()) {
        *free = this;
        engineNumber_ = static_cast<uint32_t>(free - engines.begin());
    } else {
        engines.push_back(this);
        engineNumber_ = static_cast<uint32_t>(engines.size() - 1);
    }
}

TPortDispatcher::~TPortDispatcher()
{
    std::lock_guard guard(EngineListLock());
    auto& engines = Engines();
    if (engineNumber_ < engines.size() && engines[engineNumber_] == this)
        engines[engineNumber_] = nullptr;
    while (!engines.empty() && engines.back() == nullptr)
        engines.pop_back();
}

// --- opening and closing ----------------------------------------------------

int TPortDispatcher::OpenPort(const std::string& deviceName, uint32_t baud, uint8_t control, int outSize,
    int inSize, int dataBits, int stopBits, int parity)
{
    {
        std::lock_guard a(lockA_);
        closePending_ = false;
        delivering_ = false;
        removalPending_ = false;
    }
    const int handle = OpenCom(deviceName, inSize, outSize);
    if (handle < 0)
        return handle;
    handle_ = handle;

    int result = SetupQueues(inSize, outSize);
    if (result < 0) {
        ClosePort();
        return result;
    }
    {
        std::scoped_lock all(lockA_, lockC_, lockB_);
        ring_.assign(InputRingSize, 0);
        ringWrite_ = ringRead_ = 0;
        ringFull_ = false;
        outBuf_.assign(static_cast<std::size_t>(std::max(outSize, 0)), 0);
        outWrite_ = outSend_ = 0;
        outFull_ = false;
        inSize_ = inSize;
        outSize_ = outSize;
        lineErrors_ = 0;
        blockWritten_ = false;
        rs485_ = false;

        GetComState(settings_);
        dtrHandshake_ = (control & 0x10) != 0;
        dtrState_ = (control & 0x01) != 0;
        rtsHandshake_ = (control & 0x20) != 0;
        rtsState_ = (control & 0x02) != 0;

        scanned_ = 0;
        matchHeld_ = scanGap_ = false;
        notifyPos_ = consumed_ = 0;
        inEvent_ = false;
        handlerReadCount_ = 0;
        largestReadCount_ = 0;
        lastBaud_ = 115200;
    }
    ClearAllTriggers();
    {
        std::lock_guard a(lockA_);
        for (TStatusTrigger& trigger : statusTriggers_)
            trigger.Hit = false;
        anyHit_ = false;
    }
    RefreshModemStatus(false);

    result = SetLine(baud, parity, dataBits, stopBits);
    if (result < 0) {
        ClosePort();
        return result;
    }
    RefreshLineErrors();
    trace_.Stop();
    log_.Stop();
    logBase_ = MsClock64();
    StartDispatcher();
    return 0;
}

void TPortDispatcher::ClosePort()
{
    // A handler of this port is running: the dispatch thread finishes that
    // delivery, and the buffers go when the engine is freed.
    const bool delivering = delivering_;
    if (delivering)
        closePending_ = true;
    if (handle_ >= 0) {
        FlushOutBuffer();
        FlushInBuffer();
        CloseCom();
        handle_ = -1;
    }
    if (!delivering)
        ReleaseBuffers();
}

void TPortDispatcher::DestroyPort()
{
    if (closePending_)
        ReleaseBuffers();
    else
        ClosePort();
}

void TPortDispatcher::ReleaseBuffers()
{
    StopDispatcher();
    std::scoped_lock all(lockA_, lockC_, lockB_);
    ring_.clear();
    ring_.shrink_to_fit();
    ringWrite_ = ringRead_ = 0;
    ringFull_ = false;
    scanned_ = 0;
    outBuf_.clear();
    outBuf_.shrink_to_fit();
    outWrite_ = outSend_ = 0;
    outFull_ = false;
}

void TPortDispatcher::SetThreadBoost(uint8_t boost)
{
    boost_ = boost;
}

// --- line settings ----------------------------------------------------------

namespace
{

// Settings the link always uses: raw bytes, no parity report, no DSR gating,
// output continues after XOFF was sent, NUL bytes kept.
void FixedLineOptions(TLineSettings& s)
{
    s.Binary = true;
    s.ParityCheck = false;
    s.DsrSensitivity = false;
    s.TxContinueOnXoff = true;
    s.NullStrip = false;
}

} // namespace

void TPortDispatcher::DrainOutput(const TLineSettings& settings)
{
    SerClock& clock = CurrentSerClock();
    for (int i = 0; i < 5000 && OutBuffUsed() > 0; ++i)
        clock.SleepMs(2);
    if (settings.Baud == 0)
        return;
    // Then the time 18 characters take on the line, so the last bytes have
    // left the UART: t in 100-ns units.
    uint64_t bits
        = settings.DataBits + (settings.Parity != 0 ? 1 : 0) + (settings.StopBits == OneStopBit ? 2 : 3);
    uint64_t t = (10000000 / settings.Baud) * bits * 18;
    if (t < 10000)
        t *= 2;
    clock.SleepMs(static_cast<uint32_t>((t + 9999) / 10000));
}

int TPortDispatcher::ApplyLine(TLineSettings& s)
{
    if (!dtrHandshake_)
        s.DtrControl = dtrState_ ? DtrEnable : DtrDisable;
    if (!rtsHandshake_)
        s.RtsControl = rtsState_ ? RtsEnable : RtsDisable;
    const int result = SetComState(s);
    if (result == 0)
        settings_ = s;
    lastBaud_ = s.Baud;
    SetDTRLine(dtrState_);
    if (!rs485_)
        SetRTSLine(rtsState_);
    return result;
}

int TPortDispatcher::SetLine(uint32_t baud, int parity, int dataBits, int stopBits)
{
    std::lock_guard a(lockA_);
    TLineSettings s = settings_;
    GetComState(s);
    FixedLineOptions(s);

    const uint32_t newBaud = baud == 0 ? s.Baud : baud;
    const uint8_t newParity = parity == 5 ? s.Parity : static_cast<uint8_t>(parity);
    const uint8_t newDataBits = dataBits == 9 ? s.DataBits : static_cast<uint8_t>(dataBits);
    uint8_t newStopBits = s.StopBits;
    if (stopBits != 3) {
        const int count = stopBits == 0 ? 1 : std::min(stopBits, 2);
        newStopBits = count == 1 ? OneStopBit : TwoStopBits;
        if (newDataBits == 5)
            newStopBits = One5StopBits;
    }
    if (newBaud == s.Baud && newParity == s.Parity && newDataBits == s.DataBits && newStopBits == s.StopBits)
        return 0;

    DrainOutput(s);
    GetComState(s);
    FixedLineOptions(s);
    s.Baud = newBaud;
    s.Parity = newParity;
    s.DataBits = newDataBits;
    s.StopBits = newStopBits;
    return ApplyLine(s);
}

int TPortDispatcher::SetupQueues(int inSize, int outSize)
{
    return SetupCom(inSize, outSize);
}

int TPortDispatcher::SetDTRLine(bool on)
{
    std::lock_guard a(lockA_);
    if (dtrHandshake_)
        return 1;
    if (EscapeCom(on ? EscSetDtr : EscClrDtr) < 0)
        return ecBadArgument;
    dtrState_ = on;
    return 0;
}

int TPortDispatcher::SetRTSLine(bool on)
{
    std::lock_guard a(lockA_);
    if (rtsHandshake_)
        return 1;
    if (EscapeCom(on ? EscSetRts : EscClrRts) < 0)
        return ecBadArgument;
    rtsState_ = on;
    return 0;
}

int TPortDispatcher::SetHardwareFlow(int bufferFull, int bufferResume, int mask)
{
    std::lock_guard a(lockA_);
    if (bufferFull < bufferResume || bufferFull > inSize_)
        return ecBadArgument;
    TLineSettings s = settings_;
    GetComState(s);
    s.OutxCtsFlow = s.OutxDsrFlow = false;
    // A line given back from handshake control is driven by its state again.
    dtrHandshake_ = (mask & 1) != 0;
    s.DtrControl = dtrHandshake_ ? DtrHandshake : (dtrState_ ? DtrEnable : DtrDisable);
    rtsHandshake_ = (mask & 2) != 0;
    s.RtsControl = rtsHandshake_ ? RtsHandshake : (rtsState_ ? RtsEnable : RtsDisable);
    if (rs485_) {
        s.RtsControl = RtsToggle;
        rtsHandshake_ = true;
    }
    s.XoffLimit = static_cast<uint16_t>(inSize_ - bufferFull);
    s.XonLimit = static_cast<uint16_t>(bufferResume);
    s.OutxDsrFlow = (mask & 4) != 0;
    s.OutxCtsFlow = (mask & 8) != 0;
    return ApplyLine(s);
}

int TPortDispatcher::SetSoftwareFlow(int bufferFull, int bufferResume, int mask)
{
    std::lock_guard a(lockA_);
    if (bufferFull < bufferResume || bufferFull > inSize_)
        return ecBadArgument;
    TLineSettings s = settings_;
    GetComState(s);
    if (mask & 2) {
        s.InX = true;
        s.XoffLimit = static_cast<uint16_t>(inSize_ - bufferFull);
        s.XonLimit = static_cast<uint16_t>(bufferResume);
    }
    if (mask & 3) {
        s.XonChar = 17;
        s.XoffChar = 19;
    }
    if (mask & 1)
        s.OutX = true;
    return ApplyLine(s);
}

int TPortDispatcher::SoftwareFlowOff()
{
    std::lock_guard a(lockA_);
    TLineSettings s = settings_;
    GetComState(s);
    s.InX = s.OutX = false;
    return ApplyLine(s);
}

int TPortDispatcher::SetFlowChars(uint8_t xon, uint8_t xoff)
{
    std::lock_guard a(lockA_);
    TLineSettings s = settings_;
    GetComState(s);
    s.XonChar = xon;
    s.XoffChar = xoff;
    return ApplyLine(s);
}

void TPortDispatcher::SetRS485Mode(bool on)
{
    std::lock_guard a(lockA_);
    rs485_ = on;
}

void TPortDispatcher::SetOptionFlags(uint32_t flags)
{
    optionFlags_ = flags;
}

uint32_t TPortDispatcher::OptionFlags() const
{
    return optionFlags_;
}

TLineSettings TPortDispatcher::LineSettings()
{
    std::lock_guard a(lockA_);
    return settings_;
}

void TPortDispatcher::SetPortName(const std::string& name)
{
    std::lock_guard a(lockA_);
    portName_ = name;
}

std::string TPortDispatcher::PortName()
{
    std::lock_guard a(lockA_);
    return portName_;
}

// --- modem status and line errors -------------------------------------------

void TPortDispatcher::RefreshModemStatus(bool keepChanges)
{
    const uint8_t lines = GetModemStatus() & 0xF0;
    std::lock_guard a(lockA_);
    uint8_t changes = 0;
    if (keepChanges) {
        const uint8_t flipped = static_cast<uint8_t>((modemStatus_ ^ lines) & 0xF0);
        changes = static_cast<uint8_t>(flipped >> 4) & 0x0B; // CTS, DSR, DCD changed
        if (ringSeen_ || ((modemStatus_ & MsRingOn) && !(lines & MsRingOn)))
            changes |= 0x04; // ring trailing edge
    }
    ringSeen_ = false;
    modemStatus_ = static_cast<uint8_t>(lines | changes);
}

void TPortDispatcher::NoteRingSeen()
{
    std::lock_guard a(lockA_);
    ringSeen_ = true;
}

uint8_t TPortDispatcher::ModemStatus()
{
    std::lock_guard a(lockA_);
    return modemStatus_;
}

void TPortDispatcher::RefreshLineErrors()
{
    TComStat status;
    lineErrors_ |= GetComError(status) & 0x1F;
}

int TPortDispatcher::TakeLineError()
{
    const uint32_t bits = lineErrors_;
    static const struct {
        uint32_t Bit;
        int Code;
    } order[] = { { CeRxOver, 1 }, { CeOverrun, 2 }, { CeParity, 3 }, { CeFrame, 4 }, { CeBreak, 9 } };
    for (const auto& entry : order) {
        if (bits & entry.Bit) {
            lineErrors_ &= ~0x0Fu;
            return entry.Code;
        }
    }
    return 0;
}

bool TPortDispatcher::TakeLineBreak()
{
    return (lineErrors_.fetch_and(~CeBreak) & CeBreak) != 0;
}

// --- input ring -------------------------------------------------------------

uint32_t TPortDispatcher::UnreadCount() const
{
    if (ring_.empty())
        return 0;
    if (ringFull_)
        return InputRingSize;
    return (ringWrite_ + InputRingSize - ringRead_) % InputRingSize;
}

void TPortDispatcher::Consume(uint32_t count)
{
    if (count == 0)
        return;
    ringRead_ = (ringRead_ + count) % InputRingSize;
    if (ringFull_) {
        // A full ring left the bytes that came after it in the driver, and
        // the device announces bytes only as they arrive: nothing new may
        // come (a sender blocked by a full driver queue), so the dispatch
        // thread could sleep on with the bytes unread. The nudge makes it
        // ask for one more round (or pass), whose ReadInput fetches them.
        // ringFull_ is cleared under lock C before the nudge is stored, and
        // the dispatch thread takes the nudge (EndSleep, BeginSleep) before
        // it requests the pass that reads under lock C: the read sees room.
        ringFull_ = false;
        NudgeDispatcher();
    }
    consumed_ += count;
    // Bytes a handler took before the data triggers saw them leave a gap: a
    // partial match before it must not go on with the bytes after it.
    if (count > scanned_ + (matchHeld_ ? 1 : 0))
        scanGap_ = true;
    if (count > scanned_)
        matchHeld_ = false; // the matched byte went with them
    scanned_ = scanned_ > count ? scanned_ - count : 0;
}

bool TPortDispatcher::ReadInput()
{
    std::lock_guard c(lockC_);
    if (ring_.empty())
        return false;
    // A full ring leaves the bytes in the driver until some are consumed.
    if (ringFull_)
        return true;
    lineErrors_ |= TakeComErrors() & 0x1F;

    // As much as the ring takes, in at most two reads (its end, then its
    // start); the driver hands over what it has.
    uint32_t rest = InputRingSize - UnreadCount();
    bool any = false;
    while (rest > 0) {
        const uint32_t chunk
            = std::min(rest, ringRead_ > ringWrite_ ? ringRead_ - ringWrite_ : InputRingSize - ringWrite_);
        int got = ReadCom(ring_.data() + ringWrite_, static_cast<int>(chunk));
        got = std::clamp(got, 0, static_cast<int>(chunk));
        if (got > 0) {
            const uint8_t* bytes = ring_.data() + ringWrite_;
            trace_.Add('R', bytes, static_cast<std::size_t>(got));
            AddDispatchEntry(
                LogDispatch, LsReadCom, static_cast<uint32_t>(got), bytes, static_cast<uint32_t>(got));
            ringWrite_ = (ringWrite_ + static_cast<uint32_t>(got)) % InputRingSize;
            ringFull_ = ringWrite_ == ringRead_;
            any = true;
        }
        if (static_cast<uint32_t>(got) < chunk)
            break;
        rest -= chunk;
    }
    return any;
}

uint32_t TPortDispatcher::TakeComErrors()
{
    TComStat status;
    return GetComError(status);
}

int TPortDispatcher::GetChar(uint8_t& ch)
{
    std::lock_guard c(lockC_);
    const uint32_t unread = UnreadCount();
    if (inEvent_) {
        // Peek: the k-th byte of this handler is at read position + k - 1.
        if (handlerReadCount_ >= unread)
            return ecBufferIsEmpty;
        ch = ring_[(ringRead_ + handlerReadCount_) % InputRingSize];
        ++handlerReadCount_;
        return 0;
    }
    if (unread == 0)
        return ecBufferIsEmpty;
    ch = ring_[ringRead_];
    Consume(1);
    return 0;
}

uint32_t TPortDispatcher::InBuffUsed()
{
    std::lock_guard c(lockC_);
    const uint32_t unread = UnreadCount();
    const uint32_t read = inEvent_ ? handlerReadCount_ : 0;
    return unread > read ? unread - read : 0;
}

int TPortDispatcher::FlushInBuffer()
{
    std::scoped_lock ac(lockA_, lockC_);
    FlushCom(ComSide::Input);
    // Inside a handler the bytes go when it returns, through the same count
    // as the bytes it read: the ring stays as it is until then (marking a
    // full ring empty here would leave the scan position past the bytes
    // that come next, and no data trigger would fire again).
    if (inEvent_) {
        largestReadCount_ = UnreadCount();
    } else {
        Consume(UnreadCount());
        handlerReadCount_ = 0;
    }
    for (TDataTrigger& trigger : dataTriggers_) {
        trigger.Counters.fill(0);
        trigger.Matched = false;
    }
    return 0;
}

// --- output buffer ----------------------------------------------------------

uint32_t TPortDispatcher::OutBuffUsed()
{
    std::lock_guard b(lockB_);
    if (outBuf_.empty())
        return 0;
    if (outFull_)
        return static_cast<uint32_t>(outBuf_.size());
    return static_cast<uint32_t>((outWrite_ + outBuf_.size() - outSend_) % outBuf_.size());
}

uint32_t TPortDispatcher::OutBuffFree()
{
    std::lock_guard b(lockB_);
    return static_cast<uint32_t>(outBuf_.size()) - OutBuffUsed();
}

int TPortDispatcher::PutBlock(const uint8_t* bytes, int length)
{
    if (length <= 0)
        return 0;
    std::lock_guard b(lockB_);
    // Here the line errors are replaced by what the driver reports now.
    TComStat status;
    lineErrors_ = GetComError(status) & 0x1F;
    if (OutBuffFree() < static_cast<uint32_t>(length))
        return ecOutputBufferTooSmall;
    if (WriteCom(bytes, length) <= 0) {
        RefreshLineErrors();
        return ecPutBlockFail;
    }
    blockWritten_ = true;
    OutputMoved();
    trace_.Add('T', bytes, static_cast<std::size_t>(length));
    AddDispatchEntry(
        LogDispatch, LsWriteCom, static_cast<uint32_t>(length), bytes, static_cast<uint32_t>(length));
    return 0;
}

int TPortDispatcher::FlushOutBuffer()
{
    return FlushCom(ComSide::Output);
}

int TPortDispatcher::CopyToOutBuffer(const uint8_t* bytes, int count)
{
    std::lock_guard b(lockB_);
    const uint32_t size = static_cast<uint32_t>(outBuf_.size());
    if (size == 0 || count <= 0)
        return 0;
    const uint32_t n = std::min(static_cast<uint32_t>(count), OutBuffFree());
    const uint32_t first = std::min(n, size - outWrite_);
    std::memcpy(outBuf_.data() + outWrite_, bytes, first);
    std::memcpy(outBuf_.data(), bytes + first, n - first);
    outWrite_ = (outWrite_ + n) % size;
    if (n > 0 && outWrite_ == outSend_)
        outFull_ = true;
    return static_cast<int>(n);
}

std::vector<uint8_t> TPortDispatcher::UnsentOutput()
{
    std::lock_guard b(lockB_);
    std::vector<uint8_t> block(OutBuffUsed());
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = outBuf_[(outSend_ + i) % outBuf_.size()];
    return block;
}

void TPortDispatcher::AdvanceOutput(uint32_t n)
{
    {
        std::lock_guard b(lockB_);
        n = std::min(n, OutBuffUsed());
        if (n == 0)
            return;
        outSend_ = (outSend_ + n) % static_cast<uint32_t>(outBuf_.size());
        outFull_ = false;
        if (outSend_ == outWrite_)
            outSend_ = outWrite_ = 0;
    }
    OutputMoved();
}

void TPortDispatcher::DiscardOutput()
{
    {
        std::lock_guard b(lockB_);
        outWrite_ = outSend_ = 0;
        outFull_ = false;
    }
    OutputMoved();
}

// --- byte trace and dispatch log --------------------------------------------

uint32_t TPortDispatcher::LogTime()
{
    return static_cast<uint32_t>(MsClock64() - logBase_);
}

void TPortDispatcher::AddDispatchEntry(
    uint8_t type, uint8_t subtype, uint32_t data, const uint8_t* bytes, uint32_t length)
{
    if (log_.On())
        log_.Add(type, subtype, LogTime(), data, bytes, length);
}

int TPortDispatcher::StartTracing(uint32_t size)
{
    return trace_.Start(size);
}
void TPortDispatcher::PauseTracing()
{
    trace_.Pause();
}
void TPortDispatcher::ResumeTracing()
{
    trace_.Resume();
}
void TPortDispatcher::ClearTracing()
{
    trace_.Clear();
}
void TPortDispatcher::StopTracing()
{
    trace_.Stop();
}

int TPortDispatcher::DumpTrace(const std::string& path, bool append, bool hex, bool allHex)
{
    return trace_.Dump(path, append, hex, allHex);
}

int TPortDispatcher::StartLogging(uint32_t size)
{
    log_.Start(size);
    return 0;
}
void TPortDispatcher::PauseLogging()
{
    log_.Pause();
}
void TPortDispatcher::ResumeLogging()
{
    log_.Resume();
}
void TPortDispatcher::ClearLogging()
{
    log_.Clear();
}
void TPortDispatcher::StopLogging()
{
    log_.Stop();
}

int TPortDispatcher::DumpLog(const std::string& path, bool append, bool hex, bool allHex)
{
    return log_.Dump(path, append, hex, allHex, TLogDumpInfo { PortName(), LogDateTimeText() });
}

} // namespace serial
