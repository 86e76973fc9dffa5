#include "rtl/Paths.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace rtl
{

namespace
{

bool Exists(const std::string& path, struct stat* st = nullptr)
{
    struct stat local;
    return ::stat(path.empty() ? "." : path.c_str(), st ? st : &local) == 0;
}

// The entry of `folder` named `name` without regard to case: the exact name
// when it exists, else the first match in byte order; empty when none.
std::string MatchEntry(const std::string& folder, const std::string& name)
{
    const std::string dir = folder.empty() ? "." : folder;
    if (Exists(JoinPath(folder, name)))
        return name;
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return {};
    std::string best;
    while (const dirent* e = ::readdir(d)) {
        const std::string entry = e->d_name;
        if (SameText(entry, name) && (best.empty() || entry < best))
            best = entry;
    }
    ::closedir(d);
    return best;
}

// Resolves every component of `path` without regard to case. Returns false
// when some component has no match; `resolved` then holds `path` unchanged.
bool Resolve(const std::string& path, std::string& resolved)
{
    resolved = path;
    if (path.empty())
        return false;
    if (Exists(path))
        return true;
    std::string out = path[0] == '/' ? "/" : "";
    std::size_t pos = path[0] == '/' ? 1 : 0;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string part = path.substr(pos, slash - pos);
        if (!part.empty()) {
            std::string match = part;
            if (part != "." && part != "..") {
                match = MatchEntry(out, part);
                if (match.empty())
                    return false;
            }
            out += match;
        }
        if (slash < path.size())
            out += '/';
        pos = slash + 1;
    }
    resolved = out;
    return true;
}

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string OpenPath(const std::string& path)
{
    std::string resolved;
    Resolve(path, resolved);
    return resolved;
}

std::string CreatePath(const std::string& path)
{
    std::string resolved;
    if (Resolve(path, resolved))
        return resolved;
    // The file is new: find its folder without regard to case, keep the name.
    const std::string folder = ExtractFilePath(path);
    if (folder.empty())
        return path;
    return OpenPath(folder) + ExtractFileName(path);
}

std::string SlashPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool FileExists(const std::string& path)
{
    std::string resolved;
    struct stat st;
    return Resolve(path, resolved) && Exists(resolved, &st) && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path)
{
    std::string resolved;
    struct stat st;
    return Resolve(path, resolved) && Exists(resolved, &st) && S_ISDIR(st.st_mode);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    std::size_t end = folder.size();
    while (end > 1 && folder[end - 1] == '/')
        --end;
    std::size_t start = 0;
    while (start < name.size() && name[start] == '/')
        ++start;
    std::string out = folder.substr(0, end);
    if (out != "/")
        out += '/';
    return out + name.substr(start);
}

std::string ExtractFilePath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    const std::string ext0 = ExtractFileExt(path);
    return path.substr(0, path.size() - ext0.size()) + ext;
}

std::vector<std::string> ListFolder(const std::string& folder, const std::string& ext)
{
    std::vector<std::string> names;
    const std::string dir = OpenPath(folder.empty() ? "." : folder);
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return names;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        struct stat st;
        if (!Exists(JoinPath(dir, name), &st) || !S_ISREG(st.st_mode))
            continue;
        if (ext.empty() || SameText(ExtractFileExt(name), ext))
            names.push_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), Upper);
    return text;
}

std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

} // namespace rtl
