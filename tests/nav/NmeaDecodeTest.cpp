// Position sentence decoding: checksums, coordinate fields, the indicator
// table of the three decoders, and a regression over recorded receiver logs
// whose expected values were computed independently.

#include "nav/NmeaDecode.h"
#include "nav/NavState.h"
#include "nav/NmeaField.h"
#include "nav/NmeaTemplate.h"
#include "rtl/Numbers.h"
#include "rtl/TextFile.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace nav;

namespace
{

TEST(NmeaDecode, ChecksumOfTheFirstStarCountsWhenItIsTwoHexDigits)
{
    EXPECT_TRUE(NmeaChecksumOk("$GPGLL,4916.45,N,12311.12,W,225444,A*31"));
    EXPECT_FALSE(NmeaChecksumOk("$GPGLL,4916.45,N,12311.12,W,225444,A*32"));
    EXPECT_TRUE(NmeaChecksumOk("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4a"));
    EXPECT_FALSE(NmeaChecksumOk("$GPGLL,4916.45,N,12311.12,W,225444,A*32*31"));
    for (const char* none : { "$GPGLL,4916.45,N", "$KVGGA,0000*MON", "" })
        EXPECT_TRUE(NmeaChecksumOk(none)) << none;
}

TEST(NmeaDecode, DamagedChecksumIsNoChecksumButACorruptedLine)
{
    const std::string rmc = "$GPRMC,094738,A,5015.0000,N,00130.0000,W,5.8,235.1,200818,1.4,E,A";
    ASSERT_TRUE(NmeaChecksumOk(rmc + "*05"));
    for (const char* tail : { "*0G", "*0", "*", "*G5", "*050", "*05 ", "*0 5", "*MONX", "*mon", "**05" })
        EXPECT_FALSE(NmeaChecksumOk(rmc + tail)) << tail;
}

TEST(NmeaDecode, CoordinatesAreFixedWidthAndRefuseGarbledFields)
{
    EXPECT_DOUBLE_EQ(*ReadNmeaLatitude("4807.038", "S"), -(48 + 7.038 / 60));
    EXPECT_DOUBLE_EQ(*ReadNmeaLongitude("01131.000", "E"), -(11 + 31.0 / 60));
    EXPECT_GT(*ReadNmeaLongitude("01131.000", "e"), 0); // only "S" and "E" negate
    EXPECT_DOUBLE_EQ(*ReadNmeaLatitude("5000.12345678901234", "N"), 50 + 0.1234567890 / 60); // 12 characters
    for (const char* bad :
        { "", "4", "48", "48.", "E", "48x7.038", "4807.03.8", "-4807.038", " 4807.038", "4807.0e1" })
        EXPECT_FALSE(ReadNmeaLatitude(bad, "N")) << '"' << bad << '"';
    for (const char* bad : { "", "011", "00000.000VTG" })
        EXPECT_FALSE(ReadNmeaLongitude(bad, "W")) << '"' << bad << '"';
}

// A position no receiver can be at is a line damaged on the wire, dropped
// like one with a wrong checksum; an empty position (no fix yet) is not.
TEST(NmeaDecode, ImpossiblePositionsAreDamagedLines)
{
    const auto gga = [](const std::string& lat, const std::string& lon) {
        return "$GPGGA,120000," + lat + ",N," + lon + ",W,1,08,1.0,10.0,M,47.0,M,,";
    };
    const auto rmc = [](const std::string& lat, const std::string& lon) {
        return "$GPRMC,120000,A," + lat + ",S," + lon + ",E,5.8,235.1,200818,1.4,E";
    };
    const std::string com = "$PSCOM,000000,9500.000,N,00100.000,W,1,09";
    struct Row {
        std::string line;
        bool intact;
    };
    const Row rows[] = {
        { gga("5000.000", "00100.000"), true },
        { gga("9000.000", "18000.000"), true }, // the poles and the date line
        { gga("0059.9999", "17959.9999"), true },
        { gga("", ""), true },
        { gga("50x0.000", "00100.000"), true }, // unreadable: no fix, not damaged
        { gga("9500.0000", "00100.000"), false },
        { gga("9000.0001", "00100.000"), false },
        { gga("5060.000", "00100.000"), false },
        { gga("5000.000", "18000.001"), false },
        { gga("5000.000", "00075.000"), false },
        { gga("5000.000", "99900.000"), false },
        { rmc("9100.000", "00100.000"), false },
        { rmc("5000.000", "00160.5"), false },
        { com, false },
        { "$GPGLL,9500.00,N,00100.00,W,120000,A", true }, // not a position the program reads
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NmeaLineIntact(row.line), row.intact) << row.line;
        // With a right checksum too.
        const std::string summed = row.line + NmeaChecksum(row.line, 2);
        EXPECT_EQ(NmeaLineIntact(summed), row.intact) << summed;
        EXPECT_FALSE(NmeaLineIntact(summed.substr(0, summed.size() - 1) + "X")) << summed;
        // The decoder never gives such a position either.
        const NmeaDecodeResult d = DecodeNmeaSentence(row.line, false);
        EXPECT_TRUE(!d.lat || std::abs(*d.lat) <= 90) << row.line;
        EXPECT_TRUE(!d.lon || std::abs(*d.lon) <= 180) << row.line;
        if (!row.intact) {
            EXPECT_FALSE(d.fixValid) << row.line;
        }
    }
}

