#pragma once
// The lines of a text file the program writes, every line ended by CR LF.

#include <string>
#include <vector>

namespace kvtest
{

// The lines without their CR LF; a last line without one is marked
// "<no CR LF>", so that a comparison shows it.
inline std::vector<std::string> CrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(at) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

} // namespace kvtest
