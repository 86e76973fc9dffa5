#pragma once
// Helpers for the pixel tests: small images in a known colour and a text
// picture of a region, one character per pixel, so an expected shape can be
// written out row by row in the test.

#include "draw/RasterCanvas.h"

#include <QImage>

#include <map>
#include <string>
#include <vector>

namespace chartwin::test
{

inline QImage MakeImage(int width, int height, TColour background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(BgrToRgb(background));
    return image;
}

// Rows of the square of half size `half` around (cx, cy): '.' for the
// background colour, the mapped character for known colours, '?' otherwise.
inline std::vector<std::string> Picture(const TRasterCanvas& canvas, int cx, int cy, int half,
    TColour background, const std::map<TColour, char>& legend)
{
    std::vector<std::string> rows;
    for (int y = cy - half; y <= cy + half; ++y) {
        std::string row;
        for (int x = cx - half; x <= cx + half; ++x) {
            const TColour c = canvas.Pixel(x, y);
            if (c == background)
                row += '.';
            else if (auto it = legend.find(c); it != legend.end())
                row += it->second;
            else
                row += '?';
        }
        rows.push_back(row);
    }
    return rows;
}

// The pixels of one row from x0 to x1 inclusive, '#' for `ink`, '.' otherwise.
inline std::string Row(const TRasterCanvas& canvas, int y, int x0, int x1, TColour ink)
{
    std::string row;
    for (int x = x0; x <= x1; ++x)
        row += canvas.Pixel(x, y) == ink ? '#' : '.';
    return row;
}

// Number of pixels of colour `ink` in the whole image, or in the box from
// (x0, y0) up to but not including (x1, y1).
inline int Count(const TRasterCanvas& canvas, TColour ink, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1)
{
    int n = 0;
    for (int y = y0; y < (y1 < 0 ? canvas.Height() : y1); ++y)
        for (int x = x0; x < (x1 < 0 ? canvas.Width() : x1); ++x)
            n += canvas.Pixel(x, y) == ink;
    return n;
}

} // namespace chartwin::test
