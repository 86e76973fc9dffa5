// A surveyor's files end to end: korvex starts shown in a copy of the demo
// folder and runs its first tick (the deferred start with its configuration
// reloads), then a chart is edited and saved with a layer loaded beside it
// and loaded again, the day's survey log of an earlier start is written
// under its own template, and the logs folder goes away and comes back
// empty while fixes and AIS lines come in at COM1 through a
// pseudo-terminal. What is left on disk is read back record by record.

#include "ChartFilesFixture.h"

#include "nav/LocalClock.h"
#include "nav/NmeaTemplate.h"
#include "platform/QtTimer.h"
#include "support/AisSentences.h"
#include "support/PtyPair.h"

#include <QAction>
#include <filesystem>

namespace
{

using Lines = std::vector<std::string>;

// Monday 7 December 2026, 09:47, the seconds moved on by each fix.
int gSecond = 0;

LocalDateTime SurveyClock()
{
    return LocalDateTime { .year = 2026, .month = 12, .day = 7, .hour = 9, .minute = 47, .second = gSecond };
}

std::string Sentence(const std::string& body)
{
    return "$" + body + NmeaChecksum(body, 1);
}

// The lines of a text file written with CR LF.
Lines LinesOf(const std::string& text)
{
    Lines lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

class SurveyFilesTest : public ChartFilesTest
{
protected:
    void SetUp() override
    {
        ChartFilesTest::SetUp();
        gSecond = 0;
        SetLocalClock(SurveyClock);
        CopyDemoFolder();
    }

    void TearDown() override
    {
        SetLocalClock({});
        ChartFilesTest::TearDown();
    }

    // Started shown, through the first tick; the test runs the ticks itself.
    void StartShown()
    {
        Start();
        MainForm->show();
        FirstTick();
        MainForm->SecsTimer->setEnabled(false);
    }

    static std::vector<ChartPoint> Joined(std::initializer_list<std::vector<ChartPoint>> parts)
    {
        std::vector<ChartPoint> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }

    void SaveChartAs(const std::string& name)
    {
        ui.answerFile(charts() + name);
        MainForm->ChartSaveAsItem->trigger();
    }

    // Opens a chart, not saving the one being edited.
    void Reopen(const std::string& name)
    {
        ui.answerNo();
        OpenChart(charts() + name);
    }

    const std::string kDay = "07-12-26";
};

// Saved over itself, the chart holds its own points and those added by
// editing, not those of its layer "harbour.003": loaded again, its layer
// comes back once, and saving and loading again changes nothing. Saved
// under another name, whose chart has no layers, it keeps them all.
TEST_F(SurveyFilesTest, ChartSavedWithALayerLoadedHoldsNoLayerPointAndLoadsAgainAsItWas)
{
    const std::vector<ChartPoint> own = DecodeChartFile(dir.read("charts/harbour.cht")).points;
    ASSERT_EQ(own.size(), 48u);
    const std::vector<ChartPoint> layer { PenUpPoint, P(50.79, 1.29), P(50.795, 1.295), P(50.8, 1.3) };
    WriteChartFile("harbour.003", layer);
    const std::string layerBytes = dir.read("charts/harbour.003");
    const std::vector<ChartPoint> added { P(50.81, 1.31), P(50.815, 1.315) };

    StartShown();
    EXPECT_EQ(ui.messages(), Lines { "Total chart points = 52" });
    EXPECT_EQ(Stored(), Joined({ own, layer }));

    MainForm->ChartEdit1->trigger();
    ASSERT_TRUE(MainForm->ChartEdit1->isChecked());
    CurLat = added[0].lat.value();
    CurLon = added[0].lon.value();
    MainForm->LineT0->trigger(); // line type 0 adds the first point
    CurLat = added[1].lat.value();
    CurLon = added[1].lon.value();
    MainForm->AddChartPoint1->trigger();
    const std::vector<ChartPoint> edited = Joined({ own, layer, added });
    ASSERT_EQ(Stored(), edited);

    // Over itself: the added line starts afresh, as it was not joined to the
    // chart's last point.
    SaveChartAs("harbour.cht");
    const std::vector<ChartPoint> saved = Joined({ own, { PenUpPoint }, added });
    EXPECT_EQ(DecodeChartFile(dir.read("charts/harbour.cht")).points, saved);
    EXPECT_EQ(dir.read("charts/harbour.003"), layerBytes);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        ui.clear();
        Reopen("harbour.cht");
        EXPECT_EQ(ui.messages(), Lines { "Total chart points = 55" });
        EXPECT_EQ(Stored(), Joined({ saved, layer }));
        SaveChartAs("harbour.cht");
        EXPECT_EQ(DecodeChartFile(dir.read("charts/harbour.cht")).points, saved);
        EXPECT_EQ(dir.read("charts/harbour.003"), layerBytes);
    }

    // Under another name the layer's points go with the chart.
    Reopen("harbour.cht");
    SaveChartAs("copy.cht");
    EXPECT_EQ(DecodeChartFile(dir.read("charts/copy.cht")).points, Joined({ saved, layer }));
    ui.clear();
    Reopen("copy.cht");
    EXPECT_EQ(Stored(), Joined({ saved, layer }));
}

// The day's log of an earlier start names its own fields; the deferred
// start reloads the configuration, whose template is the default, and every
// record still follows the log's header, which the survey plot reads.
TEST_F(SurveyFilesTest, DaysSurveyLogKeepsItsOwnTemplateThroughTheDeferredStart)
{
    const std::string logTemplate = "@f,@t,@p:2,@$";
    dir.write("logs/" + kDay + ".txt", "Log Date : " + kDay + "\r\n" + logTemplate + "\r\n");
    StartShown();
    EXPECT_EQ(NmeaLogTemplate, logTemplate);

    for (const double lat : { 50.25, 50.26 }) {
        ++gSecond;
        FixStatus = "MAN";
        CurLat = lat;
        CurLon = 1.5;
        MainForm->ManualFix();
    }
    const Lines lines = LinesOf(dir.read("logs/" + kDay + ".txt"));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Log Date : " + kDay);
    EXPECT_EQ(lines[1], logTemplate);
    EXPECT_EQ(lines[2], "*1");
    EXPECT_EQ(lines[3], "00001,094701,5015.00,N,00130.00,W,MAN");
    EXPECT_EQ(lines[4], "*2");
    EXPECT_EQ(lines[5], "00002,094702,5015.60,N,00130.00,W,MAN");
}

// The logs folder is unplugged while fixes and AIS lines come in, and a
// folder of the same name comes back empty: each log's failure is said
// once, and at the next record the day's survey and AIS logs are made anew
// with their headers and written again, as the track log is.
TEST_F(SurveyFilesTest, LogsFolderThatComesBackEmptyIsLoggedIntoAgain)
{
    kvtest::PtyPair com1; // the demo configuration's port
    com1.MapAs(1);
    StartShown();
    MainForm->NMEAServerOnOffClick();
    ASSERT_TRUE(NmeaOpen);
    MainForm->FixTimer->setEnabled(false);
    ui.clear();

    auto gga = [](const char* time, const char* lat) {
        return Sentence(std::string("GPGGA,") + time + "," + lat + ",N,00118.000,W,1,08,1.0,10.0,M,47.0,M,,");
    };
    // A new vessel's report, handled, then a fix: the AIS log takes the
    // report with the GGA of the fix before, the survey log a record of the fix.
    Lines ais, ggas;
    auto aisThenFix = [&](const char* time, const char* lat) {
        ++gSecond;
        const auto vessels = static_cast<int>(ais.size()) + 1;
        ais.push_back(
            kvtest::AivdmSentence(kvtest::PositionReportPayload(235009000 + vessels, 50.805, -1.32)));
        ggas.push_back(gga(time, lat));
        com1.Write(ais.back() + "\r\n");
        ASSERT_TRUE(kvtest::WaitFor([&] { return AisTargetCount == vessels; }));
        FixThrough(com1, ggas.back(), 0);
    };
    const std::string textLog = "logs/" + kDay + ".txt";
    const std::string aisLog = "logs/" + kDay + ".AIS";
    const std::string header = "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y";
    aisThenFix("094701", "5048.000");
    const Lines before = LinesOf(dir.read(textLog));
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(CommaFields(before[2]).at(0), "00001");
    EXPECT_EQ(LinesOf(dir.read(aisLog)), (Lines { "AIS Log Date : " + kDay, ais[0] }));
    EXPECT_TRUE(ui.messages().empty());

    std::filesystem::rename(dir.file("logs"), dir.file("unplugged"));
    aisThenFix("094702", "5048.100");
    aisThenFix("094703", "5048.200");
    EXPECT_EQ(ui.messages(),
        (Lines { "Error Writing AIS Log", "Error writing Log File!", "Error Writing Text Log" }));

    dir.makeFolder("logs");
    aisThenFix("094704", "5048.300");
    const Lines text = LinesOf(dir.read(textLog));
    ASSERT_EQ(text.size(), 3u);
    EXPECT_EQ(text[0], "Log Date : " + kDay);
    EXPECT_EQ(text[1], header);
    // Numbered on from the last record written; the fix's date, time and
    // position in the template's first fields.
    const Lines fields = CommaFields(text[2]);
    ASSERT_GE(fields.size(), 7u);
    EXPECT_EQ(Lines(fields.begin(), fields.begin() + 7),
        (Lines { "00002", kDay, "094704", "5048.3000", "N", "00118.0000", "W" }));
    // The GGA last logged is the first fix's: the one before this report is new.
    EXPECT_EQ(LinesOf(dir.read(aisLog)), (Lines { "AIS Log Date : " + kDay, ais[3], ggas[2] }));
    EXPECT_EQ(ui.messages().size(), 3u);
    // The track log took every fix.
    EXPECT_EQ(LogCount, 4);
}

} // namespace
