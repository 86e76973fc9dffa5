#include "help/HelpText.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace help;

TEST(HelpText, PositionsAndReplacementsCountFromOne)
{
    EXPECT_EQ(StrPosPtr("b", "abcb"), 2);
    EXPECT_EQ(StrPosPtr("x", "abc"), 0);
    EXPECT_EQ(StrPosPtr("", "abc"), 0);

    std::string text = "a%20b%20c";
    EXPECT_EQ(StrReplaceFirst(text, "%20", " "), 2);
    EXPECT_EQ(text, "a b%20c");
    EXPECT_EQ(StrReplaceFirst(text, "zz", "y"), 0);

    // A replacement that contains the searched text is not searched again.
    text = "aaa";
    EXPECT_EQ(StrReplaceAll(text, "a", "aa"), 3);
    EXPECT_EQ(text, "aaaaaa");
    EXPECT_EQ(StrReplaceAll(text, "", "x"), 0);
}

TEST(HelpText, StripsAndPaths)
{
    EXPECT_EQ(DosToUnixPath("sub\\dir\\page.htm"), "sub/dir/page.htm");
    EXPECT_EQ(StripLeadingChar("  a b ", ' '), "a b ");
    EXPECT_EQ(StripTrailingChar("  a b ", ' '), "  a b");
    EXPECT_EQ(StripChar("  a b ", ' '), "a b");
    EXPECT_EQ(StripChar("   ", ' '), "");
    EXPECT_EQ(StringOfCharN('=', -1), "");
}

TEST(HelpText, ErrorTextsOfPlatformCodes)
{
    EXPECT_EQ(LastErrorText(1392), "[Error:1392] Corrupt File Or Disk");
    EXPECT_EQ(LastErrorText(0), "[Error:0] General Failure");
    EXPECT_EQ(LastErrorText(PlatformErrorFromErrno(ENOENT)), "[Error:2] File Not Found");
    EXPECT_EQ(LastErrorText(PlatformErrorFromErrno(EACCES)), "[Error:5] Access Denied");
}
