#pragma once
// Comparing a drawn picture with a stored one, pixel for pixel. With
// KV_REGENERATE_GOLDEN set the drawn picture is stored instead (the calling
// test then says so and skips).

#include <QImage>
#include <gtest/gtest.h>

#include <string>

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
