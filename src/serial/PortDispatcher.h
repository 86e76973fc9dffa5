#pragma once
// TPortDispatcher: the port engine behind one open serial port.
//
// It owns the 8192-byte ring of received bytes and the output buffer, holds
// the line settings, evaluates the triggers (available data, data strings,
// timers, status) against what arrives and delivers each one as a message to
// the registered handler windows. Device work (open, close, read, write, line
// state, worker threads) goes through the virtual slots below, which a back
// end implements over a real device; the engine itself does no I/O.
//
// Threads: the evaluation passes (ProcessCommEvent, ProcessTimers and the
// Check*/ReadInput steps they run) are called by one thread at a time: the
// back end's dispatch thread, or the GUI thread that it hands a whole pass
// to; everything else by the GUI thread, also from inside a handler while the
// pass waits for that handler. Lock order: engine list, A, C,
// B, then the trace and log (leaves). No engine lock is held while a handler
// is called, so handlers may change triggers, read bytes and write output.
//
// Messages: 0x7E01 available data (wParam = unread count), 0x7E02 data
// trigger (wParam = handle, data = text length), 0x7E03 timer trigger
// (wParam = handle), 0x7E04 status trigger (wParam = handle). lParam = engine
// number * 65536 + data.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "serial/ByteTrace.h"
#include "serial/DispatchLog.h"
#include "serial/SerMisc.h"

