#include "nav/ChartDatumShift.h"

#include "nav/ChartStore.h"
#include "nav/NavState.h"

void ShiftChartPoints(double offsetLat, double offsetLon)
{
    for (int i = 1; i <= ChartPointCount; ++i) {
        ChartPoint& point = ChartPoints[i];
        if (IsPenUp(point))
            continue;
        point.lat = rtl::Real6(point.lat.value() - offsetLat);
        point.lon = rtl::Real6(point.lon.value() + offsetLon);
    }
}

void ShiftChartWaypoints(double offsetLat, double offsetLon)
{
    for (int i = 1; i <= WaypointDbCount; ++i) {
        WaypointDbPoints[i].lat -= offsetLat;
        WaypointDbPoints[i].lon += offsetLon;
    }
}
