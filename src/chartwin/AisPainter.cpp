#include "chartwin/AisPainter.h"

#include "draw/SymbolLibrary.h"
#include "nav/AisSelection.h"
#include "nav/AisTargetInfo.h"
#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"

#include <cmath>

namespace chartwin
{

namespace
{

constexpr double kAisUnitsPerDegree = 600000.0; // 1/10000 minute
constexpr double kMetresToDegrees = 8.999e-6;
constexpr double kMetresPerDegree = 111120.0;
constexpr double kDegToRad = M_PI / 180.0;
constexpr uint8_t kBaseStationReport = 4;

// Lifts the pen and moves it to a position; true when it is on the bitmap.
bool MoveTo(TChartPlotter& view, double lat, double lon)
{
    PenIsUp = true;
    view.PlotTo(lat, lon, 500);
    return !PenIsUp;
}

void Text(TChartPlotter& view, int dx, int dy, const std::string& text)
{
    view.Canvas->TextOut(view.FCursorX + dx, view.FCursorY + dy, text);
}

// "d-m-y h:m:s", each number without leading zeros.
std::string StationTime(const nav::AisTargetRecord& t)
{
    return std::to_string(t.utcDay) + "-" + std::to_string(t.utcMonth) + "-" + std::to_string(t.utcYear) + " "
        + std::to_string(t.utcHour) + ":" + std::to_string(t.utcMinute) + ":" + std::to_string(t.utcSecond);
}

// A point `forward` degrees along the heading and `port` degrees across it
// to port, `k` the longitude scale.
std::pair<double, double> Offset(
    std::pair<double, double> from, double heading, double forward, double port, double k)
{
    const double c = std::cos(heading), s = std::sin(heading);
    return { from.first + forward * c + port * s, from.second + (port * c - forward * s) / k };
}

} // namespace

std::optional<double> AisOutlineHeading(const nav::AisTargetRecord& target, int headingMode)
{
    const bool heading = nav::AisHeadingAvailable(target);
    const bool course = nav::AisCourseAvailable(target);
    if (heading && (headingMode == 1 || !course))
        return target.trueHeading;
    if (course)
        return target.courseOverGround / 10.0;
    return std::nullopt;
}

std::pair<double, double> AisChartPosition(const nav::AisTargetRecord& target)
{
    return { target.latitude / kAisUnitsPerDegree + ChartOffsetLat,
        -target.longitude / kAisUnitsPerDegree - ChartOffsetLon };
}

void DrawAisTarget(TChartPlotter& view, int i, const TAisDrawOptions& options)
{
    if (i < 1 || i > kMaxAisTargets)
        return;
    const nav::AisTargetRecord& t = AisTargets[i];
    if (!nav::AisHasPosition(t))
        return;
    const auto [lat, lon] = AisChartPosition(t);
    if (MoveTo(view, lat, lon)) {
        const int x = view.FCursorX, y = view.FCursorY;
        view.Canvas->SetFontColour(kSilver);
        const bool labels = options.labelsOnAll || i == SelectedAisTarget;
        if (t.messageType == kBaseStationReport && labels) {
            Text(view, 5, -12, "Base Station " + std::to_string(t.mmsi));
            Text(view, 5, 4, StationTime(t));
            DrawSymbol(view, x, y, lon, lat, i, 107);
        } else {
            if (labels) {
                Text(view, 5, 4, TrimNameField(t.name.view(), 1, 20));
                if (options.showMmsi)
                    Text(view, 5, -10, std::to_string(t.mmsi).substr(0, 9));
            }
            DrawSymbol(view, x, y, lon, lat, i, options.conventionalShape ? 105 : 103);
        }
    }
    MoveTo(view, view.FCursorLat, view.FCursorLon);
}

void DrawAisTargetTrail(TChartPlotter& view, int i)
{
    if (i < 1 || i > kMaxAisTargets)
        return;
    const nav::AisTargetRecord& t = AisTargets[i];
    if (!nav::AisHasPosition(t))
        return;
    view.PlotTo(-1, -1, 3);
    view.Canvas->SetPenMode(TPenMode::Copy);
    const int count = std::min<int>(t.trailCount, nav::kAisTrailLength);
    for (int n = 1; n <= count; ++n)
        view.PlotTo(t.trail[n].lat + ChartOffsetLat, -t.trail[n].lon - ChartOffsetLon, 3);
}

void DrawAisTargets(TChartPlotter& view, const TAisDrawOptions& options)
{
    if (AisTargetCount <= 0 || !nav::AisSelectionValid())
        return;
    const int count = std::min<int>(AisTargetCount, kMaxAisTargets);
    for (int i = 1; i <= count; ++i) {
        DrawAisTarget(view, i, options);
        DrawAisTargetTrail(view, i);
    }
    DrawAisTarget(view, SelectedAisTarget, options);
}

void DrawAisTargetOutline(TChartPlotter& view, const nav::AisTargetRecord& target, int headingMode)
{
    const double length = target.toBow + target.toStern; // metres
    const double beam = target.toPort + target.toStarboard;
    const std::optional<double> heading = AisOutlineHeading(target, headingMode);
    if (!heading)
        return;
    const double h = *heading * kDegToRad;
    const double k = std::fabs(std::cos(view.FCursorLat * kDegToRad));
    const auto p = AisChartPosition(target);
    // The stern centre: the reported position is toStern ahead of the stern
    // and (toPort - beam / 2) to starboard of the centre line.
    const auto r
        = Offset(p, h, -target.toStern * kMetresToDegrees, (target.toPort - beam / 2) * kMetresToDegrees, k);
    const double halfBeam = beam / 2 / kMetresPerDegree;
    const double shoulder = 0.75 * length / kMetresPerDegree;
    const auto s1 = Offset(r, h, 0, halfBeam, k);
    const auto s2 = Offset(r, h, 0, -halfBeam, k);
    const auto f1 = Offset(s1, h, shoulder, 0, k);
    const auto f2 = Offset(s2, h, shoulder, 0, k);
    const auto bow = Offset(r, h, length / kMetresPerDegree, 0, k);
    auto line = [&](std::pair<double, double> to, int pen) { view.PlotTo(to.first, to.second, pen); };
    MoveTo(view, r.first, r.second);
    line(s1, 900);
    line(f1, 900);
    line(bow, 900);
    line(r, 2);
    line(s2, 900);
    line(f2, 900);
    line(bow, 900);
    MoveTo(view, r.first, r.second);
}

void DrawRangeRings(TChartPlotter& view, double lat, double lon, int ringCount)
{
    for (double nm : nav::RangeRingsNm(ringCount)) {
        // Like every symbol, rings need their centre on the bitmap.
        if (!MoveTo(view, lat, lon))
            return;
        // Half a mile in hundredths (symbol 20), the others in whole miles (21).
        if (nm < 1)
            DrawSymbol(view, view.FCursorX, view.FCursorY, lon, lat, int(std::lround(nm * 100)), 20);
        else
            DrawSymbol(view, view.FCursorX, view.FCursorY, lon, lat, int(std::lround(nm)), 21);
    }
}

} // namespace chartwin
