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
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class TColorGrid;

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

// The controls that the main window fills from the navigation state before
// the dialog opens and copies back on OK (mainwin/SettingsTransfer.h), in the
// controls' own units. Some are only filled, some only copied back: those
// keep what the user left in them between openings.
struct TGlobalFields {
    // Colour page: grid indices (0 black .. 15 white) and the preset.
    int ForegroundIndex = 15;
    int BackgroundIndex = 4;
    int Defaults = 0; // "KV Windows", "KV Classic", "White on Black", "Black on White", "Custom"
    // Units page: the distance unit (0 "Nautical Miles", 1 "Kilometres",
    // 2 "Statute Miles", -1 none checked) and the position display:
    // -1 "Lat/Long", else the grid datum 0..8 of its button.
    int DistanceUnit = 0;
    bool KnAlways = true;
    int PositionMode = -1;
    // Nav page, hundredths of a nautical mile.
    int Deadband = 5;
    bool WP_auto = true;
    int CapDist = 20;
    // Tide page.
    int HWhour = 12;
    int HWMin = 0;
    std::string STDport = "?";
    int Vspeed = 6; // knots
    bool ManTide = false; // "Use": the stream typed in rather than the atlas's
    int Tset = 0; // degrees true
    int TDrift = 0; // tenths of a knot
    // Chart page: offsets in thousandths of a minute.
    int LatOffs = 0;
    int LongOffs = 0;
    bool Cht2WGS84 = false; // "->WGS84" enabled: the chart may be edited
    bool ALmode = false;
    int ViewAngle = 0; // degrees, 0 north up
    // Log page.
    bool KeepTextLog = false;
    std::string LogParse = "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y";
    bool KeepLog = true;
    int PBspeed = 1;
    std::string BrowserPath;
    // DR page: item indices.
    int Mspeed = 0;
    int Mcourse = 0;
    // Stats page: the counts as shown, and the session counters, which may
    // be set only while neither dead reckoning nor the NMEA interface runs.
    std::string Cpoints, Lmask, TidePoints, Wpoints, Rpoints, Lpoints, AISNtargets;
    int Spoints = 0;
    int Enumber = 0;
    bool CountersEditable = true;
    // Auto page.
    bool NMEAOutputOn = false;
    bool sendAPB = true, sendXTE = true, sendHSC = true, SendBOD = true;
    int Variation = -4; // degrees, west negative
    bool SendCustom = false;
    std::string CustomNMEA;
    // NMEA page: "Baud Rate" item (0 4800, 1 38400, -1 none).
    int COMno = 1;
    int Rate = -1;
    bool AutoLaunch = false;

    bool operator==(const TGlobalFields&) const = default;
};

// The preferences' pages in order ("Colour" .. "NMEA") and their help
// contexts (0: the dialog's own).
constexpr int kGlobalPageCount = 10;
constexpr int kGlobalPageContexts[kGlobalPageCount] = { 90, 91, 93, 94, 95, 96, 97, 98, 99, 0 };

class TGlobalDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TGlobalDlg(QWidget* parent = nullptr);

    // Shows the dialog on `settings` (through the modal seam); on OK the
    // controls go back into `settings` and the result is true, on Cancel
    // `settings` stays as it was.
    bool Execute(TGlobalSettings& settings);
    // The same with the transferred controls: both values are written back
    // on OK only, after the OK check of the log template.
    bool Execute(TGlobalSettings& settings, TGlobalFields& fields);
    // The controls from a value, and a value from the controls.
    void SetControls(const TGlobalSettings& settings);
    TGlobalSettings Controls() const;
    void SetFields(const TGlobalFields& fields);
    TGlobalFields Fields() const;

    // Handlers.
    void TabSetClick(int index);
    void SpeedButton1Click(); // "&Page>"
    void DefaultsClick();
    void WP_autoClick();
    void VoiceClick();
    void RepRouteClick();
    void ManTideClick();
    void AvTideClick();
    void Cht2WGS84Click();
    void NMEAOutputOnClick();
    void SendCustomClick();
    void HelpBtnClick();
    // "Choose Text Log Viewer": a program file for the viewer path.
    void TBrowseClick();
    // OK: the template must hold a position, unless the last "COM" sentence
    // had no time.
    void OKBtnClick();
    // The page of the notebook shown, 0 "Colour" .. 9 "NMEA".
    int PageIndex() const;
    QWidget* Page(int index) const;

    QTabBar* TabSet;
    QStackedWidget* Notebook;
    QPushButton *OKBtn, *CancelBtn, *HelpBtn, *SpeedButton1;
    // Colour
    TColorGrid* GlobalColor;
    QComboBox* Defaults;
    // Units
    QRadioButton *Naut, *Kilo, *Stat;
    QCheckBox* KnAlways;
    QRadioButton *LatLongMode, *OSGridMode, *UTMint1924, *Bessel, *Clarke1866, *Clarke1880, *Everest,
        *Australian, *WGS1972, *WGS1984;
    // Nav
    QSpinBox *Deadband, *CapDist;
    QCheckBox* WP_auto;
    // Tide
    QSpinBox *HWhour, *HWMin, *Vspeed, *Tset, *TDrift;
    QLabel *STDport, *NameLabel, *TsetLabel, *TDriftLabel;
    QCheckBox* ManTide;
    QPushButton* AvTide;
    // Chart
    QSpinBox *LatOffs, *LongOffs, *ViewAngle;
    QPushButton* Cht2WGS84;
    QLabel* Label41;
    QCheckBox* ALmode;
    // Log
    QCheckBox *KeepTextLog, *KeepLog, *LoseLog;
    QLineEdit *LogParse, *BrowserPath;
    QSpinBox* PBspeed;
    QPushButton* TBrowse;
    // DR
    QComboBox *Mspeed, *Mcourse;
    // Stats
    QLabel *Cpoints, *Lmask, *TidePoints, *Wpoints, *Rpoints, *Lpoints, *AISNtargets, *Label27, *Label26;
    QSpinBox *Spoints, *Enumber;
    // Auto
    QCheckBox *NMEAOutputOn, *sendAPB, *sendXTE, *sendHSC, *SendBOD, *SendCustom;
    QSpinBox* Variation;
    QLabel* VariationLabel;
    QGroupBox* CustomGroup;
    QLineEdit* CustomNMEA;
    // NMEA
    QSpinBox* COMno;
    QComboBox* Rate;
    QCheckBox* AutoLaunch;

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

private:
    // GlobalDlgPages.cpp: the ten pages and the button panel.
    void BuildPages();
    QRadioButton* GridButton(int datum) const;
    // True while "Custom" has the grid enabled.
    bool customColours_ = false;
};

extern TGlobalDlg* GlobalDlg;
