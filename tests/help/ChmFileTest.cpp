#include "help/ChmFile.h"
#include "support/TempDir.h"

#include <chm_lib.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

using namespace help;
namespace fs = std::filesystem;

namespace
{

std::string ReadFile(const fs::path& path)
{
    return kvtest::ReadBytes(path.string());
}

// A help project's context map: [ALIAS] names to pages, [MAP] numbers to
// names.
std::map<uint32_t, std::string> ProjectContexts(const fs::path& project)
{
    std::istringstream in(ReadFile(project));
    std::map<std::string, std::string> alias;
    std::map<uint32_t, std::string> contexts;
    std::string line, section;
    static const std::regex define(R"(#define\s+(\S+)\s+(\d+)\s*)");
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = line;
            continue;
        }
        std::smatch m;
        if (section == "[ALIAS]" && line.find('=') != std::string::npos)
            alias[line.substr(0, line.find('='))] = "/" + line.substr(line.find('=') + 1);
        else if (section == "[MAP]" && std::regex_match(line, m, define))
            contexts[static_cast<uint32_t>(std::stoul(m[2]))] = alias.at(m[1]);
    }
    return contexts;
}

struct HelpFile {
    const char* folder;
    const char* project;
    const char* chm;
};

constexpr HelpFile kHelpFiles[] = {
    { "help/korvex", "KVAIS6.hhp", "KVAIS6.chm" },
    { "help/gridmerk", "Gmkhelp.hhp", "Gmkhelp.chm" },
};

} // namespace

// The compiled files are committed beside their sources; a page changed
// without running scripts/make-help.sh fails here.
TEST(CompiledHelp, EveryPageReadsBackAsItsSource)
{
    for (const HelpFile& help : kHelpFiles) {
        const fs::path folder = fs::path(KV_SOURCE_DIR) / help.folder;
        auto chm = ChmFile::Open((folder / help.chm).string());
        ASSERT_TRUE(chm) << help.chm;
        std::vector<std::string> sources;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".htm")
                sources.push_back("/" + entry.path().filename().string());
        std::sort(sources.begin(), sources.end());
        EXPECT_EQ(chm->Pages(), sources) << help.chm;
        for (const std::string& page : sources)
            EXPECT_EQ(chm->Read(page), ReadFile(folder / page.substr(1))) << help.chm << page;

        // The project's context map, number for number.
        const auto contexts = ProjectContexts(folder / help.project);
        EXPECT_FALSE(contexts.empty());
        for (const auto& [context, page] : contexts)
            EXPECT_EQ(chm->TopicOfContext(context), page) << help.chm << " context " << context;
        EXPECT_EQ(chm->Contexts().size(), contexts.size());
        EXPECT_EQ(chm->DefaultTopic(), "/index.htm");

        // The demo folder's copy is the same file.
        EXPECT_EQ(ReadFile(fs::path(KV_SOURCE_DIR) / "demo" / help.chm), ReadFile(folder / help.chm))
            << help.chm;
    }
}

TEST(CompiledHelp, EveryContextTheProgramsUseHasAPage)
{
    // korvex: the main window and the help commands (1), the timing dialog
    // (7), the XTE reset question (8), the waypoint editor (12), the raster
    // viewer (18), the image reference (21), the AIS target data (24), the
    // route waypoint name (25), the preferences (32) and its pages (90 to
    // 99 but 92), the resource and log-format warnings (102, 103), the view
    // and zoom properties (112).
    auto korvex = ChmFile::Open(std::string(KV_SOURCE_DIR) + "/help/korvex/KVAIS6.chm");
    ASSERT_TRUE(korvex);
    EXPECT_EQ(korvex->Title(), "KV AIS Velta Help");
    for (uint32_t context :
        { 1, 7, 8, 12, 18, 21, 24, 25, 32, 90, 91, 93, 94, 95, 96, 97, 98, 99, 102, 103, 112 })
        EXPECT_TRUE(korvex->TopicOfContext(context)) << "context " << context;
    EXPECT_EQ(korvex->TopicOfContext(1), "/index.htm");
    EXPECT_EQ(korvex->TopicOfContext(7), "/timing.htm");
    EXPECT_FALSE(korvex->TopicOfContext(92));

    // gridmerk: its whole file, and its window's page.
    auto gridmerk = ChmFile::Open(std::string(KV_SOURCE_DIR) + "/help/gridmerk/Gmkhelp.chm");
    ASSERT_TRUE(gridmerk);
    EXPECT_EQ(gridmerk->TopicOfContext(1), "/index.htm");
}

