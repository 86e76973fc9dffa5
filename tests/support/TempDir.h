#pragma once
// A fresh temporary folder for one test, removed with everything in it when
// the TempDir goes out of scope. Paths inside it use '/'.

#include <string>
#include <string_view>
#include <vector>

namespace kvtest
{

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing '/'.
    const std::string& path() const { return path_; }
    // path() + "/" + name.
    std::string file(std::string_view name) const;

    // Writes `bytes` to `name` (relative to the folder; sub-folders are
    // created). Returns the full path. Throws std::runtime_error on failure.
    std::string write(std::string_view name, std::string_view bytes) const;
    // The bytes of `name`; throws std::runtime_error when it cannot be read.
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;
    // Creates a sub-folder (and its parents); returns its full path.
    std::string makeFolder(std::string_view name) const;
    // Names of the entries directly in the folder, sorted.
    std::vector<std::string> list() const;

private:
    std::string path_;
};

// Whole-file helpers on absolute paths.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
// The lines of a text written CR LF; a last line without its CR LF comes
// back marked "<no CR LF>".
std::vector<std::string> CrLfLines(std::string_view text);

} // namespace kvtest
