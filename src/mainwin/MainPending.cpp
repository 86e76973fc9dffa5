// Placeholders for commands and components that other areas of the program
// bring: the route and chart loaders, the chart views, the serial component
// ComPort2, AIS log playback, the help hook and the navigation unit's daily
// logs and chart list. Each keeps its final name and signature, so the area
// that lands replaces the body here (or deletes it and its declaration).

#include "mainwin/MainPending.h"
#include "mainwin/Main.h"

#include "rtl/Paths.h"

#include <stdexcept>

namespace pending
{

void OpenDailyLogs()
{
    // placeholder until the daily logs land
}

void ListChartsOrFindNearest(ChartSearchMode, rtl::ShortString<40>&)
{
    // placeholder until the chart list lands
}

bool LoadChartConfig(const std::string&)
{
    // placeholder until chart configurations land: no chart configuration
    // can be read yet
    return false;
}

std::string ExtractFileBaseName(const std::string& path)
{
    // placeholder until the path helpers land
    const std::string name = rtl::ExtractFileName(path);
    return name.substr(0, name.find('.'));
}

} // namespace pending

void TMainForm::LoadRouteFile(const std::string&)
{
    // placeholder until route files land
}

void TMainForm::LoadStartupChart()
{
    // placeholder until chart files land: loads the chart named by
    // OpenChtDialog's file name with its layers and waypoints, and opens the
    // first chart view
}

void TMainForm::AutoChartClick()
{
    // placeholder until chart files land: loads the chart nearest to the
    // present position
}

void TMainForm::SaveBtnClick()
{
    // placeholder until chart files land: writes the chart store to
    // SaveDialog1's file
}

void TMainForm::RefreshAllViews()
{
    // placeholder until the chart views land: re-centres every view on the
    // present position and redraws it
}

void TMainForm::SetFirstViewZoom(double)
{
    // placeholder until the chart views land
}

void TMainForm::CentreActiveView(double, double, double)
{
    // placeholder until the chart views land
}

void TMainForm::OpenComPort()
{
    // placeholder until the serial component ComPort2 lands: ComNumber :=
    // ComPort, Baud := BaudRate, Open := true, AvailLength := 1,
    // DataTriggerHandle := AddDataTrigger("\r"), TimerTriggerHandle :=
    // AddTimerTrigger, ArmTimerTrigger(TimerTriggerHandle, 273 ticks, on).
    // No port can be opened before then.
    throw std::runtime_error("no serial port support");
}

void TMainForm::CloseComPort()
{
    // placeholder until the serial component ComPort2 lands: Open := false,
    // RemoveAllTriggers, AvailLength := 0
}

void TMainForm::CloseAisLogFile()
{
    // placeholder until AIS log playback lands
}

void TMainForm::CreateHelpHook(const std::string&)
{
    // placeholder until the help system lands: creates HelpSystem on the
    // help file
}

void TMainForm::DestroyHelpHook()
{
    // placeholder until the help system lands: frees HelpSystem and closes
    // all help windows (HelpCloseAll)
}
