// A chart view on its own (no main window): its projection and inverse,
// zoom limits and beeps, the zoom for a range, re-centring, the rules for
// closing it and its controls.

#include "chartwin/CursorFixture.h"
#include "chartwin/ViewList.h"
#include "draw/SymbolLibrary.h"
#include "support/ShortStringPrint.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>

namespace
{

using ChildwinTest = chartwin::test::CursorFixture;
using ProjectionTest = ChildwinTest;

TEST_F(ProjectionTest, ScalesFollowTheCentreLatitudeWhichIsClampedAndWrapped)
{
    TMDIChild& view = NewView(false);
    view.SetZoom(1);
    view.FCursorLat = 0;
    view.SetUpProjection();
    EXPECT_EQ(view.FPixPerDegLat, 72); // Round(600 / 200 x 38 x 0.63)
    EXPECT_EQ(view.FScaleLon, 69);
    view.FCursorLat = 60;
    view.SetZoom(2.5);
    view.SetUpProjection();
    EXPECT_EQ(view.FPixPerDegLat, 144);
    EXPECT_EQ(view.FScaleLat, 360);
    EXPECT_EQ(view.FScaleLon, 172); // Round(172.5), half to even

    const double cases[][4] = { { 85, 190, 84, -170 }, { -81, -185, -80, 175 }, { 10, 600, 10, -120 } };
    for (const auto& c : cases) {
        view.FCursorLat = c[0];
        view.FCursorLon = c[1];
        view.SetUpProjection();
        EXPECT_EQ(view.FDrawCentreLat, c[2]) << c[0];
        EXPECT_EQ(view.FDrawCentreLon, c[3]) << c[1];
    }
    // Pixels beyond the limits: north of 84 and across the date line.
    view.FCursorLat = 83.9;
    view.FCursorLon = 179.9;
    view.SetUpProjection();
    double lat = 0, lon = 0;
    view.InverseProject(0, 0, lat, lon);
    EXPECT_EQ(lat, 84);
    EXPECT_LT(lon, -170);
}

TEST_F(ProjectionTest, PixelToPositionToPixelStaysWithinOnePixel)
{
    TMDIChild& view = NewView(false);
    const double rotations[] = { 0, M_PI / 2, -2.3 };
    const int pixels[][2] = { { 0, 0 }, { 799, 599 }, { 400, 300 }, { 13, 577 } };
    for (double zoom : { 0.5, 1.0, 25.0, 36000.0 }) {
        for (double rotation : rotations) {
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
    // Heading up at 90 degrees: a point due north of the centre is drawn to
    // its right.
    ViewRotationCos = 0;
    ViewRotationSin = 1;
    double lat = 0, lon = 0;
    view.SetZoom(1);
    view.SetUpProjection();
    view.InverseProject(400 + view.FScaleLat, 300, lat, lon);
    EXPECT_NEAR(lat, 51.3, 1e-9);
    EXPECT_NEAR(lon, -1.7, 1e-9);
}

TEST_F(ProjectionTest, ViewFollowingTheSelectedAisTargetIsCentredOnIt)
{
    TMDIChild& view = NewView(false);
    AisTargetCount = 1;
    SelectedAisTarget = 1;
    AisTargets[1].latitude = 50 * 600000 + 300000; // 50.5 N
    AisTargets[1].longitude = -600000; // 1 W, east positive in the record
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

using ZoomTest = ChildwinTest;

TEST_F(ZoomTest, StepsAndLimitsWithTheirBeeps)
{
    TMDIChild& view = NewView(false);
    view.FCursorLat = 51;
    view.SetZoom(10);
    view.ZoomInClick();
    EXPECT_EQ(view.FZoom, 20);
    EXPECT_EQ(ClipMargin, 1200);
    EXPECT_EQ(ViewZoom, 20); // the last view is stored
    EXPECT_EQ(ViewCentreLat, 51);
    view.ZoomOutClick();
    EXPECT_EQ(view.FZoom, 10);
    view.FormMouseWheel(120);
    EXPECT_DOUBLE_EQ(view.FZoom, 11);
    view.FormMouseWheel(0);
    EXPECT_DOUBLE_EQ(view.FZoom, 9.9);
    EXPECT_EQ(ui.beeps(), 0);

    const struct {
        double from;
        void (TMDIChild::*command)();
        double to;
        int32_t intZoom;
    } limits[] = { { 8000, &TMDIChild::ZoomInClick, 12000, 12000 },
        { 30000, &TMDIChild::ZoomInClick, 30000, 30000 }, // a wheel zoom is not lowered
        { 0.05, &TMDIChild::ZoomOutClick, 0.03125, 0 } };
    for (const auto& l : limits) {
        view.SetZoom(l.from);
        (view.*l.command)();
        EXPECT_EQ(view.FZoom, l.to) << l.from;
        EXPECT_EQ(view.FIntZoom, l.intZoom) << l.from;
    }
    view.SetZoom(34000);
    view.FormMouseWheel(120);
    EXPECT_EQ(view.FZoom, 36000);
    view.SetZoom(0.03125);
    view.FormMouseWheel(-120);
    EXPECT_EQ(view.FZoom, 0.03125);
    EXPECT_EQ(ui.beeps(), 5);
}

TEST_F(ZoomTest, WheelOverTheChartZoomsInsteadOfScrolling)
{
    // The window on the screen gets the wheel and hands it to the widget
    // under the pointer, as the windowing system's wheel is handed on.
    TMDIChild& view = NewView(false);
    view.resize(500, 400);
    view.show();
    QCoreApplication::processEvents();
    view.SetZoom(10);
    QWindow* window = view.windowHandle();
    ASSERT_NE(window, nullptr);
    auto wheel = [&](QWidget* over, QPoint overAt, QPoint angle) {
        const QPoint at = over->mapTo(&view, overAt);
        ASSERT_EQ(view.childAt(at), over);
        const QPointF globalAt = view.mapToGlobal(QPointF(at));
        QWheelEvent event(
            QPointF(at), globalAt, QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window, &event);
    };
    const QPoint middle = view.ScrollBox1->viewport()->rect().center();
    wheel(view.Image1, view.Image1->mapFrom(view.ScrollBox1->viewport(), middle), QPoint(0, 120));
    EXPECT_DOUBLE_EQ(view.FZoom, 11);
    wheel(view.Image1, view.Image1->mapFrom(view.ScrollBox1->viewport(), middle), QPoint(0, -120));
    EXPECT_DOUBLE_EQ(view.FZoom, 9.9);

    // Beside a bitmap smaller than the window the scroll box is under the
    // pointer; the wheel zooms there too.
    ViewImageWidth = 200;
    ViewImageHeight = 150;
    view.CentreButton1Click();
    QCoreApplication::processEvents();
    wheel(view.ScrollBox1->viewport(), QPoint(2, 2), QPoint(0, 120));
    EXPECT_DOUBLE_EQ(view.FZoom, 9.9 * 1.1);
}

TEST_F(ZoomTest, FullChartGoesHomeAndAnUnsetHomeZoomStaysUsable)
{
    TMDIChild& view = NewView(false);
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
    EXPECT_TRUE(std::isfinite(lat) && std::isfinite(lon));
}

TEST_F(ZoomTest, ZoomForRangeTakesTheSmallestRangeAboveAndStaysUsableBeyondTheTable)
{
    TMDIChild& view = NewView(false);
    const double cases[][2] = { { 3, 25 }, { 5, 12 }, { 150, 0.5 }, { 0.01, 6000 }, { 0.02, 2400 }, { 45, 2 },
        { 200, 0.5 }, { 5000, 0.5 }, { NAN, 0.5 } };
    for (const auto& c : cases) {
        view.SetZoom(50);
        WaypointRangeNm = c[0];
        view.ZoomForRange();
        EXPECT_EQ(view.FZoom, c[1]) << c[0];
    }
    EXPECT_EQ(view.FIntZoom, 0); // 0.5 rounds half to even
}

TEST_F(ZoomTest, RecentreZoomsForTheWaypointOrTheNearestAisTarget)
{
    TMDIChild& view = NewView(false);
    view.SetZoom(7);
    WaypointRangeNm = 3;
    view.FAutoZoom = true;
    view.CentreButton1Click(); // no route
    EXPECT_EQ(view.FZoom, 7);
    RouteCount = 2;
    ActiveWaypoint = 2;
    MarkMeasureOrigin = true;
    view.CentreButton1Click();
    EXPECT_EQ(view.FZoom, 25);
    EXPECT_FALSE(MarkMeasureOrigin);

    view.FAutoZoom = false;
    AisTargetCount = 2;
    SelectedAisTarget = 2;
    AisTargets[2].latitude = 50 * 600000; // 50 N, a position to zoom to
    NearestTargetRange = 0.4;
    view.AISZoom->setChecked(true);
    view.CentreButton1Click();
    EXPECT_EQ(view.FZoom, 200);
    EXPECT_EQ(WaypointRangeNm, 3);
    view.SetZoom(7);
    view.HighlightNearest1->setChecked(false);
    view.CentreButton1Click();
    EXPECT_EQ(view.FZoom, 7);
}

using CreateCloseTest = ChildwinTest;

TEST_F(CreateCloseTest, FirstViewIsTheAisViewAndTheSecondHidesTheAisItems)
{
    AisTargetCount = 3;
    AisAgeLimit = 0.003472;
    AisLollipopRadius = 4;
    TMDIChild& ais = NewView(false);
    EXPECT_TRUE(ais.FIsAisView);
    EXPECT_EQ(AisTargetCount, 0);
    EXPECT_TRUE(ais.HighlightNearest1->isChecked());
    EXPECT_TRUE(ais.ShowAIS->isVisibleTo(ais.Panel1));
    EXPECT_EQ(AisAgeLimit, 0.010417);
    EXPECT_EQ(AisLollipopRadius, 2);
    EXPECT_EQ(ais.FZoom, 4);

    AisTargetCount = 3;
    TMDIChild& second = NewView(false);
    EXPECT_FALSE(second.FIsAisView);
    EXPECT_EQ(AisTargetCount, 3);
    EXPECT_EQ(chartwin::View(0), &second);
    EXPECT_FALSE(second.ShowAIS->isVisibleTo(second.Panel1));
    for (QAction* item : { second.HighlightNearest1, second.AISZoom, second.ClearAllTargets1, second.AISShape,
             second.Area1, second.AutoRemove1->menuAction() })
        EXPECT_FALSE(item->isVisible()) << item->objectName().toStdString();
}

TEST_F(CreateCloseTest, AisViewStaysOpenAndAnotherViewClosesWithoutQuestionWhileBothAreOpen)
{
    TMDIChild& ais = NewView(false);
    TMDIChild& second = NewView(false);
    EXPECT_FALSE(Close(ais));
    EXPECT_TRUE(Close(second));
    EXPECT_EQ(ui.messages(),
        std::vector<std::string> { "Cannot close the AIS window as all AIS data will be lost !" });
    EXPECT_EQ(ui.shown().size(), 1u);
    ASSERT_EQ(chartwin::ViewCount(), 1);

    // Now the only view: asked, and after Yes it still stays.
    ui.clear();
    ui.answerNo();
    ui.answerYes();
    EXPECT_FALSE(Close(ais));
    EXPECT_FALSE(Close(ais));
    ASSERT_EQ(ui.shown().size(), 3u);
    EXPECT_EQ(ui.shown()[0].text,
        "This is the only view open. Closing it will remove all data ! - Are you really sure?");
    EXPECT_EQ(ui.shown()[2].kind, "message:warning");
    EXPECT_EQ(chartwin::ViewCount(), 1);
}

TEST_F(CreateCloseTest, OnlyOtherViewClearsAllDataAfterYes)
{
    TMDIChild* ais = &NewView(false);
    TMDIChild& other = NewView(false);
    delete ais; // leaves the second view as the only one
    ChartPointCount = 3;
    ChartPoints[1] = ChartPoint { rtl::Real6(50.0), rtl::Real6(1.0) };
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
    EXPECT_EQ(CurrentChartName, "");
    EXPECT_EQ(WaypointDbCount, 0);
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(LayerFlags, "**********");
    EXPECT_EQ(ConfigName, "");
    EXPECT_EQ(chartwin::ViewCount(), 0);
}

TEST_F(CreateCloseTest, PopupItemsRunTheViewCommands)
{
    TMDIChild& view = NewView(false);
    EXPECT_TRUE(view.actions().contains(view.ZoomIn1)); // its short cut works in the view
    view.SetZoom(3);
    view.ZoomIn1->trigger();
    EXPECT_EQ(view.FZoom, 6);
    view.Zoom1_11->trigger();
    EXPECT_EQ(view.FZoom, 4);

    view.ShowToolBar1->trigger();
    EXPECT_FALSE(view.ShowToolBar1->isChecked());
    EXPECT_FALSE(view.Panel1->isVisibleTo(view.Form));
    view.ShowToolBar1->trigger();
    EXPECT_TRUE(view.ShowToolBar1->isChecked());
    EXPECT_TRUE(view.Panel1->isVisibleTo(view.Form));
}

} // namespace
