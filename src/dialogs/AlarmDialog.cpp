#include "dialogs/AlarmDialog.h"

#include "dialogs/ButtonPanel.h"
#include "dialogs/SettingsDialog.h"
#include "help/HelpKeys.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TAlarmSettings AlarmSettings;
TAlarmDialog* AlarmDialog = nullptr;

TAlarmDialog::TAlarmDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AlarmDialog");
    setWindowTitle("Timing Functions");

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    int row = 0;
    auto spin = [&](QSpinBox*& box, const char* name, int low, int high, int column) {
        box = new QSpinBox(this);
        box->setObjectName(name);
        box->setRange(low, high);
        grid->addWidget(box, row, column);
    };
    auto text = [&](const char* caption, int column) {
        auto* label = new QLabel(caption, this);
        grid->addWidget(label, row, column);
        return label;
    };
    text("Fix Posn.Every:", 0);
    spin(FixMins, "FixMins", 0, 60, 1);
    text("Mins", 2);
    spin(FixSecs, "FixSecs", 0, 59, 3);
    text("Secs", 4);
    spin(FixDeciSecs, "FixDeciSecs", 0, 10, 5);
    FixDeciSecsLabel = text("0.1 Secs", 6);
    FixDeciSecs->hide();
    FixDeciSecsLabel->hide();
    ++row;
    text("Time Zone hrs :", 0);
    spin(TimeZone, "TimeZone", -12, 12, 1);
    ++row;
    text("Average speed / heading for last :", 0);
    spin(AverageN, "AverageN", 1, 99, 1);
    text("fixes", 2);
    ++row;
    text("Redraw Screen every :", 0);
    spin(DrawN, "DrawN", 1, 99, 1);
    text("fixes", 2);

    UTCClock = new QCheckBox("Log GPS UTC time if available", this);
    UTCClock->setObjectName("UTCClock");
    layout->addWidget(UTCClock);

    const TButtonPanel panel = AddButtonPanel(this, layout);
    OKBtn = panel.ok;
    CancelBtn = panel.cancel;
    HelpBtn = panel.help;
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
    connect(HelpBtn, &QPushButton::clicked, this, [this] { HelpBtnClick(); });

    SetControls(TAlarmSettings {});
    SetFields(TAlarmFields {});
}

bool TAlarmDialog::Execute(TAlarmSettings& settings)
{
    return ExecuteOn(*this, settings);
}

bool TAlarmDialog::Execute(TAlarmSettings& settings, TAlarmFields& fields)
{
    SetFields(fields);
    if (!ExecuteOn(*this, settings))
        return false;
    fields = Fields();
    return true;
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

void TAlarmDialog::SetFields(const TAlarmFields& f)
{
    FixMins->setValue(f.FixMins);
    FixSecs->setValue(f.FixSecs);
    FixDeciSecs->setValue(f.FixDeciSecs);
    TimeZone->setValue(f.TimeZone);
    AverageN->setValue(f.AverageN);
    DrawN->setValue(f.DrawN);
}

TAlarmFields TAlarmDialog::Fields() const
{
    TAlarmFields f;
    f.FixMins = FixMins->value();
    f.FixSecs = FixSecs->value();
    f.FixDeciSecs = FixDeciSecs->value();
    f.TimeZone = TimeZone->value();
    f.AverageN = AverageN->value();
    f.DrawN = DrawN->value();
    return f;
}

void TAlarmDialog::CancelBtnClick()
{
    reject();
}

void TAlarmDialog::HelpBtnClick()
{
    help::RequestHelp(this);
}
