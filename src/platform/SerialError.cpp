#include "platform/SerialError.h"

#include <cerrno>
#include <cstring>

namespace platform
{

int SerialErrorNumber(int posixErrno)
{
    switch (posixErrno) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return 2;
    case ENOTDIR:
        return 3;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
        return 5;
    case ENOMEM:
        return 8;
    default:
        return posixErrno;
    }
}

namespace
{
// strerror_r comes in two flavours; both overloads pick the text.
[[maybe_unused]] const char* PickText(int result, const char* buffer)
{
    return result == 0 ? buffer : "";
}
[[maybe_unused]] const char* PickText(const char* result, const char*)
{
    return result ? result : "";
}
} // namespace

std::string SystemErrorText(int number)
{
    if (number <= 0)
        return {};
    char buffer[256] = {};
    std::string text = PickText(strerror_r(number, buffer, sizeof buffer), buffer);
    // glibc names numbers it does not know "Unknown error <n>".
    if (text.empty() || text.rfind("Unknown error", 0) == 0)
        return {};
    return text;
}

} // namespace platform
