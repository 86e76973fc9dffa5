// CPU cost of an open serial port receiving NMEA at 38400 baud: the port's
// three worker threads and the GUI thread's event handlers, used the way the
// main window uses them (line assembly on available data, re-arming on each
// carriage return). The instrument is a pseudo-terminal fed from a thread of
// its own in 10-ms slices at 3840 bytes per second (10 bits per byte).
//
// Each iteration is one second of port time. port_cpu_ms_per_s is the
// process's CPU time less the instrument thread's, core_percent the same as a
// share of one core; the CPU column includes the instrument. Target: well
// under 1 % of one core.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "serial/SerPort.h"

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

void BM_OpenPortNmeaAt38400(benchmark::State& state)
{
    App();
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    setenv("KORVEX_COM3", ptsname(master), 1);

    serial::TSerialPort port;
    port.SetComNumber(3);
    port.SetBaud(38400);
    port.SetAutoOpen(false);
    std::string lineBuffer;
    uint16_t dataHandle = 0, timerHandle = 0;
    long lines = 0;
    port.SetOnTriggerAvail([&](serial::TCustomSerialPort& cp, uint16_t count) {
        for (int i = 0; i < count; ++i) {
            const char ch = static_cast<char>(cp.ReadChar());
            if (ch != '\r' && ch != '\n')
                lineBuffer += ch;
        }
        if (lineBuffer.size() > 99)
            lineBuffer.clear();
    });
    port.SetOnTriggerData([&](serial::TCustomSerialPort& cp, uint16_t handle) {
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

    std::string stream;
    for (const char* sentence : Sentences)
        stream += sentence;
    double portCpuMs = 0;
    for (auto _ : state) {
        // The instrument: its own thread, one write per 10-ms slice as a
        // UART driver hands over its FIFO; its CPU time is left out.
        std::atomic<bool> stop { false };
        std::atomic<double> instrumentMs { 0 };
        const double cpuStart = ProcessCpuMs();
        std::thread instrument([&] {
            const double threadStart = ThreadCpuMs();
            const auto start = std::chrono::steady_clock::now();
            std::size_t at = 0;
            long sent = 0;
            for (int slice = 1; !stop; ++slice) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * slice));
                const long due = std::min(slice, 100) * BytesPerSecond / 100;
                std::string bytes;
                for (; sent < due; ++sent, at = (at + 1) % stream.size())
                    bytes += stream[at];
                if (!bytes.empty() && write(master, bytes.data(), bytes.size()) < 0)
                    break;
            }
            instrumentMs = ThreadCpuMs() - threadStart;
        });
        // The GUI thread serves the port's events for one second.
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        stop = true;
        instrument.join();
        portCpuMs += ProcessCpuMs() - cpuStart - instrumentMs;
    }
    state.counters["lines_per_s"]
        = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["port_cpu_ms_per_s"] = portCpuMs / static_cast<double>(state.iterations());
    state.counters["core_percent"] = portCpuMs / static_cast<double>(state.iterations()) / 10.0;
    port.SetOpen(false);
    close(master);
}

} // namespace

BENCHMARK(BM_OpenPortNmeaAt38400)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
