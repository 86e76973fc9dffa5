// Placeholders for commands and components that other areas of the program
// bring: the route loader, the data-trend plot, chart point editing and the
// help hook. Each keeps its final name and signature, so the area that lands
// replaces the body here (or deletes it and its declaration).

#include "mainwin/Main.h"

void TMainForm::LoadRouteFile(const std::string&)
{
    // placeholder until route files land
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

void TMainForm::AddChartPoint1Click()
{
    // placeholder until chart point editing lands: adds a chart point at the
    // working position
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
