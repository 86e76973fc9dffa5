// A chart view on its own (no main window): its projection and inverse,
// zoom limits and beeps, the zoom for a range, re-centring, the rules for
// closing it and its controls.

#include "chartwin/Childwin.h"
#include "chartwin/SpinButton.h"
#include "chartwin/SymbolLibrary.h"
#include "chartwin/ViewList.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ShortStringPrint.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace
{

class ChildwinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ViewImageWidth = 800;
        ViewImageHeight = 600;
        PixelsPerDegLat = 72;
        PixelsPerDegLon = 69; // 800 / 640 x 55
        ChartHomeLat = 50.5;
        ChartHomeLon = 1.25;
        ChartHomeZoom = 4;
        BackgroundColour = 0x800000;
        ForegroundColour = 0xFFFFFF;
        ViewRotation = 0;
        ViewRotationCos = 1;
        ViewRotationSin = 0;
    }

    void TearDown() override
    {
        for (QPointer<TMDIChild>& view : views_)
            delete view.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TMDIChild& NewView()
    {
        views_.emplace_back(new TMDIChild);
        return *views_.back();
    }

    // Closes a view as its close box does; true when it closed.
    static bool Close(TMDIChild& view)
    {
        const bool closed = view.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }

    platform::ScriptedUi ui;
    std::vector<QPointer<TMDIChild>> views_;
};

using ProjectionTest = ChildwinTest;

TEST_F(ProjectionTest, PixelsPerDegreeOfLatitudeGrowWithTheCentreLatitude)
{
    TMDIChild& view = NewView();
    view.SetZoom(1);
    view.FCursorLat = 0;
    view.SetUpProjection();
    EXPECT_EQ(view.FPixPerDegLat, 72); // Round(600 / 200 x 38 x 0.63)
    EXPECT_EQ(view.FScaleLat, 72);
    EXPECT_EQ(view.FScaleLon, 69);
    EXPECT_DOUBLE_EQ(view.FDegreesHigh, 600.0 / 72);
    EXPECT_DOUBLE_EQ(view.FDegreesWide, 800.0 / 69);

    view.FCursorLat = 60;
    view.SetUpProjection();
    EXPECT_EQ(view.FPixPerDegLat, 144);
    view.SetZoom(2.5);
    view.SetUpProjection();
    EXPECT_EQ(view.FScaleLat, 360);
    EXPECT_EQ(view.FScaleLon, 172); // Round(172.5), half to even
}

TEST_F(ProjectionTest, CursorIsClampedAndWrappedAtEachSetUp)
{
    TMDIChild& view = NewView();
    const struct {
        double lat, lon, drawnLat, drawnLon;
    } cases[] = { { 85, 190, 84, -170 }, { -81, -185, -80, 175 }, { 84, 180, 84, 180 },
        { -80, -180, -80, -180 }, { 10, 600, 10, -120 } };
    for (const auto& c : cases) {
        view.FCursorLat = c.lat;
        view.FCursorLon = c.lon;
        view.SetUpProjection();
        EXPECT_DOUBLE_EQ(view.FCursorLat, c.drawnLat) << c.lat;
        EXPECT_DOUBLE_EQ(view.FCursorLon, c.drawnLon) << c.lon;
        EXPECT_DOUBLE_EQ(view.FDrawCentreLat, c.drawnLat);
        EXPECT_DOUBLE_EQ(view.FDrawCentreLon, c.drawnLon);
    }
}

TEST_F(ProjectionTest, NorthIsUpEastIsRightThenTheRotationTurnsAboutTheCentre)
{
    TMDIChild& view = NewView();
    view.SetZoom(1);
    view.FCursorLat = 0;
    view.FCursorLon = 0;
    view.SetUpProjection();
    int32_t x = 0, y = 0;
    // One degree north and one degree east (longitudes are west positive).
    ASSERT_TRUE(view.Project(1, -1, x, y));
    EXPECT_EQ(x, 400 + 69);
    EXPECT_EQ(y, 300 - 72);

    ViewRotation = M_PI / 2;
    ViewRotationCos = 0;
    ViewRotationSin = 1;
    ASSERT_TRUE(view.Project(1, 0, x, y)); // dy = -72, dx = 0
    EXPECT_EQ(x, 400 + 72);
    EXPECT_EQ(y, 300);
    double lat = 0, lon = 0;
    view.InverseProject(472, 300, lat, lon);
    EXPECT_NEAR(lat, 1, 1e-12);
    EXPECT_NEAR(lon, 0, 1e-12);
}

