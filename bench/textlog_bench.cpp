// Reading back the day's text log at start-up, for a log of about 100 MB
// (1.3 million records of a long survey day). The log is read as a stream:
// the counter "peak_rss_growth_MB" is how far the process's peak resident
// memory rose above what it was before the first read; it must stay a few
// MB (one read block and one line), not grow with the file.
//
// BM_PlainLineReader reads the same file with POSIX getline() and counts
// the same lines: the read-back aims at no more than twice its time.
#include "nav/DailyLogs.h"
#include "nav/NavState.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

long PeakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Writes the log in blocks, so that writing it does not raise the peak.
std::string WriteBigLog()
{
    const std::string path = (std::filesystem::temp_directory_path()
        / ("kv-textlog-bench-" + std::to_string(::getpid()) + ".txt"))
                                 .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("Log Date : 07-12-26\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n", file);
    const std::string record
        = "00001,07-12-26,094737,5015.0000,N,00130.0000,W,1-08,235,5.8,0.12,L,N,50.25000000\r\n";
    std::string block;
    for (int i = 0; i < 1000; ++i)
        block += record;
    for (std::size_t written = 0; written < 100u * 1024 * 1024; written += block.size())
        std::fwrite(block.data(), 1, block.size(), file);
    std::fclose(file);
    return path;
}

void BM_ReadBackHundredMegabyteTextLog(benchmark::State& state)
{
    ResetNavState();
    const std::string path = WriteBigLog();
    const long before = PeakRssKb();
    for (auto _ : state) {
        if (!ReadBackTextLog(path))
            state.SkipWithError("log not read");
        benchmark::DoNotOptimize(FixNumber);
    }
    state.counters["peak_rss_growth_MB"] = static_cast<double>(PeakRssKb() - before) / 1024.0;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadBackHundredMegabyteTextLog)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainLineReader(benchmark::State& state)
{
    const std::string path = WriteBigLog();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        char* line = nullptr;
        std::size_t capacity = 0;
        ssize_t length = 0;
        std::size_t index = 0, records = 0;
        while ((length = ::getline(&line, &capacity, file)) >= 0) {
            if (index++ >= 2 && length > 0 && line[0] != '\r' && line[0] != '\n' && line[0] != '*')
                ++records;
        }
        std::free(line);
        std::fclose(file);
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_PlainLineReader)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
