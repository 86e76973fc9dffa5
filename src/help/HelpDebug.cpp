#include "help/HelpDebug.h"

#include "help/HelpApi.h"
#include "help/HelpText.h"
#include "platform/Ui.h"

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace help
{

namespace
{

constexpr const char* kLogName = "HelpDebug.txt";

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FolderExists(const std::string& folder)
{
    struct stat st {
    };
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Now(const char* format)
{
    const std::time_t t = std::time(nullptr);
    std::tm local {};
    localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

// A regular file of ours (not a link, owned by this user) whose first two
// lines are the log header's.
bool IsOurLog(const std::string& path)
{
    struct stat st {
    };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    char head[128];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    if (got < 0)
        return false;
    const std::string start(head, static_cast<std::size_t>(got));
    return start.rfind(std::string(79, '=') + "\r\nLog File:", 0) == 0;
}

// Opens the log for appending: an existing file only when it is a regular
// file of ours, never through a link; a missing one is created new.
int OpenForAppend(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

struct HelpState {
    HelpStartInfo info;
    std::unique_ptr<TDebugLogFile> log;
};

HelpState& State()
{
    static HelpState state;
    return state;
}

std::string OperatingSystem()
{
    utsname un {};
    if (::uname(&un) != 0)
        return "Unknown 0.0 (Build 0) No Service Pack";
    int major = 0, minor = 0, build = 0;
    std::sscanf(un.release, "%d.%d.%d", &major, &minor, &build);
    char text[512];
    std::snprintf(text, sizeof text, "%s %d.%d (Build %d) %s", un.sysname, major, minor, build, un.version);
    return text;
}

std::string Hex4(unsigned v)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%04X (%u)", v & 0xFFFF, v & 0xFFFF);
    return text;
}

} // namespace

bool IsDebugSwitch(const std::string& arg)
{
    if (arg.size() != 6 || (arg[0] != '/' && arg[0] != '-'))
        return false;
    std::string word;
    for (std::size_t i = 1; i < arg.size(); ++i)
        word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(arg[i]))));
    return word == "debug";
}

bool DebugModeFrom(const std::string& moduleFolder, const std::vector<std::string>& args)
{
    std::error_code ec;
    if (std::filesystem::exists(moduleFolder + "/debug.debug", ec))
        return true;
    for (std::size_t i = 1; i < args.size(); ++i)
        if (IsDebugSwitch(args[i]))
            return true;
    return false;
}

std::string GetTempFolder(const std::string& platformTemp)
{
    std::string folder = platformTemp;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty() || !FolderExists(folder))
        return "/tmp";
    return folder;
}

bool IsFolderWritable(const std::string& folder)
{
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    path += "/$_Temp_$.$$$";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST && ::access(FolderOf(path).c_str(), W_OK) == 0;
    ::close(fd);
    ::unlink(path.c_str());
    return true;
}

TDebugLogFile::TDebugLogFile(std::string fileName, const Options& options)
    : fileName_(std::move(fileName))
    , options_(options)
{
    const HelpStartInfo& info = State().info;
    if (fileName_.empty())
        fileName_ = (info.logFolder.empty() ? GetTempFolder("") : info.logFolder) + "/" + kLogName;
    const std::string folder = FolderOf(fileName_);
    if (!FolderExists(folder) || !IsFolderWritable(folder))
        fileName_ = (info.tempFolder.empty() ? GetTempFolder("") : info.tempFolder) + "/" + NameOf(fileName_);
    WriteHeader();
}

void TDebugLogFile::WriteLine(const std::string& format)
{
    std::string text = format;
    if (text == "-")
        text = std::string(80, '-');
    else if (text == "=")
        text = std::string(80, '=');
    std::string line;
    if (!text.empty() && (text[0] == '!' || text[0] == '-' || text[0] == '='))
        line = text.substr(1);
    else
        line = (options_.timeStamps ? Now("%H:%M:%S") + "   " : std::string()) + text;
    line += "\r\n";

    const int fd = OpenForAppend(fileName_);
    if (fd < 0)
        return;
    const char* p = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0)
            break;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    ::close(fd);
}

void TDebugLogFile::DebugOut(const std::string& text)
{
    if (options_.debugMode)
        WriteLine(text);
}

void TDebugLogFile::ReportError(const std::string& text)
{
    ShowAppMessage(text);
    if (options_.debugMode)
        WriteLine(text);
}

