#include "nav/NmeaLine.h"

namespace nav
{

NmeaLineBytes AppendNmeaLineBytes(std::string& line, std::string_view bytes)
{
    NmeaLineBytes got;
    for (const char c : bytes) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            if (!line.empty())
                got.lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        if (c == '$' || c == '!')
            line.clear();
        line += c;
        if (line.size() > kMaxNmeaLineLength) {
            line.clear();
            got.overflowed = true;
        }
    }
    return got;
}

} // namespace nav
