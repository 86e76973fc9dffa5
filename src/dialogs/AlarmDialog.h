#pragma once
// Timing dialog: fix interval, time zone, averaging of speed and heading, redraw rate and the clock used for
// fix times. Created at start-up with the other forms; lives until exit.

#include <QDialog>

class QCheckBox;

class TAlarmDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TAlarmDialog(QWidget* parent = nullptr);

    // "Log GPS UTC time if available": fixes are stamped with the sentence's
    // time rather than the PC clock; read by the fix cycle.
    QCheckBox* UTCClock;
};

extern TAlarmDialog* AlarmDialog;
