#pragma once
// Image reference dialog: the geographic reference of a raster chartlet
// (nav/ChartletReference.h), edited for the raster image viewer. Created at
// start-up with the other forms; lives until exit.
//
// The reference is the dialog's settings value: Execute fills the controls
// from it and writes them back only on OK. The corners are typed as
// latitude/longitude texts with the typing aids of the waypoint dialog;
// closing the dialog completes them ("50\xB007.5N" becomes "50\xB007.50000N"),
// and OK closes it only when each reads whole and in range.

#include "nav/ChartletReference.h"

#include <QDialog>
#include <string>

class QCheckBox;
class TDialogHost;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TCTRef : public QDialog
{
    Q_OBJECT

public:
    // `host` answers the Help button; none leaves it without effect.
    explicit TCTRef(QWidget* parent = nullptr, TDialogHost* host = nullptr);

    // The image the reference belongs to: its base name, and whether it can
    // be drawn on (only a drawable image takes corners, colour, thickness
    // and offsets).
    void SetImage(const std::string& baseName, bool drawable);

    void SetControls(const ChartletReference& reference);
    // The reference as the controls give it, the corner texts completed.
    ChartletReference Controls() const;
    bool Execute(ChartletReference& reference);

    // Event handlers; also called directly.
    void NWLatChange();
    void SELatChange();
    void NWLongChange();
    void SELongChange();
    void FormClose(); // completes the four corner texts
    void BitBtn3Click(); // help

    QLineEdit* CTname; // read-only
    QSpinBox* CTwidth;
    QSpinBox* CTHeight;
    QLineEdit *NWLat, *NWLong, *SELat, *SELong;
    QSpinBox *LatOffs, *LongOffs;
    QRadioButton *TrackRed, *TrackBlack, *TrackBlue, *TrackGreen; // "Track Colour"
    QRadioButton *TrackThin, *TrackThick; // "Thickness"
    QCheckBox* AudioClip;
    QPushButton *OKBtn, *CancelBtn, *BitBtn3;

    void done(int result) override;

private:
    int32_t keptColour_ = 255; // a colour none of the four buttons names
    TDialogHost* host_ = nullptr;
};

extern TCTRef* CTRef;
