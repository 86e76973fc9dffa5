// The survey log read back for the chart: field numbers from the template,
// the records' positions and values, events, the blob colour scale, and the
// data-trend plot's scale, gain and selection; also the manual tide step.

#include "nav/SurveyLog.h"
#include "nav/TideStep.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

const std::string kDefaultTemplate = "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y";

std::string Record(int n, const char* lat, const char* lon, const char* vmg)
{
    char number[8];
    std::snprintf(number, sizeof number, "%05d", n);
    return std::string(number) + ",07-12-26,094737," + lat + ",N," + lon + ",W,1-08,235,5.8Kn," + vmg
        + ",0.01,50.8:-1.3";
}

std::vector<std::string> Log(std::vector<std::string> records, const std::string& tmpl = kDefaultTemplate)
{
    records.insert(records.begin(), { "Log Date : 07-12-26", tmpl });
    return records;
}

} // namespace

TEST(TemplateFieldNumber, DefaultTemplatePutsEachCodeInItsField)
{
    EXPECT_EQ(TemplateFieldNumber(kDefaultTemplate, 'V'), 11);
    EXPECT_EQ(TemplateFieldNumber(kDefaultTemplate, 'v'), 11);
    EXPECT_EQ(TemplateFieldNumber(kDefaultTemplate, 'P'), 4); // 4 to 7
    EXPECT_EQ(TemplateFieldNumber(kDefaultTemplate, 'F'), 1);
    EXPECT_EQ(TemplateFieldNumber(kDefaultTemplate, 'Q'), 8);
    EXPECT_EQ(TemplateFieldNumber(kDefaultTemplate, 'Y'), 13);
}

TEST(TemplateFieldNumber, PositionCodeIsFourFieldsWithOrWithoutSuffix)
{
    EXPECT_EQ(TemplateFieldNumber("@p,@q", 'Q'), 5);
    EXPECT_EQ(TemplateFieldNumber("@p:4,@q", 'Q'), 5);
    EXPECT_EQ(TemplateFieldNumber("@f,@>:2,@p,@s", 'S'), 10);
    EXPECT_EQ(TemplateFieldNumber("@f,@>:2,@p,@s", '>'), 2);
    // Cut short after the suffix's ':' the walk stays inside the text.
    EXPECT_EQ(TemplateFieldNumber("@p:", 'Q'), 5);
    EXPECT_EQ(TemplateFieldNumber("", 'Q'), 1);
}

TEST(CsvField, CountsFromOneAndReportsMissingFields)
{
    EXPECT_EQ(CsvField("a,b,c", 1), "a");
    EXPECT_EQ(CsvField("a,b,c", 3), "c");
    EXPECT_EQ(CsvField("a,,c,", 2), "");
    EXPECT_EQ(CsvField("a,b,c,", 4), ""); // the comma put after a record
    EXPECT_EQ(CsvField("a,b,c", 4), std::nullopt);
    EXPECT_EQ(CsvField("a", 0), std::nullopt);
}

TEST(ParseSurveyPosition, DegreesAndMinutesWithHemispheres)
{
    auto p = ParseSurveyPosition("5048.0000,N,00118.0000,W,", 1);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->lat, 50.8);
    EXPECT_DOUBLE_EQ(p->lon, 1.3);
    p = ParseSurveyPosition("x,3352.5000,S,15112.0000,E,", 2);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->lat, -33.875);
    EXPECT_DOUBLE_EQ(p->lon, -151.2);
    EXPECT_FALSE(ParseSurveyPosition("5048.0000,N,00118.0000", 1)); // no hemisphere
}