TEST(ChmFile, MissingOrForeignFilesDoNotOpen)
{
    kvtest::TempDir dir;
    EXPECT_FALSE(ChmFile::Open(dir.file("KVAIS6.chm")));
    EXPECT_FALSE(ChmFile::Open(dir.write("KVAIS6.chm", "ITSF but not really a help file")));
    EXPECT_FALSE(ChmFile::Open(dir.path()));
}

TEST(ChmFile, ContextMapBytes)
{
    auto u32 = [](uint32_t v) {
        std::string b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return b;
    };
    const std::string strings = std::string("\0a.htm\0sub/b.htm\0", 17);
    const std::string ivb = u32(24) + u32(1) + u32(1) + u32(7) + u32(7) + u32(9) + u32(99);
    const auto map = ParseContextMap(ivb, strings);
    // The third pair points past the strings and is left out.
    EXPECT_EQ(map, (std::map<uint32_t, std::string> { { 1, "a.htm" }, { 7, "sub/b.htm" } }));
    // A count beyond the bytes, a pair cut short, nothing at all.
    EXPECT_EQ(ParseContextMap(u32(1000) + u32(1) + u32(1) + u32(7), strings).size(), 1u);
    EXPECT_TRUE(ParseContextMap(u32(8), strings).empty());
    EXPECT_TRUE(ParseContextMap("", strings).empty());
    // A name without its NUL ends at the end of the strings.
    EXPECT_EQ(ParseContextMap(u32(8) + u32(3) + u32(1), std::string("\0abc", 4)).at(3), "abc");
}

TEST(ChmFile, SystemRecords)
{
    auto rec = [](uint16_t code, const std::string& data) {
        std::string b;
        b.push_back(static_cast<char>(code & 0xFF));
        b.push_back(static_cast<char>(code >> 8));
        b.push_back(static_cast<char>(data.size() & 0xFF));
        b.push_back(static_cast<char>(data.size() >> 8));
        return b + data;
    };
    const std::string version("\3\0\0\0", 4);
    const auto info = ParseSystemInfo(
        version + rec(9, "x") + rec(2, std::string("index.htm\0", 10)) + rec(3, std::string("Help\0", 5)));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->defaultTopic, "index.htm");
    EXPECT_EQ(info->title, "Help");
    // A record longer than the bytes ends the reading.
    const auto cut = ParseSystemInfo(version + rec(2, "a.htm").substr(0, 6));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->defaultTopic, "");
    EXPECT_FALSE(ParseSystemInfo("ab"));
}

namespace
{

// KVAIS6.chm with one change to its directory. Its directory is one
// listing chunk ("PMGL") after the "ITSP" header; entries are a name
// length, the name, then space, start and length, all numbers 7 bits a
// byte, most significant first.
class DamagedCopy
{
public:
    DamagedCopy()
        : bytes_(kvtest::ReadBytes(std::string(KV_SOURCE_DIR) + "/help/korvex/KVAIS6.chm"))
    {
        const std::size_t itsp = Load32(0x48);
        chunk_ = itsp + Load32(itsp + 0x08);
        chunkSize_ = Load32(itsp + 0x10);
        itsp_ = itsp;
    }
    std::size_t Size() const { return bytes_.size(); }
    const std::string& Bytes() const { return bytes_; }

