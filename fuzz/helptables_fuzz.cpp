// The help file's own tables and an executable's version record on
// arbitrary bytes: the context map ("/#IVB" bytes, a NUL-free separator
// line "\n--\n", then "/#STRINGS" bytes), the system records and the
// fixed version record. Every name the map gives comes from the strings,
// and a version text is four numbers joined by points.
#include "help/ChmFile.h"
#include "help/HelpVersion.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find("\n--\n");
    const std::string_view ivb = input.substr(0, cut);
    const std::string_view strings
        = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 4);
    for (const auto& [context, name] : help::ParseContextMap(ivb, strings)) {
        if (name.empty() || strings.find(name) == std::string_view::npos)
            std::abort();
    }
    if (const auto info = help::ParseSystemInfo(input)) {
        if (info->defaultTopic.size() > size || info->title.size() > size)
            std::abort();
    }
    const help::FileVersion version = help::VersionFromBytes(input);
    if (!version.text.empty()
        && version.text
            != std::to_string(version.parts[0]) + "." + std::to_string(version.parts[1]) + "."
                + std::to_string(version.parts[2]) + "." + std::to_string(version.parts[3]))
        std::abort();
    return 0;
}
