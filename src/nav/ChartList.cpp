#include "nav/ChartList.h"

#include "nav/ChartConfig.h"
#include "nav/FileNameParts.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <string>

rtl::Array1<ChartListCentre, 100> ChartListCentres;

static_assert(kMaxChartList == 100, "ChartListCentres runs parallel to ChartList");

namespace
{

constexpr double kPortfolioDistanceNm = 100000.0; // farther than any chart

void ListCharts()
{
    ChartListCount = 0;
    int leftOut = 0;
    for (const std::string& name : rtl::ListFolder(ChartsFolder, ".cfg")) {
        if (rtl::UpperCase(name) == "PORTFOLIO.CFG" || name.size() > rtl::ShortString<40>::capacity)
            continue;
        if (ChartListCount >= kMaxChartList)
            ++leftOut;
        else
            ChartList[++ChartListCount] = name;
    }
    // Said once for a folder, not at every rescan of it.
    if (leftOut > 0 && ChartListOverflowFolder != ChartsFolder) {
        ChartListOverflowFolder = ChartsFolder;
        platform::MessageWarning("More than " + std::to_string(kMaxChartList) + " charts in " + ChartsFolder
            + ": the last " + std::to_string(leftOut) + " are not considered for automatic chart loading");
    }
    for (int i = 1; i <= ChartListCount; ++i) {
        if (const auto home = ReadChartHomeView(rtl::JoinPath(ChartsFolder, ChartList[i].str())))
            ChartListCentres[i] = { home->lat, home->lon, home->zoom };
    }
}

std::string NearestChart()
{
    double best = rtl::UpperCase(CurrentChartName) == "PORTFOLIO"
        ? kPortfolioDistanceNm
        : FlatDistanceNm(CurLat, CurLon, ChartHomeLat, ChartHomeLon);
    int nearest = 0;
    const int count = std::clamp<int>(ChartListCount, 0, kMaxChartList);
    for (int i = 1; i <= count; ++i) {
        const double distance
            = FlatDistanceNm(CurLat, CurLon, ChartListCentres[i].lat, ChartListCentres[i].lon);
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest > 0 ? ExtractFileBaseName(ChartList[nearest].str()) : CurrentChartName;
}

} // namespace

void ListChartsOrFindNearest(ChartSearchMode mode, rtl::ShortString<40>& result)
{
    if (mode == ChartSearchMode::List)
        ListCharts();
    else
        result = NearestChart();
}
