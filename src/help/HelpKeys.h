#pragma once
// F1 and Help buttons: the help context of the window in front raises the
// application's help event (ContextHelp.h).
//
// A widget's help context is its property "helpContext"; a widget without
// one (or with 0) takes its parent's, up to its window. F1 on a window
// with no context anywhere is left to the window (the main window of
// korvex has F1 as the "&KV Help" shortcut).

#include <QObject>

class QWidget;

namespace help
{

void SetHelpContext(QWidget* widget, int context);
// The context of the widget or the nearest parent that has one; 0 for none.
int HelpContextOf(const QWidget* widget);
// A Help button's click: HELP_CONTEXT with the context of `from`; false
// when there is none.
bool RequestHelp(QWidget* from);

// The context a message box about to be shown carries, for F1 while it is
// up; restored when the scope ends.
class MessageHelpContext
{
public:
    explicit MessageHelpContext(int context);
    ~MessageHelpContext();
    MessageHelpContext(const MessageHelpContext&) = delete;
    MessageHelpContext& operator=(const MessageHelpContext&) = delete;

private:
    int previous_;
};

// Turns F1 anywhere in the application into the help event with the
// context of the focused widget's window. One per application.
class F1Filter : public QObject
{
    Q_OBJECT
public:
    explicit F1Filter(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace help
