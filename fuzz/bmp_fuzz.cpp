// Bitmap chartlets: arbitrary bytes as a scratch "<image>.bmp" opened as the
// chartlet viewer opens it. Any input either gives a 32-bit RGB picture or
// raises ImageError naming the file; nothing is left allocated (ASan
// watches).
#include "ScratchFolder.h"

#include "platform/QtImageFile.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::WriteScratchFile("chartlet.bmp", data, size);
    try {
        const QImage image = platform::LoadImageFile(path);
        if (image.isNull() || image.width() < 1 || image.height() < 1
            || image.format() != QImage::Format_RGB32)
            std::abort();
    } catch (const platform::ImageError& e) {
        if (std::string(e.what()).find("chartlet.bmp") == std::string::npos)
            std::abort();
    }
    return 0;
}
