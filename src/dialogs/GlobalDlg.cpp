#include "dialogs/GlobalDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TGlobalDlg* GlobalDlg = nullptr;

TGlobalDlg::TGlobalDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("GlobalDlg");
    setWindowTitle("Preferences");

    auto* layout = new QVBoxLayout(this);
    TextColourFG = new QCheckBox("Text = FG", this);
    TextColourFG->setObjectName("TextColourFG");
    TrackColourFG = new QCheckBox("Track=FG", this);
    TrackColourFG->setObjectName("TrackColourFG");
    TideColourFG = new QCheckBox("Tides=FG", this);
    TideColourFG->setObjectName("TideColourFG");
    layout->addWidget(TextColourFG);
    layout->addWidget(TrackColourFG);
    layout->addWidget(TideColourFG);
    Sent = new QComboBox(this);
    Sent->setObjectName("Sent");
    Sent->addItems({ "GGA", "RMC" });
    Sent->setCurrentIndex(0);
    layout->addWidget(Sent);

    auto check = [&](QCheckBox*& box, const char* name, const char* caption, const char* hint) {
        box = new QCheckBox(caption, this);
        box->setObjectName(name);
        if (*hint)
            box->setToolTip(hint);
        layout->addWidget(box);
    };
    auto spin = [&](QSpinBox*& box, const char* name, int low, int high, int value) {
        box = new QSpinBox(this);
        box->setObjectName(name);
        box->setRange(low, high);
        box->setValue(value);
        layout->addWidget(box);
    };
    NormalMode = new QRadioButton("Normal - Prompt for next waypoint", this);
    NormalMode->setObjectName("NormalMode");
    Reverse = new QRadioButton("Reverse current route", this);
    Reverse->setObjectName("Reverse");
    RepRoute = new QRadioButton("Repeat current route", this);
    RepRoute->setObjectName("RepRoute");
    NormalMode->setChecked(true);
    layout->addWidget(NormalMode);
    layout->addWidget(Reverse);
    layout->addWidget(RepRoute);
    check(Voice, "Voice", "XTE Voice -", "Spoken steering instructions");
    check(Vfreq, "Vfreq", "Only on change", "Speak when change of status");
    Vfreq->setEnabled(false);
    check(WPVoice, "WPVoice", "WP Voice", "Spoken WP approach warning");
    check(RevRoute, "RevRoute", "Reversed route", "");
    check(HeadUp, "HeadUp", "Heading Up While Navigating", "");
    spin(HUPdeadB, "HUPdeadB", 0, 90, 0);
    spin(RepRate, "RepRate", 1, 100, 1);
}
