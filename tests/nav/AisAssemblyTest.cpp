// Fragment assembly of "!AIVDM" sentences into one decoded message.
#include "nav/AisAssembly.h"
#include "nav/AisTargets.h"
#include "nav/NavState.h"
#include "nav/NmeaField.h"

#include "support/AisSentences.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

using namespace nav;
using namespace kvtest;

namespace
{

class AisAssemblyTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
    const std::string position = AivdmSentence(PositionReportPayload(244740981, 51.5, 1.25));
    const std::string staticData = StaticDataPayload(235000111, "SEA WITCH", "GBXY");
};

TEST_F(AisAssemblyTest, TwoSentenceStaticDataIsDecodedOnceOnTheSecondSentence)
{
    ASSERT_TRUE(AssembleAivdm(position));
    ASSERT_EQ(UpdateAisTargets({}).slot, 1);
    const std::vector<std::string> parts = AivdmFragments(staticData, 2, "7");

    EXPECT_FALSE(AssembleAivdm(parts[0]));
    EXPECT_FALSE(AisDecodeFresh);
    EXPECT_EQ(AisDecodeRecord.mmsi, 244740981) << "the first fragment decodes nothing";

    EXPECT_TRUE(AssembleAivdm(parts[1]));
    EXPECT_TRUE(AisDecodeFresh);
    EXPECT_EQ(AisPayload, staticData);
    EXPECT_EQ(AisDecodeRecord.messageType, 5);
    EXPECT_EQ(AisDecodeRecord.mmsi, 235000111);
    EXPECT_EQ(AisDecodeRecord.name, "SEA WITCH@@@@@@@@@@@");
    EXPECT_EQ(AisDecodeRecord.latitude, 0) << "the record is cleared before the decode";
    EXPECT_EQ(AisDecodeRecord.fragmentCount, "2");
    EXPECT_EQ(AisDecodeRecord.fragmentNumber, "2");
    EXPECT_EQ(AisDecodeRecord.sequentialId, "7");
}

TEST_F(AisAssemblyTest, FragmentWithAnotherSequentialIdIsIgnored)
{
    const std::vector<std::string> parts = AivdmFragments(staticData, 2, "3");
    const std::vector<std::string> other = AivdmFragments(staticData, 2, "4");
    ASSERT_FALSE(AssembleAivdm(parts[0]));
    EXPECT_FALSE(AssembleAivdm(other[1]));
    EXPECT_EQ(AisDecodeRecord.mmsi, 0);
    EXPECT_FALSE(AisDecodeFresh);
    EXPECT_TRUE(AssembleAivdm(parts[1]));
    EXPECT_EQ(AisDecodeRecord.mmsi, 235000111);
}

