// The two programs together: a position list converted by gridmerk's
// window opens in korvex with its configuration and draws in the view.

#include "mainwin/ChartFilesFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "converter/Apunit1.h"
#include "mainwin/Main.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

namespace
{

class GridmerkToKorvexTest : public ChartFilesTest
{
};

// Pixels that differ between two images of the same size.
int DifferingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TEST_F(GridmerkToKorvexTest, ConvertedGridListOpensInKorvexAndDraws)
{
    // A short coastline west of the Isle of Wight and a second line, in grid
    // references; the comment splits the two lines.
    dir.write("solent.dat",
        "420000 085000\r\n430000 090000\r\n440000 088000\r\n450000 093000\r\n"
        "# second line\r\n425000 095000\r\n445000 098000\r\n");
    {
        auto gridmerk = std::make_unique<TForm1>();
        gridmerk->FormActivate();
        gridmerk->INFile->setText("solent.dat");
        gridmerk->Opfile->setText("charts/solent.cht");
        gridmerk->Grid_in->click();
        gridmerk->start->click();
        EXPECT_EQ(ui.messages(),
            (std::vector<std::string> { "Data Array Written", "File successfully converted" }));
        gridmerk->close();
    }
    ui.clear();

    Start();
    OpenChart(charts() + "solent.cht");
    // 6 pen-ups, 7 lines, 5 pen-ups, less the end marker that korvex drops.
    ASSERT_EQ(ChartPointCount, 17);
    const std::vector<ChartPoint> points = Stored();
    EXPECT_EQ(points[10], PenUpPoint);
    for (int i : { 6, 7, 8, 9, 11, 12 }) {
        EXPECT_GT(points[i].lat.value(), 50.5) << i;
        EXPECT_LT(points[i].lat.value(), 50.9) << i;
        EXPECT_GT(points[i].lon.value(), 1.2) << i; // west positive
        EXPECT_LT(points[i].lon.value(), 1.9) << i;
    }
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Total chart points = 17" });
    // The home view is the last converted position at zoom 2.
    EXPECT_NEAR(ChartHomeLat, points[12].lat.value(), 1e-12);
    EXPECT_NEAR(ChartHomeLon, points[12].lon.value(), 1e-12);
    EXPECT_EQ(ChartHomeZoom, 2);
    EXPECT_EQ(CurrentChartName, "solent");

    TMDIChild* view = chartwin::View(0);
    ASSERT_NE(view, nullptr);
    // The same redraw with and without the chart's points.
    view->NewChartBitmap();
    view->RedrawView();
    const QImage withChart = view->Bitmap.copy();
    ChartPointCount = 0;
    view->NewChartBitmap();
    view->RedrawView();
    EXPECT_GT(DifferingPixels(withChart, view->Bitmap), 100);
}

} // namespace
