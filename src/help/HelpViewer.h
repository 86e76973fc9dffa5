#pragma once
// The help window built into the program, standing in for the platform's
// HTML help control: it reads a compiled help file through chmlib, shows a
// page with contents, back and forward, and serves the three help
// commands the programs use (show the page of a context, show a topic or
// the default page, close every help window).

#include "help/HelpApi.h"

#include <QPointer>
#include <QRect>
#include <QTextBrowser>
#include <QWidget>
#include <memory>
#include <string>

class QToolButton;

namespace help
{

class ChmFile;

// The help window's module ("hhctrl.ocx") for the loader of HelpApi.
// Makes the built-in loader hand it out.
void InstallHelpViewer();
HtmlHelpModule HelpViewerModule();

// The control's call: (caller, "file[::topic][>window]" with an optional
// "mk:@MSITStore:" in front, command, data).
HelpWindowResult HelpViewerCall(void* caller, const std::string& path, unsigned command, uintptr_t data);

// Where a window of `wanted` size goes so that `asker` stays in view on
// `screen` (all sizes and places frame included): beside it at full size
// where it fits, the right side first, then the left, below and above;
// else beside it as large as the room there allows, the largest such, no
// smaller than `least` across; else at `least` across, against an edge of
// the screen where it covers the least of `asker`.
QRect PlaceBeside(const QRect& asker, const QRect& screen, const QSize& wanted, const QSize& least);

// The page area: reads pages and pictures from the help file.
class ChmBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit ChmBrowser(const ChmFile& file, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    const ChmFile& file_;
};

class THelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit THelpWindow(std::unique_ptr<ChmFile> file);
    ~THelpWindow() override;

    // Shows a page of the file ("/sub/page.htm").
    void ShowPage(const std::string& objectPath);
    void ShowContents();
    const ChmFile& File() const { return *file_; }
    // The object path of the page shown.
    std::string CurrentPage() const;
    ChmBrowser* Browser() const { return browser_; }
    // Shows the window in front: above `owner` and transient for it, so
    // that it takes clicks while that dialog is up and stays when it
    // closes; with no owner, a window of its own. Beside `asker` (the
    // window help was asked from, owner or not) unless it lies clear of it
    // already.
    void ShowAbove(QWidget* owner, QWidget* asker);

protected:
    bool event(QEvent* event) override;

private:
    static constexpr Qt::WindowFlags kFreeFlags = Qt::Window;
    static constexpr Qt::WindowFlags kOwnedFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    void UpdateTitle();
    std::unique_ptr<ChmFile> file_;
    ChmBrowser* browser_;
    QToolButton *contents_, *back_, *forward_;
    // Where the window was put with its frame, beside which window, and the
    // frame taken, until the window manager has framed it there: put there
    // again if it went elsewhere, placed again if the frame is another.
    QRect placed_;
    QPointer<QWidget> placedBeside_;
    QMargins placedFrame_;
    int placeTries_ = 0;
};

// The help windows open now.
std::vector<THelpWindow*> OpenHelpWindows();

} // namespace help
