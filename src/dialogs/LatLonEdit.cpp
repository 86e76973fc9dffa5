#include "dialogs/LatLonEdit.h"

#include "platform/QtText.h"

#include <QLineEdit>

void LatLonTypingAid(QLineEdit& field, int degreeDigits)
{
    const std::string text = ls(field.text());
    std::string added;
    if (text.size() == static_cast<std::size_t>(degreeDigits))
        added = "\xB0";
    else if (text.size() == static_cast<std::size_t>(degreeDigits) + 3)
        added = ".";
    if (added.empty())
        return;
    field.setText(qs(text + added));
    field.setCursorPosition(static_cast<int>(text.size() + 1));
}
