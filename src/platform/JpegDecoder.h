#pragma once
// JPEG decoding through libjpeg, with no window or Qt in sight: bytes in,
// 8-bit RGB pixels out (QtImageFile.h turns them into an image).
//
// libjpeg reports a fatal error by calling its error manager's error_exit,
// which must not return. Ours records the library's message and jumps back
// to the decoder, which then throws JpegError carrying that message. The jump
// only ever crosses libjpeg's own C frames and our plain C callbacks; every
// C++ object lives in the frame the jump lands in or above it, so no
// destructor is skipped. A file cut short, which libjpeg by itself would
// finish with grey and a warning, is an error too ("Premature end of JPEG
// file"); other warnings about corrupt data are passed over, as viewers do.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class JpegError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // rows top to bottom, 3 bytes R G B per pixel, no padding
};

// Larger images are refused before any pixel memory is taken: a header can
// claim 65500 x 65500 pixels in a few bytes. 64 megapixels is a generous scan.
constexpr std::size_t kMaxJpegPixels = 64u * 1024u * 1024u;
// Progressive files with more scans than this are refused (a known way to make
// a small file take minutes to decode); real files have about ten.
constexpr int kMaxJpegScans = 500;

// Decodes a JPEG file's bytes (baseline or progressive; grey or colour).
// Throws JpegError with libjpeg's message ("Not a JPEG file: starts with 0x42
// 0x4d", "Premature end of JPEG file", ...) or ours for a refused size.
RgbImage DecodeJpeg(std::string_view bytes, std::size_t maxPixels = kMaxJpegPixels);

} // namespace platform
