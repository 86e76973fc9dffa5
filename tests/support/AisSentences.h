#pragma once
// Builds AIS payloads and "!AIVDM" sentences for tests: fields are written
// bit by bit, most significant first, and armoured as a receiver sends them
// (six-bit values 0..39 as '0'..'W', 40..63 as '`'..'w').

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kvtest
{

class AisBitWriter
{
public:
    // Puts the low `width` bits of `value`; negative values in two's complement.
    AisBitWriter& put(int64_t value, int width)
    {
        for (int i = width - 1; i >= 0; --i)
            bits_.push_back((static_cast<uint64_t>(value) >> i) & 1u);
        return *this;
    }
    // Six-bit text: '@'..'_' give 0..31, ' '..'?' give 32..63; padded with '@'.
    AisBitWriter& text(const std::string& t, int chars)
    {
        for (int i = 0; i < chars; ++i) {
            const unsigned char c = i < static_cast<int>(t.size()) ? static_cast<unsigned char>(t[i]) : '@';
            put(c >= 64 ? c - 64 : c, 6);
        }
        return *this;
    }
    // The armoured payload, the last value padded with zero bits.
    std::string payload() const
    {
        std::string out;
        for (std::size_t i = 0; i < bits_.size(); i += 6) {
            unsigned v = 0;
            for (std::size_t k = i; k < i + 6; ++k)
                v = (v << 1) | (k < bits_.size() && bits_[k] ? 1u : 0u);
            out.push_back(static_cast<char>(v < 40 ? v + 48 : v + 56));
        }
        return out;
    }

private:
    std::vector<bool> bits_;
};

// Degrees to AIS units (1/10000 minute).
inline int64_t AisUnits(double degrees)
{
    return std::llround(degrees * 600000.0);
}

// Speed (0.1 knot), course (0.1 degree), heading (degrees) and time stamp
// (UTC second; 60..63 its special values) of a report.
struct AisMotion {
    int sog = 123;
    int cog = 2705;
    int heading = 271;
    int second = 33;
};

// Type 1..3 position report; longitude east positive.
inline std::string PositionReportPayload(
    int32_t mmsi, double lat, double lonEast, int type = 1, AisMotion motion = {})
{
    AisBitWriter w;
    w.put(type, 6).put(0, 2).put(mmsi, 30).put(0, 4).put(-128, 8).put(motion.sog, 10).put(1, 1);
    w.put(AisUnits(lonEast), 28).put(AisUnits(lat), 27).put(motion.cog, 12).put(motion.heading, 9).put(motion.second, 6);
    w.put(0, 4).put(0, 1).put(1, 1).put(81931, 19);
    return w.payload();
}

// Type 5 static and voyage data (424 bits, 71 characters with the fill).
inline std::string StaticDataPayload(int32_t mmsi, const std::string& name, const std::string& callSign,
    int shipType = 70, int draught = 65, const std::string& destination = "ROTTERDAM")
{
    AisBitWriter w;
    w.put(5, 6).put(0, 2).put(mmsi, 30).put(1, 2).put(9123456, 30).text(callSign, 7).text(name, 20);
    w.put(shipType, 8).put(120, 9).put(30, 9).put(10, 6).put(12, 6).put(1, 4).put(0x6A3C0, 20);
    w.put(draught, 8).text(destination, 20).put(0, 1).put(0, 1);
    return w.payload();
}

// "!AIVDM,<count>,<number>,<seqId>,<channel>,<payload>,0*hh" with its checksum.
inline std::string AivdmSentence(const std::string& payload, int count = 1, int number = 1,
    const std::string& seqId = "", const std::string& channel = "A")
{
    const std::string body = "AIVDM," + std::to_string(count) + "," + std::to_string(number) + "," + seqId
        + "," + channel + "," + payload + ",0";
    unsigned sum = 0;
    for (unsigned char c : body)
        sum ^= c;
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X", sum & 0xFFu);
    return "!" + body + tail;
}

// The sentences of a message split into `parts` fragments under one id.
inline std::vector<std::string> AivdmFragments(
    const std::string& payload, int parts, const std::string& seqId, const std::string& channel = "A")
{
    std::vector<std::string> sentences;
    const std::size_t step = (payload.size() + parts - 1) / parts;
    for (int i = 0; i < parts; ++i)
        sentences.push_back(AivdmSentence(payload.substr(i * step, step), parts, i + 1, seqId, channel));
    return sentences;
}

} // namespace kvtest