TEST_F(ProjectionTest, PixelToPositionToPixelStaysWithinOnePixel)
{
    TMDIChild& view = NewView();
    const double zooms[] = { 0.5, 1, 25, 6000, 36000 };
    const double rotations[] = { 0, 0.4, -2.3, M_PI };
    const int pixels[][2] = { { 0, 0 }, { 799, 599 }, { 400, 300 }, { 13, 577 }, { 650, 41 } };
    for (double zoom : zooms) {
        for (double rotation : rotations) {
            ViewRotation = rotation;
            ViewRotationCos = std::cos(rotation);
            ViewRotationSin = std::sin(rotation);
            view.SetZoom(zoom);
            view.FCursorLat = 50.3;
            view.FCursorLon = -1.7;
            view.SetUpProjection();
            for (const auto& p : pixels) {
                double lat = 0, lon = 0;
                view.InverseProject(p[0], p[1], lat, lon);
                int32_t x = -1, y = -1;
                ASSERT_TRUE(view.Project(lat, lon, x, y)) << zoom << " " << rotation;
                EXPECT_LE(std::abs(x - p[0]), 1) << zoom << " " << rotation << " " << p[0];
                EXPECT_LE(std::abs(y - p[1]), 1) << zoom << " " << rotation << " " << p[1];
            }
        }
    }
}

TEST_F(ProjectionTest, InverseClampsLatitudeAndWrapsLongitude)
{
    TMDIChild& view = NewView();
    view.SetZoom(1);
    view.FCursorLat = 83.9;
    view.FCursorLon = 179.9;
    view.SetUpProjection();
    double lat = 0, lon = 0;
    view.InverseProject(0, 0, lat, lon); // north west of the centre
    EXPECT_EQ(lat, 84);
    EXPECT_GT(lon, -180);
    EXPECT_LT(lon, -170); // across the date line, west positive wraps negative
}

TEST_F(ProjectionTest, ViewFollowingTheSelectedAisTargetIsCentredOnIt)
{
    TMDIChild& view = NewView();
    ASSERT_TRUE(view.FIsAisView);
    AisTargetCount = 1;
    SelectedAisTarget = 1;
    AisTargets[1].latitude = 50 * 600000 + 300000; // 50.5 N
    AisTargets[1].longitude = -600000; // 1 W (east positive in the record)
    ChartOffsetLat = 0.01;
    ChartOffsetLon = 0.02;
    view.AISFollowSelectedTarget1->setChecked(true);
    view.ShowAIS->setChecked(true);
    view.SetUpProjection();
    EXPECT_DOUBLE_EQ(view.FDrawCentreLat, 50.51);
    EXPECT_DOUBLE_EQ(view.FDrawCentreLon, 0.98);

    view.ShowAIS->setChecked(false);
    view.SetUpProjection();
    EXPECT_DOUBLE_EQ(view.FDrawCentreLat, view.FCursorLat);
}

TEST_F(ProjectionTest, FreshBitmapIsTheBackgroundWithTheForegroundPen)
{
    TMDIChild& view = NewView();
    PixelsPerDegLon = 70;
    view.NewChartBitmap();
    EXPECT_EQ(view.Bitmap.size(), QSize(800, 600));
    EXPECT_EQ(chartwin::RgbToBgr(view.Bitmap.pixel(0, 0)), 0x800000u);
    EXPECT_EQ(chartwin::RgbToBgr(view.Bitmap.pixel(799, 599)), 0x800000u);
    EXPECT_EQ(view.Canvas, view.BitmapCanvas.get());
    EXPECT_EQ(view.Canvas->PenColour(), 0xFFFFFFu);
    EXPECT_EQ(view.FPixPerDegLon, 70);
    EXPECT_EQ(view.Image1->size(), QSize(800, 600));
}

using ZoomTest = ChildwinTest;

TEST_F(ZoomTest, ButtonsDoubleAndHalveAboutTheCursorAndStoreTheLastView)
{
    TMDIChild& view = NewView();
    view.FCursorLat = 51;
    view.FCursorLon = 2;
    view.SetZoom(10);
    view.ZoomInClick();
    EXPECT_EQ(view.FZoom, 20);
    EXPECT_EQ(view.FIntZoom, 20);
    EXPECT_EQ(ClipMargin, 1200);
    EXPECT_EQ(ViewZoom, 20);
    EXPECT_EQ(ViewCentreLat, 51);
    EXPECT_EQ(ViewCentreLon, 2);
    view.ZoomOutClick();
    view.ZoomOutClick();
    EXPECT_EQ(view.FZoom, 5);
    EXPECT_EQ(ClipMargin, 600);
    EXPECT_EQ(ViewZoom, 5);
    EXPECT_EQ(ui.beeps(), 0);
}

