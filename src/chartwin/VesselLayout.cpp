#include "chartwin/VesselLayout.h"

#include "draw/ChartPlotter.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/geodesy/Lat_Grid.h"
#include "nav/geodesy/UTM_Grid.h"
#include "rtl/Numbers.h"

#include <cmath>

namespace chartwin
{

namespace
{

constexpr double kDegToRad = M_PI / 180.0;
constexpr double kMetresPerDegree = 111120.0;

struct Point {
    double lat, lon; // degrees, longitude west positive
};

// Moves along and across the heading from a point, in metres (across:
// positive to port).
class HeadingFrame
{
public:
    HeadingFrame(double headingDeg, double cursorLat)
        : sin_(std::sin(headingDeg * kDegToRad))
        , cos_(std::cos(headingDeg * kDegToRad))
        , k_(std::fabs(std::cos(cursorLat * kDegToRad)))
    {
    }

    Point Forward(Point p, double metres) const
    {
        return { p.lat + cos_ * metres / kMetresPerDegree, p.lon - sin_ * metres / (k_ * kMetresPerDegree) };
    }
    Point Across(Point p, double metres) const
    {
        return { p.lat + sin_ * metres / kMetresPerDegree, p.lon + cos_ * metres / (k_ * kMetresPerDegree) };
    }
    // The cursor position moved by offsets in degrees, forward and to port.
    Point Offset(Point cursor, double forwardDeg, double portDeg) const
    {
        return { cos_ * forwardDeg + sin_ * portDeg + cursor.lat,
            (cos_ * portDeg - sin_ * forwardDeg) / k_ + cursor.lon };
    }

private:
    double sin_, cos_, k_;
};

void Plot(TChartPlotter& view, Point p, int penType)
{
    view.PlotTo(p.lat, p.lon, penType);
}

} // namespace

void DrawOwnVessel(TChartPlotter& view, bool showVessel)
{
    DrawVesselOutline(view, showVessel);
    if (ShowVesselOutline)
        DrawTowLayout(view);
}

void DrawVesselOutline(TChartPlotter& view, bool showVessel)
{
    if (!ShowVesselOutline)
        return;
    const HeadingFrame frame(ComputeLogCourse(), view.FCursorLat);
    const Point a = frame.Offset({ view.FCursorLat, view.FCursorLon }, AntennaOffsetLat, AntennaOffsetLon);
    if (showVessel) {
        const double length = VesselLength;
        const Point bow = frame.Forward(a, length);
        PenIsUp = true;
        Plot(view, a, 2);
        for (double side : { 0.5, -0.5 }) {
            const Point quarter = frame.Across(a, side * VesselBeam);
            Plot(view, quarter, 900);
            Plot(view, frame.Forward(quarter, 0.75 * length), 900);
            Plot(view, bow, 900);
            if (side > 0)
                Plot(view, a, 2); // centre line back from the bow
        }
        PenIsUp = true;
        Plot(view, a, 500);
    }
}

void DrawTowLayout(TChartPlotter& view)
{
    LayOutTow(view.FCursorLat, view.FCursorLon);
}

void LayOutTow(double lat, double lon)
{
    const HeadingFrame frame(ComputeLogCourse(), lat);
    Point p = frame.Offset({ lat, lon }, LayoutOffsetLat, LayoutOffsetLon);
    const double across[5] = { 0, TowOffsetB, -(TowOffsetA + TowOffsetB), TowOffsetA,
        (TowOffsetA + TowOffsetB) / 2 - TowOffsetA };
    for (int i = 1; i <= 5; ++i) {
        p = frame.Across(p, across[i - 1]);
        TowLayoutPoints[i].lat = p.lat;
        TowLayoutPoints[i].lon = p.lon;
        std::string first, second;
        if (GridDisplay) {
            std::string northing, easting, reference;
            if (GridDatum == 0)
                geodesy::LatLongToOSGrid(p.lat, -p.lon, false, northing, easting, reference);
            else
                geodesy::LatLongToUTM(p.lat, -p.lon, GridDatum, northing, easting);
            first = easting;
            second = northing;
        } else {
            first = rtl::StrReal(p.lat, 0, 6);
            second = rtl::StrReal(-p.lon, 0, 6);
        }
        TowLayoutTexts[2 * i - 1] = first;
        TowLayoutTexts[2 * i] = second;
    }
}

} // namespace chartwin
