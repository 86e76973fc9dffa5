#include "platform/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace platform
{

namespace
{

// libjpeg is handed `pub`; the callbacks cast back to the whole record.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

ErrorManager& Errors(j_common_ptr cinfo)
{
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void JumpBack(j_common_ptr cinfo)
{
    std::longjmp(Errors(cinfo).jump, 1);
}

// Replaces the library's error_exit, which would print and exit the process.
[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    (*cinfo->err->format_message)(cinfo, Errors(cinfo).message);
    JumpBack(cinfo);
}

// Warnings (level -1) and trace messages (level 0 and up). A file cut short
// is fatal; other warnings are counted and decoding goes on.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        ErrorExit(cinfo);
    ++cinfo->err->num_warnings;
}

// Nothing goes to stderr.
void OutputMessage(j_common_ptr) { }

void CheckProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
        std::snprintf(
            Errors(cinfo).message, JMSG_LENGTH_MAX, "JPEG file has more than %d scans", kMaxJpegScans);
        JumpBack(cinfo);
    }
}

// One decoder's libjpeg state, destroyed whatever happens.
struct Decompressor {
    jpeg_decompress_struct cinfo {};
    ErrorManager errors {};
    jpeg_progress_mgr progress {};
    bool created = false;
    const unsigned char* input = nullptr;
    unsigned long inputSize = 0;
    unsigned char* output = nullptr; // RGB rows, sized after the header
    Decompressor() = default;
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    ~Decompressor()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

// The stages below call into libjpeg, which may jump back out of them
// through ErrorExit. They hold no C++ object with a destructor.
void ReadHeader(Decompressor& d)
{
    d.cinfo.err = jpeg_std_error(&d.errors.pub);
    d.errors.pub.error_exit = ErrorExit;
    d.errors.pub.emit_message = EmitMessage;
    d.errors.pub.output_message = OutputMessage;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    d.progress.progress_monitor = CheckProgress;
    d.cinfo.progress = &d.progress;
    jpeg_mem_src(&d.cinfo, d.input, d.inputSize);
    jpeg_read_header(&d.cinfo, TRUE);
    d.cinfo.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&d.cinfo);
}

void ReadPixels(Decompressor& d)
{
    jpeg_start_decompress(&d.cinfo);
    const std::size_t stride = std::size_t { d.cinfo.output_width } * 3;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.output + stride * d.cinfo.output_scanline;
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
}

// Runs a stage; false when libjpeg gave up inside it (the message is in
// d.errors.message). Nothing here changes after setjmp, so nothing needs to
// be volatile.
bool Protected(void (*stage)(Decompressor&), Decompressor& d)
{
    if (setjmp(d.errors.jump) != 0)
        return false;
    stage(d);
    return true;
}

} // namespace

RgbImage DecodeJpeg(std::string_view bytes, std::size_t maxPixels)
{
    Decompressor d;
    d.input = reinterpret_cast<const unsigned char*>(bytes.data());
    d.inputSize = static_cast<unsigned long>(bytes.size());
    if (!Protected(ReadHeader, d))
        throw JpegError(d.errors.message);

    RgbImage image;
    image.width = static_cast<int>(d.cinfo.output_width);
    image.height = static_cast<int>(d.cinfo.output_height);
    const std::size_t pixels = std::size_t { d.cinfo.output_width } * d.cinfo.output_height;
    if (pixels > maxPixels)
        throw JpegError("JPEG image too large: " + std::to_string(image.width) + " x "
            + std::to_string(image.height) + " pixels");
    if (d.cinfo.output_components != 3)
        throw JpegError("JPEG image has an unsupported colour space");
    image.pixels.resize(pixels * 3);
    d.output = image.pixels.data();
    if (!Protected(ReadPixels, d))
        throw JpegError(d.errors.message);
    return image;
}

} // namespace platform
