#include "nav/NmeaField.h"

namespace nav
{

std::string GetNmeaField(std::string_view sentence, int n)
{
    if (n < 0)
        return {};
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t comma = sentence.find(',', start);
        if (comma == std::string_view::npos)
            return {};
        start = comma + 1;
    }
    const std::size_t end = sentence.find(',', start);
    return std::string(
        sentence.substr(start, end == std::string_view::npos ? sentence.size() - start : end - start));
}

} // namespace nav
