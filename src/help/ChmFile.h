#pragma once
// A compiled HTML help file (".chm") read through chmlib: its pages, its
// default topic and title, and the context map that turns a help context
// number into a topic.
//
// The context map is held in two internal files. "/#IVB" begins with a
// 32-bit byte count, then pairs of 32-bit little-endian values: the context
// number and the offset of the topic's name in "/#STRINGS", a block of
// NUL-terminated names. "/#SYSTEM" is a 32-bit version followed by records
// of a 16-bit code, a 16-bit length and the data; code 2 is the default
// topic, code 3 the title. Checked against files from Microsoft's compiler
// and from chmcmd, which stores the map's names as absolute paths of the
// project folder it compiled in: a name that is not a page of the file is
// therefore matched by its trailing path parts.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace help
{

// Context number -> the name "/#STRINGS" gives for it. Bytes that end early
// or offsets outside the strings are skipped, never read past.
std::map<uint32_t, std::string> ParseContextMap(std::string_view ivb, std::string_view strings);

struct ChmSystemInfo {
    std::string defaultTopic;
    std::string title;
};
std::optional<ChmSystemInfo> ParseSystemInfo(std::string_view system);

class ChmFile
{
public:
    // nullptr when the file is missing, is not a help file or has a
    // damaged directory (one whose walk would not end, or that names an
    // object twice or more objects than the file has room for).
    static std::unique_ptr<ChmFile> Open(const std::string& path);
    // How many times its stored size a compressed object may grow: far
    // beyond what compressing text and pictures gives, so that a larger
    // length can only come from a damaged directory.
    static constexpr uint64_t kMaxExpansion = 1024;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // The object at `path` ("/index.htm"; a name without the leading '/'
    // is taken from the root); nullopt when the file holds none, or when
    // its length does not fit the file (see kMaxExpansion).
    std::optional<std::string> Read(const std::string& path) const;
    bool Contains(const std::string& path) const;
    // Every page (".htm" or ".html" object), sorted.
    const std::vector<std::string>& Pages() const { return pages_; }

    // The page of a help context, as an object path, or nullopt.
    std::optional<std::string> TopicOfContext(uint32_t context) const;
    const std::map<uint32_t, std::string>& Contexts() const { return contexts_; }
    // The default topic as an object path ("/" + name), empty when none.
    std::string DefaultTopic() const;
    const std::string& Title() const { return system_.title; }
    const std::string& Path() const { return path_; }

    // A name from the file's own tables resolved to one of its objects: as
    // it stands, then with its leading folders dropped one at a time.
    std::optional<std::string> Resolve(const std::string& name) const;

private:
    ChmFile(chmFile* handle, std::string path);
    chmFile* handle_;
    std::string path_;
    uint64_t size_ = 0;
    std::vector<std::string> pages_;
    std::map<uint32_t, std::string> contexts_;
    ChmSystemInfo system_;
};

} // namespace help
