#include "dialogs/WPeditDlg.h"

#include "dialogs/Cviewer.h"
#include "dialogs/DialogHost.h"
#include "dialogs/LatLonEdit.h"
#include "draw/RasterCanvas.h"
#include "draw/SymbolShapes.h"
#include "nav/ChartWaypoints.h"
#include "nav/LatLonText.h"
#include "nav/NavState.h"
#include "nav/geodesy/Grid_Lat.h"
#include "nav/geodesy/Lat_Grid.h"
#include "platform/Guarded.h"
#include "platform/QtHint.h"
#include "platform/QtText.h"
#include "rtl/Numbers.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <initializer_list>

TWPeditDlg* WPeditDlg = nullptr;

namespace
{

constexpr int kHelpContext = 12;
constexpr int kPreviewSize = 37;
const char* const kOffGrid = "**********";

const std::array<const char*, 37> kSymbols = {
    "00   Medium Cross",
    "01   Small Cross",
    "02   Point",
    "03   East Cardinal",
    "04   Isolated Danger",
    "05   Light or Lighthouse",
    "06   South Cardinal",
    "07   Starboard Channel Mark",
    "08   Port Channel Mark",
    "09   West Cardinal",
    "10   Race Mark",
    "11   Post or Pile",
    "12   North Cardinal",
    "13   Fairway Buoy",
    "14   Wreck",
    "15   Wreck Exposed at low water",
    "16   Rock Awash",
    "17   Tide rip / Overfalls",
    "18   Racon",
    "19   Small Circle (route waypoint)",
    "20   Circle Radius R# x 0.01 Nm",
    "21   Circle Radius R# x 1.0 Nm",
    "22   Anchorage",
    "23   Blank (no shape)",
    "24   Visitors",
    "25   Small yellow sphere",
    "26   Large yellow sphere",
    "27   Small green sphere",
    "28   Small red sphere",
    "29   Large Circle with X",
    "30   Circle Radius R# x 1 m",
    "31   Circle Radius R# x 0.1 Km",
    "32   Chartlet / Information",
    "33   Chartlet with audio clip",
    "34   Small white sphere",
    "35   Light beam",
    "36   Large cross",
};

// Symbols that take the two-digit number: circle radius (20, 21, 30, 31),
// label zoom (23) and chartlet pointer (32, 33).
bool TakesNumber(int code)
{
    return code == 20 || code == 21 || code == 23 || (code >= 30 && code <= 33);
}

bool IsChartlet(int code)
{
    return code == 32 || code == 33;
}

// The field colours: the normal window colour for editing, the button-face
// colour for showing read-only.
QColor WindowColour()
{
    return QPalette().color(QPalette::Base);
}

QColor ButtonFaceColour()
{
    return QPalette().color(QPalette::Button);
}

void SetFieldColour(QWidget* field, const QColor& colour)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry, int maxLength = 32767)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setMaxLength(maxLength);
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* text, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->move(at);
    return label;
}

} // namespace

