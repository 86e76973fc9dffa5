// AIS target table speed: decoded messages merged into the 60-slot table,
// reported as targets merged per second (items_per_second), and whole
// "!AIVDM" sentences assembled, decoded and merged per second. The database
// is off: its look-ups are file scans, measured by nothing here.
#include "nav/AISDecode.h"
#include "nav/AisAssembly.h"
#include "nav/AisTargets.h"
#include "nav/NavState.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace nav;

namespace
{

// Position reports of `vessels` ships, each moving a little every report.
std::vector<AisTargetRecord> MovingFleet(int vessels, int reportsEach)
{
    std::vector<AisTargetRecord> fleet;
    for (int k = 0; k < reportsEach; ++k) {
        for (int v = 0; v < vessels; ++v) {
            AisTargetRecord r;
            r.messageType = 1;
            r.mmsi = 235000000 + v;
            r.latitude = 30480000 + v * 600 + k * 7;
            r.longitude = -780000 + v * 900 + k * 11;
            r.speedOverGround = 120;
            fleet.push_back(r);
        }
    }
    return fleet;
}

void MergeAll(benchmark::State& state, const std::vector<AisTargetRecord>& messages)
{
    ResetNavState();
    CosLat = 0.63;
    AisMergeOptions options;
    for (auto _ : state) {
        for (const AisTargetRecord& m : messages) {
            AisDecodeRecord = m;
            AisDecodeFresh = true;
            options.now += 1e-5;
            benchmark::DoNotOptimize(UpdateAisTargets(options));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * messages.size()));
}

// A busy harbour: 50 known targets, each report a new trail point.
void BM_MergeKnownTargets(benchmark::State& state)
{
    MergeAll(state, MovingFleet(50, 40));
}
BENCHMARK(BM_MergeKnownTargets);

// More vessels than slots: every report is a new target replacing the one
// heard least recently.
void BM_MergeFullTableTurnover(benchmark::State& state)
{
    MergeAll(state, MovingFleet(120, 1));
}
BENCHMARK(BM_MergeFullTableTurnover);

// Recorded sentences, one and two fragments, through assembly, decoding and merge.
void BM_AssembleAndMergeSentences(benchmark::State& state)
{
    const std::vector<std::string> sentences = {
        "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A",
        "!AIVDM,1,1,,A,16SteH0P00Jt63hHaa6SagvJ087r,0*42",
        "!AIVDM,1,1,,B,25Cjtd0Oj;Jp7ilG7=UkKBoB0<06,0*60",
        "!AIVDM,1,1,,A,38Id705000rRVJhE7cl9n;160000,0*40",
        "!AIVDM,1,1,,B,403OviQuMGCqWrRO9>E6fE700@GO,0*4D",
        "!AIVDM,2,1,1,A,55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp8,0*1C",
        "!AIVDM,2,2,1,A,88888888880,2*25",
    };
    ResetNavState();
    AisMergeOptions options;
    for (auto _ : state) {
        for (const std::string& s : sentences) {
            AssembleAivdm(s);
            options.now += 1e-5;
            benchmark::DoNotOptimize(UpdateAisTargets(options));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * sentences.size()));
}
BENCHMARK(BM_AssembleAndMergeSentences);

} // namespace
