#include "nav/NmeaLine.h"

namespace nav
{

bool AppendNmeaLineBytes(std::string& line, std::string_view bytes)
{
    for (const char c : bytes)
        if (c != '\r' && c != '\n')
            line += c;
    if (line.size() <= kMaxNmeaLineLength)
        return false;
    line.clear();
    return true;
}

} // namespace nav
