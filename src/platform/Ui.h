#pragma once
// The one seam for every modal interaction: message boxes, Yes/No questions,
// file, print and colour dialogs, a dialog's ShowModal and the beep. The
// program installs the Qt implementation (QtUi); tests install a scripted
// one that records every text shown and answers from a queue.
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
    // A modal question with OK and Cancel buttons; true for OK.
    virtual bool askOkCancel(const std::string& text, const std::string& caption) = 0;
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

// The window that asks. Boxes and dialogs shown while a scope is open are
// shown above that window and transient for it; the seam opens one for each
// dialog and box while it is up, so what that dialog asks in turn comes
// above it. Without a scope: the modal dialog that is up, else the active
// window. Scopes nest; the window must outlive its scope.
class AskingWindow
{
public:
    explicit AskingWindow(QWidget* window);
    ~AskingWindow();
    AskingWindow(const AskingWindow&) = delete;
    AskingWindow& operator=(const AskingWindow&) = delete;

private:
    QWidget* previous_;
};
// The window of the innermost scope open now; nullptr when none is.
QWidget* askingWindow();

// The application title, used as the caption of message boxes.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// Thrown by a seam that refuses to show a dialog at all (one that has no
// answer for it): the run must stop rather than go on as if the user had
// answered. Handler edges pass it on instead of showing it in a box.
struct DialogRefused : std::exception {
    explicit DialogRefused(std::string what)
        : text(std::move(what))
    {
    }
    const char* what() const noexcept override { return text.c_str(); }
    std::string text;
};

} // namespace platform
