#pragma once
// The own vessel drawn to scale at the cursor position (symbol 100), and the
// layout of the antenna and the towed gear across the vessel's heading,
// whose positions and texts the output templates read.
//
// Heading: the course made good from the track log. Offsets are degrees
// (antenna: forward AntennaOffsetLat, to port AntennaOffsetLon) or metres
// (hull length VesselLength, beam VesselBeam, tow offsets), with 111120
// metres to a degree of latitude and longitudes scaled by the cursor
// latitude.

namespace chartwin
{

class TChartPlotter;

// Hull outline (lime) with its dotted centre line, when `showVessel`; then
// DrawTowLayout. Only while ShowVesselOutline is set.
void DrawOwnVessel(TChartPlotter& view, bool showVessel);
// The drawing part of DrawOwnVessel alone: it changes no navigation state.
// A chart view's redraw draws this and lays out the tow afterwards.
void DrawVesselOutline(TChartPlotter& view, bool showVessel);

// TowLayoutPoints 1 to 5 and their texts TowLayoutTexts 1 to 10: grid
// easting and northing with GridDisplay (OS grid for GridDatum 0, UTM for
// the others), else latitude and east-positive longitude with 6 decimals.
void DrawTowLayout(TChartPlotter& view);
// The same for the vessel at (lat, lon) (degrees, longitude west positive).
void LayOutTow(double lat, double lon);

} // namespace chartwin
