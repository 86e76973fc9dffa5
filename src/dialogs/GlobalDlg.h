#pragma once
// Preferences dialog: colours, units, navigation and voice behaviour, tides,
// chart offsets, logging, dead reckoning, NMEA output and the serial port.
// Created at start-up with the other forms; lives until exit. Some of its
// controls are read directly where they are used (the chart painters read
// the three colour check boxes).

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

class TGlobalDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TGlobalDlg(QWidget* parent = nullptr);

    // Colour page: text, track and tidal streams drawn in the foreground colour.
    QCheckBox* TextColourFG;
    QCheckBox* TrackColourFG;
    QCheckBox* TideColourFG;
    // NMEA page: "NMEA Sentence", the GPS sentence that gives the fix (item 0
    // "GGA", item 1 "RMC"); read by the serial line handler.
    QComboBox* Sent;
    // Nav page, read by the fix cycle: "On Completion of route ..." (one of
    // the three), the spoken cues and the reversed-route box the fix cycle
    // sets when it turns the route round.
    QRadioButton* NormalMode;
    QRadioButton* Reverse;
    QRadioButton* RepRoute;
    QCheckBox* Voice;
    QCheckBox* Vfreq;
    QCheckBox* WPVoice;
    QCheckBox* RevRoute;
    // Chart page, read by the fix cycle: heading up and its dead band in degrees.
    QCheckBox* HeadUp;
    QSpinBox* HUPdeadB;
    // Log page, read by the fix cycle: a text-log record every RepRate fixes.
    QSpinBox* RepRate;
};

extern TGlobalDlg* GlobalDlg;
