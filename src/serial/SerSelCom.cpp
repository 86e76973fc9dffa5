#include "serial/SerSelCom.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/SerialDevice.h"
#include "platform/Ui.h"

namespace serial
{

bool PortExists(uint16_t portNumber)
{
    if (portNumber == 0)
        return false;
    const int error = platform::SerialDevice::Probe(platform::SerialDeviceName(portNumber));
    return error == 0 || error == 5; // 5: held by another program
}

TComSelectForm::TComSelectForm(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("Select Port");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Label1 = new QLabel("The configured serial port is not valid.", this);
    Label1->move(18, 14);
    Label2 = new QLabel("Please choose another port.", this);
    Label2->move(18, 30);
    Label1->adjustSize();
    Label2->adjustSize();
    // The bevel, the list and the buttons' span are 201 wide, or wider when
    // the labels need it with 10 pixels either side.
    const int inner = std::max(201, std::max(Label1->width(), Label2->width()) + 20);
    setFixedSize(inner + 19, 131);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 8, inner, 42);
    Bevel1->lower();

    PortsComboBox = new QComboBox(this);
    PortsComboBox->setEditable(false);
    PortsComboBox->setGeometry(8, 64, inner, 21);

    OkBtn = new QPushButton("OK", this);
    OkBtn->setGeometry(8, 95, 85, 27);
    OkBtn->setDefault(true);
    AbortBtn = new QPushButton("Cancel", this);
    AbortBtn->setGeometry(8 + inner - 85, 95, 85, 27);
    connect(
        OkBtn, &QPushButton::clicked, this, [this] { done(static_cast<int>(platform::ModalResult::Ok)); });
    connect(AbortBtn, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(OkBtn, AbortBtn);
    setTabOrder(AbortBtn, PortsComboBox);

    FormCreate();
}

void TComSelectForm::FormCreate()
{
    PortsComboBox->clear();
    for (int n = 1; n <= HighestListedPort; ++n)
        if (PortExists(static_cast<uint16_t>(n)))
            PortsComboBox->addItem(QString("COM%1").arg(n));
    if (PortsComboBox->count() > 0)
        PortsComboBox->setCurrentIndex(0);
}

uint16_t TComSelectForm::SelectedComNumber() const
{
    if (PortsComboBox->currentIndex() < 0)
        return 0;
    // The item's text after "COM".
    return static_cast<uint16_t>(PortsComboBox->currentText().mid(3).toUInt());
}

} // namespace serial
