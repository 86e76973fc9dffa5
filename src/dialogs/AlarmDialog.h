#pragma once
// Timing dialog: fix interval, time zone, averaging of speed and heading, redraw rate and the clock used for
// fix times. Created at start-up with the other forms; lives until exit.
//
// Its settings are a value (TAlarmSettings, the program's copy AlarmSettings)
// that Execute shows and writes back only on OK, as in GlobalDlg.h.

#include <QDialog>

class QCheckBox;

struct TAlarmSettings {
    // "Log GPS UTC time if available": fixes are stamped with the sentence's
    // time rather than the PC clock.
    bool UTCClock = true;

    bool operator==(const TAlarmSettings&) const = default;
};

// The program's timing settings.
extern TAlarmSettings AlarmSettings;

class TAlarmDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TAlarmDialog(QWidget* parent = nullptr);

    // Shows the dialog on `settings`; OK writes the controls back (true),
    // Cancel leaves `settings` as it was.
    bool Execute(TAlarmSettings& settings);
    void SetControls(const TAlarmSettings& settings);
    TAlarmSettings Controls() const;

    QCheckBox* UTCClock;
};

extern TAlarmDialog* AlarmDialog;
