#pragma once
// The hint of a control or menu item, in the original form "short|long": the
// short part becomes the tool tip, the long part is shown on the status line.
// The whole text is kept as the property "hint". Every window sets hints, so
// they live below all of them.

#include <QString>

class QAction;
class QObject;
class QWidget;

void SetHint(QWidget* control, const QString& hint);
void SetHint(QAction* item, const QString& hint);
QString Hint(const QObject* control);
