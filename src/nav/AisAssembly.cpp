#include "nav/AisAssembly.h"

#include "nav/AISDecode.h"
#include "nav/NavState.h"
#include "nav/NmeaField.h"

namespace nav
{

namespace
{

// Clears the decode record and the six-bit values and decodes AisPayload. A
// payload longer than the six-bit buffer (possible only from a damaged log)
// is rejected whole: the record stays empty.
void DecodePayload()
{
    AisDecodeRecord = EmptyAisRecord;
    if (DearmourPayload(AisPayload, AisSixBits))
        DecodeAisMessage(AisSixBits, AisDecodeRecord);
    AisDecodeFresh = true;
}

// Appends a fragment's payload. Past the six-bit capacity the payload is
// rejected at decoding anyway, so a stream of repeated fragments cannot grow
// it further.
void AppendPayload(std::string_view sentence)
{
    if (AisPayload.size() <= kAisSixBitCapacity)
        AisPayload += GetNmeaField(sentence, 5);
}

} // namespace

bool AssembleAivdm(std::string_view sentence)
{
    const rtl::ShortString<5> count = GetNmeaField(sentence, 1);
    const rtl::ShortString<5> number = GetNmeaField(sentence, 2);
    const rtl::ShortString<5> seqId = GetNmeaField(sentence, 3);
    AisDecodeRecord.fragmentCount = count;
    AisDecodeRecord.fragmentNumber = number;
    AisDecodeRecord.sequentialId = seqId;

    // Counts and numbers are compared as texts: "2" and "3" (and "10")
    // sort after "1".
    const bool multi = count.str() > "1";
    if (count == "1" && number == "1") {
        AisPayload = GetNmeaField(sentence, 5);
        DecodePayload();
        return true;
    }
    if (multi && number == "1") {
        AisFragmentSeqId = seqId;
        AisPayload = GetNmeaField(sentence, 5);
        return false;
    }
    if (count == "3" && number == "2" && seqId == AisFragmentSeqId) {
        AppendPayload(sentence);
        return false;
    }
    if (multi && number == count && seqId == AisFragmentSeqId) {
        AppendPayload(sentence);
        DecodePayload();
        AisDecodeRecord.fragmentCount = count;
        AisDecodeRecord.fragmentNumber = number;
        AisDecodeRecord.sequentialId = seqId;
        return true;
    }
    return false;
}

AisLogLine ClassifyAisLogLine(std::string_view line)
{
    if (line.starts_with('$'))
        return AisLogLine::Gps;
    if (line.starts_with("!AIVDM"))
        return AisLogLine::Ais;
    return AisLogLine::Other;
}

} // namespace nav
