#include "help/ChmFile.h"

#include "rtl/LittleEndian.h"

#include <algorithm>
#include <chm_lib.h>
#include <filesystem>
#include <fstream>
#include <set>

namespace help
{

namespace
{

const uint8_t* Bytes(std::string_view bytes)
{
    return reinterpret_cast<const uint8_t*>(bytes.data());
}

// The NUL-terminated text at `at` (to the end when no NUL follows).
std::string TextAt(std::string_view bytes, std::size_t at)
{
    if (at >= bytes.size())
        return {};
    const std::size_t end = bytes.find('\0', at);
    return std::string(bytes.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
}

std::string ObjectPath(const std::string& name)
{
    if (!name.empty() && name.front() == '/')
        return name;
    return "/" + name;
}

bool IsPage(const std::string& path)
{
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto endsWith = [&](const std::string& tail) {
        return lower.size() >= tail.size()
            && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(".htm") || endsWith(".html");
}

// Reads pieces of the file itself, for the checks chmlib does not make.
class RawFile
{
public:
    explicit RawFile(const std::string& path)
        : in_(path, std::ios::binary)
    {
        std::error_code ec;
        size_ = std::filesystem::file_size(path, ec);
        if (ec)
            size_ = 0;
    }
    uint64_t Size() const { return size_; }
    // `count` bytes at `offset`, or nullopt when the file ends first.
    std::optional<std::string> At(uint64_t offset, uint64_t count)
    {
        if (offset > size_ || count > size_ - offset)
            return std::nullopt;
        std::string bytes(static_cast<std::size_t>(count), '\0');
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        if (!in_.read(bytes.data(), static_cast<std::streamsize>(count)))
            return std::nullopt;
        return bytes;
    }

private:
    std::ifstream in_;
    uint64_t size_ = 0;
};

// A number of the directory: 7 bits a byte, most significant first, the
// top bit set on every byte but the last.
std::optional<uint64_t> ReadEncodedInt(std::string_view bytes, std::size_t& at)
{
    uint64_t value = 0;
    for (int i = 0; i < 9 && at < bytes.size(); ++i) {
        const auto byte = static_cast<uint8_t>(bytes[at++]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return value;
    }
    return std::nullopt;
}

// The entries of a directory chunk: from its header of `header` bytes to
// where its free space at the chunk's end begins (the whole chunk when the
// free space it states cannot be).
std::string_view ChunkEntries(const std::string& chunk, uint32_t chunkSize, uint32_t header)
{
    const uint32_t free = rtl::LoadLE<uint32_t>(Bytes(chunk) + 0x04);
    return std::string_view(chunk.data(), free <= chunkSize - header ? chunkSize - free : chunkSize);
}

// The directory is a run of fixed-size chunks after the "ITSP" header:
// listing chunks ("PMGL", the next one's number at byte 16, -1 for none)
// chained from the first listing chunk, and index chunks ("PMGI": entries
// of a name and a chunk number) forming a tree from the index root.
// chmlib follows both without remembering where it has been, so a chain
// or a tree that leads back on itself would keep it walking for ever; the
// file is checked for both before chmlib is given it. A chunk that cannot
// be read ends a walk (chmlib stops there too).
//
// chmlib also divides by the compressed section's window and reset sizes
// ("ControlData", "LZXC" version 2 counting 32 KB frames) and by the reset
// table's block length as the file gives them, and sizes its buffers by
// the latter; every copy of those objects a walk can reach must be stored
// as it is and hold values LZX allows.
bool DirectoryIsSound(const std::string& path)
{
    constexpr uint32_t kNone = 0xFFFFFFFF;
    RawFile file(path);
    const auto header = file.At(0, 0x58);
    if (!header || header->compare(0, 4, "ITSF") != 0)
        return true; // not a help file: chmlib refuses it
    const uint32_t version = rtl::LoadLE<uint32_t>(Bytes(*header) + 0x04);
    const auto contentAt = version >= 3 ? file.At(0x58, 8) : std::nullopt;
    const uint64_t content = contentAt ? rtl::LoadLE<uint64_t>(Bytes(*contentAt))
                                       : rtl::LoadLE<uint64_t>(Bytes(*header) + 0x48)
            + rtl::LoadLE<uint64_t>(Bytes(*header) + 0x50);
    const uint64_t directory = rtl::LoadLE<uint64_t>(Bytes(*header) + 0x48);
    const auto itsp = file.At(directory, 0x30);
    if (!itsp || itsp->compare(0, 4, "ITSP") != 0)
        return true;
    const uint64_t first = directory + rtl::LoadLE<uint32_t>(Bytes(*itsp) + 0x08);
    const uint32_t chunkSize = rtl::LoadLE<uint32_t>(Bytes(*itsp) + 0x10);
    const uint32_t indexRoot = rtl::LoadLE<uint32_t>(Bytes(*itsp) + 0x1C);
    const uint32_t firstListing = rtl::LoadLE<uint32_t>(Bytes(*itsp) + 0x20);
    // chmlib takes a buffer of one chunk before reading any.
    if (chunkSize < 0x14 || first > file.Size() || chunkSize > file.Size() - first)
        return false;
    auto chunk = [&](uint32_t number) { return file.At(first + uint64_t { number } * chunkSize, chunkSize); };

    std::set<uint32_t> seen, listings;
    for (uint32_t at = firstListing; at != kNone;) {
        if (!seen.insert(at).second)
            return false;
        const auto listing = chunk(at);
        if (!listing || listing->compare(0, 4, "PMGL") != 0)
            break;
        listings.insert(at);
        at = rtl::LoadLE<uint32_t>(Bytes(*listing) + 0x10);
    }

    // Depth first through the index chunks, each entered once; one met
    // again while it is still being walked closes a loop.
    std::set<uint32_t> done, open;
    struct Step {
        uint32_t chunk;
        std::vector<uint32_t> children;
    };
    std::vector<Step> stack;
    auto enter = [&](uint32_t number) {
        Step step { number, {} };
        const auto index = chunk(number);
        if (index && index->compare(0, 4, "PMGL") == 0)
            listings.insert(number);
        if (index && index->compare(0, 4, "PMGI") == 0) {
            const std::string_view entries = ChunkEntries(*index, chunkSize, 8);
            std::size_t at = 8;
            while (at < entries.size()) {
                const auto nameLength = ReadEncodedInt(entries, at);
                if (!nameLength || *nameLength > entries.size() - at)
                    break;
                at += static_cast<std::size_t>(*nameLength);
                const auto child = ReadEncodedInt(entries, at);
                if (!child)
                    break;
                if (*child < kNone)
                    step.children.push_back(static_cast<uint32_t>(*child));
            }
        }
        open.insert(number);
        stack.push_back(std::move(step));
    };
    if (indexRoot != kNone)
        enter(indexRoot);
    while (!stack.empty()) {
        Step& top = stack.back();
        if (top.children.empty()) {
            open.erase(top.chunk);
            done.insert(top.chunk);
            stack.pop_back();
            continue;
        }
        const uint32_t child = top.children.back();
        top.children.pop_back();
        if (open.count(child))
            return false;
        if (!done.count(child))
            enter(child);
    }

    static const std::string kContent = "::DataSpace/Storage/MSCompressed/Content";
    static const std::string kControl = "::DataSpace/Storage/MSCompressed/ControlData";
    static const std::string kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                                           "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    for (const uint32_t number : listings) {
        const auto listing = chunk(number);
        const std::string_view entries = ChunkEntries(*listing, chunkSize, 0x14);
        std::size_t at = 0x14;
        while (at < entries.size()) {
            const auto nameLength = ReadEncodedInt(entries, at);
            if (!nameLength || *nameLength > entries.size() - at)
                break;
            const std::string_view name = entries.substr(at, static_cast<std::size_t>(*nameLength));
            at += static_cast<std::size_t>(*nameLength);
            const auto space = ReadEncodedInt(entries, at);
            const auto start = space ? ReadEncodedInt(entries, at) : std::nullopt;
            const auto length = start ? ReadEncodedInt(entries, at) : std::nullopt;
            if (!length)
                break;
            if (name != kControl && name != kResetTable && name != kContent)
                continue;
            if (*space != CHM_UNCOMPRESSED)
                return false; // chmlib would decompress them before it can
            if (name == kContent)
                continue;
            // chmlib goes on with settings it could not read whole.
            const uint64_t need = name == kControl ? 0x18 : 0x28;
            const auto bytes
                = *length >= need && *start <= UINT64_MAX - content ? file.At(content + *start, need) : std::nullopt;
            if (!bytes)
                return false;
            const uint8_t* b = Bytes(*bytes);
            if (name == kControl) {
                uint64_t reset = rtl::LoadLE<uint32_t>(b + 0x0C);
                uint64_t window = rtl::LoadLE<uint32_t>(b + 0x10);
                const uint64_t windowsPerReset = rtl::LoadLE<uint32_t>(b + 0x14);
                if (rtl::LoadLE<uint32_t>(b + 0x08) == 2) {
                    reset *= 0x8000;
                    window *= 0x8000;
                }
                const bool lzxWindow = window >= 0x8000 && window <= 0x200000 && (window & (window - 1)) == 0;
                if (!lzxWindow || reset < window / 2 || reset > UINT32_MAX || windowsPerReset == 0
                    || reset / (window / 2) * windowsPerReset > UINT32_MAX)
                    return false;
            } else if (rtl::LoadLE<uint64_t>(b + 0x20) != 0x8000) {
                return false; // chmlib's block buffers are this long: one LZX frame
            }
        }
    }
    return true;
}

// Every name of the directory, as chmlib lists it. A sound directory
// holds each name once, and no more names or name bytes than the file
// has bytes; chmlib's listing is stopped at the first name past these.
struct Listing {
    uint64_t fileSize = 0;
    std::set<std::string> names;
    uint64_t nameBytes = 0;
    bool damaged = false;
};

int CollectName(chmFile*, chmUnitInfo* info, void* context)
{
    auto& listing = *static_cast<Listing*>(context);
    const std::string name = info->path;
    listing.nameBytes += name.size();
    if (listing.names.size() >= listing.fileSize / 4 || listing.nameBytes > listing.fileSize
        || !listing.names.insert(name).second) {
        listing.damaged = true;
        return CHM_ENUMERATOR_FAILURE;
    }
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

std::map<uint32_t, std::string> ParseContextMap(std::string_view ivb, std::string_view strings)
{
    std::map<uint32_t, std::string> map;
    if (ivb.size() < 4)
        return map;
    const std::size_t declared = rtl::LoadLE<uint32_t>(Bytes(ivb));
    const std::size_t end = std::min(ivb.size(), 4 + declared);
    for (std::size_t at = 4; at + 8 <= end; at += 8) {
        const uint32_t offset = rtl::LoadLE<uint32_t>(Bytes(ivb) + at + 4);
        if (offset >= strings.size())
            continue;
        std::string name = TextAt(strings, offset);
        if (!name.empty())
            map.emplace(rtl::LoadLE<uint32_t>(Bytes(ivb) + at), std::move(name));
    }
    return map;
}

std::optional<ChmSystemInfo> ParseSystemInfo(std::string_view system)
{
    if (system.size() < 4)
        return std::nullopt;
    ChmSystemInfo info;
    std::size_t at = 4;
    while (at + 4 <= system.size()) {
        const uint16_t code = rtl::LoadLE<uint16_t>(Bytes(system) + at);
        const std::size_t length = rtl::LoadLE<uint16_t>(Bytes(system) + at + 2);
        at += 4;
        if (length > system.size() - at)
            break;
        const std::string_view data = system.substr(at, length);
        if (code == 2)
            info.defaultTopic = TextAt(data, 0);
        else if (code == 3)
            info.title = TextAt(data, 0);
        at += length;
    }
    return info;
}

std::unique_ptr<ChmFile> ChmFile::Open(const std::string& path)
{
    if (!DirectoryIsSound(path))
        return nullptr;
    chmFile* handle = chm_open(path.c_str());
    if (!handle)
        return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(handle, path));
    std::error_code ec;
    file->size_ = std::filesystem::file_size(path, ec);
    Listing listing;
    listing.fileSize = file->size_;
    chm_enumerate(handle, CHM_ENUMERATE_ALL, CollectName, &listing);
    if (listing.damaged)
        return nullptr;
    for (const std::string& name : listing.names)
        if (IsPage(name))
            file->pages_.push_back(name);
    const auto ivb = file->Read("/#IVB");
    const auto strings = file->Read("/#STRINGS");
    if (ivb && strings)
        file->contexts_ = ParseContextMap(*ivb, *strings);
    if (const auto system = file->Read("/#SYSTEM"))
        file->system_ = ParseSystemInfo(*system).value_or(ChmSystemInfo {});
    return file;
}

ChmFile::ChmFile(chmFile* handle, std::string path)
    : handle_(handle)
    , path_(std::move(path))
{
}

ChmFile::~ChmFile()
{
    chm_close(handle_);
}

std::optional<std::string> ChmFile::Read(const std::string& path) const
{
    chmUnitInfo info {};
    const std::string object = ObjectPath(path);
    if (object.size() >= CHM_MAX_PATHLEN
        || chm_resolve_object(handle_, object.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    // An object stored as it is lies inside the file; a compressed one
    // expands at most kMaxExpansion times.
    const bool fits = info.space == CHM_UNCOMPRESSED
        ? info.start <= size_ && info.length <= size_ - info.start
        : info.length / kMaxExpansion <= size_;
    if (!fits)
        return std::nullopt;
    // Taken in pieces, so that memory follows what chmlib really hands back.
    constexpr uint64_t kPiece = 64 * 1024;
    std::string bytes;
    while (bytes.size() < info.length) {
        const uint64_t want = std::min<uint64_t>(kPiece, info.length - bytes.size());
        const std::size_t at = bytes.size();
        bytes.resize(at + static_cast<std::size_t>(want));
        const LONGINT64 got = chm_retrieve_object(handle_, &info, reinterpret_cast<unsigned char*>(bytes.data() + at),
            at, static_cast<LONGINT64>(want));
        if (got <= 0) {
            bytes.resize(at);
            break;
        }
        bytes.resize(at + static_cast<std::size_t>(got));
    }
    if (info.length > 0 && bytes.empty())
        return std::nullopt;
    return bytes;
}

bool ChmFile::Contains(const std::string& path) const
{
    chmUnitInfo info {};
    const std::string object = ObjectPath(path);
    return object.size() < CHM_MAX_PATHLEN
        && chm_resolve_object(handle_, object.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmFile::Resolve(const std::string& name) const
{
    std::string candidate = name;
    std::replace(candidate.begin(), candidate.end(), '\\', '/');
    while (!candidate.empty()) {
        if (Contains(candidate))
            return ObjectPath(candidate);
        const std::size_t slash = candidate.find('/', 1);
        if (slash == std::string::npos)
            break;
        candidate.erase(0, slash);
    }
    return std::nullopt;
}

std::optional<std::string> ChmFile::TopicOfContext(uint32_t context) const
{
    const auto found = contexts_.find(context);
    if (found == contexts_.end())
        return std::nullopt;
    return Resolve(found->second);
}

std::string ChmFile::DefaultTopic() const
{
    if (system_.defaultTopic.empty())
        return {};
    return Resolve(system_.defaultTopic).value_or(std::string());
}

} // namespace help
