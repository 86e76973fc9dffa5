#include "help/HelpKeys.h"

#include "help/ContextHelp.h"
#include "platform/Guarded.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QVariant>
#include <QWidget>

namespace help
{

namespace
{

constexpr const char* kProperty = "helpContext";
int messageContext = 0;

} // namespace

void SetHelpContext(QWidget* widget, int context)
{
    if (widget)
        widget->setProperty(kProperty, context);
}

int HelpContextOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const int context = w->property(kProperty).toInt();
        if (context != 0)
            return context;
    }
    return 0;
}

bool RequestHelp(QWidget* from)
{
    const int context = HelpContextOf(from);
    if (context == 0)
        return false;
    const platform::AskingWindow asking(from->window());
    ApplicationHelpContext(context);
    return true;
}

MessageHelpContext::MessageHelpContext(int context)
    : previous_(messageContext)
{
    messageContext = context;
}

MessageHelpContext::~MessageHelpContext()
{
    messageContext = previous_;
}

F1Filter::F1Filter(QObject* parent)
    : QObject(parent)
{
}

bool F1Filter::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    const bool shortcutOverride = event->type() == QEvent::ShortcutOverride;
    if (!(press || shortcutOverride) || !watched->isWidgetType())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    int context = HelpContextOf(widget);
    if (context == 0 && messageContext != 0 && qobject_cast<QMessageBox*>(widget->window()))
        context = messageContext;
    if (context == 0)
        return false;
    if (shortcutOverride) {
        // A window with a page of its own keeps F1 from every F1 shortcut:
        // a tool window takes its owner's window shortcuts (the main
        // window's "&KV Help") while it is in front.
        event->accept();
        return true;
    }
    platform::guardedIn(widget->window(), [context] { ApplicationHelpContext(context); });
    return true;
}

} // namespace help
