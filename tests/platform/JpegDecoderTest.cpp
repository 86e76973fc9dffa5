// JPEG decoding through libjpeg and chartlet image files. Test images are
// made by Qt's own JPEG writer, a second implementation.
#include "platform/JpegDecoder.h"
#include "platform/QtImageFile.h"

#include "support/TempDir.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{

using platform::DecodeJpeg;
using platform::ImageError;
using platform::JpegError;

// 64 x 48: red left half, blue right half, a white bottom quarter.
QImage Blocks()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter p(&image);
    p.fillRect(32, 0, 32, 48, Qt::blue);
    p.fillRect(0, 36, 64, 12, Qt::white);
    return image;
}

std::string Encoded(const QImage& image, const char* format, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return buffer.data().toStdString();
}

std::string DecodeError(std::string_view bytes, std::size_t maxPixels = platform::kMaxJpegPixels)
{
    try {
        DecodeJpeg(bytes, maxPixels);
    } catch (const JpegError& e) {
        return e.what();
    }
    return "decoded";
}

// Colour of pixel (x, y) of a decoded image, each channel within 12 of the
// expected (JPEG is lossy; the block edges are kept away from).
void ExpectPixel(const platform::RgbImage& image, int x, int y, int r, int g, int b)
{
    const uint8_t* px = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3];
    EXPECT_NEAR(px[0], r, 12) << x << "," << y;
    EXPECT_NEAR(px[1], g, 12) << x << "," << y;
    EXPECT_NEAR(px[2], b, 12) << x << "," << y;
}

TEST(JpegDecoderTest, DecodesBaselineProgressiveAndGreyFilesToRgb)
{
    for (const bool progressive : { false, true }) {
        const platform::RgbImage image = DecodeJpeg(Encoded(Blocks(), "JPG", progressive));
        EXPECT_EQ(image.width, 64);
        EXPECT_EQ(image.height, 48);
        ASSERT_EQ(image.pixels.size(), 64u * 48u * 3u);
        ExpectPixel(image, 8, 8, 255, 0, 0);
        ExpectPixel(image, 56, 8, 0, 0, 255);
        ExpectPixel(image, 8, 44, 255, 255, 255);
    }
    QImage grey(40, 30, QImage::Format_Grayscale8);
    grey.fill(QColor(90, 90, 90));
    const platform::RgbImage image = DecodeJpeg(Encoded(grey, "JPG"));
    EXPECT_EQ(image.width, 40);
    ExpectPixel(image, 20, 15, 90, 90, 90);
}

TEST(JpegDecoderTest, BadFilesRaiseTheLibrarysMessage)
{
    const std::string good = Encoded(Blocks(), "JPG");
    EXPECT_EQ(DecodeError(""), "Empty input file");
    EXPECT_EQ(DecodeError(Encoded(Blocks(), "BMP")), "Not a JPEG file: starts with 0x42 0x4d");
    EXPECT_EQ(DecodeError("plain text"), "Not a JPEG file: starts with 0x70 0x6c");
    // Cut short in the pixel data and in the header: libjpeg alone would
    // finish such a file with grey.
    EXPECT_EQ(DecodeError(good.substr(0, good.size() / 2)), "Premature end of JPEG file");
    EXPECT_EQ(DecodeError(good.substr(0, 40)), "Premature end of JPEG file");
    EXPECT_EQ(DecodeError(good.substr(0, 2)), "Premature end of JPEG file");
    // The same decoder goes on working after an error.
    EXPECT_EQ(DecodeJpeg(good).width, 64);
}

TEST(JpegDecoderTest, RefusesAClaimedSizeAboveTheLimitBeforeTakingMemory)
{
    std::string file = Encoded(Blocks(), "JPG");
    const std::size_t sof = file.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    // SOF0: FF C0, length (2), precision (1), height (2), width (2).
    file[sof + 5] = '\x27'; // 10000
    file[sof + 6] = '\x10';
    file[sof + 7] = '\x27';
    file[sof + 8] = '\x10';
    EXPECT_EQ(DecodeError(file), "JPEG image too large: 10000 x 10000 pixels");
    EXPECT_EQ(DecodeError(Encoded(Blocks(), "JPG"), 64 * 47), "JPEG image too large: 64 x 48 pixels");
    EXPECT_EQ(DecodeError(Encoded(Blocks(), "JPG"), 64 * 48), "decoded");
}

TEST(JpegDecoderTest, RefusesAFileOfEndlessScans)
{
    // The last scan of a progressive file, repeated: each repeat is a scan
    // libjpeg would work through (with a warning about the progression).
    const std::string file = Encoded(Blocks(), "JPG", true);
    const std::size_t lastScan = file.rfind("\xFF\xDA");
    const std::size_t end = file.rfind("\xFF\xD9");
    ASSERT_LT(lastScan, end);
    const std::string scan = file.substr(lastScan, end - lastScan);
    std::string repeated = file.substr(0, end);
    for (int i = 0; i < platform::kMaxJpegScans; ++i)
        repeated += scan;
    EXPECT_EQ(DecodeError(repeated + "\xFF\xD9"), "JPEG file has more than 500 scans");
    // Up to the limit it decodes.
    repeated = file.substr(0, end);
    for (int i = 0; i < 20; ++i)
        repeated += scan;
    EXPECT_EQ(DecodeError(repeated + "\xFF\xD9"), "decoded");
}

TEST(QtImageFileTest, LoadsJpegAndBitmapFilesByTheirExtension)
{
    kvtest::TempDir dir;
    dir.write("plan.JPG", Encoded(Blocks(), "JPG"));
    dir.write("plan.bmp", Encoded(Blocks(), "BMP"));
    const QImage jpeg = platform::LoadImageFile(dir.file("Plan.jpg"));
    EXPECT_EQ(jpeg.size(), QSize(64, 48));
    EXPECT_EQ(jpeg.format(), QImage::Format_RGB32);
    EXPECT_NEAR(qBlue(jpeg.pixel(56, 8)), 255, 12);
    const QImage bitmap = platform::LoadImageFile(dir.file("plan.bmp"));
    EXPECT_EQ(bitmap.format(), QImage::Format_RGB32);
    EXPECT_EQ(bitmap, Blocks()); // lossless
    EXPECT_TRUE(platform::IsJpegFileName("a/b.jpeg"));
    EXPECT_FALSE(platform::IsJpegFileName("a.jpg/b.bmp"));
}

TEST(QtImageFileTest, UnreadableFilesRaiseAnImageErrorNamingTheFile)
{
    kvtest::TempDir dir;
    dir.write("photo.jpg", Encoded(Blocks(), "BMP"));
    dir.write("cut.jpg", Encoded(Blocks(), "JPG").substr(0, 300));
    dir.write("plan.bmp", "BM not really");
    const auto message = [&dir](const char* name) -> std::string {
        try {
            platform::LoadImageFile(dir.file(name));
        } catch (const ImageError& e) {
            return e.what();
        }
        return "loaded";
    };
    EXPECT_EQ(message("photo.jpg"),
        "Cannot read the JPEG image \"photo.jpg\": Not a JPEG file: starts with 0x42 0x4d");
    EXPECT_EQ(message("cut.jpg"), "Cannot read the JPEG image \"cut.jpg\": Premature end of JPEG file");
    EXPECT_EQ(message("plan.bmp"), "\"plan.bmp\" is not a valid bitmap image");
    EXPECT_EQ(message("none.bmp"), "Cannot open the image file \"none.bmp\"");
}

} // namespace
