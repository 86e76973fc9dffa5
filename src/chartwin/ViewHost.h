#pragma once
// What a chart view asks of the main window. The chart views sit below the
// main window and never include it: where a view must reach it (its own
// commands end in the main window's panels and menus), it calls this
// interface, which the main window implements and hands to every view it
// creates (TMDIChild::Host). A view made without a host (tests, benchmarks)
// leaves those calls out.
//
// Add a method here only for a call a view really makes upwards; what a
// redraw needs comes in as a value (TRedrawInputs, ChartPainters.h).

#include <string>

namespace chartwin
{

struct TDataTrendPlot;

class TViewHost
{
public:
    // The data-trend plot cleared (a new view starts with an empty plot).
    virtual void InitDataPlot() = 0;
    // The navigation panel blank.
    virtual void ClearNavPanel() = 0;
    // The navigation panel blank and the route list emptied (the last view
    // closed with its data).
    virtual void ClearRouteList() = 0;
    // Enabled states of the menus after the views changed.
    virtual void UpdateMenuItems() = 0;
    // The view's bitmap to the clipboard.
    virtual void CopyViewClick() = 0;
    // "AIS Monitor" of the main window is checked.
    virtual bool AisMonitorOn() const = 0;
    // Runs "Available Charts" (the portfolio's chart list in every view) as
    // its menu item does.
    virtual void ShowAvailableCharts() = 0;
    // Calls of the AIS view. A host that leaves them out does nothing.
    // Every view re-centred on the present position and redrawn.
    virtual void RefreshAllViews() { }
    // The chart waypoint nearest to the working position, shown read-only.
    virtual void WaypointSnapMode1Click() { }
    // Speaks `word` (a voice prompt file) and keeps it as the last
    // announcement.
    virtual void PlayVoice(const std::string& /*word*/) { }
    // Base name of the AIS log being played back; empty when none plays.
    virtual std::string AisPlaybackName() const { return {}; }
    // The data-trend plot while "Data Trend Plot" is checked, for the AIS
    // view's redraw to draw the survey log's trend into; none while hidden.
    virtual TDataTrendPlot* DataTrendPlot() { return nullptr; }
    // The redraw drew into the data-trend plot: show it again.
    virtual void DataTrendPlotted() { }
    // The data-trend plot's label names the field it plots.
    virtual void SetDataTrendLabel(const std::string&) { }
    // The cursor's position text (Latin-1) in the position panel.
    virtual void ShowCursorPosition(const std::string&) { }
    // A text (Latin-1) on the status line; an empty text clears it.
    virtual void ShowStatus(const std::string&) { }

protected:
    ~TViewHost() = default;
};

} // namespace chartwin
