// The survey log on a chart view: magenta points, value blobs, labels and
// event texts, the trend line in the data-trend plot, the log's faults shown
// once; and the view dialog's transfer to and from a view.

#include "chartwin/SurveyPlot.h"
#include "chartwin/Childwin.h"
#include "dialogs/View_ZoomDlg.h"
#include "draw/PixelArt.h"
#include "nav/NavState.h"
#include "platform/QtTimer.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace chartwin;

namespace
{

constexpr int kWidth = 160, kHeight = 120;

// A record of the default template at (50 deg 48.0 + north, 1 deg 18.0 W)
// minutes, its velocity made good `vmg`.
std::string Record(int n, double northMinutes, const std::string& vmg)
{
    char text[160];
    std::snprintf(text, sizeof text, "%05d,07-12-26,094737,50%07.4f,N,00118.0000,W,1-08,235,5.8Kn,%s,0.01,y",
        n, 48.0 + northMinutes, vmg.c_str());
    return text;
}

class SurveyPlotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        View_ZoomSettings = {};
        ViewImageWidth = kWidth;
        ViewImageHeight = kHeight;
        PixelsPerDegLat = PixelsPerDegLon = 20;
        BackgroundColour = 0x000000;
        ForegroundColour = 0xFFFFFF;
        LogsFolder = dir.path() + "/";
        LogBaseName = "07-12-26";
        TextLogName = "07-12-26";
        NmeaLogTemplate = "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y";
        view = std::make_unique<TMDIChild>();
        view->NewChartBitmap();
        // 6000 pixels a degree: a thousandth of a degree is 6 pixels.
        view->FDrawCentreLat = view->FCursorLat = 50.8;
        view->FDrawCentreLon = view->FCursorLon = 1.3;
        view->FScaleLat = view->FScaleLon = 6000;
        view->SetZoom(20);
        PenIsUp = true;
        ClipMargin = 600;
    }

    void WriteLog(const std::vector<std::string>& records)
    {
        std::string text = "Log Date : 07-12-26\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n";
        for (const std::string& r : records)
            text += r + "\r\n";
        dir.write("07-12-26.txt", text);
    }

    TSurveyPlotInputs Inputs(char trend = 'V')
    {
        TSurveyPlotInputs in;
        tail.catchUp(LogsFolder + "07-12-26.txt", 'P', trend);
        in.trail = tail.trail();
        in.fixNumber = FixNumber;
        return in;
    }

    int Count(TColour colour, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const
    {
        return test::Count(*view->Canvas, colour, x0, y0, x1, y1);
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;
    std::unique_ptr<TMDIChild> view;
    SurveyLogTail tail;
};

} // namespace

TEST_F(SurveyPlotTest, PointsJoinedInMagentaAndBlobsInTheValuesColour)
{
    WriteLog({ Record(1, 0, "5.5"), Record(2, 0.6, "9.95") }); // 0.01 deg north: 60 pixels up
    view->FColourBlobs = true;
    FixNumber = 2;
    EXPECT_EQ(PlotTextLog(*view, Inputs()), SurveyLogFault::None);
    // The first point at the centre with a blue blob, 9 x 9 with cut corners.
    EXPECT_EQ(view->Canvas->Pixel(80 + 3, 60 + 3), kBlue);
    EXPECT_EQ(view->Canvas->Pixel(80 + 4, 60 + 1), kBlue);
    EXPECT_NE(view->Canvas->Pixel(80 + 4, 60 + 2), kBlue);
    EXPECT_NE(view->Canvas->Pixel(80 + 4, 60 + 4), kBlue);
    // 61 pixels, less the 5 the line to the next point draws over.
    EXPECT_EQ(Count(kBlue), 49 + 12 - 5);
    // The second at the top edge: red, cut by the bitmap.
    EXPECT_EQ(view->Canvas->Pixel(80, 0), kRed);
    // Joined by a magenta line between the blobs.
    EXPECT_EQ(view->Canvas->Pixel(80, 30), kMagenta);
}

TEST_F(SurveyPlotTest, NoTrendFieldDrawsOnlyThePoints)
{
    WriteLog({ Record(1, 0, "5.5"), Record(2, 0.1, "2") });
    view->FColourBlobs = true;
    view->FTextThreshold = 1;
    PlotTextLog(*view, Inputs('-'));
    EXPECT_EQ(Count(kBlue), 0);
    EXPECT_GT(Count(kMagenta), 0);
    int other = 0;
    for (TColour c : { kWhite, kLime, TColour(0x800080), TColour(0x008000) })
        other += Count(c);
    EXPECT_EQ(other, 0);
}

TEST_F(SurveyPlotTest, LabelsAndEventTexts)
{
    WriteLog({ Record(1, 0, "5.5"), "*1", Record(2, 0.3, "2000") }); // 30 pixels up
    view->FTextThreshold = 20;
    view->FHighlightLimit = 1000;
    PlotTextLog(*view, Inputs());
    // The plain value in magenta beside the first point, the event's value
    // (beyond the limit but an event) and its text in lime at the second.
    EXPECT_GT(Count(kMagenta, 85, 64, 120, 80), 5);
    EXPECT_GT(Count(kLime, 85, 20, 120, 30), 5); // "*1" above
    EXPECT_GT(Count(kLime, 85, 34, 120, 48), 5); // "2000" below

    view->NewChartBitmap();
    view->FTextThreshold = 21; // below the text zoom: no labels
    PlotTextLog(*view, Inputs());
    EXPECT_EQ(Count(kLime), 0);
}

