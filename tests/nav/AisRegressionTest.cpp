// Decodes every message of the recorded AIS set (tests/data/ais, see its
// README) and compares every field of the record with the expected values.
#include "nav/AISDecode.h"
#include "nav/AisAssembly.h"
#include "nav/AisTargets.h"
#include "nav/NavState.h"
#include "nav/NmeaField.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

using namespace nav;

namespace
{

const std::string kDir = std::string(KV_TEST_DATA_DIR) + "/ais/";

std::vector<std::string> Split(const std::string& line, char sep)
{
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(sep, start);
        cells.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return cells;
        start = end + 1;
    }
}

// Payloads of the messages in a sentence file, the fragments of each message
// joined (they stand consecutively in the recordings).
std::vector<std::string> AssembledPayloads(const std::string& file)
{
    std::ifstream in(kDir + file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    std::vector<std::string> payloads;
    std::string line, pending;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("!AIVDM", 0) != 0)
            continue;
        pending += GetNmeaField(line, 5);
        if (GetNmeaField(line, 1) == GetNmeaField(line, 2)) {
            payloads.push_back(pending);
            pending.clear();
        }
    }
    EXPECT_TRUE(pending.empty()) << file << " ends inside a message";
    return payloads;
}

// Each compared field: its column name, its value as text, and its setter
// from text (to build the whole expected record).
struct Field {
    std::string name;
    std::function<std::string(const AisTargetRecord&)> get;
    std::function<void(AisTargetRecord&, const std::string&)> set;
};
template <typename T> std::string Text(const T& v)
{
    if constexpr (std::is_integral_v<T>)
        return std::to_string(static_cast<int64_t>(v));
    else
        return v.str();
}
template <typename T> void Assign(T& v, const std::string& text)
{
    if constexpr (std::is_integral_v<T>)
        v = static_cast<T>(std::stoll(text));
    else
        v = text;
}
// clang-format off
#define KV_FIELD(name, member) Field {name, [](const AisTargetRecord& r) { return Text(r.member); }, \
    [](AisTargetRecord& r, const std::string& t) { Assign(r.member, t); }}
const std::vector<Field> kFields = {
    KV_FIELD("message_type", messageType), KV_FIELD("repeat", repeatIndicator), KV_FIELD("mmsi", mmsi),
    KV_FIELD("nav_status", navStatus), KV_FIELD("rot_byte", rateOfTurn), KV_FIELD("sog", speedOverGround),
    KV_FIELD("pos_accuracy", positionAccuracy), KV_FIELD("lon", longitude), KV_FIELD("lat", latitude),
    KV_FIELD("cog", courseOverGround), KV_FIELD("heading", trueHeading), KV_FIELD("timestamp", timeStamp),
    KV_FIELD("maneuver_and_spare", manoeuvre), KV_FIELD("bit148", spareFlag), KV_FIELD("raim", raimFlag),
    KV_FIELD("radio", radioStatus), KV_FIELD("utc_year", utcYear), KV_FIELD("utc_month", utcMonth),
    KV_FIELD("utc_day", utcDay), KV_FIELD("utc_hour", utcHour), KV_FIELD("utc_minute", utcMinute),
    KV_FIELD("utc_second", utcSecond), KV_FIELD("epfd", epfdType), KV_FIELD("ais_version", aisVersion),
    KV_FIELD("imo", imoNumber), KV_FIELD("callsign", callSign), KV_FIELD("name", name),
    KV_FIELD("ship_type", shipType), KV_FIELD("to_bow", toBow), KV_FIELD("to_stern", toStern),
    KV_FIELD("to_port", toPort), KV_FIELD("to_starboard", toStarboard), KV_FIELD("eta_code", eta),
    KV_FIELD("draught", draught), KV_FIELD("destination", destination), KV_FIELD("dte", dteFlag),
};
#undef KV_FIELD
// clang-format on

std::vector<uint8_t> Image(const AisTargetRecord& r)
{
    std::vector<uint8_t> bytes(kAisRecordSize);
    StoreAisRecord(r, bytes.data());
    return bytes;
}

// One message of the expected set: its id, its assembled payload and the
// whole record it must decode to.
struct Expected {
    std::string id, payload;
    AisTargetRecord record;
};

