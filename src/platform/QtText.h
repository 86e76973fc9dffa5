#pragma once
// Texts cross between the program and Qt here only. The program holds text as
// Latin-1 bytes in std::string (the degree sign is the byte 0xB0); Qt holds
// Unicode. Characters outside Latin-1 coming back from Qt become '?'.

#include <QString>
#include <string>

namespace platform
{

inline QString qs(const std::string& latin1)
{
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

inline std::string ls(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace platform

using platform::ls;
using platform::qs;
