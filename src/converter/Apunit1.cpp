#include "converter/Apunit1.h"

#include "converter/ConverterOptionFile.h"
#include "help/ContextHelp.h"
#include "help/HelpKeys.h"
#include "help/HelpProgram.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace
{

const char* const kNotAvailable = "Application Not Available !";
const char* const kHelpFile = "Gmkhelp.chm";
const char* const kDownloadScript = "maps.sh";
// The contexts the help file maps: its index page and its input formats page.
constexpr int kWindowHelpContext = 1;
constexpr int kFormatsHelpContext = 2;

QLabel* Caption(const char* text, QWidget* parent, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

template <class Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

QSpinBox* SpinEdit(QWidget* parent, const char* name, int low, int high, QRect where)
{
    auto* spin = Place(new QSpinBox(parent), name, where.x(), where.y(), where.width(), where.height());
    spin->setRange(low, high);
    spin->setValue(0);
    return spin;
}

// Starts "/bin/sh <script>" with its output discarded, without waiting.
bool StartScriptHidden(const std::string& script, const std::string& folder)
{
    if (!rtl::FileExists(script))
        return false;
    QProcess process;
    process.setProgram("/bin/sh");
    process.setArguments({ qs(script) });
    process.setWorkingDirectory(qs(folder));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent)
    , StartScript(StartScriptHidden)
{
    setObjectName("Form1");
    setWindowTitle("LAT LONG & OS GB GRID to Korvane chart file convertor Ver. 4.2");
    setGeometry(220, 191, 659, 453);

    startFolder_ = ls(QDir::currentPath());
    rememberedFolder_ = startFolder_;
    const std::string charts = rtl::JoinPath(startFolder_, "charts");
    OpenDialog1
        = { "", charts, "", "Input files (*.dat)|*.dat|Text files (*.txt)|*.txt|All files|*.*", "dat" };
    SaveDialog1 = { "", charts, "",
        "KV Chart Files (*.cht)|*.cht|KV Layer 1 files (*.001)|*.001|KV Layer 2 files (*.002)|*.002|"
        "KV Layer 3 files (*.003)|*.003|KV Layer 4 files (*.004)|*.004|KV Layer 5 files (*.005)|*.005|"
        "KV Layer ? files (*.00?)|*.00?",
        "cht" };

    help::ApplicationHelpFile() = rtl::JoinPath(startFolder_, kHelpFile);
    helpHook_ = std::make_unique<help::TContextHelpHook>(help::ApplicationHelpFile(), "", 0);

    BuildControls();
    ConnectHandlers();
    // F1 opens the help file's page for the window, or for the input formats.
    help::SetHelpContext(this, kWindowHelpContext);
    help::SetHelpContext(Format, kFormatsHelpContext);
    // Read at start-up only: an activation after a message box of a run
    // closes keeps what the window shows.
    LoadOptionFile();
}

void TForm1::BuildControls()
{
    Panel1 = Place(new QFrame(this), "Panel1", 8, 8, 377, 401);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);

    Caption("Progress - Lines", Panel1, 16, 8);
    Progress = Place(new QLabel("0", Panel1), "Progress", 16, 24, 105, 25);
    Progress->setFrameShape(QFrame::Panel);
    Progress->setFrameShadow(QFrame::Sunken);
    Progress->setAlignment(Qt::AlignCenter);
    start = Place(new QPushButton("Start", Panel1), "start", 136, 16, 65, 41);
    start->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    Button1 = Place(new QPushButton("NOAA Website", Panel1), "Button1", 232, 8, 121, 25);
    BitBtn1 = Place(new QPushButton("Help", Panel1), "BitBtn1", 288, 40, 65, 25);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));

    Caption("Input File", Panel1, 16, 56);
    INFile = Place(new QLineEdit("./", Panel1), "INFile", 16, 72, 305, 24);
    BrowseRep = Place(new QToolButton(Panel1), "BrowseRep", 321, 72, 24, 24);
    BrowseRep->setText("?");
    BrowseRep->setToolTip("Browse");
    Caption("Output File", Panel1, 16, 104);
    Opfile = Place(new QLineEdit("./", Panel1), "Opfile", 16, 120, 305, 24);
    BrowseOp = Place(new QToolButton(Panel1), "BrowseOp", 321, 120, 24, 24);
    BrowseOp->setText("?");
    BrowseOp->setToolTip("Browse");

    Action = Place(new QGroupBox("Options", Panel1), "Action", 16, 152, 177, 241);
    TestOnly = Place(new QRadioButton("Test", Action), "TestOnly", 8, 20, 60, 17);
    CreateFile = Place(new QRadioButton("Create File", Action), "CreateFile", 72, 20, 97, 17);
    CreateFile->setChecked(true);
    Caption("Skip First", Action, 8, 50);
    SkipFirst = SpinEdit(Action, "SkipFirst", 0, 5000, QRect(64, 46, 65, 22));
    Caption("Lines", Action, 134, 50);
    Caption("LineStyle", Action, 8, 78);
    Line_style = SpinEdit(Action, "Line_style", 0, 6, QRect(64, 74, 65, 22));
    Caption("Datum offsets W/S -ve", Action, 8, 104);
    Caption("Lat", Action, 8, 126);
    LatOS = SpinEdit(Action, "LatOS", -10000, 10000, QRect(40, 122, 70, 22));
    Caption("Long", Action, 8, 154);
    LongOS = SpinEdit(Action, "LongOS", -10000, 10000, QRect(40, 150, 70, 22));
    Caption("X", Action, 114, 140);
    const QLabel* thousandths = Caption(".001", Action, 124, 140);
    Caption("Min", Action, std::max(150, thousandths->geometry().right() + 3), 140);
    ResetButton = Place(new QPushButton("Reset", Action), "ResetButton", 8, 180, 75, 25);
    Filter = Place(new QCheckBox("Filter alternate points", Action), "Filter", 8, 214, 163, 17);

    Format = Place(new QGroupBox("Input Format", Panel1), "Format", 209, 160, 160, 185);
    Grid_in = Place(new QRadioButton("OS GB Grid  (E N)", Format), "Grid_in", 8, 20, 145, 17);
    Dec_Deg = Place(new QRadioButton("Decimal Degs", Format), "Dec_Deg", 8, 40, 145, 17);
    Dec_Deg->setChecked(true);
    Deg_mins = Place(new QRadioButton("Degs.Mins.", Format), "Deg_mins", 8, 60, 145, 17);
    Deg_mins_secs = Place(new QRadioButton("Degs.Mins.Secs", Format), "Deg_mins_secs", 8, 80, 145, 17);
    Deg_mins_secs->setEnabled(false);
    Reverse = Place(new QCheckBox("Reverse Lat/Long", Format), "Reverse", 8, 104, 145, 17);
    Reverse->setChecked(true);
    Caption("Separator", Format, 8, 130);
    Sep = Place(new QComboBox(Format), "Sep", 8, 148, 97, 24);
    Sep->setEditable(true);
    Sep->addItems({ "Tab", "Space", ":", ".", ",", ";", "/", "None" });
    Sep->setCurrentIndex(0);

    Clear = Place(new QPushButton("Clear", Panel1), "Clear", 208, 352, 75, 25);
    Exit = Place(new QPushButton("Exit", Panel1), "Exit", 296, 352, 75, 25);
    Exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    Results = Place(new QPlainTextEdit(this), "Results", 392, 8, 241, 385);
    Results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Results->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A list to read, scroll and copy from: it takes no typing, and Tab
    // moves on to the next control.
    Results->setReadOnly(true);
    Results->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Results->setTabChangesFocus(true);
    Caption("First 300 conversions (Degrees)", this, 400, 400);
}

