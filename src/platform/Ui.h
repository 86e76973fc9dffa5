#pragma once
// The one seam for every modal interaction: message boxes, Yes/No questions,
// file, print and colour dialogs, a dialog's ShowModal and the beep. The
// program installs the Qt implementation (QtUi); tests install ScriptedUi,
// which records every text shown and answers from a queue.
//
// This header has no Qt dependency so the navigation code can use it.

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

namespace platform
{

enum class MessageKind { Plain, Warning, Error, Information, Confirmation };

enum class ModalResult { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct FileDialogRequest {
    std::string title;
    std::string initialFolder;
    std::string fileName; // initial file name
    std::string filter; // "Chart files (*.cht)|*.cht|All files (*.*)|*.*"
    std::string defaultExt; // without the dot
};

class Ui
{
public:
    virtual ~Ui() = default;
    // A modal box with one OK button. caption empty: the application title.
    virtual void message(MessageKind kind, const std::string& text, const std::string& caption) = 0;
    // A modal question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // A question with Yes, No and Cancel.
    virtual ModalResult askYesNoCancel(const std::string& text, const std::string& caption) = 0;
    // Open and save dialogs: the chosen full path, or nullopt on Cancel.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // Colour dialog on a BGR colour; nullopt on Cancel.
    virtual std::optional<uint32_t> chooseColour(uint32_t bgr) = 0;
    // Print dialog before printing; false when cancelled.
    virtual bool printDialog() = 0;
    // Shows a dialog modally and returns its result.
    virtual ModalResult showModal(QDialog& dialog) = 0;
    virtual void beep() = 0;
};

// The installed seam. Until one is installed, a default that fails loudly
// (throws std::logic_error) so no dialog is ever shown by accident.
Ui& ui();
// Installs a seam (not owned); nullptr restores the default.
void setUi(Ui* seam);
// The installed seam, nullptr while the default stands.
Ui* installedUi();

// Short forms used throughout the program.
void ShowMessage(const std::string& text); // plain box, OK
void MessageWarning(const std::string& text); // warning, OK
void MessageError(const std::string& text); // error, OK
void MessageInformation(const std::string& text); // information, OK
bool AskYesNo(const std::string& text); // confirmation, Yes/No
void Beep();

// The application title, used as the caption of message boxes.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// Test stand-in: records every interaction and answers from queues. An
// interaction with no scripted answer fails the test (it throws
// UnexpectedDialog), so a test states every dialog it expects.
struct UnexpectedDialog : std::exception {
    explicit UnexpectedDialog(std::string what)
        : text(std::move(what))
    {
    }
    const char* what() const noexcept override { return text.c_str(); }
    std::string text;
};

class ScriptedUi : public Ui
{
public:
    struct Shown {
        // "message:plain", "message:warning", "message:error", "message:information",
        // "message:confirmation", "ask" (Yes/No), "askCancel" (Yes/No/Cancel), "open",
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
    void answerFile(std::optional<std::string> path);
    void answerColour(std::optional<uint32_t> bgr);
    void answerPrint(bool ok);
    // A ShowModal answer: the callback may fill the dialog's controls and
    // returns the result the dialog closes with.
    void answerModal(std::function<ModalResult(QDialog&)> handler);
    // Message boxes need no answer; set strict to fail on any unexpected one.
    bool strictMessages = false;
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
    ModalResult askYesNoCancel(const std::string& text, const std::string& caption) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<uint32_t> chooseColour(uint32_t bgr) override;
    bool printDialog() override;
    ModalResult showModal(QDialog& dialog) override;
    void beep() override;

private:
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
