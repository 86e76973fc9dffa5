// Chart waypoints from the main window: adding, editing, showing and
// deleting them through the waypoint editor, with the waypoint file beside
// the chart rewritten after every change.

#include "ChartFilesFixture.h"

#include "dialogs/WPeditDlg.h"
#include "platform/QtText.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

// Test texts are written with "°"; the program holds the Latin-1 byte 0xB0.
std::string L(const char* utf8)
{
    return ls(QString::fromUtf8(utf8));
}

const char* const kPier = "Pier head               05   N 50.48.00000  W001.18.00000\r\n";
const char* const kBuoy = "Outer buoy              2005 N 50.45.00000  W001.15.00000\r\n";

class MainWaypointsTest : public ChartFilesTest
{
protected:
    void SetUp() override
    {
        ChartFilesTest::SetUp();
        WriteChartFile("harbour.cht", { PenUpPoint, P(50.8, 1.3) });
        WriteChartConfig("harbour", 50.8, 1.3, 64);
        dir.write("charts/harbour.wpt", std::string(kPier) + kBuoy);
        Start();
        OpenChart(charts() + "harbour.cht");
        ui.clear();
    }

    std::string WaypointFile() { return dir.read("charts/harbour.wpt"); }

    // The editor as the modal dialog: it is shown, `fill` plays the user,
    // and it closes with `result`.
    void AnswerEditor(platform::ModalResult result, std::function<void(TWPeditDlg&)> fill = {})
    {
        ui.answerModal([result, fill](QDialog& dialog) {
            auto& editor = static_cast<TWPeditDlg&>(dialog);
            editor.show();
            if (fill)
                fill(editor);
            editor.done(result == platform::ModalResult::Ok ? QDialog::Accepted : QDialog::Rejected);
            return result;
        });
    }
};

TEST_F(MainWaypointsTest, AddedWaypointIsStoredAtThePositionTypedAndWritten)
{
    CurLat = 50.5;
    CurLon = 1.25;
    std::string caption, latitude, longitude;
    AnswerEditor(platform::ModalResult::Ok, [&](TWPeditDlg& editor) {
        caption = editor.windowTitle().toStdString();
        latitude = ls(editor.Latitude->text());
        longitude = ls(editor.Longitude->text());
        EXPECT_EQ(editor.WPdesc->text(), "");
        EXPECT_EQ(editor.Nwps->text(), "2");
        editor.WPdesc->setText("Fuel berth");
        editor.WPShape->setCurrentIndex(21);
        editor.Radius->setText("3");
        editor.Latitude->setText(qs(L("50°31.5N")));
    });
    MainForm->AddChartWaypoint1Click();

    EXPECT_EQ(caption, "Add New Waypoint");
    EXPECT_EQ(latitude, L("50°30.00000N"));
    EXPECT_EQ(longitude, L("001°15.00000W"));
    EXPECT_EQ(WPeditDlg->windowTitle(), "Edit Nearest Waypoint");
    ASSERT_EQ(WaypointDbCount, 3);
    EXPECT_EQ(WaypointDbNames[3], "Fuel berth              2103 ");
    EXPECT_DOUBLE_EQ(CurLat, 50.525);
    EXPECT_DOUBLE_EQ(CurLon, 1.25);
    EXPECT_EQ(WaypointFile(),
        std::string(kPier) + kBuoy + "Fuel berth              2103 N 50.31.50000  W001.15.00000\r\n");
}

TEST_F(MainWaypointsTest, AddingToAFullDatabaseReplacesTheLastEntry)
{
    WaypointDbCount = 600;
    WaypointDbNames[600] = "Last";
    AnswerEditor(platform::ModalResult::Ok, [](TWPeditDlg& editor) { editor.WPdesc->setText("New"); });
    MainForm->AddChartWaypoint1Click();
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Waypoint Database Full Overwriting last WP!" });
    EXPECT_EQ(WaypointDbCount, 600);
    EXPECT_EQ(WaypointDbNames[600].str().substr(0, 3), "New");
}

TEST_F(MainWaypointsTest, AComFixAtMidnightIsShiftedOntoTheChartDatum)
{
    NmeaOpen = true;
    FixIntervalMs = 1000;
    ComTimeZero = true;
    ChartOffsetLat = 0.5;
    ChartOffsetLon = 0.25;
    CurLat = 50;
    CurLon = 1.5;
    std::string latitude, longitude;
    AnswerEditor(platform::ModalResult::Cancel, [&](TWPeditDlg& editor) {
        latitude = ls(editor.Latitude->text());
        longitude = ls(editor.Longitude->text());
    });
    MainForm->AddChartWaypoint1Click();
    EXPECT_EQ(latitude, L("50°30.00000N"));
    EXPECT_EQ(longitude, L("001°15.00000W"));
}

