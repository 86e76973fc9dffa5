// Resident memory of korvex after an hour of NMEA and AIS input at the rate a
// 38400-baud line carries (3800 bytes a second: GGA and RMC each second,
// "!AIVDM" sentences of 300 vessels filling the rest), beside a bare Qt
// window measured the same way. Each side runs in a child process of its
// own, so the figures do not share a heap.
//
// The input goes in through the serial events of the main window with a
// port that only hands out bytes, in simulated time: one second per GGA and
// RMC pair, then the fix tick, the seconds tick, the AIS view's refresh
// every 5 seconds and a redraw of every view. The run takes place in a copy
// of the demo folder, so the day's logs and the AIS database are written to
// a temporary place.
//
// At the end of each quarter of the run VmRSS is read, then malloc gives
// back its free pages (malloc_trim) and VmRSS is read again: the freed heap
// that glibc keeps grows with fragmentation whatever the program holds, so
// the second figure is the one that shows a leak.
// Counters: korvex_rss_kb and korvex_rss_trimmed_kb at the end; the same
// for the bare window; rss_growth_kb (trimmed, the end less the end of the
// first quarter); heap_growth_kb (bytes malloc has handed out, the same way);
// input_bytes, seconds_simulated, korvex_run_s; per quarter q1..q4 the VmRSS
// read before and after the trim, its anonymous part, the heap in use, the
// freed heap malloc kept and the thread count; and what shows that the run
// did its work: AIS targets, database records, track records, views and the
// bytes of the logs. Growth must stay flat: a few hundred KB, nothing per
// sentence.
//   build/bench/bench_soak --benchmark_filter=minutes:6/   a quick check
//   build/bench/bench_soak --benchmark_filter=minutes:60/  the hour

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "mainwin/ComPortLink.h"
#include "mainwin/ProgramForms.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "platform/QtTimer.h"
#include "platform/Ui.h"
#include "support/AisSentences.h"

#include <QApplication>
#include <QDateTime>
#include <QScreen>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kBytesPerSecond = 3800; // 38400 baud, 10 bits a byte, a little idle
constexpr int kVessels = 300;
constexpr int kClassAVessels = 200; // the rest are class B
constexpr int kStaticEveryRounds = 30; // a static report after so many position reports

long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    }
    return -1;
}

// Bytes handed out by malloc, the large blocks it maps of their own included.
long HeapInUseKb()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>((m.uordblks + m.hblkhd) / 1024);
}
// Freed bytes malloc keeps for reuse.
long HeapFreeKb()
{
    return static_cast<long>(mallinfo2().fordblks / 1024);
}

// What a child reports back through its pipe.
struct Figures {
    double rssKb = 0;
    double trimmedRssKb = 0; // VmRSS once malloc has given back its free pages
    double heapKb = 0;
    double runSeconds = 0;
    double inputBytes = 0;
    double seconds = 0;
    double targets = 0;
    double views = 0;
    double trackRecords = 0;
    double databaseRecords = 0;
    double logBytes = 0;
    double rssAtQuarterKb[4] = {}; // at the end of each quarter
    double anonAtQuarterKb[4] = {};
    double heapAtQuarterKb[4] = {};
    double freeAtQuarterKb[4] = {};
    double threadsAtQuarter[4] = {};
    double trimmedAtQuarterKb[4] = {};
};

// Runs `work` in a child process and returns what it reported; all zero when
// the child failed.
template <typename Work> Figures InChild(Work work)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Figures f {};
        try {
            f = work();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "soak: %s\n", e.what());
        }
        const ssize_t written = write(fds[1], &f, sizeof f);
        _exit(written == static_cast<ssize_t>(sizeof f) ? 0 : 1);
    }
    close(fds[1]);
    Figures f {};
    if (pid < 0 || read(fds[0], &f, sizeof f) != static_cast<ssize_t>(sizeof f))
        f = {};
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return f;
}

// The modal seam of an unattended run: every box is answered with its first
// choice and forgotten, so nothing here grows with the run.
class QuietUi : public platform::Ui
{
public:
    void message(platform::MessageKind, const std::string&, const std::string&) override { }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    platform::ModalResult askYesNoCancel(const std::string&, const std::string&) override
    {
        return platform::ModalResult::Cancel;
    }
    std::optional<std::string> openFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<uint32_t> chooseColour(uint32_t) override { return std::nullopt; }
    bool printDialog() override { return false; }
    platform::ModalResult showModal(QDialog&) override { return platform::ModalResult::Cancel; }
    void beep() override { }
};

