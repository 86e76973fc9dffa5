// The main window's printing, clipboard, help and information commands, and
// the commands that start the sibling programs and gridmerk.

#include "mainwin/MainPrograms.h"
#include "mainwin/Main.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "dialogs/Cviewer.h"
#include "nav/NavState.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"
#include "platform/QtUi.h"
#include "platform/QtWindowState.h"
#include "rtl/Paths.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStringList>
#include <memory>
#include <stdexcept>

namespace mainwin
{

namespace
{

ProcessStarter& Starter()
{
    static ProcessStarter starter;
    return starter;
}

QPrinter* chosenPrinter = nullptr;

bool IsProgramFile(const std::string& path)
{
    const QFileInfo file(qs(path));
    return file.isFile() && file.isExecutable();
}

// The desktop's opener starts the program set for the file's type and ends
// with a failure code when there is none; korvex goes on meanwhile and
// says so when it has ended. The viewer it starts is left running when
// korvex ends.
void OpenWithDesktop(const std::string& path)
{
    const char* const opener = "xdg-open";
    if (Starter()) {
        if (!Starter()(opener, { path }, {}))
            platform::ShowMessage(NoViewerMessage(path));
        return;
    }
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto failed = [path] { platform::guarded([&] { platform::ShowMessage(NoViewerMessage(path)); }); };
    QObject::connect(
        process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
            process->deleteLater();
            if (status != QProcess::NormalExit || code != 0)
                failed();
        });
    QObject::connect(
        process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            process->deleteLater();
            failed();
        });
    process->start(opener, { qs(path) });
}

} // namespace

void SetProcessStarter(ProcessStarter starter)
{
    Starter() = std::move(starter);
}

bool StartProcess(
    const std::string& program, const std::vector<std::string>& arguments, const std::string& workingFolder)
{
    if (Starter())
        return Starter()(program, arguments, workingFolder);
    QStringList list;
    for (const std::string& argument : arguments)
        list << qs(argument);
    return QProcess::startDetached(qs(program), list, qs(workingFolder));
}

std::string FindProgram(const std::string& name, const std::string& folder)
{
    if (name.find('/') != std::string::npos)
        return name;
    for (const std::string& place : { ls(QCoreApplication::applicationDirPath()), folder }) {
        if (place.empty())
            continue;
        const std::string path = rtl::OpenPath(rtl::JoinPath(place, name));
        if (IsProgramFile(path))
            return path;
    }
    return name;
}

std::string NoViewerMessage(const std::string& path)
{
    return "Application Not Available !\nNo viewer could open " + path
        + ".\nA viewer program can be set in Options > Preferences, page Log: Choose Text Log Viewer.";
}

void OpenInTextViewer(const std::string& configured, const std::string& path)
{
    std::string program = configured;
    if (program.empty()) {
        program = FindProgram("Tracklook.exe", ls(QDir::currentPath()));
        if (!IsProgramFile(program)) {
            OpenWithDesktop(path);
            return;
        }
    } else {
        program = FindProgram(program, ls(QDir::currentPath()));
    }
    if (!StartProcess(program, { path }, {}))
        platform::ShowMessage(NoViewerMessage(path));
}

QPrinter& Printer()
{
    if (chosenPrinter)
        return *chosenPrinter;
    if (auto* qt = dynamic_cast<platform::QtUi*>(platform::installedUi()))
        return qt->printer();
    static std::unique_ptr<QPrinter> own;
    if (!own)
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *own;
}

void SetPrinter(QPrinter* printer)
{
    chosenPrinter = printer;
}

void PrintImageToFit(QPrinter& printer, const QImage& image)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("The printer cannot be opened");
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), size), image);
    painter.end();
}

} // namespace mainwin

namespace
{

const char* const kNotAvailable = "Application Not Available !";
const char* const kViewerNotAvailable = "Application Not Available";

// The image of a chart view as it is shown: its tool bar and the visible
// part of its bitmap.
QImage WindowImage(TMDIChild& view)
{
    return view.Form->grab().toImage();
}

// Starts a program; `inAppFolder` runs it with the application folder as
// its current folder, which must exist.
void StartProgram(const std::string& name, const std::vector<std::string>& arguments, bool inAppFolder,
    const char* failureText)
{
    std::string folder;
    if (inAppFolder) {
        if (!rtl::FolderExists(AppFolder))
            throw std::runtime_error("Cannot change to the folder " + AppFolder);
        folder = AppFolder;
    }
    const std::string lookIn = inAppFolder ? AppFolder : ls(QDir::currentPath());
    if (!mainwin::StartProcess(mainwin::FindProgram(name, lookIn), arguments, folder))
        platform::ShowMessage(failureText);
}

} // namespace

void TMainForm::Print1Click()
{
    TMDIChild* view = chartwin::View(0);
    if (!view)
        return;
    // A cancelled print dialog prints nothing.
    if (!platform::ui().printDialog())
        return;
    mainwin::PrintImageToFit(mainwin::Printer(), WindowImage(*view));
}

void TMainForm::PrinterSetUp1Click()
{
    QPageSetupDialog dialog(&mainwin::Printer(), this);
    platform::ui().showModal(dialog);
}

void TMainForm::CopyViewClick()
{
    TMDIChild* view = chartwin::View(0);
    if (!view)
        return;
    QGuiApplication::clipboard()->setImage(WindowImage(*view));
}

void TMainForm::Contents1Click()
{
    ShowHelpContext(1);
}

void TMainForm::KVHelp1Click()
{
    ShowHelpContext(1);
}

void TMainForm::ChartletViewer1Click()
{
    if (Cviewer)
        platform::ShowRestored(*Cviewer);
}

void TMainForm::TidalAtlasEditor1Click()
{
    StartProgram("Ebbtab4", {}, true, kNotAvailable);
}

void TMainForm::WaypointEditor1Click()
{
    StartProgram("gridmerk", {}, true, kNotAvailable);
}

void TMainForm::GPSfileconvertor1Click()
{
    StartProgram("Wptdump", {}, true, kNotAvailable);
}

void TMainForm::AISDatabaseViewer1Click()
{
    // The viewer finds the AIS database in the folder it is given.
    StartProgram("Targetbook.exe", { AppFolder }, false, kViewerNotAvailable);
}

void TMainForm::ReleaseNotes1Click()
{
    mainwin::OpenInTextViewer(BrowserPath, AppFile("Release 500.txt"));
}
