#include "dialogs/View_ZoomDlg.h"

#include "dialogs/SettingsDialog.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "platform/QtHint.h"
#include "rtl/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <cctype>

TView_ZoomSettings View_ZoomSettings;
TView_ZoomDlg* View_ZoomDlg = nullptr;

namespace
{

const char* const kTrendFields[] = { "- None", "Date", "Fix Number", "Quality of fix", "Speed Over Ground",
    "Time (Sys. or UT)", "Vel. made good to WP", "X Cross Track Error", "Y Position decimal deg." };

const char* const kLineStyleHints[] = { "Solid foreground|", "Dashed light green|", "Dashed blue|",
    "Dashed light blue|", "Solid light green|", "Solid blue|", "Solid light blue|" };

// The trend field box takes one typed character, or one of its items whole.
class TrendFieldValidator : public QValidator
{
public:
    explicit TrendFieldValidator(const QComboBox* box)
        : QValidator(const_cast<QComboBox*>(box))
        , box_(box)
    {
    }
    State validate(QString& input, int&) const override
    {
        if (input.size() <= 1 || box_->findText(input) >= 0)
            return Acceptable;
        return Invalid;
    }

private:
    const QComboBox* box_;
};

// The record count of "Show Last N=": at most four characters typed. The
// arrows step on up to the range's top, and a selection in the data plot
// may set more; such a count is shown and kept as it is.
class RecordCountBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override
    {
        if (input.size() > 4)
            return QValidator::Invalid;
        return QSpinBox::validate(input, pos);
    }
};

std::string Upper(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

} // namespace

double HighlightLimit(const TView_ZoomSettings& settings)
{
    return rtl::RealOr(settings.HiLite, 0.0);
}

