#include "help/HelpApi.h"
#include "help/HelpVersion.h"

#include <gtest/gtest.h>
#include <set>

using namespace help;

namespace
{

class HelpApiTest : public ::testing::Test
{
protected:
    void SetUp() override { UnloadHtmlHelp(); }
    void TearDown() override
    {
        UnloadHtmlHelp();
        SetModuleLoader({});
    }

    HelpControlLocation Location(std::set<std::string> files, std::optional<std::string> registry)
    {
        HelpControlLocation where;
        where.registryValue = std::move(registry);
        where.windowsFolder = "C:\\WINDOWS";
        where.systemFolder = "C:\\WINDOWS\\System32";
        where.fileExists = [files](const std::string& f) { return files.count(f) > 0; };
        return where;
    }
};

HtmlHelpModule Module(const std::string& file, int id)
{
    HtmlHelpModule m;
    m.file = file;
    m.htmlHelpA = [id](void*, const std::string&, unsigned, uintptr_t) -> HelpWindowResult {
        return reinterpret_cast<void*>(static_cast<uintptr_t>(id));
    };
    m.version = "1.0.0." + std::to_string(id);
    return m;
}

} // namespace

TEST_F(HelpApiTest, SystemRootPlaceholderInAnyCaseIsTheWindowsFolder)
{
    EXPECT_EQ(ExpandSystemRoot("%SYSTEMROOT%\\System32\\hhctrl.ocx", "C:\\WINDOWS"),
        "C:\\WINDOWS\\System32\\hhctrl.ocx");
    EXPECT_EQ(ExpandSystemRoot("%SystemRoot%\\x", "C:\\WIN"), "C:\\WIN\\x");
    // Twelve characters or fewer, or another placeholder: unchanged.
    EXPECT_EQ(ExpandSystemRoot("%SYSTEMROOT%", "C:\\WIN"), "C:\\WIN");
    EXPECT_EQ(ExpandSystemRoot("%SYSTEMROO", "C:\\WIN"), "%SYSTEMROO");
    EXPECT_EQ(
        ExpandSystemRoot("%WINDIR%\\System32\\hhctrl.ocx", "C:\\WIN"), "%WINDIR%\\System32\\hhctrl.ocx");
}

TEST_F(HelpApiTest, RegistryPathThatDoesNotExistFallsBackToTheSystemFolder)
{
    const std::string registered = "%SYSTEMROOT%\\System32\\hhctrl.ocx";
    EXPECT_EQ(FindHHCtrlPath(Location({ "C:\\WINDOWS\\System32\\hhctrl.ocx" }, registered)),
        "C:\\WINDOWS\\System32\\hhctrl.ocx");
    EXPECT_EQ(FindHHCtrlPath(Location({}, std::string("D:\\gone\\hhctrl.ocx"))),
        "C:\\WINDOWS\\System32/hhctrl.ocx");
    EXPECT_EQ(FindHHCtrlPath(Location({}, std::nullopt)), "C:\\WINDOWS\\System32/hhctrl.ocx");
}

TEST_F(HelpApiTest, LoadingTwiceKeepsTheFirstModuleAndUnloadingTwiceIsHarmless)
{
    int loads = 0;
    SetModuleLoader([&](const std::string& name) -> std::optional<HtmlHelpModule> {
        ++loads;
        return Module(name, loads);
    });
    LoadHtmlHelp();
    LoadHtmlHelp();
    EXPECT_EQ(loads, 1);
    ASSERT_TRUE(HtmlHelpLoaded());
    EXPECT_EQ(HtmlHelpVersion(), "1.0.0.1");
    EXPECT_EQ(*HtmlHelpProc()(nullptr, "", 0, 0), reinterpret_cast<void*>(1));

    UnloadHtmlHelp();
    UnloadHtmlHelp();
    EXPECT_FALSE(HtmlHelpLoaded());
    EXPECT_FALSE(HtmlHelpProc());
    LoadHtmlHelp();
    EXPECT_EQ(loads, 2);
}

