#include "dialogs/GlobalDlg.h"

#include "dialogs/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TGlobalSettings GlobalSettings;
TGlobalDlg* GlobalDlg = nullptr;

TGlobalDlg::TGlobalDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("GlobalDlg");
    setWindowTitle("Preferences");

    auto* layout = new QVBoxLayout(this);
    auto check = [&](QCheckBox*& box, const char* name, const char* caption, const char* hint) {
        box = new QCheckBox(caption, this);
        box->setObjectName(name);
        if (*hint)
            box->setToolTip(hint);
        layout->addWidget(box);
    };
    auto spin = [&](QSpinBox*& box, const char* name, int low, int high) {
        box = new QSpinBox(this);
        box->setObjectName(name);
        box->setRange(low, high);
        layout->addWidget(box);
    };
    auto radio = [&](QRadioButton*& button, const char* name, const char* caption) {
        button = new QRadioButton(caption, this);
        button->setObjectName(name);
        layout->addWidget(button);
    };
    check(TextColourFG, "TextColourFG", "Text = FG", "");
    check(TrackColourFG, "TrackColourFG", "Track=FG", "");
    check(TideColourFG, "TideColourFG", "Tides=FG", "");
    Sent = new QComboBox(this);
    Sent->setObjectName("Sent");
    Sent->addItems({ "GGA", "RMC" });
    layout->addWidget(Sent);
    radio(NormalMode, "NormalMode", "Normal - Prompt for next waypoint");
    radio(Reverse, "Reverse", "Reverse current route");
    radio(RepRoute, "RepRoute", "Repeat current route");
    check(Voice, "Voice", "XTE Voice -", "Spoken steering instructions");
    check(Vfreq, "Vfreq", "Only on change", "Speak when change of status");
    Vfreq->setEnabled(false);
    check(WPVoice, "WPVoice", "WP Voice", "Spoken WP approach warning");
    check(RevRoute, "RevRoute", "Reversed route", "");
    check(AISvoice, "AISvoice", "AIS New Target Announcement Voice", "");
    check(HeadUp, "HeadUp", "Heading Up While Navigating", "");
    spin(HUPdeadB, "HUPdeadB", 0, 90);
    spin(RepRate, "RepRate", 1, 100);
    SetControls(TGlobalSettings {});
}

bool TGlobalDlg::Execute(TGlobalSettings& settings)
{
    return ExecuteOn(*this, settings);
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
