#pragma once
// File names. Folders are separated by '/'. The original platform ignored the
// case of file names and several files are named in more than one case
// ("KVAIS.ADB", ".FLO", ".STP", ".WPS"), so an existing file is found by a
// case-insensitive match of each path component; a new file is created with
// the name as given.

#include <string>
#include <vector>

namespace rtl
{

// The path of an existing file or folder whose name matches `path` without
// regard to case (the exact name wins when it exists). When nothing matches,
// `path` itself.
std::string OpenPath(const std::string& path);
// The path to create a file at: an existing file matching without regard to
// case is replaced (its path is returned), otherwise `path` as given, so new
// files keep the case the program gives them.
std::string CreatePath(const std::string& path);
// A typed or configured path with every '\' read as a folder separator:
// ".\charts\bs.cht" is "./charts/bs.cht".
std::string SlashPath(std::string path);
bool FileExists(const std::string& path); // case-insensitive, regular files
bool FolderExists(const std::string& path); // case-insensitive
// Joins a folder and a name with exactly one '/' between them.
std::string JoinPath(const std::string& folder, const std::string& name);
// Folder part including its trailing '/', empty for a bare name.
std::string ExtractFilePath(const std::string& path);
// Name part after the last '/'.
std::string ExtractFileName(const std::string& path);
// Extension including the '.', empty when none.
std::string ExtractFileExt(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// Names of the files in a folder (not recursive; no sub-folders) whose extension matches `ext` without
// regard to case (ext like ".cfg"; empty matches all), sorted by name.
std::vector<std::string> ListFolder(const std::string& folder, const std::string& ext = {});
// Upper-case of ASCII letters only (Latin-1 bytes above 127 unchanged).
std::string UpperCase(std::string text);
std::string LowerCase(std::string text);
bool SameText(const std::string& a, const std::string& b);

} // namespace rtl
