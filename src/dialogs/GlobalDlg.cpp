#include "dialogs/GlobalDlg.h"

#include <QCheckBox>
#include <QComboBox>
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
}
