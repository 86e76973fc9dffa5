#include "rtl/TextFile.h"

#include "rtl/Numbers.h"
#include "rtl/Paths.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rtl
{

namespace
{

// Opens `path` (used as it stands) only when it is a regular file or does not
// exist yet: a FIFO, device or socket given as a chart, log or database would
// block the program forever in open() or read(). -1 with errno set otherwise.
int OpenRegular(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Reads what is left of fd in blocks, handing each to `take`; false on a
// read error.
template <typename Take> bool ReadBlocks(int fd, Take take)
{
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        take(std::string_view(buf, static_cast<std::size_t>(n)));
    }
}

} // namespace

std::FILE* OpenRegularFile(const std::string& path, const char* mode)
{
    const std::string_view m(mode);
    int flags = O_RDONLY;
    if (m.starts_with("r+"))
        flags = O_RDWR;
    else if (m.starts_with("a+"))
        flags = O_RDWR | O_CREAT | O_APPEND;
    else if (m.starts_with("a"))
        flags = O_WRONLY | O_CREAT | O_APPEND;
    else if (m.starts_with("w+"))
        flags = O_RDWR | O_CREAT | O_TRUNC;
    else if (m.starts_with("w"))
        flags = O_WRONLY | O_CREAT | O_TRUNC;
    const int fd = OpenRegular(path, flags);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, mode);
    if (!file)
        ::close(fd);
    return file;
}

bool ForEachLine(
    const std::string& path, const std::function<void(std::string_view)>& onLine, std::size_t keep)
{
    const int fd = OpenRegular(OpenPath(path), O_RDONLY);
    if (fd < 0)
        return false;
    LineSplitter lines(keep);
    const bool ok = ReadBlocks(fd, [&](std::string_view block) { lines.feed(block, onLine); });
    ::close(fd);
    if (ok && lines.hasPartial())
        onLine(lines.partial());
    return ok;
}

void AppendedReader::forget()
{
    known_ = false;
    offset_ = 0;
    head_.clear();
}

bool AppendedReader::read(const std::string& path, const std::function<void()>& restart,
    const std::function<void(std::string_view)>& take)
{
    // The first bytes are compared at every read: a log rewritten in place
    // under a new header is a new file even when it has grown past the old.
    constexpr std::size_t kHeadBytes = 64;
    const int fd = OpenRegular(OpenPath(path), O_RDONLY);
    struct stat st {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        if (known_)
            restart();
        forget();
        return false;
    }
    bool same = known_ && path == path_ && uint64_t(st.st_dev) == device_ && uint64_t(st.st_ino) == inode_
        && uint64_t(st.st_size) >= offset_;
    if (same && !head_.empty()) {
        std::string head(head_.size(), '\0');
        same = ::pread(fd, head.data(), head.size(), 0) == ssize_t(head.size()) && head == head_;
    }
    if (!same) {
        if (known_)
            restart();
        forget();
        known_ = true;
        path_ = path;
        device_ = uint64_t(st.st_dev);
        inode_ = uint64_t(st.st_ino);
    }
    bool ok = ::lseek(fd, off_t(offset_), SEEK_SET) == off_t(offset_);
    ok = ok && ReadBlocks(fd, [&](std::string_view block) {
        if (head_.size() < kHeadBytes)
            head_.append(block.substr(0, kHeadBytes - head_.size()));
        offset_ += block.size();
        take(block);
    });
    ::close(fd);
    if (!ok) {
        restart();
        forget();
    }
    return ok;
}

TextReader::TextReader(std::string contents)
    : data_(std::move(contents))
    , open_(true)
{
}

bool TextReader::open(const std::string& path)
{
    auto bytes = ReadFileBytes(path);
    open_ = bytes.has_value();
    data_ = open_ ? std::move(*bytes) : std::string();
    pos_ = 0;
    return open_;
}

bool TextReader::eof() const
{
    return pos_ >= data_.size();
}

bool TextReader::readLine(std::string& line)
{
    if (eof()) {
        line.clear();
        return false;
    }
    std::size_t end = data_.find('\n', pos_);
    const std::size_t next = end == std::string::npos ? data_.size() : end + 1;
    if (end == std::string::npos)
        end = data_.size();
    else if (end > pos_ && data_[end - 1] == '\r')
        --end;
    line.assign(data_, pos_, end - pos_);
    pos_ = next;
    return true;
}

std::string TextReader::readLine()
{
    std::string line;
    readLine(line);
    return line;
}

namespace
{

// One line as a number; 0 when it does not parse or the file has ended.
template <typename T> T ReadNumberLine(TextReader& reader, bool* ok, bool (*parse)(std::string_view, T&))
{
    T value {};
    std::string line;
    const bool parsed = reader.readLine(line) && parse(line, value);
    if (ok)
        *ok = parsed;
    return parsed ? value : T {};
}

} // namespace

