#include "platform/QtWindowState.h"

#include <QWidget>

namespace platform
{

void ShowRestored(QWidget& window)
{
    if (window.windowState() & Qt::WindowMinimized)
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
}

} // namespace platform
