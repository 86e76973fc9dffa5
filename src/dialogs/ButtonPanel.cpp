#include "dialogs/ButtonPanel.h"

#include <QBoxLayout>
#include <QPushButton>

TButtonPanel AddButtonPanel(QWidget* dialog, QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, dialog);
        b->setObjectName(name);
        row->addWidget(b);
        return b;
    };
    TButtonPanel panel { row, button("OKBtn", "OK"), button("CancelBtn", "Cancel"),
        button("HelpBtn", "Help") };
    panel.ok->setDefault(true);
    layout->addLayout(row);
    return panel;
}