std::vector<Expected> ExpectedRecords()
{
    std::vector<Expected> expected;
    std::ifstream in(kDir + "ais_expected.tsv", std::ios::binary);
    std::string line;
    EXPECT_TRUE(std::getline(in, line));
    const std::vector<std::string> header = Split(line, '\t');
    std::map<std::string, std::size_t> column;
    for (std::size_t i = 0; i < header.size(); ++i)
        column[header[i]] = i;
    for (const Field& f : kFields)
        EXPECT_TRUE(column.count(f.name)) << f.name;
    EXPECT_EQ(header.size(), kFields.size() + 2) << "a field of the expected set is not compared";
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = Split(line, '\t');
        EXPECT_EQ(cells.size(), header.size()) << line;
        if (cells.size() != header.size())
            break;
        Expected e { cells[0], cells[column["payload"]], {} };
        for (const Field& f : kFields)
            f.set(e.record, cells[column[f.name]]);
        expected.push_back(e);
    }
    return expected;
}

// Every field, then the whole stored record (so bytes the decoder never sets
// stay zero). Counts the differing fields into `wrong`, showing the first 20.
void ExpectRecord(const AisTargetRecord& got, const Expected& want, std::size_t& wrong)
{
    for (const Field& f : kFields) {
        if (f.get(got) != f.get(want.record) && ++wrong <= 20)
            ADD_FAILURE() << "message " << want.id << " " << f.name << ": " << f.get(got) << ", expected "
                          << f.get(want.record);
    }
    EXPECT_EQ(Image(got), Image(want.record)) << "message " << want.id;
}

} // namespace

// The same set fed line by line through the sentence assembly, as the serial
// input and log playback feed it: each message is decoded exactly once, on
// its last sentence, and the two-sentence ones carry their fragment fields.
TEST(AisRegression, RecordedSentencesAssembledLineByLineDecodeToTheExpectedRecords)
{
    const std::vector<Expected> expected = ExpectedRecords();
    ResetNavState();
    std::ifstream in(kDir + "aivdm_sentences.nmea", std::ios::binary);
    std::string line;
    std::size_t n = 0, wrong = 0;
    std::map<int, int> perType;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!AssembleAivdm(line))
            continue;
        ASSERT_LT(n, expected.size()) << line;
        EXPECT_EQ(AisPayload, expected[n].payload) << line;
        Expected want = expected[n++];
        ++perType[AisDecodeRecord.messageType];
        if (GetNmeaField(line, 1) != "1") {
            want.record.fragmentCount = GetNmeaField(line, 1);
            want.record.fragmentNumber = GetNmeaField(line, 2);
            want.record.sequentialId = GetNmeaField(line, 3);
        }
        ExpectRecord(AisDecodeRecord, want, wrong);
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(n, expected.size());
    ASSERT_EQ(n, 1103u);
    EXPECT_EQ(perType,
        (std::map<int, int> { { 1, 769 }, { 2, 13 }, { 3, 141 }, { 4, 40 }, { 5, 126 }, { 11, 14 } }));
}

TEST(AisRegression, RecordedMessagesOfOtherTypesChangeNothing)
{
    const std::vector<std::string> payloads = AssembledPayloads("other_types.nmea");
    ASSERT_EQ(payloads.size(), 400u);
    AisSixBitBuffer bits;
    AisTargetRecord rec;
    ASSERT_TRUE(
        DearmourPayload("55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp888888888880", bits));
    ASSERT_TRUE(DecodeAisMessage(bits, rec));
    rec.trailCount = 1;
    rec.trail[1] = { 48.5, -4.25 };
    const std::vector<uint8_t> before = Image(rec);
    for (const std::string& payload : payloads) {
        ASSERT_TRUE(DearmourPayload(payload, bits));
        EXPECT_FALSE(DecodeAisMessage(bits, rec)) << payload;
        ASSERT_EQ(Image(rec), before) << payload;
    }
}

TEST(AisRegression, RecordedSentencesOfOtherTypesAssembledAndMergedChangeNoTarget)
{
    ResetNavState();
    ASSERT_TRUE(AssembleAivdm("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A"));
    ASSERT_EQ(UpdateAisTargets({ 45000.5 }).slot, 1);
    const std::vector<uint8_t> before = Image(AisTargets[1]);

    std::ifstream in(kDir + "other_types.nmea", std::ios::binary);
    std::string line;
    int completed = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        completed += AssembleAivdm(line);
        EXPECT_EQ(UpdateAisTargets({ 45001.0 }).slot, 0) << line;
    }
    EXPECT_EQ(completed, 400);
    EXPECT_EQ(AisTargetCount, 1);
    EXPECT_EQ(Image(AisTargets[1]), before);
}