void TForm1::ConnectHandlers()
{
    auto bind = [this](QAbstractButton* button, void (TForm1::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
            [this, handler] { platform::guardedIn(this, [this, handler] { (this->*handler)(); }); });
    };
    bind(start, &TForm1::startClick);
    bind(Grid_in, &TForm1::Grid_inClick);
    bind(Dec_Deg, &TForm1::ReverseClick);
    bind(Deg_mins, &TForm1::ReverseClick);
    bind(Reverse, &TForm1::ReverseClick);
    bind(BrowseRep, &TForm1::BrowseRepClick);
    bind(BrowseOp, &TForm1::BrowseOpClick);
    bind(Exit, &TForm1::ExitClick);
    bind(ResetButton, &TForm1::ResetButtonClick);
    bind(Clear, &TForm1::ClearClick);
    bind(BitBtn1, &TForm1::BitBtn1Click);
    bind(Button1, &TForm1::Button1Click);
}

void TForm1::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        platform::guarded([this] { FormActivate(); });
    QWidget::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    platform::guarded([this] { FormClose(); });
    event->accept();
    // The program ends with its window, help windows and all.
    help::HelpCloseAll();
}

void TForm1::FormActivate()
{
    rememberedFolder_ = ls(QDir::currentPath());
}

void TForm1::LoadOptionFile()
{
    const auto options = converter::ReadOptionFile(rememberedFolder_);
    if (!options)
        return;
    INFile->setText(qs(options->inputFile));
    Opfile->setText(qs(options->outputFile));
    LatOS->setValue(static_cast<int>(rtl::IntOr(options->latOffset)));
    LongOS->setValue(static_cast<int>(rtl::IntOr(options->lonOffset)));
    Dec_Deg->setChecked(true);
    ReverseClick();
}

