#pragma once
// TWin32Dispatcher: the port engine over a real serial device (the POSIX
// device layer of platform/SerialDevice.h; the class keeps its historical
// name), with three worker threads per open port:
//
//   comm thread      waits for modem line changes (in the driver where it
//                    can, so an idle line costs no wake) and hands them to
//                    the dispatch thread;
//   dispatch thread  waits for bytes arriving on the device itself, for the
//                    comm thread's events and for the next armed timer
//                    trigger (it wakes in the tick the timer expires); it
//                    reads the bytes into the input ring as they come and
//                    has the triggers evaluated when a pass can deliver
//                    something. Between them it sleeps, and an idle port with
//                    no timer armed does not wake it at all;
//   output thread    writes the output buffer to the device, all unsent
//                    bytes as one block, oldest first.
//
// A pass (the evaluation of the triggers and every event it delivers) runs
// on the GUI thread as one delivery, so that the events of a line (its
// available data, its data trigger, the rest behind it) cost the GUI thread
// one wake. The dispatch thread hands the pass over without waiting for it;
// while a pass is queued or runs, the dispatch thread leaves the port's state
// alone and only asks for one more round of it (which reads what came
// meanwhile). A pass the GUI thread has not started within the delivery wait
// limit is taken back and run on the dispatch thread, each event then handed
// over and waited for on its own (and dropped as any delivery is); the
// queued one then does nothing. Bytes that only the available-data event
// would announce are held for at most InputHoldMs, so that they go with the
// line end that follows; a line end (any byte that may complete a data
// trigger) is delivered at once.
//
// Stopping sets the kill flag and a stop signal every thread waits on, then
// joins the threads; on the GUI thread it serves the pending deliveries of
// the dispatch thread while it waits. The device is closed only after the
// threads have ended. A device that goes away (adapter unplugged, the other
// end of a pseudo-terminal closed) ends the comm thread; the dispatch thread
// goes on, so timer triggers keep firing.
//
// The dispatch thread looks again every 50 ms only while a pass has left
// work that no event will announce (a full ring, a scan stopped early) and
// while a test clock is installed, which does not move with real time.

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/SerialDevice.h"
#include "platform/SerialEvent.h"
#include "serial/PortDispatcher.h"

namespace serial
{

class TWin32Dispatcher : public TPortDispatcher
{
public:
    // The dispatch thread's wait while a pass left work or a test clock runs.
    static constexpr int DispatchWakeMs = 50;
    // Its longest sleep otherwise (a timer armed for days is looked at again).
    static constexpr int LongestSleepMs = 60000;
    // How long bytes only the available-data event would announce may wait
    // for more.
    static constexpr int InputHoldMs = 50;

    explicit TWin32Dispatcher(TCustomSerialPort* owner);
    ~TWin32Dispatcher() override;

    int EscapeCom(int function) override;
    int FlushCom(ComSide side) override;
    uint32_t GetComError(TComStat& status) override;
    int ReportComError() override;
    int GetComState(TLineSettings& settings) override;
    int ReadCom(uint8_t* buffer, int count) override;
    int SetComState(const TLineSettings& settings) override;
    int WriteCom(const uint8_t* buffer, int count) override;
    bool WaitComEvent(uint32_t& eventMask) override;
    int SetupCom(int inSize, int outSize) override;
    void StartDispatcher() override;
    void StopDispatcher() override;
    int OpenCom(const std::string& deviceName, int inSize, int outSize) override;
    int CloseCom() override;
    int ProcessCommunications() override;
    uint8_t GetModemStatus() override;
    uint32_t TakeComErrors() override;
    void WakeDispatcher() override;

    // State for tests and the benchmark.
    bool ThreadsRunning() const { return running_.load(); }
    int LiveThreads() const { return live_.load(); }
    bool CommThreadEnded() const { return commEnded_.load(); }
    bool DeviceVanished() const { return vanished_.load(); }
    // Passes of the dispatch thread since the threads started.
    uint64_t Passes() const { return passes_.load(); }
    // Times the dispatch thread woke from its wait since the threads started.
    uint64_t Wakes() const { return wakes_.load(); }

private:
    void CommThreadBody();
    void DispThreadBody();
    void OutThreadBody();
    void RunThread(void (TWin32Dispatcher::*body)(), uint32_t kind);
    void WriteOutput();
    int DispatchWaitMs(long long heldSinceMs);
    void Pass(uint32_t mask);
    bool PassOutstanding();
    void RequestPass(uint32_t mask);
    bool TakeBackStalePass();
    struct PassTicket;
    static void RunQueuedPass(const std::shared_ptr<PassTicket>& ticket);
    void DeviceGone();
    void JoinThreads();

    platform::SerialDevice device_;
    TLineSettings shadow_; // what termios does not hold is kept as last set

    // Signals between the threads (see the header comment).
    platform::SerialEvent commEvent_; // comm thread -> dispatch thread
    platform::SerialEvent wake_; // a change a pass must see -> dispatch thread
    platform::SerialEvent started_; // each thread once it runs
    platform::SerialEvent outputReady_; // WriteCom -> output thread
    platform::SerialEvent flush_; // FlushCom -> output thread
    platform::SerialEvent flushAck_; // output thread -> FlushCom
    platform::SerialEvent outEnded_ { true }; // the output thread has ended
    platform::SerialEvent stop_ { true }; // every thread: leave now
    platform::SerialEvent commQuit_ { true }; // the comm thread: leave now
    platform::SerialEvent commGone_ { true }; // the comm thread has ended
    platform::SerialEvent passEnded_; // a pass on the GUI thread left work

    std::mutex startStop_; // StartDispatcher and StopDispatcher; no thread takes it
    std::thread commThread_, dispThread_, outThread_;
    std::atomic<bool> running_ { false };
    std::atomic<bool> kill_ { false };
    std::atomic<bool> closeRequested_ { false };
    std::atomic<int> live_ { 0 };
    std::atomic<bool> commEnded_ { false };
    std::atomic<bool> vanished_ { false };
    std::atomic<bool> commInDriver_ { false }; // the comm thread waits in the driver
    std::atomic<bool> leftWork_ { false }; // the last pass left work (PassLeftWork)
    // The pass handed to the GUI thread; the queued delivery keeps it, as it
    // may outlive the engine.
    std::shared_ptr<PassTicket> ticket_;
    std::atomic<uint32_t> pendingMask_ { 0 };
    std::atomic<uint64_t> passes_ { 0 };
    std::atomic<uint64_t> wakes_ { 0 };
};

} // namespace serial
