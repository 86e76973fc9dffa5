#include "help/HelpFixture.h"
#include "help/HelpKeys.h"
#include "support/QtWait.h"

#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <fstream>
#include <sys/stat.h>

using namespace help;
using kvtest::HelpTest;

TEST(HelpFormatPath, BuildsTheControlsPath)
{
    // The example: "%20" read as a blank, the topic's separators turned and a
    // leading '/' added, the window after '>', the prefix in front.
    EXPECT_EQ(HelpFormatPath("a%20b.chm", "sub\\page.htm", "main", true),
        "mk:@MSITStore:a b.chm::/sub/page.htm>main");
    // Nothing to change: the file reaches the control as it stands.
    EXPECT_EQ(HelpFormatPath("/app/KVAIS6.chm", "", "", false), "/app/KVAIS6.chm");
    EXPECT_EQ(HelpFormatPath("  x.chm ", " /t.htm ", "  ", false), "x.chm::/t.htm");
    EXPECT_EQ(HelpFormatPath("", "t.htm", "w", false), "/t.htm>w");
}

TEST(HelpCommandName, NamesAndNumbers)
{
    EXPECT_EQ(HelpCommandName(3), "HELP_INDEX or HELP_CONTENTS (3)");
    EXPECT_EQ(HelpCommandName(6), "?? (6)");
}

TEST_F(HelpTest, HookShowsTheContextsPageAndPassesOtherCommandsOn)
{
    StartHelp();
    bool earlierCalled = false;
    SetApplicationHelpHandler([&](uint16_t, intptr_t, bool&) {
        earlierCalled = true;
        return false;
    });
    const std::size_t defaultsBefore = DefaultHelpCommands().size();
    {
        TContextHelpHook hook(dir.file("KVAIS6.chm"), "", 0);
        EXPECT_TRUE(ApplicationHelpContext(7));
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].path, dir.file("KVAIS6.chm"));
        EXPECT_EQ(calls[0].command, HH_HELP_CONTEXT);
        EXPECT_EQ(calls[0].data, 7u);

        // A popup request shows the full page too.
        EXPECT_TRUE(ApplicationHelpCommand(HELP_CONTEXTPOPUP, 12));
        EXPECT_EQ(calls.back().data, 12u);

        // HELP_QUIT goes to the application's default handling.
        EXPECT_TRUE(ApplicationHelpCommand(HELP_QUIT, 0));
        ASSERT_EQ(DefaultHelpCommands().size(), defaultsBefore + 1);
        EXPECT_EQ(DefaultHelpCommands().back(), HELP_QUIT);

        // x in the low word, y in the high word, both signed.
        ApplicationHelpCommand(HELP_SETPOPUP_POS, (static_cast<intptr_t>(0xFFFE) << 16) | 0x0010);
        EXPECT_EQ(hook.PopupX(), 16);
        EXPECT_EQ(hook.PopupY(), -2);
        EXPECT_FALSE(earlierCalled);
        calls.clear();
    }
    // Gone: every help window closed, the earlier handler back.
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, HH_CLOSE_ALL);
    ApplicationHelpContext(1);
    EXPECT_TRUE(earlierCalled);
    SetApplicationHelpHandler({});
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(HelpTest, WithoutAControlF1SaysHelpIsNotInstalled)
{
    StartHelp({}, ""); // a control whose version cannot be read counts as absent
    TContextHelpHook hook("KVAIS6.chm", "", 0);
    QDialog dialog;
    SetHelpContext(&dialog, 7);
    kvtest::PressF1(*new QLineEdit(&dialog));

    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "MS Html Help is not installed on this PC." });
    EXPECT_EQ(ui.captions, std::vector<std::string> { "KV AIS Velta" });

    // A control that cannot make its window says the same.
    ui.clear();
    UnloadHtmlHelp();
    HelpFuncsDone();
    StartHelp();
    windowResult = std::nullopt;
    EXPECT_EQ(hook.HelpContext(7), kHelpNotInstalled);
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "MS Html Help is not installed on this PC." });
}

TEST_F(HelpTest, CloseAllChecksTheEntryItCalls)
{
    SetModuleLoader([](const std::string&) -> std::optional<HtmlHelpModule> {
        HtmlHelpModule m; // loads, but exports no entry point
        m.version = "1.0.0.0";
        return m;
    });
    LoadHtmlHelp();
    ASSERT_TRUE(HtmlHelpLoaded());
    HelpCloseAll(); // no call through an empty entry
    TContextHelpHook hook("KVAIS6.chm", "", 0);
    EXPECT_EQ(hook.HelpContext(1), kHelpNotInstalled);
}

TEST_F(HelpTest, OutsideViewersMissingFromTheWindowsFolder)
{
    StartHelp();
    EXPECT_EQ(HelpShowContextId("a.chm", 3, "", 1), kKeyHHMissing);
    EXPECT_EQ(HelpShowContextId("a.chm", 3, "", 2), kHHMissing);
    TContextHelpHook hook("a.chm", "", 2);
    EXPECT_EQ(hook.HelpContext(3), kHHMissing);
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "System file HH.EXE was not found in the Windows folder." });
    EXPECT_TRUE(calls.empty());
}

TEST_F(HelpTest, ShellExecPassesArgumentsWithoutAShell)
{
    const std::string out = tmp.file("args.txt");
    const std::string script = dir.write("viewer.sh",
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + out + ".part\"\nmv \"" + out
            + ".part\" \"" + out + "\"\n");
    ::chmod(script.c_str(), 0755);
    const std::string tricky = "a b.chm;touch " + tmp.file("owned") + "`x`$(y)";
    ASSERT_TRUE(ShellExec(script, { "-mapid", "7", tricky }));
    ASSERT_TRUE(kvtest::WaitFor([&] { return tmp.exists("args.txt"); }, 5000));
    EXPECT_EQ(tmp.read("args.txt"), "-mapid\n7\n" + tricky + "\n");
    EXPECT_FALSE(tmp.exists("owned"));

    EXPECT_FALSE(ShellExec(dir.file("HH.EXE"), { "-mapid", "7", "a.chm" }));
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "Function ShellExecute(" + dir.file("HH.EXE")
            + ", -mapid 7 a.chm)\rReturned: [Error:2] File Not Found" });
}

TEST_F(HelpTest, F1InAMessageBoxUsesItsHelpContext)
{
    StartHelp();
    TContextHelpHook hook("KVAIS6.chm", "", 0);
    QMessageBox box(QMessageBox::Question, "KV AIS Velta", "Reset XTE - Are you sure?",
        QMessageBox::Yes | QMessageBox::No);
    kvtest::PressF1(box); // no context: left to the box
    EXPECT_TRUE(calls.empty());
    {
        MessageHelpContext context(8);
        kvtest::PressF1(box);
    }
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].data, 8u);
}
