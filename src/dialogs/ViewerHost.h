#pragma once
// What the raster image viewer asks of the main window: the chart editing
// commands it digitises through, the "Pen Up" state, the number of chart
// views, the media player for chartlet clips and the printer. The main
// window implements it and hands itself to the viewer when it creates it;
// a viewer made without a host (a test, a tool) leaves these calls out.

#include <string>

class QImage;

class TViewerHost
{
public:
    // "Add Chart Waypoint" at the working position CurLat/CurLon.
    virtual void AddChartWaypointHere() = 0;
    // "Add Chart Point" at the working position CurLat/CurLon.
    virtual void AddChartPointHere() = 0;
    // "Pen Up" is checked: the next chart point starts a new line.
    virtual bool PenUpChecked() const = 0;
    // Open chart views.
    virtual int ChartViewCount() const = 0;
    // Plays a chartlet's clip; sound stays off until it ends. A clip that is
    // missing or cannot be played turns sound back on.
    virtual void PlayChartletClip(const std::string& path) = 0;
    // Stops the clip playing, and sound is on again.
    virtual void StopChartletClip() = 0;
    // The print dialog, then the image printed to fit the page.
    virtual void PrintChartletView(const QImage& image) = 0;

protected:
    ~TViewerHost() = default;
};
