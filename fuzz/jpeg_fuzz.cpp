// JPEG decoding through libjpeg on arbitrary bytes, then as a Qt image: any
// input either decodes to a picture of the size its header gives or raises
// JpegError with a message; nothing is left allocated (ASan watches). The
// size limit is the program's own, so a picture the program would refuse is
// refused here and one it would decode is decoded.
#include "platform/JpegDecoder.h"
#include "platform/QtImageFile.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    platform::RgbImage image;
    try {
        image = platform::DecodeJpeg(input, platform::kMaxJpegPixels);
    } catch (const platform::JpegError& e) {
        if (e.what()[0] == '\0')
            std::abort();
        return 0;
    }
    if (image.width < 1 || image.height < 1
        || image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 3)
        std::abort();
    if (image.pixels.size() <= 64 * 1024 * 3) {
        const QImage qt = platform::JpegImage(input);
        if (qt.width() != image.width || qt.height() != image.height || qt.format() != QImage::Format_RGB32)
            std::abort();
    }
    return 0;
}
