// The preferences' button panel, tab strip and ten pages with their
// controls, captions, ranges and form defaults.

#include "dialogs/ButtonPanel.h"
#include "dialogs/ColorGrid.h"
#include "dialogs/GlobalDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace
{

const char* const kPageNames[kGlobalPageCount]
    = { "Colour", "Units", "Nav", "Tide", "Chart", "Log", "DR", "Stats", "Auto", "NMEA" };
constexpr int kTidePage = 3;

// Builds the controls of one page, top to bottom.
class PageBuilder
{
public:
    explicit PageBuilder(QWidget* page)
        : page_(page)
        , layout_(new QVBoxLayout(page))
    {
    }

    QCheckBox* Check(const char* name, const char* caption, const char* hint = "")
    {
        auto* box = new QCheckBox(caption, page_);
        box->setObjectName(name);
        if (*hint)
            box->setToolTip(hint);
        layout_->addWidget(box);
        return box;
    }

    QRadioButton* Radio(const char* name, const char* caption)
    {
        auto* button = new QRadioButton(caption, page_);
        button->setObjectName(name);
        layout_->addWidget(button);
        return button;
    }

    // A spin box between its caption and its unit text.
    QSpinBox* Spin(const char* name, const char* caption, int low, int high, int value, const char* unit = "",
        QLabel** label = nullptr)
    {
        auto* row = new QHBoxLayout;
        auto* text = new QLabel(caption, page_);
        auto* box = new QSpinBox(page_);
        box->setObjectName(name);
        box->setRange(low, high);
        box->setValue(value);
        text->setBuddy(box);
        row->addWidget(text);
        row->addWidget(box);
        if (*unit)
            row->addWidget(new QLabel(unit, page_));
        row->addStretch();
        layout_->addLayout(row);
        if (label)
            *label = text;
        return box;
    }

    QComboBox* Combo(const char* name, const char* caption, const QStringList& items)
    {
        Text(caption);
        auto* box = new QComboBox(page_);
        box->setObjectName(name);
        box->addItems(items);
        layout_->addWidget(box);
        return box;
    }

    QLabel* Text(const char* caption, const char* name = "")
    {
        auto* label = new QLabel(caption, page_);
        if (*name)
            label->setObjectName(name);
        layout_->addWidget(label);
        return label;
    }

    // A read-only value beside its caption.
    QLabel* Value(const char* name, const char* caption)
    {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(caption, page_));
        auto* value = new QLabel(page_);
        value->setObjectName(name);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        row->addWidget(value);
        row->addStretch();
        layout_->addLayout(row);
        return value;
    }

    QPushButton* Button(const char* name, const char* caption, const char* hint = "")
    {
        auto* button = new QPushButton(caption, page_);
        button->setObjectName(name);
        if (*hint)
            button->setToolTip(hint);
        layout_->addWidget(button);
        return button;
    }

    QLineEdit* Edit(const char* name)
    {
        auto* edit = new QLineEdit(page_);
        edit->setObjectName(name);
        layout_->addWidget(edit);
        return edit;
    }

    QVBoxLayout* Layout() const { return layout_; }
    void End() { layout_->addStretch(); }

private:
    QWidget* page_;
    QVBoxLayout* layout_;
};

} // namespace

