// Conversion runs from the input list to the chart file and its
// configuration file, byte for byte.

#include "ConversionRunFixture.h"

#include "nav/NavState.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"

#include <cstdio>

namespace
{

using converter::TInputFormat;
using V = std::vector<std::string>;

const std::string kPenUpRecord("\x81\0\0\0\0\x80\x81\0\0\0\0\x80", 12);
const V kConverted { "Data Array Written", "File successfully converted" };

TEST_F(ConversionRunTest, EmptyInputGivesElevenPenUpsAndNoConfiguration)
{
    EXPECT_TRUE(Run({}));
    std::string expected;
    for (int i = 0; i < 11; ++i)
        expected += kPenUpRecord;
    EXPECT_EQ(dir.read("coast.cht"), expected);
    EXPECT_FALSE(dir.exists("coast.cfg"));
    EXPECT_EQ(ui.messages(),
        (V { "Data Array Written",
            dir.file("coast.dat") + " had no readable position: no chart configuration written",
            "File successfully converted" }));
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(converter.RecordCount(), 11);
}

// In one run of the converter, a list that gives no position after one that
// did: its chart gets no configuration with the first list's last point as
// its home, nor (0, 0), and the run says why.
TEST_F(ConversionRunTest, ListWithoutAReadablePositionNeverTakesAnotherFilesHome)
{
    options.reverse = false;
    const std::string said = dir.file("coast.dat") + " had no readable position";
    const struct {
        const char* name;
        V lines;
        V reports; // between "Data Array Written" and what is said of the position
    } cases[] = {
        { "empty", {}, {} },
        { "no line reads", { "abc\tdef", "12.5\tabc" },
            { "2 lines give no position and make no point: lines 1, 2" } },
        { "comments and separators only", { "# 51\t1", "\t52\t2" }, {} },
        { "a line reading 0 0", { "0\t0" }, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        options.createFile = true;
        EXPECT_TRUE(Run({ "50.5\t1.25" }));
        ASSERT_TRUE(dir.exists("coast.cfg"));
        std::remove(dir.file("coast.cfg").c_str());
        ui.clear();
        EXPECT_TRUE(Run(c.lines));
        EXPECT_FALSE(dir.exists("coast.cfg"));
        V expected { "Data Array Written" };
        expected.insert(expected.end(), c.reports.begin(), c.reports.end());
        expected.push_back(said + ": no chart configuration written");
        expected.push_back("File successfully converted");
        EXPECT_EQ(ui.messages(), expected);

        // An existing configuration of that name stays as it was.
        dir.write("coast.cfg", "old config");
        EXPECT_TRUE(Run(c.lines));
        EXPECT_EQ(dir.read("coast.cfg"), "old config");
        std::remove(dir.file("coast.cfg").c_str());

        // Test mode says it too.
        options.createFile = false;
        ui.clear();
        EXPECT_TRUE(Run(c.lines));
        expected = { "Data Array Written" };
        expected.insert(expected.end(), c.reports.begin(), c.reports.end());
        expected.push_back(said);
        EXPECT_EQ(ui.messages(), expected);
    }
}

TEST_F(ConversionRunTest, ChartAndConfigurationHoldTheLinesAndTheLastPoint)
{
    options.reverse = false;
    options.latOffset = -300; // 0.3 minute south
    options.lonOffset = 600; // 0.6 minute east
    EXPECT_TRUE(Run({ "50.5\t-1.25", "", "50.75\t-1.5" }));
    const double latOS = -300 / 60000.0, lonOS = 600 / 60000.0;
    EXPECT_EQ(dir.read("coast.cht"),
        Image(Framed({ P(50.5 + latOS, 1.25 - lonOS), PenUpPoint, P(50.75 + latOS, 1.5 - lonOS) })));
    // The home view is the last point as converted, without the offsets.
    EXPECT_EQ(dir.read("coast.cfg"),
        " 5.07500000000000E+0001\r\n"
        " 1.50000000000000E+0000\r\n"
        " 2.00000000000000E+0000\r\n"
        "0\r\n"
        "-5.00000000000000E-0003\r\n"
        " 1.00000000000000E-0002\r\n");
    EXPECT_EQ(results, (V { "50.5\t-1.25", "50.75\t-1.5" }));
    EXPECT_EQ(progress, (V { "   1", "   2", "   3" }));
    // What korvex reads back: the points without the end marker.
    const ChartFileContents back = DecodeChartFile(dir.read("coast.cht"));
    EXPECT_FALSE(back.dosFile);
    EXPECT_EQ(back.points.size(), 13u);
}

TEST_F(ConversionRunTest, LineStyleTwoWithLatitudeOffsetWritesNoConfiguration)
{
    options.reverse = false;
    options.lineStyle = 2;
    options.latOffset = 600;
    EXPECT_TRUE(Run({ "50.0\t1.0" }));
    const std::string chart = dir.read("coast.cht");
    EXPECT_EQ(chart, Image(Framed({ P(400 + 50.0 + 0.01, -1.0) })));
    EXPECT_NEAR(DecodeChartFile(chart).points[6].lat.value(), 450.01, 1e-9);
    EXPECT_EQ(converter.CurrentPoint().lat, rtl::Real6(450.0));
    EXPECT_FALSE(dir.exists("coast.cfg"));
    EXPECT_EQ(ui.messages(), kConverted);
}

TEST_F(ConversionRunTest, SkippedLinesCountInTheProgressButTakeNoRecord)
{
    options.createFile = false;
    options.skipFirst = "2";
    options.reverse = false;
    EXPECT_TRUE(Run({ "1\t1", "2\t2", "53\t3", "54\t4", "55\t5" }));
    EXPECT_EQ(progress.back(), "   5");
    EXPECT_EQ(converter.RecordCount(), 6 + 3 + 5);
    EXPECT_EQ(Records(7, 9), (std::vector<ChartPoint> { P(53, -3), P(54, -4), P(55, -5) }));
    EXPECT_EQ(results, (V { "53\t3", "54\t4", "55\t5" }));
    // Test mode writes nothing.
    EXPECT_FALSE(dir.exists("coast.cht"));
    EXPECT_FALSE(dir.exists("coast.cfg"));
    EXPECT_EQ(ui.messages(), V { "Data Array Written" });
}

TEST_F(ConversionRunTest, FilterDropsTheFirstLineOfEachPair)
{
    options.filter = true;
    options.reverse = false;
    EXPECT_TRUE(Run({ "51\t1", "52\t2", "53\t3", "54\t4" }));
    EXPECT_EQ(dir.read("coast.cht"), Image(Framed({ P(52, -2), P(54, -4) })));
    EXPECT_EQ(progress, (V { "   1", "   2" }));
}

TEST_F(ConversionRunTest, CommentAndSeparatorLinesLiftThePenWithoutConverting)
{
    options.reverse = false;
    options.separator = ",";
    EXPECT_TRUE(Run({ "50,1", "# 60,2", ",51,3", "52,4" }));
    EXPECT_EQ(results, (V { "50,1", "Penup1", "Penup2", "52,4" }));
    EXPECT_EQ(dir.read("coast.cht"), Image(Framed({ P(50, -1), PenUpPoint, PenUpPoint, P(52, -4) })));
    EXPECT_EQ(ui.beeps(), 2);

    // A comment as the last line leaves the current point where it was.
    EXPECT_TRUE(Run({ "50,1", "# 60,2" }));
    EXPECT_EQ(converter.CurrentPoint(), P(50, -1));
    EXPECT_EQ(dir.read("coast.cfg").substr(0, 23), " 5.00000000000000E+0001");
}

TEST_F(ConversionRunTest, LineReadingAsZeroZeroLiftsThePen)
{
    options.reverse = false;
    options.lineStyle = 1;
    EXPECT_TRUE(Run({ "50\t1", "no position", "0\t0", "51\t1" }));
    EXPECT_EQ(dir.read("coast.cht"), Image(Framed({ P(250, -1), PenUpPoint, PenUpPoint, P(251, -1) })));
    EXPECT_EQ(converter.RecordCount(), 6 + 4 + 5);
}

TEST_F(ConversionRunTest, GridLinesOutsideTheGridAreaAreReportedAndLiftThePen)
{
    options.format = TInputFormat::Grid;
    EXPECT_TRUE(Run({ "553690.6 223163.5", "600000 1300000" }));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0], "51.88537672  0.23338819");
    EXPECT_EQ(results[1].substr(0, 5), " 61.5"); // reported before its display text
    EXPECT_EQ(ui.beeps(), 3);
    const auto points = DecodeChartFile(dir.read("coast.cht")).points;
    EXPECT_EQ(points[7], PenUpPoint);
    EXPECT_NEAR(points[6].lat.value(), 51.88537672, 1e-8);
    // The last line converted was out of the area: the home view is the last
    // position the list gave.
    EXPECT_EQ(dir.read("coast.cfg").substr(0, 25), " 5.18853767181281E+0001\r\n");
}