TEST_F(ZoomTest, LimitsClampWithABeep)
{
    TMDIChild& view = NewView();
    view.SetZoom(8000);
    view.ZoomInClick();
    EXPECT_EQ(view.FZoom, 12000);
    EXPECT_EQ(view.FIntZoom, 12000);
    EXPECT_EQ(ClipMargin, 30000);
    EXPECT_EQ(ui.beeps(), 1);

    view.SetZoom(34000);
    view.FormMouseWheel(120);
    EXPECT_EQ(view.FZoom, 36000);
    EXPECT_EQ(view.FIntZoom, 36000);
    EXPECT_EQ(ui.beeps(), 2);

    view.SetZoom(0.05);
    view.ZoomOutClick();
    EXPECT_EQ(view.FZoom, 0.03125);
    EXPECT_EQ(view.FIntZoom, 0);
    EXPECT_EQ(ui.beeps(), 3);

    view.FormMouseWheel(-120);
    EXPECT_EQ(view.FZoom, 0.03125);
    EXPECT_EQ(ui.beeps(), 4);
    EXPECT_EQ(ViewZoom, 0.03125);
}

TEST_F(ZoomTest, ZoomInButtonNeverLowersAWheelZoom)
{
    TMDIChild& view = NewView();
    view.SetZoom(30000);
    view.ZoomInClick();
    EXPECT_EQ(view.FZoom, 30000);
    EXPECT_EQ(ui.beeps(), 1);
    view.SetZoom(12000);
    view.ZoomInClick();
    EXPECT_EQ(view.FZoom, 12000);
    EXPECT_EQ(ui.beeps(), 2);
}

TEST_F(ZoomTest, WheelStepsByATenth)
{
    TMDIChild& view = NewView();
    view.SetZoom(10);
    view.FormMouseWheel(120);
    EXPECT_DOUBLE_EQ(view.FZoom, 11);
    view.FormMouseWheel(0);
    EXPECT_DOUBLE_EQ(view.FZoom, 9.9);
    EXPECT_EQ(view.FIntZoom, 10);
}

TEST_F(ZoomTest, WheelOverTheChartZoomsInsteadOfScrolling)
{
    TMDIChild& view = NewView();
    view.SetZoom(10);
    QWidget* viewport = view.ScrollBox1->viewport();
    const QPointF at(10, 10);
    QWheelEvent forward(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &forward);
    EXPECT_DOUBLE_EQ(view.FZoom, 11);
}

TEST_F(ZoomTest, FullChartGoesHomeAndAnUnsetHomeZoomStaysUsable)
{
    TMDIChild& view = NewView();
    view.FCursorLat = 10;
    view.SetZoom(300);
    view.Zoom1_1Click();
    EXPECT_EQ(view.FZoom, 4);
    EXPECT_EQ(view.FCursorLat, 50.5);
    EXPECT_EQ(view.FCursorLon, 1.25);
    EXPECT_EQ(ViewCentreLat, 50.5);

    ChartHomeZoom = 0; // no chart configuration read
    view.Zoom1_1Click();
    EXPECT_EQ(view.FZoom, TMDIChild::kMinZoom);
    double lat = NAN, lon = NAN;
    view.InverseProject(0, 0, lat, lon);
    EXPECT_TRUE(std::isfinite(lat));
    EXPECT_TRUE(std::isfinite(lon));
}

TEST_F(ZoomTest, ZoomForRangeTakesTheSmallestRangeAbove)
{
    TMDIChild& view = NewView();
    const struct {
        double range, zoom;
    } cases[]
        = { { 3, 25 }, { 5, 12 }, { 150, 0.5 }, { 0.01, 6000 }, { 0.02, 2400 }, { 199.9, 0.5 }, { 45, 2 } };
    for (const auto& c : cases) {
        WaypointRangeNm = c.range;
        view.ZoomForRange();
        EXPECT_EQ(view.FZoom, c.zoom) << c.range;
    }
    EXPECT_EQ(view.FIntZoom, 2);
    WaypointRangeNm = 150;
    view.ZoomForRange();
    EXPECT_EQ(view.FIntZoom, 0); // 0.5 rounds half to even
}

