#include "platform/QtUi.h"

#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "platform/QtWindowTitle.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpacerItem>
#include <QStringList>
#include <QTreeView>
#include <QWindow>

namespace platform
{

namespace
{

// The window that asks, else the modal dialog that is up.
QWidget* AskingOrModal()
{
    if (QWidget* asking = askingWindow(); asking && asking->window()->isVisible())
        return asking->window();
    return QApplication::activeModalWidget();
}

// A dialog made by a window other than the one that asks for it (the main
// window makes them all) is that window's child while it is up, so that it
// is shown above the asking window and transient for it: a window that stays
// on top would otherwise hide it. Its own parent comes back afterwards.
class OwnedWhileUp
{
public:
    OwnedWhileUp(QDialog& dialog, QWidget* owner)
        : dialog_(dialog)
        , parent_(dialog.parentWidget())
    {
        if (!owner || owner == &dialog || dialog.isAncestorOf(owner)
            || (parent_ && parent_->window() == owner))
            return;
        dialog.setParent(owner, dialog.windowFlags());
        moved_ = true;
    }
    ~OwnedWhileUp()
    {
        if (moved_)
            dialog_.setParent(parent_, dialog_.windowFlags());
    }
    OwnedWhileUp(const OwnedWhileUp&) = delete;
    OwnedWhileUp& operator=(const OwnedWhileUp&) = delete;

private:
    QDialog& dialog_;
    QPointer<QWidget> parent_;
    bool moved_ = false;
};

// While one of the program's windows that stay on top is up, a dialog
// stays on top too for as long as it is up: the window manager keeps those
// windows above every other, the asking window and its dialogs included.
// Those windows are windows of their own, not the asking window's, so the
// window manager may still keep one of them above a dialog that only the
// asking window owns (it does so when that window has the keyboard). Unless
// the asking window stays on top itself, such a dialog belongs to the whole
// program while it is up, which puts it above every window of the program.
class OnTopWhileUp
{
public:
    explicit OnTopWhileUp(QDialog& dialog)
        : dialog_(dialog)
    {
        if (dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &dialog && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
                dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
                set_ = true;
                break;
            }
        const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
        if (!set_ || (owner && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint)))
            return;
        dialog.winId();
        if (QWindow* window = dialog.windowHandle()) {
            owner_ = window->transientParent();
            window->setTransientParent(nullptr);
            programs_ = true;
        }
    }
    ~OnTopWhileUp()
    {
        if (programs_ && dialog_.windowHandle())
            dialog_.windowHandle()->setTransientParent(owner_);
        if (set_)
            dialog_.setWindowFlag(Qt::WindowStaysOnTopHint, false);
    }
    OnTopWhileUp(const OnTopWhileUp&) = delete;
    OnTopWhileUp& operator=(const OnTopWhileUp&) = delete;

private:
    QDialog& dialog_;
    QPointer<QWindow> owner_;
    bool set_ = false;
    bool programs_ = false;
};

// Runs a dialog modally, above the window that asks (or the modal dialog
// that is up) and above the windows that stay on top; what the dialog asks
// in turn comes above it. The active window alone does not take a dialog
// over: it may be any window.
int Exec(QDialog& dialog)
{
    const OwnedWhileUp owned(dialog, AskingOrModal());
    const OnTopWhileUp onTop(dialog);
    const AskingWindow asking(&dialog);
    return dialog.exec();
}

QString Caption(const std::string& caption)
{
    return qs(caption.empty() ? ApplicationTitle() : caption);
}

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Plain:
        return QMessageBox::NoIcon;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The box's texts are shown as given, never taken for markup.
int RunBox(QMessageBox::Icon icon, const std::string& text, const std::string& caption,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, Caption(caption), qs(text), buttons, OwnerWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    // A box sizes itself to its text and buttons; a short text under a long
    // title would cut the title off. A spacer across the box's grid keeps
    // it wide enough (a minimum width of the box itself is overruled).
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const QMargins margins = grid->contentsMargins();
        grid->addItem(new QSpacerItem(TitleFitWidth(box.windowTitle()) - margins.left() - margins.right(), 0,
                          QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
    }
    return Exec(box);
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(
        OwnerWindow(), qs(request.title), qs(request.initialFolder), QtFileFilter(request.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.defaultExt.empty())
        dialog.setDefaultSuffix(qs(request.defaultExt));
    if (!request.fileName.empty())
        dialog.selectFile(qs(request.fileName));
    // The detail view's size, type and date columns as wide as what they
    // show; the name column takes the rest.
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        for (int column = 0; column < header->count(); ++column)
            header->setSectionResizeMode(
                column, column == 0 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    }
    if (Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ls(dialog.selectedFiles().first());
}

} // namespace

QtUi::QtUi() = default;
QtUi::~QtUi() = default;

void QtUi::message(MessageKind kind, const std::string& text, const std::string& caption)
{
    RunBox(IconOf(kind), text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUi::askYesNo(const std::string& text, const std::string& caption)
{
    return RunBox(QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

bool QtUi::askOkCancel(const std::string& text, const std::string& caption)
{
    return RunBox(
               QMessageBox::Question, text, caption, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

ModalResult QtUi::askYesNoCancel(const std::string& text, const std::string& caption)
{
    switch (RunBox(QMessageBox::Question, text, caption,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return ModalResult::Yes;
    case QMessageBox::No:
        return ModalResult::No;
    default:
        return ModalResult::Cancel;
    }
}

std::optional<std::string> QtUi::openFile(const FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUi::saveFile(const FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<uint32_t> QtUi::chooseColour(uint32_t bgr)
{
    QColorDialog dialog(QColorFromBgr(bgr), OwnerWindow());
    if (Exec(dialog) != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return BgrFromQColor(dialog.selectedColor());
}

bool QtUi::printDialog()
{
    QPrintDialog dialog(&printer(), OwnerWindow());
    return Exec(dialog) == QDialog::Accepted;
}

ModalResult QtUi::showModal(QDialog& dialog)
{
    return ModalResultFromExec(Exec(dialog));
}

void QtUi::beep()
{
    QApplication::beep();
}

QPrinter& QtUi::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

QWidget* OwnerWindow()
{
    if (QWidget* owner = AskingOrModal())
        return owner;
    return QApplication::activeWindow();
}

QString QtFileFilter(const std::string& filter)
{
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // A description that already names its patterns ("Chart files (*.cht)")
        // gets them again from the pattern part, in Qt's form.
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open >= 0)
                description = description.left(open).trimmed();
        }
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            if (pattern.isEmpty())
                continue;
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            continue;
        filters << (description.isEmpty() ? QString() : description + QLatin1Char(' ')) + QLatin1Char('(')
                + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

ModalResult ModalResultFromExec(int execResult)
{
    switch (execResult) {
    case QDialog::Rejected:
        return ModalResult::Cancel;
    case QDialog::Accepted:
        return ModalResult::Ok;
    case static_cast<int>(ModalResult::Cancel):
    case static_cast<int>(ModalResult::Yes):
    case static_cast<int>(ModalResult::No):
        return static_cast<ModalResult>(execResult);
    default:
        return ModalResult::None;
    }
}

std::string QtDialogClassName(QDialog& dialog)
{
    return dialog.metaObject()->className();
}

} // namespace platform