TView_ZoomDlg::TView_ZoomDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("View_ZoomDlg");
    setWindowTitle("View and Zoom Properties");

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    int row = 0;
    auto spin = [&](QSpinBox*& box, const char* name, const char* caption, int high) {
        box = new QSpinBox(this);
        box->setObjectName(name);
        box->setRange(0, high);
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(box, row++, 1);
    };
    auto check = [&](QCheckBox*& box, const char* name, const char* caption, QWidget* owner) {
        box = new QCheckBox(caption, owner);
        box->setObjectName(name);
        return box;
    };
    spin(xZoom, "xZoom", "Absolute Zoom Value:", 12000);
    spin(xShape, "xShape", "WP Shape Threshold:", 12000);
    spin(xText, "xText", "WP Text Threshold:", 12000);
    spin(xTidal, "xTidal", "Tidal Text Threshold:", 12000);

    auto* switches = new QGridLayout;
    layout->addLayout(switches);
    int n = 0;
    for (auto [box, name, caption] : { std::tuple { &AutoZoom, "AutoZoom", "Auto Zoom" },
             { &ShowWPS, "ShowWPS", "Show Waypoints" }, { &ShowRT, "ShowRT", " Show Route" },
             { &ShowTide, "ShowTide", "Show Tides" }, { &ShowScale, "ShowScale", "Show Graticule" },
             { &ShowTrack, "ShowTrack", "Show Track" }, { &ShowV, "ShowV", "Show Vessel" },
             { &ShowEPE, "ShowEPE", "Show EPE" }, { &OnTop, "OnTop", "Keep on top" } }) {
        switches->addWidget(check(*box, name, caption, this), n / 3, n % 3);
        ++n;
    }
    ShowV->hide();
    ShowEPE->hide();
    OnTop->hide();

    auto* styles = new QGroupBox("Show Line Style", this);
    auto* styleRow = new QHBoxLayout(styles);
    for (int k = 0; k < 7; ++k) {
        const std::string name = "Lay" + std::to_string(k);
        check(Lay[k], name.c_str(), std::to_string(k).c_str(), styles);
        SetHint(Lay[k], kLineStyleHints[k]);
        styleRow->addWidget(Lay[k]);
        if (k > 0)
            connect(Lay[k], &QCheckBox::clicked, this, &TView_ZoomDlg::Lay1Click);
    }
    Lay[0]->setEnabled(false);
    All = new QToolButton(styles);
    All->setObjectName("All");
    All->setText("All");
    None = new QToolButton(styles);
    None->setObjectName("None");
    None->setText("None");
    styleRow->addWidget(All);
    styleRow->addWidget(None);
    layout->addWidget(styles);

    auto* survey = new QGroupBox("Survey Log", this);
    auto* surveyGrid = new QGridLayout(survey);
    check(PlotTextLog, "PlotTextLog", "Plot Survey Log", survey);
    Label5 = new QLabel("Plot Field", survey);
    Label5->setObjectName("Label5");
    PlotV = new QComboBox(survey);
    PlotV->setObjectName("PlotV");
    PlotV->setEditable(true);
    PlotV->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : kTrendFields)
        PlotV->addItem(item);
    PlotV->setValidator(new TrendFieldValidator(PlotV));
    check(EVonly, "EVonly", "Show Event Txt Only", survey);
    check(SVtrack, "SVtrack", "Show Survey Track", survey);
    SVtrack->hide();
    check(UseCrosses, "UseCrosses", "Show Fix Crosses X", survey);
    check(Ubow, "Ubow", " Plot Tow", survey);
    Ubow->hide();
    check(BlobOn, "BlobOn", "Colour", survey);
    BlobOn->hide();
    Label6 = new QLabel(" Range", survey);
    Label6->setObjectName("Label6");
    Label6->hide();
    PlotRange = new QSpinBox(survey);
    PlotRange->setObjectName("PlotRange");
    PlotRange->setRange(0, 10000);
    PlotRange->hide();
    check(Last200, "Last200", "Show Last N=", survey);
    Nshow = new RecordCountBox(survey);
    Nshow->setObjectName("Nshow");
    Nshow->setRange(0, 100000);
    Nshow->setSingleStep(100);
    Label7 = new QLabel("Highlight text if absolute value greater than ", survey);
    Label7->setObjectName("Label7");
    HiLite = new QLineEdit(survey);
    HiLite->setObjectName("HiLite");
    HiLite->setText("1000.00");
    surveyGrid->addWidget(PlotTextLog, 0, 0);
    surveyGrid->addWidget(Label5, 0, 1);
    surveyGrid->addWidget(PlotV, 0, 2);
    surveyGrid->addWidget(EVonly, 1, 0);
    surveyGrid->addWidget(SVtrack, 1, 1);
    surveyGrid->addWidget(UseCrosses, 1, 2);
    surveyGrid->addWidget(Ubow, 2, 0);
    surveyGrid->addWidget(BlobOn, 2, 1);
    surveyGrid->addWidget(Label6, 2, 2);
    surveyGrid->addWidget(PlotRange, 2, 3);
    surveyGrid->addWidget(Last200, 3, 0);
    surveyGrid->addWidget(Nshow, 3, 1);
    surveyGrid->addWidget(Label7, 4, 0, 1, 2);
    surveyGrid->addWidget(HiLite, 4, 2);
    layout->addWidget(survey);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("BitBtn1");
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    for (QCheckBox* box : { PlotTextLog, EVonly, SVtrack })
        connect(box, &QCheckBox::clicked, this, &TView_ZoomDlg::PlotTextLogClick);
    connect(PlotV, &QComboBox::currentTextChanged, this, &TView_ZoomDlg::PlotVChange);
    connect(Ubow, &QCheckBox::clicked, this, &TView_ZoomDlg::UbowClick);
    connect(BlobOn, &QCheckBox::clicked, this, &TView_ZoomDlg::BlobOnClick);
    connect(Last200, &QCheckBox::clicked, this, &TView_ZoomDlg::Last200Click);
    connect(Nshow, &QSpinBox::valueChanged, this, &TView_ZoomDlg::NshowChange);
    connect(AutoZoom, &QCheckBox::clicked, this, &TView_ZoomDlg::AutoZoomClick);
    connect(All, &QToolButton::clicked, this, &TView_ZoomDlg::AllClick);
    connect(None, &QToolButton::clicked, this, &TView_ZoomDlg::NoneClick);

    SetControls(TView_ZoomSettings {});
}

bool TView_ZoomDlg::Execute(TView_ZoomSettings& settings)
{
    return ExecuteOn(*this, settings);
}

void TView_ZoomDlg::SetControls(const TView_ZoomSettings& s)
{
    // Filling the controls is not the user working them: no handler runs.
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* control : findChildren<QObject*>())
        quiet.push_back(std::make_unique<QSignalBlocker>(control));
    xZoom->setValue(s.xZoom);
    xShape->setValue(s.xShape);
    xText->setValue(s.xText);
    xTidal->setValue(s.xTidal);
    AutoZoom->setChecked(s.AutoZoom);
    ShowWPS->setChecked(s.ShowWPS);
    ShowRT->setChecked(s.ShowRT);
    ShowTide->setChecked(s.ShowTide);
    ShowScale->setChecked(s.ShowScale);
    ShowTrack->setChecked(s.ShowTrack);
    ShowV->setChecked(s.ShowV);
    ShowEPE->setChecked(s.ShowEPE);
    OnTop->setChecked(s.OnTop);
    for (int k = 0; k < 7; ++k)
        Lay[k]->setChecked(s.Lay[k]);
    PlotTextLog->setChecked(s.PlotTextLog);
    const int item = PlotV->findText(QString::fromLatin1(s.PlotV.data(), qsizetype(s.PlotV.size())));
    if (item >= 0)
        PlotV->setCurrentIndex(item);
    PlotV->setEditText(QString::fromLatin1(s.PlotV.data(), qsizetype(s.PlotV.size())));
    EVonly->setChecked(s.EVonly);
    SVtrack->setChecked(s.SVtrack);
    UseCrosses->setChecked(s.UseCrosses);
    Ubow->setChecked(s.Ubow);
    BlobOn->setChecked(s.BlobOn);
    PlotRange->setValue(s.PlotRange);
    Last200->setChecked(s.Last200);
    Nshow->setValue(s.Nshow);
    HiLite->setText(QString::fromLatin1(s.HiLite.data(), qsizetype(s.HiLite.size())));
    UpdateEnabledStates();
}

