#pragma once
// The three parts of a file path that the chart, waypoint, configuration and
// log code name files by. Folders are separated by '/'; a '\' in a typed or
// configured path is a folder separator too.
//   "charts/harbour.cht"      folder "charts/", base name "harbour",
//                             extension "cht"
//   "boat.cfg"                folder "" (a bare name has no folder), base "boat"
//   "charts/harbour.new.cht"  base name "harbour.new", extension "cht" (the
//                             last '.' of the name splits it)
//   ".\charts\bs.cht"         folder "./charts/", base name "bs"

#include <string>

// The folder part up to and including the last separator; empty for a bare
// name.
std::string ExtractFileDir(const std::string& path);
// The name without its folder and without the text from its last '.' on.
std::string ExtractFileBaseName(const std::string& path);
// The text after the last '.' of the name, without the '.'; empty when the
// name has no '.'.
std::string ExtractFileExtension(const std::string& path);
