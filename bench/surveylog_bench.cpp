// The survey log plotted by a chart view, for a day of a fix every 10 s
// (8 640 records), of a fix every second (86 400) and a log of weeks of
// 1 Hz logging in one file (2 000 000 records, about 200 MB).
//
// BM_RedrawAfterFirstWalk is what every fix costs once the view has walked
// the log: one record appended, the view reads what was appended and
// redraws itself with the log plotted (all records, value blobs). Aim: flat
// in the log's size (the view keeps at most SurveyTrail::kCapacity lines)
// and a few ms on a 640 x 480 view. The counter "kept" is the lines the
// view holds; "rss_MB" the process's resident memory after the runs.
// BM_FirstWalk is the view's first reading of the whole log (at start or
// when the log or the plotted field changes).
//
// BM_WalkLongDay walks a log held in memory as lines, with every line kept.
#include "chartwin/Childwin.h"
#include "nav/NavState.h"
#include "nav/SurveyLog.h"
#include "nav/SurveyTrail.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

std::string Record(int i)
{
    char text[160];
    std::snprintf(text, sizeof text,
        "%05d,07-12-26,094737,50%07.4f,N,00118.0000,W,1-08,235,5.8Kn,%.2f,0.01,50.80000000:-1.30000000",
        i % 100000, 48.0 + (i % 600) * 0.001, (i % 97) * 0.1);
    return text;
}

std::vector<std::string> LongDay(int records)
{
    std::vector<std::string> lines = { "Log Date : 07-12-26", "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y" };
    for (int i = 1; i <= records; ++i) {
        lines.push_back(Record(i));
        if (i % 50 == 0)
            lines.push_back("*" + std::to_string(i / 50));
    }
    return lines;
}

void BM_WalkLongDay(benchmark::State& state)
{
    const std::vector<std::string> lines = LongDay(static_cast<int>(state.range(0)));
    SurveyWalkOptions o;
    o.trendField = 'V';
    o.showLastN = false;
    o.fixNumber = state.range(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(WalkSurveyLog(lines, o));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WalkLongDay)->Arg(100)->Arg(8640);

void StartApplication()
{
    static int argc = 1;
    static char name[] = "bench_surveylog";
    static char* argv[] = { name, nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

double RssMb()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The day's log with `records` records (an event every 50) in a temporary
// logs folder, written in blocks.
struct LogFolder {
    explicit LogFolder(int records)
    {
        folder = std::filesystem::temp_directory_path() / ("kv-survey-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream out(folder / "07-12-26.txt", std::ios::binary);
        out << "Log Date : 07-12-26\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n";
        std::string block;
        for (int i = 1; i <= records; ++i) {
            block += Record(i) + "\r\n";
            if (i % 50 == 0)
                block += "*" + std::to_string(i / 50) + "\r\n";
            if (block.size() > (1 << 20)) {
                out << block;
                block.clear();
            }
        }
        out << block;
    }
    ~LogFolder() { std::filesystem::remove_all(folder); }
    void Append(int i)
    {
        std::ofstream out(folder / "07-12-26.txt", std::ios::binary | std::ios::app);
        out << Record(i) << "\r\n";
    }
    std::filesystem::path folder;
};

// A 640 x 480 view over the log, every record plotted with its blob.
std::unique_ptr<TMDIChild> PlottingView(const LogFolder& log, int records)
{
    StartApplication();
    ResetNavState();
    ViewImageWidth = 640;
    ViewImageHeight = 480;
    PixelsPerDegLat = PixelsPerDegLon = 20;
    LogsFolder = log.folder.string() + "/";
    LogBaseName = "07-12-26";
    TextLogName = "07-12-26";
    FixNumber = static_cast<uint16_t>(std::min(records, 65535));
    auto view = std::make_unique<TMDIChild>();
    view->FCursorLat = 50.8;
    view->FCursorLon = 1.3;
    view->SetZoom(300);
    view->FTrendField = 'V';
    view->FColourBlobs = true;
    view->FShowLastN = false;
    return view;
}

void BM_FirstWalk(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    LogFolder log(records);
    for (auto _ : state) {
        SurveyLogTail tail;
        tail.catchUp((log.folder / "07-12-26.txt").string(), 'P', 'V');
        benchmark::DoNotOptimize(tail.trail());
    }
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_FirstWalk)->Arg(8640)->Arg(86400)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RedrawAfterFirstWalk(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    LogFolder log(records);
    auto view = PlottingView(log, records);
    view->NewChartBitmap();
    view->RedrawView(); // the first walk
    int next = records;
    for (auto _ : state) {
        state.PauseTiming();
        log.Append(++next);
        state.ResumeTiming();
        view->NewChartBitmap();
        view->RedrawView();
    }
    const SurveyTrail* trail = view->SurveyTail.trail();
    state.counters["kept"] = trail ? double(trail->kept()) : 0.0;
    state.counters["rss_MB"] = RssMb();
}
BENCHMARK(BM_RedrawAfterFirstWalk)->Arg(8640)->Arg(86400)->Arg(2000000)->Unit(benchmark::kMillisecond);

} // namespace
