#include "support/ScriptedUi.h"

#include <cstdio>

namespace platform
{

namespace
{

const char* KindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Plain:
        return "message:plain";
    case MessageKind::Warning:
        return "message:warning";
    case MessageKind::Error:
        return "message:error";
    case MessageKind::Information:
        return "message:information";
    case MessageKind::Confirmation:
        return "message:confirmation";
    }
    return "message";
}

// The next answer of a queue, or UnexpectedDialog naming what was shown.
template <typename T> T Next(const std::vector<T>& queue, std::size_t& next, const std::string& what)
{
    if (next >= queue.size())
        throw UnexpectedDialog("unexpected " + what);
    return queue[next++];
}

} // namespace

ScriptedUi::ScriptedUi()
    : previous_(installedUi())
{
    setUi(this);
}

ScriptedUi::~ScriptedUi()
{
    if (installedUi() == this)
        setUi(previous_);
}

void ScriptedUi::answerYes(int times)
{
    answers_.insert(answers_.end(), times, ModalResult::Yes);
}
void ScriptedUi::answerNo(int times)
{
    answers_.insert(answers_.end(), times, ModalResult::No);
}
void ScriptedUi::answerCancel(int times)
{
    answers_.insert(answers_.end(), times, ModalResult::Cancel);
}
void ScriptedUi::answerOk(int times)
{
    answers_.insert(answers_.end(), times, ModalResult::Ok);
}
void ScriptedUi::answerFile(std::optional<std::string> path)
{
    files_.push_back(std::move(path));
}
void ScriptedUi::answerColour(std::optional<uint32_t> bgr)
{
    colours_.push_back(bgr);
}
void ScriptedUi::answerPrint(bool ok)
{
    prints_.push_back(ok);
}
void ScriptedUi::answerModal(std::function<ModalResult(QDialog&)> handler)
{
    modals_.push_back(std::move(handler));
}

std::vector<std::string> ScriptedUi::messages() const
{
    std::vector<std::string> texts;
    for (const Shown& s : shown_)
        if (s.kind.rfind("message:", 0) == 0)
            texts.push_back(s.text);
    return texts;
}

int ScriptedUi::beeps() const
{
    int n = 0;
    for (const Shown& s : shown_)
        n += s.kind == "beep";
    return n;
}

bool ScriptedUi::allAnswersUsed() const
{
    return nextAnswer_ == answers_.size() && nextFile_ == files_.size() && nextColour_ == colours_.size()
        && nextPrint_ == prints_.size() && nextModal_ == modals_.size();
}

void ScriptedUi::clear()
{
    shown_.clear();
    fileRequests_.clear();
    answers_.clear();
    files_.clear();
    colours_.clear();
    prints_.clear();
    modals_.clear();
    nextAnswer_ = nextFile_ = nextColour_ = nextPrint_ = nextModal_ = 0;
}

void ScriptedUi::message(MessageKind kind, const std::string& text, const std::string&)
{
    shown_.push_back({ KindName(kind), text });
    if (whileMessageUp) {
        const Shown up = shown_.back();
        whileMessageUp(up);
    }
    if (strictMessages)
        throw UnexpectedDialog("unexpected message box: " + text);
}

bool ScriptedUi::askTwoWay(const std::string& kind, const std::string& text, ModalResult yes, ModalResult no)
{
    shown_.push_back({ kind, text });
    const ModalResult answer = Next(answers_, nextAnswer_, "question (" + kind + "): " + text);
    if (answer != yes && answer != no)
        throw UnexpectedDialog("answer of another kind scripted for the question: " + text);
    return answer == yes;
}

bool ScriptedUi::askYesNo(const std::string& text, const std::string&)
{
    return askTwoWay("ask", text, ModalResult::Yes, ModalResult::No);
}

bool ScriptedUi::askOkCancel(const std::string& text, const std::string&)
{
    return askTwoWay("askOk", text, ModalResult::Ok, ModalResult::Cancel);
}

ModalResult ScriptedUi::askYesNoCancel(const std::string& text, const std::string&)
{
    shown_.push_back({ "askCancel", text });
    return Next(answers_, nextAnswer_, "Yes/No/Cancel question: " + text);
}

std::optional<std::string> ScriptedUi::openFile(const FileDialogRequest& request)
{
    shown_.push_back({ "open", request.title });
    fileRequests_.push_back(request);
    return Next(files_, nextFile_, "open dialog: " + request.title);
}

std::optional<std::string> ScriptedUi::saveFile(const FileDialogRequest& request)
{
    shown_.push_back({ "save", request.title });
    fileRequests_.push_back(request);
    return Next(files_, nextFile_, "save dialog: " + request.title);
}

std::optional<uint32_t> ScriptedUi::chooseColour(uint32_t bgr)
{
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(bgr));
    shown_.push_back({ "colour", text });
    return Next(colours_, nextColour_, std::string("colour dialog"));
}

bool ScriptedUi::printDialog()
{
    shown_.push_back({ "print", {} });
    return Next(prints_, nextPrint_, std::string("print dialog"));
}

ModalResult ScriptedUi::showModal(QDialog& dialog)
{
    const std::string name = nameModal ? nameModal(dialog) : std::string();
    shown_.push_back({ name.empty() ? "modal" : "modal:" + name, {} });
    auto handler
        = Next(modals_, nextModal_, name.empty() ? std::string("modal dialog") : "modal dialog " + name);
    return handler ? handler(dialog) : ModalResult::Ok;
}

void ScriptedUi::beep()
{
    shown_.push_back({ "beep", {} });
}

} // namespace platform
