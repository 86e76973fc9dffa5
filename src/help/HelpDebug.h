#pragma once
// The help system's debug log "HelpDebug.txt" and what the help system
// learns at start: the program's folders, debug mode and the versions of
// the help control and the browser component.
//
// Debug mode is on when a file "debug.debug" lies beside the program, or
// when an argument reads "/debug" or "-debug" (any letter case). Only then
// is the log written; it lies beside the program, or in the temporary
// folder when the program's folder is read-only.

#include "help/HelpVersion.h"

#include <cstdarg>
#include <string>
#include <vector>

namespace help
{

// "/debug" or "-debug" in any letter case. The program drops these from
// its arguments before it takes the first one as a configuration name.
bool IsDebugSwitch(const std::string& arg);
bool DebugModeFrom(const std::string& moduleFolder, const std::vector<std::string>& args);

// The platform temporary folder (`platformTemp`, e.g. from TMPDIR), or
// "/tmp" when that folder does not exist; no trailing '/'.
std::string GetTempFolder(const std::string& platformTemp);
// A file can be created in the folder (checked by creating and removing one).
bool IsFolderWritable(const std::string& folder);

class TDebugLogFile
{
public:
    struct Options {
        bool append = false;
        bool headerDump = true;
        bool timeStamps = true;
        bool debugMode = false;
    };
    // An empty name: log folder + "/HelpDebug.txt". A name whose folder is
    // missing or read-only goes to the temporary folder. Without append,
    // an earlier log of ours is removed first; then the header is written
    // (debug mode only).
    TDebugLogFile(std::string fileName, const Options& options);

    // Appends one line: "-" and "=" alone are separator lines; a text that
    // begins with '!', '-' or '=' is written without that character and
    // without time stamp; otherwise the time of day and three blanks go
    // first. A log that cannot be opened is skipped.
    void WriteLine(const std::string& text);
    // WriteLine in debug mode only.
    void DebugOut(const std::string& text);
    // Shows the text in a message box (application title as caption) and,
    // in debug mode, logs it.
    void ReportError(const std::string& text);
    void WriteHeader();

    const std::string& FileName() const { return fileName_; }
    bool DebugMode() const { return options_.debugMode; }

private:
    std::string fileName_;
    Options options_;
};

// What the help system found at start (set by HelpFuncsInit).
struct HelpStartInfo {
    std::string modulePath; // the running program's file
    std::string moduleFolder; // without a trailing '/'
    std::string moduleName;
    std::string runFolder; // folder of argument 0
    std::vector<std::string> args; // argument 0 first
    std::string actualCmdLine;
    std::string exeVersion;
    std::string logFolder;
    std::string tempFolder;
    std::string windowsFolder; // where the outside help viewers lie
    std::string systemFolder;
    bool debugMode = false;
    FileVersion hhVersion; // the help control
    bool helpAvailable = false;
    std::string hhFriendly;
    FileVersion ieVersion; // the browser component
    bool ieInstalled = false;
    std::string ieFriendly;
};

// The platform folders the help system looks in; empty ones are absent.
struct HelpFolders {
    std::string temp; // the platform's temporary folder (TMPDIR)
    std::string windows;
    std::string system;
};
// The start-up probe: folders, log folder, debug mode, the loaded help
// control's version (HelpApi), the browser component's version in the
// system folder; then the program-wide log.
void HelpFuncsInit(
    const std::string& modulePath, const std::vector<std::string>& args, const HelpFolders& folders);
// Frees the program-wide log.
void HelpFuncsDone();
const HelpStartInfo& HelpInfo();
// The help control could be found at start (its version is known).
bool HelpAvailable();

// The program-wide log; nullptr outside HelpFuncsInit .. HelpFuncsDone,
// when the two routines below log nothing.
TDebugLogFile* HelpLog();
// printf-style lines on the program-wide log.
void HelpDebugOut(const char* format, ...) __attribute__((format(printf, 1, 2)));
void HelpReportError(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatText(const char* format, va_list args);

} // namespace help

namespace help
{
// A message box with no owner, the application title as caption, the
// exclamation icon and an OK button.
void ShowAppMessage(const std::string& text);
} // namespace help
