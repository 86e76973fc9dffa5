// AIS database "KVAIS.ADB" on arbitrary bytes: the first four bytes give the
// MMSI looked for (little-endian), the rest is the file. The search never
// fails on a file it could open; an append writes one whole record on the
// last record boundary, after which the search finds exactly that record.
#include "ScratchFolder.h"

#include "nav/AisDatabase.h"
#include "nav/AisRecord.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>

using namespace nav;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const int32_t mmsi = static_cast<int32_t>(
        uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24);
    const std::string path = fuzz::WriteScratchFile("KVAIS.ADB", data + 4, size - 4);
    const std::size_t whole = (size - 4) / kAisRecordSize;

    const AisDatabaseLookup before = SearchAisDatabase(path, mmsi);
    if (!before.opened)
        std::abort();

    AisTargetRecord target;
    target.mmsi = mmsi;
    target.imoNumber = mmsi ^ 0x5a5a;
    target.name = "FUZZ";
    target.callSign = "KV1";
    target.shipType = 70;
    target.toBow = 10;
    target.draught = 31;
    const AisTargetRecord stored = AisDatabaseRecordFor(target);
    const int32_t count = AppendAisDatabase(path, stored);
    if (count != static_cast<int32_t>(whole + 1)
        || std::filesystem::file_size(path) != (whole + 1) * kAisRecordSize)
        std::abort();

    const AisDatabaseLookup after = SearchAisDatabase(path, mmsi);
    if (!after.found || after.record.mmsi != mmsi || after.record.imoNumber != target.imoNumber
        || after.record.name != "FUZZ" || after.record.callSign != "KV1" || after.record.draught != 31)
        std::abort();
    return 0;
}
