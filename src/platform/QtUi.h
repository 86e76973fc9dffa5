#pragma once
// The program's dialog seam: Qt message boxes, file, colour and print dialogs.
// main() installs one with platform::setUi before any window is created.

#include "platform/Ui.h"

#include <QString>
#include <memory>

class QPrinter;

namespace platform
{

class QtUi : public Ui
{
public:
    QtUi();
    ~QtUi() override;

    void message(MessageKind kind, const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    bool askOkCancel(const std::string& text, const std::string& caption) override;
    ModalResult askYesNoCancel(const std::string& text, const std::string& caption) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<uint32_t> chooseColour(uint32_t bgr) override;
    // Shows the print dialog on printer(), so the printer chosen there is the
    // one the printing commands then print on.
    bool printDialog() override;
    ModalResult showModal(QDialog& dialog) override;
    void beep() override;

    // The program's printer, shared by every printing command.
    QPrinter& printer();

private:
    std::unique_ptr<QPrinter> printer_;
};

// The window a box or dialog shown now belongs to: the asking window
// (platform::AskingWindow), else the modal dialog that is up, else the
// active window; nullptr when there is none.
QWidget* OwnerWindow();

// "Chart files (*.cht)|*.cht|All files (*.*)|*.*" (description and pattern
// pairs; patterns separated by ';') as a Qt filter:
// "Chart files (*.cht);;All files (*)". "*.*" meant every file.
QString QtFileFilter(const std::string& filter);

// The result a dialog closed with: QDialog::Accepted is Ok, Rejected (also
// closing by Escape or the window's close box) is Cancel; a dialog that
// calls done() with a ModalResult value gets that value.
ModalResult ModalResultFromExec(int execResult);

// The class name of a dialog, for a seam that records dialogs by name.
std::string QtDialogClassName(QDialog& dialog);

} // namespace platform
