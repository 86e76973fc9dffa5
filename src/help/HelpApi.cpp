#include "help/HelpApi.h"

#include <cctype>

namespace help
{

namespace
{

struct LoadedControl {
    bool loaded = false;
    std::string file;
    std::string version;
    HtmlHelpEntry proc, wide, ansi;
};

LoadedControl& Control()
{
    static LoadedControl control;
    return control;
}

std::function<HtmlHelpModule()>& BuiltIn()
{
    static std::function<HtmlHelpModule()> make;
    return make;
}

std::optional<HtmlHelpModule> DefaultLoad(const std::string& nameOrPath)
{
    if (nameOrPath == "hhctrl.ocx" && BuiltIn())
        return BuiltIn()();
    return std::nullopt;
}

ModuleLoader& Loader()
{
    static ModuleLoader loader;
    return loader;
}

std::optional<HtmlHelpModule> LoadLibrary(const std::string& nameOrPath)
{
    return Loader() ? Loader()(nameOrPath) : DefaultLoad(nameOrPath);
}

} // namespace

void SetModuleLoader(ModuleLoader loader)
{
    Loader() = std::move(loader);
}

void SetBuiltInModule(std::function<HtmlHelpModule()> make)
{
    BuiltIn() = std::move(make);
}

std::string ExpandSystemRoot(const std::string& text, const std::string& windowsFolder)
{
    static const std::string kSystemRoot = "%SYSTEMROOT%";
    if (text.size() <= 11 || text.size() < kSystemRoot.size())
        return text;
    for (std::size_t i = 0; i < kSystemRoot.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != kSystemRoot[i])
            return text;
    return windowsFolder + text.substr(kSystemRoot.size());
}

std::string FindHHCtrlPath(const HelpControlLocation& where)
{
    std::string result;
    if (where.registryValue) {
        result = ExpandSystemRoot(*where.registryValue, where.windowsFolder);
        if (!result.empty() && !(where.fileExists && where.fileExists(result)))
            result.clear();
    }
    if (result.empty())
        result = where.systemFolder + "/hhctrl.ocx";
    return result;
}

void LoadHtmlHelp(const HelpControlLocation& where)
{
    LoadedControl& control = Control();
    if (control.loaded)
        return;
    std::optional<HtmlHelpModule> module = LoadLibrary("hhctrl.ocx");
    if (!module) {
        const std::string path = FindHHCtrlPath(where);
        if (!path.empty() && where.fileExists && where.fileExists(path))
            module = LoadLibrary(path);
    }
    if (!module)
        return;
    control.loaded = true;
    control.file = module->file;
    control.version = module->version;
    control.proc = module->htmlHelpA;
    control.wide = module->htmlHelpW;
    control.ansi = module->htmlHelpA;
}

void UnloadHtmlHelp()
{
    Control() = LoadedControl {};
}

bool HtmlHelpLoaded()
{
    return Control().loaded;
}

const std::string& HtmlHelpModuleFile()
{
    return Control().file;
}

const std::string& HtmlHelpVersion()
{
    return Control().version;
}

const HtmlHelpEntry& HtmlHelpProc()
{
    return Control().proc;
}

const HtmlHelpEntry& HtmlHelpA()
{
    return Control().ansi;
}

const HtmlHelpEntry& HtmlHelpW()
{
    return Control().wide;
}

} // namespace help
