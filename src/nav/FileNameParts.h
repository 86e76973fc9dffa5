#pragma once
// The three parts of a file path that the chart, waypoint and configuration
// code name files by. Folders are separated by '/'.
//   "charts/harbour.cht"  folder "charts/", base name "harbour", extension "cht"
//   "boat.cfg"            folder "" (a bare name has no folder), base "boat"
//   "charts/a.b.cht"      base name "a", extension "b.cht" (the first '.' of
//                         the name splits it)

#include <string>

// The folder part up to and including the last '/'; empty for a bare name.
std::string ExtractFileDir(const std::string& path);
// The name without its folder and without the text from its first '.' on.
std::string ExtractFileBaseName(const std::string& path);
// The text after the first '.' of the name, without the '.'; empty when the
// name has no '.'.
std::string ExtractFileExtension(const std::string& path);
