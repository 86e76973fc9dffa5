#include "nav/AISDecode.h"
#include "nav/NmeaField.h"

#include <gtest/gtest.h>

#include <vector>

using namespace nav;

namespace
{

// A type 1 position report with the given raw 28-bit longitude and 27-bit
// latitude, built bit by bit and armoured ('0'..'W', '`'..'w').
std::string PositionReport(uint64_t lon28, uint64_t lat27)
{
    std::vector<bool> bits;
    auto put = [&](uint64_t value, int width) {
        for (int i = width - 1; i >= 0; --i)
            bits.push_back((value >> i) & 1);
    };
    put(1, 6), put(0, 2), put(244740981, 30), put(0, 4), put(0x80, 8), put(0, 10), put(1, 1);
    put(lon28, 28), put(lat27, 27), put(511, 52);
    std::string text;
    for (std::size_t i = 0; i < bits.size(); i += 6) {
        unsigned v = 0;
        for (std::size_t k = i; k < i + 6; ++k)
            v = (v << 1) | bits[k];
        text.push_back(static_cast<char>(v < 40 ? v + 48 : v + 56));
    }
    return text;
}

const std::string kStatic = "55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp888888888880";

} // namespace

TEST(AisDecode, ArmourCharactersAtTheEdgesOfBothRanges)
{
    EXPECT_EQ(SixBitValue('0'), 0);
    EXPECT_EQ(SixBitValue('W'), 39);
    EXPECT_EQ(SixBitValue('`'), 40);
    EXPECT_EQ(SixBitValue('w'), 63);
    EXPECT_EQ(SixBitToAscii(0), '@');
    EXPECT_EQ(SixBitToAscii(31), '_');
    EXPECT_EQ(SixBitToAscii(32), ' ');
    EXPECT_EQ(SixBitToAscii(63), '?');
}

TEST(AisDecode, BitGetterAcrossValueBoundariesAndOutsideTheBuffer)
{
    AisSixBitBuffer bits;
    ASSERT_TRUE(DearmourPayload("w0w", bits)); // 111111 000000 111111
    EXPECT_EQ(GetAisBits(bits, 5, 14), 0b1100000011u);
    EXPECT_EQ(GetAisBits(bits, 6, 6), 1u);
    EXPECT_EQ(GetAisBits(bits, 9, 8), 0u);
    EXPECT_EQ(GetAisBits(bits, -7, 8), 0b11111100u); // bits before 1 read 0

    ASSERT_TRUE(DearmourPayload(std::string(kAisSixBitCapacity, 'w'), bits));
    EXPECT_EQ(GetAisBits(bits, 2937, 3000), ~uint64_t(0));
    EXPECT_EQ(GetAisBits(bits, 3000, 3001), 0b10u);
}

TEST(AisDecode, LongitudeAndLatitudeAreSignExtendedFromTheirWidths)
{
    AisSixBitBuffer bits;
    AisTargetRecord rec;
    const struct {
        uint64_t lon28, lat27;
        int32_t lon, lat;
    } cases[] = {
        { uint64_t(1) << 27, uint64_t(1) << 26, -134217728, -67108864 },
        { (uint64_t(1) << 28) - 1, (uint64_t(1) << 27) - 1, -1, -1 },
        { (uint64_t(1) << 27) - 1, (uint64_t(1) << 26) - 1, 134217727, 67108863 },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(DearmourPayload(PositionReport(c.lon28, c.lat27), bits));
        ASSERT_TRUE(DecodeAisMessage(bits, rec));
        EXPECT_EQ(rec.longitude, c.lon);
        EXPECT_EQ(rec.latitude, c.lat);
        EXPECT_EQ(rec.courseOverGround, 0);
    }
}

TEST(AisDecode, DecodeKeepsTheFieldsItsTypeDoesNotCarry)
{
    // The fragment assembly stores its bookkeeping before the decode.
    AisTargetRecord rec;
    rec.fragmentCount = "2";
    rec.sequentialId = "7";
    rec.name = "KEEP";
    rec.epfdWord = 99;
    AisSixBitBuffer bits;
    ASSERT_TRUE(DearmourPayload("403OviQuMGCqWrRO9>E6fE700@GO", bits)); // type 4
    ASSERT_TRUE(DecodeAisMessage(bits, rec));
    EXPECT_EQ(rec.mmsi, 3669702);
    EXPECT_EQ(rec.epfdWord, 0);
    EXPECT_EQ(rec.name.str(), "KEEP");
    EXPECT_EQ(rec.fragmentCount.str(), "2");
    EXPECT_EQ(rec.sequentialId.str(), "7");
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
    AisTargetRecord rec;
    ASSERT_TRUE(DearmourPayload(kStatic, bits));
    ASSERT_TRUE(DecodeAisMessage(bits, rec));
    ASSERT_EQ(rec.destination.str(), "NEW YORK            ");

    // The same message cut after the ship type, into the same buffer:
    // dimensions, draught and destination were never received.
    ASSERT_TRUE(DearmourPayload(std::string_view(kStatic).substr(0, 40), bits));
    rec = {};
    ASSERT_TRUE(DecodeAisMessage(bits, rec));
    EXPECT_EQ(rec.name.str(), "EVER DIADEM         ");
    EXPECT_EQ(rec.shipType, 70);
    EXPECT_EQ(rec.toBow, 0);
    EXPECT_EQ(rec.draught, 0);
    EXPECT_EQ(rec.destination.str(), std::string(20, '@'));
}

TEST(NmeaField, FieldsOfAnAivdmSentence)
{
    const std::string s = "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A";
    EXPECT_EQ(GetNmeaField(s, 0), "!AIVDM");
    EXPECT_EQ(GetNmeaField(s, 3), "");
    EXPECT_EQ(GetNmeaField(s, 5), "15RTgt0PAso;90TKcjM8h6g208CQ");
    EXPECT_EQ(GetNmeaField(s, 6), "0*4A");
    EXPECT_EQ(GetNmeaField(s, 7), "");
    EXPECT_EQ(GetNmeaField(s, -1), "");
    EXPECT_EQ(GetNmeaField("$GPRMC", 0), "$GPRMC");
}
