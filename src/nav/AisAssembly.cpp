#include "nav/AisAssembly.h"

#include "nav/AISDecode.h"
#include "nav/NavState.h"
#include "nav/NmeaField.h"

#include <algorithm>

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

// A fragment count or number: one digit 1 to 9, else 0.
int FragmentDigit(std::string_view field)
{
    return field.size() == 1 && field[0] >= '1' && field[0] <= '9' ? field[0] - '0' : 0;
}

auto HeldUnder(const rtl::ShortString<5>& channel, const rtl::ShortString<5>& seqId)
{
    return std::find_if(AisHeldMessages.begin(), AisHeldMessages.end(),
        [&](const AisHeldMessage& m) { return m.channel == channel && m.sequentialId == seqId; });
}

} // namespace

bool AssembleAivdm(std::string_view sentence)
{
    const std::string countField = GetNmeaField(sentence, 1);
    const std::string numberField = GetNmeaField(sentence, 2);
    const int count = FragmentDigit(countField);
    const int number = FragmentDigit(numberField);
    if (count == 0 || number == 0 || number > count)
        return false;
    if (count == 1) {
        AisPayload = GetNmeaField(sentence, 5);
        DecodePayload();
        return true;
    }

    const rtl::ShortString<5> channel = GetNmeaField(sentence, 4);
    const rtl::ShortString<5> seqId = GetNmeaField(sentence, 3);
    auto held = HeldUnder(channel, seqId);
    if (number == 1) {
        if (held != AisHeldMessages.end())
            AisHeldMessages.erase(held);
        else if (AisHeldMessages.size() >= kMaxAisHeldMessages)
            AisHeldMessages.erase(AisHeldMessages.begin());
        AisHeldMessages.push_back({ channel, seqId, count, 1, GetNmeaField(sentence, 5) });
        return false;
    }
    if (held == AisHeldMessages.end() || held->count != count || held->received + 1 != number)
        return false;
    // Past the six-bit capacity the payload is rejected at decoding anyway,
    // so it grows no further.
    if (held->payload.size() <= kAisSixBitCapacity)
        held->payload += GetNmeaField(sentence, 5);
    if (++held->received < count)
        return false;
    AisPayload = std::move(held->payload);
    AisHeldMessages.erase(held);
    DecodePayload();
    AisDecodeRecord.fragmentCount = countField;
    AisDecodeRecord.fragmentNumber = numberField;
    AisDecodeRecord.sequentialId = seqId;
    return true;
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
