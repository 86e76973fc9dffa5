// What an open serial port costs a laptop on board.
//
// BM_BlockingReaderNmeaAt38400: the floor, one thread doing blocking reads
// of the same stream and splitting it into lines.
// BM_OpenPortNmeaAt38400: the port's three worker threads and the GUI
// thread's event handlers, used the way the main window uses them (line
// assembly on available data, re-arming the no-data timer on each carriage
// return). Goal: at most twice the floor (times_blocking_reader <= 2).
// BM_IdleOpenPort: an open port with nothing arriving and the no-data timer
// armed. Goal: the link's threads wake at most once a second.
//
// The instrument is a pseudo-terminal fed from a thread of its own in 10-ms
// slices at 3840 bytes per second (38400 baud, 10 bits per byte). Each
// iteration is one second of port time. cpu_s_per_s is the process's CPU
// time less the instrument thread's per second of data; the CPU column
// includes the instrument. serial_wakes_per_s counts the voluntary context
// switches of the link's own threads (named "serial ...") and
// dispatch_wakes_per_s the dispatch thread's returns from its wait.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "serial/SerPort.h"
#include "serial/Win32Dispatcher.h"

namespace
{

const char* const Sentences[] = {
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n",
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n",
    "!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D,0*24\r\n",
    "!AIVDM,1,1,,B,15MgK45P3@G?fl0E`JbR0OwT0@MS,0*4E\r\n",
    "!AIVDM,2,1,3,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0*3E\r\n",
    "!AIVDM,2,2,3,B,1@0000000000000,2*55\r\n",
};

QCoreApplication& App()
{
    static int argc = 1;
    static char name[] = "bench_serialport";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app
        = QCoreApplication::instance() ? QCoreApplication::instance() : new QCoreApplication(argc, argv);
    return *app;
}

double CpuMs(clockid_t clock)
{
    timespec t {};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double ProcessCpuMs()
{
    return CpuMs(CLOCK_PROCESS_CPUTIME_ID);
}

double ThreadCpuMs()
{
    return CpuMs(CLOCK_THREAD_CPUTIME_ID);
}

constexpr long BytesPerSecond = 38400 / 10; // 8N1: 10 bits per byte

// Voluntary context switches (sleeps ended) of this process's threads whose
// name starts with prefix.
long ThreadWakes(const std::string& prefix)
{
    long total = 0;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return 0;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string name;
        std::getline(std::ifstream(dir + "/comm"), name);
        if (name.rfind(prefix, 0) != 0)
            continue;
        std::ifstream status(dir + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                total += std::stol(line.substr(line.find(':') + 1));
    }
    closedir(tasks);
    return total;
}

// The instrument: its own thread, one write per 10-ms slice as a UART driver
// hands over its FIFO, until stopped; its CPU time is noted for leaving out.
class Instrument
{
public:
    Instrument(int master, const std::string& stream)
        : thread_([this, master, &stream] { Run(master, stream); })
    {
    }
    // The instrument's CPU time in ms.
    double Stop()
    {
        stop_ = true;
        thread_.join();
        return cpuMs_;
    }

private:
    void Run(int master, const std::string& stream)
    {
        const double threadStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        std::size_t at = 0;
        long sent = 0;
        for (int slice = 1; !stop_; ++slice) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * slice));
            const long due = slice * BytesPerSecond / 100;
            std::string bytes;
            for (; sent < due; ++sent, at = (at + 1) % stream.size())
                bytes += stream[at];
            if (!bytes.empty() && write(master, bytes.data(), bytes.size()) < 0)
                break;
        }
        cpuMs_ = ThreadCpuMs() - threadStart;
    }

    std::atomic<bool> stop_ { false };
    std::atomic<double> cpuMs_ { 0 };
    std::thread thread_;
};

std::string NmeaStream()
{
    std::string stream;
    for (const char* sentence : Sentences)
        stream += sentence;
    return stream;
}

int OpenMaster()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    return master;
}

// CPU seconds per second of data of the blocking reader, for the ratio.
double blockingCpuPerSecond = 0;

