#pragma once
// Operations of the navigation unit that the start-up calls but that are not
// built yet. Each is a placeholder with its final name and signature; when
// the real one lands, delete it here and drop the `pending::` at its callers.

#include "rtl/ShortString.h"

#include <string>

namespace pending
{

enum class ChartSearchMode { List, Nearest };
// Placeholder until the chart list lands: in list mode fills ChartList from
// the charts folder; in search mode returns the chart nearest to the present
// position in `result`.
void ListChartsOrFindNearest(ChartSearchMode mode, rtl::ShortString<40>& result);

// Placeholder until chart configurations land: reads <folder><base name>.cfg
// of the given chart path; false when it cannot be opened.
bool LoadChartConfig(const std::string& chartPath);

// Placeholder until the path helpers land: the file name without its folder
// and without the text from its first '.' on ("cfg/boat.cfg" gives "boat").
std::string ExtractFileBaseName(const std::string& path);

} // namespace pending
