#include "dialogs/AlarmDialog.h"

TAlarmDialog* AlarmDialog = nullptr;

TAlarmDialog::TAlarmDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AlarmDialog");
    setWindowTitle("Timing Functions");
}
