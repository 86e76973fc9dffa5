#include "platform/Ui.h"

#include <atomic>
#include <stdexcept>

namespace platform
{

namespace
{

// Stands in until a seam is installed: any dialog at all is a programming
// error (a test that installed no seam, or a dialog before start-up).
class NoUi : public Ui
{
public:
    void message(MessageKind, const std::string& text, const std::string&) override { fail("message", text); }
    bool askYesNo(const std::string& text, const std::string&) override { fail("question", text); }
    bool askOkCancel(const std::string& text, const std::string&) override { fail("question", text); }
    ModalResult askYesNoCancel(const std::string& text, const std::string&) override
    {
        fail("question", text);
    }
    std::optional<std::string> openFile(const FileDialogRequest& r) override { fail("open dialog", r.title); }
    std::optional<std::string> saveFile(const FileDialogRequest& r) override { fail("save dialog", r.title); }
    std::optional<uint32_t> chooseColour(uint32_t) override { fail("colour dialog", {}); }
    bool printDialog() override { fail("print dialog", {}); }
    ModalResult showModal(QDialog&) override { fail("modal dialog", {}); }
    void beep() override { fail("beep", {}); }

private:
    [[noreturn]] static void fail(const char* what, const std::string& text)
    {
        throw std::logic_error(
            std::string("no user interface installed for ") + what + (text.empty() ? "" : ": " + text));
    }
};

NoUi noUi;
std::atomic<Ui*> installed { nullptr };

// Modal interactions all run on the GUI thread.
QWidget* asking = nullptr;

std::string& Title()
{
    static std::string title;
    return title;
}

} // namespace

Ui& ui()
{
    Ui* seam = installed.load();
    return seam ? *seam : noUi;
}

Ui* installedUi()
{
    return installed.load();
}

void setUi(Ui* seam)
{
    installed.store(seam);
}

void ShowMessage(const std::string& text)
{
    ui().message(MessageKind::Plain, text, {});
}
void MessageWarning(const std::string& text)
{
    ui().message(MessageKind::Warning, text, {});
}
void MessageError(const std::string& text)
{
    ui().message(MessageKind::Error, text, {});
}
void MessageInformation(const std::string& text)
{
    ui().message(MessageKind::Information, text, {});
}
bool AskYesNo(const std::string& text)
{
    return ui().askYesNo(text, {});
}
void Beep()
{
    ui().beep();
}

AskingWindow::AskingWindow(QWidget* window)
    : previous_(asking)
{
    asking = window;
}

AskingWindow::~AskingWindow()
{
    asking = previous_;
}

QWidget* askingWindow()
{
    return asking;
}

const std::string& ApplicationTitle()
{
    return Title();
}
void SetApplicationTitle(const std::string& title)
{
    Title() = title;
}

} // namespace platform
