#include "help/HelpFixture.h"
#include "help/HelpKeys.h"
#include "help/HelpProgram.h"
#include "support/TempDir.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <filesystem>
#include <regex>
#include <sstream>

using namespace help;
using kvtest::HelpTest;

namespace
{

// The log lines after the header, time stamps checked and cut off.
std::vector<std::string> LoggedLines(const std::string& bytes)
{
    std::vector<std::string> lines = kvtest::CrLfLines(bytes);
    std::vector<std::string> logged;
    std::size_t separators = 0;
    for (const std::string& line : lines) {
        if (separators < 2) {
            separators += line == std::string(79, '=');
            continue;
        }
        static const std::regex stamped(R"(\d\d:\d\d:\d\d   (.*))");
        std::smatch m;
        if (std::regex_match(line, m, stamped))
            logged.push_back(m[1]);
        else
            logged.push_back("unstamped: " + line);
    }
    return logged;
}

} // namespace

TEST(HelpDebugMode, SwitchesAndTheDebugFile)
{
    for (const char* on : { "/debug", "-DEBUG", "/DeBuG" })
        EXPECT_TRUE(IsDebugSwitch(on)) << on;
    for (const char* off : { "debug", "-debugx", "--debug" })
        EXPECT_FALSE(IsDebugSwitch(off)) << off;

    kvtest::TempDir dir;
    EXPECT_FALSE(DebugModeFrom(dir.path(), { "korvex", "boat.cfg" }));
    EXPECT_TRUE(DebugModeFrom(dir.path(), { "korvex", "boat.cfg", "-DEBUG" }));
    // Argument 0 is the program, never a switch.
    EXPECT_FALSE(DebugModeFrom(dir.path(), { "-debug" }));
    dir.write("debug.debug", "");
    EXPECT_TRUE(DebugModeFrom(dir.path(), { "korvex" }));

    // Nor is a switch ever the configuration file.
    using V = std::vector<std::string>;
    EXPECT_EQ(ArgumentsWithoutDebugSwitches({ "-debug" }), V {});
    EXPECT_EQ(ArgumentsWithoutDebugSwitches({ "/DEBUG", "boat.cfg" }), V { "boat.cfg" });
    EXPECT_EQ(ArgumentsWithoutDebugSwitches({ "boat.cfg", "-debug" }), V { "boat.cfg" });
}

TEST(HelpDebugMode, TemporaryFolderFallsBackToTmp)
{
    kvtest::TempDir dir;
    EXPECT_EQ(GetTempFolder(dir.path() + "/"), dir.path());
    EXPECT_EQ(GetTempFolder(dir.path() + "/missing"), "/tmp");
    EXPECT_EQ(GetTempFolder(""), "/tmp");
    EXPECT_TRUE(IsFolderWritable(dir.path()));
    EXPECT_FALSE(IsFolderWritable(dir.path() + "/missing"));
    EXPECT_FALSE(IsFolderWritable("/proc")); // read-only even for root
    EXPECT_TRUE(dir.list().empty()); // the probe file is gone
}

TEST_F(HelpTest, WithoutDebugModeNoLogIsWritten)
{
    StartHelp({ "boat.cfg" });
    TContextHelpHook hook(dir.file("KVAIS6.chm"), "", 0);
    ApplicationHelpContext(7);
    EXPECT_EQ(calls.size(), 1u); // the help works unchanged
    EXPECT_FALSE(dir.exists("HelpDebug.txt"));
    EXPECT_FALSE(tmp.exists("HelpDebug.txt"));
}

