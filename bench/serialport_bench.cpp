// What an open serial port costs a laptop on board.
//
// BM_NmeaAt38400LinkAgainstBlockingReader: the NMEA stream at 38400 baud
// through the link, used the way the main window uses it (line assembly on
// available data, the data trigger on each carriage return re-armed with
// the no-data timer), against the floor: one thread doing blocking reads of
// the same stream and splitting it into lines. Each iteration is one second
// of the floor and then one second of the link, so that both see the same
// load of the machine. link_cpu_s_per_s is the CPU time of the link's
// threads (comm, dispatch, output) and of the GUI thread while it serves
// the port, per second of stream; floor_cpu_s_per_s that of the blocking
// reader; times_blocking_reader their ratio. Goal: at most 2.
// dispatch_cpu_s_per_s and gui_cpu_s_per_s split the link's figure;
// serial_wakes_per_s counts the voluntary context switches of the link's
// threads (named "serial ...") and floor_wakes_per_s those of the reader.
// BM_IdleOpenPort: an open port with nothing arriving and the no-data timer
// armed. Goal: the link's threads wake at most once a second
// (serial_wakes_per_s; dispatch_wakes_per_s counts the dispatch thread's
// returns from its wait).
//
// The instrument is a pseudo-terminal fed from a thread of its own in 10-ms
// slices at 3840 bytes per second (38400 baud, 10 bits per byte), as a UART
// driver hands its FIFO on. Thread CPU times are the scheduler's run times.
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

double ThreadCpuMs()
{
    return CpuMs(CLOCK_THREAD_CPUTIME_ID);
}

constexpr long BytesPerSecond = 38400 / 10; // 8N1: 10 bits per byte

// Calls visit with the /proc directory of each of this process's threads
// whose name starts with prefix.
template <class Visit> void ForThreads(const std::string& prefix, Visit visit)
{
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string name;
        std::getline(std::ifstream(dir + "/comm"), name);
        if (name.rfind(prefix, 0) == 0)
            visit(dir);
    }
    closedir(tasks);
}

// Voluntary context switches (sleeps ended) of the threads named prefix...
long ThreadWakes(const std::string& prefix)
{
    long total = 0;
    ForThreads(prefix, [&](const std::string& dir) {
        std::ifstream status(dir + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                total += std::stol(line.substr(line.find(':') + 1));
    });
    return total;
}

// Their CPU time in ms (the scheduler's run time, to the nanosecond).
double ThreadsCpuMs(const std::string& prefix)
{
    double total = 0;
    ForThreads(prefix, [&](const std::string& dir) {
        double ns = 0;
        if (std::ifstream(dir + "/schedstat") >> ns)
            total += ns / 1e6;
    });
    return total;
}

// The instrument: its own thread, one write per 10-ms slice as a UART driver
// hands over its FIFO, until stopped.
class Instrument
{
public:
    Instrument(int master, const std::string& stream)
        : thread_([this, master, &stream] { Run(master, stream); })
    {
    }
    void Stop()
    {
        stop_ = true;
        thread_.join();
    }

private:
    void Run(int master, const std::string& stream)
    {
        pthread_setname_np(pthread_self(), "instrument");
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
    }

    std::atomic<bool> stop_ { false };
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

// The floor: one thread doing blocking reads, splitting the bytes into lines.
class BlockingReader
{
public:
    explicit BlockingReader(int master)
        : master_(master)
        , slave_(master < 0 ? -1 : open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        if (slave_ < 0)
            return;
        termios t {};
        tcgetattr(slave_, &t);
        cfmakeraw(&t);
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        tcsetattr(slave_, TCSANOW, &t);
        thread_ = std::thread([this] { Run(); });
    }
    ~BlockingReader()
    {
        // Closing the master ends the reader's read with an error.
        if (master_ >= 0)
            close(master_);
        if (thread_.joinable())
            thread_.join();
        if (slave_ >= 0)
            close(slave_);
    }
    bool Ok() const { return slave_ >= 0; }
    long Lines() const { return lines_; }

private:
    void Run()
    {
        pthread_setname_np(pthread_self(), "floor reader");
        std::string line;
        char buffer[256];
        for (;;) {
            const ssize_t n = read(slave_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] == '\r') {
                    ++lines_;
                    line.clear();
                } else if (buffer[i] != '\n' && line.size() < 100) {
                    line += buffer[i];
                }
            }
        }
    }

    int master_, slave_;
    std::atomic<long> lines_ { 0 };
    std::thread thread_;
};

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

