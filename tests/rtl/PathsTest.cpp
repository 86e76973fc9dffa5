#include "rtl/Paths.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace rtl;
using kvtest::TempDir;
using Names = std::vector<std::string>;

TEST(PathsTest, OpenPathMatchesEveryComponentWithoutRegardToCase)
{
    TempDir dir;
    dir.write("KVAIS.ADB", "db");
    dir.write("Charts/Home.CHT", "chart");
    EXPECT_EQ(OpenPath(dir.file("kvais.adb")), dir.file("KVAIS.ADB"));
    EXPECT_EQ(OpenPath(dir.file("charts/home.cht")), dir.file("Charts/Home.CHT"));
    EXPECT_EQ(OpenPath(dir.file("CHARTS")), dir.file("Charts"));
    // Nothing matches: the path as given.
    EXPECT_EQ(OpenPath(dir.file("charts/other.cht")), dir.file("charts/other.cht"));
    EXPECT_EQ(OpenPath(""), "");

    EXPECT_TRUE(FileExists(dir.file("kvais.ADB")));
    EXPECT_FALSE(FileExists(dir.file("charts")));
    EXPECT_TRUE(FolderExists(dir.file("charts")));
    EXPECT_FALSE(FolderExists(dir.file("kvais.adb")));
    EXPECT_FALSE(FileExists(dir.file("nothing")));
}

TEST(PathsTest, ExactNameWinsOverOtherCases)
{
    TempDir dir;
    dir.write("route.RTE", "1");
    dir.write("ROUTE.rte", "2");
    dir.write("Route.rte", "3");
    EXPECT_EQ(OpenPath(dir.file("Route.rte")), dir.file("Route.rte"));
    // No exact match: the first in byte order, the same on every call.
    EXPECT_EQ(OpenPath(dir.file("route.rte")), dir.file("ROUTE.rte"));
}

TEST(PathsTest, CreatePathKeepsGivenCaseForNewFilesAndReusesExistingOnes)
{
    TempDir dir;
    dir.write("Routes/OLD.RTE", "x");
    EXPECT_EQ(CreatePath(dir.file("routes/New.rte")), dir.file("Routes/New.rte"));
    EXPECT_EQ(CreatePath(dir.file("routes/old.rte")), dir.file("Routes/OLD.RTE"));
    EXPECT_EQ(CreatePath(dir.file("missing/New.rte")), dir.file("missing/New.rte"));
    EXPECT_EQ(CreatePath("zudeve.cfg"), "zudeve.cfg");
}

TEST(PathsTest, NamePartsSplitAtTheLastSlashAndDot)
{
    EXPECT_EQ(ExtractFilePath("zudeve.cfg"), "");
    EXPECT_EQ(ExtractFilePath("/home/kv/charts/home.cht"), "/home/kv/charts/");
    EXPECT_EQ(ExtractFileName("/home/kv/charts/home.cht"), "home.cht");
    EXPECT_EQ(ExtractFileName("home.cht"), "home.cht");
    EXPECT_EQ(ExtractFileExt("charts/home.CHT"), ".CHT");
    EXPECT_EQ(ExtractFileExt("my.charts/home"), "");
    EXPECT_EQ(ExtractFileExt("log.tar.gz"), ".gz");
    EXPECT_EQ(ChangeFileExt("charts/home.cht", ".cfg"), "charts/home.cfg");
    EXPECT_EQ(ChangeFileExt("my.charts/home", ".wpt"), "my.charts/home.wpt");
    EXPECT_EQ(ChangeFileExt("home.cht", ""), "home");

    EXPECT_EQ(JoinPath("/app/", "/KVAIS6.chm"), "/app/KVAIS6.chm");
    EXPECT_EQ(JoinPath("/app", "charts"), "/app/charts");
    EXPECT_EQ(JoinPath("/", "tmp"), "/tmp");
    EXPECT_EQ(JoinPath("", "zudeve.cfg"), "zudeve.cfg");
}

TEST(PathsTest, ListFolderFiltersByExtensionWithoutRegardToCase)
{
    TempDir dir;
    dir.write("charts/b.cfg", "");
    dir.write("charts/A.CFG", "");
    dir.write("charts/c.cht", "");
    dir.makeFolder("charts/sub.cfg");
    EXPECT_EQ(ListFolder(dir.file("Charts"), ".cfg"), (Names { "A.CFG", "b.cfg" }));
    EXPECT_EQ(ListFolder(dir.file("charts")), (Names { "A.CFG", "b.cfg", "c.cht" }));
    EXPECT_TRUE(ListFolder(dir.file("none"), ".cfg").empty());
}

TEST(PathsTest, CaseFoldingTouchesAsciiLettersOnly)
{
    EXPECT_EQ(UpperCase("abc\xE9z1"), "ABC\xE9Z1");
    EXPECT_EQ(LowerCase("ABC\xC9Z"), "abc\xC9z");
    EXPECT_TRUE(SameText("KVAIS.ADB", "kvais.adb"));
    EXPECT_FALSE(SameText("\xE9", "\xC9"));
    EXPECT_FALSE(SameText("a", "ab"));
}
