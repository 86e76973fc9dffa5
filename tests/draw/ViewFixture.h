#pragma once
// A small chart view for drawing tests: a square bitmap in a known
// background colour, north up, centred on a chosen position with a chosen
// number of pixels per degree, and the navigation state at its start values.

#include "draw/ChartPlotter.h"
#include "draw/PixelArt.h"
#include "nav/NavState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace chartwin::test
{

// AIS target i at (lat, lon west positive), its trail the one position.
inline nav::AisTargetRecord& PlaceAisTarget(int i, double lat, double lonWest)
{
    nav::AisTargetRecord& t = AisTargets[i];
    t.messageType = 1;
    t.mmsi = 235000000 + i;
    t.latitude = int32_t(std::lround(lat * 600000));
    t.longitude = int32_t(std::lround(-lonWest * 600000));
    t.trailCount = 1;
    t.trail[1] = { lat, -lonWest };
    AisTargetCount = std::max<int32_t>(AisTargetCount, i);
    return t;
}

class ViewFixture : public ::testing::Test
{
protected:
    static constexpr int kSize = 121;
    static constexpr int kCentre = kSize / 2; // pixel of the centre position

    void SetUp() override
    {
        ResetNavState();
        ViewImageWidth = kSize;
        ViewImageHeight = kSize;
        BackgroundColour = kWhite;
        ForegroundColour = kBlack;
        ClipMargin = 600;
        PenIsUp = true;
        InvalidatePenCache();
        UseBackground(kWhite);
        Centre(0.0, 0.0, 60);
    }

    // A fresh bitmap in `background`, which also becomes BackgroundColour.
    void UseBackground(TColour background)
    {
        BackgroundColour = int32_t(background);
        image = MakeImage(kSize, kSize, background);
        canvas = std::make_unique<TRasterCanvas>(image);
        canvas->SetBrushColour(background);
        view.Canvas = canvas.get();
    }

    // The view centred on (lat, lon) with `pixelsPerDegree` on both axes.
    void Centre(double lat, double lon, int32_t pixelsPerDegree)
    {
        view.FDrawCentreLat = view.FCursorLat = lat;
        view.FDrawCentreLon = view.FCursorLon = lon;
        view.FScaleLat = view.FScaleLon = pixelsPerDegree;
        view.FZoom = 1.0;
        view.FIntZoom = 20;
        view.FShapeThreshold = 15;
    }

    static void Rotate(double radians)
    {
        ViewRotation = radians;
        ViewRotationCos = std::cos(radians);
        ViewRotationSin = std::sin(radians);
    }

    std::vector<std::string> Around(int half, const std::map<TColour, char>& legend) const
    {
        return Picture(*canvas, kCentre, kCentre, half, TColour(BackgroundColour), legend);
    }

    QImage image;
    std::unique_ptr<TRasterCanvas> canvas;
    TChartPlotter view;
};

} // namespace chartwin::test
