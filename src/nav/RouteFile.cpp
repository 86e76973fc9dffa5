#include "nav/RouteFile.h"

#include "nav/NavState.h"
#include "nav/WaypointFile.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <algorithm>

namespace
{

int StoredRouteCount()
{
    return std::clamp<int>(RouteCount, 0, kMaxRoutePoints);
}

// Every read starts from an empty route with no active waypoint; the
// window's list is rebuilt whatever the read brings.
void StartEmptyRoute()
{
    RouteCount = 0;
    ActiveWaypoint = 0;
    RouteChanged = true;
}

} // namespace

RouteFileKind RouteFileKindOf(const std::string& path)
{
    const std::string ext = rtl::UpperCase(rtl::ExtractFileExt(path));
    if (ext == ".RTE")
        return RouteFileKind::Rte;
    if (ext == ".PRN")
        return RouteFileKind::Prn;
    return RouteFileKind::Unknown;
}

std::string RouteBaseName(const std::string& path)
{
    return rtl::ChangeFileExt(rtl::ExtractFileName(path), "");
}

void ShowRouteNotice(const RouteNotice& notice)
{
    if (!notice.text.empty())
        platform::ui().message(notice.kind, notice.text, {});
}

RouteNotice RouteReadNotice(RouteReadOutcome outcome)
{
    switch (outcome) {
    case RouteReadOutcome::Read:
        break;
    case RouteReadOutcome::Missing:
        return { platform::MessageKind::Warning, "Route File does not exist !" };
    case RouteReadOutcome::FormatError:
    case RouteReadOutcome::UnknownKind:
        return { platform::MessageKind::Warning, "Route file format error !" };
    }
    return {};
}

RouteReadOutcome ReadRouteText(rtl::TextReader& file, RouteFileKind kind)
{
    StartEmptyRoute();
    if (kind == RouteFileKind::Unknown)
        return RouteReadOutcome::UnknownKind;

    const WaypointLineLayout layout
        = kind == RouteFileKind::Prn ? WaypointLineLayout::Dos : WaypointLineLayout::Wpt;
    bool formatError = false;
    std::string line;
    while (RouteCount < kMaxRoutePoints && file.readLine(line)) {
        ++RouteCount;
        if (!ReadWaypointFileLine(line, layout, RouteNames[RouteCount], RoutePoints[RouteCount]))
            formatError = true;
    }
    if (RouteCount > 0) {
        ActiveWaypoint = 1;
        KeepRouteSelection = true;
    }
    return formatError ? RouteReadOutcome::FormatError : RouteReadOutcome::Read;
}

RouteReadOutcome ReadRouteFile(const std::string& path)
{
    rtl::TextReader file;
    if (!file.open(path)) {
        StartEmptyRoute();
        return RouteReadOutcome::Missing;
    }
    return ReadRouteText(file, RouteFileKindOf(path));
}

bool WriteRouteFile(const std::string& path)
{
    rtl::AtomicTextWriter file;
    if (!file.create(path))
        return false;
    const int count = StoredRouteCount();
    for (int i = 1; i <= count; ++i)
        file.writeLine(WaypointFileLine(RouteNames[i], RoutePoints[i]));
    return file.commit();
}
