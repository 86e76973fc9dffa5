// The converter window: the option file, the sample texts, reset and clear,
// browsing, the download script, and a run started from the Start button.

#include "converter/Apunit1.h"
#include "help/HelpProgram.h"
#include "support/QtWait.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace
{

using V = std::vector<std::string>;

class ConverterWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedCwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override
    {
        form.reset();
        std::filesystem::current_path(savedCwd_);
    }

    // The window as the program creates it, activated once.
    TForm1& Start()
    {
        form = std::make_unique<TForm1>();
        form->FormActivate();
        return *form;
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;
    std::unique_ptr<TForm1> form;

private:
    std::filesystem::path savedCwd_;
};

TEST_F(ConverterWindowTest, FirstStartWithoutOptionFileWritesOneAtClose)
{
    TForm1& f = Start();
    EXPECT_EQ(f.windowTitle(), "LAT LONG & OS GB GRID to Korvane chart file convertor Ver. 4.2");
    EXPECT_EQ(f.StartFolder(), dir.path());
    f.ExitClick();
    EXPECT_EQ(dir.read("Gmk.pfg"), "./\r\n./\r\n0\r\n0\r\n");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ConverterWindowTest, OptionFileIsReadOnceAtStartAndWrittenWhereTheWindowWasLastActivated)
{
    dir.write("Gmk.pfg", "lists/coast.dat\r\ncharts/coast.cht\r\n600\r\n-1200\r\n");
    TForm1& f = Start();
    EXPECT_EQ(f.INFile->text(), "lists/coast.dat");
    EXPECT_EQ(f.Opfile->text(), "charts/coast.cht");
    EXPECT_EQ(f.LatOS->value(), 600);
    EXPECT_EQ(f.LongOS->value(), -1200);
    EXPECT_EQ(f.ResultLines(),
        (V { "Sample Format Required", "Longitude         Latitude", "0.22884737   51.88627587",
            "0.23001422   51.88568446" }));

    // Activated again (a message box of a run closed): nothing is reset.
    f.Grid_in->setChecked(true);
    f.Opfile->setText("charts/other.cht");
    f.Results->clear();
    const std::string other = dir.makeFolder("other");
    std::filesystem::current_path(other);
    f.FormActivate();
    EXPECT_TRUE(f.Grid_in->isChecked());
    EXPECT_EQ(f.Opfile->text(), "charts/other.cht");
    EXPECT_TRUE(f.ResultLines().empty());
    EXPECT_EQ(f.RememberedFolder(), other);

    f.close();
    EXPECT_EQ(dir.read("other/Gmk.pfg"), "lists/coast.dat\r\ncharts/other.cht\r\n600\r\n-1200\r\n");
}

TEST_F(ConverterWindowTest, OptionFileThatCannotBeWrittenIsReportedAndTheWindowClosesAnyway)
{
    const std::string gone = dir.makeFolder("gone");
    std::filesystem::current_path(gone);
    TForm1& f = Start();
    f.show();
    std::filesystem::current_path(dir.path());
    std::filesystem::remove(gone);
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(ui.messages(), V { "Cannot write " + gone + "/Gmk.pfg" });
}

TEST_F(ConverterWindowTest, SamplesFollowTheInputFormatAndReverse)
{
    TForm1& f = Start();
    f.Grid_in->click();
    EXPECT_EQ(f.ResultLines().at(1), "Easting    Northing");
    f.Deg_mins->click();
    EXPECT_EQ(f.ResultLines().at(2), "001.50.4737  51.22.7587");
    f.Reverse->click();
    EXPECT_EQ(f.ResultLines().at(3), "51.22.8446  001.49.9422");
    f.Dec_Deg->click();
    EXPECT_EQ(f.ResultLines().at(2), "51.88627587  0.22884737");
    // Reverse with grid input changes nothing.
    f.Grid_in->click();
    f.Reverse->click();
    EXPECT_EQ(f.ResultLines().at(1), "Easting    Northing");
}

TEST_F(ConverterWindowTest, ResetLeavesFormatSeparatorAndFilesAndClearEmptiesTheResults)
{
    TForm1& f = Start();
    f.LatOS->setValue(5);
    f.SkipFirst->setValue(3);
    f.Line_style->setValue(4);
    f.Filter->setChecked(true);
    f.Deg_mins->setChecked(true);
    f.Sep->setCurrentText(";");
    f.INFile->setText("a.dat");
    f.ResetButton->click();
    EXPECT_EQ(f.LatOS->value() + f.SkipFirst->value() + f.Line_style->value(), 0);
    EXPECT_FALSE(f.Filter->isChecked());
    EXPECT_TRUE(f.TestOnly->isChecked());
    EXPECT_TRUE(f.Deg_mins->isChecked());
    EXPECT_EQ(f.Sep->currentText(), ";");
    EXPECT_EQ(f.INFile->text(), "a.dat");

    f.Progress->setText("  12");
    f.Grid_in->click();
    f.Clear->click();
    EXPECT_TRUE(f.ResultLines().empty());
    EXPECT_EQ(f.Progress->text(), "0");
}

TEST_F(ConverterWindowTest, BrowsingMovesToTheFileFolderAndTakesTheChosenFile)
{
    TForm1& f = Start();
    const std::string lists = dir.makeFolder("lists");
    f.INFile->setText("lists/old.dat");
    ui.answerFile(lists + "/coast.dat");
    f.BrowseRep->click();
    EXPECT_EQ(f.INFile->text().toStdString(), lists + "/coast.dat");
    EXPECT_EQ(std::filesystem::current_path().string(), lists);
    ASSERT_EQ(ui.fileRequests().size(), 1u);
    EXPECT_EQ(ui.fileRequests()[0].fileName, "*.dat");
    EXPECT_EQ(ui.fileRequests()[0].initialFolder, dir.path() + "/charts");

    ui.answerFile(std::nullopt);
    f.Opfile->setText(QString::fromStdString(dir.path() + "/out.cht"));
    f.BrowseOp->click();
    EXPECT_EQ(f.Opfile->text().toStdString(), dir.path() + "/out.cht");
    EXPECT_EQ(ui.fileRequests()[1].fileName, "*.cht");
    EXPECT_EQ(std::filesystem::current_path().string(), dir.path());

    // A folder that is not there: reported, no dialog.
    f.INFile->setText("nowhere/a.dat");
    f.BrowseRep->click();
    EXPECT_EQ(ui.messages(), V { "Cannot change to the folder nowhere/" });
    EXPECT_EQ(ui.fileRequests().size(), 2u);
}

TEST_F(ConverterWindowTest, DownloadButtonStartsTheScriptOfTheStartFolder)
{
    TForm1& f = Start();
    ui.answerNo();
    f.Button1->click();
    EXPECT_EQ(ui.shown().back().text,
        "Have you got an internet connection ? if so you can download coastline data.");

    // No script in the start folder.
    ui.answerYes();
    f.Button1->click();
    EXPECT_EQ(ui.messages(), V { "Application Not Available !" });

    dir.write("maps.sh", "echo started > maps.out\n");
    ui.clear();
    ui.answerYes();
    f.Button1->click();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(kvtest::WaitFor([&] { return dir.exists("maps.out"); }, 5000));

    // From another folder: still the start folder's script, run there.
    std::vector<std::pair<std::string, std::string>> started;
    f.StartScript = [&](const std::string& script, const std::string& folder) {
        started.emplace_back(script, folder);
        return false;
    };
    std::filesystem::current_path(dir.makeFolder("elsewhere"));
    ui.answerYes();
    f.Button1->click();
    EXPECT_EQ(started,
        (std::vector<std::pair<std::string, std::string>> { { dir.path() + "/maps.sh", dir.path() } }));
    EXPECT_EQ(ui.messages(), V { "Application Not Available !" });
}

TEST_F(ConverterWindowTest, HelpButtonReportsAMissingHelpFile)
{
    help::StartHelpSystem({ "gridmerk" });
    TForm1& f = Start();
    f.BitBtn1->click();
    help::StopHelpSystem();
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_NE(ui.shown()[0].text.find("Gmkhelp.chm"), std::string::npos) << ui.shown()[0].text;
}

TEST_F(ConverterWindowTest, StartConvertsWithTheOptionsOfTheControls)
{
    TForm1& f = Start();
    dir.write("coast.txt", "50.5,1.5\r\n50.6,1.6\r\n50.7,1.7\r\n");
    f.INFile->setText("coast.txt");
    f.Opfile->setText("coast.cht");
    f.Sep->setCurrentText(",");
    f.Reverse->setChecked(false);
    f.Line_style->setValue(1);
    f.SkipFirst->setValue(1);
    f.LatOS->setValue(60);
    f.LongOS->setValue(-120);
    const converter::TRunOptions options = f.RunOptions();
    EXPECT_EQ(options.latOffset, 60);
    EXPECT_EQ(options.lonOffset, -120);

    f.start->click();
    EXPECT_EQ(f.Progress->text(), "   3");
    EXPECT_EQ(f.ResultLines(), (V { "50.6,1.6", "50.7,1.7" }));
    EXPECT_EQ(ui.messages(), (V { "Data Array Written", "File successfully converted" }));
    EXPECT_EQ(dir.read("coast.cht").size(), (6u + 2 + 5) * 12);
    EXPECT_FALSE(dir.exists("coast.cfg")); // line style 1: no configuration
    EXPECT_EQ(f.Converter().Store()[8], (ChartPoint { rtl::Real6(250.7), rtl::Real6(-1.7) }));

    // A run that cannot start is reported at the button's edge too.
    f.INFile->setText("missing.txt");
    ui.clear();
    f.start->click();
    EXPECT_EQ(ui.messages(), V { "Cannot open the input file missing.txt" });
}

} // namespace
