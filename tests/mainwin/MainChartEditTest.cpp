// Chart point editing from the main window: chart edit mode, the line types
// and pen-up, adding, snapping, moving and deleting points and a new chart,
// run through their menu items; last, the demo chart edited in its view,
// saved and read back from disk.

#include "ChartFilesFixture.h"

#include "nav/ChartEdit.h"

#include <QAction>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>

namespace
{

const char* const kEditOn = "Editing current chart. Note - Digitiser plotter NOT supported in Velta version. "
                            "Chart Auto Load has been disabled!";
const char* const kEditRefused
    = "Chart Edit Mode. You must first purge the log and only have one view open !";
const char* const kAutoLoadBack = "Chart Auto Load has been enabled!!";

// The working position, as a click in the view sets it.
void At(double lat, double lon)
{
    CurLat = lat;
    CurLon = lon;
}

class MainChartEditTest : public ChartFilesTest
{
protected:
    void SetUp() override
    {
        ChartFilesTest::SetUp();
        WriteChartFile("harbour.cht", { PenUpPoint, P(50.8, 1.3), P(50.81, 1.31) });
        WriteChartFile("harbour.000", { PenUpPoint, P(250.8, 1.29) });
        WriteChartConfig("harbour", 50.8, 1.3, 64);
        Start();
        OpenChart(charts() + "harbour.cht");
        ui.clear();
    }

    void EditModeOn()
    {
        MainForm->ChartEdit1->trigger();
        ASSERT_TRUE(ChartEditable);
        ui.clear();
    }

