#include "nav/ChartletReference.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// The harbour entrance plan of the demo folder, as its file reads.
const std::string kEntranceFile = "480\r\n"
                                  "640\r\n"
                                  " 5.08050000000000E+0001\r\n"
                                  " 1.31000000000000E+0000\r\n"
                                  " 5.07850000000000E+0001\r\n"
                                  " 1.28500000000000E+0000\r\n"
                                  "255\r\n"
                                  "2\r\n"
                                  "0\r\n"
                                  "0\r\n"
                                  "0\r\n";

ChartletReference Entrance()
{
    ChartletReference r;
    r.height = 480;
    r.width = 640;
    r.nwLat = 50.805;
    r.nwLon = 1.31;
    r.seLat = 50.785;
    r.seLon = 1.285;
    return r;
}

ReferenceReadResult Parse(const std::string& text)
{
    return ParseChartletReference(text, "plan.ref");
}

// The 11 lines of kEntranceFile with line `n` (1-based) replaced.
std::string WithLine(int n, const std::string& value)
{
    std::string text;
    std::size_t at = 0;
    for (int line = 1; line <= 11; ++line) {
        const std::size_t end = kEntranceFile.find("\r\n", at);
        text += (line == n ? value : kEntranceFile.substr(at, end - at)) + "\r\n";
        at = end + 2;
    }
    return text;
}

TEST(ChartletReferenceTest, WritesTheElevenLinesByteForByte)
{
    EXPECT_EQ(FormatChartletReference(Entrance()), kEntranceFile);

    ChartletReference r = Entrance();
    r.trackColour = 0xFF0000;
    r.trackWidth = 1;
    r.latOffset = -60;
    r.lonOffset = 10000;
    r.audioFlag = 1;
    r.nwLon = 0.5;
    r.seLon = -0.5;
    EXPECT_EQ(FormatChartletReference(r),
        "480\r\n640\r\n 5.08050000000000E+0001\r\n 5.00000000000000E-0001\r\n 5.07850000000000E+0001\r\n"
        "-5.00000000000000E-0001\r\n16711680\r\n1\r\n-60\r\n10000\r\n1\r\n");
}

TEST(ChartletReferenceTest, ReadsWhatItWritesFromAFileBesideTheImage)
{
    kvtest::TempDir dir;
    const std::string image = dir.file("Entrance.JPG");
    EXPECT_EQ(ChartletReferencePath(image), dir.file("Entrance.ref"));
    ChartletReference written = Entrance();
    written.latOffset = 60;
    written.lonOffset = -60;
    written.audioFlag = 1;
    ASSERT_TRUE(WriteChartletReference(ChartletReferencePath(image), written));
    EXPECT_EQ(dir.list(), (std::vector<std::string> { "Entrance.ref" }));

    const ReferenceReadResult read = ReadChartletReference(ChartletReferencePath(image));
    EXPECT_EQ(read.status, ReferenceStatus::Read);
    EXPECT_EQ(read.reference, written);
    EXPECT_TRUE(read.reference.hasAudioClip());
    EXPECT_DOUBLE_EQ(read.reference.latOffsetDegrees(), 0.001);
    EXPECT_DOUBLE_EQ(read.reference.lonOffsetDegrees(), -0.001);

    // Found whatever the case of its name; LF line ends and blanks read too.
    dir.write("other.REF", "  480 \n640\n50.805\n1.31\n50.785\n1.285\n255\n2\n0\n0\n0");
    const ReferenceReadResult lf = ReadChartletReference(dir.file("other.ref"));
    EXPECT_EQ(lf.status, ReferenceStatus::Read);
    EXPECT_EQ(lf.reference, Entrance());
}

TEST(ChartletReferenceTest, MissingFileGivesTheDefaultsSilently)
{
    kvtest::TempDir dir;
    const ReferenceReadResult read = ReadChartletReference(dir.file("none.ref"));
    EXPECT_EQ(read.status, ReferenceStatus::Missing);
    EXPECT_TRUE(read.message.empty());
    EXPECT_EQ(read.reference, ChartletReference {});
    EXPECT_EQ(read.reference.height, 400);
    EXPECT_EQ(read.reference.width, 600);
    EXPECT_EQ(read.reference.trackColour, 255);
    EXPECT_EQ(read.reference.trackWidth, 2);
    EXPECT_FALSE(read.reference.valid());
}

