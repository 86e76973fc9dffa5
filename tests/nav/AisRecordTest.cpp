#include "nav/AisRecord.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

using namespace nav;

namespace
{

using Bytes = std::vector<uint8_t>;

const std::size_t kPadding[] = { 2, 3, 13, 14, 15, 49, 50, 51, 57, 58, 59, 93, 818, 819, 820, 821, 822, 823 };

Bytes Store(const AisTargetRecord& r)
{
    Bytes b(kAisRecordSize, 0xEE);
    StoreAisRecord(r, b.data());
    return b;
}

Bytes Le(uint64_t v, int n)
{
    Bytes b;
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return b;
}

Bytes At(const Bytes& b, std::size_t offset, std::size_t n)
{
    return Bytes(b.begin() + offset, b.begin() + offset + n);
}

} // namespace

TEST(AisRecord, FieldsStandAtTheirOffsetsLittleEndianWithZeroPadding)
{
    AisTargetRecord r;
    r.messageType = 5;
    r.mmsi = 0x0A0B0C0D;
    r.longitude = -74037230;
    r.callSign = "3FOF8";
    r.name = "EVER DIADEM@@@@@@@@@";
    r.toStarboard = 31;
    r.draught = 122;
    r.destination = "NEW YORK";
    r.sequentialId = "12345";
    r.lastHeard = 45000.5;
    r.trail[40] = { -1.0, 2.0 };
    r.trailCount = 40;
    const Bytes b = Store(r);

    EXPECT_EQ(b[0], 5);
    EXPECT_EQ(At(b, 4, 4), (Bytes { 0x0D, 0x0C, 0x0B, 0x0A }));
    EXPECT_EQ(At(b, 16, 4), Le(static_cast<uint32_t>(-74037230), 4));
    EXPECT_EQ(At(b, 64, 8), (Bytes { 5, '3', 'F', 'O', 'F', '8', 0, 0 }));
    EXPECT_EQ(b[72], 20);
    EXPECT_EQ(b[92], '@');
    EXPECT_EQ(At(b, 102, 2), Le(31, 2));
    EXPECT_EQ(b[120], 122);
    EXPECT_EQ(At(b, 121, 10), (Bytes { 8, 'N', 'E', 'W', ' ', 'Y', 'O', 'R', 'K', 0 }));
    EXPECT_EQ(At(b, 156, 6), (Bytes { 5, '1', '2', '3', '4', '5' }));
    EXPECT_EQ(At(b, 168, 8), Le(std::bit_cast<uint64_t>(45000.5), 8));
    EXPECT_EQ(At(b, 800, 16), (Bytes { 0, 0, 0, 0, 0, 0, 0xF0, 0xBF, 0, 0, 0, 0, 0, 0, 0, 0x40 }));
    EXPECT_EQ(At(b, 816, 2), Le(40, 2));
    for (std::size_t pad : kPadding)
        EXPECT_EQ(b[pad], 0) << "padding byte " << pad;
}

TEST(AisRecord, EveryStoredByteSurvivesALoadAndStore)
{
    // Random images with the padding zeroed and texts well formed (length
    // within capacity, zeros after the text) come back byte for byte.
    std::mt19937 random(11);
    for (int round = 0; round < 50; ++round) {
        Bytes image(kAisRecordSize);
        for (auto& byte : image)
            byte = static_cast<uint8_t>(random());
        for (std::size_t pad : { 2, 3, 13, 14, 15, 49, 50, 51, 57, 58, 59, 93, 818, 819, 820, 821, 822, 823 })
            image[pad] = 0;
        for (auto [offset, capacity] :
            { std::pair { 64, 7 }, { 72, 20 }, { 121, 20 }, { 144, 5 }, { 150, 5 }, { 156, 5 } }) {
            image[offset] = static_cast<uint8_t>(image[offset] % (capacity + 1));
            std::fill(image.begin() + offset + 1 + image[offset], image.begin() + offset + 1 + capacity, 0);
        }
        image[816] = static_cast<uint8_t>(image[816] % 41);
        image[817] = 0;
        ASSERT_EQ(Store(LoadAisRecord(image.data())), image) << "round " << round;
    }
}

TEST(AisRecord, DamagedLengthBytesAndTrailCountAreCutToCapacity)
{
    Bytes image(kAisRecordSize, 'x');
    image[72] = 200;
    image[816] = 0xFF;
    image[817] = 0xFF;
    const AisTargetRecord r = LoadAisRecord(image.data());
    EXPECT_EQ(r.name.str(), std::string(20, 'x'));
    EXPECT_EQ(r.trailCount, kAisTrailLength);
}
