#pragma once
// The test side of the modal-interaction seam (platform/Ui.h).

#include "platform/Ui.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform
{

// Test stand-in: records every interaction and answers from queues. An
// interaction with no scripted answer fails the test (it throws
// UnexpectedDialog), so a test states every dialog it expects.
struct UnexpectedDialog : DialogRefused {
    using DialogRefused::DialogRefused;
};

class ScriptedUi : public Ui
{
public:
    struct Shown {
        // "message:plain", "message:warning", "message:error", "message:information",
        // "message:confirmation", "ask" (Yes/No), "askOk" (OK/Cancel), "askCancel" (Yes/No/Cancel), "open",
        // "save", "colour", "print", "modal" (or "modal:<name>"), "beep"
        std::string kind;
        // message or question text, file dialog title; colour: the start colour as $00BBGGRR
        std::string text;
    };

    ScriptedUi(); // installs itself
    ~ScriptedUi() override; // restores the previous seam

    // Answers, consumed in order.
    void answerYes(int times = 1);
    void answerNo(int times = 1);
    void answerCancel(int times = 1);
    void answerOk(int times = 1);
    void answerFile(std::optional<std::string> path);
    void answerColour(std::optional<uint32_t> bgr);
    void answerPrint(bool ok);
    // A ShowModal answer: the callback may fill the dialog's controls and
    // returns the result the dialog closes with.
    void answerModal(std::function<ModalResult(QDialog&)> handler);
    // Message boxes need no answer; set strict to fail on any unexpected one.
    bool strictMessages = false;
    // Runs while a message box is up, before it is answered: a test can run
    // the event loop here to see what goes on under a box left standing.
    std::function<void(const Shown&)> whileMessageUp;
    // ShowModal is recorded as kind "modal"; with a namer set (a Qt test can
    // use QtDialogClassName from QtUi.h) as "modal:<name>".
    std::function<std::string(QDialog&)> nameModal;

    const std::vector<Shown>& shown() const { return shown_; }
    // The requests of the open and save dialogs shown, in order.
    const std::vector<FileDialogRequest>& fileRequests() const { return fileRequests_; }
    // Texts of message boxes only, in order.
    std::vector<std::string> messages() const;
    int beeps() const;
    // True when all scripted answers were used.
    bool allAnswersUsed() const;
    void clear();

    void message(MessageKind kind, const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    bool askOkCancel(const std::string& text, const std::string& caption) override;
    ModalResult askYesNoCancel(const std::string& text, const std::string& caption) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<uint32_t> chooseColour(uint32_t bgr) override;
    bool printDialog() override;
    ModalResult showModal(QDialog& dialog) override;
    void beep() override;

private:
    bool askTwoWay(const std::string& kind, const std::string& text, ModalResult yes, ModalResult no);
    Ui* previous_ = nullptr;
    std::vector<Shown> shown_;
    std::vector<ModalResult> answers_;
    std::vector<std::optional<std::string>> files_;
    std::vector<std::optional<uint32_t>> colours_;
    std::vector<bool> prints_;
    std::vector<std::function<ModalResult(QDialog&)>> modals_;
    std::vector<FileDialogRequest> fileRequests_;
    std::size_t nextAnswer_ = 0, nextFile_ = 0, nextColour_ = 0, nextPrint_ = 0, nextModal_ = 0;
};

} // namespace platform
