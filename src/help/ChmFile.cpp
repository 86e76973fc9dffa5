#include "help/ChmFile.h"

#include "rtl/LittleEndian.h"

#include <algorithm>
#include <chm_lib.h>

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

int CollectPage(chmFile*, chmUnitInfo* info, void* context)
{
    std::string path = info->path;
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto endsWith = [&](const std::string& tail) {
        return lower.size() >= tail.size()
            && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (endsWith(".htm") || endsWith(".html"))
        static_cast<std::vector<std::string>*>(context)->push_back(path);
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
    chmFile* handle = chm_open(path.c_str());
    if (!handle)
        return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(handle, path));
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
    std::string bytes(static_cast<std::size_t>(info.length), '\0');
    if (info.length == 0)
        return bytes;
    const LONGINT64 got = chm_retrieve_object(handle_, &info, reinterpret_cast<unsigned char*>(bytes.data()),
        0, static_cast<LONGINT64>(info.length));
    if (got <= 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

bool ChmFile::Contains(const std::string& path) const
{
    chmUnitInfo info {};
    const std::string object = ObjectPath(path);
    return object.size() < CHM_MAX_PATHLEN
        && chm_resolve_object(handle_, object.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::vector<std::string> ChmFile::Pages() const
{
    std::vector<std::string> pages;
    chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPage, &pages);
    std::sort(pages.begin(), pages.end());
    return pages;
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