TWPeditDlg::TWPeditDlg(QWidget* parent, TDialogHost* host)
    : QDialog(parent)
    , host_(host)
{
    setObjectName("WPeditDlg");
    setWindowTitle("Edit Nearest Waypoint");
    setFixedSize(365, 210);

    GroupBox1 = new QGroupBox("Waypoint Properties", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 4, 268, 200);
    MakeLabel(GroupBox1, "Description", { 8, 18 });
    WPdesc = MakeEdit(GroupBox1, "WPdesc", { 8, 34, 252, 22 }, 24);
    MakeLabel(GroupBox1, "Lat", { 8, 60 });
    Latitude = MakeEdit(GroupBox1, "Latitude", { 8, 76, 118, 22 }, 12);
    MakeLabel(GroupBox1, "Long", { 134, 60 });
    Longitude = MakeEdit(GroupBox1, "Longitude", { 134, 76, 126, 22 }, 13);
    MakeLabel(GroupBox1, "OS GB Easting           Northing", { 8, 102 });
    Easting = MakeEdit(GroupBox1, "Easting", { 8, 118, 118, 22 });
    Northing = MakeEdit(GroupBox1, "Northing", { 134, 118, 126, 22 });

    WPShape = new QComboBox(GroupBox1);
    WPShape->setObjectName("WPShape");
    WPShape->setEditable(true);
    WPShape->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : kSymbols) // already in sorted order
        WPShape->addItem(item);
    WPShape->setGeometry(8, 164, 200, 24);
    WPShape->setEditText("00   Medium Cross +");
    Label5 = MakeLabel(GroupBox1, "Radius", { 214, 148 });
    Label5->setObjectName("Label5");
    Radius = MakeEdit(GroupBox1, "Radius", { 214, 164, 46, 22 }, 2);
    Radius->setText("01");

    auto* preview = new QFrame(this);
    preview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    preview->setGeometry(290, 10, kPreviewSize + 4, kPreviewSize + 4);
    Image1 = new QLabel(preview);
    Image1->setObjectName("Image1");
    Image1->setGeometry(2, 2, kPreviewSize, kPreviewSize);

    MakeLabel(this, "No.Wps=", { 284, 58 });
    Nwps = new QLabel(this);
    Nwps->setObjectName("Nwps");
    Nwps->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Nwps->setGeometry(284, 74, 74, 22);

    BitBtn1 = new QPushButton("OK", this);
    BitBtn1->setObjectName("BitBtn1");
    SetHint(BitBtn1, "Save Changes|");
    BitBtn1->setGeometry(284, 110, 74, 26);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("Cancel", this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(284, 142, 74, 26);
    BitBtn3 = new QPushButton("Help", this);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(284, 174, 74, 26);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BitBtn2, &QPushButton::clicked, this,
        [this] { done(closeIsOk_ ? QDialog::Accepted : QDialog::Rejected); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { platform::guarded([this] { BitBtn3Click(); }); });
    connect(WPShape, &QComboBox::editTextChanged, this,
        [this] { platform::guarded([this] { WPShapeChange(); }); });
    connect(
        Latitude, &QLineEdit::textEdited, this, [this] { platform::guarded([this] { LatitudeChange(); }); });
    connect(Longitude, &QLineEdit::textEdited, this,
        [this] { platform::guarded([this] { LongitudeChange(); }); });
    for (QLineEdit* field : { Latitude, Longitude, Easting, Northing })
        field->installEventFilter(this);
}

bool TWPeditDlg::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        if (watched == Latitude || watched == Longitude)
            platform::guarded([this] { ToOSClick(); });
        else if (watched == Easting || watched == Northing)
            platform::guarded([this] { ToLatLongClick(); });
    }
    return QDialog::eventFilter(watched, e);
}

void TWPeditDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    platform::guarded([this] { WPShapeChange(); });
}

void TWPeditDlg::done(int result)
{
    // OK stores the position only when both texts read whole; otherwise the
    // dialog stays open with the field to mend. In the read-only look
    // nothing is stored.
    bool readable = true;
    if (result == QDialog::Accepted && !closeIsOk_)
        platform::guarded([this, &readable] { readable = PositionReadable(); });
    if (!readable)
        return;
    platform::guarded([this] { FormClose(); });
    QDialog::done(result);
}

bool TWPeditDlg::PositionReadable()
{
    NormaliseLatLonTexts();
    return LatLonFieldReadable(*Latitude, "Lat", 2) && LatLonFieldReadable(*Longitude, "Long", 3);
}

void TWPeditDlg::TypingAid(QLineEdit* field, int degreeDigits)
{
    if (settingText_)
        return;
    settingText_ = true;
    LatLonTypingAid(*field, degreeDigits);
    settingText_ = false;
}

void TWPeditDlg::LatitudeChange()
{
    TypingAid(Latitude, 2);
}

void TWPeditDlg::LongitudeChange()
{
    TypingAid(Longitude, 3);
}

void TWPeditDlg::NormaliseLatLonTexts()
{
    settingText_ = true;
    Latitude->setText(qs(CompleteLatitudeText(ls(Latitude->text()))));
    Longitude->setText(qs(CompleteLongitudeText(ls(Longitude->text()))));
    settingText_ = false;
}

void TWPeditDlg::ToOSClick()
{
    NormaliseLatLonTexts();
    ParseLatLonDM(ls(Latitude->text()), ls(Longitude->text()), WPLat, WPLon);
    std::string northing, easting, gridRef;
    geodesy::LatLongToOSGrid(WPLat, -WPLon, false, northing, easting, gridRef);
    Easting->setText(qs(easting));
    Northing->setText(qs(northing));
}

