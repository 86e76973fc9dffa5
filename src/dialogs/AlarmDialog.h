#pragma once
// Timing dialog: fix interval, time zone, averaging of speed and heading, redraw rate and the clock used for
// fix times. Created at start-up with the other forms; lives until exit.
//
// Its settings are a value (TAlarmSettings, the program's copy AlarmSettings)
// that Execute shows and writes back only on OK, as in GlobalDlg.h.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

struct TAlarmSettings {
    // "Log GPS UTC time if available": fixes are stamped with the sentence's
    // time rather than the PC clock.
    bool UTCClock = true;

    bool operator==(const TAlarmSettings&) const = default;
};

// The program's timing settings.
extern TAlarmSettings AlarmSettings;

// The controls the main window fills from the navigation state and copies
// back on OK (mainwin/SettingsTransfer.h), at the form's defaults.
struct TAlarmFields {
    // The fix interval in minutes, seconds and tenths of a second.
    int FixMins = 0;
    int FixSecs = 10;
    int FixDeciSecs = 0;
    int TimeZone = 0; // hours added to GPS UTC time
    int AverageN = 1; // fixes averaged for speed and heading
    int DrawN = 1; // fixes between redraws

    bool operator==(const TAlarmFields&) const = default;
};

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
    // The same with the transferred controls, both written back on OK only.
    bool Execute(TAlarmSettings& settings, TAlarmFields& fields);
    void SetFields(const TAlarmFields& fields);
    TAlarmFields Fields() const;

    void CancelBtnClick();
    void HelpBtnClick();

    QSpinBox *FixMins, *FixSecs, *FixDeciSecs, *TimeZone, *AverageN, *DrawN;
    QLabel* FixDeciSecsLabel;
    QCheckBox* UTCClock;
    QPushButton *OKBtn, *CancelBtn, *HelpBtn;
};

extern TAlarmDialog* AlarmDialog;