TEST_F(ZoomTest, RangeBeyondTheTableKeepsAUsableZoom)
{
    TMDIChild& view = NewView();
    for (double range : { 200.0, 5000.0, double(NAN) }) {
        view.SetZoom(50);
        WaypointRangeNm = range;
        view.ZoomForRange();
        EXPECT_EQ(view.FZoom, 0.5) << range;
    }
}

TEST_F(ZoomTest, RecentreFollowsTheWaypointRangeOnlyWithAutoZoomAndARoute)
{
    TMDIChild& view = NewView();
    view.SetZoom(7);
    WaypointRangeNm = 3;
    view.FAutoZoom = true;
    view.CentreButton1Click(); // no route
    EXPECT_EQ(view.FZoom, 7);
    RouteCount = 2;
    ActiveWaypoint = 2;
    view.CentreButton1Click();
    EXPECT_EQ(view.FZoom, 25);
    ActiveWaypoint = 3;
    WaypointRangeNm = 0.2;
    view.CentreButton1Click();
    EXPECT_EQ(view.FZoom, 25);
}

TEST_F(ZoomTest, RecentreZoomsOnTheNearestAisTargetAndKeepsTheWaypointRange)
{
    TMDIChild& view = NewView();
    view.SetZoom(7);
    AisTargetCount = 2;
    SelectedAisTarget = 2;
    NearestTargetRange = 0.4;
    WaypointRangeNm = 12;
    view.AISZoom->setChecked(true);
    view.CentreButton1Click();
    EXPECT_EQ(view.FZoom, 200);
    EXPECT_EQ(WaypointRangeNm, 12);

    view.SetZoom(7);
    view.HighlightNearest1->setChecked(false);
    view.CentreButton1Click();
    EXPECT_EQ(view.FZoom, 7);
}

TEST_F(ZoomTest, RecentreConsumesTheMeasureOriginMark)
{
    TMDIChild& view = NewView();
    MarkMeasureOrigin = true;
    view.FCursorLat = 49;
    view.CentreButton1Click();
    EXPECT_FALSE(MarkMeasureOrigin);
    EXPECT_EQ(ViewCentreLat, 49);
}

using CreateCloseTest = ChildwinTest;

TEST_F(CreateCloseTest, FirstViewIsTheAisViewAndTheSecondHidesTheAisItems)
{
    AutoCentre = true;
    AisTargetCount = 3;
    AisAgeLimit = 0.003472;
    AisLollipopRadius = 4;
    TMDIChild& ais = NewView();
    EXPECT_TRUE(ais.FIsAisView);
    EXPECT_EQ(AisTargetCount, 0);
    EXPECT_TRUE(ais.HighlightNearest1->isChecked());
    EXPECT_TRUE(ais.ShowAIS->isVisibleTo(ais.Panel1));
    EXPECT_TRUE(ais.RR->isVisibleTo(ais.Panel1));
    EXPECT_TRUE(ais.Area1->isVisible());
    EXPECT_EQ(AisAgeLimit, 0.010417);
    EXPECT_EQ(AisLollipopRadius, 2);
    EXPECT_EQ(AisLollipopPenWidth, 1);
    EXPECT_TRUE(ais.FAutoRecentre);
    EXPECT_EQ(ais.FZoom, 4);
    EXPECT_EQ(ais.windowTitle(), "Drawing Chart");

    AisTargetCount = 3;
    TMDIChild& second = NewView();
    EXPECT_FALSE(second.FIsAisView);
    EXPECT_EQ(AisTargetCount, 3);
    EXPECT_EQ(chartwin::View(0), &second);
    EXPECT_FALSE(second.ShowAIS->isVisibleTo(second.Panel1));
    EXPECT_FALSE(second.ShowAIS->isChecked());
    for (QAction* item : { second.HighlightNearest1, second.ShowMMSI1, second.AISZoom,
             second.ClearAllTargets1, second.AISShape, second.Area1, second.AutoRemove1->menuAction() })
        EXPECT_FALSE(item->isVisible()) << item->objectName().toStdString();
    EXPECT_TRUE(second.ReCentre1->isVisible());
}

TEST_F(CreateCloseTest, AisViewStaysWhileAnotherViewIsOpenWhichClosesWithoutQuestion)
{
    TMDIChild& ais = NewView();
    TMDIChild& second = NewView();
    EXPECT_FALSE(Close(ais));
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "Cannot close the AIS window as all AIS data will be lost !" });
    EXPECT_EQ(chartwin::ViewCount(), 2);

    ui.clear();
    ChartPointCount = 12;
    EXPECT_TRUE(Close(second));
    EXPECT_TRUE(ui.shown().empty());
    EXPECT_EQ(chartwin::ViewCount(), 1);
    EXPECT_EQ(chartwin::View(0), &ais);
    EXPECT_EQ(ChartPointCount, 12);
}