void TWPeditDlg::ToLatLongClick()
{
    const std::string easting = ls(Easting->text());
    const std::string northing = ls(Northing->text());
    if (easting == kOffGrid || northing == kOffGrid)
        return;
    double lat = 0.0, lonEast = 0.0;
    bool notConverged = false;
    geodesy::OSGridToLatLong(rtl::RealOr(easting), rtl::RealOr(northing), lat, lonEast, notConverged);
    std::string latText, lonText;
    FormatLatLonDM(lat, -lonEast, latText, lonText);
    settingText_ = true;
    Latitude->setText(qs(latText));
    Longitude->setText(qs(lonText));
    settingText_ = false;
}

int TWPeditDlg::SymbolCode() const
{
    int64_t code = -1;
    if (!rtl::ParseInt(ls(WPShape->currentText()).substr(0, 2), code) || code < 0 || code > 99)
        return -1;
    return static_cast<int>(code);
}

void TWPeditDlg::WPShapeChange()
{
    ToOSClick();
    const int code = SymbolCode();
    const bool number = TakesNumber(code);
    Radius->setEnabled(number);
    if (!number)
        Radius->setText("  ");
    Label5->setText(IsChartlet(code) ? "Pointer" : code == 23 ? "Zoom" : "Radius");
    SetFieldColour(Radius, number ? WPShape->palette().color(QPalette::Base) : ButtonFaceColour());

    PreviewCode = code;
    DrawShapePreview(kPreviewSize / 2, kPreviewSize / 2, code);
}

void TWPeditDlg::DrawShapePreview(int x, int y, int code)
{
    const chartwin::TColour background = static_cast<chartwin::TColour>(BackgroundColour) & 0xFFFFFF;
    QImage bitmap(kPreviewSize, kPreviewSize, QImage::Format_RGB32);
    bitmap.fill(chartwin::BgrToRgb(background));
    chartwin::TRasterCanvas canvas(bitmap);
    canvas.SetBrushColour(background);
    canvas.SetPenColour(static_cast<chartwin::TColour>(ForegroundColour) & 0xFFFFFF);
    chartwin::DrawShapePixels(canvas, x, y, code, ShapeScale, background);
    Image1->setPixmap(QPixmap::fromImage(bitmap));
}

void TWPeditDlg::FormClose()
{
    NormaliseLatLonTexts();
    if (IsChartlet(PreviewCode))
        ShowChartletInViewer(ls(WPdesc->text()));
}

void TWPeditDlg::BitBtn3Click()
{
    if (host_)
        host_->ShowHelpContext(kHelpContext);
}

void TWPeditDlg::SetShowOnly(bool showOnly)
{
    const QColor colour = showOnly ? ButtonFaceColour() : WindowColour();
    for (QWidget* field :
        std::initializer_list<QWidget*> { WPdesc, Latitude, Longitude, Easting, Northing, WPShape, Radius })
        SetFieldColour(field, colour);
    closeIsOk_ = showOnly;
    BitBtn2->setText(showOnly ? "OK" : "Cancel");
    BitBtn1->setVisible(!showOnly);
    GroupBox1->setEnabled(!showOnly);
}

bool TWPeditDlg::InEditMode() const
{
    return WPShape->palette().color(QPalette::Base) == WindowColour();
}

void TWPeditDlg::ShowWaypointCount(int count)
{
    Nwps->setText(QString::number(count));
}

void TWPeditDlg::ShowPosition(double lat, double lon)
{
    std::string latText, lonText;
    FormatLatLonDM(lat, lon, latText, lonText);
    Latitude->setText(qs(latText));
    Longitude->setText(qs(lonText));
}

void TWPeditDlg::StartNewWaypoint(double lat, double lon)
{
    ShowPosition(lat, lon);
    WPdesc->clear();
}

void TWPeditDlg::ShowWaypoint(double lat, double lon, const WaypointNameField& name)
{
    const std::string text = name.str() + std::string(29, ' ');
    ShowPosition(lat, lon);
    WPdesc->setText(qs(WaypointDescription(name)));
    const std::string code = text.substr(24, 2);
    WPShape->setEditText(qs(code));
    Radius->setText(qs(text.substr(26, 2)));
    Radius->setEnabled(code == "20" || code == "21");
}

void TWPeditDlg::EditedWaypoint(TPosition& position, WaypointNameField& name) const
{
    ParseLatLonDM(ls(Latitude->text()), ls(Longitude->text()), position.lat, position.lon);
    name = MakeWaypointName(
        ls(WPdesc->text()), ls(WPShape->currentText()), ls(Radius->text()), Radius->isEnabled());
}
