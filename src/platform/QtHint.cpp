#include "platform/QtHint.h"

#include <QAction>
#include <QVariant>
#include <QWidget>

namespace
{

template <typename Control> void SetHintOf(Control* control, const QString& hint)
{
    control->setProperty("hint", hint);
    const qsizetype bar = hint.indexOf('|');
    control->setToolTip(bar < 0 ? hint : hint.left(bar));
    control->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

void SetHint(QWidget* control, const QString& hint)
{
    SetHintOf(control, hint);
}

void SetHint(QAction* item, const QString& hint)
{
    SetHintOf(item, hint);
}

QString Hint(const QObject* control)
{
    return control->property("hint").toString();
}
