// The main window's help hook: created on "KVAIS6.chm" in the application
// folder, freed when the window goes; every help request of the program
// (F1, Help buttons, the help commands) reaches it through the
// application's help event.

#include "help/ContextHelp.h"
#include "mainwin/Main.h"

#include <memory>

namespace
{

std::unique_ptr<help::TContextHelpHook> HelpSystem;

} // namespace

void TMainForm::ShowHelpContext(int context)
{
    help::ApplicationHelpContext(context);
}

void TMainForm::CreateHelpHook(const std::string& helpFile)
{
    HelpSystem = std::make_unique<help::TContextHelpHook>(helpFile, std::string(), 0);
}

void TMainForm::DestroyHelpHook()
{
    HelpSystem.reset();
    help::HelpCloseAll();
}
