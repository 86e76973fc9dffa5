// The demo folder's tidal atlas "harbour" (demo/tides) and survey log
// "survey" (demo/logs): six invented tidal diamonds off the demo harbour with
// a flood setting east and an ebb setting west, and a morning's sounding run
// up and down the approach in the default record template, with two events
// and a break in the line. Both are made from the lists below; the tests
// check that the demo folder holds exactly that, and that the program reads
// them back. After changing a list, regenerate with
// scripts/make-demo-chart.sh
// (KV_REGENERATE_DEMO=1 build/tests/test_nav --gtest_filter='DemoSurvey*').

#include "nav/NavState.h"
#include "nav/SurveyLog.h"
#include "nav/TidalAtlas.h"
#include "rtl/Real6.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

// Diamonds: position (degrees, longitude west positive), the flood's set
// (degrees true) and its spring rate (tenths of a knot).
struct Diamond {
    double lat, lon;
    int floodSet;
    int rate;
};
const std::vector<Diamond> kDiamonds = {
    { 50.7900, 1.3400, 85, 18 },
    { 50.7880, 1.3020, 80, 24 },
    { 50.7920, 1.2700, 75, 16 },
    { 50.7840, 1.3200, 90, 21 },
    { 50.7960, 1.3000, 10, 8 }, // in the channel: in and out of the harbour
    { 50.7850, 1.2500, 70, 14 },
};

std::string Real6Bytes(double value)
{
    const auto bytes = rtl::Real6(value).bytes();
    return std::string(bytes.begin(), bytes.end());
}

std::string Le16(int value)
{
    const auto v = static_cast<uint16_t>(value);
    return { char(v & 0xFF), char(v >> 8) };
}

// The stream at `hour` (-6..+6 from high water): flood from -5 to 0, ebb
// from +1 to +5, slack round -6 and +6; the ebb runs at four fifths.
void Stream(const Diamond& d, int hour, int& set, int& rate)
{
    const double phase = std::sin((hour + 6) * M_PI / 6); // + flood, - ebb
    set = phase >= 0 ? d.floodSet : (d.floodSet + 180) % 360;
    rate = static_cast<int>(std::lround(std::fabs(phase) * d.rate * (phase >= 0 ? 1.0 : 0.8)));
}

void WriteAtlas(const std::string& folder)
{
    std::string pos, flo;
    for (const Diamond& d : kDiamonds) {
        pos += Real6Bytes(d.lat) + Real6Bytes(d.lon);
        for (int hour = -6; hour <= 6; ++hour) {
            int set = 0, rate = 0;
            Stream(d, hour, set, rate);
            flo += Le16(set) + Le16(rate);
        }
    }
    kvtest::WriteBytes(folder + "/harbour.pos", pos);
    kvtest::WriteBytes(folder + "/harbour.FLO", flo);
    kvtest::WriteBytes(folder + "/harbour.STP", "Harbour entrance\r\n");
}

// DDMM.mmmm and DDDMM.mmmm as the record template writes them.
std::string Minutes(double degrees, int degreeDigits)
{
    const int whole = static_cast<int>(degrees);
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%07.4f", degreeDigits, whole, (degrees - whole) * 60);
    return text;
}

// The sounding run: out down the west side of the channel, back up the east
// side, then across the approach; the velocity made good runs with the
// stream.
std::vector<std::string> SurveyLines()
{
    std::vector<std::string> lines = { "Log Date : survey", "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y" };
    struct Leg {
        double lat0, lon0, lat1, lon1;
        int course;
        int records;
    };
    const Leg legs[] = {
        { 50.7990, 1.3012, 50.7875, 1.3012, 180, 12 },
        { 50.7875, 1.2988, 50.7990, 1.2988, 0, 12 },
        { 50.7900, 1.3150, 50.7900, 1.2850, 90, 14 },
    };
    int fix = 0, event = 0, second = 9 * 3600 + 30 * 60;
    for (const Leg& leg : legs) {
        if (fix > 0)
            lines.push_back("# -b");
        for (int i = 0; i < leg.records; ++i) {
            const double t = double(i) / (leg.records - 1);
            const double lat = leg.lat0 + (leg.lat1 - leg.lat0) * t;
            const double lon = leg.lon0 + (leg.lon1 - leg.lon0) * t;
            ++fix;
            second += 20;
            if (i == leg.records / 2)
                lines.push_back("*" + std::to_string(++event));
            const double speed = 4.0 + 0.1 * (fix % 5);
            const double vmg = speed + 1.5 * std::sin(fix * 0.35);
            const double xte = 0.02 * std::cos(fix * 0.5);
            char text[200];
            std::snprintf(text, sizeof text,
                "%05d,07-12-26,%02d%02d%02d,%s,N,%s,W,1-08,%03d,%.1fKn,%.2f,%.2f,%.8f:%.8f", fix,
                second / 3600, second / 60 % 60, second % 60, Minutes(lat, 2).c_str(),
                Minutes(lon, 3).c_str(), leg.course, speed, vmg, xte, lat, -lon);
            lines.push_back(text);
        }
    }
    return lines;
}

void WriteSurvey(const std::string& folder)
{
    std::string text;
    for (const std::string& line : SurveyLines())
        text += line + "\r\n";
    kvtest::WriteBytes(folder + "/survey.txt", text);
}

const std::string kDemo = std::string(KV_SOURCE_DIR) + "/demo";

} // namespace

TEST(DemoSurvey, DemoFolderHoldsTheAtlasOfTheDiamondList)
{
    if (std::getenv("KV_REGENERATE_DEMO"))
        WriteAtlas(kDemo + "/tides");
    kvtest::TempDir dir;
    WriteAtlas(dir.path());
    for (const char* name : { "harbour.pos", "harbour.FLO", "harbour.STP" })
        EXPECT_EQ(kvtest::ReadBytes(kDemo + "/tides/" + name), dir.read(name)) << name;

    ResetNavState();
    LoadTidalData(kDemo + "/tides/harbour.pos");
    ASSERT_EQ(TideStationCount, int(kDiamonds.size()));
    EXPECT_EQ(StandardPort, "Harbour entrance");
    EXPECT_NEAR(TideStations[2].lat.value(), 50.788, 1e-9);
    EXPECT_EQ(TideStreams[2][4].set, 80); // -3: the flood at its strongest
    EXPECT_EQ(TideStreams[2][4].rate, 24);
    EXPECT_EQ(TideStreams[2][10].set, 260); // +3: the ebb
}

TEST(DemoSurvey, DemoFolderHoldsTheSurveyLogOfTheRun)
{
    if (std::getenv("KV_REGENERATE_DEMO"))
        WriteSurvey(kDemo + "/logs");
    kvtest::TempDir dir;
    WriteSurvey(dir.path());
    EXPECT_EQ(kvtest::ReadBytes(kDemo + "/logs/survey.txt"), dir.read("survey.txt"));

    SurveyWalkOptions o;
    o.trendField = 'V';
    o.showLastN = false;
    o.fixNumber = 38;
    const SurveyWalk walk = WalkSurveyLog(SurveyLines(), o);
    EXPECT_EQ(walk.fault, SurveyLogFault::None);
    ASSERT_EQ(walk.points.size(), 38u);
    EXPECT_NEAR(walk.points[0].lat, 50.799, 1e-6);
    EXPECT_NEAR(walk.points[0].lon, 1.3012, 1e-6);
    EXPECT_EQ(walk.points[6].eventText, "*1");
    EXPECT_TRUE(walk.points[12].penUp);
}
