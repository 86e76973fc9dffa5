#include "help/ContextHelp.h"

#include "help/HelpApi.h"
#include "help/HelpDebug.h"
#include "help/HelpText.h"

#include <QProcess>
#include <QStringList>
#include <QWidget>
#include <cerrno>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace help
{

namespace
{

struct ApplicationHelp {
    HelpHandler handler;
    std::vector<uint16_t> defaults;
    std::string helpFile;
};

ApplicationHelp& App()
{
    static ApplicationHelp app;
    return app;
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string Trimmed(std::string text)
{
    StrReplaceAll(text, "%20", " ");
    return StripChar(std::move(text), ' ');
}

// Starts an outside help viewer from the Windows folder, or gives
// `missingCode` when it is not there.
int StartViewer(const char* viewer, const std::vector<std::string>& args, int missingCode)
{
    const std::string path = HelpInfo().windowsFolder + "/" + viewer;
    if (HelpInfo().windowsFolder.empty() || !FileExists(path))
        return missingCode;
    ShellExec(path, args);
    return kHelpOk;
}

// The help control's call; code 1 when it is missing or cannot make its
// window. A window it returns comes to the front.
int CallControl(const std::string& path, unsigned command, uintptr_t data)
{
    const HtmlHelpEntry& entry = HtmlHelpProc();
    if (!HelpAvailable() || !entry)
        return kHelpNotInstalled;
    const HelpWindowResult window = entry(nullptr, path, command, data);
    if (!window)
        return kHelpNotInstalled;
    if (*window) {
        auto* shown = static_cast<QWidget*>(*window);
        shown->raise();
        shown->activateWindow();
    }
    return kHelpOk;
}

} // namespace

HelpHandler SetApplicationHelpHandler(HelpHandler handler)
{
    HelpHandler previous = std::move(App().handler);
    App().handler = std::move(handler);
    return previous;
}

bool ApplicationHelpCommand(uint16_t command, intptr_t data)
{
    bool callHelp = true;
    bool result = false;
    if (App().handler)
        result = App().handler(command, data, callHelp);
    if (callHelp)
        App().defaults.push_back(command);
    return result;
}

bool ApplicationHelpContext(int context)
{
    return ApplicationHelpCommand(HELP_CONTEXT, context);
}

const std::vector<uint16_t>& DefaultHelpCommands()
{
    return App().defaults;
}

std::string& ApplicationHelpFile()
{
    return App().helpFile;
}

TContextHelpHook::TContextHelpHook(std::string helpFile, std::string helpWindow, int hostKind)
    : helpFile_(std::move(helpFile))
    , helpWindow_(std::move(helpWindow))
    , hostKind_(hostKind)
{
    previous_ = SetApplicationHelpHandler([this](uint16_t command, intptr_t data, bool& callHelp) {
        return HelpHook(command, data, callHelp);
    });
    HelpDebugOut(
        "TContextHelpHook.Create(\"%s\",\"%s\", %d)", helpFile_.c_str(), helpWindow_.c_str(), hostKind_);
}

TContextHelpHook::~TContextHelpHook()
{
    if (hostKind_ == 0)
        HelpCloseAll();
    SetApplicationHelpHandler(std::move(previous_));
    HelpDebugOut("TContextHelpHook.Destroy");
}

bool TContextHelpHook::HelpHook(uint16_t command, intptr_t data, bool& callHelp)
{
    HelpDebugOut(
        "TContextHelpHook.HelpHook(%s, %d)", HelpCommandName(command).c_str(), static_cast<int>(data));
    callHelp = false;
    if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) {
        HelpContext(static_cast<int>(data));
    } else if (command == HELP_SETPOPUP_POS) {
        popupX_ = static_cast<int16_t>(data & 0xFFFF);
        popupY_ = static_cast<int16_t>((data >> 16) & 0xFFFF);
    } else {
        callHelp = true;
    }
    return true;
}

int TContextHelpHook::HelpContext(int context)
{
    const int code = HelpShowContextId(helpFile_, context, helpWindow_, hostKind_);
    HelpShowError(code);
    return code;
}

std::string HelpCommandName(int command)
{
    const char* name = "??";
    switch (command) {
    case 1:
        name = "HELP_CONTEXT";
        break;
    case 2:
        name = "HELP_QUIT";
        break;
    case 3:
        name = "HELP_INDEX or HELP_CONTENTS";
        break;
    case 4:
        name = "HELP_HELPONHELP";
        break;
    case 5:
        name = "HELP_SETINDEX or HELP_SETCONTENTS";
        break;
    case 8:
        name = "HELP_CONTEXTPOPUP";
        break;
    case 9:
        name = "HELP_FORCEFILE";
        break;
    case 10:
        name = "HELP_CONTEXTMENU";
        break;
    case 11:
        name = "HELP_FINDER";
        break;
    case 12:
        name = "HELP_WM_HELP";
        break;
    case 13:
        name = "HELP_SETPOPUP_POS";
        break;
    case 257:
        name = "HELP_KEY";
        break;
    case 258:
        name = "HELP_COMMAND";
        break;
    case 261:
        name = "HELP_PARTIALKEY";
        break;
    case 513:
        name = "HELP_MULTIKEY";
        break;
    case 515:
        name = "HELP_SETWINPOS";
        break;
    default:
        break;
    }
    return std::string(name) + " (" + std::to_string(command) + ")";
}

std::string HelpErrorText(int code)
{
    switch (code) {
    case 0:
        return {};
    case 1:
        return "MS Html Help is not installed on this PC.";
    case 2:
        return "System file KeyHH.EXE was not found in the Windows folder.";
    case 3:
        return "System file HH.EXE was not found in the Windows folder.";
    default:
        return "Unknown error returned by HelpShowContextId";
    }
}

void HelpShowError(int code)
{
    if (code == 0)
        return;
    const std::string text = HelpErrorText(code);
    ShowAppMessage(text);
    HelpDebugOut("HelpShowError(%d), \"%s\"", code, text.c_str());
}

std::string HelpFormatPath(std::string helpFile, std::string topic, std::string window, bool prefix)
{
    helpFile = Trimmed(std::move(helpFile));
    topic = Trimmed(std::move(topic));
    window = Trimmed(std::move(window));
    std::string path;
    if (!topic.empty()) {
        topic = DosToUnixPath(std::move(topic));
        if (topic.front() != '/')
            topic.insert(topic.begin(), '/');
        path = helpFile.empty() ? topic : helpFile + "::" + topic;
    } else {
        path = helpFile;
    }
    if (!window.empty())
        path += ">" + window;
    if (prefix)
        path = "mk:@MSITStore:" + path;
    return path;
}

int HelpShowContextId(const std::string& helpFile, int context, const std::string& window, int hostKind)
{
    HelpDebugOut(
        "HelpShowContextId(\"%s\", %d, \"%s\", %d)", helpFile.c_str(), context, window.c_str(), hostKind);
    return ShowContext(HelpFormatPath(helpFile, "", window, hostKind == 2), context, hostKind);
}

int HelpDisplayTopic(
    const std::string& helpFile, const std::string& topic, const std::string& window, int hostKind)
{
    HelpDebugOut("HelpShowContextId(\"%s\", %s, \"%s\", %d)", helpFile.c_str(), topic.c_str(), window.c_str(),
        hostKind);
    return ShowTopic(HelpFormatPath(helpFile, topic, window, hostKind == 2), hostKind);
}

int ShowContext(const std::string& path, int context, int hostKind)
{
    HelpDebugOut("ShowContext(\"%s\", %d)", path.c_str(), context);
    int code = kHelpOk;
    if (!HelpAvailable() || !HtmlHelpProc())
        code = kHelpNotInstalled;
    else if (hostKind == 0)
        code = CallControl(path, HH_HELP_CONTEXT, static_cast<uintptr_t>(context));
    else if (hostKind == 1)
        code = StartViewer("KeyHH.EXE", { "-win", "-#mapid", std::to_string(context), path }, kKeyHHMissing);
    else if (hostKind == 2)
        code = StartViewer("HH.EXE", { "-mapid", std::to_string(context), path }, kHHMissing);
    HelpDebugOut("  returned - %d", code);
    return code;
}

int ShowTopic(const std::string& path, int hostKind)
{
    HelpDebugOut("ShowTopic(\"%s\", %d)", path.c_str(), hostKind);
    int code = kHelpOk;
    if (!HelpAvailable() || !HtmlHelpProc())
        code = kHelpNotInstalled;
    else if (hostKind == 0)
        code = CallControl(path, HH_DISPLAY_TOPIC, 0);
    else if (hostKind == 1)
        code = StartViewer("KeyHH.EXE", { "-win", path }, kKeyHHMissing);
    else if (hostKind == 2)
        code = StartViewer("HH.EXE", { path }, kHHMissing);
    HelpDebugOut("  returned - %d", code);
    return code;
}

void HelpCloseAll()
{
    const HtmlHelpEntry& entry = HtmlHelpProc();
    if (!HtmlHelpLoaded() || !entry)
        return;
    entry(nullptr, std::string(), HH_CLOSE_ALL, 0);
    std::this_thread::yield();
}

bool ShellExec(const std::string& file, const std::vector<std::string>& args)
{
    QStringList list;
    std::string params;
    for (const std::string& arg : args) {
        list << QString::fromLocal8Bit(arg.c_str());
        params += (params.empty() ? "" : " ") + arg;
    }
    if (QProcess::startDetached(QString::fromLocal8Bit(file.c_str()), list))
        return true;
    int code = 31;
    if (!FileExists(file))
        code = 2;
    else if (::access(file.c_str(), X_OK) != 0)
        code = 5;
    HelpReportError("Function ShellExecute(%s)\rReturned: %s", (file + ", " + params).c_str(),
        LastErrorText(code).c_str());
    return false;
}

} // namespace help
