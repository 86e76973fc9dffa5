// Placeholders for commands and components that other areas of the program
// bring: the route and chart loaders, the chart views, the serial component
// ComPort2, AIS log playback, the help hook, the chart list and chart
// configurations. Each keeps its final name and signature, so the area that
// lands replaces the body here (or deletes it and its declaration).

#include "mainwin/MainPending.h"
#include "mainwin/Main.h"

#include "rtl/Paths.h"

#include <stdexcept>

namespace pending
{

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

void TMainForm::InitDataPlot()
{
    // placeholder until the data-trend plot lands: gives Data_Plot a fresh
    // bitmap in BackgroundColour with its zero line
}

void TMainForm::ShowHelpContext(int)
{
    // placeholder until the help system lands: shows the help file's page
    // of the help context
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
