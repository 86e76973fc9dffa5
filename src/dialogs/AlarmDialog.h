#pragma once
// Timing dialog: fix interval, time zone, averaging of speed and heading, redraw rate and the clock used for
// fix times. Created at start-up with the other forms; lives until exit.

#include <QDialog>

class TAlarmDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TAlarmDialog(QWidget* parent = nullptr);
};

extern TAlarmDialog* AlarmDialog;