namespace serial
{

class TCustomSerialPort; // the com-port component that owns an engine

constexpr uint32_t TriggerAvailMsg = 0x7E01;
constexpr uint32_t TriggerDataMsg = 0x7E02;
constexpr uint32_t TriggerTimerMsg = 0x7E03;
constexpr uint32_t TriggerStatusMsg = 0x7E04;

constexpr int AvailTriggerHandle = 1; // stands for the available-data trigger
constexpr uint32_t InputRingSize = 8192;
constexpr uint32_t MaxDataTriggerLength = 21;
constexpr uint32_t HandleCounterLimit = 4096; // handles are counter * 8

// Comm event bits handed to ProcessCommEvent.
constexpr uint32_t EvRxChar = 0x0001;
constexpr uint32_t EvCts = 0x0008;
constexpr uint32_t EvDsr = 0x0010;
constexpr uint32_t EvRlsd = 0x0020;
constexpr uint32_t EvBreak = 0x0040;
constexpr uint32_t EvErr = 0x0080;
constexpr uint32_t EvRing = 0x0100;
constexpr uint32_t EvRingTe = 0x2000; // ring trailing edge

// Line error bits reported by GetComError, accumulated until taken.
constexpr uint32_t CeRxOver = 0x01;
constexpr uint32_t CeOverrun = 0x02;
constexpr uint32_t CeParity = 0x04;
constexpr uint32_t CeFrame = 0x08;
constexpr uint32_t CeBreak = 0x10;

// Modem status byte: line states in the high nibble (GetModemStatus), change
// flags in the low nibble (computed by the engine).
constexpr uint8_t MsCtsOn = 0x10;
constexpr uint8_t MsDsrOn = 0x20;
constexpr uint8_t MsRingOn = 0x40;
constexpr uint8_t MsDcdOn = 0x80;

// EscapeCom functions.
constexpr int EscSetRts = 3;
constexpr int EscClrRts = 4;
constexpr int EscSetDtr = 5;
constexpr int EscClrDtr = 6;

enum class ComSide { Output, Input };

// Driver queue counts, filled by GetComError. OutQueue is the engine's own
// unsent count (OutBuffUsed).
struct TComStat {
    uint32_t InQueue = 0;
    uint32_t OutQueue = 0;
};

constexpr uint8_t DtrDisable = 0, DtrEnable = 1, DtrHandshake = 2;
constexpr uint8_t RtsDisable = 0, RtsEnable = 1, RtsHandshake = 2, RtsToggle = 3;
constexpr uint8_t OneStopBit = 0, One5StopBits = 1, TwoStopBits = 2;

// The device's line settings, read and written whole.
struct TLineSettings {
    uint32_t Baud = 19200; // bits per second
    uint8_t DataBits = 8; // 5 to 8
    uint8_t Parity = 0; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t StopBits = 0; // OneStopBit, One5StopBits, TwoStopBits
    bool Binary = true; // no end-of-file character processing
    bool ParityCheck = false; // report parity errors
    bool OutxCtsFlow = false; // hold output while CTS is off
    bool OutxDsrFlow = false; // hold output while DSR is off
    uint8_t DtrControl = DtrEnable;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = true;
    bool OutX = false; // XON/XOFF on the transmit side
    bool InX = false; // XON/XOFF on the receive side
    bool NullStrip = false;
    uint8_t RtsControl = RtsEnable;
    uint16_t XonLimit = 0; // send XON when the input queue falls to this
    uint16_t XoffLimit = 0; // send XOFF when free input space falls to this
    uint8_t XonChar = 17;
    uint8_t XoffChar = 19;
    bool operator==(const TLineSettings&) const = default;
};

// Trigger records (also what SaveTriggers copies).
struct TTimerTrigger {
    int32_t Handle = 0;
    TickTimer Timer;
    uint64_t Period = 0; // ticks
    int32_t Reserved = -1;
    bool Active = false;
};

struct TDataTrigger {
    int32_t Handle = 0;
    uint32_t Length = 0; // 0 to 21; 0 never matches
    std::array<uint32_t, MaxDataTriggerLength + 1> Counters {}; // partial matches
    bool Matched = false;
    bool IgnoreCase = false;
    std::array<uint8_t, MaxDataTriggerLength> Text {}; // upper-cased when IgnoreCase
};

// Status trigger kinds (low 3 bits of the handle).
constexpr int StatusModem = 1, StatusLine = 2, StatusOutFree = 3, StatusOutUsed = 4, StatusOutSent = 5;

struct TStatusTrigger {
    int32_t Handle = 0; // multiple of 8 plus the kind
    uint16_t Value = 0;
    bool Armed = false;
    bool Hit = false;
};

// A copy of an engine's triggers, kept by the component while the port is
// closed and put back at the next open.
struct SavedTriggers {
    uint32_t AvailThreshold = 0;
    std::vector<TTimerTrigger> Timers;
    std::vector<TDataTrigger> Data;
    std::vector<TStatusTrigger> Status;
};

// A receiver of trigger messages (the component's hidden window). Called on
// the dispatch thread; returns when the message has been handled or the
// receiver gave up waiting for it (the component waits at most 3000 ms).
class TTriggerWindow
{
public:
    virtual ~TTriggerWindow() = default;
    virtual void SendTrigger(uint32_t message, uint32_t wParam, uint32_t lParam) = 0;
};

// What became of the output given to the device (TakeOutputOutcome).
enum class TOutputOutcome : uint8_t { None, Sent, Refused };

class TPortDispatcher
{
public:
    explicit TPortDispatcher(TCustomSerialPort* owner);
    // A back end's destructor must call DestroyPort() first: the base class
    // destructor can no longer reach the back end's slots.
    virtual ~TPortDispatcher();
    TPortDispatcher(const TPortDispatcher&) = delete;
    TPortDispatcher& operator=(const TPortDispatcher&) = delete;

    // --- device slots, implemented by the back end --------------------------
    virtual int EscapeCom(int function) = 0; // 0, or a negative code
    virtual int FlushCom(ComSide side) = 0; // purge; 0 or -(system error)
    virtual uint32_t GetComError(TComStat& status) = 0; // error bits (Ce*), fills counts
    virtual int ReportComError() = 0;
    virtual int GetComState(TLineSettings& settings) = 0; // 0 or -1
    virtual int ReadCom(uint8_t* buffer, int count) = 0; // bytes read, at once
    virtual int SetComState(const TLineSettings& settings) = 0; // 0 or -(system error)
    // Hands bytes to the output side (normally CopyToOutBuffer plus a wake of
    // the output thread); returns the count taken, 0 or less on failure.
    virtual int WriteCom(const uint8_t* buffer, int count) = 0;
    virtual bool WaitComEvent(uint32_t& eventMask) = 0;
    virtual int SetupCom(int inSize, int outSize) = 0; // 0 or -(system error)
    // Stops the worker threads (StopDispatcher) and frees the ring and the
    // output buffer; a second call does nothing.
    virtual void ReleaseBuffers();
    virtual void StartDispatcher() = 0;
    // Returns at once when the threads do not run; called without any engine
    // lock held.
    virtual void StopDispatcher() = 0;
    // Opens the device: a handle >= 0, -8 when out of memory, otherwise the
    // negated system error number (2 not found, 5 access denied, ...).
    virtual int OpenCom(const std::string& deviceName, int inSize, int outSize) = 0;
    virtual int CloseCom() = 0;
    virtual int ProcessCommunications() = 0;
    virtual void SetThreadBoost(uint8_t boost); // stores it; back ends apply it
    // 0 recompute, 1 own handler installed, 2 own handler not installed.
    virtual void UpdateHandlerState(int mode);
    // Current modem line states (Ms*On bits); 0 when the device has none.
    virtual uint8_t GetModemStatus() = 0;
    // The line error bits (Ce*) of GetComError without the queue counts.
    virtual uint32_t TakeComErrors();

