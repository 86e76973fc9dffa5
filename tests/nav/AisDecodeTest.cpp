#include "nav/AISDecode.h"
#include "nav/NmeaField.h"

#include <gtest/gtest.h>

#include <vector>

using namespace nav;

namespace
{

// Builds payloads field by field, most significant bit first, and armours
// them ('0'..'W', '`'..'w').
class PayloadWriter
{
public:
    PayloadWriter& put(uint64_t value, int width)
    {
        for (int i = width - 1; i >= 0; --i)
            bits_.push_back((value >> i) & 1);
        return *this;
    }
    std::string armour() const
    {
        std::string text;
        for (std::size_t i = 0; i < bits_.size(); i += 6) {
            unsigned v = 0;
            for (std::size_t k = i; k < i + 6; ++k)
                v = (v << 1) | (k < bits_.size() ? bits_[k] : 0);
            text.push_back(static_cast<char>(v < 40 ? v + 48 : v + 56));
        }
        return text;
    }

private:
    std::vector<bool> bits_;
};

// Type 1 header up to the longitude (bits 1-61), then longitude and latitude.
std::string PositionReport(uint64_t lon28, uint64_t lat27)
{
    return PayloadWriter()
        .put(1, 6)
        .put(0, 2)
        .put(244740981, 30)
        .put(0, 4)
        .put(0x80, 8)
        .put(0, 10)
        .put(1, 1)
        .put(lon28, 28)
        .put(lat27, 27)
        .put(0, 168 - 116)
        .armour();
}

AisTargetRecord Decode(std::string_view payload)
{
    AisSixBitBuffer bits;
    EXPECT_TRUE(DearmourPayload(payload, bits));
    AisTargetRecord rec;
    EXPECT_TRUE(DecodeAisMessage(bits, rec));
    return rec;
}

} // namespace

TEST(AisDecode, ArmourCharactersAtTheEdgesOfBothRanges)
{
    EXPECT_EQ(SixBitValue('0'), 0);
    EXPECT_EQ(SixBitValue('W'), 39);
    EXPECT_EQ(SixBitValue('`'), 40);
    EXPECT_EQ(SixBitValue('w'), 63);
    for (unsigned v = 0; v < 64; ++v)
        EXPECT_EQ(SixBitValue(static_cast<uint8_t>(v < 40 ? v + 48 : v + 56)), v);
    EXPECT_EQ(SixBitToAscii(0), '@');
    EXPECT_EQ(SixBitToAscii(31), '_');
    EXPECT_EQ(SixBitToAscii(32), ' ');
    EXPECT_EQ(SixBitToAscii(63), '?');
}

TEST(AisDecode, BitGetterAcrossValueBoundariesAndOutsideTheBuffer)
{
    AisSixBitBuffer bits;
    ASSERT_TRUE(DearmourPayload("w0w", bits)); // 111111 000000 111111
    EXPECT_EQ(GetAisBits(bits, 1, 6), 63u);
    EXPECT_EQ(GetAisBits(bits, 5, 14), 0b1100000011u);
    EXPECT_EQ(GetAisBits(bits, 6, 6), 1u);
    EXPECT_EQ(GetAisBits(bits, 7, 7), 0u);
    EXPECT_EQ(GetAisBits(bits, 9, 8), 0u);
    EXPECT_EQ(GetAisBits(bits, -3, 2), 3u); // bits before 1 are leading zeros
    EXPECT_EQ(GetAisBits(bits, 2995, 3010), 0u);

    std::string all(kAisSixBitCapacity, 'w');
    ASSERT_TRUE(DearmourPayload(all, bits));
    EXPECT_EQ(GetAisBits(bits, 1, 64), ~uint64_t(0));
    EXPECT_EQ(GetAisBits(bits, 2937, 3000), ~uint64_t(0));
    EXPECT_EQ(GetAisBits(bits, 2998, 3003), 0b111000u);
}

TEST(AisDecode, LongitudeAndLatitudeAreSignExtendedFromTheirWidths)
{
    AisTargetRecord rec = Decode(PositionReport(uint64_t(1) << 27, uint64_t(1) << 26));
    EXPECT_EQ(rec.longitude, -134217728);
    EXPECT_EQ(rec.latitude, -67108864);
    rec = Decode(PositionReport((uint64_t(1) << 28) - 1, (uint64_t(1) << 27) - 1));
    EXPECT_EQ(rec.longitude, -1);
    EXPECT_EQ(rec.latitude, -1);
    rec = Decode(PositionReport((uint64_t(1) << 27) - 1, (uint64_t(1) << 26) - 1));
    EXPECT_EQ(rec.longitude, 134217727);
    EXPECT_EQ(rec.latitude, 67108863);
    EXPECT_EQ(rec.mmsi, 244740981);
    EXPECT_EQ(rec.rateOfTurn, 0x80);
    EXPECT_EQ(rec.positionAccuracy, 1);

    // Type 4 carries its position 18 bits further on.
    const std::string base = PayloadWriter()
                                 .put(4, 6)
                                 .put(3, 2)
                                 .put(3669702, 30)
                                 .put(2007, 14)
                                 .put(5, 4)
                                 .put(14, 5)
                                 .put(19, 5)
                                 .put(57, 6)
                                 .put(39, 6)
                                 .put(1, 1)
                                 .put((uint64_t(1) << 28) - 10, 28)
                                 .put(12345, 27)
                                 .put(7, 4)
                                 .put(0, 10)
                                 .put(1, 1)
                                 .put(67039, 19)
                                 .armour();
    rec = Decode(base);
    EXPECT_EQ(rec.repeatIndicator, 3);
    EXPECT_EQ(rec.utcYear, 2007);
    EXPECT_EQ(rec.utcSecond, 39);
    EXPECT_EQ(rec.longitude, -10);
    EXPECT_EQ(rec.latitude, 12345);
    EXPECT_EQ(rec.epfdType, 7);
    EXPECT_EQ(rec.raimFlag, 1);
    EXPECT_EQ(rec.radioStatus, 67039);
}