void TDebugLogFile::WriteHeader()
{
    if (!options_.append && IsOurLog(fileName_))
        ::unlink(fileName_.c_str());
    if (!options_.debugMode || !options_.headerDump)
        return;
    const HelpStartInfo& info = State().info;
    auto value
        = [this](const char* label, const std::string& v) { WriteLine(std::string("!") + label + "\t" + v); };
    std::string params;
    for (std::size_t i = 1; i < info.args.size(); ++i)
        params += (i > 1 ? " | " : "") + info.args[i];
    const lconv* conv = std::localeconv();
    WriteLine("=");
    value("Log File:             ", fileName_);
    value("Date:                 ", Now("%d/%m/%Y %H:%M:%S"));
    value("Operating System:      ", OperatingSystem());
    // Linux has no locale numbers of this kind.
    value("SysLocale.DefaultLCID: ", Hex4(0));
    value("SysLocale.PriLangID:   ", Hex4(0));
    value("SysLocale.SubLangID:   ", Hex4(0));
    value("DecimalSeparator:      ", conv && conv->decimal_point ? conv->decimal_point : ".");
    WriteLine("-");
    value("EXE Path =          ", info.modulePath);
    value("EXE Version =       ", info.exeVersion);
    value("Cmdline Param(s) =  ", params);
    value("Actual CmdLine =  ", info.actualCmdLine);
    value("_RunDir =           ", info.runFolder);
    value("_ModuleName =       ", info.moduleName);
    value("_ModuleDir =        ", info.moduleFolder);
    value("_ModulePath =        ", info.modulePath);
    value("Module Version =       ", info.exeVersion);
    WriteLine("-");
    value("_hhInstalled =      ", YesNo(info.helpAvailable));
    value("_hhVerStr =         ", info.hhVersion.text);
    value("_hhFriendlyVerStr = ", info.hhFriendly);
    WriteLine("-");
    value("_ieInstalled =      ", YesNo(info.ieInstalled));
    value("_ieVerStr =         ", info.ieVersion.text);
    value("_ieFriendlyVerStr = ", info.ieFriendly);
    WriteLine("=");
}

void HelpFuncsInit(
    const std::string& modulePath, const std::vector<std::string>& args, const HelpFolders& folders)
{
    HelpState& state = State();
    HelpStartInfo& info = state.info;
    info = HelpStartInfo {};
    info.modulePath = modulePath;
    info.moduleFolder = FolderOf(modulePath);
    info.moduleName = NameOf(modulePath);
    info.args = args;
    info.runFolder = args.empty() ? std::string() : FolderOf(args.front());
    for (std::size_t i = 0; i < args.size(); ++i)
        info.actualCmdLine += (i ? " " : "") + args[i];
    info.tempFolder = GetTempFolder(folders.temp);
    info.windowsFolder = folders.windows;
    info.systemFolder = folders.system;
    info.logFolder = IsFolderWritable(info.moduleFolder) ? info.moduleFolder : info.tempFolder;
    info.debugMode = DebugModeFrom(info.moduleFolder, args);
    info.hhVersion.text = HtmlHelpVersion();
    std::sscanf(info.hhVersion.text.c_str(), "%d.%d.%d.%d", &info.hhVersion.parts[0],
        &info.hhVersion.parts[1], &info.hhVersion.parts[2], &info.hhVersion.parts[3]);
    info.helpAvailable = !info.hhVersion.text.empty();
    info.hhFriendly = GetHelpFriendlyVersion(info.hhVersion);
    if (!folders.system.empty())
        info.ieVersion = GetIEVersion(folders.system);
    info.ieInstalled = !info.ieVersion.text.empty();
    info.ieFriendly = GetIEFriendlyVersion(info.ieVersion);

    TDebugLogFile::Options options;
    options.debugMode = info.debugMode;
    state.log.reset();
    state.log = std::make_unique<TDebugLogFile>(info.logFolder + "/" + kLogName, options);
}

void HelpFuncsDone()
{
    State().log.reset();
}

const HelpStartInfo& HelpInfo()
{
    return State().info;
}

bool HelpAvailable()
{
    return State().info.helpAvailable;
}

TDebugLogFile* HelpLog()
{
    return State().log.get();
}

std::string FormatText(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0)
        return {};
    std::string text(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(needed));
    return text;
}

void HelpDebugOut(const char* format, ...)
{
    TDebugLogFile* log = HelpLog();
    if (!log || !log->DebugMode())
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatText(format, args);
    va_end(args);
    log->WriteLine(text);
}

void HelpReportError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatText(format, args);
    va_end(args);
    if (TDebugLogFile* log = HelpLog())
        log->ReportError(text);
    else
        ShowAppMessage(text);
}

void ShowAppMessage(const std::string& text)
{
    platform::ui().message(platform::MessageKind::Warning, text, platform::ApplicationTitle());
}

} // namespace help
