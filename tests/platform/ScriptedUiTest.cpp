// The modal seam without a stand-in, and the scripted stand-in the other
// suites lean on: what it records and when it refuses a dialog.
#include "support/ScriptedUi.h"
#include "platform/Ui.h"

#include <QDialog>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;

namespace
{

using Texts = std::vector<std::string>;

std::vector<std::string> Kinds(const ScriptedUi& ui)
{
    std::vector<std::string> kinds;
    for (const auto& s : ui.shown())
        kinds.push_back(s.kind);
    return kinds;
}

} // namespace

TEST(ScriptedUiTest, WithoutASeamEveryDialogFailsLoudlyAndStandInsNest)
{
    ASSERT_EQ(installedUi(), nullptr);
    EXPECT_THROW(MessageError("Error creating config file !"), std::logic_error);
    EXPECT_THROW(AskYesNo("Delete?"), std::logic_error);
    EXPECT_THROW(Beep(), std::logic_error);
    {
        ScriptedUi outer;
        {
            ScriptedUi inner;
            EXPECT_EQ(&ui(), &inner);
            ShowMessage("inner");
        }
        EXPECT_EQ(&ui(), &outer);
        EXPECT_TRUE(outer.shown().empty());
    }
    EXPECT_EQ(installedUi(), nullptr);
}

TEST(ScriptedUiTest, RecordsMessagesWithTheirKindsAndExactTexts)
{
    ScriptedUi ui;
    ShowMessage("No NMEA data on COM1");
    MessageWarning("Select a waypoint first !");
    MessageError("Error creating config file !");
    MessageInformation("Done");
    Beep();
    platform::ui().message(MessageKind::Confirmation, "Sure?", "Caption");
    EXPECT_EQ(ui.messages(),
        (Texts { "No NMEA data on COM1", "Select a waypoint first !", "Error creating config file !", "Done",
            "Sure?" }));
    EXPECT_EQ(Kinds(ui),
        (Texts { "message:plain", "message:warning", "message:error", "message:information", "beep",
            "message:confirmation" }));
    EXPECT_EQ(ui.beeps(), 1);

    ui.strictMessages = true;
    EXPECT_THROW(MessageWarning("Format errors detected in Waypoint database file!"), UnexpectedDialog);
    EXPECT_EQ(ui.messages().back(), "Format errors detected in Waypoint database file!");
}

TEST(ScriptedUiTest, QuestionsTakeAnswersInOrderAndFailWhenUnscripted)
{
    ScriptedUi ui;
    ui.answerYes();
    ui.answerNo(2);
    ui.answerCancel();
    EXPECT_FALSE(ui.allAnswersUsed());
    EXPECT_TRUE(AskYesNo("Save chart?"));
    EXPECT_FALSE(AskYesNo("Clear all data?"));
    EXPECT_EQ(platform::ui().askYesNoCancel("Save?", ""), ModalResult::No);
    EXPECT_EQ(platform::ui().askYesNoCancel("Save again?", ""), ModalResult::Cancel);
    EXPECT_TRUE(ui.allAnswersUsed());
    try {
        AskYesNo("Exit program?");
        FAIL() << "no answer was scripted";
    } catch (const UnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("Exit program?"), std::string::npos);
    }
    EXPECT_EQ(ui.shown().back().text, "Exit program?");
    EXPECT_TRUE(ui.messages().empty()) << "questions are not message boxes";

    ui.answerCancel();
    EXPECT_THROW(AskYesNo("Yes or no?"), UnexpectedDialog) << "a Yes/No box has no Cancel";
    ui.answerYes();
    ui.clear();
    EXPECT_TRUE(ui.shown().empty());
    EXPECT_TRUE(ui.allAnswersUsed()) << "clear drops unused answers too";
}

TEST(ScriptedUiTest, FileColourPrintAndModalDialogsAnswerFromTheirQueues)
{
    ScriptedUi ui;
    ui.answerFile("/data/charts/home.cht");
    ui.answerFile(std::nullopt);
    ui.answerColour(0x00FF8040);
    ui.answerPrint(false);
    FileDialogRequest open { "Open Chart", "/data/charts", "", "Chart files (*.cht)|*.cht", "cht" };
    EXPECT_EQ(platform::ui().openFile(open), "/data/charts/home.cht");
    EXPECT_EQ(platform::ui().saveFile({ "Save Route", "", "", "", "rte" }), std::nullopt);
    EXPECT_EQ(platform::ui().chooseColour(0x000000FF), 0x00FF8040u);
    EXPECT_FALSE(platform::ui().printDialog());
    ASSERT_EQ(ui.fileRequests().size(), 2u);
    EXPECT_EQ(ui.fileRequests()[1].defaultExt, "rte");
    EXPECT_THROW(platform::ui().openFile(open), UnexpectedDialog);
    EXPECT_THROW(platform::ui().chooseColour(0), UnexpectedDialog);
    EXPECT_THROW(platform::ui().printDialog(), UnexpectedDialog);

    QDialog dialog;
    dialog.setWindowTitle("Preferences");
    EXPECT_THROW(platform::ui().showModal(dialog), UnexpectedDialog);
    std::string seenTitle;
    ui.answerModal([&](QDialog& d) {
        seenTitle = d.windowTitle().toStdString();
        return ModalResult::Ok;
    });
    ui.answerModal(nullptr);
    EXPECT_EQ(platform::ui().showModal(dialog), ModalResult::Ok);
    EXPECT_EQ(seenTitle, "Preferences");
    EXPECT_EQ(platform::ui().showModal(dialog), ModalResult::Ok) << "an empty handler just presses OK";
}