TEST(AisDecode, StaticDataKeepsAtPaddingOfItsTexts)
{
    PayloadWriter w;
    w.put(5, 6).put(0, 2).put(351759000, 30).put(0, 2).put(9134270, 30);
    for (char c : std::string("3FOF8  "))
        w.put(c & 63, 6);
    w.put('A', 6).put('B', 6).put('C', 6).put(0, 17 * 6); // name
    w.put(70, 8).put(225, 9).put(70, 9).put(1, 6).put(31, 6).put(1, 4).put(359296, 20).put(122, 8);
    w.put(0, 120).put(1, 1).put(0, 1);
    const AisTargetRecord rec = Decode(w.armour());
    EXPECT_EQ(rec.name.str(), "ABC@@@@@@@@@@@@@@@@@");
    EXPECT_EQ(rec.callSign.str(), "3FOF8  ");
    EXPECT_EQ(rec.destination.str(), std::string(20, '@'));
    EXPECT_EQ(rec.imoNumber, 9134270);
    EXPECT_EQ(rec.toStarboard, 31);
    EXPECT_EQ(rec.eta, 359296);
    EXPECT_EQ(rec.draught, 122);
    EXPECT_EQ(rec.dteFlag, 1);
}

TEST(AisDecode, DecodeWritesOnlyTheFieldsOfItsType)
{
    AisTargetRecord rec;
    rec.name = "KEEP";
    rec.fragmentCount = "2";
    rec.sequentialId = "7";
    rec.trailCount = 3;
    AisSixBitBuffer bits;
    ASSERT_TRUE(DearmourPayload("15RTgt0PAso;90TKcjM8h6g208CQ", bits));
    ASSERT_TRUE(DecodeAisMessage(bits, rec));
    EXPECT_EQ(rec.mmsi, 371798000);
    EXPECT_EQ(rec.name.str(), "KEEP");
    EXPECT_EQ(rec.fragmentCount.str(), "2");
    EXPECT_EQ(rec.sequentialId.str(), "7");
    EXPECT_EQ(rec.trailCount, 3);

    // Class B position report (type 18) and an empty payload (type 0).
    const AisTargetRecord before = rec;
    for (const char* payload : { "B52K>;h00Fc>jpUlNV@ikwpUoP06", "" }) {
        ASSERT_TRUE(DearmourPayload(payload, bits));
        EXPECT_FALSE(DecodeAisMessage(bits, rec));
        EXPECT_EQ(rec.mmsi, before.mmsi);
        EXPECT_EQ(rec.messageType, 1);
    }
}

TEST(AisDecode, PayloadLongerThanTheBufferIsRejectedAndDecodesNothing)
{
    AisSixBitBuffer bits;
    const std::string longest(kAisSixBitCapacity, '1'); // every value 1: a type 1 message
    ASSERT_TRUE(DearmourPayload(longest, bits));
    EXPECT_EQ(bits[kAisSixBitCapacity], 1);

    EXPECT_FALSE(DearmourPayload(longest + "1", bits));
    EXPECT_EQ(GetAisBits(bits, 1, 64), 0u);
    AisTargetRecord rec;
    rec.mmsi = 42;
    EXPECT_FALSE(DecodeAisMessage(bits, rec));
    EXPECT_EQ(rec.mmsi, 42);
}

TEST(AisDecode, BitsBeyondAShortPayloadReadZeroNotThePreviousMessage)
{
    AisSixBitBuffer bits;
    const std::string full = "55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp888888888880";
    AisTargetRecord rec = Decode(full);
    ASSERT_EQ(rec.destination.str(), "NEW YORK            ");

    // The same message cut after the ship type: dimensions, draught and
    // destination were never received.
    ASSERT_TRUE(DearmourPayload(full.substr(0, 40), bits));
    rec = {};
    ASSERT_TRUE(DecodeAisMessage(bits, rec));
    EXPECT_EQ(rec.name.str(), "EVER DIADEM         ");
    EXPECT_EQ(rec.toBow, 0);
    EXPECT_EQ(rec.draught, 0);
    EXPECT_EQ(rec.destination.str(), std::string(20, '@'));
}

TEST(NmeaField, FieldsOfAnAivdmSentence)
{
    const std::string s = "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A";
    EXPECT_EQ(GetNmeaField(s, 0), "!AIVDM");
    EXPECT_EQ(GetNmeaField(s, 1), "1");
    EXPECT_EQ(GetNmeaField(s, 3), "");
    EXPECT_EQ(GetNmeaField(s, 5), "15RTgt0PAso;90TKcjM8h6g208CQ");
    EXPECT_EQ(GetNmeaField(s, 6), "0*4A");
    EXPECT_EQ(GetNmeaField(s, 7), "");
    EXPECT_EQ(GetNmeaField(s, -1), "");
    EXPECT_EQ(GetNmeaField("", 0), "");
    EXPECT_EQ(GetNmeaField("$GPRMC", 0), "$GPRMC");
    EXPECT_EQ(GetNmeaField("a,", 1), "");
}
