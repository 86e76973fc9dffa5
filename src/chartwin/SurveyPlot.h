#pragma once
// The text survey log on a chart view: every record's position as a magenta
// track point, optional fix crosses, a coloured blob grading the chosen
// field, the field's value and the event texts as labels; in the AIS view
// also that field as a trend line in the main window's data-trend plot. The
// plot draws from the view's SurveyTrail, which the view brings up to the
// file before a redraw (nav/SurveyTrail.h); the drawing reads no file.

#include "draw/RasterCanvas.h"
#include "nav/SurveyLog.h"
#include "nav/SurveyTrail.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

class TMDIChild;

namespace chartwin
{

// The main window's data-trend plot as a redraw draws into it: its picture
// (117 x 86) and the gain and sign-reversal boxes.
struct TDataTrendPlot {
    QImage* image = nullptr;
    int gain = 200;
    bool reversed = false;
};

// What the survey plot draws from, besides the view's own fields.
struct TSurveyPlotInputs {
    // The log as the view last read it (its position code and trend field
    // are the ones plotted); none when the log is missing.
    const SurveyTrail* trail = nullptr;
    bool fixCrosses = false; // "Show Fix Crosses X"
    bool textIsFg = false; // "Text = FG"
    int64_t fixNumber = 0;
    std::optional<int64_t> selectionStart, selectionEnd;
    double chartOffsetLat = 0, chartOffsetLon = 0;
    // The trend plot when this view draws it (the AIS view with "Data Trend
    // Plot" checked), else none.
    TDataTrendPlot* trend = nullptr;
};

// Plots the log. Returns what was wrong with the file; a missing file is
// not a fault and plots nothing.
SurveyLogFault PlotTextLog(TMDIChild& view, const TSurveyPlotInputs& inputs);

// The 9 x 9 blob with cut corners around (x, y).
void DrawValueBlob(TRasterCanvas& canvas, int x, int y, TColour colour);

// The data-trend plot cleared: the background with the zero line across it
// at half the height, in the foreground colour.
void ClearTrendPlot(QImage& image, TColour background, TColour foreground);

// A fault found in the log `path` is shown once, not at every redraw; once
// the log plots cleanly a new fault is shown again.
void ReportSurveyLogFault(const std::string& path, SurveyLogFault fault);

} // namespace chartwin
