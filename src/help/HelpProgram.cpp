#include "help/HelpProgram.h"

#include "help/ContextHelp.h"
#include "help/HelpApi.h"
#include "help/HelpDebug.h"
#include "help/HelpKeys.h"
#include "help/HelpViewer.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <cstdlib>

namespace help
{

namespace
{

QPointer<F1Filter>& Filter()
{
    static QPointer<F1Filter> filter;
    return filter;
}

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::vector<std::string> ArgumentsWithoutDebugSwitches(const std::vector<std::string>& args)
{
    std::vector<std::string> kept;
    for (const std::string& arg : args)
        if (!IsDebugSwitch(arg))
            kept.push_back(arg);
    return kept;
}

void StartHelpSystem(const std::vector<std::string>& args)
{
    InstallHelpViewer();
    LoadHtmlHelp();
    const std::string module = QCoreApplication::instance()
        ? QCoreApplication::applicationFilePath().toStdString()
        : (args.empty() ? std::string() : args.front());
    HelpFuncsInit(module, args, HelpFolders { Env("TMPDIR"), std::string(), std::string() });
    if (QCoreApplication::instance() && !Filter()) {
        Filter() = new F1Filter(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(Filter());
    }
}

void StopHelpSystem()
{
    HelpCloseAll();
    if (Filter()) {
        QCoreApplication::instance()->removeEventFilter(Filter());
        delete Filter();
    }
    HelpFuncsDone();
    UnloadHtmlHelp();
}

int ShowHelpFile(const std::string& helpFile)
{
    const int code = HelpDisplayTopic(helpFile, std::string(), std::string(), 0);
    HelpShowError(code);
    return code;
}

} // namespace help
