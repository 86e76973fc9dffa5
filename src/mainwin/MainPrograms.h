#pragma once
// What the main window's printing and program commands reach outside the
// program: the printer and the start of another program. Each goes through
// a replaceable function, so tests print to a PDF file and see the program
// and arguments that would have been started.

#include <functional>
#include <string>
#include <vector>

class QImage;
class QPrinter;

namespace mainwin
{

// Starts `program` with `arguments` (an argument list, never a command line
// for a shell) in `workingFolder` (empty: the current folder), without
// waiting for it. True when the program was started.
using ProcessStarter = std::function<bool(
    const std::string& program, const std::vector<std::string>& arguments, const std::string& workingFolder)>;

// Replaces the process start; an empty function restores the real one.
void SetProcessStarter(ProcessStarter starter);
bool StartProcess(
    const std::string& program, const std::vector<std::string>& arguments, const std::string& workingFolder);

// Where a program named `name` is found: beside korvex, then in `folder`
// (the current folder of the start), then the name itself for the search
// path. A name with a '/' is a path and is taken as it stands.
std::string FindProgram(const std::string& name, const std::string& folder);

// Opens the text file `path` in a viewer: `configured` (the configured
// viewer program) when not empty; else the log viewer "Tracklook.exe" when
// it is found beside korvex or in the current folder; else the desktop's
// default opener for the file ("xdg-open"). When the viewer cannot be
// started, or the desktop's opener ends with a failure (it has nothing for
// the file), the message NoViewerMessage(path) is shown; for the opener
// that is when it ends, after this has returned.
void OpenInTextViewer(const std::string& configured, const std::string& path);
std::string NoViewerMessage(const std::string& path);

// The printer the print commands print on and the printer set-up edits:
// the one set here, else the Qt dialog seam's shared printer, else one of
// the program's own.
QPrinter& Printer();
// nullptr goes back to the seam's printer.
void SetPrinter(QPrinter* printer);

// One page with `image` as large as fits the printable area, its shape
// kept, at the top left corner. Throws std::runtime_error when the printer
// cannot be opened.
void PrintImageToFit(QPrinter& printer, const QImage& image);

} // namespace mainwin
