// Quitting the program and the two configuration commands of the File menu.

#include "MainFormFixture.h"

#include "platform/QtTimer.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace
{

std::string ConfigBytesOfCurrentState(const std::string& path)
{
    SaveConfigFile(path);
    return kvtest::ReadBytes(path);
}

TEST_F(MainFormTest, QuitAnsweredNoChangesAndWritesNothing)
{
    WriteConfig("boat.cfg", [] { NmeaStartMode = "Auto"; });
    Start({ "boat.cfg" });
    const std::vector<std::string> before = dir.list();

    ui.answerNo();
    EXPECT_FALSE(MainForm->close());

    EXPECT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "ask");
    EXPECT_EQ(ui.shown()[0].text, "Quit Korvane - Are you sure?");
    EXPECT_EQ(dir.list(), before);
    EXPECT_TRUE(NmeaOpen);
    EXPECT_TRUE(MainForm->Nserver->isChecked());
    EXPECT_TRUE(MainForm->SecsTimer->running());
}

TEST_F(MainFormTest, QuitAnsweredYesWritesZudeveCfgAlsoWhenStartedWithAnother)
{
    WriteConfig("boat.cfg", [] {
        NmeaStartMode = "Auto";
        BrowserPath = "from boat";
    });
    const std::string boatBefore = dir.read("boat.cfg");
    Start({ "boat.cfg" });
    FirstTick(); // no port to open: a warning, the interface marked open
    BrowserPath = "changed while running";

    ui.answerYes();
    EXPECT_TRUE(MainForm->close());

    ASSERT_TRUE(dir.exists("zudeve.cfg"));
    EXPECT_EQ(dir.read("boat.cfg"), boatBefore);
    EXPECT_EQ(dir.read("zudeve.cfg"), ConfigBytesOfCurrentState(app + "expected.cfg"));
    EXPECT_NE(dir.read("zudeve.cfg").find("changed while running"), std::string::npos);
    // The interface was closed on the way out, and nothing ticks any more.
    EXPECT_FALSE(NmeaOpen);
    EXPECT_FALSE(MainForm->Nserver->isChecked());
    EXPECT_FALSE(MainForm->FixTimer->running());
    EXPECT_FALSE(MainForm->SecsTimer->running());
}

TEST_F(MainFormTest, EditedChartIsOfferedForSavingOnlyInChartEditMode)
{
    Start();
    AddView();
    ui.answerYes();
    EXPECT_TRUE(MainForm->close()); // one question only: a second would fail here

    FreeProgramForms();
    ui.clear();
    Start();
    AddView();
    MainForm->ChartEdit1->setChecked(true);
    ui.answerYes();
    ui.answerNo();
    EXPECT_TRUE(MainForm->close());
    ASSERT_EQ(ui.shown().size(), 2u);
    EXPECT_EQ(ui.shown()[1].text, "Save the modified chart before exit ?");
    EXPECT_TRUE(dir.exists("zudeve.cfg"));
}

TEST_F(MainFormTest, QuitInChartEditModeKeepsTheConfiguredAutomaticChartLoading)
{
    WriteConfig("zudeve.cfg", [] { AutoLoadChart = true; });
    Start();
    AddView();
    MainForm->ChartEdit1Click();
    ASSERT_FALSE(AutoLoadChart);
    ui.answerYes();
    ui.answerNo();
    EXPECT_TRUE(MainForm->close());
    EXPECT_NE(dir.read("zudeve.cfg").find("\r\nAutoCHT\r\n"), std::string::npos);
}