void TForm1::FormClose()
{
    const converter::TConverterOptions options { ls(INFile->text()), ls(Opfile->text()),
        ls(LatOS->cleanText()), ls(LongOS->cleanText()) };
    // The window closes either way; the user is told the options are lost.
    if (!converter::WriteOptionFile(rememberedFolder_, options))
        platform::MessageError(
            "Cannot write " + rtl::JoinPath(rememberedFolder_, converter::kOptionFileName));
}

converter::TRunOptions TForm1::RunOptions() const
{
    converter::TRunOptions options;
    options.inputFile = ls(INFile->text());
    options.outputFile = ls(Opfile->text());
    options.createFile = CreateFile->isChecked();
    if (Grid_in->isChecked())
        options.format = converter::TInputFormat::Grid;
    else if (Deg_mins->isChecked())
        options.format = converter::TInputFormat::DegreesMinutes;
    else if (Deg_mins_secs->isChecked())
        options.format = converter::TInputFormat::DegreesMinutesSeconds;
    else
        options.format = converter::TInputFormat::DecimalDegrees;
    options.reverse = Reverse->isChecked();
    options.separator = ls(Sep->currentText());
    options.latOffset = LatOS->value();
    options.lonOffset = LongOS->value();
    options.lineStyle = Line_style->value();
    options.skipFirst = ls(SkipFirst->cleanText());
    options.filter = Filter->isChecked();
    return options;
}

void TForm1::startClick()
{
    converter::TRunDisplay display;
    display.clearResults = [this] { Results->clear(); };
    display.addResult = [this](const std::string& line) { AddResult(line); };
    display.showProgress = [this](const std::string& count) {
        Progress->setText(qs(count));
        Progress->repaint();
    };
    converter_.Run(RunOptions(), display);
}

void TForm1::AddResult(const std::string& line)
{
    Results->appendPlainText(qs(line));
}

std::vector<std::string> TForm1::ResultLines() const
{
    std::vector<std::string> lines;
    const QString text = Results->toPlainText();
    if (text.isEmpty())
        return lines;
    for (const QString& line : text.split('\n'))
        lines.push_back(ls(line));
    return lines;
}

void TForm1::ShowSamples(const std::vector<std::string>& lines)
{
    Results->clear();
    for (const std::string& line : lines)
        AddResult(line);
}

void TForm1::Grid_inClick()
{
    ShowSamples(converter::SampleFormat(converter::TInputFormat::Grid, Reverse->isChecked()));
}

void TForm1::ReverseClick()
{
    if (Dec_Deg->isChecked())
        ShowSamples(converter::SampleFormat(converter::TInputFormat::DecimalDegrees, Reverse->isChecked()));
    else if (Deg_mins->isChecked())
        ShowSamples(converter::SampleFormat(converter::TInputFormat::DegreesMinutes, Reverse->isChecked()));
}

void TForm1::ChangeToFolderOf(const std::string& fileName)
{
    const std::string folder = rtl::ExtractFilePath(rtl::SlashPath(fileName));
    if (folder.empty())
        return;
    std::error_code error;
    std::filesystem::current_path(rtl::OpenPath(folder), error);
    if (error)
        throw std::runtime_error("Cannot change to the folder " + folder);
}

void TForm1::BrowseRepClick()
{
    ChangeToFolderOf(ls(INFile->text()));
    OpenDialog1.fileName = "*.dat";
    if (const auto chosen = platform::ui().openFile(OpenDialog1))
        INFile->setText(qs(*chosen));
}

void TForm1::BrowseOpClick()
{
    ChangeToFolderOf(ls(Opfile->text()));
    SaveDialog1.fileName = "*.cht";
    if (const auto chosen = platform::ui().saveFile(SaveDialog1))
        Opfile->setText(qs(*chosen));
}

void TForm1::ExitClick()
{
    close();
}

void TForm1::ResetButtonClick()
{
    LatOS->setValue(0);
    LongOS->setValue(0);
    SkipFirst->setValue(0);
    Line_style->setValue(0);
    TestOnly->setChecked(true);
    Filter->setChecked(false);
}

TForm1::~TForm1() = default;

void TForm1::ClearClick()
{
    Results->clear();
    Progress->setText("0");
    Progress->repaint();
}

void TForm1::BitBtn1Click()
{
    help::ShowHelpFile(rtl::JoinPath(startFolder_, kHelpFile));
}

void TForm1::Button1Click()
{
    if (!platform::AskYesNo("Have you got an internet connection ? if so you can download coastline data."))
        return;
    if (!StartScript(rtl::JoinPath(startFolder_, kDownloadScript), startFolder_))
        platform::ShowMessage(kNotAvailable);
}