    // The one checked item of "Set Line Type".
    std::string CheckedLineType() const
    {
        std::string checked;
        for (QAction* item : MainForm->SetLineType1->actions())
            if (item->isChecked())
                checked += item->text().toStdString();
        return checked;
    }
};

TEST_F(MainChartEditTest, EditModeIsRefusedWithATrackOrASecondViewAndChangesNothing)
{
    AutoLoadChart = true;
    LogCount = 1;
    MainForm->ChartEdit1->trigger();
    EXPECT_FALSE(MainForm->ChartEdit1->isChecked());

    LogCount = 0;
    QMdiSubWindow* second = AddView();
    MainForm->ChartEdit1->trigger();
    EXPECT_FALSE(MainForm->ChartEdit1->isChecked());
    EXPECT_FALSE(ChartEditable);
    EXPECT_TRUE(AutoLoadChart);
    EXPECT_EQ(ui.messages(), (std::vector<std::string> { kEditRefused, kEditRefused }));
    EXPECT_EQ(ShownKinds().front(), "message:warning");
    delete second;
}

TEST_F(MainChartEditTest, LeavingEditModeGivesAutoLoadBackTheValueItHadBefore)
{
    AutoLoadChart = true;
    MainForm->ChartEdit1->trigger();
    EXPECT_TRUE(MainForm->ChartEdit1->isChecked());
    EXPECT_TRUE(ChartEditable);
    EXPECT_FALSE(AutoLoadChart);
    EXPECT_TRUE(MainForm->AddChartPoint1->isEnabled());
    EXPECT_TRUE(MainForm->ChartSaveAsItem->isEnabled());
    MainForm->ChartEdit1->trigger();
    EXPECT_FALSE(ChartEditable);
    EXPECT_TRUE(AutoLoadChart);
    EXPECT_FALSE(MainForm->AddChartPoint1->isEnabled());
    EXPECT_EQ(ui.messages(), (std::vector<std::string> { kEditOn, kAutoLoadBack }));
    EXPECT_EQ(ShownKinds(), (std::vector<std::string> { "message:warning", "message:information" }));

    // Off in the configuration: it stays off, and nothing says otherwise.
    ui.clear();
    AutoLoadChart = false;
    MainForm->ChartEdit1->trigger();
    MainForm->ChartEdit1->trigger();
    EXPECT_FALSE(AutoLoadChart);
    EXPECT_EQ(ui.messages(), std::vector<std::string> { kEditOn });
}

TEST_F(MainChartEditTest, CheckedLineTypeAddsNoPointAnotherAddsOneAtOnce)
{
    EditModeOn();
    EXPECT_EQ(CheckedLineType(), "Pen Up");
    At(50.805, 1.305);
    MainForm->LineT3->trigger();
    EXPECT_EQ(CheckedLineType(), "Line Type 3");
    EXPECT_EQ(LineType, 3);
    ASSERT_EQ(ChartPointCount, 6);
    EXPECT_EQ(ChartPoints[6], P(50.805 + 600, 1.305));
    EXPECT_EQ(SelectedChartPoint, 6);

    MainForm->LineT3->trigger();
    EXPECT_EQ(ChartPointCount, 6);

    At(50.806, 1.306);
    MainForm->LineT5->trigger();
    EXPECT_EQ(CheckedLineType(), "Line Type 5");
    ASSERT_EQ(ChartPointCount, 7);
    EXPECT_EQ(ChartPoints[7], P(50.806 + 1000, 1.306));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainChartEditTest, PenUpPointThenLineTypeThreeStoresLatitudePlus600)
{
    EditModeOn();
    At(50.805, 1.305);
    MainForm->AddChartPoint1->trigger();
    MainForm->LineT3->trigger();
    ASSERT_EQ(ChartPointCount, 7);
    EXPECT_EQ(ChartPoints[6], PenUpPoint);
    EXPECT_EQ(ChartPoints[7], P(50.805 + 600, 1.305));

    // Pen-up mode keeps the line type for the next choice.
    MainForm->PenUp1->trigger();
    EXPECT_EQ(CheckedLineType(), "Pen Up");
    EXPECT_EQ(LineType, 3);
    EXPECT_EQ(LineTypeOffset, 600.0);
    MainForm->PenUp1->trigger();
    EXPECT_EQ(CheckedLineType(), "Pen Up");
    EXPECT_EQ(ChartPointCount, 7);
    MainForm->AddChartPoint1->trigger();
    EXPECT_EQ(ChartPoints[8], PenUpPoint);
}

TEST_F(MainChartEditTest, LineTypesAndTheirShortcutsWorkOnlyWhereAddingAPointDoes)
{
    for (QAction* item : MainForm->SetLineType1->actions())
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    MainForm->LineT2->trigger();
    EXPECT_EQ(ChartPointCount, 5);

    EditModeOn();
    for (QAction* item : MainForm->SetLineType1->actions())
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    ViewZoom = 0.5;
    MainForm->UpdateMenuItems();
    EXPECT_FALSE(MainForm->LineT2->isEnabled());
    EXPECT_FALSE(MainForm->AddChartPoint1->isEnabled());
}

TEST_F(MainChartEditTest, CapturedPositionIsShiftedOntoTheChartDatumOnceWhateverTheLineTypeChoices)
{
    EditModeOn();
    ChartOffsetLat = 0.001;
    ChartOffsetLon = 0.002;
    NmeaOpen = true;
    FixIntervalMs = 1000;
    ComTimeZero = true;
    At(50.8, 1.3);
    MainForm->LineT1->trigger();
    MainForm->LineT2->trigger();
    MainForm->LineT1->trigger();
    NmeaOpen = false;
    EXPECT_DOUBLE_EQ(CurLat, 50.801);
    EXPECT_DOUBLE_EQ(CurLon, 1.298);
    ASSERT_EQ(ChartPointCount, 8);
    EXPECT_EQ(ChartPoints[6], P(CurLat + 200, CurLon));
    EXPECT_EQ(ChartPoints[7], P(CurLat + 400, CurLon));
    EXPECT_EQ(ChartPoints[8], P(CurLat + 200, CurLon));
}

TEST_F(MainChartEditTest, SnapWithTheFixTimerRunningOpensTheTimingDialogInstead)
{
    EditModeOn();
    FixIntervalMs = 10000;
    At(50.0, 1.0);
    ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
    MainForm->SnaptoChart1->trigger();
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "Please set Fix interval to 0 before using the Snap command!" });
    EXPECT_EQ(ShownKinds(), (std::vector<std::string> { "message:information", "modal:TAlarmDialog" }));
    EXPECT_EQ(CurLat, 50.0);
    EXPECT_EQ(SelectedChartPoint, 0);
}

