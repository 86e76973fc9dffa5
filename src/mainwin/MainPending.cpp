// Placeholders for commands and components that other areas of the program
// bring: the data-trend plot and chart point editing.
// Each keeps its final name and signature, so the area that lands replaces
// the body here (or deletes it and its declaration).

#include "mainwin/Main.h"

void TMainForm::InitDataPlot()
{
    // placeholder until the data-trend plot lands: gives Data_Plot a fresh
    // bitmap in BackgroundColour with its zero line
}

void TMainForm::AddChartPoint1Click()
{
    // placeholder until chart point editing lands: adds a chart point at the
    // working position
}
