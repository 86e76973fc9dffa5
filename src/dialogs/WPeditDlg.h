#pragma once
// Waypoint edit dialog: adds, edits or shows one chart waypoint. Created at
// start-up with the other forms; lives until exit. The main window sets the
// caption, the fields and the waypoint count, shows it modally and reads the
// fields after OK.
//
// The position is typed as latitude/longitude text (nav/LatLonText.h) and
// shown beside it as OS GB national grid easting and northing; leaving
// either pair converts it into the other. The symbol is chosen by its
// two-digit code, with a preview in the chart's colours; symbols that take a
// number (circle radius, label zoom, chartlet pointer) enable `Radius`.
//
// "Show Nearest WP" shows the dialog read-only (SetShowOnly): the fields
// take the button-face colour, and a dialog whose `WPShape` field has that
// colour is not in edit mode, so nothing it closes with is stored.

#include "nav/NavTypes.h"

#include <QDialog>
#include <string>

class QComboBox;
class TDialogHost;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TWPeditDlg : public QDialog
{
    Q_OBJECT

public:
    // `host` answers the Help button; none leaves it without effect.
    explicit TWPeditDlg(QWidget* parent = nullptr, TDialogHost* host = nullptr);

    // Event handlers; also called directly.
    // Shown, or the symbol changed: grid fields from the position, the
    // number field for the symbol, and the preview.
    void WPShapeChange();
    // Typing aids, as the user types (texts set by the program are left as
    // they are): the degree sign after the degrees, the point after the
    // whole minutes.
    void LatitudeChange();
    void LongitudeChange();
    // Leaving Latitude or Longitude: both texts completed, grid fields filled.
    void ToOSClick();
    // Leaving Easting or Northing: the position texts from the grid fields.
    void ToLatLongClick();
    // Any close: the position texts completed; a chartlet waypoint (symbol 32
    // or 33) opens its chartlet in the raster image viewer. An OK in edit
    // mode whose position does not read whole (PositionReadable) does not
    // close the dialog and does not get here.
    void FormClose();
    void BitBtn3Click(); // help

    // Completes the two position texts: an empty one becomes zero degrees
    // and minutes, a short one is filled with '0' up to its hemisphere letter
    // ("50\xB007.1N" becomes "50\xB007.10000N").
    void NormaliseLatLonTexts();
    // Completes the two position texts and checks that both read whole and
    // lie in range; when one does not, says so naming the field, gives it
    // the keyboard and returns false.
    bool PositionReadable();
    // Read-only look for "Show Nearest WP" (true) or the normal edit look.
    void SetShowOnly(bool showOnly);
    // The dialog is in edit mode: WPShape has the normal window colour.
    bool InEditMode() const;
    // The symbol code's number (first two characters of WPShape), -1 when
    // they are not a number.
    int SymbolCode() const;

    // What the main window puts in and takes out; nothing else outside this
    // dialog's file touches its fields.
    // The waypoint count shown in Nwps.
    void ShowWaypointCount(int count);
    // Latitude and Longitude as texts of the position (degrees, longitude
    // west positive).
    void ShowPosition(double lat, double lon);
    // A new waypoint at (lat, lon): its position, an empty description; the
    // symbol stays as last chosen.
    void StartNewWaypoint(double lat, double lon);
    // An existing waypoint: position, description, symbol code and number of
    // the stored name (Radius enabled for the circles 20 and 21).
    void ShowWaypoint(double lat, double lon, const WaypointNameField& name);
    // The waypoint as the fields give it: position and stored name.
    void EditedWaypoint(TPosition& position, WaypointNameField& name) const;

    QGroupBox* GroupBox1;
    QLineEdit* WPdesc; // at most 24 characters
    QLineEdit* Latitude; // at most 12 characters
    QLineEdit* Longitude; // at most 13 characters
    QLineEdit* Easting; // metres
    QLineEdit* Northing; // metres
    QComboBox* WPShape; // "00   Medium Cross" ... "36   Large cross", editable
    QLineEdit* Radius; // at most 2 characters
    QLabel* Label5; // "Radius", "Zoom" or "Pointer"
    QLabel* Image1; // 37 x 37 symbol preview
    QPushButton* BitBtn1; // OK, "Save Changes"
    QPushButton* BitBtn2; // Cancel, or OK while shown read-only
    QPushButton* BitBtn3; // Help
    QLabel* Nwps; // number of waypoints in the database

    // The position last read from the texts (degrees, longitude west
    // positive) and the symbol drawn in the preview.
    double WPLat = 0.0;
    double WPLon = 0.0;
    int PreviewCode = 0;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void TypingAid(QLineEdit* field, int degreeDigits);
    void DrawShapePreview(int x, int y, int code);

    bool settingText_ = false; // a typing aid is changing the text
    bool closeIsOk_ = false; // BitBtn2 closes with OK (read-only look)
    TDialogHost* host_ = nullptr;
};

extern TWPeditDlg* WPeditDlg;