TEST(NmeaDecode, IndicatorTableOfTheThreeDecoders)
{
    const std::string pos = "4807.038,N,01131.000,E";
    struct Row {
        std::string sentence;
        bool playback, valid;
        const char *caption, *quality;
        std::optional<uint32_t> colour;
        std::optional<std::string> hint;
    };
    const Row rows[] = {
        { "$GPRMC,1,A," + pos + ",,,,3.1,W", false, true, "GPS", "1", kIndicatorLime, "GPS Position|" },
        { "$GPRMC,1,V," + pos, false, false, "GPS", "0", kIndicatorRed, "No GPS Position|" },
        { "$GPRMC,1,X," + pos, false, false, "", "", std::nullopt, std::nullopt },
        { "$GPGGA,1," + pos + ",0,08,0.9", false, false, "GPS", "0", kIndicatorRed, std::nullopt },
        { "$GPGGA,1," + pos + ",2,08,0.9", false, true, "DGPS", "2", kIndicatorLime,
            "Differential GPS Position|" },
        { "$KVGGA,1," + pos + ",5,08,0.9", false, true, "MON", "5", kIndicatorLime,
            "Live AIS Monitor mode|" },
        { "$KVGGA,1," + pos + ",5,08,0.9", true, true, "MON", "5", kIndicatorRed,
            "Playback of an AIS monitor mode log file|" },
        { "$GPGGA,1," + pos + ",6,08,0.9", false, false, "", "", std::nullopt, std::nullopt },
        { "$PSCOM,1," + pos + ",0,09", false, false, "GPS", "0", kIndicatorRed, "No GPS Position|" },
        { "$PSCOM,1," + pos + ",3,09", false, true, "DGPSX", "3", kIndicatorLime,
            "Trimble Differential GPS Position|" },
        { "$PSCOM,1," + pos + ",4,09", false, true, "DGPSF", "2", kIndicatorLime,
            "Trimble Differential GPS Position|" },
        // A captured chart point (time "000000") is valid whatever its quality.
        { "$PSCOM,000000," + pos + ",9,09", false, true, "", "", std::nullopt, std::nullopt },
        // A fix without a readable position never moves the vessel.
        { "$GPRMC,1,A,,N,01131.000,E", false, false, "GPS", "0", kIndicatorRed, "No GPS Position|" },
        { "$KVGGA,1,48,N,01131.000,E,5,07,0.0", true, false, "GPS", "0", kIndicatorRed, "No GPS Position|" },
        { "$PSCOM,000000,4807.038,N,,W,1,09", false, false, "GPS", "0", kIndicatorRed, "No GPS Position|" },
        { "$GPGSV,3,1,11", false, false, "", "", std::nullopt, std::nullopt },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sentence);
        const NmeaDecodeResult d = DecodeNmeaSentence(row.sentence, row.playback);
        EXPECT_EQ(d.fixValid, row.valid);
        EXPECT_EQ(d.caption, row.caption);
        EXPECT_EQ(d.fixQuality, row.quality);
        EXPECT_EQ(d.colour, row.colour);
        EXPECT_EQ(d.hint, row.hint);
        EXPECT_EQ(d.monitorLog, row.playback && row.valid);
        EXPECT_FALSE(d.failed);
    }
    // A number field that is no number fails the whole sentence.
    EXPECT_TRUE(DecodeNmeaSentence("$GPGGA,1," + pos + ",1,08,x.9", false).failed);
    EXPECT_TRUE(DecodeNmeaSentence("$GPRMC,1,A," + pos + ",,,,3.x,W", false).failed);
}

