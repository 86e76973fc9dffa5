// The chart views' cursor readouts in the main window's status bar: the
// position panel and, while measuring, the status line.

#include "mainwin/Main.h"

#include "platform/QtText.h"

#include <QLabel>

void TMainForm::ShowCursorPosition(const std::string& text)
{
    PosnPanel->setText(platform::qs(text));
}

void TMainForm::ShowStatus(const std::string& text)
{
    StatusLine->setText(platform::qs(text));
}