// What a busy receiver hears: the two AIS channels interleaved, ships on
// both using the same sequential id at once, position reports between the
// parts of a static data message, parts lost or repeated. Each message is
// decoded from its own parts only, or not at all.
TEST_F(AisAssemblyTest, PartsAreJoinedOnlyWithTheirOwnChannelAndSequentialId)
{
    const std::string f = StaticDataPayload(235000006, "FFFFFFFFFF", "FFFF", 70, 65, "FFFFFFFFFFFFFFFFFFFF");
    const std::string g = StaticDataPayload(235000007, "GGGGGGGGGG", "GGGG", 70, 65, "GGGGGGGGGGGGGGGGGGGG");
    const std::vector<std::string> fA = AivdmFragments(f, 2, "3", "A");
    const std::vector<std::string> gB = AivdmFragments(g, 2, "3", "B");
    const std::vector<std::string> gA4 = AivdmFragments(g, 2, "4", "A");
    const std::vector<std::string> f3 = AivdmFragments(f, 3, "3", "A");
    const std::string report = AivdmSentence(PositionReportPayload(244740981, 51.5, 1.25), 1, 1, "", "A");

    const struct {
        const char* name;
        std::vector<std::string> sentences;
        std::vector<int32_t> decoded; // the MMSIs decoded, in order
    } cases[] = {
        { "both channels, one id", { fA[0], gB[0], fA[1], gB[1] }, { 235000006, 235000007 } },
        { "both channels, finished the other way round", { fA[0], gB[0], gB[1], fA[1] },
            { 235000007, 235000006 } },
        { "a report between the parts", { fA[0], report, fA[1] }, { 244740981, 235000006 } },
        { "a part of another id between", { fA[0], gA4[1], fA[1] }, { 235000006 } },
        { "a last part without its first", { gA4[1], fA[0], fA[1] }, { 235000006 } },
        { "a part of a message of another length", { f3[0], fA[1], f3[1], f3[2] }, { 235000006 } },
        { "a middle part lost", { f3[0], f3[2] }, {} },
        { "a last part repeated", { fA[0], fA[1], fA[1] }, { 235000006 } },
        { "a first part repeated", { fA[0], fA[0], fA[1] }, { 235000006 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetNavState();
        std::vector<int32_t> decoded;
        for (const std::string& s : c.sentences) {
            if (!AssembleAivdm(s))
                continue;
            decoded.push_back(AisDecodeRecord.mmsi);
            if (AisDecodeRecord.messageType != 5)
                continue;
            // Every field of a ship's static data is its own.
            const bool isF = AisDecodeRecord.mmsi == 235000006;
            EXPECT_EQ(AisPayload, isF ? f : g);
            EXPECT_EQ(AisDecodeRecord.name, isF ? "FFFFFFFFFF@@@@@@@@@@" : "GGGGGGGGGG@@@@@@@@@@");
            EXPECT_EQ(AisDecodeRecord.destination, isF ? "FFFFFFFFFFFFFFFFFFFF" : "GGGGGGGGGGGGGGGGGGGG");
        }
        EXPECT_EQ(decoded, c.decoded);
    }
}

TEST_F(AisAssemblyTest, ThreeFragmentsAreJoinedThroughTheMiddleOne)
{
    for (const std::string& part : AivdmFragments(staticData, 3, "9"))
        AssembleAivdm(part);
    EXPECT_EQ(AisPayload, staticData);
    EXPECT_EQ(AisDecodeRecord.callSign, "GBXY@@@");
    EXPECT_EQ(AisDecodeRecord.fragmentCount, "3");
}

TEST_F(AisAssemblyTest, SentencesWithoutFragmentFieldsCompleteNothing)
{
    for (const char* s : { "", "!AIVDM", "!AIVDM,,,,,", "!AIVDM,1", "!AIVDM,0,1,,A,15RT,0" })
        EXPECT_FALSE(AssembleAivdm(s)) << s;
    EXPECT_FALSE(AisDecodeFresh);
    EXPECT_EQ(AisDecodeRecord.messageType, 0);
}

TEST_F(AisAssemblyTest, JoinedPayloadBeyondTheSixBitBufferDecodesToNothing)
{
    // Three fragments of 200 characters: 600 > 500 six-bit values.
    const std::string filler(200, 'w');
    AssembleAivdm(AivdmSentence(PositionReportPayload(244740981, 51.5, 1.25) + filler, 3, 1, "5"));
    AssembleAivdm(AivdmSentence(filler, 3, 2, "5"));
    EXPECT_TRUE(AssembleAivdm(AivdmSentence(filler, 3, 3, "5")));
    EXPECT_EQ(AisDecodeRecord.mmsi, 0);
    EXPECT_EQ(UpdateAisTargets({}).slot, 0);
    // A repeated middle fragment cannot grow the payload without bound.
    for (int i = 0; i < 100; ++i)
        AssembleAivdm(AivdmSentence(filler, 3, 2, "5"));
    EXPECT_LE(AisPayload.size(), 1000u);

    ASSERT_TRUE(AssembleAivdm(position));
    EXPECT_EQ(AisDecodeRecord.mmsi, 244740981);
}

} // namespace
