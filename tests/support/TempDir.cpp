#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kvtest
{

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "kvtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create temporary folder " + pattern);
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // A test may have made files read-only; give write permission back so
    // everything can be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ignored;
        if (it->is_directory(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const
{
    return path_ + "/" + std::string(name);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const
{
    std::string full = file(name);
    fs::create_directories(fs::path(full).parent_path());
    WriteBytes(full, bytes);
    return full;
}

std::string TempDir::read(std::string_view name) const
{
    return ReadBytes(file(name));
}

bool TempDir::exists(std::string_view name) const
{
    std::error_code ec;
    return fs::exists(file(name), ec);
}

std::string TempDir::makeFolder(std::string_view name) const
{
    std::string full = file(name);
    fs::create_directories(full);
    return full;
}

std::vector<std::string> TempDir::list() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> CrLfLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string_view::npos) {
            lines.push_back(std::string(text.substr(at)) + "<no CR LF>");
            break;
        }
        lines.emplace_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

} // namespace kvtest
