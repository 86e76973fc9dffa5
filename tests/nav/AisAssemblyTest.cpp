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
    EXPECT_EQ(AisFragmentSeqId, "7");

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
    EXPECT_EQ(AisPayload, GetNmeaField(parts[0], 5));
    EXPECT_TRUE(AssembleAivdm(parts[1]));
    EXPECT_EQ(AisDecodeRecord.mmsi, 235000111);
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
