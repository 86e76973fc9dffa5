#include "platform/QtWindowTitle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace platform
{

namespace
{
constexpr int kTitleBarButton = 24;
constexpr int kTitleBarMargin = 10;
} // namespace

int TitleFitWidth(const QString& title, int buttons)
{
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + (1 + buttons) * kTitleBarButton + 2 * kTitleBarMargin;
}

void KeepTitleInView(QWidget& window)
{
    window.setMinimumWidth(std::max(window.minimumWidth(), TitleFitWidth(window.windowTitle())));
}

} // namespace platform
