// The text survey log: a record every configured number of fixes and an
// event for every manual fix (nav/TextLog.h has the file's form), opening an
// earlier track or text log, saving the track log under another name, a new
// template from the preferences, the text-log button, and the outside
// viewer for the text and AIS logs. Also the window's '@' template
// expander, which the record line, the monitor sentence and the waypoint
// upload share.

#include "mainwin/Main.h"
#include "mainwin/MainPrograms.h"

#include "nav/FileNameParts.h"
#include "nav/LogTemplate.h"
#include "nav/NavState.h"
#include "nav/TextLog.h"
#include "nav/TrackLog.h"
#include "platform/QtText.h"
#include "rtl/Paths.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QToolButton>

namespace
{

const char* const kTextLogError = "Error Writing Text Log";

// Starts the log viewer on `path`, handed over as one argument whatever
// blanks or shell characters the path holds.
void StartLogViewer(const std::string& path)
{
    mainwin::OpenInTextViewer(BrowserPath, path);
}

} // namespace

void TMainForm::SetUpTextLog()
{
    OpenLogDialog.title = "Open a log file";
    OpenLogDialog.defaultExt = "log";
    OpenLogDialog.filter = "KV Log Files (*.log)|*.log|KV Text Log Files (*.txt)|*.txt";
    Bind(Logs1, &TMainForm::Logs1Click);
    Bind(SaveLogAs1, &TMainForm::SaveLogAs1Click);
    Bind(ViewTextLog1, &TMainForm::ViewTextLog1Click);
    Bind(AISTracklooker1, &TMainForm::AISTracklooker1Click);
    Bind(TxtLogOnOff, &TMainForm::TxtLogOnOffClick);
}

std::string TMainForm::ExpandTemplate(const std::string& text)
{
    return ExpandLogTemplate(text, ls(WPName->currentText()));
}

void TMainForm::WriteTextLogLine(bool Event)
{
    const bool penUp = ComTimeZero && PenUp1->isChecked();
    const TextLogWrite result
        = AppendTextLogRecord(Event, penUp, [this](const std::string& text) { return ExpandTemplate(text); });
    ReportLogWrite(
        result != TextLogWrite::Failed, textLogFailing_, platform::MessageKind::Warning, kTextLogError);
}

void TMainForm::ReportLogWrite(
    bool written, bool& failing, platform::MessageKind kind, const std::string& text)
{
    if (written) {
        failing = false;
        return;
    }
    if (failing) {
        StatusLine->setText(qs(text));
        return;
    }
    failing = true;
    if (kind == platform::MessageKind::Error)
        platform::MessageError(text);
    else
        platform::MessageWarning(text);
}

void TMainForm::Logs1Click()
{
    if (!ExecuteOpen(OpenLogDialog))
        return;
    const std::string chosen = OpenLogDialog.fileName;
    const std::string kind = rtl::UpperCase(ExtractFileExtension(chosen));
    // A name with a further '.' ("day.1.txt") is of neither kind: its base
    // name would point at another file, so nothing changes.
    if (kind != "LOG" && kind != "TXT")
        return;
    if (kind == "LOG") {
        LoadLogFile(chosen);
    } else {
        TextLogName = ExtractFileBaseName(chosen);
    }
    // A track log and a text log of one name belong together.
    LogBaseName = ExtractFileBaseName(chosen);
    LogsFolder = ExtractFileDir(chosen);
    OpenLogDialog.initialFolder = LogsFolder;
    TextLogLineCount = 0;

    OpenTextLog(TextLogPath());
    RefreshAllViews();
    UpdateMenuItems();
}

void TMainForm::SaveLogAs1Click()
{
    if (!ExecuteSave(SaveLogDlg))
        return;
    SaveLogFile(SaveLogDlg.fileName);
}

void TMainForm::ViewTextLog1Click()
{
    StartLogViewer(TextLogPath());
}

void TMainForm::AISTracklooker1Click()
{
    // The day's AIS log is "<date>.AIS"; the name is matched without regard
    // to case, so the viewer gets the file as it is on disk.
    StartLogViewer(rtl::OpenPath(LogsFile(LogBaseName + ".ais")));
}

void TMainForm::ShowTextLogSwitch()
{
    // The button is down while text logging is off.
    TxtLogOnOff->setChecked(!TextLogOn);
    SetHint(TxtLogOnOff, TextLogOn ? "Press for Text Logs Off|" : "Release for Text Logs On|");
}

void TMainForm::TxtLogOnOffClick()
{
    // The button is down while text logging is off. A choice made during AIS
    // log playback stands when the playback ends.
    DropTextLogHold();
    TextLogOn = !TxtLogOnOff->isChecked();
    SetHint(TxtLogOnOff, TextLogOn ? "Press for Text Logs Off|" : "Release for Text Logs On|");
}

void TMainForm::TextLogFormatChange(const std::string& typed)
{
    NmeaLogTemplate = typed;
    if (NmeaLogTemplate == NmeaLogTemplatePrev)
        return;
    if (platform::AskYesNo("Log format has changed ! Overwrite the log file ?")) {
        if (RewriteTextLog(typed))
            return;
        // The old log stands with its old template: records in the new form
        // would not match its template line.
        platform::MessageWarning(kTextLogError);
    }
    NmeaLogTemplate = NmeaLogTemplatePrev;
}