    // --- operations of the component (GUI thread) ---------------------------
    // control: bit 0 DTR on, bit 1 RTS on, bit 4 DTR by handshake, bit 5 RTS by
    // handshake. parity 0..4, stopBits 1 or 2.
    int OpenPort(const std::string& deviceName, uint32_t baud, uint8_t control, int outSize, int inSize,
        int dataBits, int stopBits, int parity);
    void ClosePort();
    // Closes the device, or only releases the buffers when a close is pending;
    // back ends call it from their destructor.
    void DestroyPort();
    // baud 0, parity 5, dataBits 9, stopBits 3 keep the current value.
    int SetLine(uint32_t baud, int parity, int dataBits, int stopBits);
    int SetupQueues(int inSize, int outSize);
    int SetDTRLine(bool on); // 1 when DTR is driven by handshake
    int SetRTSLine(bool on);
    // mask: 1 use DTR, 2 use RTS, 4 require DSR, 8 require CTS.
    int SetHardwareFlow(int bufferFull, int bufferResume, int mask);
    // mask: 1 transmit side, 2 receive side.
    int SetSoftwareFlow(int bufferFull, int bufferResume, int mask);
    int SoftwareFlowOff();
    int SetFlowChars(uint8_t xon, uint8_t xoff);
    void SetRS485Mode(bool on);
    void SetOptionFlags(uint32_t flags);
    uint32_t OptionFlags() const;

    // Inside an available-data or data event the k-th call returns the byte
    // at read position + k - 1 and consumes nothing until the delivery ends;
    // outside an event it consumes one byte. -3007 when none is left.
    int GetChar(uint8_t& ch);
    int PutBlock(const uint8_t* bytes, int length);
    uint32_t InBuffUsed();
    uint32_t OutBuffUsed();
    uint32_t OutBuffFree();
    int FlushInBuffer();
    int FlushOutBuffer();
    int TakeLineError(); // 1 overflow, 2 overrun, 3 parity, 4 framing, 9 break, 0
    bool TakeLineBreak();

    void SetAvailTrigger(uint32_t threshold);
    uint32_t AvailTrigger();
    int AddDataTrigger(const std::string& text, bool ignoreCase); // handle or code
    int AddTimerTrigger(); // handle or code
    int SetTimerTrigger(int handle, uint64_t ticks, bool activate);
    int RemoveTrigger(int handle);
    void ClearAllTriggers();
    void SaveTriggers(SavedTriggers& saved);
    void RestoreTriggers(const SavedTriggers& saved);
    static void FreeSavedTriggers(SavedTriggers& saved);

    void RegisterWndHandler(TTriggerWindow* window);
    void DeregisterWndHandler(TTriggerWindow* window);

    // --- evaluation passes (dispatch thread) --------------------------------
    // One wake of the dispatch thread for a comm event (mask of Ev* bits; the
    // last mask again after a timed-out wait; the device is read when it holds
    // EvRxChar) and for the timer triggers. The back end checks
    // ClosePending() after each.
    void ProcessCommEvent(uint32_t eventMask);
    void ProcessTimers();
    bool ReadInput();
    bool CheckDataTriggers();
    bool CheckTimerTriggers();
    bool CheckStatusTriggers();

