#include "help/HelpViewer.h"

#include "help/ChmFile.h"
#include "help/HelpText.h"
#include "platform/QtUi.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPointer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <vector>

namespace help
{

namespace
{

// Pages are "chm:/sub/page.htm", so that links on them resolve against
// the page they are on.
const QString kPageScheme = QStringLiteral("chm");

std::vector<QPointer<THelpWindow>>& Windows()
{
    static std::vector<QPointer<THelpWindow>> windows;
    return windows;
}

// The parts of a help path: "mk:@MSITStore:file::/topic>window".
struct HelpPath {
    std::string file;
    std::string topic;
};

HelpPath SplitHelpPath(std::string path)
{
    static const std::string kPrefix = "mk:@MSITStore:";
    if (path.rfind(kPrefix, 0) == 0)
        path.erase(0, kPrefix.size());
    const std::size_t window = path.find('>');
    if (window != std::string::npos)
        path.erase(window);
    HelpPath parts;
    const std::size_t topic = path.find("::");
    parts.file = path.substr(0, topic);
    if (topic != std::string::npos)
        parts.topic = path.substr(topic + 2);
    return parts;
}

// The window already showing `file`, or a new one; nullptr (with the
// reason shown) when the file cannot be read.
THelpWindow* WindowFor(const std::string& file)
{
    std::error_code ec;
    const auto wanted = std::filesystem::weakly_canonical(file, ec);
    for (const QPointer<THelpWindow>& w : Windows()) {
        std::error_code ec2;
        if (w && std::filesystem::weakly_canonical(w->File().Path(), ec2) == wanted)
            return w;
    }
    std::unique_ptr<ChmFile> chm = ChmFile::Open(file);
    if (!chm) {
        platform::ui().message(platform::MessageKind::Warning,
            "The help file \"" + file + "\" is missing or cannot be read.", platform::ApplicationTitle());
        return nullptr;
    }
    auto* window = new THelpWindow(std::move(chm));
    Windows().emplace_back(window);
    return window;
}

// The window help is asked from, when the help window must stay above it:
// a dialog (a modal one would otherwise keep the help window from taking
// clicks, one that stays on top would hide it). nullptr for the main window.
QWidget* DialogAsking(const THelpWindow* help)
{
    QWidget* owner = platform::OwnerWindow();
    if (!owner || owner == help || !qobject_cast<QDialog*>(owner))
        return nullptr;
    return owner;
}

} // namespace

ChmBrowser::ChmBrowser(const ChmFile& file, QWidget* parent)
    : QTextBrowser(parent)
    , file_(file)
{
    setObjectName("HelpPage");
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name)
{
    if (name.scheme() != kPageScheme)
        return {};
    const auto bytes = file_.Read(name.path().toStdString());
    if (!bytes)
        return {};
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromLatin1(bytes->data(), static_cast<qsizetype>(bytes->size()));
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

THelpWindow::THelpWindow(std::unique_ptr<ChmFile> file)
    : QWidget(nullptr, kFreeFlags)
    , file_(std::move(file))
{
    setObjectName("HelpWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 520);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto button = [this, bar](const char* name, const char* text) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        bar->addWidget(b);
        return b;
    };
    contents_ = button("Contents", "Contents");
    back_ = button("Back", "Back");
    forward_ = button("Forward", "Forward");
    bar->addStretch();
    layout->addLayout(bar);
    browser_ = new ChmBrowser(*file_, this);
    layout->addWidget(browser_);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(contents_, &QToolButton::clicked, this, &THelpWindow::ShowContents);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { UpdateTitle(); });
}

THelpWindow::~THelpWindow()
{
    auto& windows = Windows();
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                      [this](const QPointer<THelpWindow>& w) { return !w || w == this; }),
        windows.end());
}

void THelpWindow::ShowPage(const std::string& objectPath)
{
    QUrl url;
    url.setScheme(kPageScheme);
    url.setPath(QString::fromStdString(objectPath));
    browser_->setSource(url);
    UpdateTitle();
}

void THelpWindow::ShowContents()
{
    std::string page = file_->DefaultTopic();
    if (page.empty()) {
        const auto& pages = file_->Pages();
        if (pages.empty())
            return;
        page = pages.front();
    }
    ShowPage(page);
}

void THelpWindow::ShowAbove(QWidget* owner)
{
    QWindow* wanted = nullptr;
    if (owner) {
        owner->window()->winId(); // its native window, to be owned by
        wanted = owner->window()->windowHandle();
    }
    const bool owned = windowType() == Qt::Dialog;
    if (!windowHandle() || windowHandle()->transientParent() != wanted || owned != (wanted != nullptr)) {
        // The window system reads the owner when a window is first shown: a
        // window that changes owner is made afresh, where it was.
        const QPoint at = pos();
        const bool wasVisible = isVisible();
        hide();
        if (windowHandle())
            destroy();
        setWindowFlags(wanted ? kOwnedFlags : kFreeFlags);
        create();
        windowHandle()->setTransientParent(wanted);
        if (wasVisible)
            move(at);
    }
    show();
    raise();
    activateWindow();
}

std::string THelpWindow::CurrentPage() const
{
    return browser_->source().path().toStdString();
}

void THelpWindow::UpdateTitle()
{
    const QString page = browser_->documentTitle();
    const QString title = QString::fromLatin1(file_->Title().c_str());
    setWindowTitle(title.isEmpty() ? page : page.isEmpty() ? title : title + " - " + page);
}

std::vector<THelpWindow*> OpenHelpWindows()
{
    std::vector<THelpWindow*> open;
    for (const QPointer<THelpWindow>& w : Windows())
        if (w)
            open.push_back(w);
    return open;
}

HelpWindowResult HelpViewerCall(void*, const std::string& path, unsigned command, uintptr_t data)
{
    if (command == HH_CLOSE_ALL) {
        for (THelpWindow* w : OpenHelpWindows())
            delete w;
        return nullptr;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return std::nullopt; // no window system to show a window on
    const HelpPath parts = SplitHelpPath(path);
    if (command != HH_HELP_CONTEXT && command != HH_DISPLAY_TOPIC)
        return nullptr;
    THelpWindow* window = WindowFor(parts.file);
    if (!window)
        return nullptr;
    std::string page;
    if (command == HH_HELP_CONTEXT) {
        const auto topic = window->File().TopicOfContext(static_cast<uint32_t>(data));
        if (!topic) {
            platform::ui().message(platform::MessageKind::Warning,
                "The help file \"" + parts.file + "\" has no page for help context " + std::to_string(data)
                    + ".",
                platform::ApplicationTitle());
            if (window->CurrentPage().empty())
                delete window;
            return nullptr;
        }
        page = *topic;
    } else if (!parts.topic.empty()) {
        page = window->File().Resolve(parts.topic).value_or(std::string());
    }
    if (page.empty())
        window->ShowContents();
    else
        window->ShowPage(page);
    window->ShowAbove(DialogAsking(window));
    return static_cast<void*>(window);
}

HtmlHelpModule HelpViewerModule()
{
    HtmlHelpModule module;
    module.file = "hhctrl.ocx";
    module.htmlHelpA = HelpViewerCall;
    module.htmlHelpW = HelpViewerCall;
    // The window is Qt's text browser: its version is the control's.
    int major = 0, minor = 0, patch = 0;
    std::sscanf(qVersion(), "%d.%d.%d", &major, &minor, &patch);
    module.version = std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch) + ".0";
    return module;
}

void InstallHelpViewer()
{
    SetBuiltInModule(HelpViewerModule);
}

} // namespace help
