// Position sentence decoding speed, reported as sentences per second
// (items_per_second): the checksum check and the decode that a fix tick runs,
// over recorded "$GPRMC" and "$GPGGA" sentences. A 38400-baud line carries
// fewer than 50 sentences a second.
#include "nav/NmeaDecode.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace nav;

namespace
{

const std::vector<std::string> kSentences = {
    "$GPRMC,094737,A,5251.0093,N,00518.8170,E,5.6,230.5,200818,1.4,E,A*1F",
    "$GPGGA,094737,5251.0085,N,00518.8151,E,1,12,0.60,-4,M,46.8,M,,*4B",
    "$GPRMC,213950.00,A,5250.53669,N,00542.34920,E,0.020,,070420,,,A*7D",
    "$GPGGA,213950.00,5250.53669,N,00542.34920,E,1,09,1.03,-6.0,M,45.8,M,,*7B",
    "$GPRMC,022021.00,A,3644.759368,S,17444.072860,E,0.0,301.9,071020,18.3,E,A,V*6E",
    "$GPGGA,022021.00,3644.759368,S,17444.072860,E,1,07,1.1,56.1,M,37.0,M,,*49",
};

void DecodeAll(benchmark::State& state, const std::vector<std::string>& sentences, bool check)
{
    for (auto _ : state) {
        for (const std::string& s : sentences) {
            if (check && !NmeaChecksumOk(s))
                continue;
            NmeaDecodeResult d = DecodeNmeaSentence(s, false);
            benchmark::DoNotOptimize(d);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * sentences.size()));
}

void BM_CheckAndDecodeRecordedSentences(benchmark::State& state)
{
    DecodeAll(state, kSentences, true);
}
BENCHMARK(BM_CheckAndDecodeRecordedSentences);

void BM_DecodeOnly(benchmark::State& state)
{
    DecodeAll(state, kSentences, false);
}
BENCHMARK(BM_DecodeOnly);

void BM_ChecksumOnly(benchmark::State& state)
{
    for (auto _ : state)
        for (const std::string& s : kSentences)
            benchmark::DoNotOptimize(NmeaChecksumOk(s));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSentences.size()));
}
BENCHMARK(BM_ChecksumOnly);

} // namespace