TEST(NmeaDecode, ApplyKeepsWhatTheSentenceDoesNotCarry)
{
    ResetNavState();
    MagVariation = 7;
    ApplyNmeaDecode(DecodeNmeaSentence("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9", false));
    EXPECT_DOUBLE_EQ(GpsLat, 48 + 7.038 / 60);
    EXPECT_EQ(SatCount, "08");
    EXPECT_DOUBLE_EQ(EpeMetres, 9.0); // HDOP × 10 m for a GPS fix
    EXPECT_EQ(MagVariation, 7); // only RMC carries the variation
    ApplyNmeaDecode(DecodeNmeaSentence("$GPGGA,123519,4807.038,N,01131.000,E,2,08,2.5", false));
    EXPECT_DOUBLE_EQ(EpeMetres, 4.0); // × 1.6 m for a differential fix

    // An RMC without position or variation: the last position and the
    // variation set stay.
    ApplyNmeaDecode(DecodeNmeaSentence("$GPRMC,123520,A,,,,,,,,,", false));
    EXPECT_DOUBLE_EQ(GpsLat, 48 + 7.038 / 60);
    EXPECT_EQ(SatCount, "");
    EXPECT_EQ(MagVariation, 7);
    EXPECT_EQ(EpeMetres, 0);

    ApplyNmeaDecode(DecodeNmeaSentence("$PSCOM,000000,5048.0,N,00118.0,W,1,09,f1,,,,,,,,1.0,f0", false));
    EXPECT_TRUE(ComTimeZero);
    EXPECT_EQ(NmeaFields[0], "f0");
    EXPECT_EQ(NmeaFields[1], "f1");
    EXPECT_DOUBLE_EQ(Hdop, 1.0);
}

// Many receivers leave the variation fields of RMC empty: the variation the
// navigator typed in stays, and only a variation the sentence gives (with
// its hemisphere) replaces it.
TEST(NmeaDecode, RmcWithoutAVariationKeepsTheVariationTypedIn)
{
    const std::string head = "$GPRMC,123519,A,4807.038,N,01131.000,W,5.8,045.0,230394,";
    struct Row {
        const char* variationFields; // fields 10 and 11, and the mode of NMEA 2.3 when given
        int variation; // MagVariation afterwards, 4° W typed in
        bool taken; // the fix is taken
    };
    const Row rows[] = {
        { ",", -4, true },
        { ",,A", -4, true },
        { ",W", -4, true },
        { "", -4, true }, // the sentence stops before them
        { "003.1,", -4, true }, // no hemisphere: east or west unknown
        { "003.1,N", -4, true },
        { "200.0,E", -4, true }, // beyond a half turn
        { "3.x,W", -4, false }, // garbled: the sentence is not used
        { "003.1,E", 3, true },
        { "10.5,W,A", -10, true }, // half to even
        { "0.0,E", 0, true },
    };
    for (const Row& row : rows) {
        const std::string sentence = head + row.variationFields;
        SCOPED_TRACE(sentence);
        ResetNavState();
        MagVariation = -4;
        const NmeaDecodeResult d = DecodeNmeaSentence(sentence, false);
        EXPECT_EQ(d.fixValid, row.taken);
        EXPECT_EQ(d.failed, !row.taken);
        if (!d.failed)
            ApplyNmeaDecode(d);
        EXPECT_EQ(MagVariation, row.variation);
    }
}

// ---- Regression over recorded receiver logs ---------------------------------

void ExpectCoordinate(const std::optional<double>& got, const std::string& want, const std::string& where)
{
    if (want.empty() || want == "invalid") {
        EXPECT_FALSE(got) << where;
    } else {
        ASSERT_TRUE(got) << where;
        EXPECT_NEAR(*got, rtl::RealOr(want), 1e-9) << where;
    }
}

// Each .csv beside a .nmea log holds, for every "$GPRMC" and "$GPGGA" line:
// line, sentence, checksum present, checksum ok, time, status or quality,
// latitude, longitude (west positive), variation, satellites, HDOP.
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
            std::vector<std::string> c;
            std::stringstream cells(row + ",");
            for (std::string cell; std::getline(cells, cell, ',');)
                c.push_back(cell);
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
                // An empty variation field gives none (the CSV writes 0).
                if (GetNmeaField(sentence, 10).empty()) {
                    EXPECT_FALSE(d.magVariation) << where;
                } else {
                    EXPECT_EQ(d.magVariation, std::stoi(c[8])) << where;
                }
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