TEST(LeadingNumber, UpToTheFirstBlank)
{
    EXPECT_DOUBLE_EQ(LeadingNumber("12.5 m"), 12.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("5.8Kn"), 0); // not a number
    EXPECT_DOUBLE_EQ(LeadingNumber("-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(LeadingNumber(""), 0);
}

TEST(BlobColour, TenthsOfTheRange)
{
    EXPECT_EQ(BlobColour(0.05, 10), 0x000000u); // black
    EXPECT_EQ(BlobColour(5.5, 10), 0xFF0000u); // blue
    EXPECT_EQ(BlobColour(9.95, 10), 0x0000FFu); // red
    EXPECT_EQ(BlobColour(10.05, 10), 0xFFFFFFu); // white, just above
    EXPECT_EQ(BlobColour(1.5, 10), 0x800000u); // navy
    // Off the scale: black below, white above; a range of 0 has no tenths.
    EXPECT_EQ(BlobColour(0, 10), 0x000000u);
    EXPECT_EQ(BlobColour(-3, 10), 0x000000u);
    EXPECT_EQ(BlobColour(500, 10), 0xFFFFFFu);
    EXPECT_EQ(BlobColour(2, 0), 0xFFFFFFu);
}

TEST(WalkSurveyLog, RecordsGiveTheirPositionAndTrendValue)
{
    SurveyWalkOptions o;
    o.trendField = 'V';
    o.fixNumber = 2;
    o.chartOffsetLat = 0.001;
    o.chartOffsetLon = 0.002;
    const SurveyWalk walk = WalkSurveyLog(
        Log({ Record(1, "5048.0000", "00118.0000", "4.2"), Record(2, "5048.6000", "00118.6000", "-1.5 m") }),
        o);
    EXPECT_EQ(walk.fault, SurveyLogFault::None);
    ASSERT_EQ(walk.points.size(), 2u);
    EXPECT_DOUBLE_EQ(walk.points[0].lat, 50.801);
    EXPECT_DOUBLE_EQ(walk.points[0].lon, 1.298);
    EXPECT_EQ(walk.points[0].trendText, "4.2");
    EXPECT_DOUBLE_EQ(walk.points[1].trendValue, -1.5);
    EXPECT_FALSE(walk.points[0].eventText);
}

TEST(WalkSurveyLog, EventLineShowsAtTheNextRecord)
{
    SurveyWalkOptions o;
    o.trendField = 'V';
    const SurveyWalk walk = WalkSurveyLog(Log({ Record(1, "5048.0000", "00118.0000", "1"), "*1",
                                              Record(2, "5048.1000", "00118.0000", "2"), "x" }),
        o);
    ASSERT_EQ(walk.points.size(), 2u);
    EXPECT_FALSE(walk.points[0].eventText);
    EXPECT_EQ(walk.points[1].eventText, "*1");
    EXPECT_EQ(walk.points[1].trendText, "2");
}

TEST(WalkSurveyLog, ShortLineIsJudgedAgainstTheLogsOwnTemplate)
{
    // A short template: a record of it is longer than its template line, so
    // it is a record, whatever template the program holds now.
    const std::string tmpl = "@p,@v";
    SurveyWalkOptions o;
    o.trendField = 'V';
    const SurveyWalk walk = WalkSurveyLog(
        Log({ "Buoy", "5048.0000,N,00118.0000,W,3.5", "5049.0000,N,00118.0000,W,4" }, tmpl), o);
    ASSERT_EQ(walk.points.size(), 2u);
    EXPECT_EQ(walk.points[0].eventText, "*Buoy");
    EXPECT_EQ(walk.points[0].trendText, "3.5");
}

TEST(WalkSurveyLog, PenUpMarkerSeparatesTheNextRecordAndNoTrendFieldStillPlots)
{
    const SurveyWalk walk = WalkSurveyLog(
        Log({ Record(1, "5048.0000", "00118.0000", "1"), "# -b", Record(2, "5048.1000", "00118.0000", "2") }),
        {});
    ASSERT_EQ(walk.points.size(), 2u);
    EXPECT_FALSE(walk.points[0].penUp);
    EXPECT_TRUE(walk.points[1].penUp);
    EXPECT_EQ(walk.points[0].trendText, ""); // no trend field chosen
}

TEST(WalkSurveyLog, FaultsAreReportedNotTrippedOver)
{
    EXPECT_EQ(
        WalkSurveyLog({ "AIS Log Date : 07-12-26", kDefaultTemplate }, {}).fault, SurveyLogFault::NotALog);
    EXPECT_EQ(WalkSurveyLog({}, {}).fault, SurveyLogFault::NotALog);
    EXPECT_STREQ(SurveyLogFaultText(SurveyLogFault::NotALog),
        "Log file format error! (Possibly not a KVNAV Text Log)");
    EXPECT_STREQ(SurveyLogFaultText(SurveyLogFault::BadLine), "Log file format error !");

    // A record cut short: what came before is kept, the rest is not plotted.
    SurveyWalkOptions o;
    o.trendField = 'Y';
    const SurveyWalk walk = WalkSurveyLog(Log({ Record(1, "5048.0000", "00118.0000", "1"),
                                              "00002,07-12-26,094737,5048.0000,N,00118.0000,W,1-08,235",
                                              Record(3, "5048.2000", "00118.0000", "3") }),
        o);
    EXPECT_EQ(walk.fault, SurveyLogFault::BadLine);
    EXPECT_EQ(walk.points.size(), 1u);
}

TEST(WalkSurveyLog, LastNAndSelectionChooseTheRecords)
{
    std::vector<std::string> records;
    for (int i = 1; i <= 10; ++i)
        records.push_back(Record(i, "5048.0000", "00118.0000", std::to_string(i).c_str()));
    SurveyWalkOptions o;
    o.trendField = 'V';
    o.fixNumber = 10;
    o.showCount = 3;
    SurveyWalk walk = WalkSurveyLog(Log(records), o);
    ASSERT_EQ(walk.points.size(), 4u); // records 7 to 10
    EXPECT_EQ(walk.points.front().trendText, "7");
    EXPECT_EQ(walk.points[3].trendColumn, 3); // one column per sample

    o.showCount = 8;
    o.selectionStart = 2;
    o.selectionEnd = 5;
    walk = WalkSurveyLog(Log(records), o);
    ASSERT_EQ(walk.points.size(), 4u); // 2 to 5
    EXPECT_EQ(walk.points.back().trendText, "5");
    EXPECT_EQ(walk.points[1].trendColumn, 29); // Round(1 x 116 / 4)

    // A selection given with its ends the other way round spans the same.
    o.selectionStart = 5;
    o.selectionEnd = 2;
    walk = WalkSurveyLog(Log(records), o);
    for (const SurveyPoint& p : walk.points)
        EXPECT_GE(p.trendColumn, 0);

    o.showLastN = false;
    walk = WalkSurveyLog(Log(records), o);
    ASSERT_EQ(walk.points.size(), 10u);
    EXPECT_EQ(walk.points[1].trendColumn, 11); // Round(1 x 116 / 11)
    EXPECT_EQ(walk.points[9].trendColumn, 95); // Round(9 x 116 / 11)
}

TEST(WalkSurveyLog, RecordCountsDoNotWrapOnALongDay)
{
    std::vector<std::string> records(40000, Record(1, "5048.0000", "00118.0000", "1"));
    SurveyWalkOptions o;
    o.fixNumber = 40000;
    o.showCount = 2;
    const SurveyWalk walk = WalkSurveyLog(Log(records), o);
    EXPECT_EQ(walk.points.size(), 3u); // 39998 to 40000, not a wrapped count
}

TEST(DataTrend, GainHintAndRows)
{
    EXPECT_EQ(TrendGain(0), 1);
    EXPECT_EQ(TrendGain(250), 250);
    EXPECT_EQ(TrendFullScaleHint(0), "Full Scale=4500.00|");
    EXPECT_EQ(TrendFullScaleHint(200), "Full Scale=22.50|");
    EXPECT_EQ(TrendGainStep(99), 1);
    EXPECT_EQ(TrendGainStep(100), 100);
    EXPECT_EQ(TrendRow(0, 200, false), 43);
    EXPECT_EQ(TrendRow(10, 200, false), 23);
    EXPECT_EQ(TrendRow(10, 200, true), 63);
    EXPECT_EQ(TrendRow(1e300, 50000, false), 43 - 1000000000);
    EXPECT_EQ(TrendValueText(3.14159, 200), "3.14");
    EXPECT_EQ(TrendValueText(3.14159, 1000), "3.1416");
}

TEST(DataTrend, SelectionByColumn)
{
    EXPECT_EQ(TrendRecordAt(234, 58), 116);
    EXPECT_EQ(TrendRecordAt(234, 116), 232);
    EXPECT_EQ(TrendRecordAt(0, 116), 0);
    EXPECT_EQ(TrendRecordAt(1000000, 116), 991452); // no 16-bit overflow

    TrendSelection s = OrderTrendSelection(116, 58, 232, 116);
    EXPECT_EQ(s.start, 116);
    EXPECT_EQ(s.end, 232);
    // Dragged right to left: taken from its smaller end.
    s = OrderTrendSelection(232, 116, 116, 58);
    EXPECT_EQ(s.start, 116);
    EXPECT_EQ(s.end, 232);
    EXPECT_EQ(s.leftX, 58);
    EXPECT_EQ(s.rightX, 116);
}

TEST(TideStep, WrapsFromPlusSixToMinusSix)
{
    int count = 0;
    std::vector<int> seen;
    for (int i = 0; i < 13; ++i)
        seen.push_back(count = NextTideStep(count));
    EXPECT_EQ(seen, (std::vector<int> { 1, 2, 3, 4, 5, 6, -6, -5, -4, -3, -2, -1, 0 }));
}

TEST(TideStep, StatusNamesTheHourAtTheStandardPort)
{
    EXPECT_EQ(TideStepStatus(-6, 9, "Dover"), "Tide -6 Hrs rel to HW Dover ( 3:00)   ");
    EXPECT_EQ(TideStepStatus(1, 9, "Dover"), "Tide  1 Hrs rel to HW Dover (10:00)   ");
    EXPECT_EQ(TideStepStatus(-3, 1, "Portsmouth"), "Tide -3 Hrs rel to HW Portsmouth (22:00)   ");
    EXPECT_EQ(TideStepStatus(5, 22, "X"), "Tide  5 Hrs rel to HW X ( 3:00)   ");
}
