#pragma once
// A help control stand-in for the hook's tests: it records every call and
// answers with a window or with none; the log goes to a temporary folder.

#include "help/ContextHelp.h"
#include "help/HelpApi.h"
#include "help/HelpDebug.h"
#include "help/HelpKeys.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kvtest
{

struct HelpCall {
    std::string path;
    unsigned command;
    uintptr_t data;
};

// Records message captions too.
class CaptionUi : public platform::ScriptedUi
{
public:
    void message(platform::MessageKind kind, const std::string& text, const std::string& caption) override
    {
        captions.push_back(caption);
        ScriptedUi::message(kind, text, caption);
    }
    std::vector<std::string> captions;
};

// F1 pressed in `widget`, the program's F1 filter watching it.
inline void PressF1(QWidget& widget)
{
    help::F1Filter filter;
    widget.installEventFilter(&filter);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &f1);
    widget.removeEventFilter(&filter);
}

class HelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::SetApplicationTitle("KV AIS Velta");
        help::UnloadHtmlHelp();
    }

    void TearDown() override
    {
        help::HelpFuncsDone();
        help::UnloadHtmlHelp();
        help::SetModuleLoader({});
    }

    // Loads the recording control (`version` empty: a control whose version
    // cannot be read) and runs the start-up probe with `args` after the
    // program name; the program lies in `moduleFolder` (the temporary
    // folder when empty).
    void StartHelp(
        std::vector<std::string> args = {}, std::string version = "1.0.0.0", std::string moduleFolder = "")
    {
        help::SetModuleLoader([this, version](const std::string&) -> std::optional<help::HtmlHelpModule> {
            help::HtmlHelpModule m;
            m.file = "hhctrl.ocx";
            m.version = version;
            m.htmlHelpA = [this](void*, const std::string& path, unsigned command, uintptr_t data) {
                calls.push_back({ path, command, data });
                return windowResult;
            };
            return m;
        });
        help::LoadHtmlHelp();
        const std::string folder = moduleFolder.empty() ? dir.path() : moduleFolder;
        args.insert(args.begin(), folder + "/korvex");
        help::HelpFuncsInit(folder + "/korvex", args, help::HelpFolders { tmp.path(), "", "" });
    }

    CaptionUi ui;
    TempDir dir; // the program's folder
    TempDir tmp; // the temporary folder
    std::vector<HelpCall> calls;
    help::HelpWindowResult windowResult = nullptr;
};

} // namespace kvtest