TEST_F(MainWaypointsTest, EditActsOnTheNearestWaypointAndRewritesItsEntry)
{
    CurLat = 50.76;
    CurLon = 1.26;
    AnswerEditor(platform::ModalResult::Ok, [](TWPeditDlg& editor) {
        EXPECT_EQ(editor.WPdesc->text(), "Outer buoy");
        EXPECT_EQ(editor.WPShape->currentText(), "20");
        EXPECT_EQ(editor.Radius->text(), "05");
        EXPECT_TRUE(editor.Radius->isEnabled());
        EXPECT_EQ(editor.Label5->text(), "Radius");
        editor.WPdesc->setText("Outer mark");
        editor.Radius->setText("12");
    });
    MainForm->EditChartWaypoint1Click();
    EXPECT_EQ(
        WaypointFile(), std::string(kPier) + "Outer mark              2012 N 50.45.00000  W001.15.00000\r\n");
    EXPECT_EQ(CurLat, 50.75);
}

TEST_F(MainWaypointsTest, CancelledEditStillMovesTheWorkingPosition)
{
    CurLat = 50.79;
    CurLon = 1.29;
    AnswerEditor(
        platform::ModalResult::Cancel, [](TWPeditDlg& editor) { editor.WPdesc->setText("Changed"); });
    MainForm->EditChartWaypoint1Click();
    EXPECT_DOUBLE_EQ(CurLat, 50.8);
    EXPECT_DOUBLE_EQ(CurLon, 1.3);
    EXPECT_EQ(WaypointFile(), std::string(kPier) + kBuoy);
}

TEST_F(MainWaypointsTest, ShowIsReadOnlyAndRestoresTheEditor)
{
    CurLat = 50.8;
    CurLon = 1.3;
    AnswerEditor(platform::ModalResult::Ok, [](TWPeditDlg& editor) {
        EXPECT_EQ(editor.windowTitle(), "Nearest Waypoint");
        EXPECT_FALSE(editor.InEditMode());
        EXPECT_FALSE(editor.BitBtn1->isVisible());
        EXPECT_EQ(editor.BitBtn2->text(), "OK");
        editor.WPdesc->setText("Changed");
    });
    MainForm->WaypointSnapMode1Click();
    EXPECT_EQ(WaypointFile(), std::string(kPier) + kBuoy);
    EXPECT_EQ(WPeditDlg->windowTitle(), "Edit Nearest Waypoint");
    EXPECT_TRUE(WPeditDlg->InEditMode());
    EXPECT_EQ(WPeditDlg->BitBtn2->text(), "Cancel");
}

TEST_F(MainWaypointsTest, DeleteRemovesTheNearestAfterConfirmation)
{
    CurLat = 50.8;
    CurLon = 1.3;
    ui.answerNo();
    MainForm->DeleteChartWaypoint1Click();
    EXPECT_EQ(WaypointDbCount, 2);
    ui.answerYes();
    MainForm->DeleteChartWaypoint1Click();
    EXPECT_EQ(ui.shown().back().text, "Delete the waypoint nearest to the cursor! - Are you sure?");
    EXPECT_EQ(WaypointFile(), kBuoy);
}

TEST_F(MainWaypointsTest, DosCopyIsWrittenOnlyWhileItsItemIsChecked)
{
    CurLat = 50.75;
    CurLon = 1.25;
    ui.answerYes();
    MainForm->DeleteChartWaypoint1Click();
    EXPECT_EQ(WaypointFile(), kPier);
    EXPECT_FALSE(dir.exists("charts/harbour.wps"));

    MainForm->DOSWPTformat->setEnabled(true);
    MainForm->DOSWPTformat->trigger();
    ASSERT_TRUE(MainForm->DOSWPTformat->isChecked());
    AnswerEditor(platform::ModalResult::Ok);
    MainForm->EditChartWaypoint1Click();
    EXPECT_EQ(WaypointFile(), kPier);
    EXPECT_EQ(dir.read("charts/harbour.wps"), "Pier head               05   N 50.48.00  W001.18.00\r\n");
}

TEST_F(MainWaypointsTest, AfterAChartPurgeNoWaypointFileIsOverwritten)
{
    ui.answerYes();
    MainForm->Chart1Click();
    ChartPointCount = 1; // a new chart being drawn
    AnswerEditor(platform::ModalResult::Ok, [](TWPeditDlg& editor) { editor.WPdesc->setText("New"); });
    MainForm->AddChartWaypoint1Click();
    EXPECT_EQ(WaypointDbCount, 1);
    EXPECT_EQ(WaypointFile(), std::string(kPier) + kBuoy);
}

} // namespace