    void ChunkSize(uint32_t size) { Store32(itsp_ + 0x10, size); }
    // The listing chunk's next chunk: itself.
    void LoopListing() { Store32(chunk_ + 0x10, 0); }
    // The listing chunk made an index chunk ("PMGI") whose one entry leads
    // to itself, and made the index root.
    void LoopIndex()
    {
        const std::string entry = std::string("\1/", 2) + '\0';
        bytes_.replace(chunk_, 4, "PMGI");
        Store32(chunk_ + 4, static_cast<uint32_t>(chunkSize_ - 8 - entry.size()));
        bytes_.replace(chunk_ + 8, entry.size(), entry);
        Store32(itsp_ + 0x1C, 0);
    }
    // Rewrites the entry of `name`: the new name (same when empty), length,
    // space and start (same when none); the entries after it move within
    // the chunk's free space.
    void Entry(const std::string& name, const std::string& newName, uint64_t length,
        std::optional<uint64_t> space = std::nullopt, std::optional<uint64_t> start = std::nullopt)
    {
        const Found found = Find(name);
        const std::string& written = newName.empty() ? name : newName;
        const std::string entry = Encode(written.size()) + written + Encode(space.value_or(found.space))
            + Encode(start.value_or(found.start)) + Encode(length);
        const std::size_t end = chunk_ + chunkSize_ - Load32(chunk_ + 4);
        const std::string rest = bytes_.substr(found.end, end - found.end);
        const std::size_t grown = entry.size() + rest.size() - (end - found.begin);
        bytes_.replace(found.begin, entry.size() + rest.size(), entry + rest);
        Store32(chunk_ + 4, static_cast<uint32_t>(Load32(chunk_ + 4) - grown));
    }
    // Stores `value` at byte `at` of the object `name` (stored as it is).
    void Object(const std::string& name, std::size_t at, uint32_t value)
    {
        Store32(Load32(0x58) + Find(name).start + at, value);
    }

private:
    struct Found {
        std::size_t begin = 0, end = 0;
        uint64_t space = 0, start = 0;
    };
    Found Find(const std::string& name) const
    {
        const std::size_t end = chunk_ + chunkSize_ - Load32(chunk_ + 4);
        std::size_t at = chunk_ + 0x14;
        while (at < end) {
            Found entry;
            entry.begin = at;
            const uint64_t size = Decode(at);
            const std::string found = bytes_.substr(at, size);
            at += size;
            entry.space = Decode(at);
            entry.start = Decode(at);
            Decode(at);
            entry.end = at;
            if (found == name)
                return entry;
        }
        ADD_FAILURE() << name << " not in the directory";
        return {};
    }
    uint32_t Load32(std::size_t at) const
    {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<uint8_t>(bytes_[at + i]);
        return v;
    }
    void Store32(std::size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    uint64_t Decode(std::size_t& at) const
    {
        uint64_t v = 0;
        uint8_t b = 0;
        do {
            b = static_cast<uint8_t>(bytes_[at++]);
            v = (v << 7) | (b & 0x7F);
        } while (b & 0x80);
        return v;
    }
    static std::string Encode(uint64_t v)
    {
        std::string out(1, static_cast<char>(v & 0x7F));
        while (v >>= 7)
            out.insert(out.begin(), static_cast<char>(0x80 | (v & 0x7F)));
        return out;
    }

    std::string bytes_;
    std::size_t itsp_ = 0, chunk_ = 0, chunkSize_ = 0;
};

} // namespace

// Whatever a damaged directory says, every reader stops within the file:
// a walk that would not end, or a name given twice, keeps the file from
// opening; an object longer than the file holds reads as missing.
TEST(ChmFile, DamagedDirectoriesStopEveryReader)
{
    struct Outcome {
        bool opens = true;
        std::size_t pages = 21, contexts = 21;
        std::string defaultTopic = "/index.htm", title = "KV AIS Velta Help";
        bool indexReads = true;
    };
    const std::size_t size = DamagedCopy().Size();
    static const std::string kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
    static const std::string kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                                           "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    const uint64_t pastExpansion = ChmFile::kMaxExpansion * size + ChmFile::kMaxExpansion;
    struct Case {
        const char* what;
        std::function<void(DamagedCopy&)> damage;
        Outcome expected;
    };
    const Case cases[] = {
        { "sound", [](DamagedCopy&) {}, {} },
        { "listing leads back to itself", [](DamagedCopy& f) { f.LoopListing(); }, { .opens = false } },
        { "index leads back to itself", [](DamagedCopy& f) { f.LoopIndex(); }, { .opens = false } },
        { "a name twice", [](DamagedCopy& f) { f.Entry("/prefs_nav.htm", "/prefs_log.htm", 737); },
            { .opens = false } },
        { "a page longer than it can expand",
            [&](DamagedCopy& f) { f.Entry("/index.htm", "", pastExpansion); }, { .indexReads = false } },
        { "system records past the end of the file",
            [&](DamagedCopy& f) { f.Entry("/#SYSTEM", "", size); }, { .defaultTopic = "", .title = "" } },
        { "context numbers longer than they can expand",
            [&](DamagedCopy& f) { f.Entry("/#IVB", "", pastExpansion); }, { .contexts = 0 } },
        { "context names longer than they can expand",
            [&](DamagedCopy& f) { f.Entry("/#STRINGS", "", pastExpansion); }, { .contexts = 0 } },
        // chmlib divides by these.
        { "a compression window of 2^32 bytes",
            [](DamagedCopy& f) { f.Object(kControlData, 0x10, 0x20000); }, { .opens = false } },
        { "no compression window", [](DamagedCopy& f) { f.Object(kControlData, 0x10, 0); }, { .opens = false } },
        { "compression settings stored compressed",
            [](DamagedCopy& f) { f.Entry(kControlData, "", 28, CHM_COMPRESSED); }, { .opens = false } },
        { "compression settings past the end of the file",
            [size](DamagedCopy& f) { f.Entry(kControlData, "", 28, std::nullopt, size); }, { .opens = false } },
        { "no windows per reset", [](DamagedCopy& f) { f.Object(kControlData, 0x14, 0); }, { .opens = false } },
        { "reset blocks of no length",
            [](DamagedCopy& f) {
                f.Object(kResetTable, 0x20, 0);
                f.Object(kResetTable, 0x24, 0);
            },
            { .opens = false } },
        { "chunks longer than the file", [size](DamagedCopy& f) { f.ChunkSize(static_cast<uint32_t>(size)); },
            { .opens = false } },
        { "reset blocks shorter than a frame", [](DamagedCopy& f) { f.Object(kResetTable, 0x20, 3); },
            { .opens = false } },
    };
    for (const Case& c : cases) {
        DamagedCopy copy;
        c.damage(copy);
        kvtest::TempDir dir;
        const auto file = ChmFile::Open(dir.write("KVAIS6.chm", copy.Bytes()));
        EXPECT_EQ(bool(file), c.expected.opens) << c.what;
        if (!file || !c.expected.opens)
            continue;
        EXPECT_EQ(file->Pages().size(), c.expected.pages) << c.what;
        EXPECT_EQ(file->Contexts().size(), c.expected.contexts) << c.what;
        EXPECT_EQ(file->DefaultTopic(), c.expected.defaultTopic) << c.what;
        EXPECT_EQ(file->Title(), c.expected.title) << c.what;
        EXPECT_EQ(bool(file->Read("/index.htm")), c.expected.indexReads) << c.what;
    }

    // Found by fuzzing: a listing chunk that is its own next chunk kept the
    // page list growing without end; a window size that wraps to nothing in
    // 32 bits stopped the program on a division by zero; a reset table's
    // block length of a few bytes had chmlib read past its block buffer; a
    // chunk size of 2.5 GB had it ask for that much memory; compression
    // settings in another space than the plain one, or past the end of the
    // file, had it divide by zero.
    for (const char* found : { "listing_loops_back.chm", "window_size_wraps.chm", "reset_block_length.chm",
             "chunk_size_past_file.chm", "control_data_compressed.chm", "control_data_past_file.chm" })
        EXPECT_FALSE(ChmFile::Open(std::string(KV_SOURCE_DIR) + "/fuzz/corpus/chmfile/" + found)) << found;
}
