#include "help/HelpVersion.h"

#include "rtl/LittleEndian.h"
#include "rtl/TextFile.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace help
{

namespace
{

const uint8_t* Bytes(std::string_view bytes)
{
    return reinterpret_cast<const uint8_t*>(bytes.data());
}

std::string Join(const std::array<int, 4>& p)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", p[0], p[1], p[2], p[3]);
    return text;
}

struct NamedVersion {
    std::array<int, 4> version;
    const char* name;
};

// Help control releases, newest first.
constexpr NamedVersion kHelpReleases[] = {
    { { 5, 2, 3626, 0 }, "1.4" },
    { { 4, 74, 9273, 0 }, "1.33" },
    { { 4, 74, 8857, 0 }, "1.32" },
    { { 4, 74, 8793, 0 }, "1.31" },
    { { 4, 74, 8702, 0 }, "1.3" },
    { { 4, 73, 8561, 0 }, "1.22" },
    { { 4, 73, 8474, 0 }, "1.21a" },
    { { 4, 73, 8412, 0 }, "1.21" },
    { { 4, 73, 8252, 0 }, "1.2" },
    { { 4, 72, 8164, 0 }, "1.1b" },
    { { 4, 72, 7325, 0 }, "1.1a" },
    { { 4, 72, 7323, 0 }, "1.1" },
    { { 4, 72, 7290, 0 }, "1.0" },
};

// Browser component releases by the version of "Shdocvw.dll", newest first.
constexpr NamedVersion kBrowserReleases[] = {
    { { 6, 0, 3790, 0 }, "Internet Explorer 6 (Windows Server 2003)" },
    { { 6, 0, 2900, 2180 }, "Internet Explorer 6 (Windows XP SP2)" },
    { { 6, 0, 2800, 1106 }, "Internet Explorer 6 SP1" },
    { { 6, 0, 2600, 0 }, "Internet Explorer 6 (Windows XP)" },
    { { 6, 0, 2462, 0 }, "Internet Explorer 6 Public Preview (Beta)" },
    { { 5, 50, 4807, 2300 }, "Internet Explorer 5.5 Service Pack 2" },
    { { 5, 50, 4522, 1800 }, "Internet Explorer 5.5 Service Pack 1" },
    { { 5, 50, 4134, 600 }, "Internet Explorer 5.5" },
    { { 5, 50, 3825, 1300 }, "Internet Explorer 5.5 Developer Preview (Beta)" },
    { { 5, 0, 3103, 1000 }, "Internet Explorer 5.01 SP1 (Windows 2000)" },
    { { 5, 0, 2920, 0 }, "Internet Explorer 5.01 (Windows 2000)" },
    { { 5, 0, 2919, 6307 }, "Internet Explorer 5.01" },
    { { 5, 0, 2614, 3500 }, "Internet Explorer 5 (Windows 98 Second Edition)" },
    { { 5, 0, 2314, 1003 }, "Internet Explorer 5" },
    { { 4, 72, 3612, 1713 }, "Internet Explorer 4.01 Service Pack 2" },
    { { 4, 72, 3110, 8 }, "Internet Explorer 4.01 Service Pack 1" },
    { { 4, 72, 2106, 8 }, "Internet Explorer 4.01" },
    { { 4, 71, 1712, 6 }, "Internet Explorer 4.0" },
    { { 4, 70, 1300, 0 }, "Internet Explorer 3.02" },
    { { 4, 70, 1215, 0 }, "Internet Explorer 3.01" },
    { { 4, 70, 1155, 0 }, "Internet Explorer 3.0" },
    { { 4, 40, 520, 0 }, "Internet Explorer 2.0" },
    { { 4, 40, 308, 0 }, "Internet Explorer 1.0 (Plus!)" },
};

} // namespace

FileVersion VersionFromBytes(std::string_view bytes)
{
    static constexpr char kSignature[] = { '\xBD', '\x04', '\xEF', '\xFE' };
    const std::string_view signature(kSignature, sizeof kSignature);
    FileVersion version;
    // Records sit on 32-bit boundaries inside the version resource.
    for (std::size_t at = bytes.find(signature); at != std::string_view::npos;
         at = bytes.find(signature, at + 1)) {
        if (at % 4 != 0 || bytes.size() - at < 16)
            continue;
        const uint32_t ms = rtl::LoadLE<uint32_t>(Bytes(bytes) + at + 8);
        const uint32_t ls = rtl::LoadLE<uint32_t>(Bytes(bytes) + at + 12);
        version.parts = { static_cast<int>(ms >> 16), static_cast<int>(ms & 0xFFFF),
            static_cast<int>(ls >> 16), static_cast<int>(ls & 0xFFFF) };
        version.text = Join(version.parts);
        return version;
    }
    return version;
}

FileVersion GetFileVersion(const std::string& path)
{
    const std::optional<std::string> bytes = rtl::ReadFileBytes(path);
    return bytes ? VersionFromBytes(*bytes) : FileVersion {};
}

std::string GetFileVersionStr(const std::string& path)
{
    return GetFileVersion(path).text;
}

FileVersion GetIEVersion(const std::string& systemFolder)
{
    FileVersion version = GetFileVersion(systemFolder + "/Shdocvw.dll");
    auto& p = version.parts;
    if (!version.text.empty() && p[0] == 4 && p[1] <= 70 && p[2] == 0) {
        p = { p[0], p[1], p[3], 0 };
        version.text = Join(p);
    }
    return version;
}

int CompareVersion(const std::array<int, 4>& file, const std::array<int, 4>& ref)
{
    for (std::size_t i = 0; i < 4; ++i) {
        if (file[i] != ref[i])
            return file[i] > ref[i] ? 1 : -1;
    }
    return 0;
}

std::string GetHelpFriendlyVersion(const FileVersion& version)
{
    if (version.text.empty())
        return {};
    const int latest = CompareVersion(version.parts, { 5, 2, 3669, 0 });
    if (latest > 0)
        return "> 1.4a";
    if (latest == 0)
        return "1.4a";
    for (const NamedVersion& release : kHelpReleases)
        if (CompareVersion(version.parts, release.version) >= 0)
            return release.name;
    return "< 1.0";
}

std::string GetIEFriendlyVersion(const FileVersion& version)
{
    if (version.text.empty())
        return {};
    if (version.parts[0] > 6)
        return ">= Internet Explorer " + version.text;
    for (const NamedVersion& release : kBrowserReleases)
        if (CompareVersion(version.parts, release.version) >= 0)
            return release.name;
    return "< Internet Explorer 1.0 (Plus!)";
}

} // namespace help
