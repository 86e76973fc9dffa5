#include "dialogs/GlobalDlg.h"

#include "dialogs/ColorGrid.h"
#include "dialogs/SettingsDialog.h"
#include "help/HelpKeys.h"
#include "nav/AverageTide.h"
#include "nav/ChartDatumShift.h"
#include "nav/NavState.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"
#include "platform/Ui.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>

TGlobalSettings GlobalSettings;
TGlobalDlg* GlobalDlg = nullptr;

namespace
{

// Checks `button` of its exclusive group, or none of them for nullptr.
void CheckOnly(const std::initializer_list<QAbstractButton*>& buttons, QAbstractButton* button)
{
    for (QAbstractButton* b : buttons) {
        QButtonGroup* group = b->group();
        const bool exclusive = group && group->exclusive();
        if (group)
            group->setExclusive(false);
        b->setChecked(b == button);
        if (group)
            group->setExclusive(exclusive);
    }
}

struct ColourPreset {
    int background, foreground;
    bool foregroundLayers; // "Text = FG", "Track=FG", "Tides=FG"
};

// "KV Windows", "KV Classic", "White on Black", "Black on White".
constexpr ColourPreset kColourPresets[]
    = { { 4, 15, false }, { 0, 3, false }, { 0, 15, false }, { 15, 0, true } };
constexpr int kCustomColours = 4;

} // namespace

