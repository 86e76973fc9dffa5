#pragma once
// Moving the chart onto the GPS datum: the chart offsets (degrees, latitude
// north positive, longitude west positive as everywhere) taken out of every
// chart point, and optionally out of every waypoint of the database. Only
// memory changes; the chart is saved by the user.

// Every point of the store except the pen-ups: stored latitude -= offsetLat
// (the line type's 200 × k stays), longitude += offsetLon.
void ShiftChartPoints(double offsetLat, double offsetLon);
// The same shift for every waypoint of the database.
void ShiftChartWaypoints(double offsetLat, double offsetLon);
