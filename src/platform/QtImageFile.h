#pragma once
// Chartlet images from files: a JPEG decoded through libjpeg (JpegDecoder.h),
// a bitmap read by Qt. The file's extension decides, as the open dialog's
// filters offer them: ".jpg" or ".jpeg" (any case) is a JPEG, anything else a
// bitmap.

#include <QImage>

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform
{

// An image that cannot be read; the message names the file and, for a JPEG,
// carries libjpeg's own text.
class ImageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

bool IsJpegFileName(const std::string& path);

// The image in a file, as 32-bit RGB. Throws ImageError.
QImage LoadImageFile(const std::string& path);
// The image in a JPEG file's bytes, as 32-bit RGB. Throws JpegError.
QImage JpegImage(std::string_view bytes);

} // namespace platform
