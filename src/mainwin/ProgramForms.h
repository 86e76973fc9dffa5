#pragma once
// The forms of korvex, created at start-up in a fixed order and freed at
// exit: the main window first (its creation touches no dialog), then the
// timing dialog, view and zoom properties, about box, waypoint editor,
// preferences, image reference dialog, raster image viewer, route waypoint
// name dialog and the AIS target data window. Each is reachable through its
// global (MainForm, AlarmDialog, View_ZoomDlg, AboutBox, WPeditDlg,
// GlobalDlg, CTRef, Cviewer, OKRightDlg, AISInfo). Chart views come and go
// with the charts.

#include "mainwin/Main.h"

void CreateProgramForms(const TStartOptions& options);
// Shows the main window as the program starts: maximised on the primary
// screen (filling it also where no window manager maximises windows).
void ShowMainForm();
// Frees every form (the main window last) and clears the globals.
void FreeProgramForms();
