#pragma once
// The HTML help control: found and bound once at start, freed at the end.
//
// On Windows the control is "hhctrl.ocx", loaded by name or, failing that,
// from the path the registry gives for its class. Here the control is the
// help window built into the program (HelpViewer): a module loader hands
// out its entry points under the name "hhctrl.ocx". The registry and
// folder lookups stay as pure routines with their inputs passed in.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace help
{

// Help control commands.
constexpr unsigned HH_DISPLAY_TOPIC = 0;
constexpr unsigned HH_HELP_CONTEXT = 15;
constexpr unsigned HH_CLOSE_ALL = 18;

// What an entry point returns: the help window it shows (nullptr when it
// shows none), or nullopt when it cannot make a window at all.
using HelpWindowResult = std::optional<void*>;
// (caller window, file or path text, command, data): the HTML help call.
using HtmlHelpEntry = std::function<HelpWindowResult(
    void* caller, const std::string& path, unsigned command, uintptr_t data)>;

// A loaded control: its entry points by export name and its file version
// ("6.4.2.0"; empty when it carries none).
struct HtmlHelpModule {
    std::string file;
    HtmlHelpEntry htmlHelpA; // "HtmlHelpA"
    HtmlHelpEntry htmlHelpW; // "HtmlHelpW"
    std::string version;
};

// The platform's library load: a module for a plain name (search order) or
// a full path; nullopt when there is none.
using ModuleLoader = std::function<std::optional<HtmlHelpModule>(const std::string& nameOrPath)>;
// Installs the loader LoadHtmlHelp uses; an empty one restores the
// default, which knows only the built-in help window (when linked).
void SetModuleLoader(ModuleLoader loader);
// The built-in help window registers itself here.
void SetBuiltInModule(std::function<HtmlHelpModule()> make);

// Where the control may be found when the plain name fails.
struct HelpControlLocation {
    // Default value of HKEY_CLASSES_ROOT\CLSID\{adb880a6-d8ff-11cf-9377-
    // 00aa003b7a11}\InprocServer32; nullopt when the key does not open.
    std::optional<std::string> registryValue;
    std::string windowsFolder; // without a trailing separator
    std::string systemFolder;
    std::function<bool(const std::string&)> fileExists;
};

// A leading "%SystemRoot%" (any letter case; the text longer than 11
// characters) replaced by the Windows folder; other texts unchanged.
std::string ExpandSystemRoot(const std::string& text, const std::string& windowsFolder);
// The registry's path, expanded, when that file exists; otherwise system
// folder + "/hhctrl.ocx".
std::string FindHHCtrlPath(const HelpControlLocation& where);

// Loads the control and binds its entry points; nothing when one is
// loaded. The plain name first, then FindHHCtrlPath of `where` when that
// file exists.
void LoadHtmlHelp(const HelpControlLocation& where = {});
// Frees the control; harmless when none is loaded.
void UnloadHtmlHelp();
bool HtmlHelpLoaded();
const std::string& HtmlHelpModuleFile();
const std::string& HtmlHelpVersion();

// The bound entry points; empty while the control is not loaded.
const HtmlHelpEntry& HtmlHelpProc();
const HtmlHelpEntry& HtmlHelpA();
const HtmlHelpEntry& HtmlHelpW();

} // namespace help