TEST_F(MainChartEditTest, SnapGoesToTheNearestPointNeverToAPenUp)
{
    EditModeOn();
    FixIntervalMs = 0;
    At(-1.0, -1.0);
    MainForm->SnaptoChart1->trigger();
    // The layer's type-1 point is nearest: its true latitude, its offset.
    EXPECT_EQ(SelectedChartPoint, 5);
    EXPECT_DOUBLE_EQ(CurLat, static_cast<double>(rtl::Real6(250.8)) - 200);
    EXPECT_EQ(CurLon, static_cast<double>(rtl::Real6(1.29)));
    EXPECT_EQ(LineTypeOffset, 200.0);
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(MainChartEditTest, TypeThreePointFoundAtItsTrueLatitudeIsMovedKeepingItsType)
{
    EditModeOn();
    FixIntervalMs = 0;
    At(50.25, 1.25);
    MainForm->LineT3->trigger();
    ASSERT_EQ(ChartPoints[6], P(50.25 + 600, 1.25));
    At(50.26, 1.26);
    MainForm->LineT0->trigger(); // a type-0 point beside it, selected
    EXPECT_EQ(ChartPoints[7], P(50.26, 1.26));

    At(50.251, 1.249);
    MainForm->SnaptoChart1->trigger();
    EXPECT_EQ(SelectedChartPoint, 6);
    EXPECT_NEAR(CurLat, 50.25, 1e-9);
    At(50.24, 1.24);
    MainForm->EditPoint1->trigger();
    EXPECT_EQ(ChartPoints[6], P(50.24 + 600, 1.24));
    EXPECT_EQ(ChartPoints[7], P(50.26, 1.26));
    EXPECT_EQ(ChartPointCount, 7);
}

TEST_F(MainChartEditTest, DeleteAsksFirstAndWalksBackFromTheSelectedPoint)
{
    EditModeOn();
    At(50.805, 1.305);
    MainForm->LineT0->trigger(); // point 6, selected

    ui.answerNo();
    MainForm->DeletePoint1->trigger();
    EXPECT_EQ(ChartPoints[6], P(50.805, 1.305));
    EXPECT_EQ(ui.shown().back().text, "Delete the line(s) to the selected point! - Are you sure?");

    ui.answerYes(2);
    MainForm->DeletePoint1->trigger();
    MainForm->DeletePoint1->trigger();
    EXPECT_EQ(ChartPoints[6], PenUpPoint);
    EXPECT_EQ(ChartPoints[5], PenUpPoint);
    EXPECT_EQ(SelectedChartPoint, 4);
    EXPECT_EQ(ChartPointCount, 6);

    // Breaking point 1 leaves nothing selected: the next move searches.
    SelectedChartPoint = 1;
    ui.answerYes();
    MainForm->DeletePoint1->trigger();
    EXPECT_EQ(SelectedChartPoint, 0);
    At(50.811, 1.311);
    MainForm->EditPoint1->trigger();
    EXPECT_EQ(SelectedChartPoint, 3);
    EXPECT_EQ(ChartPoints[3], P(50.811, 1.311));
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(MainChartEditTest, FullStoreSaysSoAndTakesNoPoint)
{
    EditModeOn();
    ClearChartStore();
    AppendToChartStore(std::vector<ChartPoint>(kMaxChartPoints, P(50.8, 1.3)));
    MainForm->UpdateMenuItems();
    MainForm->AddChartPoint1->trigger();
    EXPECT_EQ(ChartPointCount, kMaxChartPoints);
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Chart Store full..." });
    EXPECT_EQ(ShownKinds(), std::vector<std::string> { "message:warning" });
}

TEST_F(MainChartEditTest, NewChartStartsFromOnePenUpInTheChartsFolder)
{
    EditModeOn();
    EXPECT_FALSE(MainForm->StartNew->isEnabled());
    ui.answerYes();
    MainForm->Chart1Click();
    ASSERT_TRUE(MainForm->StartNew->isEnabled());
    EXPECT_FALSE(MainForm->AddChartPoint1->isEnabled());

    ui.answerNo();
    MainForm->StartNew->trigger();
    EXPECT_EQ(ChartPointCount, 0);

    ChartOffsetLat = 0.001;
    ChartOffsetLon = 0.002;
    ui.answerYes();
    MainForm->StartNew->trigger();
    EXPECT_EQ(ui.shown().back().text, "Start a new chart! - Are you sure?");
    EXPECT_EQ(Stored(), std::vector<ChartPoint> { PenUpPoint });
    EXPECT_EQ(CurrentChartName, "New Chart");
    EXPECT_EQ(Captions(), std::vector<std::string> { "New Chart" });
    EXPECT_EQ(MainForm->SaveDialog1.fileName, charts() + "New Chart.cht");
    EXPECT_EQ(MainForm->OpenChtDialog.fileName, charts() + "New Chart.cht");
    EXPECT_EQ(ChartOffsetLat, 0.0);
    EXPECT_EQ(ChartOffsetLon, 0.0);
    EXPECT_TRUE(MainForm->AddChartPoint1->isEnabled());
    EXPECT_FALSE(MainForm->StartNew->isEnabled());
    EXPECT_TRUE(ui.allAnswersUsed());
}

// The demo chart edited in its view as the user would: a pen-up and a new
// type-3 line added, a coast point moved, a harbour point deleted, the chart
// saved under a new name and its file read back.
using DemoChartEditTest = ChartFilesTest;

TEST_F(DemoChartEditTest, DemoChartEditedInItsViewIsSavedAsEdited)
{
    CopyDemoChart();
    Start();
    MainForm->show();
    FirstTick();
    ASSERT_EQ(CurrentChartName, "harbour");
    ASSERT_EQ(MainForm->MDIChildCount(), 1);
    ASSERT_TRUE(MainForm->MDIChildren(0)->isVisible());
    const std::string original = dir.read("charts/harbour.cht");
    ui.clear();

    auto record = [](double storedLat, double lon) {
        uint8_t bytes[ChartPoint::storedSize];
        P(storedLat, lon).store(bytes);
        return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
    };
    const std::string coastPoint = record(50.8120, 1.3900);
    const std::string harbourPoint = record(50.8200, 1.3060);
    const std::size_t coastAt = original.find(coastPoint);
    const std::size_t harbourAt = original.find(harbourPoint);
    ASSERT_NE(coastAt, std::string::npos);
    ASSERT_NE(harbourAt, std::string::npos);
    ASSERT_EQ(coastAt % 12, 0u);
    ASSERT_EQ(harbourAt % 12, 0u);

    MainForm->ChartEdit1->trigger();
    ASSERT_TRUE(MainForm->AddChartPoint1->isEnabled());

    // Add: a pen-up, then a line of type 3 south of the fairway buoy.
    At(50.7850, 1.3100);
    MainForm->AddChartPoint1->trigger();
    MainForm->LineT3->trigger();
    At(50.7850, 1.2900);
    MainForm->AddChartPoint1->trigger();
    MainForm->PenUp1->trigger();
    MainForm->AddChartPoint1->trigger();

    // Move: snap to the coast's first point (the fix timer stopped first),
    // then move it.
    ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
    MainForm->SnaptoChart1->trigger();
    ASSERT_GT(FixIntervalMs, 0);
    FixIntervalMs = 0;
    At(50.8118, 1.3905);
    MainForm->SnaptoChart1->trigger();
    EXPECT_EQ(SelectedChartPoint, static_cast<int>(coastAt / 12) + 1);
    At(50.8125, 1.3895);
    MainForm->EditPoint1->trigger();

    // Delete: a point of the harbour's shore.
    At(50.8201, 1.3061);
    MainForm->SnaptoChart1->trigger();
    ui.answerYes();
    MainForm->DeletePoint1->trigger();

    // Save under a new name.
    ui.answerFile(charts() + "edited.cht");
    MainForm->ChartSaveAsItem->trigger();
    EXPECT_EQ(MainForm->StatusLine->text().toStdString(), "Removed 1 empty points");
    EXPECT_TRUE(ui.allAnswersUsed());
    EXPECT_EQ(ui.messages(),
        (std::vector<std::string> { kEditOn, "Please set Fix interval to 0 before using the Snap command!",
            "Have you entered the correct chart offsets, zoom and centre?" }));

    std::string expected = original.substr(0, original.size() - 12); // without its end marker
    expected.replace(coastAt, 12, record(50.8125, 1.3895));
    expected.replace(harbourAt, 12, record(-1, -1));
    // The trailing pen-up meets the empty slot after it and is left out.
    expected
        += record(-1, -1) + record(50.7850 + 600, 1.3100) + record(50.7850 + 600, 1.2900) + record(-1, -1);
    EXPECT_EQ(dir.read("charts/edited.cht"), expected);
    EXPECT_EQ(CurrentChartName, "edited");
    EXPECT_EQ(Captions(), std::vector<std::string> { "edited ()" });
    EXPECT_EQ(dir.read("charts/edited.wpt"), dir.read("charts/harbour.wpt"));
}

// A layer file opened alone with F3, edited and saved over itself through the
// menus keeps every point it had; then the chart saved under a dotted name
// gets companions of its own.
TEST_F(DemoChartEditTest, LayerFileEditedAloneKeepsItsPointsAndADottedNameItsOwnCompanions)
{
    CopyDemoChart();
    const std::vector<ChartPoint> layer { PenUpPoint, P(50.80, 1.30), P(50.81, 1.31), P(50.82, 1.32) };
    WriteChartFile("harbour.003", layer);
    Start();
    MainForm->show();
    FirstTick();
    ui.answerYes();
    MainForm->Chart1->trigger();
    ASSERT_EQ(ChartPointCount, 0);
    const std::string harbourWaypoints = dir.read("charts/harbour.wpt");
    const std::string harbourConfig = dir.read("charts/harbour.cfg");

    ui.answerFile(charts() + "harbour.003");
    MainForm->Charts1->trigger();
    ASSERT_EQ(Stored(), layer);
    MainForm->ChartEdit1->trigger();
    At(50.83, 1.33);
    MainForm->LineT0->trigger();
    ASSERT_EQ(ChartPointCount, 5);
    ui.answerFile(charts() + "harbour.003");
    MainForm->ChartSaveAsItem->trigger();
    std::vector<ChartPoint> edited = layer;
    edited.push_back(P(50.83, 1.33));
    EXPECT_EQ(DecodeChartFile(dir.read("charts/harbour.003")).points, edited);

    ui.answerFile(charts() + "harbour.new.cht");
    MainForm->ChartSaveAsItem->trigger();
    EXPECT_TRUE(ui.allAnswersUsed());
    EXPECT_EQ(DecodeChartFile(dir.read("charts/harbour.new.cht")).points, edited);
    EXPECT_TRUE(dir.exists("charts/harbour.new.cfg"));
    EXPECT_EQ(dir.read("charts/harbour.new.wpt"), harbourWaypoints);
    EXPECT_EQ(dir.read("charts/harbour.wpt"), harbourWaypoints);
    EXPECT_EQ(dir.read("charts/harbour.cfg"), harbourConfig);
    EXPECT_EQ(Captions(), std::vector<std::string> { "harbour.new ()" });
}

} // namespace
