// korvex: chart plotter and navigation program. Started in its application
// folder; an optional argument names the configuration file in that folder.

#include "mainwin/ProgramForms.h"
#include "platform/QtUi.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QScreen>

// The program body: application title "KV AIS Velta", the Qt dialog seam,
// the forms, the message loop. Returns the exit code.
int ProgramMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::SetApplicationTitle("KV AIS Velta");
    QApplication::setApplicationName("KV AIS Velta");
    platform::QtUi dialogs;
    platform::setUi(&dialogs);

    TStartOptions options;
    for (int i = 1; i < argc; ++i)
        options.args.emplace_back(argv[i]);
    CreateProgramForms(options);
    // Also fills the screen where no window manager maximises windows.
    if (QGuiApplication::primaryScreen())
        MainForm->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    MainForm->showMaximized();
    const int exitCode = QApplication::exec();
    FreeProgramForms();
    platform::setUi(nullptr);
    return exitCode;
}

int main(int argc, char** argv)
{
    return ProgramMain(argc, argv);
}
