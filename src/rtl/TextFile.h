#pragma once
// Text files as the original runtime read and wrote them: Latin-1 bytes
// (std::string holds the bytes unchanged; the degree sign is 0xB0), lines
// written with CR LF and read with CR LF or LF.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtl
{

// Line-by-line reader over a whole file read at open. Reading past the end
// gives empty lines and numbers read as 0, as the runtime's Readln did.
class TextReader
{
public:
    TextReader() = default;
    explicit TextReader(std::string contents);

    // Opens a file (matching its name without regard to case, see
    // OpenPath). False when it does not exist or cannot be read.
    bool open(const std::string& path);
    bool isOpen() const { return open_; }

    bool eof() const;
    // Next line without its end (CR LF or LF; a lone CR stays in the line).
    // At the end of the file: false and an empty line.
    bool readLine(std::string& line);
    std::string readLine();
    // Reads a line and parses it; a line that does not parse reads as 0 and
    // reading goes on with the next line.
    double readRealLine(bool* ok = nullptr);
    int64_t readIntLine(bool* ok = nullptr);

private:
    std::string data_;
    std::size_t pos_ = 0;
    bool open_ = false;
};

// Splits bytes that arrive block by block into lines as TextReader reads
// them: LF ends a line and a CR just before it is dropped; a lone CR stays
// in the line. A line longer than `keep` is handed on cut to its first
// `keep` bytes. A line that lies whole in one block is handed on where it
// lies, without a copy.
class LineSplitter
{
public:
    explicit LineSplitter(std::size_t keep = 65536)
        : keep_(keep)
    {
    }

    template <typename OnLine> void feed(std::string_view block, OnLine&& onLine)
    {
        while (!block.empty()) {
            const void* lf = std::memchr(block.data(), '\n', block.size());
            if (!lf) {
                take(block);
                pending_ = true;
                return;
            }
            const auto end = static_cast<std::size_t>(static_cast<const char*>(lf) - block.data());
            std::string_view whole = block.substr(0, end);
            if (!pending_ && end <= keep_) {
                if (whole.ends_with('\r'))
                    whole.remove_suffix(1);
                onLine(whole);
            } else {
                take(whole);
                if (!cut_ && line_.ends_with('\r'))
                    line_.pop_back();
                onLine(std::string_view(line_));
                line_.clear();
                pending_ = cut_ = false;
            }
            block.remove_prefix(end + 1);
        }
    }

    // The bytes after the last LF (cut to `keep`): a last line without its
    // end, as a reader of the whole file would take it.
    bool hasPartial() const { return pending_; }
    const std::string& partial() const { return line_; }

private:
    void take(std::string_view bytes)
    {
        const std::size_t room = line_.size() < keep_ ? keep_ - line_.size() : 0;
        if (bytes.size() > room)
            cut_ = true;
        line_.append(bytes.substr(0, room));
    }

    std::size_t keep_;
    std::string line_; // the start of a line that runs on past a block
    bool pending_ = false; // bytes of a line without its LF yet
    bool cut_ = false; // the line ran past `keep`
};

// Hands each line of a file (matched as OpenPath matches) to `onLine`, as
// TextReader reads it, while reading the file block by block: a huge file
// costs one block and one line of memory, and a line longer than `keep` is
// handed on cut to its first `keep` bytes. False when the file cannot be
// opened or read.
bool ForEachLine(
    const std::string& path, const std::function<void(std::string_view)>& onLine, std::size_t keep = 65536);

// A file read as it grows, such as a log that another part of the program
// appends to: each read() hands on only the bytes appended since the last
// one. A file that shrank, was replaced by another (a rename over it) or
// whose first bytes changed is read again from its start, after `restart`
// has been called so that the caller drops what it built from the old bytes.
class AppendedReader
{
public:
    // False when the file cannot be opened or read: then it is forgotten,
    // and the next read that finds it starts again (after `restart`).
    bool read(const std::string& path, const std::function<void()>& restart,
        const std::function<void(std::string_view)>& take);
    // Bytes handed on since the last start.
    uint64_t offset() const { return offset_; }

private:
    void forget();

    bool known_ = false;
    std::string path_;
    uint64_t device_ = 0, inode_ = 0, offset_ = 0;
    std::string head_; // the file's first bytes as they were read
};

// std::fopen for a file that is regular or does not exist yet (modes r, r+,
// a, a+, w, w+, with or without 'b'); `path` is used as it stands. A FIFO,
// device, socket or folder is refused at once (nullptr) instead of blocking.
std::FILE* OpenRegularFile(const std::string& path, const char* mode);

// Reads every line of a file. nullopt when the file cannot be opened.
std::optional<std::vector<std::string>> ReadAllLines(const std::string& path);

// Writes a file whole: the lines go to a temporary file beside it, and commit()
// renames that over the old file, so a failure never leaves a half-written
// file. Destroying the writer without commit() removes the temporary file;
// the temporary files of earlier saves of the same file that were killed
// part way are removed when the next save of it begins.
class AtomicTextWriter
{
public:
    AtomicTextWriter() = default;
    ~AtomicTextWriter();
    AtomicTextWriter(const AtomicTextWriter&) = delete;
    AtomicTextWriter& operator=(const AtomicTextWriter&) = delete;

    // Creates the temporary file for `path` (see CreatePath for the name
    // used). False when it cannot be created.
    bool create(const std::string& path);
    void write(std::string_view text);
    void writeLine(std::string_view line); // appends CR LF
    // Flushes, syncs and renames over the target. False on any write error.
    bool commit();
    const std::string& targetPath() const { return target_; }

private:
    std::string target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Writes a whole file atomically from bytes. False on failure (old file kept).
bool WriteFileAtomic(const std::string& path, std::string_view bytes);
// Reads a whole file as bytes. nullopt when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Appends lines, each with CR LF, to a file (matched as OpenPath matches),
// all or none: when they do not all fit (a full disk) the file is cut back
// to where it ended, so a log always ends at its last whole line. A last
// line left without its end by an older writer is ended first, so the new
// lines are not glued to it. An ExistingFile append to a missing file fails.
// False on any failure.
enum class AppendTo { AnyFile, ExistingFile };
bool AppendLines(
    const std::string& path, const std::vector<std::string>& lines, AppendTo to = AppendTo::AnyFile);

} // namespace rtl
