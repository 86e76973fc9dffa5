#include "help/HelpText.h"

#include <cerrno>

namespace help
{

int StrPosPtr(const std::string& sub, const std::string& text)
{
    if (sub.empty())
        return 0;
    const std::size_t at = text.find(sub);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

int StrReplaceFirst(std::string& text, const std::string& from, const std::string& to)
{
    const int at = StrPosPtr(from, text);
    if (at > 0)
        text.replace(static_cast<std::size_t>(at - 1), from.size(), to);
    return at;
}

int StrReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty())
        return 0;
    int count = 0;
    std::size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

std::string DosToUnixPath(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string StripLeadingChar(std::string text, char c)
{
    const std::size_t first = text.find_first_not_of(c);
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string StripTrailingChar(std::string text, char c)
{
    const std::size_t last = text.find_last_not_of(c);
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string StripChar(std::string text, char c)
{
    return StripTrailingChar(StripLeadingChar(std::move(text), c), c);
}

std::string StringOfCharN(char c, int n)
{
    return n > 0 ? std::string(static_cast<std::size_t>(n), c) : std::string();
}

const char* YesNo(bool value)
{
    return value ? "YES" : "NO";
}

std::string LastErrorText(int code)
{
    const char* text = "General Failure";
    switch (code) {
    case 2:
        text = "File Not Found";
        break;
    case 3:
        text = "Path Not Found";
        break;
    case 5:
        text = "Access Denied";
        break;
    case 8:
        text = "Insufficient Memory";
        break;
    case 19:
        text = "Media Is Write Protected";
        break;
    case 21:
        text = "Device Not Ready";
        break;
    case 32:
    case 33:
        text = "File In Use";
        break;
    case 39:
    case 112:
        text = "Disk Full";
        break;
    case 276:
    case 1005:
    case 1392:
    case 1393:
        text = "Corrupt File Or Disk";
        break;
    case 1009:
    case 1358:
        text = "Corrupt Registry";
        break;
    case 1150:
        text = "Windows Version Incorrect";
        break;
    case 1151:
        text = "Not A Windows Or MSDos Program";
        break;
    default:
        break;
    }
    return "[Error:" + std::to_string(code) + "] " + text;
}

int PlatformErrorFromErrno(int err)
{
    switch (err) {
    case ENOENT:
        return 2;
    case ENOTDIR:
        return 3;
    case EACCES:
    case EPERM:
        return 5;
    case ENOMEM:
        return 8;
    case EROFS:
        return 19;
    case ENXIO:
    case ENODEV:
        return 21;
    case EBUSY:
    case ETXTBSY:
        return 32;
    case ENOSPC:
        return 112;
    case EIO:
        return 1392;
    case ENOEXEC:
        return 1151;
    default:
        return 31;
    }
}

} // namespace help
