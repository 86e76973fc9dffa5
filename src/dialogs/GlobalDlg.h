#pragma once
// Preferences dialog: colours, units, navigation and voice behaviour, tides,
// chart offsets, logging, dead reckoning, NMEA output and the serial port.
// Created at start-up with the other forms; lives until exit.
//
// The settings are held in a value, not in the controls: TGlobalSettings has
// one field per control that the program reads (named after the control,
// starting at the form's default), and the program's one copy is
// GlobalSettings. Execute fills the controls from a value when the dialog
// opens and writes them back only on OK, so Cancel leaves the value as it
// was. Everything else (the fix cycle, the NMEA input, the chart painters)
// reads the value and never a control, and works with no dialog created.
// Every dialog whose controls the program reads follows this pattern
// (dialogs/SettingsDialog.h).

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

struct TGlobalSettings {
    // Colour page: text, track and tidal streams drawn in the foreground colour.
    bool TextColourFG = false; // "Text = FG"
    bool TrackColourFG = false; // "Track=FG"
    bool TideColourFG = false; // "Tides=FG"
    // NMEA page: "NMEA Sentence", the GPS sentence that gives the fix (item 0
    // "GGA", item 1 "RMC").
    int Sent = 0;
    // Nav page: "On Completion of route ..." (one of the three).
    bool NormalMode = true; // "Normal - Prompt for next waypoint"
    bool Reverse = false; // "Reverse current route"
    bool RepRoute = false; // "Repeat current route"
    bool Voice = false; // "XTE Voice -"
    bool Vfreq = false; // "Only on change"
    bool WPVoice = false; // "WP Voice"
    // "Reversed route": the fix cycle sets it when it turns the route round.
    bool RevRoute = false;
    // "AIS New Target Announcement Voice".
    bool AISvoice = false;
    // Chart page: heading up and its dead band in degrees.
    bool HeadUp = false; // "Heading Up While Navigating"
    int HUPdeadB = 0; // "Heading Up Dead Band °"
    // Log page: a text-log record every RepRate fixes.
    int RepRate = 1;

    bool operator==(const TGlobalSettings&) const = default;
};

// The program's preferences.
extern TGlobalSettings GlobalSettings;

class TGlobalDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TGlobalDlg(QWidget* parent = nullptr);

    // Shows the dialog on `settings` (through the modal seam); on OK the
    // controls go back into `settings` and the result is true, on Cancel
    // `settings` stays as it was.
    bool Execute(TGlobalSettings& settings);
    // The controls from a value, and a value from the controls.
    void SetControls(const TGlobalSettings& settings);
    TGlobalSettings Controls() const;

    QCheckBox* TextColourFG;
    QCheckBox* TrackColourFG;
    QCheckBox* TideColourFG;
    QComboBox* Sent;
    QRadioButton* NormalMode;
    QRadioButton* Reverse;
    QRadioButton* RepRoute;
    QCheckBox* Voice;
    QCheckBox* Vfreq;
    QCheckBox* WPVoice;
    QCheckBox* RevRoute;
    QCheckBox* AISvoice;
    QCheckBox* HeadUp;
    QSpinBox* HUPdeadB;
    QSpinBox* RepRate;
};

extern TGlobalDlg* GlobalDlg;
