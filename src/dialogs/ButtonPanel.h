#pragma once
// The OK / Cancel / Help row at the foot of a dialog, OK the default button.

class QBoxLayout;
class QHBoxLayout;
class QPushButton;
class QWidget;

struct TButtonPanel {
    QHBoxLayout* row;
    QPushButton* ok;
    QPushButton* cancel;
    QPushButton* help;
};

// The row, added to `layout`; the buttons are children of `dialog` named
// "OKBtn", "CancelBtn" and "HelpBtn".
TButtonPanel AddButtonPanel(QWidget* dialog, QBoxLayout* layout);
