#pragma once
// Chart views on their own with a host that records what they show in the
// main window's position panel and status line: an 800 x 600 bitmap, white
// on black lines, centred on 50.5 N 1.25 W at zoom 4, nothing loaded.

#include "chartwin/Childwin.h"
#include "chartwin/ViewHost.h"
#include "nav/NavState.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace chartwin::test
{

// Records the calls a view makes upwards.
class RecordingHost : public TViewHost
{
public:
    void InitDataPlot() override { }
    void ClearNavPanel() override { }
    void ClearRouteList() override { }
    void UpdateMenuItems() override { }
    void CopyViewClick() override { ++copies; }
    bool AisMonitorOn() const override { return false; }
    void ShowAvailableCharts() override
    {
        ++chartLists;
        // The command runs after the drawing, never inside it.
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    void RefreshAllViews() override { ++refreshes; }
    void WaypointSnapMode1Click() override { ++nearestWaypoint; }
    void PlayVoice(const std::string& word) override { spoken.push_back(word); }
    TDataTrendPlot* DataTrendPlot() override { return plot; }
    void ShowCursorPosition(const std::string& text) override { position = text; }
    void ShowStatus(const std::string& text) override { status = text; }

    std::string position, status;
    std::vector<std::string> spoken;
    int copies = 0, chartLists = 0, refreshes = 0, nearestWaypoint = 0;
    TDataTrendPlot* plot = nullptr;
};

class CursorFixture : public ::testing::Test
{
protected:
    static constexpr int kWidth = 800, kHeight = 600;
    static constexpr int kCentreX = kWidth / 2, kCentreY = kHeight / 2;
    static constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

    void SetUp() override
    {
        ResetNavState();
        ViewImageWidth = kWidth;
        ViewImageHeight = kHeight;
        PixelsPerDegLon = 69; // 800 / 640 x 55
        ChartHomeLat = 50.5;
        ChartHomeLon = 1.25;
        ChartHomeZoom = 4;
        ViewRotationCos = 1;
        BackgroundColour = int32_t(kWhite);
        ForegroundColour = int32_t(kBlack);
        AltPositionFormat = true;
    }

    void TearDown() override
    {
        for (QPointer<TMDIChild>& view : views_)
            delete view.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ResetNavState();
    }

    // A view at the chart's home, drawn unless `draw` is false.
    TMDIChild& NewView(bool draw = true)
    {
        views_.emplace_back(new TMDIChild(nullptr, &host));
        TMDIChild& view = *views_.back();
        if (draw)
            view.Zoom1_1Click();
        return view;
    }

    // Closes a view as its close box does; true when it closed.
    static bool Close(TMDIChild& view)
    {
        const bool closed = view.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }

    // The pixel colour (BGR) of a view's bitmap.
    static uint32_t At(const TMDIChild& view, int x, int y)
    {
        const QRgb rgb = view.Bitmap.pixel(x, y);
        return uint32_t(qBlue(rgb)) << 16 | uint32_t(qGreen(rgb)) << 8 | uint32_t(qRed(rgb));
    }

    platform::ScriptedUi ui;
    RecordingHost host;
    std::vector<QPointer<TMDIChild>> views_;
};

} // namespace chartwin::test