TEST_F(SurveyPlotTest, TrendLineGoesIntoTheDataTrendPlot)
{
    WriteLog({ Record(1, 0, "10"), Record(2, 0.1, "10") });
    FixNumber = 2;
    view->FShowLastN = false;
    QImage plotImage;
    TDataTrendPlot plot { &plotImage, 200, false };
    TSurveyPlotInputs in = Inputs();
    in.trend = &plot;
    PlotTextLog(*view, in);
    ASSERT_EQ(plotImage.size(), QSize(117, 86));
    TRasterCanvas canvas(plotImage);
    // From the zero line's left end up to row 23 (10 x 200 / 100 = 20 up),
    // then across to the next sample's column, Round(1 x 116 / 3) = 39.
    EXPECT_EQ(canvas.Pixel(0, 30), kWhite);
    EXPECT_EQ(canvas.Pixel(20, 23), kWhite);
    EXPECT_EQ(canvas.Pixel(60, 23), kBlack);
    // The last value written at the bottom left.
    EXPECT_GT(test::Count(canvas, kWhite, 1, 72, 40, 86), 10);

    plot.reversed = true;
    PlotTextLog(*view, in);
    TRasterCanvas again(plotImage);
    EXPECT_EQ(again.Pixel(20, 63), kWhite);
}

TEST_F(SurveyPlotTest, FaultsAreShownOncePerLog)
{
    dir.write("07-12-26.txt", "AIS Log Date : 07-12-26\r\n");
    view->RedrawView();
    view->RedrawView();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "Log file format error! (Possibly not a KVNAV Text Log)");
    EXPECT_EQ(ui.shown()[0].kind, "message:error");

    WriteLog({ Record(1, 0, "1"), "00002,07-12-26,094737,5048.0000,N" });
    view->RedrawView();
    view->RedrawView();
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1], "Log file format error !");

    // Mended and broken again: shown again.
    WriteLog({ Record(1, 0, "1") });
    view->RedrawView();
    dir.write("07-12-26.txt", "nonsense\r\n");
    view->RedrawView();
    EXPECT_EQ(ui.messages().size(), 3u);

    // A view that does not plot the log says nothing about it.
    view->FPlotSurveyLog = false;
    view->RedrawView();
    view->FPlotSurveyLog = true;
    view->RedrawView();
    EXPECT_EQ(ui.messages().size(), 3u);

    // A missing log is no fault.
    std::remove((LogsFolder + "07-12-26.txt").c_str());
    view->RedrawView();
    EXPECT_EQ(ui.messages().size(), 3u);
}

TEST_F(SurveyPlotTest, ViewDialogOkTakesTheOptionsBack)
{
    LogCount = 5;
    view->SetZoom(12.7);
    ui.answerModal([](QDialog& d) {
        auto& v = static_cast<TView_ZoomDlg&>(d);
        EXPECT_EQ(v.xZoom->value(), 13);
        EXPECT_EQ(v.PlotV->currentText(), "-");
        v.ShowTide->setChecked(false);
        v.UseCrosses->setChecked(true);
        return platform::ModalResult::Ok;
    });
    view->ViewBtnClick();
    // An OK for another option keeps the fractional zoom.
    EXPECT_DOUBLE_EQ(view->FZoom, 12.7);
    EXPECT_DOUBLE_EQ(ViewZoom, 12.7);
    EXPECT_FALSE(view->FShowTides);
    EXPECT_TRUE(View_ZoomSettings.UseCrosses);
    EXPECT_DOUBLE_EQ(view->FHighlightLimit, 1000);

    ui.answerModal([](QDialog& d) {
        auto& v = static_cast<TView_ZoomDlg&>(d);
        EXPECT_TRUE(v.UseCrosses->isChecked()); // kept from the last time
        v.xZoom->setValue(40);
        v.ShowTrack->setChecked(true);
        v.PlotV->setCurrentText("Vel. made good to WP");
        return platform::ModalResult::Ok;
    });
    view->ViewBtnClick();
    EXPECT_DOUBLE_EQ(view->FZoom, 40);
    EXPECT_EQ(view->FIntZoom, 40);
    EXPECT_EQ(view->FTrendField, 'V');
    EXPECT_EQ(LogCount, 5); // the track is not emptied

    ui.answerModal([](QDialog& d) {
        static_cast<TView_ZoomDlg&>(d).xZoom->setValue(0);
        return platform::ModalResult::Ok;
    });
    view->ViewBtnClick();
    EXPECT_DOUBLE_EQ(view->FZoom, 40); // 0 leaves the zoom

    ui.answerModal([](QDialog& d) {
        static_cast<TView_ZoomDlg&>(d).xZoom->setValue(80);
        return platform::ModalResult::Cancel;
    });
    view->ViewBtnClick();
    EXPECT_DOUBLE_EQ(view->FZoom, 40);
}
