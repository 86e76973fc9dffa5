#pragma once
// Reference points for the grid conversions, read from tests/data (generated
// with PROJ's cs2cs by tests/data/make_grid_tables.py).

#include <string>
#include <vector>

struct OsGridPoint {
    std::string name;
    double latitude; // degrees north
    double longitude; // degrees east
    double easting; // metres
    double northing; // metres
};

struct UtmPoint {
    std::string name;
    int datum;
    double latitude; // degrees north
    double longitude; // degrees east
    int zone;
    char band;
    double easting; // metres
    double northing; // metres
};

std::vector<OsGridPoint> LoadOsGridPoints();
std::vector<UtmPoint> LoadUtmPoints();