TEST_F(MainFormTest, ChartThatCannotBeSavedAtExitKeepsTheProgramOpen)
{
    Start();
    AddView();
    MainForm->ChartEdit1->setChecked(true);
    CurrentChartName = "harbour";

    ui.answerYes(); // quit
    ui.answerYes(); // save the chart
    ui.answerFile(app + "missing/harbour.cht");
    EXPECT_FALSE(MainForm->close());
    EXPECT_EQ(ui.messages().back(), "Error writing chart file!");
    EXPECT_FALSE(dir.exists("zudeve.cfg")) << "nothing of the exit is done";
    EXPECT_TRUE(MainForm->SecsTimer->running());

    // Saved elsewhere, the program closes.
    ui.clear();
    ui.answerYes();
    ui.answerYes();
    ui.answerFile(app + "harbour.cht");
    EXPECT_TRUE(MainForm->close());
    EXPECT_TRUE(dir.exists("harbour.cht"));
    EXPECT_TRUE(dir.exists("zudeve.cfg"));
}

TEST_F(MainFormTest, ChartNamedByConfigurationSurvivesStartWithoutChartView)
{
    WriteConfig("zudeve.cfg", [] { CurrentChartName = "harbour"; });
    Start();
    FirstTick();
    EXPECT_EQ(CurrentChartName, "harbour");
    ui.answerYes();
    MainForm->close();
    EXPECT_EQ(dir.read("zudeve.cfg").substr(0, 9), "harbour\r\n");
}

TEST_F(MainFormTest, SaveConfigAsWritesChosenFileAndNamesTheViews)
{
    Start();
    FirstTick();
    QMdiSubWindow* first = AddView();
    QMdiSubWindow* second = AddView();
    CurrentChartName = "world";
    BrowserPath = "saved";
    dir.makeFolder("configs");

    ui.answerFile(app + "configs/harbour.cfg");
    MainForm->SaveConfigAs1Click();

    EXPECT_EQ(ui.fileRequests().back().title, "Save Config As");
    EXPECT_EQ(ui.fileRequests().back().initialFolder, app);
    EXPECT_EQ(dir.read("configs/harbour.cfg"), ConfigBytesOfCurrentState(app + "expected.cfg"));
    EXPECT_EQ(ConfigName, "harbour");
    EXPECT_EQ(first->windowTitle(), "world (harbour)");
    EXPECT_EQ(second->windowTitle(), "world (harbour)");

    ui.answerFile(std::nullopt);
    MainForm->SaveConfigAs1Click();
    EXPECT_EQ(ConfigName, "harbour");

    // A file that could not be written names neither the configuration nor
    // the views.
    ui.answerFile(app + "missing/west.cfg");
    MainForm->SaveConfigAs1Click();
    EXPECT_EQ(ui.messages().back(), "Error creating config file !");
    EXPECT_EQ(ConfigName, "harbour");
    EXPECT_EQ(first->windowTitle(), "world (harbour)");
    EXPECT_EQ(second->windowTitle(), "world (harbour)");
}

TEST_F(MainFormTest, LoadConfigurationIsRefusedWhileInterfaceIsOpen)
{
    Start();
    NmeaOpen = true;
    MainForm->Config1Click();
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> {
            "You cannot load a config file while logging in progress or a Chart Portfolio is open!" });
    EXPECT_EQ(ShownKinds().size(), 1u); // no file dialog
}

TEST_F(MainFormTest, LoadConfigurationReadsChosenFile)
{
    WriteConfig("other.cfg", [] {
        BrowserPath = "from other";
        CurrentChartName = "nowhere";
        AntennaOffsetLat = 0.001;
        TowOffsetD = 10.0;
        TowOffsetA = 2.0;
        TowOffsetB = 4.0;
    });
    Start();
    ui.answerFile(std::nullopt);
    MainForm->Config1Click();
    EXPECT_NE(BrowserPath, "from other");

    ui.answerFile(app + "other.cfg");
    MainForm->Config1Click();
    EXPECT_EQ(ui.fileRequests().back().title, "Open Config File");
    EXPECT_EQ(BrowserPath, "from other");
    EXPECT_EQ(ConfigName, "other");
    EXPECT_DOUBLE_EQ(LayoutOffsetLat, 0.001 - 10.0 * 8.999e-6);
    EXPECT_DOUBLE_EQ(TowLayoutPoints[5].offset, -3.0);
    // The chart it names has no chart configuration in the charts folder.
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Chart Config File Missing!" });
}

} // namespace