TView_ZoomSettings TView_ZoomDlg::Controls() const
{
    TView_ZoomSettings s;
    s.xZoom = xZoom->value();
    s.xShape = xShape->value();
    s.xText = xText->value();
    s.xTidal = xTidal->value();
    s.AutoZoom = AutoZoom->isChecked();
    s.ShowWPS = ShowWPS->isChecked();
    s.ShowRT = ShowRT->isChecked();
    s.ShowTide = ShowTide->isChecked();
    s.ShowScale = ShowScale->isChecked();
    s.ShowTrack = ShowTrack->isChecked();
    s.ShowV = ShowV->isChecked();
    s.ShowEPE = ShowEPE->isChecked();
    s.OnTop = OnTop->isChecked();
    for (int k = 0; k < 7; ++k)
        s.Lay[k] = Lay[k]->isChecked();
    s.PlotTextLog = PlotTextLog->isChecked();
    s.PlotV = PlotV->currentText().toLatin1().toStdString();
    s.EVonly = EVonly->isChecked();
    s.SVtrack = SVtrack->isChecked();
    s.UseCrosses = UseCrosses->isChecked();
    s.Ubow = Ubow->isChecked();
    s.BlobOn = BlobOn->isChecked();
    s.PlotRange = PlotRange->value();
    s.Last200 = Last200->isChecked();
    s.Nshow = Nshow->value();
    s.HiLite = HiLite->text().toLatin1().toStdString();
    return s;
}

void TView_ZoomDlg::UpdateEnabledStates()
{
    const bool survey = PlotTextLog->isChecked();
    for (QWidget* control :
        std::initializer_list<QWidget*> { PlotV, EVonly, SVtrack, Label5, Label7, UseCrosses, Ubow, Last200 })
        control->setEnabled(survey);
    PlotRange->setEnabled(BlobOn->isChecked());
    Label6->setEnabled(BlobOn->isChecked());
    Nshow->setEnabled(Last200->isChecked());
}

void TView_ZoomDlg::PlotTextLogClick()
{
    UpdateEnabledStates();
}

void TView_ZoomDlg::PlotVChange()
{
    const std::string text = PlotV->currentText().toLatin1().toStdString();
    if (text.empty()) {
        PlotV->setCurrentIndex(0);
        return;
    }
    if (text[0] == '-')
        return;
    const std::string code = "@" + Upper(text.substr(0, 1));
    if (Upper(NmeaLogTemplate).find(code) == std::string::npos) {
        platform::MessageWarning("The selected field is not in the current log format !");
        PlotV->setCurrentIndex(0);
        PlotV->setEditText(PlotV->itemText(0));
    }
}

void TView_ZoomDlg::UbowClick()
{
    if (Ubow->isChecked() && NmeaLogTemplate.find("@>") == std::string::npos) {
        platform::MessageWarning("The tow position is not in the current log format !");
        PlotV->setCurrentIndex(0);
        Ubow->setChecked(false);
    }
}

void TView_ZoomDlg::BlobOnClick()
{
    UpdateEnabledStates();
}

void TView_ZoomDlg::Last200Click()
{
    UpdateEnabledStates();
    if (!Last200->isChecked())
        NshowChange();
}

void TView_ZoomDlg::NshowChange()
{
    // Another count of records: the trend selection no longer applies.
    DataTrendStart = -6;
    DataTrendEndX = 120;
}

void TView_ZoomDlg::AutoZoomClick()
{
    // The zoom-for-range rule reads the range to the active waypoint.
    ComputeWaypointLeg();
}

void TView_ZoomDlg::AllClick()
{
    for (QCheckBox* box : Lay)
        box->setChecked(true);
}

void TView_ZoomDlg::NoneClick()
{
    for (QCheckBox* box : Lay)
        box->setChecked(false);
}

void TView_ZoomDlg::Lay1Click()
{
    Lay[0]->setChecked(true);
}
