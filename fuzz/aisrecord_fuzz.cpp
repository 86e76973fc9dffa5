// Fuzz target for records of the AIS database file "KVAIS.ADB": any 824
// bytes load into a record whose texts and trail count stay within their
// capacities, and storing it again gives a well-formed image.
#include "nav/AisRecord.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace nav;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint8_t image[kAisRecordSize] = {};
    std::memcpy(image, data, size < kAisRecordSize ? size : kAisRecordSize);
    const AisTargetRecord rec = LoadAisRecord(image);
    if (rec.name.size() > 20 || rec.callSign.size() > 7 || rec.trailCount > kAisTrailLength)
        std::abort();
    const AisTrailPoint& newest = rec.trail.at(rec.trailCount == 0 ? 1 : rec.trailCount);
    (void)newest;
    uint8_t stored[kAisRecordSize];
    StoreAisRecord(rec, stored);
    if (LoadAisRecord(stored).mmsi != rec.mmsi || stored[2] != 0 || stored[823] != 0)
        std::abort();
    return 0;
}