// The GUI thread serves the port's events for one second; its CPU time in ms.
double ServeOneSecond()
{
    const double start = ThreadCpuMs();
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    return ThreadCpuMs() - start;
}

void BM_NmeaAt38400LinkAgainstBlockingReader(benchmark::State& state)
{
    App();
    const int floorMaster = OpenMaster();
    const int linkMaster = OpenMaster();
    if (linkMaster < 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    BlockingReader reader(floorMaster);
    if (!reader.Ok()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    double floorMs = 0, dispatchMs = 0, guiMs = 0, linkMs = 0;
    long floorWakes = 0, linkWakes = 0;
    long linkLines = 0;
    {
        MainWindowPort port(linkMaster);
        const std::string stream = NmeaStream();
        for (auto _ : state) {
            double start = ThreadsCpuMs("floor");
            long wakes = ThreadWakes("floor");
            {
                Instrument instrument(floorMaster, stream);
                std::this_thread::sleep_for(std::chrono::seconds(1));
                instrument.Stop();
            }
            floorMs += ThreadsCpuMs("floor") - start;
            floorWakes += ThreadWakes("floor") - wakes;

            start = ThreadsCpuMs("serial ");
            const double dispatchStart = ThreadsCpuMs("serial dispatch");
            wakes = ThreadWakes("serial ");
            Instrument instrument(linkMaster, stream);
            const double gui = ServeOneSecond();
            instrument.Stop();
            guiMs += gui;
            linkMs += ThreadsCpuMs("serial ") - start + gui;
            dispatchMs += ThreadsCpuMs("serial dispatch") - dispatchStart;
            linkWakes += ThreadWakes("serial ") - wakes;
        }
        linkLines = port.lines;
    }
    close(linkMaster);
    const double seconds = static_cast<double>(state.iterations());
    state.counters["floor_cpu_s_per_s"] = floorMs / 1e3 / seconds;
    state.counters["link_cpu_s_per_s"] = linkMs / 1e3 / seconds;
    state.counters["times_blocking_reader"] = floorMs > 0 ? linkMs / floorMs : 0;
    state.counters["dispatch_cpu_s_per_s"] = dispatchMs / 1e3 / seconds;
    state.counters["gui_cpu_s_per_s"] = guiMs / 1e3 / seconds;
    state.counters["floor_wakes_per_s"] = static_cast<double>(floorWakes) / seconds;
    state.counters["serial_wakes_per_s"] = static_cast<double>(linkWakes) / seconds;
    state.counters["floor_lines_per_s"] = static_cast<double>(reader.Lines()) / seconds;
    state.counters["link_lines_per_s"] = static_cast<double>(linkLines) / seconds;
}

// An open port with nothing arriving, one second per iteration.
void BM_IdleOpenPort(benchmark::State& state)
{
    App();
    const int master = OpenMaster();
    if (master < 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    {
        MainWindowPort port(master);
        ServeOneSecond(); // the start settles
        const long wakesStart = ThreadWakes("serial ");
        const double cpuStart = ThreadsCpuMs("serial ");
        const uint64_t dispatchStart = port.DispatchWakes();
        double guiMs = 0;
        for (auto _ : state)
            guiMs += ServeOneSecond();
        const double seconds = static_cast<double>(state.iterations());
        state.counters["serial_wakes_per_s"]
            = static_cast<double>(ThreadWakes("serial ") - wakesStart) / seconds;
        state.counters["dispatch_wakes_per_s"]
            = static_cast<double>(port.DispatchWakes() - dispatchStart) / seconds;
        state.counters["link_cpu_s_per_s"] = (ThreadsCpuMs("serial ") - cpuStart + guiMs) / 1e3 / seconds;
    }
    close(master);
}

} // namespace

BENCHMARK(BM_NmeaAt38400LinkAgainstBlockingReader)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_IdleOpenPort)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
