// korvex: chart plotter and navigation program. Started in its application
// folder; an optional argument names the configuration file in that folder.
// "/debug" or "-debug" (any case) switches the help system's debug log on
// and is never taken for the configuration file.

#include "help/ContextHelp.h"
#include "help/HelpProgram.h"
#include "mainwin/ProgramForms.h"
#include "platform/QtUi.h"
#include "platform/Ui.h"

#include <QApplication>

// The program body: application title "KV AIS Velta", the Qt dialog seam,
// the forms, the message loop. Returns the exit code.
int ProgramMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::SetApplicationTitle("KV AIS Velta");
    QApplication::setApplicationName("KV AIS Velta");
    platform::QtUi dialogs;
    platform::setUi(&dialogs);
    help::ApplicationHelpFile().clear();

    std::vector<std::string> args(argv, argv + argc);
    help::StartHelpSystem(args);
    TStartOptions options;
    options.args = help::ArgumentsWithoutDebugSwitches({ args.begin() + 1, args.end() });
    CreateProgramForms(options);
    ShowMainForm();
    const int exitCode = QApplication::exec();
    FreeProgramForms();
    help::StopHelpSystem();
    platform::setUi(nullptr);
    return exitCode;
}

int main(int argc, char** argv)
{
    return ProgramMain(argc, argv);
}
