#pragma once
// Showing a window the user may have minimised.

class QWidget;

namespace platform
{

// Shows a top-level window, brought back first if it lies minimised: a
// command that shows a window means the user wants to see it.
void ShowRestored(QWidget& window);

} // namespace platform
