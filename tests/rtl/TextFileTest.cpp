#include "rtl/TextFile.h"

#include "rtl/Paths.h"

#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rtl;
using kvtest::TempDir;

namespace
{

std::vector<std::string> AllLines(std::string contents)
{
    TextReader reader(std::move(contents));
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(TextFileTest, ReaderTakesCrLfAndLfLineEnds)
{
    EXPECT_EQ(AllLines("a\r\nb\nc\r\n"), (Lines { "a", "b", "c" }));
    EXPECT_EQ(AllLines("last line has no end"), (Lines { "last line has no end" }));
    EXPECT_EQ(AllLines("\r\n\r\nx"), (Lines { "", "", "x" }));
    // A lone CR is not a line end.
    EXPECT_EQ(AllLines("a\rb\n"), (Lines { "a\rb" }));
    EXPECT_EQ(AllLines(""), Lines {});
    // Latin-1 bytes come through unchanged.
    EXPECT_EQ(AllLines("51\xB0 30'\r\n"), (Lines { "51\xB0 30'" }));
}

TEST(TextFileTest, ReadingPastTheEndGivesEmptyLinesAndZeros)
{
    TextReader reader("only\r\n");
    EXPECT_FALSE(reader.eof());
    EXPECT_EQ(reader.readLine(), "only");
    EXPECT_TRUE(reader.eof());
    std::string line = "stale";
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
    bool ok = true;
    EXPECT_EQ(reader.readRealLine(&ok), 0.0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(reader.readIntLine(&ok), 0);
    EXPECT_FALSE(ok);
}

TEST(TextFileTest, UnparsableNumberLineReadsZeroAndKeepsTheNextLine)
{
    TextReader reader("12\r\nabc\r\n 3.50000000000000E+0000\r\n4800 baud\nname\n");
    bool ok = false;
    EXPECT_EQ(reader.readIntLine(&ok), 12);
    EXPECT_TRUE(ok);
    EXPECT_EQ(reader.readRealLine(&ok), 0.0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(reader.readRealLine(&ok), 3.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(reader.readIntLine(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(reader.readLine(), "name");
}

TEST(TextFileTest, OpenFindsFilesWhateverTheirCase)
{
    TempDir dir;
    dir.write("ZUDEVE.CFG", "1\r\n2\r\n");
    TextReader reader;
    ASSERT_TRUE(reader.open(dir.file("zudeve.cfg")));
    EXPECT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.readIntLine(), 1);

    EXPECT_FALSE(reader.open(dir.file("missing.cfg")));
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_FALSE(ReadAllLines(dir.file("missing.cfg")).has_value());
    EXPECT_FALSE(ReadFileBytes(dir.path()).has_value()) << "a folder is not a file";
    EXPECT_EQ(ReadAllLines(dir.file("Zudeve.cfg")), (Lines { "1", "2" }));
}

TEST(TextFileTest, AtomicWriterWritesCrLfAndLeavesNoTemporaryFile)
{
    TempDir dir;
    dir.write("zudeve.cfg", "old contents\r\n");
    AtomicTextWriter writer;
    ASSERT_TRUE(writer.create(dir.file("zudeve.cfg")));
    writer.writeLine("first");
    writer.write("no end ");
    writer.writeLine("\xB0");
    writer.writeLine("");
    EXPECT_EQ(dir.read("zudeve.cfg"), "old contents\r\n") << "old file stays until commit";
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(dir.read("zudeve.cfg"), "first\r\nno end \xB0\r\n\r\n");
    EXPECT_EQ(dir.list(), (Lines { "zudeve.cfg" }));
    EXPECT_EQ(writer.targetPath(), dir.file("zudeve.cfg"));
}

// A save killed part way (the process gone without a word) leaves its
// temporary file; the next save of that file takes it away, while a save
// still under way and the temporaries of other files are left alone.
TEST(TextFileTest, SaveKilledPartWayLeavesNothingAfterTheNextSave)
{
    TempDir dir;
    dir.write("harbour.cht", "old chart");
    for (const char* name : { "harbour.cht", "harbour.cfg" }) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AtomicTextWriter killed;
            killed.create(dir.file(name));
            killed.write("half a chart");
            ::_exit(0); // no destructor runs, as under a kill
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
    }
    ASSERT_EQ(dir.list().size(), 3u) << "each killed save left its temporary file";

    AtomicTextWriter underWay;
    ASSERT_TRUE(underWay.create(dir.file("harbour.cht")));
    underWay.write("later chart");
    ASSERT_TRUE(WriteFileAtomic(dir.file("harbour.cht"), "new chart"));
    EXPECT_EQ(dir.read("harbour.cht"), "new chart");
    const Lines left = dir.list();
    ASSERT_EQ(left.size(), 3u);
    EXPECT_TRUE(left[0].starts_with("harbour.cfg.tmp")) << "another file's temporary stays";
    EXPECT_EQ(left[1], "harbour.cht");
    EXPECT_TRUE(left[2].starts_with("harbour.cht.tmp" + std::to_string(::getpid()))) << "the save under way keeps its file";
    EXPECT_EQ(ListFolder(dir.path(), ".cht"), Lines { "harbour.cht" });

    ASSERT_TRUE(underWay.commit());
    ASSERT_TRUE(WriteFileAtomic(dir.file("harbour.cfg"), "config"));
    EXPECT_EQ(dir.list(), (Lines { "harbour.cfg", "harbour.cht" }));
    EXPECT_EQ(dir.read("harbour.cht"), "later chart");
}

TEST(TextFileTest, AtomicWriterReplacesAnExistingFileOfAnotherCase)
{
    TempDir dir;
    dir.write("KVAIS.ADB", "old");
    ::chmod(dir.file("KVAIS.ADB").c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomic(dir.file("kvais.adb"), "new"));
    EXPECT_EQ(dir.list(), (Lines { "KVAIS.ADB" }));
    EXPECT_EQ(dir.read("KVAIS.ADB"), "new");
    struct stat st;
    ASSERT_EQ(::stat(dir.file("KVAIS.ADB").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "permissions of the replaced file are kept";
}

TEST(TextFileTest, FailedCreateOrCommitKeepsTheOldFile)
{
    TempDir dir;
    AtomicTextWriter missingFolder;
    EXPECT_FALSE(missingFolder.create(dir.file("nofolder/zudeve.cfg")));
    missingFolder.writeLine("ignored");
    EXPECT_FALSE(missingFolder.commit());
    EXPECT_TRUE(dir.list().empty());

    // The target is a folder: the rename fails and the temporary file goes.
    dir.makeFolder("charts");
    dir.write("charts/keep.cht", "chart");
    EXPECT_FALSE(WriteFileAtomic(dir.file("charts"), "x"));
    EXPECT_EQ(dir.list(), (Lines { "charts" }));
    EXPECT_EQ(dir.read("charts/keep.cht"), "chart");

    // Abandoned without commit.
    dir.write("route.rte", "old route");
    {
        AtomicTextWriter writer;
        ASSERT_TRUE(writer.create(dir.file("route.rte")));
        writer.writeLine("half");
    }
    EXPECT_EQ(dir.read("route.rte"), "old route");
    EXPECT_EQ(dir.list(), (Lines { "charts", "route.rte" }));
}

namespace
{

// Runs `write` as on a full disk: a file-size limit of `bytes` stops it for
// root too. The writer runs in a child process so the limit stays there; with
// SIGXFSZ ignored the write returns EFBIG instead of killing the child. True
// when the write said it failed.
template <typename Write> bool FailsOnAFullDisk(rlim_t bytes, Write write)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { bytes, bytes };
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        ::_exit(write() ? 1 : 0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)
        && WEXITSTATUS(status) == 0;
}

} // namespace

// A write that fails half way keeps the old file.
TEST(TextFileTest, WriteCutShortKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.write("zudeve.cfg", "old\r\n");
    EXPECT_TRUE(FailsOnAFullDisk(16, [&] { return WriteFileAtomic(path, std::string(4096, 'n')); }));
    EXPECT_EQ(dir.read("zudeve.cfg"), "old\r\n");
    EXPECT_EQ(dir.list(), (Lines { "zudeve.cfg" }));
}

// Appended lines go in whole or not at all: a write cut short by a full disk
// is taken back.
TEST(TextFileTest, AppendLinesAddsWholeLinesOrNone)
{
    TempDir dir;
    ASSERT_TRUE(AppendLines(dir.file("12-05-24.txt"), { "Log Date : 12-05-24" }));
    ASSERT_TRUE(AppendLines(dir.file("12-05-24.TXT"), { "a", "" }, AppendTo::ExistingFile));
    EXPECT_EQ(dir.list(), (Lines { "12-05-24.txt" }));
    EXPECT_EQ(dir.read("12-05-24.txt"), "Log Date : 12-05-24\r\na\r\n\r\n");
    EXPECT_FALSE(AppendLines(dir.file("missing/x.txt"), { "a" }));
    EXPECT_FALSE(AppendLines(dir.file("day.AIS"), { "a" }, AppendTo::ExistingFile));
    EXPECT_FALSE(dir.exists("day.AIS"));
    // A last line cut short by an older writer is ended first.
    dir.write("cut.AIS", "AIS Log Date : 12-05-24\r\n!AIVDM,1,");
    ASSERT_TRUE(AppendLines(dir.file("cut.AIS"), { "!AIVDM,1,1" }, AppendTo::ExistingFile));
    EXPECT_EQ(dir.read("cut.AIS"), "AIS Log Date : 12-05-24\r\n!AIVDM,1,\r\n!AIVDM,1,1\r\n");

    const std::string path = dir.write("full.AIS", "AIS Log Date : 12-05-24\r\n");
    EXPECT_TRUE(FailsOnAFullDisk(40, [&] {
        return AppendLines(
            path, { "!AIVDM,1,1,,B,13aDp<PP000IwSlN?Wm@0?wN2<1T,0*29" }, AppendTo::ExistingFile);
    }));
    EXPECT_EQ(dir.read("full.AIS"), "AIS Log Date : 12-05-24\r\n");
}

namespace
{

// Runs `open` on a FIFO with nothing at its other end. Code that opens it as
// a file would block forever: after two seconds the FIFO's other end is
// opened and closed, which frees the call, and the test fails.
template <typename Open> void ExpectRefusedAtOnce(const std::string& fifo, Open open)
{
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    auto done = std::async(std::launch::async, open);
    if (done.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        ADD_FAILURE() << "blocked on the FIFO";
        for (int i = 0; i < 50 && done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready;
             ++i) {
            const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    }
    EXPECT_FALSE(done.get()) << fifo;
}

} // namespace

TEST(TextFileTest, FifoOrOtherNonRegularFileIsRefusedAtOnce)
{
    TempDir dir;
    ExpectRefusedAtOnce(
        dir.file("chart.cfg"), [&] { return ReadFileBytes(dir.file("chart.cfg")).has_value(); });
    ExpectRefusedAtOnce(
        dir.file("day.txt"), [&] { return ForEachLine(dir.file("day.txt"), [](std::string_view) {}); });
    ExpectRefusedAtOnce(dir.file("day.ais"), [&] { return AppendLines(dir.file("day.ais"), { "x" }); });
    ExpectRefusedAtOnce(dir.file("a.adb"), [&] {
        std::FILE* f = OpenRegularFile(dir.file("a.adb"), "r+b");
        if (f)
            std::fclose(f);
        return f != nullptr;
    });
    EXPECT_EQ(OpenRegularFile(dir.path(), "rb"), nullptr);
}

TEST(TextFileTest, ForEachLineReadsAsTheReaderWithoutHoldingTheFile)
{
    TempDir dir;
    const std::string text = "a\r\nb\n\r\nc\rd\r\n" + std::string(70000, 'x') + "\r\n\r\nlast\r";
    dir.write("lines.txt", text);
    Lines lines;
    ASSERT_TRUE(ForEachLine(dir.file("lines.txt"), [&](std::string_view line) { lines.emplace_back(line); }));
    Lines expected = AllLines(text);
    expected[4].resize(65536); // a line past the kept length is cut
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(ForEachLine(dir.file("missing.txt"), [](std::string_view) {}));

    // The file is read in blocks of 65536 bytes: a line end on either side
    // of a block's edge, or split across it, reads as in one piece.
    for (std::size_t before : { 65533u, 65534u, 65535u, 65536u, 65537u }) {
        for (const std::string end : { "\r\n", "\n", "\r" }) {
            const std::string edge = std::string(before, 'y') + end + "z\r\n" + std::string(3, 'w');
            dir.write("edge.txt", edge);
            for (std::size_t keep : { std::size_t(3), std::size_t(65536), std::size_t(1) << 20 }) {
                Lines got;
                ASSERT_TRUE(ForEachLine(
                    dir.file("edge.txt"), [&](std::string_view line) { got.emplace_back(line); }, keep));
                Lines want = AllLines(edge);
                for (std::string& line : want)
                    line.resize(std::min(line.size(), keep));
                EXPECT_EQ(got, want) << before << " " << end.size() << " " << keep;
            }
        }
    }
}