    // --- byte trace and dispatch log ----------------------------------------
    int StartTracing(uint32_t size); // 0, or -1002 for 0 or more than 4000000
    void PauseTracing();
    void ResumeTracing();
    void ClearTracing();
    void StopTracing();
    int DumpTrace(const std::string& path, bool append, bool hex, bool allHex);
    int StartLogging(uint32_t size);
    void PauseLogging();
    void ResumeLogging();
    void ClearLogging();
    void StopLogging();
    int DumpLog(const std::string& path, bool append, bool hex, bool allHex);
    void AddDispatchEntry(
        uint8_t type, uint8_t subtype, uint32_t data, const uint8_t* bytes = nullptr, uint32_t length = 0);
    TByteTrace& Trace() { return trace_; }
    TDispatchLog& Log() { return log_; }

    // --- state --------------------------------------------------------------
    TCustomSerialPort* Owner() const { return owner_; }
    uint32_t EngineNumber() const { return engineNumber_; }
    void SetPortName(const std::string& name);
    std::string PortName();
    int DeviceHandle() const { return handle_.load(); }
    bool IsOpen() const { return handle_.load() >= 0; }
    bool Delivering() const { return delivering_.load(); }
    bool ClosePending() const { return closePending_.load(); }
    uint8_t ThreadBoost() const { return boost_.load(); }
    bool RS485Mode() const { return rs485_.load(); }
    uint8_t ModemStatus();
    TLineSettings LineSettings(); // as last read from or written to the device

    // The global engine list: an engine's number is its index. Hold the lock
    // while using the engine FindEngine returns.
    static std::recursive_mutex& EngineListLock();
    static TPortDispatcher* FindEngine(uint32_t number);

    // What became of the output given to the device since the last call:
    // the later of a block sent and a block the device refused (its bytes
    // are lost); None when nothing was written.
    TOutputOutcome TakeOutputOutcome() { return outputOutcome_.exchange(TOutputOutcome::None); }

protected:
    // The back end's output side: a block was sent or refused.
    void NoteOutputOutcome(TOutputOutcome outcome) { outputOutcome_ = outcome; }
    // --- helpers for the back end's output side (lock B inside) -------------
    // Copies bytes into the output buffer at the write position, wrapping at
    // its end; returns the count copied (the caller checked the free space).
    int CopyToOutBuffer(const uint8_t* bytes, int count);
    // All unsent bytes, oldest first, as one contiguous block.
    std::vector<uint8_t> UnsentOutput();
    // Marks n bytes as sent (n is cut to the unsent count).
    void AdvanceOutput(uint32_t n);
    // Forgets all unsent bytes.
    void DiscardOutput();
    std::recursive_mutex& LockA() { return lockA_; }
    std::recursive_mutex& LockB() { return lockB_; }
    std::recursive_mutex& LockC() { return lockC_; }
    // Reads the modem lines; keepChanges false forgets earlier change flags.
    void RefreshModemStatus(bool keepChanges);
    void RefreshLineErrors();
    // Sets the ring-seen flag: the next modem refresh reports a trailing edge.
    void NoteRingSeen();

    // --- the dispatch thread's sleep ------------------------------------------
    // The dispatch thread sleeps between passes until a comm event comes or
    // until nothing else can have changed what a pass would find. Before it
    // sleeps it calls BeginSleep with the clock time (MsClock64) it wakes at
    // anyway; the result is the time it should wake at: the earlier of that
    // and the moment the next armed timer trigger falls due, or 0 when a
    // change since its last pass wants another pass at once. While it sleeps,
    // a timer armed to fall due earlier and any other change a pass must see
    // (available-data threshold, restored triggers, output that a status
    // trigger watches) call WakeDispatcher. EndSleep when it has woken; true
    // when a change came meanwhile, which asks for a pass.
    uint64_t BeginSleep(uint64_t wakeAtMs);
    bool EndSleep();
    // Whether the last pass left work it will not be told about: a full ring
    // (bytes wait in the driver, and the ring is announced at every pass) or
    // bytes not yet scanned for data triggers because a pass stopped early.
    bool PassLeftWork();
    // What the bytes read since the last pass ask of the dispatch thread
    // (called between passes, after ReadInput):
    //   PassNow  one of them may complete a data trigger's text, status
    //            triggers watch the line, or the ring is half full;
    //   Hold     only the available-data event has bytes to announce: the
    //            back end may wait a little (InputHoldMs) for the rest of the
    //            line, so that one pass delivers what a line brings;
    //   None     nothing would be delivered.
    enum class InputNeed { None, Hold, PassNow };
    InputNeed InputPassNeed();
    // Wakes the dispatch thread from its sleep (the back end's signal).
    virtual void WakeDispatcher() { }

private:
    struct WndRecord {
        TTriggerWindow* Window = nullptr;
        bool Deleted = false;
    };