void BM_BlockingReaderNmeaAt38400(benchmark::State& state)
{
    const int master = OpenMaster();
    const int slave = master < 0 ? -1 : open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    termios t {};
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(slave, TCSANOW, &t);

    std::atomic<long> lines { 0 };
    std::thread reader([&] {
        pthread_setname_np(pthread_self(), "serial blocking");
        std::string line;
        char buffer[256];
        for (;;) {
            const ssize_t n = read(slave, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] == '\r') {
                    ++lines;
                    line.clear();
                } else if (buffer[i] != '\n' && line.size() < 100) {
                    line += buffer[i];
                }
            }
        }
    });
    const std::string stream = NmeaStream();
    double cpuMs = 0;
    const long wakesStart = ThreadWakes("serial");
    for (auto _ : state) {
        const double cpuStart = ProcessCpuMs();
        Instrument instrument(master, stream);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double instrumentMs = instrument.Stop();
        cpuMs += ProcessCpuMs() - cpuStart - instrumentMs;
    }
    const double seconds = static_cast<double>(state.iterations());
    state.counters["serial_wakes_per_s"] = static_cast<double>(ThreadWakes("serial") - wakesStart) / seconds;
    // Closing the master ends the reader's read with an error.
    close(master);
    reader.join();
    close(slave);
    state.counters["lines_per_s"] = static_cast<double>(lines) / seconds;
    blockingCpuPerSecond = cpuMs / 1e3 / seconds;
    state.counters["cpu_s_per_s"] = blockingCpuPerSecond;
}

// An open port set up as the main window sets it up.
struct MainWindowPort {
    explicit MainWindowPort(int master)
    {
        setenv("KORVEX_COM3", ptsname(master), 1);
        port.SetComNumber(3);
        port.SetBaud(38400);
        port.SetAutoOpen(false);
        port.SetOnTriggerAvail([this](serial::TCustomSerialPort& cp, uint16_t count) {
            for (int i = 0; i < count; ++i) {
                const char ch = static_cast<char>(cp.ReadChar());
                if (ch != '\r' && ch != '\n')
                    lineBuffer += ch;
            }
            if (lineBuffer.size() > 99)
                lineBuffer.clear();
        });
        port.SetOnTriggerData([this](serial::TCustomSerialPort& cp, uint16_t handle) {
            if (handle != dataHandle)
                return;
            ++lines;
            cp.RemoveTrigger(handle);
            dataHandle = cp.AddDataTrigger("\r", false);
            cp.ArmTimerTrigger(timerHandle, 273, true);
            lineBuffer.clear();
        });
        port.SetOpen(true);
        port.SetAvailLength(1);
        dataHandle = port.AddDataTrigger("\r", false);
        timerHandle = port.AddTimerTrigger();
        port.ArmTimerTrigger(timerHandle, 273, true);
    }
    ~MainWindowPort() { port.SetOpen(false); }
    uint64_t DispatchWakes()
    {
        auto* engine = dynamic_cast<serial::TWin32Dispatcher*>(port.Engine());
        return engine ? engine->Wakes() : 0;
    }

    serial::TSerialPort port;
    std::string lineBuffer;
    uint16_t dataHandle = 0, timerHandle = 0;
    long lines = 0;
};

// The GUI thread serves the port's events for one second.
void ServeOneSecond()
{
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
}

// One second of an open port per iteration, with the NMEA stream coming in
// or with nothing arriving.
void RunOpenPort(benchmark::State& state, bool withData)
{
    App();
    const int master = OpenMaster();
    if (master < 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    double cpuMs = 0;
    {
        MainWindowPort port(master);
        const std::string stream = NmeaStream();
        if (!withData)
            ServeOneSecond(); // the start settles
        const long wakesStart = ThreadWakes("serial");
        const uint64_t dispatchStart = port.DispatchWakes();
        for (auto _ : state) {
            const double cpuStart = ProcessCpuMs();
            std::optional<Instrument> instrument;
            if (withData)
                instrument.emplace(master, stream);
            ServeOneSecond();
            const double instrumentMs = instrument ? instrument->Stop() : 0;
            cpuMs += ProcessCpuMs() - cpuStart - instrumentMs;
        }
        const double seconds = static_cast<double>(state.iterations());
        state.counters["serial_wakes_per_s"]
            = static_cast<double>(ThreadWakes("serial") - wakesStart) / seconds;
        state.counters["dispatch_wakes_per_s"]
            = static_cast<double>(port.DispatchWakes() - dispatchStart) / seconds;
        const double perSecond = cpuMs / 1e3 / seconds;
        state.counters["cpu_s_per_s"] = perSecond;
        if (withData) {
            state.counters["lines_per_s"] = static_cast<double>(port.lines) / seconds;
            if (blockingCpuPerSecond > 0)
                state.counters["times_blocking_reader"] = perSecond / blockingCpuPerSecond;
        }
    }
    close(master);
}

void BM_OpenPortNmeaAt38400(benchmark::State& state)
{
    RunOpenPort(state, true);
}

void BM_IdleOpenPort(benchmark::State& state)
{
    RunOpenPort(state, false);
}

} // namespace

// The floor first: the open port's ratio is taken against it.
BENCHMARK(BM_BlockingReaderNmeaAt38400)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenPortNmeaAt38400)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_IdleOpenPort)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
