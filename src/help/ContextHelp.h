#pragma once
// Context help: the application's help event and the hook that turns its
// requests into pages of the program's compiled help file.
//
// A window asks for help the standard way: F1 or its Help button raises
// the application's help event with a command and a help-context number
// (ApplicationHelpCommand). A TContextHelpHook takes the event over while
// it exists and shows the page of its help file that carries the context.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace help
{

// Help commands of the application's help event.
constexpr uint16_t HELP_CONTEXT = 1;
constexpr uint16_t HELP_QUIT = 2;
constexpr uint16_t HELP_CONTEXTPOPUP = 8;
constexpr uint16_t HELP_SETPOPUP_POS = 13;

// The application's help event: (command, data, call-help flag) -> handled.
// A handler that leaves the flag set asks for the default help handling.
using HelpHandler = std::function<bool(uint16_t command, intptr_t data, bool& callHelp)>;
// Installs a handler and returns the one it replaces.
HelpHandler SetApplicationHelpHandler(HelpHandler handler);
// Raises the help event; with no handler, or when the handler asks for the
// default handling, the default runs (DefaultHelpCommands counts it; the
// program has no other help). Returns the handler's result.
bool ApplicationHelpCommand(uint16_t command, intptr_t data);
bool ApplicationHelpContext(int context);
// Commands that reached the default handling, in order (for the log and tests).
const std::vector<uint16_t>& DefaultHelpCommands();
// The application's help file name (set and cleared by the program body).
std::string& ApplicationHelpFile();

// Result codes of the context and topic display.
constexpr int kHelpOk = 0;
constexpr int kHelpNotInstalled = 1;
constexpr int kKeyHHMissing = 2;
constexpr int kHHMissing = 3;

class TContextHelpHook
{
public:
    // Host kind 0: the help control (both programs); 1: "KeyHH.EXE", 2:
    // "HH.EXE", both in the Windows folder.
    TContextHelpHook(std::string helpFile, std::string helpWindow, int hostKind);
    // Closes every help window (host kind 0) and puts the previous
    // handler back.
    ~TContextHelpHook();
    TContextHelpHook(const TContextHelpHook&) = delete;
    TContextHelpHook& operator=(const TContextHelpHook&) = delete;

    // The application's help handler; always true.
    bool HelpHook(uint16_t command, intptr_t data, bool& callHelp);
    // Shows the page of `context`, reports a failure; returns the code.
    int HelpContext(int context);

    const std::string& HelpFile() const { return helpFile_; }
    int PopupX() const { return popupX_; }
    int PopupY() const { return popupY_; }

private:
    std::string helpFile_;
    std::string helpWindow_;
    int hostKind_;
    HelpHandler previous_;
    int popupX_ = 0, popupY_ = 0;
};

// "HELP_CONTEXT (1)", "?? (6)" ...
std::string HelpCommandName(int command);
// The error text of a code; empty for 0.
std::string HelpErrorText(int code);
// Shows the error of a code in a message box (nothing for 0).
void HelpShowError(int code);

// In every text "%20" becomes a blank and the ends are trimmed; a topic
// gets '/' separators and a leading '/' and follows the file after "::";
// a window name follows after '>'; the prefix flag puts "mk:@MSITStore:"
// in front.
std::string HelpFormatPath(std::string helpFile, std::string topic, std::string window, bool prefix);

int HelpShowContextId(const std::string& helpFile, int context, const std::string& window, int hostKind);
// The whole help file (empty topic: its default page), or one topic. No
// error box.
int HelpDisplayTopic(
    const std::string& helpFile, const std::string& topic, const std::string& window, int hostKind);
int ShowContext(const std::string& path, int context, int hostKind);
int ShowTopic(const std::string& path, int hostKind);
// Closes every help window the program opened.
void HelpCloseAll();

// Starts `file` with its arguments, no shell in between; a failure is
// reported ("Function ShellExecute(...)"). True on success.
bool ShellExec(const std::string& file, const std::vector<std::string>& args);

} // namespace help
