#include "help/HelpViewer.h"

#include "help/ChmFile.h"
#include "help/HelpText.h"
#include "platform/QtUi.h"
#include "platform/QtWindowFrame.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPointer>
#include <QScreen>
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

// The window's size, frame excluded, and the least it is shrunk to to
// fit beside the window it documents (a page still reads at that size).
constexpr QSize kWindowSize(640, 520);
constexpr QSize kLeastSize(320, 300);

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

// The window help is asked from: the dialog or window the user is at.
// nullptr when that is a help window.
QWidget* AskingWindow()
{
    QWidget* asker = platform::OwnerWindow();
    if (!asker || qobject_cast<THelpWindow*>(asker->window()))
        return nullptr;
    return asker->window();
}

// The window help is asked from, when the help window must stay above it:
// a dialog (a modal one would otherwise keep the help window from taking
// clicks, one that stays on top would hide it). nullptr for the main window.
QWidget* DialogAsking(QWidget* asker)
{
    return qobject_cast<QDialog*>(asker) ? asker : nullptr;
}

// The frame the window manager puts round `window`; none until it has.
QMargins FrameOf(const QWidget* window)
{
    const std::optional<platform::WindowFrame> framed = platform::FramedWindow(window);
    return framed ? framed->Margins() : QMargins();
}

// The frame the window manager last put round a help window, round a
// window in its plain state (a maximised window has no side borders).
QMargins& KnownFrame()
{
    static QMargins frame;
    return frame;
}

QMargins PlainFrameOf(const QWidget* window)
{
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return {};
    return FrameOf(window);
}

// Where `window` lies with its frame.
QRect Framed(const QWidget* window)
{
    const std::optional<platform::WindowFrame> framed = platform::FramedWindow(window);
    return framed ? framed->frame : window->geometry();
}

enum class Side { Right, Left, Below, Above };
constexpr Side kSides[] = { Side::Right, Side::Left, Side::Below, Side::Above };

bool Sideways(Side side)
{
    return side == Side::Right || side == Side::Left;
}

// How far a window of `size` reaches out from a window on `side`.
int Depth(const QSize& size, Side side)
{
    return Sideways(side) ? size.width() : size.height();
}

// The room between `asker` and the edge of `screen` on `side`.
int Room(const QRect& asker, const QRect& screen, Side side)
{
    switch (side) {
    case Side::Right:
        return screen.right() - asker.right();
    case Side::Left:
        return asker.left() - screen.left();
    case Side::Below:
        return screen.bottom() - asker.bottom();
    case Side::Above:
        return asker.top() - screen.top();
    }
    return 0;
}

// A window `depth` deep on `side` of `asker`, as long along that side as
// `wanted` is, lined up with the asker's top or left edge and moved onto
// the screen where it would leave it.
QRect Beside(const QRect& asker, const QRect& screen, Side side, const QSize& wanted, int depth)
{
    QSize size = Sideways(side) ? QSize(depth, wanted.height()) : QSize(wanted.width(), depth);
    size = size.boundedTo(screen.size());
    QPoint at;
    switch (side) {
    case Side::Right:
        at = { asker.right() + 1, asker.top() };
        break;
    case Side::Left:
        at = { asker.left() - size.width(), asker.top() };
        break;
    case Side::Below:
        at = { asker.left(), asker.bottom() + 1 };
        break;
    case Side::Above:
        at = { asker.left(), asker.top() - size.height() };
        break;
    }
    at.setX(std::clamp(at.x(), screen.left(), screen.right() + 1 - size.width()));
    at.setY(std::clamp(at.y(), screen.top(), screen.bottom() + 1 - size.height()));
    return { at, size };
}

// Where a help window with `frame` round it goes beside `asker`.
QRect PlaceBesideOf(const QWidget* asker, const QMargins& frame)
{
    const QSize margins(frame.left() + frame.right(), frame.top() + frame.bottom());
    return PlaceBeside(
        Framed(asker), asker->screen()->availableGeometry(), kWindowSize + margins, kLeastSize + margins);
}

