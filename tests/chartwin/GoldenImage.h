#pragma once
// Comparing a drawn picture with a stored one, pixel for pixel. With
// KV_REGENERATE_GOLDEN set the drawn picture is stored instead (the calling
// test then says so and skips).

#include "nav/NavState.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

// The golden pictures' view: 320 x 240 pixels, white on navy, nothing
// loaded, the latitude's cosine at `lat`.
inline void GoldenScene(double lat)
{
    ResetNavState();
    ViewImageWidth = 320;
    ViewImageHeight = 240;
    PixelsPerDegLat = 45;
    PixelsPerDegLon = 28;
    BackgroundColour = 0x800000;
    ForegroundColour = 0xFFFFFF;
    CosLat = std::cos(lat * M_PI / 180);
}

inline bool RegeneratingGolden()
{
    return qEnvironmentVariableIsSet("KV_REGENERATE_GOLDEN");
}

inline void ExpectMatchesGolden(const QImage& drawn, const std::string& path)
{
    if (RegeneratingGolden()) {
        ASSERT_TRUE(drawn.save(QString::fromStdString(path), "PNG"));
        return;
    }
    QImage golden(QString::fromStdString(path));
    ASSERT_FALSE(golden.isNull()) << path;
    golden = golden.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), drawn.size());
    int differ = 0;
    for (int y = 0; y < golden.height(); ++y)
        for (int x = 0; x < golden.width(); ++x)
            differ += golden.pixel(x, y) != drawn.pixel(x, y);
    EXPECT_EQ(differ, 0) << "pixels differing from " << path;
}
