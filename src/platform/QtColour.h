#pragma once
// Colours are kept as the original platform's 32-bit BGR values
// ($00BBGGRR: red in the low byte), as stored in configuration files.
// Qt colours are RGB; convert only here.

#include <QColor>
#include <cstdint>

namespace platform
{

inline QColor QColorFromBgr(uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
        static_cast<int>((bgr >> 16) & 0xFF));
}

inline uint32_t BgrFromQColor(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8)
        | (static_cast<uint32_t>(rgb.blue()) << 16);
}

} // namespace platform
