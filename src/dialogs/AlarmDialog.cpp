#include "dialogs/AlarmDialog.h"

#include "dialogs/SettingsDialog.h"

#include <QCheckBox>
#include <QVBoxLayout>

TAlarmSettings AlarmSettings;
TAlarmDialog* AlarmDialog = nullptr;

TAlarmDialog::TAlarmDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AlarmDialog");
    setWindowTitle("Timing Functions");

    auto* layout = new QVBoxLayout(this);
    UTCClock = new QCheckBox("Log GPS UTC time if available", this);
    UTCClock->setObjectName("UTCClock");
    layout->addWidget(UTCClock);
    SetControls(TAlarmSettings {});
}

bool TAlarmDialog::Execute(TAlarmSettings& settings)
{
    return ExecuteOn(*this, settings);
}

void TAlarmDialog::SetControls(const TAlarmSettings& settings)
{
    UTCClock->setChecked(settings.UTCClock);
}

TAlarmSettings TAlarmDialog::Controls() const
{
    TAlarmSettings settings;
    settings.UTCClock = UTCClock->isChecked();
    return settings;
}
