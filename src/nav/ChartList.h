#pragma once
// The chart list: the chart configuration files of the charts folder, in
// name order, with the home view of each, and the search for the chart
// nearest to the working position that automatic chart loading uses.
//
// The chart portfolio's own configuration "PORTFOLIO.CFG" (any case) is
// never listed: the portfolio is a chart of charts, not a place.

#include "rtl/Array1.h"
#include "rtl/ShortString.h"

// Home view of a listed chart: lines 1 to 3 of its configuration file.
struct ChartListCentre {
    double lat = 0.0; // degrees north positive
    double lon = 0.0; // degrees west positive
    double zoom = 0.0;
};

// Parallel to ChartList: entry i is the home view of chart i.
extern rtl::Array1<ChartListCentre, 100> ChartListCentres;

enum class ChartSearchMode { List, Nearest };

// List: fills ChartList (file names with extension, at most 100, in name
// order; names longer than 40 characters cannot be held and are left out)
// and ChartListCentres from "*.cfg" in ChartsFolder. A folder with more
// charts than the list holds is warned of once (ChartListOverflowFolder). A file that cannot be
// read keeps its entry's earlier centre. `result` is not touched.
//
// Nearest: `result` := the base name of the listed chart whose home centre
// is nearest to CurLat, CurLon (flat distance), or CurrentChartName when no
// listed chart is at least as near as the current chart's home centre. At
// equal distance the later chart in the list wins, and a listed chart wins
// over the current one. With the portfolio as current chart
// (CurrentChartName "PORTFOLIO" in any case) the nearest listed chart is
// always taken.
void ListChartsOrFindNearest(ChartSearchMode mode, rtl::ShortString<40>& result);
