// Placeholders for commands and components that other areas of the program
// bring: the route loader, the data-trend plot and chart point editing.
// Each keeps its final name and signature, so the area that lands replaces
// the body here (or deletes it and its declaration).

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
