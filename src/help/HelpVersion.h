#pragma once
// File versions of the help control and the browser component, and their
// friendly names for the debug log.

#include <array>
#include <string>
#include <string_view>

namespace help
{

struct FileVersion {
    std::array<int, 4> parts {}; // major, minor, release, build
    std::string text; // "5.2.3790.2847"; empty when there is no version
};

// The version a Windows executable carries in its fixed version record
// (signature 0xFEEF04BD, then the structure version, then the most and the
// least significant 32 bits of the file version, each high word first).
// Zeros and an empty text when the bytes hold no such record.
FileVersion VersionFromBytes(std::string_view bytes);
// VersionFromBytes of the file; zeros and an empty text when it is missing.
FileVersion GetFileVersion(const std::string& path);
std::string GetFileVersionStr(const std::string& path);
// "Shdocvw.dll" in the system folder; a 4.n.0.b version (n at most 70) of
// the first browsers is read as 4.n.b.0.
FileVersion GetIEVersion(const std::string& systemFolder);
// 1 when `file` is newer than `ref`, 0 when equal, -1 when older.
int CompareVersion(const std::array<int, 4>& file, const std::array<int, 4>& ref);

// "1.4a", "1.3", ... for a help control version; empty for no version.
std::string GetHelpFriendlyVersion(const FileVersion& version);
// "Internet Explorer 6 SP1", ... for a browser component version; empty
// for no version.
std::string GetIEFriendlyVersion(const FileVersion& version);

} // namespace help
