#pragma once
// Room for a window's title. Window managers draw the title in the desktop's
// interface font, bold, beside the window icon and up to three buttons
// (minimise, maximise, close); a window narrower than that shows its title
// cut short.

#include <QString>

class QWidget;

namespace platform
{

// The narrowest frame that shows `title` whole: the title in the application
// font made bold, with 24 pixels for each of the icon and the title bar's
// buttons (three unless the window asks for fewer) and 10 pixels of margin
// at each end of the title bar.
int TitleFitWidth(const QString& title, int buttons = 3);

// Keeps `window` at least as wide as its title needs (its minimum width).
void KeepTitleInView(QWidget& window);

} // namespace platform