void TGlobalDlg::BuildPages()
{
    auto* outer = new QVBoxLayout(this);
    TabSet = new QTabBar(this);
    TabSet->setObjectName("TabSet");
    Notebook = new QStackedWidget(this);
    Notebook->setObjectName("Notebook");
    outer->addWidget(TabSet);
    outer->addWidget(Notebook, 1);
    QWidget* pages[kGlobalPageCount];
    for (int i = 0; i < kGlobalPageCount; ++i) {
        pages[i] = new QWidget(Notebook);
        pages[i]->setObjectName(kPageNames[i]);
        Notebook->addWidget(pages[i]);
        TabSet->addTab(kPageNames[i]);
    }

    // Colour
    {
        PageBuilder page(pages[0]);
        GlobalColor = new TColorGrid(pages[0]);
        GlobalColor->setObjectName("GlobalColor");
        GlobalColor->setEnabled(false);
        page.Layout()->addWidget(GlobalColor);
        Defaults = page.Combo("Defaults", "Coastline / Background Colour",
            { "KV Windows", "KV Classic", "White on Black", "Black on White", "Custom" });
        TextColourFG = page.Check("TextColourFG", "Text = FG");
        TrackColourFG = page.Check("TrackColourFG", "Track=FG");
        TideColourFG = page.Check("TideColourFG", "Tides=FG");
        page.End();
    }
    // Units
    {
        PageBuilder page(pages[1]);
        auto* units = new QButtonGroup(this);
        Naut = page.Radio("Naut", "Nautical Miles");
        Kilo = page.Radio("Kilo", "Kilometres");
        Stat = page.Radio("Stat", "Statute Miles");
        units->addButton(Naut, 0);
        units->addButton(Kilo, 1);
        units->addButton(Stat, 2);
        Naut->setChecked(true);
        KnAlways = page.Check("KnAlways", "Speed always");
        KnAlways->setChecked(true);
        page.Text("in Knots");
        page.Text("Position Display Mode");
        auto* modes = new QButtonGroup(this);
        LatLongMode = page.Radio("LatLongMode", "Lat/Long");
        OSGridMode = page.Radio("OSGridMode", "British Grid");
        UTMint1924 = page.Radio("UTMint1924", "UTM Intl. 1924");
        Bessel = page.Radio("Bessel", "Bessel");
        Clarke1866 = page.Radio("Clarke1866", "Clarke 1866");
        Clarke1880 = page.Radio("Clarke1880", "Clarke 1880");
        Everest = page.Radio("Everest", "Everest");
        Australian = page.Radio("Australian", "Australian 1967");
        WGS1972 = page.Radio("WGS1972", "UTM WGS 1972");
        WGS1984 = page.Radio("WGS1984", "UTM WGS 1984");
        modes->addButton(LatLongMode);
        for (int datum = 0; datum <= 8; ++datum) {
            modes->addButton(GridButton(datum));
            GridButton(datum)->setEnabled(datum == 8);
        }
        LatLongMode->setChecked(true);
        page.End();
    }
    // Nav: the route completion buttons, voices and reversal are read live.
    {
        PageBuilder page(pages[2]);
        page.Text("On Completion of route ...");
        NormalMode = page.Radio("NormalMode", "Normal - Prompt for next waypoint");
        Reverse = page.Radio("Reverse", "Reverse current route");
        RepRoute = page.Radio("RepRoute", "Repeat current route");
        NormalMode->setChecked(true);
        Deadband = page.Spin("Deadband", "XTE Deadband :", 0, 100, 5, "x 0.01 Nm");
        WP_auto = page.Check("WP_auto", "Auto Waypoint");
        WP_auto->setChecked(true);
        CapDist = page.Spin("CapDist", "Change at Rng :", 0, 100, 20, "x 0.01 Nm");
        Voice = page.Check("Voice", "XTE Voice -", "Spoken steering instructions");
        Vfreq = page.Check("Vfreq", "Only on change", "Speak when change of status");
        Vfreq->setEnabled(false);
        WPVoice = page.Check("WPVoice", "WP Voice", "Spoken WP approach warning");
        AISvoice = page.Check("AISvoice", "AIS New Target Announcement Voice");
        RevRoute = page.Check("RevRoute", "Reversed route");
        page.End();
    }
    // Tide
    {
        PageBuilder page(pages[3]);
        page.Text("Tidal Data - Standard Port");
        page.Text("High Water");
        HWhour = page.Spin("HWhour", "Hour", 0, 23, 12);
        HWMin = page.Spin("HWMin", "Minute", 0, 59, 0);
        NameLabel = page.Text("Name");
        STDport = page.Text("?", "STDport");
        STDport->setFrameShape(QFrame::Panel);
        Vspeed = page.Spin("Vspeed", "Vessel's Water speed", 0, 1000, 6, "Knots");
        Vspeed->setToolTip("To the nearest knot");
        page.Text("Enter Local Tide");
        ManTide = page.Check("ManTide", "Use");
        Tset = page.Spin("Tset", "Set \u00B0T", 0, 360, 0, "", &TsetLabel);
        Tset->setSingleStep(45);
        TDrift = page.Spin("TDrift", "Drift x0.1kn", 0, 100, 0, "", &TDriftLabel);
        AvTide = page.Button("AvTide", "Average", "Calculate average tide for this leg");
        for (QWidget* w : std::initializer_list<QWidget*> { Tset, TDrift, TsetLabel, TDriftLabel, AvTide })
            w->setEnabled(false);
        page.End();
    }
    // Chart
    {
        PageBuilder page(pages[4]);
        page.Text("Chart Offsets for GPS WG84 positions:");
        LatOffs = page.Spin("LatOffs", "LAT x 0.001 Mins (S -ve)", -10000, 10000, 0);
        LongOffs = page.Spin("LongOffs", "LONG x 0.001 Mins (W -ve)", -10000, 10000, 0);
        Cht2WGS84 = page.Button("Cht2WGS84", "->WGS84", "Remove offsets from chart and set values to 0");
        Label41 = page.Text("Convert chart to WGS84", "Label41");
        ALmode = page.Check("ALmode", "Autoload charts when required");
        ViewAngle = page.Spin("ViewAngle", "Viewing Angle 0\u00B0 = North up", 0, 359, 0);
        HeadUp = page.Check("HeadUp", "Heading Up While Navigating");
        HUPdeadB = page.Spin("HUPdeadB", "Heading Up Dead Band \u00B0", 0, 90, 0);
        page.End();
    }
    // Log
    {
        PageBuilder page(pages[5]);
        KeepTextLog = page.Check("KeepTextLog", "Keep Text Log every");
        RepRate = page.Spin("RepRate", "", 1, 100, 1, "Fixes");
        page.Text("Parser string (fixed):");
        LogParse = page.Edit("LogParse");
        LogParse->setText("@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y");
        LogParse->hide();
        page.Text("@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y");
        KeepLog = page.Check("KeepLog", "Intelligent Log Disposal");
        KeepLog->setChecked(true);
        LoseLog = page.Check("LoseLog", "Discard old fixes if log is full ");
        page.Text("Automatic Log");
        PBspeed = page.Spin("PBspeed", "Log Playback Speed", 1, 50, 1);
        // The program that shows the text log, the AIS log and the release
        // notes; empty: the desktop's own for the file.
        TBrowse = page.Button("TBrowse", "Choose Text Log Viewer");
        BrowserPath = page.Edit("BrowserPath");
        page.End();
    }
    // DR
    {
        PageBuilder page(pages[6]);
        page.Text("Dead Reckoning");
        Mspeed = page.Combo("Mspeed", "Speed", { "Use Hull Speed  (seeTidal tab)", "Use Last Logged SOG" });
        Mcourse
            = page.Combo("Mcourse", "Course", { "Use Bearing to Current Waypoint", "Use Last Logged COG" });
        page.End();
    }
    // Stats
    {
        PageBuilder page(pages[7]);
        page.Text("Statistics");
        Cpoints = page.Value("Cpoints", "Chart Points");
        Lmask = page.Value("Lmask", "Layer Mask");
        Wpoints = page.Value("Wpoints", "Waypoints");
        TidePoints = page.Value("TidePoints", "Tide diamonds");
        Rpoints = page.Value("Rpoints", "Route WPs");
        Lpoints = page.Value("Lpoints", "Quick Log");
        AISNtargets = page.Value("AISNtargets", "AIS database");
        page.Text("Session Text Log Information");
        Spoints = page.Spin("Spoints", "Text Log Fix #", 0, 1000000, 0, "", &Label27);
        Enumber = page.Spin("Enumber", "Event Number", 0, 1000000, 0, "", &Label26);
        page.End();
    }
    // Auto
    {
        PageBuilder page(pages[8]);
        page.Text("Auto Pilot NMEA Output");
        NMEAOutputOn = page.Check("NMEAOutputOn", "Send NMEA sentences on Fix:");
        sendAPB = page.Check("sendAPB", "$ECAPB");
        sendXTE = page.Check("sendXTE", "$ECXTE");
        sendHSC = page.Check("sendHSC", "$ECHSC");
        SendBOD = page.Check("SendBOD", "$ECBOD");
        for (QCheckBox* box : { sendAPB, sendXTE, sendHSC, SendBOD })
            box->setChecked(true);
        Variation = page.Spin("Variation", "Magnetic Variation W-ve:", -40, 40, -4, "", &VariationLabel);
        Variation->setToolTip("Magnetic variation to nearest degree - west negative");
        CustomGroup = new QGroupBox("Custom NMEA Output", pages[8]);
        CustomGroup->setObjectName("CustomGroup");
        auto* custom = new QVBoxLayout(CustomGroup);
        SendCustom = new QCheckBox(CustomGroup);
        SendCustom->setObjectName("SendCustom");
        CustomNMEA = new QLineEdit(CustomGroup);
        CustomNMEA->setObjectName("CustomNMEA");
        CustomNMEA->setEnabled(false);
        custom->addWidget(SendCustom);
        custom->addWidget(CustomNMEA);
        page.Layout()->addWidget(CustomGroup);
        CustomGroup->hide();
        page.End();
    }
    // NMEA: the sentence choice is read live by the NMEA input.
    {
        PageBuilder page(pages[9]);
        page.Text("NMEA Configuration");
        COMno = page.Spin("COMno", "COM Port Number :", 1, 15, 1);
        Rate = page.Combo("Rate", "Baud Rate", { "4800 NMEA", "38400 HS-NMEA" });
        Rate->setCurrentIndex(-1);
        AutoLaunch = page.Check("AutoLaunch", "Auto Open NMEA I/F on Start");
        Sent = page.Combo("Sent", "NMEA Sentence", { "GGA", "RMC" });
        page.End();
    }

    const TButtonPanel panel = AddButtonPanel(this, outer);
    OKBtn = panel.ok;
    CancelBtn = panel.cancel;
    HelpBtn = panel.help;
    SpeedButton1 = new QPushButton("&Page>", this);
    SpeedButton1->setObjectName("SpeedButton1");
    panel.row->addWidget(SpeedButton1);

    TabSet->setCurrentIndex(kTidePage);
    Notebook->setCurrentIndex(kTidePage);
}

QRadioButton* TGlobalDlg::GridButton(int datum) const
{
    QRadioButton* const buttons[]
        = { OSGridMode, UTMint1924, Bessel, Clarke1866, Clarke1880, Everest, Australian, WGS1972, WGS1984 };
    return datum >= 0 && datum <= 8 ? buttons[datum] : nullptr;
}
