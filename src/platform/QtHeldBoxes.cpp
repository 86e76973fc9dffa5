#include "platform/QtHeldBoxes.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace platform
{

namespace
{

int LoopLevel()
{
    return QThread::currentThread()->loopLevel();
}

} // namespace

HeldBoxes::HeldBoxes()
    : previous_(ui())
    , installed_(installedUi())
    , loopLevel_(LoopLevel())
{
    setUi(this);
}

HeldBoxes::~HeldBoxes()
{
    if (installedUi() == this)
        setUi(installed_);
    if (held_.empty())
        return;
    auto show = [boxes = std::move(held_)] {
        for (const Box& box : boxes) {
            // Nothing may escape into the event loop; a seam that refuses a
            // box has recorded it.
            try {
                ui().message(box.kind, box.text, box.caption);
            } catch (...) {
            }
        }
    };
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(show), Qt::QueuedConnection);
    else
        show();
}

void HeldBoxes::message(MessageKind kind, const std::string& text, const std::string& caption)
{
    if (LoopLevel() > loopLevel_)
        previous_.message(kind, text, caption);
    else
        held_.push_back({ kind, text, caption });
}

bool HeldBoxes::askYesNo(const std::string& text, const std::string& caption)
{
    return previous_.askYesNo(text, caption);
}

bool HeldBoxes::askOkCancel(const std::string& text, const std::string& caption)
{
    return previous_.askOkCancel(text, caption);
}

ModalResult HeldBoxes::askYesNoCancel(const std::string& text, const std::string& caption)
{
    return previous_.askYesNoCancel(text, caption);
}

std::optional<std::string> HeldBoxes::openFile(const FileDialogRequest& request)
{
    return previous_.openFile(request);
}

std::optional<std::string> HeldBoxes::saveFile(const FileDialogRequest& request)
{
    return previous_.saveFile(request);
}

std::optional<uint32_t> HeldBoxes::chooseColour(uint32_t bgr)
{
    return previous_.chooseColour(bgr);
}

bool HeldBoxes::printDialog()
{
    return previous_.printDialog();
}

ModalResult HeldBoxes::showModal(QDialog& dialog)
{
    return previous_.showModal(dialog);
}

void HeldBoxes::beep()
{
    previous_.beep();
}

} // namespace platform
