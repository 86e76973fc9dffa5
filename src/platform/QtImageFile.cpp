#include "platform/QtImageFile.h"

#include "platform/JpegDecoder.h"
#include "platform/QtText.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

namespace platform
{

bool IsJpegFileName(const std::string& path)
{
    const std::string ext = rtl::LowerCase(rtl::ExtractFileExt(path));
    return ext == ".jpg" || ext == ".jpeg";
}

QImage JpegImage(std::string_view bytes)
{
    const RgbImage rgb = DecodeJpeg(bytes);
    const QImage view(rgb.pixels.data(), rgb.width, rgb.height, static_cast<qsizetype>(rgb.width) * 3,
        QImage::Format_RGB888);
    return view.convertToFormat(QImage::Format_RGB32); // a copy: `rgb` goes out of scope
}

QImage LoadImageFile(const std::string& path)
{
    const std::string name = rtl::ExtractFileName(path);
    const std::optional<std::string> bytes = rtl::ReadFileBytes(rtl::OpenPath(path));
    if (!bytes)
        throw ImageError("Cannot open the image file \"" + name + "\"");
    if (IsJpegFileName(path)) {
        try {
            return JpegImage(*bytes);
        } catch (const JpegError& e) {
            throw ImageError("Cannot read the JPEG image \"" + name + "\": " + e.what());
        }
    }
    QImage image;
    if (!image.loadFromData(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())), "BMP"))
        throw ImageError("\"" + name + "\" is not a valid bitmap image");
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace platform
