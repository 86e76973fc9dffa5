#include "nav/FileNameParts.h"

#include "rtl/Paths.h"

namespace
{

std::string NameOf(const std::string& path)
{
    return rtl::ExtractFileName(rtl::SlashPath(path));
}

} // namespace

std::string ExtractFileDir(const std::string& path)
{
    return rtl::ExtractFilePath(rtl::SlashPath(path));
}

std::string ExtractFileBaseName(const std::string& path)
{
    const std::string name = NameOf(path);
    return name.substr(0, name.rfind('.'));
}

std::string ExtractFileExtension(const std::string& path)
{
    const std::string name = NameOf(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
