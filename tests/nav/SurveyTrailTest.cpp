// The survey log as a view keeps it: bytes taken in any pieces walk as the
// whole file does; a long log stays within the store's bound, thinned
// evenly with its newest record, its pen-ups and its ends kept; the view's
// tail reads only what was appended and starts again on a file that shrank
// or was replaced.

#include "nav/SurveyTrail.h"
#include "rtl/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{

const std::string kHead = "Log Date : 07-12-26\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n";

// Record n at 50 deg (48 + n / 1000) min N, its velocity made good n / 10.
std::string Record(int n)
{
    char text[160];
    std::snprintf(text, sizeof text,
        "%05d,07-12-26,094737,50%07.4f,N,00118.0000,W,1-08,235,5.8Kn,%.1f,0.01,y", n % 100000,
        48.0 + n * 0.001, n * 0.1);
    return text;
}

std::vector<std::string> LinesOf(const std::string& bytes)
{
    rtl::TextReader reader(bytes);
    std::vector<std::string> lines;
    while (!reader.eof())
        lines.push_back(reader.readLine());
    return lines;
}

void ExpectSameWalk(const SurveyWalk& got, const SurveyWalk& want, const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(got.fault, want.fault);
    ASSERT_EQ(got.points.size(), want.points.size());
    for (std::size_t i = 0; i < got.points.size(); ++i) {
        const SurveyPoint &g = got.points[i], &w = want.points[i];
        EXPECT_EQ(g.lat, w.lat) << i;
        EXPECT_EQ(g.lon, w.lon) << i;
        EXPECT_EQ(g.penUp, w.penUp) << i;
        EXPECT_EQ(g.trendText, w.trendText) << i;
        EXPECT_EQ(g.trendValue, w.trendValue) << i;
        EXPECT_EQ(g.eventText, w.eventText) << i;
        EXPECT_EQ(g.trendColumn, w.trendColumn) << i;
    }
}

} // namespace

TEST(SurveyTrail, BytesInAnyPiecesWalkAsTheWholeLog)
{
    const std::string records = Record(1) + "\r\n*1\r\n" + Record(2) + "\r\n# -b\r\n" + Record(3) + "\r\n";
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        { "CR LF lines", kHead + records + Record(4) + "\r\n" },
        { "LF lines",
            "Log Date : x\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\n" + Record(1) + "\n*2\n" + Record(2) + "\n" },
        { "last line without its end", kHead + records + Record(4) },
        { "last line cut short", kHead + records + "00004,07-12-26,0947" },
        { "a line too short for its template",
            kHead + Record(1) + "\r\n00002,07-12-26,094737,5048.0000,N" + std::string(10, 'x') + "\r\n"
                + records },
        { "CR alone in a line", kHead + Record(1) + "\r" + Record(2) + "\r\n" },
        { "no header", "AIS Log Date : 07-12-26\r\n" + records },
        { "header only, cut", "Log Date" },
        { "empty", "" },
    };
    std::vector<SurveyWalkOptions> options(4);
    options[0].showLastN = false;
    options[0].fixNumber = 4;
    options[1].fixNumber = 4;
    options[1].showCount = 1; // records 3 and on
    options[2].fixNumber = 4;
    options[2].selectionStart = 1;
    options[2].selectionEnd = 2;
    options[3].trendField = '-';
    options[3].positionCode = '>';
    for (const Case& c : cases) {
        for (SurveyWalkOptions o : options) {
            o.trendField = o.trendField == '-' ? '-' : 'V';
            const SurveyWalk whole = WalkSurveyLog(LinesOf(c.bytes), o);
            for (std::size_t piece : { std::size_t(1), std::size_t(7), std::size_t(100000) }) {
                SurveyTrail trail(o.positionCode, o.trendField);
                for (std::size_t at = 0; at < c.bytes.size(); at += piece) {
                    trail.feed(std::string_view(c.bytes).substr(at, piece));
                    // Every stop shows the file as it stands there.
                    ExpectSameWalk(trail.walk(o), WalkSurveyLog(LinesOf(c.bytes.substr(0, at + piece)), o),
                        std::string(c.name) + " at " + std::to_string(at));
                }
                ExpectSameWalk(trail.walk(o), whole, c.name);
            }
        }
    }
}

TEST(SurveyTrail, ALongLogStaysWithinTheBoundThinnedEvenly)
{
    constexpr std::size_t kBound = 64;
    SurveyTrail trail('P', 'V', kBound);
    trail.feed(kHead);
    constexpr int kRecords = 10000;
    for (int n = 1; n <= kRecords; ++n) {
        if (n == 5001)
            trail.feed("# -b\r\n");
        if (n % 1000 == 0)
            trail.feed("*" + std::to_string(n / 1000) + "\r\n");
        trail.feed(Record(n) + "\r\n");
        ASSERT_LE(trail.kept(), kBound);
    }
    SurveyWalkOptions o;
    o.trendField = 'V';
    o.showLastN = false;
    o.fixNumber = kRecords;
    const SurveyWalk walk = trail.walk(o);
    ASSERT_GE(walk.points.size(), kBound / 4);
    // The first and the newest record, in file order, evenly spaced between.
    EXPECT_EQ(walk.points.front().trendText, "0.1");
    EXPECT_EQ(walk.points.back().trendText, "1000.0");
    int penUps = 0, events = 0;
    double lastValue = 0;
    for (const SurveyPoint& p : walk.points) {
        EXPECT_GT(p.trendValue, lastValue);
        EXPECT_LE(p.trendValue - lastValue, 2 * 10000.0 / double(kBound));
        lastValue = p.trendValue;
        penUps += p.penUp;
        events += p.eventText.has_value();
        // A pen-up of a thinned stretch lifts the pen before the next record kept.
        if (p.penUp) {
            EXPECT_GT(p.trendValue, 500.0);
        }
    }
    EXPECT_EQ(penUps, 1);
    // Events are kept while they fill at most half the store: the ten and
    // the pen-up, which takes the place of "*5" still pending before it.
    EXPECT_EQ(events, 10);
    EXPECT_LE(walk.points.back().trendColumn, 116);
}

TEST(SurveyTrail, TheViewsTailReadsOnlyWhatWasAppended)
{
    kvtest::TempDir dir;
    const std::string path = dir.file("07-12-26.txt");
    SurveyWalkOptions o;
    o.trendField = 'V';
    o.showLastN = false;
    SurveyLogTail tail;
    rtl::AppendedReader bytesRead; // the same reads, counting the bytes
    std::string taken;
    auto points = [&](char trend = 'V') {
        tail.catchUp(path, 'P', trend);
        taken.clear();
        bytesRead.read(
            path, [&] { taken = "restart:"; }, [&](std::string_view b) { taken += b; });
        o.trendField = trend;
        return tail.trail() ? int(tail.trail()->walk(o).points.size()) : -1;
    };
    auto append = [&](const std::string& bytes) {
        std::FILE* f = std::fopen(path.c_str(), "ab");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    struct Step {
        const char* name;
        std::function<void()> change;
        int points;
        std::string read; // what the catch-up read
    };
    const std::string r1 = Record(1) + "\r\n", r2 = Record(2) + "\r\n", r3 = Record(3) + "\r\n";
    const Step steps[] = {
        { "missing: nothing plotted", [] {}, -1, "" },
        { "created", [&] { dir.write("07-12-26.txt", kHead + r1); }, 1, kHead + r1 },
        { "nothing new", [] {}, 1, "" },
        { "one record appended", [&] { append(r2); }, 2, r2 },
        // A record cut short is a line too short for the template until its
        // end comes: the plot stops before it.
        { "half a record", [&] { append(r3.substr(0, 30)); }, 2, r3.substr(0, 30) },
        { "its other half", [&] { append(r3.substr(30)); }, 3, r3.substr(30) },
        { "shrunk: read whole", [&] { dir.write("07-12-26.txt", kHead + r1); }, 1, "restart:" + kHead + r1 },
        { "replaced by a longer file",
            [&] {
                const std::string other = dir.write("new.txt", kHead + r1 + r2 + r3 + r1);
                std::filesystem::rename(other, path);
            },
            4, "restart:" + kHead + r1 + r2 + r3 + r1 },
        { "rewritten in place under another header",
            [&] {
                std::string bytes = "Log Date : 08-12-26" + kHead.substr(19) + r1 + r2 + r3 + r1 + r2;
                std::FILE* f = std::fopen(path.c_str(), "r+b");
                std::fwrite(bytes.data(), 1, bytes.size(), f);
                std::fclose(f);
            },
            5, "restart:Log Date : 08-12-26" + kHead.substr(19) + r1 + r2 + r3 + r1 + r2 },
        { "deleted", [&] { std::filesystem::remove(path); }, -1, "restart:" },
        { "made again", [&] { dir.write("07-12-26.txt", kHead + r2); }, 1, kHead + r2 },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.change();
        EXPECT_EQ(points(), s.points);
        EXPECT_EQ(taken, s.read);
    }
    // Another trend field walks the whole file again.
    append(r3);
    EXPECT_EQ(points('S'), 2);
    ASSERT_NE(tail.trail(), nullptr);
    EXPECT_EQ(tail.trail()->trendField(), 'S');
    EXPECT_EQ(tail.trail()->walk(o).points.back().trendText, "5.8Kn");
}
