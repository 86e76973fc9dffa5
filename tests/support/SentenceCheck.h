#pragma once
// What a listener on the NMEA output sees: the bytes must be whole sentences,
// each "$" or "!", printable fields, '*' and the two upper-case hexadecimal
// digits of its checksum, CR LF, and no field may carry a number that is not
// finite ("Nan", "+Inf") or the panel's "********".

#include <cstdio>
#include <string>
#include <string_view>

namespace kvtest
{

// "" when every sentence of `output` is sound, else what is wrong and where.
inline std::string SentenceFault(std::string_view output)
{
    std::size_t at = 0;
    while (at < output.size()) {
        const std::size_t end = output.find("\r\n", at);
        if (end == std::string_view::npos)
            return "no CR LF after: " + std::string(output.substr(at));
        const std::string_view line = output.substr(at, end - at);
        at = end + 2;
        const std::string text(line);
        const std::size_t star = line.find('*');
        if (line.size() < 4 || (line[0] != '$' && line[0] != '!') || star == std::string_view::npos
            || star + 3 != line.size())
            return "not a sentence: " + text;
        unsigned sum = 0;
        for (std::size_t i = 1; i < star; ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            if (c < 0x20 || c > 0x7E)
                return "unprintable byte in: " + text;
            sum ^= c;
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", sum & 0xFF);
        if (line.substr(star + 1) != hex)
            return "checksum: " + text;
        if (line.find("Nan") != std::string_view::npos || line.find("Inf") != std::string_view::npos)
            return "not a number: " + text;
    }
    return {};
}

} // namespace kvtest
