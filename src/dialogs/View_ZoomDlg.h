#pragma once
// View and zoom properties of a chart view; one instance shared by all views.
// Created at start-up with the other forms; lives until exit.
//
// A view fills the settings value from its own fields, runs the dialog on it
// and on OK takes the fields back (TMDIChild::ViewBtnClick). The program's
// one value View_ZoomSettings keeps what the dialog showed last: the few
// switches no view keeps a field for ("Show Graticule" and "Show EPE" at each
// redraw, "Show Fix Crosses X" and " Plot Tow" for the survey plot, the
// highlight limit) count from it for every view.

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QToolButton;
class QLabel;

struct TView_ZoomSettings {
    int xZoom = 15; // "Absolute Zoom Value:"
    int xShape = 15; // "WP Shape Threshold:"
    int xText = 100; // "WP Text Threshold:"
    int xTidal = 20; // "Tidal Text Threshold:"
    bool AutoZoom = false;
    bool ShowWPS = true;
    bool ShowRT = true;
    bool ShowTide = true;
    bool ShowScale = false; // "Show Graticule"
    bool ShowTrack = true;
    bool ShowV = false; // "Show Vessel"
    bool ShowEPE = false;
    bool OnTop = false; // "Keep on top"
    std::array<bool, 7> Lay {}; // "Show Line Style" 0..6
    bool PlotTextLog = true; // "Plot Survey Log"
    std::string PlotV = "- None"; // the trend field: its first letter counts
    bool EVonly = false; // "Show Event Txt Only"
    bool SVtrack = true; // "Show Survey Track"
    bool UseCrosses = false; // "Show Fix Crosses X"
    bool Ubow = false; // " Plot Tow"
    bool BlobOn = false; // "Colour"
    int PlotRange = 10; // " Range"
    bool Last200 = true; // "Show Last N="
    int Nshow = 100;
    std::string HiLite = "1000.00"; // highlight limit

    bool operator==(const TView_ZoomSettings&) const = default;
};

// What the dialog showed last (see above).
extern TView_ZoomSettings View_ZoomSettings;

// The highlight limit typed in HiLite; a text that is not a number reads as 0.
double HighlightLimit(const TView_ZoomSettings& settings);

class TView_ZoomDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TView_ZoomDlg(QWidget* parent = nullptr);

    bool Execute(TView_ZoomSettings& settings);
    void SetControls(const TView_ZoomSettings& settings);
    TView_ZoomSettings Controls() const;

    // Event handlers, run by the controls as the user works them.
    void PlotTextLogClick();
    void PlotVChange();
    void UbowClick();
    void BlobOnClick();
    void Last200Click();
    void NshowChange();
    void AutoZoomClick();
    void AllClick();
    void NoneClick();
    void Lay1Click();

    QSpinBox *xZoom, *xShape, *xText, *xTidal;
    QCheckBox *AutoZoom, *ShowWPS, *ShowRT, *ShowTide, *ShowScale, *ShowTrack, *ShowV, *ShowEPE, *OnTop;
    std::array<QCheckBox*, 7> Lay {};
    QToolButton *All, *None;
    QCheckBox* PlotTextLog;
    QComboBox* PlotV;
    QCheckBox *EVonly, *SVtrack, *UseCrosses, *Ubow, *BlobOn;
    QSpinBox* PlotRange;
    QCheckBox* Last200;
    QSpinBox* Nshow; // at most 4 characters typed; 0..100000 by the arrows
    QLineEdit* HiLite;
    QLabel *Label5, *Label6, *Label7;

private:
    void UpdateEnabledStates();
};

extern TView_ZoomDlg* View_ZoomDlg;
