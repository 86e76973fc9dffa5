// The demo folder's chartlet "Entrance": a plan of the harbour entrance of the
// demo chart "harbour", drawn from demo/charts/harbour.cht and its marks in
// harbour.wpt through the chartlet mapping itself, so that the image and its
// reference agree by construction. The test checks that demo/charts holds the
// reference byte for byte and an image that matches a fresh drawing; after
// changing the chart or the drawing, regenerate both with
// scripts/make-demo-chart.sh
// (KV_REGENERATE_DEMO=1 build/tests/test_dialogs --gtest_filter='DemoChartlet*').

#include "nav/ChartStore.h"
#include "nav/ChartletReference.h"
#include "nav/ChartletView.h"
#include "nav/NavState.h"
#include "nav/WaypointFile.h"
#include "platform/QtImageFile.h"
#include "platform/QtText.h"
#include "rtl/Numbers.h"
#include "support/TempDir.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace
{

const std::string kCharts = std::string(KV_SOURCE_DIR) + "/demo/charts/";

// 640 x 480 pixels over 0.020 degrees of latitude and 0.042 of longitude,
// about the same number of metres per pixel both ways at 50.8 N.
ChartletReference Entrance()
{
    ChartletReference r;
    r.height = 480;
    r.width = 640;
    r.nwLat = 50.805;
    r.nwLon = 1.321;
    r.seLat = 50.785;
    r.seLon = 1.279;
    r.trackColour = 255;
    r.trackWidth = 2;
    return r;
}

QPointF Pixel(double lat, double lon)
{
    const PixelPoint p = PositionToPixel(Entrance(), lat, lon);
    return QPointF(p.x, p.y);
}

// Pens of the chart's line types 0..6 as a paper chart shows them.
QPen LinePen(int type)
{
    switch (type) {
    case 0: // coast and breakwaters
        return QPen(QColor(90, 60, 30), 3);
    case 2: // depth contour
        return QPen(QColor(40, 110, 200), 2, Qt::DashLine);
    case 3: // dredged channel
        return QPen(QColor(190, 0, 160), 2, Qt::DashDotLine);
    case 4: // pontoons
        return QPen(QColor(60, 60, 60), 4);
    default:
        return QPen(Qt::black, 1);
    }
}

QColor MarkColour(const std::string& symbol)
{
    if (symbol == "07")
        return QColor(0, 150, 0); // starboard hand
    if (symbol == "08" || symbol == "13")
        return QColor(220, 0, 0); // port hand, fairway buoy
    if (symbol == "05")
        return QColor(230, 160, 0); // light
    return Qt::black;
}

QImage RenderEntrance()
{
    const ChartletReference r = Entrance();
    QImage image(r.width, r.height, QImage::Format_RGB32);
    image.fill(QColor(214, 234, 248)); // sea
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const ChartFileContents chart = DecodeChartFile(kvtest::ReadBytes(kCharts + "harbour.cht"));
    QPainterPath line;
    int type = 0;
    const auto flush = [&] {
        p.strokePath(line, LinePen(type));
        line = QPainterPath();
    };
    for (const ChartPoint& point : chart.points) {
        if (IsPenUp(point)) {
            flush();
            continue;
        }
        const double field = point.lat.value();
        type = static_cast<int>(rtl::Round(field / 200.0));
        const QPointF at = Pixel(field - 200.0 * type, point.lon.value());
        if (line.elementCount() == 0)
            line.moveTo(at);
        else
            line.lineTo(at);
    }
    flush();

    ResetNavState();
    ChartsFolder = kCharts;
    LoadWaypointDatabase("harbour");
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    for (int i = 1; i <= WaypointDbCount; ++i) {
        const std::string name = WaypointDbNames[i].str();
        const QPointF at = Pixel(WaypointDbPoints[i].lat, WaypointDbPoints[i].lon);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(MarkColour(name.substr(24, 2)));
        p.drawEllipse(at, 5, 5);
        std::string label = name.substr(0, 24);
        label.erase(label.find_last_not_of(' ') + 1);
        // Marks west of the channel are labelled on their west side.
        if (WaypointDbPoints[i].lon > 1.3)
            p.drawText(
                QRectF(at.x() - 208, at.y() - 8, 200, 16), Qt::AlignRight | Qt::AlignVCenter, qs(label));
        else
            p.drawText(QRectF(at.x() + 8, at.y() - 8, 200, 16), Qt::AlignLeft | Qt::AlignVCenter, qs(label));
    }

    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(8, 8, 230, 42);
    font.setPixelSize(16);
    font.setBold(true);
    p.setFont(font);
    p.drawText(16, 28, "Harbour entrance");
    font.setPixelSize(11);
    font.setBold(false);
    p.setFont(font);
    p.drawText(16, 44, "Demo chartlet - not for navigation");
    return image;
}

void WriteEntrance(const std::string& folder)
{
    ASSERT_TRUE(RenderEntrance().save(qs(folder + "Entrance.jpg"), "JPG", 85));
    ASSERT_TRUE(WriteChartletReference(folder + "Entrance.ref", Entrance()));
}

// Mean difference per channel of two images of the same size.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y), pb = b.pixel(x, y);
            sum += std::abs(qRed(pa) - qRed(pb)) + std::abs(qGreen(pa) - qGreen(pb))
                + std::abs(qBlue(pa) - qBlue(pb));
        }
    return sum / (3.0 * a.width() * a.height());
}

TEST(DemoChartlet, DemoFolderHoldsTheEntrancePlanDrawnFromTheHarbourChart)
{
    if (std::getenv("KV_REGENERATE_DEMO"))
        WriteEntrance(kCharts);
    EXPECT_EQ(kvtest::ReadBytes(kCharts + "Entrance.ref"), FormatChartletReference(Entrance()));
    const QImage stored = platform::LoadImageFile(kCharts + "Entrance.jpg");
    const QImage fresh = RenderEntrance();
    ASSERT_EQ(stored.size(), fresh.size());
    // JPEG is lossy, and the labels depend on the fonts at hand.
    EXPECT_LT(MeanDifference(stored, fresh), 4.0);
}

TEST(DemoChartlet, ReferenceMapsTheMarksOntoTheirPlaceInTheImage)
{
    const ReferenceReadResult read = ReadChartletReference(kCharts + "Entrance.ref");
    ASSERT_EQ(read.status, ReferenceStatus::Read);
    ASSERT_TRUE(read.reference.valid());
    const QImage stored = platform::LoadImageFile(kCharts + "Entrance.jpg");
    // The fairway buoy (50.7860 N, 1.3000 W) is a red dot; the starboard
    // hand mark No 1 (50.7930 N, 1.2975 W) a green one.
    PixelPoint at = PositionToPixel(read.reference, 50.7860, 1.3000);
    QRgb px = stored.pixel(at.x, at.y);
    EXPECT_GT(qRed(px), 170);
    EXPECT_LT(qGreen(px), 80);
    at = PositionToPixel(read.reference, 50.7930, 1.2975);
    px = stored.pixel(at.x, at.y);
    EXPECT_LT(qRed(px), 80);
    EXPECT_GT(qGreen(px), 100);
    // And the cursor over it reads its position back.
    const TPosition p = PixelToPosition(read.reference, 640, 480, at.x, at.y);
    EXPECT_NEAR(p.lat, 50.7930, 0.5 * 0.02 / 480);
    EXPECT_NEAR(p.lon, 1.2975, 0.5 * 0.042 / 640);
}

} // namespace