TEST_F(ConversionRunTest, DisplayLimitShowsTheFirst299LinesAfterTheSkippedOnes)
{
    options.createFile = false;
    options.skipFirst = "1";
    options.separator = ",";
    std::vector<std::string> lines(400, "1,50");
    lines[299] = "#";
    lines[300] = "#";
    EXPECT_TRUE(Run(lines));
    ASSERT_EQ(results.size(), 299u);
    EXPECT_EQ(results.back(), "Penup1"); // line 300 is shown, line 301 is not
}

TEST_F(ConversionRunTest, LongListStopsAtTheRecordLimit)
{
    options.separator = ",";
    options.reverse = false;
    std::vector<std::string> lines;
    for (int i = 0; i < 10800; ++i)
        lines.push_back(std::to_string(50 + (i % 100) / 100.0) + ",1");
    EXPECT_TRUE(Run(lines));
    EXPECT_EQ(progress.size(), 10789u);
    EXPECT_EQ(progress.back(), "10789");
    EXPECT_EQ(converter.RecordCount(), 10800);
    EXPECT_EQ(results.size(), 299u);
    const std::string chart = dir.read("coast.cht");
    EXPECT_EQ(chart.size(), 10800u * 12);
    std::string fivePenUps;
    for (int i = 0; i < 5; ++i)
        fivePenUps += kPenUpRecord;
    EXPECT_EQ(chart.substr(chart.size() - 60), fivePenUps);
    // korvex takes all of it: the end marker dropped, 10799 points.
    ClearChartStore();
    EXPECT_TRUE(AppendToChartStore(DecodeChartFile(chart).points));
    EXPECT_EQ(ChartPointCount, 10799);
}

