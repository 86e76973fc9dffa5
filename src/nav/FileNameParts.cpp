#include "nav/FileNameParts.h"

#include "rtl/Paths.h"

std::string ExtractFileDir(const std::string& path)
{
    return rtl::ExtractFilePath(path);
}

std::string ExtractFileBaseName(const std::string& path)
{
    const std::string name = rtl::ExtractFileName(path);
    return name.substr(0, name.find('.'));
}

std::string ExtractFileExtension(const std::string& path)
{
    const std::string name = rtl::ExtractFileName(path);
    const std::size_t dot = name.find('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
