// The help window end to end in korvex's own windows: F1 in the main window,
// in the timing dialog and in the AIS target data window opens the help file
// at their pages, and closing the program closes the help window.

#include "dialogs/AISInfo.h"
#include "dialogs/AlarmDialog.h"
#include "help/ContextHelp.h"
#include "help/HelpApi.h"
#include "help/HelpDebug.h"
#include "help/HelpKeys.h"
#include "help/HelpProgram.h"
#include "help/HelpViewer.h"
#include "mainwin/MainFormFixture.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>

namespace
{

class HelpWindowTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        std::filesystem::copy_file(std::string(KV_SOURCE_DIR) + "/demo/KVAIS6.chm", app + "KVAIS6.chm");
        help::SetModuleLoader({});
        help::InstallHelpViewer();
        help::LoadHtmlHelp();
        help::HelpFuncsInit(app + "korvex", { app + "korvex" }, help::HelpFolders { tmp.path(), "", "" });
        qApp->installEventFilter(&f1);
    }

    void TearDown() override
    {
        qApp->removeEventFilter(&f1);
        MainFormTest::TearDown();
        help::HelpCloseAll();
        help::HelpFuncsDone();
        help::UnloadHtmlHelp();
    }

    static help::THelpWindow* OnlyHelpWindow()
    {
        const auto windows = help::OpenHelpWindows();
        return windows.size() == 1 ? windows.front() : nullptr;
    }

    kvtest::TempDir tmp;
    help::F1Filter f1;
};

} // namespace

TEST_F(HelpWindowTest, F1OpensThePageOfTheWindowInFrontAndClosingTheProgramClosesIt)
{
    Start();
    MainForm->show();
    QApplication::setActiveWindow(MainForm);
    QTest::keyClick(MainForm, Qt::Key_F1);

    help::THelpWindow* window = OnlyHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->CurrentPage(), "/index.htm");
    EXPECT_EQ(window->windowTitle().toStdString(), "KV AIS Velta Help - KV AIS Velta - the chart plotter");
    EXPECT_TRUE(window->Browser()->toPlainText().contains("plots your vessel"));

    // The timing dialog in front: its own page, in the same help window.
    ui.answerModal([](QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QTest::keyClick(&dialog, Qt::Key_F1);
        return platform::ModalResult::Cancel;
    });
    platform::ui().showModal(*AlarmDialog);
    ASSERT_EQ(OnlyHelpWindow(), window);
    EXPECT_EQ(window->CurrentPage(), "/timing.htm");
    EXPECT_EQ(window->windowTitle().toStdString(), "KV AIS Velta Help - Timing Functions");

    // Back to the main window's page and forward again.
    window->findChild<QToolButton*>("Back")->click();
    EXPECT_EQ(window->CurrentPage(), "/index.htm");
    window->findChild<QToolButton*>("Forward")->click();
    EXPECT_EQ(window->CurrentPage(), "/timing.htm");
    EXPECT_TRUE(ui.messages().empty());

    // The AIS target data window in front: its own page, not the main
    // window's, whose F1 shortcut a tool window would otherwise take.
    AISInfo->show();
    QApplication::setActiveWindow(AISInfo);
    AISInfo->Memo1->setFocus();
    QTest::keyClick(AISInfo->Memo1, Qt::Key_F1);
    EXPECT_EQ(window->CurrentPage(), "/aisinfo.htm");

    ui.answerYes(); // "Quit Korvane - Are you sure?"
    MainForm->close();
    FreeProgramForms();
    EXPECT_TRUE(help::OpenHelpWindows().empty());
}

TEST_F(HelpWindowTest, MissingHelpFileIsNamed)
{
    std::filesystem::remove(app + "KVAIS6.chm");
    Start();
    MainForm->ShowHelpContext(1);
    EXPECT_TRUE(help::OpenHelpWindows().empty());
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "The help file \"" + app + "KVAIS6.chm\" is missing or cannot be read." });
}

// gridmerk's window: its hook on "Gmkhelp.chm" in the start folder, and
// its Help button showing the whole file.
TEST_F(HelpWindowTest, GridmerkHelpButtonShowsTheWholeFileOrSaysWhy)
{
    const std::string file = std::string(KV_SOURCE_DIR) + "/demo/Gmkhelp.chm";
    help::TContextHelpHook hook(file, "", 0);
    EXPECT_EQ(help::ShowHelpFile(file), help::kHelpOk);
    help::THelpWindow* window = OnlyHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->CurrentPage(), "/index.htm");
    EXPECT_EQ(window->windowTitle().toStdString(),
        "Position to KV Chart Convertor Help - Position to KV Chart Convertor");
    // The link to the input formats, picked with the keyboard.
    window->Browser()->setFocus();
    QTest::keyClick(window->Browser(), Qt::Key_Tab);
    QTest::keyClick(window->Browser(), Qt::Key_Return);
    EXPECT_EQ(window->CurrentPage(), "/formats.htm");

    // No help control: the button says so instead of doing nothing.
    help::HelpCloseAll();
    help::UnloadHtmlHelp();
    EXPECT_EQ(help::ShowHelpFile(file), help::kHelpNotInstalled);
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "MS Html Help is not installed on this PC." });
    EXPECT_TRUE(help::OpenHelpWindows().empty());
}