// A serial port that hands out the bytes it is given, announced as the
// serial component announces them: the bytes up to each carriage return in
// one available-data event, then the data-trigger event.
class FeedPort : public TComPortLink
{
public:
    uint16_t ComNumber() const override { return number_; }
    void SetComNumber(uint16_t n) override { number_ = n; }
    void SetBaud(int32_t) override { }
    void SetOpen(bool) override { }
    uint16_t AvailLength() const override { return availLength_; }
    void SetAvailLength(uint16_t length) override { availLength_ = length; }
    uint16_t AddDataTrigger(const std::string&, bool) override { return data_ = next_++; }
    uint16_t AddTimerTrigger() override { return next_++; }
    void ArmTimerTrigger(uint16_t, int32_t, bool) override { }
    void RemoveTrigger(uint16_t) override { }
    void RemoveAllTriggers() override { }
    uint8_t ReadChar() override
    {
        const uint8_t c = static_cast<uint8_t>(bytes_.front());
        bytes_.pop_front();
        return c;
    }

    // One line with its CR LF; the LF is read with the next line's bytes.
    void Line(const std::string& line)
    {
        std::string pending = carry_ + line;
        bytes_.insert(bytes_.end(), pending.begin(), pending.end());
        MainForm->ComPort2TriggerAvail(static_cast<uint16_t>(pending.size()));
        MainForm->ComPort2TriggerData(data_);
        carry_ = "\r\n";
        fed += line.size() + 2;
    }

    double fed = 0;

private:
    uint16_t number_ = 0, availLength_ = 0, next_ = 8, data_ = 0;
    std::deque<char> bytes_;
    std::string carry_;
};

std::string Sentence(const std::string& body)
{
    return "$" + body + NmeaChecksum(body, 1);
}

// ddmm.mmmm / dddmm.mmmm texts of a position in degrees.
std::string LatText(double lat)
{
    char text[32];
    const double a = std::abs(lat);
    std::snprintf(text, sizeof text, "%02d%07.4f,%c", int(a), (a - int(a)) * 60, lat < 0 ? 'S' : 'N');
    return text;
}
std::string LonText(double lonEast)
{
    char text[32];
    const double a = std::abs(lonEast);
    std::snprintf(text, sizeof text, "%03d%07.4f,%c", int(a), (a - int(a)) * 60, lonEast < 0 ? 'W' : 'E');
    return text;
}

// Class B position report (type 18), 168 bits.
std::string ClassBPositionPayload(int32_t mmsi, double lat, double lonEast)
{
    kvtest::AisBitWriter w;
    w.put(18, 6).put(0, 2).put(mmsi, 30).put(0, 8).put(64, 10).put(0, 1);
    w.put(kvtest::AisUnits(lonEast), 28).put(kvtest::AisUnits(lat), 27).put(1800, 12).put(511, 9);
    w.put(20, 6).put(0, 2).put(1, 1).put(0, 1).put(1, 1).put(1, 1).put(1, 1).put(0, 1).put(1, 1);
    w.put(393222, 20);
    return w.payload();
}

// Class B static report (type 24), part A (the name) or part B (type, call
// sign and dimensions).
std::string ClassBStaticPayload(int32_t mmsi, bool partB)
{
    kvtest::AisBitWriter w;
    w.put(24, 6).put(0, 2).put(mmsi, 30).put(partB ? 1 : 0, 2);
    if (!partB) {
        w.text("YACHT " + std::to_string(mmsi % 1000), 20);
    } else {
        w.put(37, 8).text("SMK", 3).put(0, 4).put(0, 6).put(0, 6).text(
            "M" + std::to_string(mmsi % 100000), 7);
        w.put(8, 9).put(4, 9).put(2, 6).put(2, 6).put(0, 6);
    }
    return w.payload();
}

// The AIS traffic of a busy harbour, one message after the other: each
// vessel in turn sends a position report (type 1 or 3, class B type 18), and
// every kStaticEveryRounds rounds its static data (type 5 in two fragments,
// class B type 24 parts A and B).
class Harbour
{
public:
    // The sentences of the next vessel's turn: its position report, and on
    // every kStaticEveryRounds-th turn its static data right after it (while
    // it is in the target table, so that the database learns it).
    std::vector<std::string> NextMessage()
    {
        const int v = int(counter_ % kVessels);
        const long round = counter_ / kVessels;
        ++counter_;
        const int32_t mmsi = 235000000 + v * 7;
        // Each vessel circles slowly round its own spot inside the harbour.
        const double angle = double(round) * 0.01 + v;
        const double lat = 50.78 + 0.0001 * v + 0.002 * std::sin(angle);
        const double lon = -1.33 + 0.0002 * (v % 50) + 0.003 * std::cos(angle);
        const bool staticReport = (round + v) % kStaticEveryRounds == 0;
        std::vector<std::string> sentences;
        if (v < kClassAVessels) {
            sentences.push_back(
                kvtest::AivdmSentence(kvtest::PositionReportPayload(mmsi, lat, lon, v % 3 == 0 ? 3 : 1)));
            if (staticReport) {
                for (const std::string& s :
                    kvtest::AivdmFragments(kvtest::StaticDataPayload(
                                               mmsi, "VESSEL " + std::to_string(v), "G" + std::to_string(v)),
                        2, std::to_string(seqId_++ % 10)))
                    sentences.push_back(s);
            }
        } else {
            sentences.push_back(kvtest::AivdmSentence(ClassBPositionPayload(mmsi, lat, lon)));
            if (staticReport) {
                sentences.push_back(kvtest::AivdmSentence(ClassBStaticPayload(mmsi, false)));
                sentences.push_back(kvtest::AivdmSentence(ClassBStaticPayload(mmsi, true)));
            }
        }
        return sentences;
    }

private:
    long counter_ = 0;
    int seqId_ = 0;
};