TGlobalDlg::TGlobalDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("GlobalDlg");
    setWindowTitle("Preferences");
    BuildPages();

    connect(TabSet, &QTabBar::currentChanged, this, [this](int index) { TabSetClick(index); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(Defaults, &QComboBox::activated, this, [this] { DefaultsClick(); });
    connect(WP_auto, &QCheckBox::clicked, this, [this] { WP_autoClick(); });
    connect(Voice, &QCheckBox::clicked, this, [this] { VoiceClick(); });
    connect(RepRoute, &QRadioButton::clicked, this, [this] { RepRouteClick(); });
    connect(RevRoute, &QCheckBox::clicked, this, [this] { RepRouteClick(); });
    connect(ManTide, &QCheckBox::clicked, this, [this] { ManTideClick(); });
    connect(AvTide, &QPushButton::clicked, this, [this] { AvTideClick(); });
    connect(Cht2WGS84, &QPushButton::clicked, this, [this] { Cht2WGS84Click(); });
    connect(NMEAOutputOn, &QCheckBox::clicked, this, [this] { NMEAOutputOnClick(); });
    connect(SendCustom, &QCheckBox::clicked, this, [this] { SendCustomClick(); });
    connect(HelpBtn, &QPushButton::clicked, this, [this] { HelpBtnClick(); });
    connect(TBrowse, &QPushButton::clicked, this, [this] { platform::guarded([this] { TBrowseClick(); }); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    SetControls(TGlobalSettings {});
    SetFields(TGlobalFields {});
}

bool TGlobalDlg::Execute(TGlobalSettings& settings)
{
    return ExecuteOn(*this, settings);
}

bool TGlobalDlg::Execute(TGlobalSettings& settings, TGlobalFields& fields)
{
    SetControls(settings);
    SetFields(fields);
    if (platform::ui().showModal(*this) != platform::ModalResult::Ok)
        return false;
    OKBtnClick();
    settings = Controls();
    fields = Fields();
    return true;
}

void TGlobalDlg::SetControls(const TGlobalSettings& s)
{
    TextColourFG->setChecked(s.TextColourFG);
    TrackColourFG->setChecked(s.TrackColourFG);
    TideColourFG->setChecked(s.TideColourFG);
    Sent->setCurrentIndex(s.Sent);
    NormalMode->setChecked(s.NormalMode);
    Reverse->setChecked(s.Reverse);
    RepRoute->setChecked(s.RepRoute);
    Voice->setChecked(s.Voice);
    Vfreq->setChecked(s.Vfreq);
    WPVoice->setChecked(s.WPVoice);
    RevRoute->setChecked(s.RevRoute);
    AISvoice->setChecked(s.AISvoice);
    HeadUp->setChecked(s.HeadUp);
    HUPdeadB->setValue(s.HUPdeadB);
    RepRate->setValue(s.RepRate);
    VoiceClick();
}

TGlobalSettings TGlobalDlg::Controls() const
{
    TGlobalSettings s;
    s.TextColourFG = TextColourFG->isChecked();
    s.TrackColourFG = TrackColourFG->isChecked();
    s.TideColourFG = TideColourFG->isChecked();
    s.Sent = Sent->currentIndex();
    s.NormalMode = NormalMode->isChecked();
    s.Reverse = Reverse->isChecked();
    s.RepRoute = RepRoute->isChecked();
    s.Voice = Voice->isChecked();
    s.Vfreq = Vfreq->isChecked();
    s.WPVoice = WPVoice->isChecked();
    s.RevRoute = RevRoute->isChecked();
    s.AISvoice = AISvoice->isChecked();
    s.HeadUp = HeadUp->isChecked();
    s.HUPdeadB = HUPdeadB->value();
    s.RepRate = RepRate->value();
    return s;
}

void TGlobalDlg::SetFields(const TGlobalFields& f)
{
    GlobalColor->SetForegroundIndex(f.ForegroundIndex);
    GlobalColor->SetBackgroundIndex(f.BackgroundIndex);
    Defaults->setCurrentIndex(f.Defaults);
    QAbstractButton* const units[] = { Naut, Kilo, Stat };
    CheckOnly(
        { Naut, Kilo, Stat }, f.DistanceUnit >= 0 && f.DistanceUnit <= 2 ? units[f.DistanceUnit] : nullptr);
    KnAlways->setChecked(f.KnAlways);
    CheckOnly({ LatLongMode, OSGridMode, UTMint1924, Bessel, Clarke1866, Clarke1880, Everest, Australian,
                  WGS1972, WGS1984 },
        f.PositionMode < 0 ? LatLongMode : GridButton(f.PositionMode));
    Deadband->setValue(f.Deadband);
    WP_auto->setChecked(f.WP_auto);
    CapDist->setValue(f.CapDist);
    HWhour->setValue(f.HWhour);
    HWMin->setValue(f.HWMin);
    STDport->setText(platform::qs(f.STDport));
    Vspeed->setValue(f.Vspeed);
    ManTide->setChecked(f.ManTide);
    Tset->setValue(f.Tset);
    TDrift->setValue(f.TDrift);
    LatOffs->setValue(f.LatOffs);
    LongOffs->setValue(f.LongOffs);
    Cht2WGS84->setEnabled(f.Cht2WGS84);
    Label41->setEnabled(f.Cht2WGS84);
    ALmode->setChecked(f.ALmode);
    ViewAngle->setValue(f.ViewAngle);
    KeepTextLog->setChecked(f.KeepTextLog);
    LogParse->setText(platform::qs(f.LogParse));
    KeepLog->setChecked(f.KeepLog);
    PBspeed->setValue(f.PBspeed);
    BrowserPath->setText(platform::qs(f.BrowserPath));
    Mspeed->setCurrentIndex(f.Mspeed);
    Mcourse->setCurrentIndex(f.Mcourse);
    Cpoints->setText(platform::qs(f.Cpoints));
    Lmask->setText(platform::qs(f.Lmask));
    TidePoints->setText(platform::qs(f.TidePoints));
    Wpoints->setText(platform::qs(f.Wpoints));
    Rpoints->setText(platform::qs(f.Rpoints));
    Lpoints->setText(platform::qs(f.Lpoints));
    AISNtargets->setText(platform::qs(f.AISNtargets));
    Spoints->setValue(f.Spoints);
    Enumber->setValue(f.Enumber);
    for (QWidget* w : std::initializer_list<QWidget*> { Spoints, Enumber, Label27, Label26 })
        w->setEnabled(f.CountersEditable);
    NMEAOutputOn->setChecked(f.NMEAOutputOn);
    sendAPB->setChecked(f.sendAPB);
    sendXTE->setChecked(f.sendXTE);
    sendHSC->setChecked(f.sendHSC);
    SendBOD->setChecked(f.SendBOD);
    Variation->setValue(f.Variation);
    SendCustom->setChecked(f.SendCustom);
    CustomNMEA->setText(platform::qs(f.CustomNMEA));
    COMno->setValue(f.COMno);
    Rate->setCurrentIndex(f.Rate >= 0 && f.Rate <= 1 ? f.Rate : -1);
    AutoLaunch->setChecked(f.AutoLaunch);
    WP_autoClick();
    NMEAOutputOnClick();
    SendCustomClick();
    // The enabled states of the manual tide follow "Use"; the port name
    // shown stays the one filled in.
    const QString port = STDport->text();
    ManTideClick();
    if (!f.ManTide)
        STDport->setText(port);
}

TGlobalFields TGlobalDlg::Fields() const
{
    TGlobalFields f;
    f.ForegroundIndex = GlobalColor->ForegroundIndex();
    f.BackgroundIndex = GlobalColor->BackgroundIndex();
    f.Defaults = Defaults->currentIndex();
    f.DistanceUnit = Naut->isChecked() ? 0 : Kilo->isChecked() ? 1 : Stat->isChecked() ? 2 : -1;
    f.KnAlways = KnAlways->isChecked();
    f.PositionMode = -1;
    for (int datum = 0; datum <= 8; ++datum)
        if (GridButton(datum)->isChecked())
            f.PositionMode = datum;
    f.Deadband = Deadband->value();
    f.WP_auto = WP_auto->isChecked();
    f.CapDist = CapDist->value();
    f.HWhour = HWhour->value();
    f.HWMin = HWMin->value();
    f.STDport = platform::ls(STDport->text());
    f.Vspeed = Vspeed->value();
    f.ManTide = ManTide->isChecked();
    f.Tset = Tset->value();
    f.TDrift = TDrift->value();
    f.LatOffs = LatOffs->value();
    f.LongOffs = LongOffs->value();
    f.Cht2WGS84 = Cht2WGS84->isEnabled();
    f.ALmode = ALmode->isChecked();
    f.ViewAngle = ViewAngle->value();
    f.KeepTextLog = KeepTextLog->isChecked();
    f.LogParse = platform::ls(LogParse->text());
    f.KeepLog = KeepLog->isChecked();
    f.PBspeed = PBspeed->value();
    f.BrowserPath = platform::ls(BrowserPath->text());
    f.Mspeed = Mspeed->currentIndex();
    f.Mcourse = Mcourse->currentIndex();
    f.Cpoints = platform::ls(Cpoints->text());
    f.Lmask = platform::ls(Lmask->text());
    f.TidePoints = platform::ls(TidePoints->text());
    f.Wpoints = platform::ls(Wpoints->text());
    f.Rpoints = platform::ls(Rpoints->text());
    f.Lpoints = platform::ls(Lpoints->text());
    f.AISNtargets = platform::ls(AISNtargets->text());
    f.Spoints = Spoints->value();
    f.Enumber = Enumber->value();
    f.CountersEditable = Spoints->isEnabled();
    f.NMEAOutputOn = NMEAOutputOn->isChecked();
    f.sendAPB = sendAPB->isChecked();
    f.sendXTE = sendXTE->isChecked();
    f.sendHSC = sendHSC->isChecked();
    f.SendBOD = SendBOD->isChecked();
    f.Variation = Variation->value();
    f.SendCustom = SendCustom->isChecked();
    f.CustomNMEA = platform::ls(CustomNMEA->text());
    f.COMno = COMno->value();
    f.Rate = Rate->currentIndex();
    f.AutoLaunch = AutoLaunch->isChecked();
    return f;
}

int TGlobalDlg::PageIndex() const
{
    return Notebook->currentIndex();
}

QWidget* TGlobalDlg::Page(int index) const
{
    return Notebook->widget(index);
}

void TGlobalDlg::TabSetClick(int index)
{
    Notebook->setCurrentIndex(index);
}

void TGlobalDlg::SpeedButton1Click()
{
    TabSet->setCurrentIndex((PageIndex() + 1) % kGlobalPageCount);
}

void TGlobalDlg::DefaultsClick()
{
    const int item = Defaults->currentIndex();
    if (item == kCustomColours) {
        customColours_ = !customColours_;
        GlobalColor->setEnabled(customColours_);
        if (customColours_)
            for (QCheckBox* box : { TextColourFG, TrackColourFG, TideColourFG })
                box->setChecked(false);
        return;
    }
    if (item < 0 || item > kCustomColours)
        return;
    const ColourPreset& preset = kColourPresets[item];
    GlobalColor->SetBackgroundIndex(preset.background);
    GlobalColor->SetForegroundIndex(preset.foreground);
    for (QCheckBox* box : { TextColourFG, TrackColourFG, TideColourFG })
        box->setChecked(preset.foregroundLayers);
    customColours_ = false;
    GlobalColor->setEnabled(false);
}

void TGlobalDlg::WP_autoClick()
{
    CapDist->setEnabled(WP_auto->isChecked());
}

void TGlobalDlg::VoiceClick()
{
    Vfreq->setEnabled(Voice->isChecked());
}

void TGlobalDlg::RepRouteClick()
{
    // Repeating the route and running it reversed never stand together.
    if (RepRoute->isChecked())
        RevRoute->setChecked(false);
}

void TGlobalDlg::ManTideClick()
{
    const bool manual = ManTide->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*> { Tset, TDrift, TsetLabel, TDriftLabel, AvTide })
        w->setEnabled(manual);
    STDport->setText(manual ? QString("?") : platform::qs(StandardPort));
    NameLabel->setEnabled(!manual);
}

void TGlobalDlg::AvTideClick()
{
    AverageTideSources sources;
    sources.courseToWaypoint = Mcourse->currentIndex() == 0;
    sources.hullSpeed = Mspeed->currentIndex() == 0;
    const AverageTideResult mean = AverageTideAlongLeg(sources);
    switch (mean.outcome) {
    case AverageTideOutcome::NoAtlasOrRoute:
        platform::MessageError("No tidal atlas or no route! Enter manual values.");
        return;
    case AverageTideOutcome::UnderOneHour:
        platform::MessageWarning("Less than 1 hr to WP. Use nearest tide or enter manual values !");
        Tset->setValue(0);
        TDrift->setValue(0);
        return;
    case AverageTideOutcome::Averaged:
        Tset->setValue(mean.set);
        TDrift->setValue(mean.rate);
        return;
    }
}

void TGlobalDlg::TBrowseClick()
{
    platform::FileDialogRequest request;
    request.title = "Choose Text Log Viewer";
    request.fileName = platform::ls(BrowserPath->text());
    request.filter = "All Files (*)|*";
    if (const std::optional<std::string> chosen = platform::ui().openFile(request))
        BrowserPath->setText(platform::qs(*chosen));
}

void TGlobalDlg::Cht2WGS84Click()
{
    if (!platform::AskYesNo("This will edit the chart! - Are you sure?")) {
        platform::MessageInformation("No changes were made.");
        return;
    }
    // Thousandths of a minute to degrees.
    ChartOffsetLat = LatOffs->value() / 60000.0;
    ChartOffsetLon = LongOffs->value() / 60000.0;
    ShiftChartPoints(ChartOffsetLat, ChartOffsetLon);
    if (platform::AskYesNo("Do you want to process the chart waypoints too?"))
        ShiftChartWaypoints(ChartOffsetLat, ChartOffsetLon);
    ChartOffsetLat = 0.0;
    ChartOffsetLon = 0.0;
    LatOffs->setValue(0);
    LongOffs->setValue(0);
    platform::MessageInformation("Done - Click OK to redraw chart. Save the chart to update files on disk");
}

void TGlobalDlg::NMEAOutputOnClick()
{
    const bool on = NMEAOutputOn->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*> {
             sendAPB, sendXTE, sendHSC, SendBOD, Variation, VariationLabel, CustomGroup })
        w->setEnabled(on);
}

void TGlobalDlg::SendCustomClick()
{
    CustomNMEA->setEnabled(SendCustom->isChecked());
}

void TGlobalDlg::HelpBtnClick()
{
    help::RequestHelp(Notebook->currentWidget());
}

void TGlobalDlg::OKBtnClick()
{
    if (ComTimeZero)
        return;
    // The template expander takes "@p" and "@P" alike.
    const std::string typed = platform::ls(LogParse->text());
    if (typed.find("@p") != std::string::npos || typed.find("@P") != std::string::npos)
        return;
    LogParse->setText(platform::qs("@p:5," + typed));
    const help::MessageHelpContext context(103);
    platform::MessageWarning("You omitted position from the log format - it will be added!");
}