TEST(ChartletReferenceTest, MissingOrMalformedLinesAreFormatErrorsThatNameTheLine)
{
    struct Case {
        std::string text;
        std::string message;
    };
    const std::string prefix = "Reference file format error in \"plan.ref\", line ";
    const Case cases[] = {
        { "", prefix + "1: the image height is missing" },
        { kEntranceFile.substr(0, kEntranceFile.size() - 3), prefix + "11: the audio clip flag is missing" },
        { WithLine(1, "0"), prefix + "1: the image height must be at least 1 pixel" },
        { WithLine(2, "0"), prefix + "2: the image width must be at least 1 pixel" },
        { WithLine(2, "-640"), prefix + "2: the image width must be at least 1 pixel" },
        { WithLine(1, "480.0"), prefix + "1: the image height is not a whole number" },
        { WithLine(1, "99999999999"), prefix + "1: the image height is not a whole number" },
        { WithLine(4, "1.31W"), prefix + "4: the north-west longitude is not a number" },
        { WithLine(5, ""), prefix + "5: the south-east latitude is not a number" },
        { WithLine(6, "1e999"), prefix + "6: the south-east longitude is not a number" },
        { WithLine(7, "red"), prefix + "7: the track colour is not a whole number" },
        { WithLine(10, "6 0"), prefix + "10: the longitude offset is not a whole number" },
    };
    for (const Case& c : cases) {
        const ReferenceReadResult read = Parse(c.text);
        EXPECT_EQ(read.status, ReferenceStatus::FormatError) << c.message;
        EXPECT_EQ(read.message, c.message);
        EXPECT_EQ(read.reference, ChartletReference {}) << c.message;
    }
}

TEST(ChartletReferenceTest, OutOfRangeSettingsAreHeldToWhatTheDialogOffers)
{
    ReferenceReadResult read = Parse(WithLine(10, "-20000"));
    EXPECT_EQ(read.reference.lonOffset, -10000);
    read = Parse(WithLine(9, "12000"));
    EXPECT_EQ(read.reference.latOffset, 10000);
    read = Parse(WithLine(8, "7"));
    EXPECT_EQ(read.reference.trackWidth, 2);
    read = Parse(WithLine(8, "0"));
    EXPECT_EQ(read.reference.trackWidth, 1);
    read = Parse(WithLine(7, "-1"));
    EXPECT_EQ(read.reference.trackColour, 0xFFFFFF);
    read = Parse(kEntranceFile + "extra lines are ignored\r\n");
    EXPECT_EQ(read.status, ReferenceStatus::Read);
}

TEST(ChartletReferenceTest, ValidOnlyWithTheNorthWestCornerNorthAndWestOfTheSouthEast)
{
    ChartletReference r = Entrance();
    EXPECT_TRUE(r.valid());
    r.seLat = r.nwLat; // equal latitudes
    EXPECT_FALSE(r.valid());
    r = Entrance();
    r.seLon = r.nwLon;
    EXPECT_FALSE(r.valid());
    r = Entrance();
    std::swap(r.nwLat, r.seLat);
    EXPECT_FALSE(r.valid());
    r = Entrance();
    r.nwLon = 0.5; // across the prime meridian: west positive, east negative
    r.seLon = -0.5;
    EXPECT_TRUE(r.valid());
    r.seLat = r.nwLat - 1.1e-7;
    EXPECT_TRUE(r.valid());
    r.seLat = r.nwLat - 0.9e-7;
    EXPECT_FALSE(r.valid());
    EXPECT_FALSE(ChartletReference {}.valid());
}

TEST(ChartletReferenceTest, FailedWriteLeavesTheOldFile)
{
    kvtest::TempDir dir;
    EXPECT_FALSE(WriteChartletReference(dir.file("no such folder/plan.ref"), Entrance()));
    dir.write("plan.ref", kEntranceFile);
    ChartletReference changed = Entrance();
    changed.audioFlag = 1;
    ASSERT_TRUE(WriteChartletReference(dir.file("PLAN.REF"), changed));
    EXPECT_EQ(dir.list(), (std::vector<std::string> { "plan.ref" }));
    EXPECT_EQ(ReadChartletReference(dir.file("plan.ref")).reference, changed);
}

} // namespace