TEST_F(ConversionRunTest, BadOptionsLeaveTheExistingChartAlone)
{
    dir.write("coast.cht", "old chart");
    dir.write("coast.cfg", "old config");

    options.skipFirst = "two";
    EXPECT_FALSE(Run({ "50\t1" }));
    EXPECT_EQ(ui.messages(), V { "'two' is not a valid integer value" });

    ui.clear();
    options.skipFirst = "0";
    options.separator = "";
    EXPECT_FALSE(Run({ "50\t1" }));
    EXPECT_EQ(ui.messages(), V { "Choose a separator for the input format" });

    ui.clear();
    options.separator = "Tab";
    options.inputFile = dir.file("missing.dat");
    EXPECT_FALSE(converter.Run(options, display));
    EXPECT_EQ(ui.messages(), V { "Cannot open the input file " + dir.file("missing.dat") });

    ui.clear();
    options.inputFile = dir.file("coast.dat");
    options.outputFile = dir.path() + "/";
    EXPECT_FALSE(Run({ "50\t1" }));
    EXPECT_EQ(ui.messages(), V { "Choose an output file" });

    EXPECT_EQ(dir.read("coast.cht"), "old chart");
    EXPECT_EQ(dir.read("coast.cfg"), "old config");
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(dir.list(), (V { "coast.cfg", "coast.cht", "coast.dat" }));

    // Grid input needs no separator.
    ui.clear();
    options.separator = "";
    options.format = TInputFormat::Grid;
    options.outputFile = dir.file("coast.cht");
    EXPECT_TRUE(Run({ "553690.6 223163.5" }));
    EXPECT_EQ(ui.messages(), kConverted);
}