// The application as korvex's main sets it up, on the offscreen platform.
QApplication& StartApplication(QuietUi& quiet)
{
    static int argc = 1;
    static char name[] = "korvex";
    static char* argv[] = { name, nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    platform::SetApplicationTitle("KV AIS Velta");
    QApplication::setApplicationName("KV AIS Velta");
    platform::setUi(&quiet);
    return app;
}

void SettleEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

Figures BareWindow()
{
    QuietUi quiet;
    StartApplication(quiet);
    QWidget window;
    if (QGuiApplication::primaryScreen())
        window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.showMaximized();
    for (int i = 0; i < 10; ++i)
        SettleEvents();
    Figures f;
    f.rssKb = double(StatusKb("VmRSS"));
    f.heapKb = double(HeapInUseKb());
    malloc_trim(0);
    f.trimmedRssKb = double(StatusKb("VmRSS"));
    return f;
}

Figures Korvex(int minutes)
{
    const auto began = std::chrono::steady_clock::now();
    char folder[] = "/tmp/korvex-soak-XXXXXX";
    if (!mkdtemp(folder))
        throw std::runtime_error("no temporary folder");
    const std::filesystem::path demo = std::filesystem::path(KV_SOURCE_DIR) / "demo";
    std::filesystem::copy(demo, folder, std::filesystem::copy_options::recursive);
    std::filesystem::current_path(folder);

    const QDateTime start(QDate(2026, 12, 7), QTime(9, 0, 0));
    long simulated = 0;
    SetLocalClock([&] {
        const QDateTime t = start.addSecs(simulated);
        return LocalDateTime { t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
            t.time().minute(), t.time().second(), 0 };
    });

    QuietUi quiet;
    StartApplication(quiet);
    CreateProgramForms(TStartOptions {});
    if (QGuiApplication::primaryScreen())
        MainForm->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    MainForm->showMaximized();
    MainForm->SecsTimerTimer();
    // The deferred start that the tick posted: configuration, chart, about box.
    QCoreApplication::sendPostedEvents(MainForm, QEvent::MetaCall);
    MainForm->SecsTimer->setEnabled(false);

    FeedPort port;
    MainForm->ComPortLink = &port;
    if (ComPort <= 0)
        ComPort = 1;
    MainForm->NMEAServerOnOffClick();
    if (!NmeaOpen)
        throw std::runtime_error("the NMEA interface did not open");
    // The ticks are called here, in simulated time.
    MainForm->FixTimer->setEnabled(false);
    std::vector<TMDIChild*> aisViews;
    for (TMDIChild* view : chartwin::Views()) {
        if (!view->FIsAisView)
            continue;
        if (!view->ShowAIS->isChecked())
            view->ShowAIS->click();
        if (view->RefRate->enabled())
            aisViews.push_back(view);
        view->RefRate->setEnabled(false);
    }

    Harbour harbour;
    std::vector<std::string> pending = harbour.NextMessage();
    const long seconds = minutes * 60L;
    Figures f;
    for (simulated = 0; simulated < seconds; ++simulated) {
        const QDateTime t = start.addSecs(simulated).toUTC();
        const std::string hms = t.toString("HHmmss").toStdString();
        const std::string dmy = t.toString("ddMMyy").toStdString();
        // The own vessel steams slowly through the harbour.
        const double lat = 50.79 + 0.00002 * double(simulated % 3000);
        const double lon = -1.31 - 0.00002 * double(simulated % 3000);
        const double before = port.fed;
        port.Line(
            Sentence("GPGGA," + hms + "," + LatText(lat) + "," + LonText(lon) + ",1,09,0.9,5.0,M,47.0,M,,"));
        port.Line(Sentence(
            "GPRMC," + hms + ",A," + LatText(lat) + "," + LonText(lon) + ",4.2,315.0," + dmy + ",1.4,W,A"));
        for (;;) {
            std::size_t size = 0;
            for (const std::string& s : pending)
                size += s.size() + 2;
            if (port.fed - before + double(size) > kBytesPerSecond)
                break;
            for (const std::string& s : pending)
                port.Line(s);
            pending = harbour.NextMessage();
        }
        MainForm->FixTimerTimer();
        MainForm->SecsTimerTimer();
        if (simulated % 5 == 4) {
            for (TMDIChild* view : aisViews)
                view->RefRateTimer();
        }
        MainForm->RefreshAllViews();
        SettleEvents();
        if ((simulated + 1) % (seconds / 4) == 0) {
            const int quarter = int((simulated + 1) / (seconds / 4)) - 1;
            if (quarter >= 0 && quarter < 4) {
                f.rssAtQuarterKb[quarter] = double(StatusKb("VmRSS"));
                f.anonAtQuarterKb[quarter] = double(StatusKb("RssAnon"));
                f.heapAtQuarterKb[quarter] = double(HeapInUseKb());
                f.freeAtQuarterKb[quarter] = double(HeapFreeKb());
                f.threadsAtQuarter[quarter] = double(StatusKb("Threads"));
                malloc_trim(0);
                f.trimmedAtQuarterKb[quarter] = double(StatusKb("VmRSS"));
            }
        }
    }
    f.rssKb = f.rssAtQuarterKb[3];
    f.trimmedRssKb = f.trimmedAtQuarterKb[3];
    f.heapKb = f.heapAtQuarterKb[3];
    f.runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    f.inputBytes = port.fed;
    f.seconds = double(seconds);
    f.targets = AisTargetCount;
    f.views = chartwin::ViewCount();
    f.trackRecords = LogCount;
    f.databaseRecords = AisDbRecordCount;
    for (const auto& entry :
        std::filesystem::recursive_directory_iterator(std::filesystem::path(folder) / "logs"))
        f.logBytes += entry.is_regular_file() ? double(entry.file_size()) : 0;
    FreeProgramForms();
    platform::setUi(nullptr);
    std::filesystem::current_path("/tmp");
    std::filesystem::remove_all(folder);
    return f;
}

void BM_ResidentMemoryAfterNmeaAndAis(benchmark::State& state)
{
    const int minutes = int(state.range(0));
    Figures korvex, bare;
    for (auto _ : state) {
        korvex = InChild([&] { return Korvex(minutes); });
        bare = InChild([] { return BareWindow(); });
    }
    if (korvex.rssKb == 0 || bare.rssKb == 0)
        state.SkipWithError("a measuring run failed");
    state.counters["korvex_rss_kb"] = korvex.rssKb;
    state.counters["korvex_rss_trimmed_kb"] = korvex.trimmedRssKb;
    state.counters["bare_qt_rss_kb"] = bare.rssKb;
    state.counters["bare_qt_rss_trimmed_kb"] = bare.trimmedRssKb;
    state.counters["rss_growth_kb"] = korvex.trimmedRssKb - korvex.trimmedAtQuarterKb[0];
    state.counters["heap_growth_kb"] = korvex.heapKb - korvex.heapAtQuarterKb[0];
    state.counters["korvex_run_s"] = korvex.runSeconds;
    state.counters["input_bytes"] = korvex.inputBytes;
    state.counters["seconds_simulated"] = korvex.seconds;
    state.counters["ais_targets"] = korvex.targets;
    state.counters["views"] = korvex.views;
    state.counters["track_records"] = korvex.trackRecords;
    state.counters["ais_db_records"] = korvex.databaseRecords;
    state.counters["log_bytes"] = korvex.logBytes;
    for (int q = 0; q < 4; ++q) {
        state.counters["rss_q" + std::to_string(q + 1) + "_kb"] = korvex.rssAtQuarterKb[q];
        state.counters["anon_q" + std::to_string(q + 1) + "_kb"] = korvex.anonAtQuarterKb[q];
        state.counters["heap_q" + std::to_string(q + 1) + "_kb"] = korvex.heapAtQuarterKb[q];
        state.counters["free_q" + std::to_string(q + 1) + "_kb"] = korvex.freeAtQuarterKb[q];
        state.counters["threads_q" + std::to_string(q + 1)] = korvex.threadsAtQuarter[q];
        state.counters["rss_trimmed_q" + std::to_string(q + 1) + "_kb"] = korvex.trimmedAtQuarterKb[q];
    }
}
BENCHMARK(BM_ResidentMemoryAfterNmeaAndAis)
    ->ArgName("minutes")
    ->Arg(6)
    ->Arg(60)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace
