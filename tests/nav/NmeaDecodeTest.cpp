// Position sentence decoding: checksums, coordinate fields, the RMC, GGA and
// COM decoders with their indicator table, and a regression over recorded
// receiver logs with independently computed expected values.

#include "nav/NmeaDecode.h"
#include "nav/NavState.h"
#include "rtl/Numbers.h"
#include "rtl/TextFile.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace nav;

namespace
{

TEST(NmeaChecksum, MatchingMismatchedAndAbsent)
{
    EXPECT_TRUE(NmeaChecksumOk("$GPGLL,4916.45,N,12311.12,W,225444,A*31"));
    EXPECT_FALSE(NmeaChecksumOk("$GPGLL,4916.45,N,12311.12,W,225444,A*32"));
    // Lower-case hexadecimal digits are accepted.
    EXPECT_TRUE(NmeaChecksumOk("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4a"));
    EXPECT_FALSE(NmeaChecksumOk("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CR,0*4A"));
    // No checksum: a bare '*', one digit, or letters that are not hex.
    EXPECT_TRUE(NmeaChecksumOk("$GPGLL,4916.45,N,12311.12,W,225444,A"));
    EXPECT_TRUE(NmeaChecksumOk("$GPGLL,4916.45,N*"));
    EXPECT_TRUE(NmeaChecksumOk("$GPGLL,4916.45,N*3"));
    EXPECT_TRUE(NmeaChecksumOk("$KVGGA,120000,5048.0,N,00118.0,W,5,07,0.0,0.0,M,,0000*MON"));
    EXPECT_TRUE(NmeaChecksumOk(""));
    // The checksum of the first '*' counts, whatever follows it.
    EXPECT_FALSE(NmeaChecksumOk("$GPGLL,4916.45,N,12311.12,W,225444,A*32*31"));
}

TEST(NmeaCoordinates, FixedWidthDegreesAndMinutes)
{
    EXPECT_DOUBLE_EQ(*ReadNmeaLatitude("4807.038", "N"), 48 + 7.038 / 60);
    EXPECT_DOUBLE_EQ(*ReadNmeaLatitude("4807.038", "S"), -(48 + 7.038 / 60));
    EXPECT_DOUBLE_EQ(*ReadNmeaLongitude("01131.000", "E"), -(11 + 31.0 / 60));
    EXPECT_DOUBLE_EQ(*ReadNmeaLongitude("01131.000", "W"), 11 + 31.0 / 60);
    // Only exactly "S" and "E" negate; an empty hemisphere does not.
    EXPECT_GT(*ReadNmeaLatitude("4807.038", ""), 0);
    EXPECT_GT(*ReadNmeaLongitude("01131.000", "e"), 0);
    // Latitude minutes are read from at most 12 characters.
    EXPECT_DOUBLE_EQ(*ReadNmeaLatitude("5000.12345678901234", "N"), 50 + 0.1234567890 / 60);
    EXPECT_DOUBLE_EQ(*ReadNmeaLongitude("00100.12345678901234", "W"), 1 + 0.12345678901234 / 60);
}

TEST(NmeaCoordinates, EmptyCutOrGarbledFieldsAreUnreadable)
{
    for (const char* bad : { "", "4", "48", "48.", "E", "48x7.038", "4807.03.8", "-4807.038", " 4807.038",
             "4807.038 ", "4807.0e1" })
        EXPECT_FALSE(ReadNmeaLatitude(bad, "N")) << '"' << bad << '"';
    for (const char* bad : { "", "1", "011", "00000.000VTG", "0113 1.000" })
        EXPECT_FALSE(ReadNmeaLongitude(bad, "W")) << '"' << bad << '"';
    EXPECT_DOUBLE_EQ(*ReadNmeaLatitude("480", "N"), 48);
    EXPECT_DOUBLE_EQ(*ReadNmeaLongitude("0000", "W"), 0);
}

TEST(NmeaDecode, RmcStatusSelectsIndicatorAndValidity)
{
    const auto a
        = DecodeNmeaSentence("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A", false);
    EXPECT_TRUE(a.fixValid);
    EXPECT_FALSE(a.failed);
    EXPECT_EQ(a.caption, "GPS");
    EXPECT_EQ(a.colour, kIndicatorLime);
    EXPECT_EQ(a.hint, "GPS Position|");
    EXPECT_EQ(a.fixQuality, "1");
    EXPECT_EQ(a.timeText, "123519");
    EXPECT_DOUBLE_EQ(*a.lat, 48 + 7.038 / 60);
    EXPECT_DOUBLE_EQ(*a.lon, -(11 + 31.0 / 60));
    EXPECT_EQ(a.magVariation, -3);
    EXPECT_EQ(a.satCount, "");
    EXPECT_EQ(a.hdop, 0.0);

    const auto v = DecodeNmeaSentence("$GPRMC,123519,V,4807.038,N,01131.000,E,,,230394,,*", false);
    EXPECT_FALSE(v.fixValid);
    EXPECT_EQ(v.caption, "GPS");
    EXPECT_EQ(v.colour, kIndicatorRed);
    EXPECT_EQ(v.hint, "No GPS Position|");
    EXPECT_EQ(v.fixQuality, "0");
    // Without a variation field the variation is 0.
    EXPECT_EQ(v.magVariation, 0);

    const auto other = DecodeNmeaSentence("$GPRMC,123519,X,4807.038,N,01131.000,E", false);
    EXPECT_FALSE(other.fixValid);
    EXPECT_EQ(other.caption, "");
    EXPECT_EQ(other.fixQuality, "");
    EXPECT_FALSE(other.colour);
    EXPECT_FALSE(other.hint);
}

TEST(NmeaDecode, RmcVariationRoundsHalfToEvenAfterTakingTheSign)
{
    auto variation = [](const char* value, const char* side) {
        return DecodeNmeaSentence(
            std::string("$GPRMC,1,A,5000.0,N,00100.0,W,,,,") + value + "," + side, false)
            .magVariation;
    };
    EXPECT_EQ(variation("10.5", "W"), -10);
    EXPECT_EQ(variation("11.5", "E"), 12);
    EXPECT_EQ(variation("1.4", "E*1C"), 1);
    EXPECT_EQ(variation("1.7", "W*1C"), -2);
}

TEST(NmeaDecode, GgaQualityTable)
{
    struct Row {
        const char* quality;
        const char* caption;
        std::optional<uint32_t> colour;
        std::optional<std::string> hint;
        bool valid;
    };
    const Row rows[] = {
        { "0", "GPS", kIndicatorRed, std::nullopt, false },
        { "1", "GPS", kIndicatorLime, "GPS Position|", true },
        { "2", "DGPS", kIndicatorLime, "Differential GPS Position|", true },
        { "5", "MON", kIndicatorLime, "Live AIS Monitor mode|", true },
        { "6", "", std::nullopt, std::nullopt, false },
        { "3", "", std::nullopt, std::nullopt, false },
        { "", "", std::nullopt, std::nullopt, false },
    };
    for (const Row& row : rows) {
        const auto d = DecodeNmeaSentence(std::string("$GPGGA,123519,4807.038,N,01131.000,E,") + row.quality
                + ",08,0.9,545.4,M,46.9,M,,*47",
            false);
        SCOPED_TRACE(row.quality);
        EXPECT_EQ(d.caption, row.caption);
        EXPECT_EQ(d.colour, row.colour);
        EXPECT_EQ(d.hint, row.hint);
        EXPECT_EQ(d.fixValid, row.valid);
        EXPECT_EQ(d.fixQuality, row.valid || row.quality == std::string("0") ? row.quality : "");
        EXPECT_EQ(d.satCount, "08");
        EXPECT_DOUBLE_EQ(*d.hdop, 0.9);
        EXPECT_FALSE(d.magVariation);
        EXPECT_FALSE(d.monitorLog);
    }
    // A monitor-mode sentence played back from an AIS log shows red and
    // switches monitor mode on.
    const auto played = DecodeNmeaSentence("$KVGGA,120000,5048.0,N,00118.0,W,5,07,0.0,0.0,M,,0000*MON", true);
    EXPECT_TRUE(played.fixValid);
    EXPECT_TRUE(played.monitorLog);
    EXPECT_EQ(played.colour, kIndicatorRed);
    EXPECT_EQ(played.hint, "Playback of an AIS monitor mode log file|");
}

TEST(NmeaDecode, ComSentenceFieldsQualityAndTimeZero)
{
    const std::string com = "$PSCOM,101010,5048.0000,N,00118.0000,W,4,09,a,b,c,d,e,f,g,h,1.5,last";
    auto d = DecodeNmeaSentence(com, false);
    EXPECT_TRUE(d.fixValid);
    EXPECT_EQ(d.caption, "DGPSF");
    EXPECT_EQ(d.hint, "Trimble Differential GPS Position|");
    EXPECT_EQ(d.fixQuality, "2");
    EXPECT_EQ(d.comTimeZero, false);
    EXPECT_EQ(d.satCount, "09");
    EXPECT_DOUBLE_EQ(*d.hdop, 1.5);
    const std::array<std::string, 10> fields { "last", "a", "b", "c", "d", "e", "f", "g", "h", "1.5" };
    EXPECT_EQ(*d.comFields, fields);

    d = DecodeNmeaSentence("$PSCOM,101010,5048.0000,N,00118.0000,W,3,09", false);
    EXPECT_EQ(d.caption, "DGPSX");
    EXPECT_EQ(d.fixQuality, "3");
    d = DecodeNmeaSentence("$PSCOM,101010,5048.0000,N,00118.0000,W,0,09", false);
    EXPECT_FALSE(d.fixValid);
    EXPECT_EQ(d.hint, "No GPS Position|");

    // Time "000000" marks a captured point: valid whatever the quality.
    d = DecodeNmeaSentence("$PSCOM,000000,5048.0000,N,00118.0000,W,0,09", false);
    EXPECT_TRUE(d.fixValid);
    EXPECT_EQ(d.comTimeZero, true);
    d = DecodeNmeaSentence("$PSCOM,000000,5048.0000,N,00118.0000,W,9,09", false);
    EXPECT_TRUE(d.fixValid);
    EXPECT_EQ(d.caption, "");
}

TEST(NmeaDecode, UnreadablePositionNeverGivesAFix)
{
    for (const char* s : {
             "$GPRMC,123519,A,,N,01131.000,E,,,,,",
             "$GPRMC,123519,A,4807.038,N,,E,,,,,",
             "$GPGGA,123519,48,N,01131.000,E,1,08,0.9",
             "$GPGGA,123519,4807.038,N,0113x.000,E,2,08,0.9",
             "$KVGGA,123519,,,,,5,07,0.0",
             "$PSCOM,000000,,N,00118.0000,W,1,09",
         }) {
        SCOPED_TRACE(s);
        const auto d = DecodeNmeaSentence(s, true);
        EXPECT_FALSE(d.fixValid);
        EXPECT_FALSE(d.monitorLog);
        EXPECT_EQ(d.caption, "GPS");
        EXPECT_EQ(d.colour, kIndicatorRed);
        EXPECT_EQ(d.fixQuality, "0");
    }
}

TEST(NmeaDecode, NonNumericHdopOrVariationFailsTheSentence)
{
    EXPECT_TRUE(DecodeNmeaSentence("$GPGGA,123519,4807.038,N,01131.000,E,1,08,x.9", false).failed);
    EXPECT_TRUE(DecodeNmeaSentence("$GPRMC,123519,A,4807.038,N,01131.000,E,,,,3.x,W", false).failed);
    EXPECT_FALSE(DecodeNmeaSentence("$GPRMC,123519,A,4807.038,N,01131.000,E,,,,3.x,W", false).fixValid);
    EXPECT_TRUE(DecodeNmeaSentence("$PSCOM,101010,5048.0,N,00118.0,W,1,09,,,,,,,,,?", false).failed);
    // Other kinds of sentence, or none, decode to nothing.
    for (const char* s : { "$GPGSV,3,1,11", "", "$GP", "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A" }) {
        const auto d = DecodeNmeaSentence(s, false);
        EXPECT_FALSE(d.fixValid || d.failed || d.lat || d.hdop || d.satCount) << s;
    }
}

TEST(NmeaDecode, ApplySetsStateAndEstimatedPositionError)
{
    ResetNavState();
    MagVariation = 7;
    GpsLat = 1;
    GpsLon = 2;
    ApplyNmeaDecode(DecodeNmeaSentence("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9", false));
    EXPECT_DOUBLE_EQ(GpsLat, 48 + 7.038 / 60);
    EXPECT_DOUBLE_EQ(GpsLon, -(11 + 31.0 / 60));
    EXPECT_EQ(FixQuality, "1");
    EXPECT_EQ(SatCount, "08");
    EXPECT_DOUBLE_EQ(EpeMetres, 9.0);
    EXPECT_EQ(MagVariation, 7); // only RMC carries the variation

    ApplyNmeaDecode(DecodeNmeaSentence("$GPGGA,123519,4807.038,N,01131.000,E,2,08,2.5", false));
    EXPECT_DOUBLE_EQ(EpeMetres, 4.0);
    ApplyNmeaDecode(DecodeNmeaSentence("$GPGGA,123519,4807.038,N,01131.000,E,5,08,2.5", false));
    EXPECT_DOUBLE_EQ(EpeMetres, 0);

    // An unreadable position leaves the last one standing.
    ApplyNmeaDecode(DecodeNmeaSentence("$GPRMC,123520,A,,,,,,,,,", false));
    EXPECT_DOUBLE_EQ(GpsLat, 48 + 7.038 / 60);
    EXPECT_EQ(FixQuality, "0");
    EXPECT_EQ(SatCount, "");
    EXPECT_EQ(Hdop, 0);
    EXPECT_EQ(MagVariation, 0);

    ApplyNmeaDecode(DecodeNmeaSentence("$PSCOM,000000,5048.0,N,00118.0,W,1,09,f1,,,,,,,,1.0,f0", false));
    EXPECT_TRUE(ComTimeZero);
    EXPECT_EQ(NmeaFields[0], "f0");
    EXPECT_EQ(NmeaFields[1], "f1");
    EXPECT_DOUBLE_EQ(EpeMetres, 10.0);
    ApplyNmeaDecode(DecodeNmeaSentence("$PSCOM,000001,5048.0,N,00118.0,W,1,09", false));
    EXPECT_FALSE(ComTimeZero);
}

// ---- Regression over recorded receiver logs ---------------------------------

std::vector<std::string> SplitCsv(const std::string& line)
{
    std::vector<std::string> cells;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, ','))
        cells.push_back(cell);
    if (!line.empty() && line.back() == ',')
        cells.emplace_back();
    return cells;
}

void ExpectCoordinate(const std::optional<double>& got, const std::string& want, const std::string& where)
{
    if (want.empty() || want == "invalid") {
        EXPECT_FALSE(got) << where;
    } else {
        ASSERT_TRUE(got) << where;
        EXPECT_NEAR(*got, rtl::RealOr(want), 1e-9) << where;
    }
}

TEST(NmeaDecodeRegression, RecordedReceiverLogsMatchExpectedValues)
{
    const std::filesystem::path dir = std::filesystem::path(KV_SHARED_TESTDATA_DIR) / "nmea";
    int files = 0, rows = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".csv")
            continue;
        ++files;
        const auto lines = rtl::ReadAllLines(std::filesystem::path(entry.path()).replace_extension(".nmea"));
        ASSERT_TRUE(lines) << entry.path();
        std::ifstream csv(entry.path());
        std::string row;
        std::getline(csv, row); // header
        while (std::getline(csv, row)) {
            const auto c = SplitCsv(row);
            ASSERT_EQ(c.size(), 11u) << row;
            const std::string& sentence = (*lines)[std::stoul(c[0]) - 1];
            const std::string where = entry.path().filename().string() + ":" + c[0];
            ++rows;
            EXPECT_EQ(NmeaChecksumOk(sentence), c[2] == "0" || c[3] == "1") << where;

            const NmeaDecodeResult d = DecodeNmeaSentence(sentence, false);
            EXPECT_EQ(d.timeText, c[4]) << where;
            ExpectCoordinate(d.lat, c[6], where);
            ExpectCoordinate(d.lon, c[7], where);
            const bool claimsFix
                = c[1] == "GPRMC" ? c[5] == "A" : (c[5] == "1" || c[5] == "2" || c[5] == "5");
            EXPECT_EQ(d.fixValid, claimsFix && d.lat && d.lon) << where;
            if (c[1] == "GPRMC") {
                EXPECT_FALSE(d.failed) << where;
                ASSERT_TRUE(d.magVariation) << where;
                EXPECT_EQ(*d.magVariation, std::stoi(c[8])) << where;
            } else {
                EXPECT_EQ(d.satCount, c[9]) << where;
                // A garbled HDOP ("M" in a spliced line) fails the sentence.
                double hdop = 0;
                const bool numeric = c[10].empty() || rtl::ParseReal(c[10], hdop);
                EXPECT_EQ(d.failed, !numeric) << where;
                if (numeric) {
                    EXPECT_DOUBLE_EQ(*d.hdop, hdop) << where;
                }
            }
        }
    }
    EXPECT_EQ(files, 10);
    EXPECT_GT(rows, 850);
}

} // namespace