TEST_F(ConversionRunTest, FailedChartWriteIsReportedAndWritesNoConfiguration)
{
    options.outputFile = dir.file("missing/coast.cht");
    EXPECT_FALSE(Run({ "50\t1" }));
    EXPECT_EQ(ui.messages(), (V { "Data Array Written", "Error writing chart file " + options.outputFile }));
    EXPECT_EQ(dir.list(), V { "coast.dat" });
}

TEST_F(ConversionRunTest, ConfigurationIsNamedAfterTheChartFile)
{
    EXPECT_EQ(converter::ConfigFileFor("./charts/harbour.cht"), "./charts/harbour.cfg");
    EXPECT_EQ(converter::ConfigFileFor("./charts/harbour.001"), "./charts/harbour.cfg");
    EXPECT_EQ(converter::ConfigFileFor("../my.charts/harbour"), "../my.charts/harbour.cfg");

    dir.makeFolder("charts");
    options.outputFile = dir.path() + "/./charts/harbour.cht";
    EXPECT_TRUE(Run({ "1\t50" }));
    EXPECT_TRUE(dir.exists("charts/harbour.cht"));
    EXPECT_TRUE(dir.exists("charts/harbour.cfg"));

    // A second '.' is part of the name: harbour's configuration stays.
    const std::string harbourConfig = dir.read("charts/harbour.cfg");
    options.outputFile = dir.path() + "/charts/harbour.new.cht";
    EXPECT_TRUE(Run({ "2\t51" }));
    EXPECT_TRUE(dir.exists("charts/harbour.new.cfg"));
    EXPECT_EQ(dir.read("charts/harbour.cfg"), harbourConfig);

    // Typed the way the original platform separates folders.
    options.outputFile = dir.path() + "/.\\charts\\bs.cht";
    EXPECT_TRUE(Run({ "1\t50" }));
    EXPECT_EQ(rtl::ListFolder(dir.file("charts")),
        (std::vector<std::string> {
            "bs.cfg", "bs.cht", "harbour.cfg", "harbour.cht", "harbour.new.cfg", "harbour.new.cht" }));
}

TEST_F(ConversionRunTest, CurrentPointAndLineStyleCarryOverToTheNextRun)
{
    options.reverse = false;
    EXPECT_TRUE(Run({ "50\t1" }));
    EXPECT_TRUE(Run({}));
    EXPECT_EQ(converter.CurrentPoint(), P(50, -1));
    options.lineStyle = 3;
    EXPECT_TRUE(Run({ "50\t1" }));
    options.lineStyle = 9; // out of range: the previous run's style stands
    EXPECT_TRUE(Run({ "51\t1" }));
    EXPECT_EQ(converter.CurrentPoint(), P(651, -1));
}

} // namespace

namespace
{

// Lines that give no position make no point and are counted at the end;
// an old Mac file (CR alone) is read line by line.
TEST_F(ConversionRunTest, LinesWithoutAPositionMakeNoPointAndAreCounted)
{
    options.reverse = false;
    dir.write("coast.dat", "50\t1\r12.5\tabc\rnan\t50\r51\t2\r1e400\t5\r50.1\t\rabc\t-1.2\r52\t3\r");
    EXPECT_TRUE(converter.Run(options, display));
    EXPECT_EQ(dir.read("coast.cht"),
        Image(Framed({ P(50, -1), PenUpPoint, PenUpPoint, P(51, -2), PenUpPoint, PenUpPoint, PenUpPoint,
            P(52, -3) })));
    EXPECT_EQ(ui.messages(),
        (V { "Data Array Written", "5 lines give no position and make no point: lines 2, 3, 5, 6, 7",
            "File successfully converted" }));
}

} // namespace
