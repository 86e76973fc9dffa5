#pragma once
// The help system as a program uses it: started in main() once the
// application object exists and before any window, stopped after the
// last window has gone.
//
// korvex: its main window creates a TContextHelpHook on "KVAIS6.chm" in
// the application folder and frees it when destroyed.
// gridmerk: its window creates a TContextHelpHook on "Gmkhelp.chm" in its
// start folder with an empty window name and host kind 0, and its Help
// button calls ShowHelpFile with that file.

#include <string>
#include <vector>

namespace help
{

// Drops "/debug" and "-debug" (any case) from the arguments after the
// program name, so they are never taken for a file name.
std::vector<std::string> ArgumentsWithoutDebugSwitches(const std::vector<std::string>& args);

// Binds the built-in help window as the help control, runs the start-up
// probe (debug mode from "debug.debug" beside the program or the
// arguments, log folder, versions) and installs the application-wide F1
// filter. `args` are the whole command line, the program first.
void StartHelpSystem(const std::vector<std::string>& args);
// Closes every help window, frees the log and the control.
void StopHelpSystem();

// Shows the whole help file (its default page) in the help window; a
// failure is shown in a message box. Returns the code of HelpShowError.
int ShowHelpFile(const std::string& helpFile);

} // namespace help
