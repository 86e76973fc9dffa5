#include "GridTables.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace
{

std::vector<std::string> DataLines(const char* fileName)
{
    const std::string path = std::string(KV_TEST_DATA_DIR) + "/" + fileName;
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    }
    return lines;
}

} // namespace

std::vector<OsGridPoint> LoadOsGridPoints()
{
    std::vector<OsGridPoint> points;
    for (const std::string& line : DataLines("osgrid_points.txt")) {
        std::istringstream fields(line);
        OsGridPoint p;
        if (!(fields >> p.name >> p.latitude >> p.longitude >> p.easting >> p.northing))
            throw std::runtime_error("bad line in osgrid_points.txt: " + line);
        points.push_back(p);
    }
    return points;
}

std::vector<UtmPoint> LoadUtmPoints()
{
    std::vector<UtmPoint> points;
    for (const std::string& line : DataLines("utm_points.txt")) {
        std::istringstream fields(line);
        UtmPoint p;
        if (!(fields >> p.name >> p.datum >> p.latitude >> p.longitude >> p.zone >> p.band >> p.easting
                >> p.northing))
            throw std::runtime_error("bad line in utm_points.txt: " + line);
        points.push_back(p);
    }
    return points;
}