TEST_F(HelpApiTest, PlainNameFailingLoadsFromTheRegisteredPath)
{
    std::vector<std::string> asked;
    SetModuleLoader([&](const std::string& name) -> std::optional<HtmlHelpModule> {
        asked.push_back(name);
        if (name == "hhctrl.ocx")
            return std::nullopt;
        return Module(name, 7);
    });
    LoadHtmlHelp(
        Location({ "C:\\WINDOWS\\System32\\hhctrl.ocx" }, std::string("%SYSTEMROOT%\\System32\\hhctrl.ocx")));
    EXPECT_EQ(asked, (std::vector<std::string> { "hhctrl.ocx", "C:\\WINDOWS\\System32\\hhctrl.ocx" }));
    EXPECT_TRUE(HtmlHelpLoaded());

    UnloadHtmlHelp();
    asked.clear();
    LoadHtmlHelp(Location({}, std::nullopt)); // no control anywhere
    EXPECT_EQ(asked, std::vector<std::string> { "hhctrl.ocx" });
    EXPECT_FALSE(HtmlHelpLoaded());
}

TEST(HelpVersion, FixedVersionRecordOfAnExecutable)
{
    std::string bytes = "MZ....";
    while (bytes.size() % 4)
        bytes.push_back('\0');
    // Signature, structure version, then 6.0 and 2900.2180.
    const unsigned char record[] = { 0xBD, 0x04, 0xEF, 0xFE, 0, 0, 1, 0, 0, 0, 6, 0, 0x84, 0x08, 0x54, 0x0B };
    bytes.append(reinterpret_cast<const char*>(record), sizeof record);
    const FileVersion v = VersionFromBytes(bytes);
    EXPECT_EQ(v.text, "6.0.2900.2180");
    EXPECT_EQ(GetIEFriendlyVersion(v), "Internet Explorer 6 (Windows XP SP2)");
    // Cut short or off its boundary: no version.
    EXPECT_EQ(VersionFromBytes(bytes.substr(0, bytes.size() - 1)).text, "");
    EXPECT_EQ(VersionFromBytes("x" + bytes).text, "");
    EXPECT_EQ(GetFileVersion("/nonexistent/Shdocvw.dll").text, "");
}

TEST(HelpVersion, FriendlyNamesAtTheirThresholds)
{
    auto help = [](std::array<int, 4> p) { return GetHelpFriendlyVersion(FileVersion { p, "x" }); };
    EXPECT_EQ(help({ 5, 2, 3669, 1 }), "> 1.4a");
    EXPECT_EQ(help({ 5, 2, 3669, 0 }), "1.4a");
    EXPECT_EQ(help({ 5, 2, 3668, 0 }), "1.4");
    EXPECT_EQ(help({ 5, 2, 3625, 9 }), "1.33");
    EXPECT_EQ(help({ 4, 72, 7290, 0 }), "1.0");
    EXPECT_EQ(help({ 4, 72, 7289, 0 }), "< 1.0");
    EXPECT_EQ(GetHelpFriendlyVersion(FileVersion {}), "");

    auto ie = [](std::array<int, 4> p, std::string text = "x") {
        return GetIEFriendlyVersion(FileVersion { p, text });
    };
    EXPECT_EQ(ie({ 7, 0, 5730, 11 }, "7.0.5730.11"), ">= Internet Explorer 7.0.5730.11");
    EXPECT_EQ(ie({ 6, 0, 3790, 0 }), "Internet Explorer 6 (Windows Server 2003)");
    EXPECT_EQ(ie({ 5, 50, 4134, 600 }), "Internet Explorer 5.5");
    EXPECT_EQ(ie({ 4, 40, 308, 0 }), "Internet Explorer 1.0 (Plus!)");
    EXPECT_EQ(ie({ 4, 40, 307, 0 }), "< Internet Explorer 1.0 (Plus!)");

    EXPECT_EQ(CompareVersion({ 1, 2, 3, 4 }, { 1, 2, 3, 4 }), 0);
    EXPECT_EQ(CompareVersion({ 1, 2, 4, 0 }, { 1, 2, 3, 9 }), 1);
    EXPECT_EQ(CompareVersion({ 1, 1, 9, 9 }, { 1, 2, 0, 0 }), -1);
}