double TextReader::readRealLine(bool* ok)
{
    return ReadNumberLine<double>(*this, ok, ParseReal);
}

int64_t TextReader::readIntLine(bool* ok)
{
    return ReadNumberLine<int64_t>(*this, ok, ParseInt);
}

std::optional<std::vector<std::string>> ReadAllLines(const std::string& path)
{
    TextReader reader;
    if (!reader.open(path))
        return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

namespace
{

// The temporary file name of one save of `target`: "<target>.tmp<pid>-<n>".
constexpr std::string_view kTempMark = ".tmp";

// Removes the temporary files that saves of `target` left behind when they
// were killed part way: those whose writing process is gone. A save still
// under way, in this or another process, keeps its file.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = ExtractFilePath(target);
    const std::string prefix = ExtractFileName(target) + std::string(kTempMark);
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d)
        return;
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (!name.starts_with(prefix))
            continue;
        const std::string_view rest = name.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        int64_t pid = 0, n = 0;
        if (dash == std::string_view::npos || !ParseInt(rest.substr(0, dash), pid)
            || !ParseInt(rest.substr(dash + 1), n) || pid <= 0 || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            stale.emplace_back(name);
    }
    ::closedir(d);
    for (const std::string& name : stale)
        ::unlink((folder + name).c_str());
}

} // namespace

AtomicTextWriter::~AtomicTextWriter()
{
    if (file_) {
        std::fclose(file_);
        ::unlink(temp_.c_str());
    }
}

bool AtomicTextWriter::create(const std::string& path)
{
    if (file_) {
        std::fclose(file_);
        ::unlink(temp_.c_str());
        file_ = nullptr;
    }
    failed_ = false;
    target_ = CreatePath(path);
    RemoveStaleTemporaries(target_);
    // A name no other writer uses at the same moment: process id and a counter.
    static std::atomic<unsigned> counter { 0 };
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp_ = target_ + std::string(kTempMark) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        temp_.clear();
        failed_ = true;
        return false;
    }
    // A replaced file keeps its permissions.
    struct stat st;
    if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, st.st_mode & 07777);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        ::unlink(temp_.c_str());
        temp_.clear();
        failed_ = true;
        return false;
    }
    return true;
}

void AtomicTextWriter::write(std::string_view text)
{
    if (!file_) {
        failed_ = true;
        return;
    }
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size())
        failed_ = true;
}

void AtomicTextWriter::writeLine(std::string_view line)
{
    write(line);
    write("\r\n");
}

bool AtomicTextWriter::commit()
{
    if (!file_)
        return false;
    bool ok = !failed_;
    ok = std::fflush(file_) == 0 && ok;
    ok = ::fsync(::fileno(file_)) == 0 && ok;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok)
        ok = ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        ::unlink(temp_.c_str());
    } else {
        // The rename itself lives in the folder: sync it too, so that after a
        // power loss the file is not found under its old contents or gone.
        // A folder that cannot be synced (some file systems refuse) leaves
        // the file written all the same.
        const std::size_t slash = target_.rfind('/');
        const std::string folder = slash == std::string::npos ? "."
            : slash == 0                                      ? "/"
                                                              : target_.substr(0, slash);
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    temp_.clear();
    failed_ = !ok;
    return ok;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes)
{
    AtomicTextWriter writer;
    if (!writer.create(path))
        return false;
    writer.write(bytes);
    return writer.commit();
}

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    const int fd = OpenRegular(OpenPath(path), O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    const bool ok = ReadBlocks(fd, [&](std::string_view block) { bytes += block; });
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return bytes;
}

bool AppendLines(const std::string& path, const std::vector<std::string>& lines, AppendTo to)
{
    const int fd = to == AppendTo::AnyFile ? OpenRegular(CreatePath(path), O_RDWR | O_CREAT)
                                           : OpenRegular(OpenPath(path), O_RDWR);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    const off_t start = ok ? st.st_size : 0;
    std::string bytes;
    char last = '\n';
    if (ok && start > 0 && ::pread(fd, &last, 1, start - 1) == 1 && last != '\n')
        bytes = "\r\n";
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::pwrite(
            fd, bytes.data() + written, bytes.size() - written, start + static_cast<off_t>(written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            written += static_cast<std::size_t>(n);
    }
    // A full disk or a size limit: the lines that did not all fit are taken
    // back, so the file still ends at its last whole line.
    if (!ok && written > 0)
        (void)!::ftruncate(fd, start);
    ok = ::close(fd) == 0 && ok;
    return ok;
}

} // namespace rtl