    bool NotifyHandlers(uint32_t message, uint32_t wParam, uint32_t data);
    int NextTriggerHandle();
    bool MatchDataTrigger(TDataTrigger& trigger, uint8_t byte);
    uint32_t UnreadCount() const; // lock C held
    void Consume(uint32_t count); // lock C held: moves the read position
    void DrainOutput(const TLineSettings& settings);
    int ApplyLine(TLineSettings& settings);
    uint32_t LogTime();
    void ClearHitMarks();
    // A change a pass must see: the next sleep is skipped, a current one ended.
    void NudgeDispatcher();
    void OutputMoved(); // output positions changed: nudges when status triggers watch them

    TCustomSerialPort* owner_;
    uint32_t engineNumber_ = 0;
    std::atomic<int> handle_ { -1 };

    // lock A: settings, triggers, handler lists, modem status
    std::recursive_mutex lockA_;
    // lock B: output buffer positions
    std::recursive_mutex lockB_;
    // lock C: ring positions and in-event read state
    std::recursive_mutex lockC_;

    std::atomic<uint32_t> lineErrors_ { 0 };
    TLineSettings settings_;
    uint32_t lastBaud_ = 115200;
    uint8_t modemStatus_ = 0;
    bool ringSeen_ = false;
    bool dtrState_ = false, dtrHandshake_ = false;
    bool rtsState_ = false, rtsHandshake_ = false;
    std::atomic<bool> rs485_ { false };
    std::atomic<uint8_t> boost_ { 0 };
    std::atomic<uint32_t> optionFlags_ { 0 };
    int inSize_ = 0, outSize_ = 0;
    std::string portName_;

    std::vector<WndRecord> windows_;
    bool ownHandlerInstalled_ = false;
    std::atomic<bool> serviceNeeded_ { false };
    std::atomic<bool> delivering_ { false };
    bool removalPending_ = false;
    std::atomic<bool> closePending_ { false };

    std::vector<TTimerTrigger> timers_;
    std::vector<TDataTrigger> dataTriggers_;
    std::vector<TStatusTrigger> statusTriggers_;
    uint32_t availThreshold_ = 0;
    uint32_t handleCounter_ = 1;
    bool anyHit_ = false;
    std::atomic<bool> hasStatusTriggers_ { false };
    // The clock time the dispatch thread sleeps until (written under lock A),
    // 0 while it is awake; nudged_ is set by a change it has not seen yet.
    std::atomic<uint64_t> sleepUntil_ { 0 };
    std::atomic<bool> nudged_ { false };

    std::vector<uint8_t> ring_;
    uint32_t ringWrite_ = 0, ringRead_ = 0;
    bool ringFull_ = false;
    uint32_t scanned_ = 0; // unread bytes already scanned for data triggers
    bool matchHeld_ = false; // the byte at scanned_ was scanned and matched
    bool scanGap_ = false; // bytes were consumed unscanned
    uint64_t consumed_ = 0; // bytes consumed since open (read position moves)
    // Where the last available-data notice stood, counted in bytes since open
    // (consumed_ plus the unread bytes before it): a ring position would come
    // round to the same value after a full ring's worth of input, and a ring
    // filled before the first notice would never be announced.
    uint64_t notifyPos_ = 0;
    bool inEvent_ = false;
    uint32_t handlerReadCount_ = 0;
    uint32_t largestReadCount_ = 0;

    std::vector<uint8_t> outBuf_;
    uint32_t outWrite_ = 0, outSend_ = 0;
    bool outFull_ = false;
    std::atomic<bool> blockWritten_ { false };

    TByteTrace trace_;
    TDispatchLog log_;
    std::atomic<uint64_t> logBase_ { 0 };
    std::atomic<TOutputOutcome> outputOutcome_ { TOutputOutcome::None };
};

} // namespace serial
