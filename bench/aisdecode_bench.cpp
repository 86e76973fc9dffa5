// AIS payload decoding speed: de-armouring plus decoding of real payloads,
// reported as messages per second (items_per_second).
#include "nav/AISDecode.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace nav;

namespace
{

// Recorded messages in roughly the mix heard at sea: mostly position reports.
const std::vector<std::string> kMixed = {
    "15RTgt0PAso;90TKcjM8h6g208CQ",
    "16SteH0P00Jt63hHaa6SagvJ087r",
    "13aDq30P00PJ8AFN?09@0?v22H0v",
    "18Hu1p00?w<tSF0l4Q@>44=p0>`<",
    "1815@:P1@0WJVwj0cVJAa3ph0>`<",
    "38Id705000rRVJhE7cl9n;160000",
    "33cie15000QiGr8R17vVBUHL8>`<",
    "25Cjtd0Oj;Jp7ilG7=UkKBoB0<06",
    "403OviQuMGCqWrRO9>E6fE700@GO",
    ";4R33:1uUK2F`q?mOt@@GoQ00000",
    "55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp888888888880",
};

// As the sentence assembly does it: clear the record, de-armour, decode.
void DecodeAll(benchmark::State& state, const std::vector<std::string>& payloads)
{
    AisSixBitBuffer bits;
    AisTargetRecord rec;
    for (auto _ : state) {
        for (const std::string& payload : payloads) {
            rec = AisTargetRecord {};
            DearmourPayload(payload, bits);
            DecodeAisMessage(bits, rec);
            benchmark::DoNotOptimize(rec);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * payloads.size()));
}

void BM_DecodeMixedMessages(benchmark::State& state)
{
    DecodeAll(state, kMixed);
}
BENCHMARK(BM_DecodeMixedMessages);

void BM_DecodePositionReports(benchmark::State& state)
{
    DecodeAll(state, { kMixed.begin(), kMixed.begin() + 8 });
}
BENCHMARK(BM_DecodePositionReports);

void BM_DecodeStaticData(benchmark::State& state)
{
    DecodeAll(state, { kMixed.back() });
}
BENCHMARK(BM_DecodeStaticData);

} // namespace
