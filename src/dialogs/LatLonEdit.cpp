#include "dialogs/LatLonEdit.h"

#include "nav/LatLonText.h"
#include "platform/QtText.h"
#include "platform/Ui.h"

#include <QLineEdit>

namespace
{

constexpr char kDegreeSign = '\xB0';

// The same separator typed again just after the one the field put in its
// place: the second is dropped.
bool DropRepeatedSeparator(QLineEdit& field, const std::string& text, std::size_t degreeDigits)
{
    const int caret = field.cursorPosition();
    if (caret < 2 || static_cast<std::size_t>(caret) > text.size())
        return false;
    const auto typed = static_cast<std::size_t>(caret - 1);
    const char c = text[typed];
    const bool inPlace
        = (c == kDegreeSign && typed - 1 == degreeDigits) || (c == '.' && typed - 1 == degreeDigits + 3);
    if (!inPlace || text[typed - 1] != c)
        return false;
    field.setText(qs(text.substr(0, typed) + text.substr(typed + 1)));
    field.setCursorPosition(static_cast<int>(typed));
    return true;
}

} // namespace

void LatLonTypingAid(QLineEdit& field, int degreeDigits)
{
    const std::string text = ls(field.text());
    const auto digits = static_cast<std::size_t>(degreeDigits);
    if (DropRepeatedSeparator(field, text, digits))
        return;
    std::string added;
    if (text.size() == digits)
        added = kDegreeSign;
    else if (text.size() == digits + 3)
        added = ".";
    if (added.empty())
        return;
    field.setText(qs(text + added));
    field.setCursorPosition(static_cast<int>(text.size() + 1));
}

bool LatLonFieldReadable(QLineEdit& field, const std::string& caption, int degreeDigits)
{
    const bool latitude = degreeDigits == 2;
    const std::string text = ls(field.text());
    const LatLonReading reading = latitude ? ReadLatitudeWhole(text) : ReadLongitudeWhole(text);
    if (reading == LatLonReading::Whole)
        return true;
    const std::string deg(1, kDegreeSign);
    std::string message = caption + " \"" + text + "\" ";
    if (reading == LatLonReading::OutOfRange)
        message += latitude ? "is outside 90" + deg + "S to 90" + deg + "N."
                            : "is outside 180" + deg + "W to 180" + deg + "E.";
    else
        message += latitude
            ? "cannot be read. Type degrees, minutes and N or S, such as 50" + deg + "49.12345N."
            : "cannot be read. Type degrees, minutes and W or E, such as 001" + deg + "15.00000W.";
    platform::MessageError(message);
    field.setFocus();
    field.selectAll();
    return false;
}
