#include "dialogs/AISInfo.h"

#include "nav/AisSelection.h"
#include "platform/Guarded.h"
#include "platform/QtHint.h"
#include "platform/QtWindowTitle.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

TAISInfo* AISInfo = nullptr;

namespace
{

// Room left between the main window's tool bar and the title bar below it.
constexpr int kBelowToolBars = 6;

// Runs a command of the window inside the handler edge.
template <typename Handler> auto Guard(TAISInfo* form, Handler handler)
{
    return [form, handler] { platform::guarded([&] { (form->*handler)(); }); };
}

} // namespace

TAISInfo::TAISInfo(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AISInfo");
    setWindowTitle("AIS Target Data");
    // A window the main window does not own: the window manager minimises
    // an owned window together with its owner, and the chart would go with
    // it. It stays above the main window by staying on top. Its title bar
    // has a minimise button only: the AIS view's button shows and hides it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowStaysOnTopHint);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    QFont font("MS Sans Serif");
    font.setPixelSize(13);
    font.setBold(true);
    Memo1->setFont(font);
    layout->addWidget(Memo1);
    // 186 x 420, or as wide as the longest word of a target's data needs not
    // to be broken by the word wrap (a name or destination of 20 capitals of
    // average width written as one word) with the memo's frame and scroll
    // bar, and as wide as its title needs beside the one button. Placed when
    // first shown (HomePosition).
    const QFontMetrics metrics(font);
    const int word = metrics.horizontalAdvance(QString(20, 'N'));
    const int frame = 2 * Memo1->frameWidth() + 2 * int(Memo1->document()->documentMargin())
        + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    resize(std::max({ 186, word + frame, platform::TitleFitWidth(windowTitle(), 1) }), 420);

    // The spin sits over the memo's top right corner.
    TgtNum = new QWidget(this);
    TgtNum->setObjectName("TgtNum");
    SetHint(TgtNum, "Select Target Number|");
    auto* spin = new QVBoxLayout(TgtNum);
    spin->setContentsMargins(0, 0, 0, 0);
    spin->setSpacing(0);
    auto arrow = [this, spin](const char* name, Qt::ArrowType type) {
        auto* button = new QToolButton(TgtNum);
        button->setObjectName(name);
        button->setArrowType(type);
        button->setFixedSize(16, 14);
        spin->addWidget(button);
        return button;
    };
    TgtNumUp = arrow("TgtNumUp", Qt::UpArrow);
    TgtNumDown = arrow("TgtNumDown", Qt::DownArrow);
    TgtNum->setGeometry(width() - 36, 2, 16, 28);
    TgtNum->hide();
    connect(TgtNumUp, &QToolButton::clicked, this, Guard(this, &TAISInfo::TgtNumUpClick));
    connect(TgtNumDown, &QToolButton::clicked, this, Guard(this, &TAISInfo::TgtNumDownClick));

    AISpopup = new QMenu(this);
    AISpopup->setObjectName("AISpopup");
    auto item = [this](const char* name, const char* caption, bool checked) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(name);
        if (checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        AISpopup->addAction(action);
        return action;
    };
    StayOnTop1 = item("StayOnTop1", "&Stay On Top", true);
    WordWrap1 = item("WordWrap1", "&Word Wrap", true);
    AISpopup->addSeparator();
    SelectAll1 = item("SelectAll1", "Select &All", false);
    Copy1 = item("Copy1", "&Copy", false);
    AISpopup->addSeparator();
    Minimise1 = item("Minimise1", "&Minimise", false);
    // The check items set their own marks: undo Qt's toggle first.
    for (QAction* check : { StayOnTop1, WordWrap1 })
        connect(check, &QAction::triggered, check, [check](bool now) { check->setChecked(!now); });
    connect(StayOnTop1, &QAction::triggered, this, Guard(this, &TAISInfo::StayOnTop1Click));
    connect(WordWrap1, &QAction::triggered, this, Guard(this, &TAISInfo::WordWrap1Click));
    connect(SelectAll1, &QAction::triggered, this, Guard(this, &TAISInfo::SelectAll1Click));
    connect(Copy1, &QAction::triggered, this, Guard(this, &TAISInfo::Copy1Click));
    connect(Minimise1, &QAction::triggered, this, Guard(this, &TAISInfo::Minimise1Click));
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { AISpopup->popup(Memo1->mapToGlobal(at)); });

    FormCreate();
}

void TAISInfo::FormCreate()
{
    hide();
}

QPoint TAISInfo::HomePosition() const
{
    QPoint at(6, 84);
    auto* main = qobject_cast<const QMainWindow*>(parentWidget());
    if (!main || !main->isVisible())
        return at;
    at += main->frameGeometry().topLeft();
    if (const QWidget* below = main->centralWidget())
        at.setY(std::max(at.y(), below->mapToGlobal(QPoint(0, 0)).y() + kBelowToolBars));
    return at;
}

void TAISInfo::showEvent(QShowEvent* e)
{
    if (!placed_) {
        placed_ = true;
        // The frame's corner, title bar included: the window manager puts
        // the frame there.
        const QPoint at = HomePosition();
        move(at);
        if (QWindow* window = windowHandle())
            window->setFramePosition(at);
    }
    QDialog::showEvent(e);
}

void TAISInfo::closeEvent(QCloseEvent* e)
{
    // Never destroyed by closing: the AIS view's button shows it again.
    e->ignore();
    hide();
}

void TAISInfo::StayOnTop1Click()
{
    const bool onTop = !StayOnTop1->isChecked();
    StayOnTop1->setChecked(onTop);
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown)
        show(); // changing the flags hides a window
}

void TAISInfo::WordWrap1Click()
{
    WordWrap1->setChecked(!WordWrap1->isChecked());
    Memo1->setLineWrapMode(WordWrap1->isChecked() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TAISInfo::SelectAll1Click()
{
    Memo1->selectAll();
}

void TAISInfo::Copy1Click()
{
    Memo1->copy();
}

void TAISInfo::Minimise1Click()
{
    showMinimized();
}

void TAISInfo::TgtNumDownClick()
{
    nav::StepAisSelection(-1);
    emit RefreshRequested();
}

void TAISInfo::TgtNumUpClick()
{
    nav::StepAisSelection(+1);
    emit RefreshRequested();
}