long long Area(const QRect& r)
{
    return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height();
}

} // namespace

QRect PlaceBeside(const QRect& asker, const QRect& screen, const QSize& wanted, const QSize& least)
{
    for (Side side : kSides)
        if (Room(asker, screen, side) >= Depth(wanted, side))
            return Beside(asker, screen, side, wanted, Depth(wanted, side));
    QRect placed;
    for (Side side : kSides) {
        const int room = Room(asker, screen, side);
        if (room < Depth(least, side))
            continue;
        const QRect shrunk = Beside(asker, screen, side, wanted, room);
        if (Area(shrunk) > Area(placed))
            placed = shrunk;
    }
    if (!placed.isEmpty())
        return placed;
    long long leastCovered = 0;
    for (Side side : kSides) {
        const QRect small = Beside(asker, screen, side, wanted, Depth(least, side));
        const long long covered = Area(small & asker);
        if (placed.isEmpty() || covered < leastCovered) {
            placed = small;
            leastCovered = covered;
        }
    }
    return placed;
}

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
    resize(kWindowSize);
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

void THelpWindow::ShowAbove(QWidget* owner, QWidget* asker)
{
    // A window the user has put clear of the asker stays where it is.
    const bool clear = isVisible() && asker && !Framed(this).intersects(Framed(asker));
    // The window manager's frame: this window's own once it has one, else
    // the one it put round a help window before, else the asker's, framed
    // by the same window manager (corrected once this window is framed).
    QMargins frame = isVisible() ? FrameOf(this) : QMargins();
    if (frame.isNull())
        frame = KnownFrame();
    if (frame.isNull() && asker)
        frame = PlainFrameOf(asker);
    if (frame.isNull() && asker)
        frame = FrameOf(asker);
    QWindow* wanted = nullptr;
    if (owner) {
        owner->window()->winId(); // its native window, to be owned by
        wanted = owner->window()->windowHandle();
    }
    const bool owned = windowType() == Qt::Dialog;
    if (!windowHandle() || windowHandle()->transientParent() != wanted || owned != (wanted != nullptr)) {
        // The window system reads the owner when a window is first shown: a
        // window that changes owner is made afresh, where it was.
        const QRect at = geometry();
        const bool wasVisible = isVisible();
        hide();
        if (windowHandle())
            destroy();
        setWindowFlags(wanted ? kOwnedFlags : kFreeFlags);
        create();
        windowHandle()->setTransientParent(wanted);
        if (wasVisible) {
            setGeometry(at);
            placed_ = at.marginsAdded(frame);
            placedBeside_ = nullptr;
            placedFrame_ = frame;
            placeTries_ = 0;
        }
    }
    if (asker && asker->isVisible() && !clear) {
        placed_ = PlaceBesideOf(asker, frame);
        placedBeside_ = asker;
        placedFrame_ = frame;
        placeTries_ = 0;
        // Placed by its inside: where the frame goes round a window not yet
        // shown is the window manager's to say.
        setGeometry(placed_.marginsRemoved(frame));
    }
    show();
    raise();
    activateWindow();
}

bool THelpWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    const QEvent::Type type = event->type();
    if (placed_.isNull() || (type != QEvent::Move && type != QEvent::Paint && type != QEvent::WindowActivate))
        return handled;
    const QMargins frame = FrameOf(this);
    if (frame.isNull())
        return handled;
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        KnownFrame() = frame;
    // Framed: put where it was meant to go, with the frame it has; a few
    // tries, not a fight with the window manager.
    if (frame != placedFrame_ && placedBeside_ && placedBeside_->isVisible())
        placed_ = PlaceBesideOf(placedBeside_, frame);
    placedFrame_ = frame;
    if (Framed(this) == placed_ || ++placeTries_ > 3) {
        placed_ = {};
        placedBeside_ = nullptr;
        return handled;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!placed_.isNull())
                setGeometry(placed_.marginsRemoved(placedFrame_));
        },
        Qt::QueuedConnection);
    return handled;
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
    QWidget* asker = AskingWindow();
    window->ShowAbove(DialogAsking(asker), asker);
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
