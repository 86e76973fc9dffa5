// Fuzz target for AIS payloads: de-armouring, the bit getters and the
// message decoder over arbitrary bytes, and the comma-field getter over the
// same bytes read as a sentence. Inputs are a payload text (the sixth field
// of an "!AIVDM" sentence) or a whole sentence.
#include "nav/AISDecode.h"
#include "nav/NmeaField.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace nav;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (int n = -1; n <= 7; ++n)
        (void)GetNmeaField(input, n);

    AisSixBitBuffer bits;
    const bool accepted = DearmourPayload(input, bits);
    if (accepted != (size <= kAisSixBitCapacity))
        std::abort();
    AisTargetRecord rec;
    rec.name = "UNCHANGED";
    const bool decoded = DecodeAisMessage(bits, rec);
    if (!accepted && decoded)
        std::abort();
    if (decoded && (rec.messageType != bits[1] || rec.mmsi < 0 || rec.mmsi >= (1 << 30)))
        std::abort();
    if (!decoded && (rec.messageType != 0 || rec.name.str() != "UNCHANGED"))
        std::abort();

    // The decoded record survives its own file image.
    uint8_t image[kAisRecordSize], again[kAisRecordSize];
    StoreAisRecord(rec, image);
    StoreAisRecord(LoadAisRecord(image), again);
    for (std::size_t i = 0; i < kAisRecordSize; ++i)
        if (image[i] != again[i])
            std::abort();

    // Bit ranges taken from the input itself, inside and outside the buffer.
    if (size >= 2) {
        const int first = static_cast<int8_t>(data[0]) * 25;
        const int last = first + data[1] % 80;
        (void)GetAisBits(bits, first, last);
        (void)GetAisText(bits, first, last);
    }
    return 0;
}
