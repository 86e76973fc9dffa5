#include "nav/ChartEdit.h"

#include "nav/ChartStore.h"
#include "nav/NavState.h"

#include <algorithm>
#include <cmath>

int16_t SelectedChartPoint = 0;
int16_t LineType = 0;
double LineTypeOffset = 0.0;

namespace
{

ChartPoint& Point(int index)
{
    return ChartPoints[static_cast<std::size_t>(index)];
}

// The selection when it names a point of the store that the command may act
// on; 0 otherwise.
int UsableSelection(bool penUpAllowed)
{
    const int index = SelectedChartPoint;
    if (index < 1 || index > ChartPointsInUse())
        return 0;
    return penUpAllowed || !IsPenUp(Point(index)) ? index : 0;
}

} // namespace

int ChartLineType(double storedLat)
{
    static const double thresholds[] = { 100, 300, 500, 700, 900, 1100 };
    int type = 0;
    for (double t : thresholds)
        type += storedLat > t;
    return type;
}

double ChartLineOffset(int type)
{
    return 200.0 * type;
}

int NearestChartPoint(double lat, double lon)
{
    int best = 0;
    double bestDistance = 99999;
    const int count = ChartPointsInUse();
    for (int i = 1; i <= count; ++i) {
        const ChartPoint& point = Point(i);
        if (IsPenUp(point))
            continue;
        const double stored = point.lat;
        const double dLat = stored - ChartLineOffset(ChartLineType(stored)) - lat;
        const double dLon = (static_cast<double>(point.lon) - lon) * CosLat;
        const double distance = 60.0 * std::sqrt(dLat * dLat + dLon * dLon);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int FindNearestChartPoint(double lat, double lon)
{
    const int nearest = NearestChartPoint(lat, lon);
    SelectedChartPoint = static_cast<int16_t>(nearest);
    if (nearest > 0)
        LineTypeOffset = ChartLineOffset(ChartLineType(Point(nearest).lat));
    return nearest;
}

bool AddChartPoint(bool penUp, double lat, double lon)
{
    if (ChartPointCount >= kMaxChartPoints)
        return false;
    const int index = std::max<int>(ChartPointCount, 0) + 1;
    Point(index) = penUp ? PenUpPoint : ChartPoint { rtl::Real6(lat + LineTypeOffset), rtl::Real6(lon) };
    ChartPointCount = static_cast<int16_t>(index);
    SelectedChartPoint = static_cast<int16_t>(index);
    return true;
}

int MoveOrBreakChartPoint(bool breakPoint, double lat, double lon)
{
    int index = UsableSelection(breakPoint);
    if (index == 0)
        index = FindNearestChartPoint(lat, lon);
    if (index == 0)
        return 0;
    Point(index) = breakPoint ? PenUpPoint : ChartPoint { rtl::Real6(lat + LineTypeOffset), rtl::Real6(lon) };
    return index;
}

int DeleteChartPoint(double lat, double lon)
{
    const int index = MoveOrBreakChartPoint(true, lat, lon);
    if (SelectedChartPoint > 0)
        --SelectedChartPoint;
    return index;
}

void StartNewChartStore()
{
    Point(1) = PenUpPoint;
    ChartPointCount = 1;
    SelectedChartPoint = 0;
    ForgetChartFilesRead();
}

void ShiftOntoChartDatumOnce(double& lat, double& lon, TDatumShift& last)
{
    if (last.done && lat == last.lat && lon == last.lon)
        return;
    lat += ChartOffsetLat;
    lon -= ChartOffsetLon;
    last = TDatumShift { true, lat, lon };
}
