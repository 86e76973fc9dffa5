#include "dialogs/AboutBox.h"

#include "platform/Guarded.h"
#include "platform/QtTimer.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AboutBox");
    setWindowTitle("About KV AIS Velta");
    setFixedSize(296, 211);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setFixedSize(41, 41);
    ProgramIcon->setScaledContents(true);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    ProgramIcon->setPixmap(icon.pixmap(41, 41));

    ProductName = new QLabel("Korvane AIS Velta", Panel1);
    ProductName->setObjectName("ProductName");
    Version = new QLabel("Version 6.1.1 March 2015", Panel1);
    Version->setObjectName("Version");

    auto* labels = new QVBoxLayout;
    labels->addWidget(ProductName);
    labels->addWidget(Version);
    labels->addStretch();
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->addWidget(ProgramIcon, 0, Qt::AlignTop);
    panelLayout->addLayout(labels, 1);

    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1, 1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);

    Timer1 = new TTimer(this, 5000, false);

    connect(
        OKButton, &QPushButton::clicked, this, [this] { platform::guarded([this] { OKButtonClick(); }); });
    connect(Timer1, &TTimer::timeout, this, [this] { platform::guarded([this] { Timer1Timer(); }); });
}

void TAboutBox::FormActivate()
{
    Timer1->setEnabled(true);
}

void TAboutBox::Timer1Timer()
{
    Timer1->setEnabled(false);
    reject();
}

void TAboutBox::OKButtonClick()
{
    accept();
}

void TAboutBox::done(int result)
{
    // However the box closes (OK, the timer, Escape, the window's close
    // button), its countdown ends with it.
    Timer1->setEnabled(false);
    QDialog::done(result);
}

bool TAboutBox::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        platform::guarded([this] { FormActivate(); });
    return QDialog::event(e);
}
