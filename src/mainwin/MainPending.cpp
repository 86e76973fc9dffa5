// Placeholders for commands and components that other areas of the program
// bring: chart point editing.
// Each keeps its final name and signature, so the area that lands replaces
// the body here (or deletes it and its declaration).

#include "mainwin/Main.h"

void TMainForm::AddChartPoint1Click()
{
    // placeholder until chart point editing lands: adds a chart point at the
    // working position
}