TEST_F(CreateCloseTest, OnlyViewAsksAndTheAisViewStaysEvenAfterYes)
{
    TMDIChild& ais = NewView();
    ChartPointCount = 12;
    ui.answerNo();
    EXPECT_FALSE(Close(ais));
    ui.answerYes();
    EXPECT_FALSE(Close(ais));
    const std::vector<std::string> asked { "ask", "ask", "message:warning" };
    std::vector<std::string> kinds;
    for (const auto& s : ui.shown())
        kinds.push_back(s.kind);
    EXPECT_EQ(kinds, asked);
    EXPECT_EQ(ui.shown()[0].text,
        "This is the only view open. Closing it will remove all data ! - Are you really sure?");
    EXPECT_EQ(ChartPointCount, 12);
    EXPECT_EQ(chartwin::ViewCount(), 1);
}

TEST_F(CreateCloseTest, OnlyOtherViewClearsAllDataAfterYes)
{
    TMDIChild* ais = &NewView();
    TMDIChild& other = NewView();
    delete ais; // leaves the second view as the only one
    ChartPointCount = 3;
    ChartPoints[1] = ChartPoint { rtl::Real6(50.0), rtl::Real6(1.0) };
    ChartKind = 2;
    CurrentChartName = "harbour";
    WaypointDbCount = 4;
    RouteCount = 5;
    LayerFlags = "*-*-------";
    ConfigName = "boat";

    ui.answerNo();
    EXPECT_FALSE(Close(other));
    EXPECT_EQ(ChartPointCount, 3);

    ui.answerYes();
    EXPECT_TRUE(Close(other));
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(ChartPoints[1], PenUpPoint);
    EXPECT_EQ(ChartPoints[kMaxChartPoints], PenUpPoint);
    EXPECT_EQ(ChartKind, 0);
    EXPECT_EQ(CurrentChartName, "");
    EXPECT_EQ(WaypointDbCount, 0);
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(LayerFlags, "**********");
    EXPECT_EQ(ConfigName, "");
    EXPECT_EQ(chartwin::ViewCount(), 0);
}

using ControlsTest = ChildwinTest;

TEST_F(ControlsTest, PopupItemsCarryTheirShortcutsAndRunTheViewCommands)
{
    TMDIChild& view = NewView();
    EXPECT_EQ(view.ReCentre1->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(view.ZoomOut1->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(view.ZoomIn1->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(view.Zoom1_11->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(view.ViewProperties1->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(view.ShowToolBar1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(view.Information1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_EQ(view.AddRouteWaypoint1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(view.PlaybackLog1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    EXPECT_FALSE(view.ShowChts->isVisible());
    EXPECT_TRUE(view.actions().contains(view.ZoomIn1)); // the shortcut works in the view

    view.SetZoom(3);
    view.ZoomIn1->trigger();
    EXPECT_EQ(view.FZoom, 6);
    view.ZoomOut->click();
    EXPECT_EQ(view.FZoom, 3);
    view.Zoom1_1->click();
    EXPECT_EQ(view.FZoom, 4);
}

TEST_F(ControlsTest, ShowToolBarTogglesThePanelAndItsCheckTogether)
{
    TMDIChild& view = NewView();
    EXPECT_TRUE(view.ShowToolBar1->isChecked());
    view.ShowToolBar1->trigger();
    EXPECT_FALSE(view.ShowToolBar1->isChecked());
    EXPECT_FALSE(view.Panel1->isVisibleTo(view.Form));
    view.ShowToolBar1->trigger();
    EXPECT_TRUE(view.ShowToolBar1->isChecked());
    EXPECT_TRUE(view.Panel1->isVisibleTo(view.Form));
}

TEST_F(ControlsTest, ViewListPutsTheActiveViewFirst)
{
    TMDIChild& a = NewView();
    TMDIChild& b = NewView();
    EXPECT_EQ(chartwin::View(0), &b);
    EXPECT_EQ(chartwin::View(1), &a);
    chartwin::MakeActiveView(&a);
    EXPECT_EQ(chartwin::View(0), &a);
    EXPECT_EQ(chartwin::View(1), &b);
    EXPECT_EQ(chartwin::View(2), nullptr);
}

} // namespace