TEST_F(HelpTest, F1InTheTimingDialogInDebugModeAppendsFourLines)
{
    StartHelp({ "-DEBUG" });
    ASSERT_TRUE(dir.exists("HelpDebug.txt"));
    const std::vector<std::string> header = kvtest::CrLfLines(dir.read("HelpDebug.txt"));
    ASSERT_GE(header.size(), 27u);
    EXPECT_EQ(header[0], std::string(79, '='));
    EXPECT_EQ(header[1], "Log File:             \t" + dir.file("HelpDebug.txt"));
    EXPECT_EQ(header[8], std::string(79, '-'));
    EXPECT_EQ(header[11], "Cmdline Param(s) =  \t-DEBUG");
    EXPECT_EQ(header[19], "_hhInstalled =      \tYES");
    EXPECT_EQ(header[20], "_hhVerStr =         \t1.0.0.0");
    EXPECT_EQ(header[23], "_ieInstalled =      \tNO");
    EXPECT_EQ(header.back(), std::string(79, '='));

    const std::string file = dir.file("KVAIS6.chm");
    auto hook = std::make_unique<TContextHelpHook>(file, "", 0);
    QDialog timing;
    timing.setWindowTitle("Timing Functions");
    SetHelpContext(&timing, 7);
    kvtest::PressF1(*new QLineEdit(&timing));
    hook.reset();

    EXPECT_EQ(LoggedLines(dir.read("HelpDebug.txt")),
        (std::vector<std::string> {
            "TContextHelpHook.Create(\"" + file + "\",\"\", 0)",
            "TContextHelpHook.HelpHook(HELP_CONTEXT (1), 7)",
            "HelpShowContextId(\"" + file + "\", 7, \"\", 0)",
            "ShowContext(\"" + file + "\", 7)",
            "  returned - 0",
            "TContextHelpHook.Destroy",
        }));
}

TEST_F(HelpTest, ReadOnlyProgramFolderPutsTheLogInTheTemporaryFolder)
{
    StartHelp({ "/debug" }, "1.0.0.0", "/proc");
    EXPECT_EQ(HelpInfo().logFolder, tmp.path());
    ASSERT_NE(HelpLog(), nullptr);
    EXPECT_EQ(HelpLog()->FileName(), tmp.file("HelpDebug.txt"));
    EXPECT_TRUE(tmp.exists("HelpDebug.txt"));
}

TEST_F(HelpTest, SeparatorsAndUnstampedLines)
{
    StartHelp({ "-debug" });
    TDebugLogFile log(tmp.file("own.txt"), TDebugLogFile::Options { false, false, false, true });
    log.WriteLine("-");
    log.WriteLine("=");
    log.WriteLine("!label");
    log.WriteLine("");
    log.WriteLine("text");
    EXPECT_EQ(kvtest::CrLfLines(tmp.read("own.txt")),
        (std::vector<std::string> { std::string(79, '-'), std::string(79, '='), "label", "", "text" }));
}

TEST_F(HelpTest, LogFollowsNoLinkAndRemovesOnlyItsOwnFile)
{
    namespace fs = std::filesystem;
    // A link planted where the log will go points at someone's file.
    const std::string victim = dir.write("victim.txt", "precious\n");
    fs::create_symlink(victim, tmp.file("HelpDebug.txt"));
    ::chmod(victim.c_str(), 0444);
    StartHelp({ "-debug" }, "1.0.0.0", "/proc");
    HelpDebugOut("line %d", 1);
    EXPECT_EQ(dir.read("victim.txt"), "precious\n");
    EXPECT_TRUE(fs::is_symlink(tmp.file("HelpDebug.txt")));
    EXPECT_EQ(fs::status(victim).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    HelpFuncsDone();

    // A file of the same name that is not our log stays.
    fs::remove(tmp.file("HelpDebug.txt"));
    tmp.write("HelpDebug.txt", "notes\r\n");
    StartHelp({}, "1.0.0.0", "/proc");
    EXPECT_EQ(tmp.read("HelpDebug.txt"), "notes\r\n");
    HelpFuncsDone();

    // Our log of the last run goes at the next start, also without debug mode.
    fs::remove(tmp.file("HelpDebug.txt"));
    StartHelp({ "-debug" }, "1.0.0.0", "/proc");
    HelpFuncsDone();
    ASSERT_TRUE(tmp.exists("HelpDebug.txt"));
    StartHelp({}, "1.0.0.0", "/proc");
    EXPECT_FALSE(tmp.exists("HelpDebug.txt"));
}
