#include "dialogs/AlarmDialog.h"

#include <QCheckBox>
#include <QVBoxLayout>

TAlarmDialog* AlarmDialog = nullptr;

TAlarmDialog::TAlarmDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AlarmDialog");
    setWindowTitle("Timing Functions");

    auto* layout = new QVBoxLayout(this);
    UTCClock = new QCheckBox("Log GPS UTC time if available", this);
    UTCClock->setObjectName("UTCClock");
    UTCClock->setChecked(true);
    layout->addWidget(UTCClock);
}
