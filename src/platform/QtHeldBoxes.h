#pragma once
// Message boxes held back until a handler has returned. A handler that no
// box of its own may stop (the fix tick, the serial port's events) runs
// inside a HeldBoxes scope: a message box it shows (one with only OK) is
// not shown in place, where the box's modal loop would hold the handler up
// and with it its timer or the port, but from the event loop once the scope
// has closed, in the order given. Questions and dialogs, which need their
// answer at once, are shown in place; so are the boxes of a handler that
// runs in a modal loop opened inside the scope.

#include "platform/Ui.h"

#include <string>
#include <vector>

namespace platform
{

class HeldBoxes : private Ui
{
public:
    HeldBoxes();
    ~HeldBoxes() override;
    HeldBoxes(const HeldBoxes&) = delete;
    HeldBoxes& operator=(const HeldBoxes&) = delete;

private:
    struct Box {
        MessageKind kind;
        std::string text;
        std::string caption;
    };
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

    Ui& previous_;
    Ui* installed_;
    int loopLevel_;
    std::vector<Box> held_;
};

} // namespace platform
