#include "dialogs/CTRef.h"

#include "dialogs/DialogHost.h"
#include "dialogs/LatLonEdit.h"
#include "dialogs/SettingsDialog.h"
#include "nav/LatLonText.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <initializer_list>

TCTRef* CTRef = nullptr;

namespace
{

constexpr int kHelpContext = 21;

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setMaxLength(maxLength);
    return edit;
}

QSpinBox* MakeSpin(QWidget* parent, const char* name, QRect geometry, int low, int high)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setGeometry(geometry);
    spin->setRange(low, high);
    return spin;
}

QRadioButton* MakeRadio(QWidget* parent, const char* text, QPoint at)
{
    auto* radio = new QRadioButton(text, parent);
    radio->move(at);
    return radio;
}

QLabel* Label(QWidget* parent, const char* text, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

TCTRef::TCTRef(QWidget* parent, TDialogHost* host)
    : QDialog(parent)
    , host_(host)
{
    setObjectName("CTRef");
    setWindowTitle("Image Reference Information");

    Label(this, "Image File Name", { 8, 8 });
    CTname = MakeEdit(this, "CTname", { 8, 24, 200, 22 }, 255);
    CTname->setReadOnly(true);
    QLabel* widthLabel = Label(this, "Image Width Pixels", { 220, 8 });
    CTwidth = MakeSpin(this, "CTwidth", { 220, 24, 90, 22 }, 1, 65535);
    // The height's caption and box follow the width's caption when it is
    // wider than its box; the dialog widens to hold them.
    const int heightLeft = std::max(316, widthLabel->geometry().right() + 9);
    QLabel* heightLabel = Label(this, "Image Height Pixels", { heightLeft, 8 });
    CTHeight = MakeSpin(this, "CTHeight", { heightLeft, 24, 90, 22 }, 1, 65535);
    setFixedSize(std::max(420, heightLabel->geometry().right() + 9), 330);

    Label(this, "NW Corner", { 8, 56 });
    NWLat = MakeEdit(this, "NWLat", { 8, 72, 120, 22 }, 12);
    NWLong = MakeEdit(this, "NWLong", { 134, 72, 130, 22 }, 13);
    Label(this, "SE Corner", { 8, 100 });
    SELat = MakeEdit(this, "SELat", { 8, 116, 120, 22 }, 12);
    SELong = MakeEdit(this, "SELong", { 134, 116, 130, 22 }, 13);
    Label(this, "Lat Offset", { 276, 56 });
    LatOffs = MakeSpin(this, "LatOffs", { 276, 72, 90, 22 }, -kMaxChartletOffset, kMaxChartletOffset);
    Label(this, "Long Offset", { 276, 100 });
    LongOffs = MakeSpin(this, "LongOffs", { 276, 116, 90, 22 }, -kMaxChartletOffset, kMaxChartletOffset);

    auto* colour = new QGroupBox("Track Colour", this);
    colour->setObjectName("TrackC");
    colour->setGeometry(8, 148, 200, 70);
    TrackRed = MakeRadio(colour, "Red", { 8, 20 });
    TrackBlack = MakeRadio(colour, "Black", { 100, 20 });
    TrackBlue = MakeRadio(colour, "Blue", { 8, 44 });
    TrackGreen = MakeRadio(colour, "Green", { 100, 44 });
    auto* width = new QGroupBox("Thickness", this);
    width->setObjectName("TrackW");
    width->setGeometry(216, 148, 150, 70);
    TrackThin = MakeRadio(width, "Thin", { 8, 20 });
    TrackThick = MakeRadio(width, "Thick", { 8, 44 });

    AudioClip = new QCheckBox("This Image File has an associated audio clip \"file name.wav\" :", this);
    AudioClip->setObjectName("AudioClip");
    AudioClip->setGeometry(8, 228, 404, 22);
    AudioClip->setLayoutDirection(Qt::RightToLeft);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(96, 290, 74, 26);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(180, 290, 74, 26);
    BitBtn3 = new QPushButton("Help", this);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(264, 290, 74, 26);

    connect(OKBtn, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { platform::guarded([this] { BitBtn3Click(); }); });
    connect(NWLat, &QLineEdit::textEdited, this, [this] { platform::guarded([this] { NWLatChange(); }); });
    connect(SELat, &QLineEdit::textEdited, this, [this] { platform::guarded([this] { SELatChange(); }); });
    connect(NWLong, &QLineEdit::textEdited, this, [this] { platform::guarded([this] { NWLongChange(); }); });
    connect(SELong, &QLineEdit::textEdited, this, [this] { platform::guarded([this] { SELongChange(); }); });
}

void TCTRef::SetImage(const std::string& baseName, bool drawable)
{
    CTname->setText(qs(baseName));
    for (QWidget* control : std::initializer_list<QWidget*> { NWLat, NWLong, SELat, SELong, LatOffs, LongOffs,
             TrackRed->parentWidget(), TrackThin->parentWidget() })
        control->setEnabled(drawable);
}

void TCTRef::SetControls(const ChartletReference& reference)
{
    CTHeight->setValue(reference.height);
    CTwidth->setValue(reference.width);
    std::string lat, lon;
    FormatLatLonDM(reference.nwLat, reference.nwLon, lat, lon);
    NWLat->setText(qs(lat));
    NWLong->setText(qs(lon));
    FormatLatLonDM(reference.seLat, reference.seLon, lat, lon);
    SELat->setText(qs(lat));
    SELong->setText(qs(lon));
    LatOffs->setValue(reference.latOffset);
    LongOffs->setValue(reference.lonOffset);
    // A colour other than the four leaves every button unchecked and is kept.
    for (QRadioButton* b : { TrackRed, TrackBlack, TrackBlue, TrackGreen }) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    switch (reference.trackColour) {
    case 255:
        TrackRed->setChecked(true);
        break;
    case 0:
        TrackBlack->setChecked(true);
        break;
    case 0xFF0000:
        TrackBlue->setChecked(true);
        break;
    case 0x00FF00:
        TrackGreen->setChecked(true);
        break;
    default:
        break;
    }
    keptColour_ = reference.trackColour;
    (reference.trackWidth == 1 ? TrackThin : TrackThick)->setChecked(true);
    AudioClip->setChecked(reference.hasAudioClip());
}

ChartletReference TCTRef::Controls() const
{
    ChartletReference r;
    r.height = CTHeight->value();
    r.width = CTwidth->value();
    ParseLatLonDM(
        CompleteLatitudeText(ls(NWLat->text())), CompleteLongitudeText(ls(NWLong->text())), r.nwLat, r.nwLon);
    ParseLatLonDM(
        CompleteLatitudeText(ls(SELat->text())), CompleteLongitudeText(ls(SELong->text())), r.seLat, r.seLon);
    r.latOffset = LatOffs->value();
    r.lonOffset = LongOffs->value();
    r.trackColour = TrackRed->isChecked() ? 255
        : TrackBlack->isChecked()         ? 0
        : TrackBlue->isChecked()          ? 0xFF0000
        : TrackGreen->isChecked()         ? 0x00FF00
                                          : keptColour_;
    r.trackWidth = TrackThin->isChecked() ? 1 : 2;
    r.audioFlag = AudioClip->isChecked() ? 1 : 0;
    return r;
}

bool TCTRef::Execute(ChartletReference& reference)
{
    return ExecuteOn(*this, reference);
}

void TCTRef::NWLatChange()
{
    LatLonTypingAid(*NWLat, 2);
}

void TCTRef::SELatChange()
{
    LatLonTypingAid(*SELat, 2);
}

void TCTRef::NWLongChange()
{
    LatLonTypingAid(*NWLong, 3);
}

void TCTRef::SELongChange()
{
    LatLonTypingAid(*SELong, 3);
}

void TCTRef::FormClose()
{
    for (QLineEdit* lat : { NWLat, SELat })
        lat->setText(qs(CompleteLatitudeText(ls(lat->text()))));
    for (QLineEdit* lon : { NWLong, SELong })
        lon->setText(qs(CompleteLongitudeText(ls(lon->text()))));
}

void TCTRef::BitBtn3Click()
{
    if (host_)
        host_->ShowHelpContext(kHelpContext);
}

void TCTRef::done(int result)
{
    bool readable = true;
    platform::guarded([this, result, &readable] {
        FormClose();
        // The corners are taken on OK only when all four read whole; an image
        // that cannot be drawn on takes no corners.
        if (result == QDialog::Accepted && NWLat->isEnabled())
            readable = LatLonFieldReadable(*NWLat, "NW Corner latitude", 2)
                && LatLonFieldReadable(*NWLong, "NW Corner longitude", 3)
                && LatLonFieldReadable(*SELat, "SE Corner latitude", 2)
                && LatLonFieldReadable(*SELong, "SE Corner longitude", 3);
    });
    if (readable)
        QDialog::done(result);
}
