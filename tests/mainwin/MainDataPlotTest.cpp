// The data-trend plot of the navigation panel: showing it, the cleared
// plot, the gain box, selecting a stretch of the log with the mouse (one
// view only), plot-all, the AIS view drawing the trend into it, and the copy.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "mainwin/Main.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace
{

class MainDataPlotTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Start();
        BackgroundColour = 0xFFFFFF;
        ForegroundColour = 0x000000;
    }

    // Pixels of `colour` (BGR) in column x or row y of the plot.
    int InColumn(int x, uint32_t colour) const
    {
        int n = 0;
        for (int y = 0; y < MainForm->DataPlotImage.height(); ++y)
            n += chartwin::RgbToBgr(MainForm->DataPlotImage.pixel(x, y)) == colour;
        return n;
    }
    int InRow(int y, uint32_t colour) const
    {
        int n = 0;
        for (int x = 0; x < MainForm->DataPlotImage.width(); ++x)
            n += chartwin::RgbToBgr(MainForm->DataPlotImage.pixel(x, y)) == colour;
        return n;
    }
};

} // namespace

TEST_F(MainDataPlotTest, ShownClearedWithItsZeroLine)
{
    EXPECT_FALSE(MainForm->Data_Panel->isVisibleTo(MainForm));
    MainForm->DataPlot1Click();
    EXPECT_TRUE(MainForm->DataPlot1->isChecked());
    EXPECT_TRUE(MainForm->Data_Panel->isVisibleTo(MainForm));
    EXPECT_TRUE(MainForm->PlotAll->isVisibleTo(MainForm));
    ASSERT_EQ(MainForm->DataPlotImage.size(), QSize(117, 86));
    EXPECT_EQ(InRow(43, 0x000000), 117);
    int dark = 0;
    for (int y = 0; y < 86; ++y)
        dark += InRow(y, 0x000000);
    EXPECT_EQ(dark, 117); // one line, nothing else
    EXPECT_NE(MainForm->DataTrendPlot(), nullptr);

    MainForm->DataPlot1Click();
    EXPECT_FALSE(MainForm->Data_Panel->isVisibleTo(MainForm));
    EXPECT_EQ(MainForm->DataTrendPlot(), nullptr);
}

TEST_F(MainDataPlotTest, GainZeroBecomesOne)
{
    MainForm->Data_Gain->setValue(0);
    EXPECT_EQ(MainForm->Data_Gain->value(), 1);
    EXPECT_EQ(MainForm->Data_Gain->toolTip().toStdString().find("Full Scale=4500.00"), 0u);
    EXPECT_EQ(MainForm->Data_Gain->singleStep(), 1);
    MainForm->Data_Gain->setValue(200);
    EXPECT_EQ(MainForm->Data_Gain->singleStep(), 100);
}

TEST_F(MainDataPlotTest, MouseSelectsRecordsWithOneViewOnly)
{
    MainForm->CreateChartView("harbour");
    FixNumber = 234;
    MainForm->Data_PlotMouseDown(58);
    EXPECT_EQ(DataTrendOffset, 116);
    EXPECT_EQ(DataTrendStart, -6);
    EXPECT_EQ(chartwin::View(0)->FShowCount, 118);
    EXPECT_EQ(MainForm->StatusLine->text(), "116");
    EXPECT_EQ(InColumn(58, 0x000000), 86);
    MainForm->Data_PlotMouseUp(116);
    EXPECT_EQ(DataTrendStart, 232);
    EXPECT_EQ(DataTrendEndX, 116);
    EXPECT_EQ(MainForm->StatusLine->text(), "232");

    // Dragged right to left: the selection runs from the smaller end.
    MainForm->Data_PlotMouseDown(116);
    MainForm->Data_PlotMouseUp(58);
    EXPECT_EQ(DataTrendOffset, 116);
    EXPECT_EQ(DataTrendStart, 232);
    EXPECT_EQ(chartwin::View(0)->FShowCount, 118);

    // With two views the presses do nothing.
    MainForm->CreateChartView("harbour");
    DataTrendOffset = 0;
    DataTrendStart = -6;
    MainForm->Data_PlotMouseDown(58);
    MainForm->Data_PlotMouseUp(116);
    EXPECT_EQ(DataTrendOffset, 0);
    EXPECT_EQ(DataTrendStart, -6);
}

TEST_F(MainDataPlotTest, PlotAllTogglesTheViewAndRedrawsTheMarkersRed)
{
    TMDIChild* view = MainForm->CreateChartView("harbour");
    MainForm->DataPlot1Click();
    FixNumber = 234;
    MainForm->Data_PlotMouseDown(20);
    MainForm->Data_PlotMouseUp(90);
    MainForm->PlotAllClick();
    EXPECT_FALSE(view->FShowLastN); // all of the log
    MainForm->Data_PlotMouseDown(30); // no selection while plotting all
    EXPECT_EQ(DataTrendOffset, 40);
    MainForm->PlotAllClick();
    EXPECT_TRUE(view->FShowLastN);
    EXPECT_EQ(InColumn(20, 0x0000FF), 86);
    EXPECT_EQ(InColumn(90, 0x0000FF), 86);
}

TEST_F(MainDataPlotTest, CopyPutsThePlotOnTheClipboard)
{
    MainForm->DataPlot1Click();
    MainForm->CopyPlottoClipboard1Click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(117, 86));
}
