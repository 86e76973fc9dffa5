// Every window, dialog and page of both programs, shown offscreen with the
// default fonts: each label, button, check box, radio button and group box
// title fits its widget, is not clipped by the windows around it and is not
// covered by a control in front of it; each window title fits its title bar.
//
// The default font is the platform's "Sans Serif" at 9 points, which
// fontconfig resolves to DejaVu Sans (scripts/install-deps.sh installs
// fonts-dejavu-core) at 96 dpi: 12 pixels, the same offscreen and on an X
// display, so what fits here fits on the desktop. The test checks that
// premise first.

#include "converter/Apunit1.h"
#include "dialogs/AISInfo.h"
#include "dialogs/AboutBox.h"
#include "dialogs/AlarmDialog.h"
#include "dialogs/CTRef.h"
#include "dialogs/Cviewer.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/OKRightDlg.h"
#include "dialogs/View_ZoomDlg.h"
#include "dialogs/WPeditDlg.h"
#include "help/ChmFile.h"
#include "help/HelpViewer.h"
#include "mainwin/ProgramForms.h"
#include "nav/AisTargetInfo.h"
#include "nav/NavState.h"
#include "platform/QtUi.h"
#include "serial/SerSelCom.h"
#include "support/QtWait.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOption>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <cmath>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace
{

// A window title's room. Window managers draw the title in the desktop's
// interface font, bold (openbox: sans 8 pt bold; GNOME and KDE: their
// interface font), so it is measured in the application font made bold.
// The title bar also holds the window icon and up to three buttons
// (minimise, maximise, close), each about as wide as the bar is high,
// 22 pixels (openbox's default theme takes 16), and a margin of 8 pixels at
// each end: the title gets the frame's width less 4 x 22 + 2 x 8 = 104
// pixels.
constexpr int kTitleBarButtonsRoom = 4 * 22 + 2 * 8;

QString ShownText(QString text)
{
    // "&&" shows one '&', a single '&' marks the mnemonic.
    text.replace(QLatin1String("&&"), QString(QChar(0xFFFF)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0xFFFF), QLatin1Char('&'));
    return text;
}

QString Describe(const QWidget* w)
{
    const QString name = w->objectName().isEmpty() ? QString() : " " + w->objectName();
    QString text;
    if (auto* l = qobject_cast<const QLabel*>(w))
        text = l->text();
    else if (auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text();
    else if (auto* g = qobject_cast<const QGroupBox*>(w))
        text = g->title();
    return QString("%1%2 \"%3\"").arg(w->metaObject()->className(), name, text);
}

// Where a widget draws its text, in its own coordinates, or an empty rect
// when it draws none that is checked here. `room` becomes the part of the
// widget the text must fit in.
QRect TextRect(QWidget* w, QRect& room)
{
    room = w->rect();
    const Qt::LayoutDirection dir = w->layoutDirection();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty())
            return {};
        room = label->contentsRect();
        QSize need = label->sizeHint() - (label->rect().size() - room.size());
        if (label->wordWrap())
            need = QSize(
                room.width(), label->heightForWidth(label->width()) - (label->height() - room.height()));
        return QStyle::alignedRect(dir, label->alignment(), need, room);
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        if (box->title().isEmpty())
            return {};
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.lineWidth = 1;
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        if (box->isCheckable())
            option.subControls |= QStyle::SC_GroupBoxCheckBox;
        if (box->isFlat())
            option.features |= QStyleOptionFrame::Flat;
        QRect title
            = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        if (box->isCheckable())
            title |= box->style()->subControlRect(
                QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, box);
        return title;
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || button->text().isEmpty())
        return {};
    const QFontMetrics fm = button->fontMetrics();
    const QString text = ShownText(button->text());
    const int iconRoom = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool check = qobject_cast<QCheckBox*>(w);
        room = button->style()->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, button);
        const QRect drawn = QStyle::alignedRect(dir, Qt::AlignLeft | Qt::AlignVCenter,
            QSize(fm.horizontalAdvance(text) + iconRoom, fm.height()), room);
        const QRect indicator = button->style()->subElementRect(
            check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option, button);
        room = button->rect();
        return drawn | indicator;
    }
    if (auto* tool = qobject_cast<QToolButton*>(w)) {
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull())
            return {};
        // Drawn centred inside the button's frame.
        const int frame = tool->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tool);
        room = tool->rect().adjusted(frame, frame, -frame, -frame);
        return QStyle::alignedRect(
            dir, Qt::AlignCenter, QSize(fm.horizontalAdvance(text) + iconRoom, fm.height()), room);
    }
    if (auto* push = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        option.icon = push->icon();
        option.iconSize = push->iconSize();
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
        // The contents rect keeps the frame; the text needs its own width
        // and a little air either side.
        return QStyle::alignedRect(
            dir, Qt::AlignCenter, QSize(fm.horizontalAdvance(text) + iconRoom + 4, fm.height()), room);
    }
    return {};
}

// Widgets that paint over whatever lies behind them.
bool Opaque(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSpinBox*>(w)
        || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QAbstractScrollArea*>(w) || w->autoFillBackground()
        || w->testAttribute(Qt::WA_OpaquePaintEvent);
}

// The faults of one widget's text: too big for its room, clipped by a
// window around it, or covered by a sibling in front.
void CheckText(QWidget* w, QWidget* window, QStringList& faults)
{
    QRect room;
    const QRect text = TextRect(w, room);
    if (text.isEmpty())
        return;
    if (!room.contains(text)) {
        faults << QString("%1 needs %2x%3, has %4x%5")
                      .arg(Describe(w))
                      .arg(text.width())
                      .arg(text.height())
                      .arg(room.width())
                      .arg(room.height());
        return;
    }
    QRect here = text; // in the coordinates of `level`
    for (QWidget* level = w; level != window; level = level->parentWidget()) {
        QWidget* parent = level->parentWidget();
        here.translate(level->pos());
        if (!parent->rect().contains(here)) {
            faults << Describe(w) + " is cut off by " + Describe(parent);
            return;
        }
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(level) + 1; i < siblings.size(); ++i) {
            auto* sibling = qobject_cast<QWidget*>(siblings[i]);
            if (!sibling || sibling->isWindow() || !sibling->isVisibleTo(window))
                continue;
            QRect behind;
            const QRect covered = Opaque(sibling) ? sibling->geometry()
                                                  : TextRect(sibling, behind).translated(sibling->pos());
            if (covered.intersects(here)) {
                faults << Describe(w) + " is covered by " + Describe(sibling);
                return;
            }
        }
    }
}

// The title's faults: a top-level window's title against kTitleBarButtonsRoom,
// a chart view's against the room Qt's own title bar gives it.
void CheckTitle(QWidget* window, QStringList& faults)
{
    const QString title = window->windowTitle();
    if (title.isEmpty())
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window)) {
        QStyleOptionTitleBar option;
        option.initFrom(sub);
        option.text = title;
        option.titleBarFlags = sub->windowFlags();
        option.subControls = QStyle::SC_All;
        const int height = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
        option.rect = QRect(0, 0, sub->width(), height);
        const QRect label
            = sub->style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, sub);
        const int need = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title);
        if (need > label.width())
            faults << QString("title \"%1\" needs %2, has %3").arg(title).arg(need).arg(label.width());
        return;
    }
    QFont font = QApplication::font();
    font.setBold(true);
    const int need = QFontMetrics(font).horizontalAdvance(title);
    const int has = window->frameGeometry().width() - kTitleBarButtonsRoom;
    if (need > has)
        faults << QString("title \"%1\" needs %2, has %3").arg(title).arg(need).arg(has);
}

// Every fault of a shown window and the windows inside it (chart views).
QStringList Faults(QWidget* window)
{
    QStringList faults;
    CheckTitle(window, faults);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (qobject_cast<QMdiSubWindow*>(w)) {
            faults << Faults(w);
            continue;
        }
        QWidget* own = w->parentWidget();
        while (own != window && !qobject_cast<QMdiSubWindow*>(own))
            own = own->parentWidget();
        if (own == window)
            CheckText(w, window, faults);
    }
    return faults;
}

// The faults of a read-only memo's lines: the word wrap breaks a line only
// between words, and no line lies under `over`, a control drawn on top of
// the memo.
QStringList MemoFaults(QPlainTextEdit* memo, const QWidget* over)
{
    QStringList faults;
    const QRect covered(memo->viewport()->mapFromGlobal(over->mapToGlobal(QPoint(0, 0))), over->size());
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) {
        QTextLayout* layout = b.layout();
        const QString text = b.text();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int end = line.textStart() + line.textLength();
            if (i + 1 < layout->lineCount() && end > 0 && end < text.size() && !text.at(end - 1).isSpace()
                && !text.at(end).isSpace())
                faults << "word broken: " + text;
            QTextCursor start(b);
            start.setPosition(b.position() + line.textStart());
            const QRect drawn(memo->cursorRect(start).topLeft(),
                QSize(int(std::ceil(line.naturalTextWidth())), int(std::ceil(line.height()))));
            if (over->isVisible() && drawn.intersects(covered))
                faults << "under " + over->objectName() + ": " + text;
        }
    }
    return faults;
}

// Shows a window, lets it lay itself out, and gives its faults.
QStringList Shown(QWidget* window)
{
    window->show();
    QApplication::processEvents();
    QStringList faults = Faults(window);
    window->hide();
    return faults;
}

// The detail view's columns of a file dialog, once its folder is read.
QStringList ColumnFaults(QFileDialog* dialog)
{
    QStringList faults;
    dialog->setViewMode(QFileDialog::Detail);
    auto* tree = dialog->findChild<QTreeView*>("treeView");
    auto* model = dialog->findChild<QFileSystemModel*>();
    if (!tree || !model)
        return { "no detail view" };
    if (!kvtest::WaitFor([&] { return model->rowCount(tree->rootIndex()) > 0; }))
        return { "folder not read" };
    QApplication::processEvents();
    QHeaderView* header = tree->header();
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i))
            continue;
        int need = header->sectionSizeHint(i);
        for (int row = 0; row < model->rowCount(tree->rootIndex()); ++row)
            need = std::max(need, tree->sizeHintForIndex(model->index(row, i, tree->rootIndex())).width());
        if (header->sectionSize(i) < need)
            faults << QString("column \"%1\" needs %2, has %3")
                          .arg(model->headerData(i, Qt::Horizontal).toString())
                          .arg(need)
                          .arg(header->sectionSize(i));
    }
    return faults;
}

// The faults of the modal window a seam call opens, taken while it is up;
// `more` adds checks of its own.
QStringList ModalFaults(
    const std::function<void()>& open, const std::function<QStringList(QWidget*)>& more = nullptr)
{
    QStringList faults;
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = true;
        faults = Faults(modal);
        if (more)
            faults << more(modal);
        modal->close();
    });
    poll.start(20);
    open();
    if (!seen)
        faults << "no window came up";
    return faults;
}

struct WindowCase {
    const char* name;
    std::function<QStringList()> faults;
};

class WindowTextFitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedCwd_ = std::filesystem::current_path();
        std::filesystem::copy(std::filesystem::path(KV_SOURCE_DIR) / "demo", dir.path(),
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        std::filesystem::current_path(dir.path());
        ResetNavState();
        // The file dialogs keep their view and column widths in the user's
        // settings: a fresh set in the temporary folder, so that the dialogs
        // open as on a first run and the user's own stay untouched.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path() + "/config"));
    }
    void TearDown() override
    {
        FreeProgramForms();
        std::filesystem::current_path(savedCwd_);
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;

private:
    std::filesystem::path savedCwd_;
};

TEST_F(WindowTextFitTest, EveryTextFitsItsWidget)
{
    const QFontInfo font(QApplication::font());
    ASSERT_EQ(font.family(), "DejaVu Sans");
    ASSERT_EQ(font.pixelSize(), 12);

    // korvex as it starts on the demo folder: the main window with the AIS
    // view and the chart view of the configured chart.
    CreateProgramForms(TStartOptions { {}, QSize(1024, 768) });
    ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
    MainForm->SecsTimerTimer();


    platform::QtUi qtUi;
    const std::string demoCharts = (std::filesystem::current_path() / "charts").string();
    const platform::FileDialogRequest chartFile { "Open Chart", demoCharts, "",
        "Chart files (*.cht)|*.cht|All files (*.*)|*.*", "cht" };
    std::unique_ptr<TForm1> converter;
    // A dialog the main window fills and opens through the seam, checked
    // while it is open.
    auto AsOpened
        = [this](const std::function<void()>& command, const std::function<QStringList(QWidget*)>& check) {
              QStringList faults { "not opened" };
              ui.answerModal([&](QDialog& dialog) {
                  faults = check(&dialog);
                  return platform::ModalResult::Cancel;
              });
              command();
              return faults;
          };
    auto help = [](const char* file) {
        help::THelpWindow window(help::ChmFile::Open(file));
        window.ShowContents();
        return Shown(&window);
    };

    const std::vector<WindowCase> cases = {
        { "main window", [] { return Shown(MainForm); } },
        { "Timing Functions", [&] { return AsOpened([] { MainForm->Alarms1Click(); }, Shown); } },
        { "View and Zoom Properties", [] { return Shown(View_ZoomDlg); } },
        { "About", [] { return Shown(AboutBox); } },
        { "Edit Nearest Waypoint", [] { return Shown(WPeditDlg); } },
        { "Image Reference Information", [] { return Shown(CTRef); } },
        { "raster image viewer", [] { return Shown(Cviewer); } },
        { "Edit Selected Route Waypoint", [] { return Shown(OKRightDlg); } },
        { "AIS Target Data",
            [] {
                AISInfo->show();
                AISInfo->TgtNum->show(); // stepping by hand
                QApplication::processEvents();
                // Written once the window is up (the views' timers clear it
                // while no target is selected), then laid out and drawn.
                // A target with the longest texts its data can give: a
                // name and a destination of 20 capitals of average width.
                AisTargetRecord& target = AisTargets[1];
                target.mmsi = 235000001;
                target.messageType = 5;
                target.name = "NNNNNNNNNNNNNNNNNNNN";
                target.destination = "NNNNNNNNNNNNNNNNNNNN";
                target.callSign = "NNNNNNN";
                target.navStatus = 3;
                target.trueHeading = 511;
                AisTargetCount = 1;
                nav::AisInfoContext context;
                context.playbackName = "31-12-26";
                AISInfo->Memo1->clear();
                for (const std::string& line : nav::AisTargetInfoLines(1, context))
                    AISInfo->Memo1->appendPlainText(QString::fromLatin1(line.c_str()));
                QApplication::sendPostedEvents();
                AISInfo->Memo1->viewport()->repaint();
                if (AISInfo->Memo1->document()->blockCount() < 20)
                    return QStringList { "no target's data shown" };
                QStringList faults = Faults(AISInfo);
                faults << MemoFaults(AISInfo->Memo1, AISInfo->TgtNum);
                if (AISInfo->width() > 260)
                    faults << QString("%1 wide where 186 is asked").arg(AISInfo->width());
                AISInfo->hide();
                return faults;
            } },
        { "Preferences, every page",
            [&] {
                return AsOpened([] { MainForm->GlobalViewClick(); },
                    [](QWidget*) {
                        QStringList faults;
                        for (int page = 0; page < kGlobalPageCount; ++page) {
                            GlobalDlg->TabSet->setCurrentIndex(page);
                            for (const QString& f : Shown(GlobalDlg))
                                faults << GlobalDlg->Notebook->currentWidget()->objectName() + ": " + f;
                        }
                        return faults;
                    });
            } },
        { "Select Port",
            [] {
                serial::TComSelectForm form;
                return Shown(&form);
            } },
        { "korvex help", [&] { return help("KVAIS6.chm"); } },
        { "korvex message box",
            [&] {
                platform::SetApplicationTitle("KV AIS Velta");
                return ModalFaults([&] { qtUi.message(platform::MessageKind::Information, "Done", ""); });
            } },
        { "open dialog",
            [&] {
                return ModalFaults([&] { qtUi.openFile(chartFile); },
                    [](QWidget* w) { return ColumnFaults(qobject_cast<QFileDialog*>(w)); });
            } },
        { "save dialog",
            [&] {
                return ModalFaults([&] { qtUi.saveFile(chartFile); },
                    [](QWidget* w) { return ColumnFaults(qobject_cast<QFileDialog*>(w)); });
            } },
        { "print dialog", [&] { return ModalFaults([&] { qtUi.printDialog(); }); } },
        { "gridmerk window",
            [&] {
                converter = std::make_unique<TForm1>();
                return Shown(converter.get());
            } },
        { "gridmerk help", [&] { return help("Gmkhelp.chm"); } },
        { "gridmerk message box",
            [&] {
                platform::SetApplicationTitle("Position to KV Chart Convertor");
                return ModalFaults([&] { qtUi.message(platform::MessageKind::Information, "Done", ""); });
            } },
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.faults().join("\n").toStdString(), "");
    }
}

TEST_F(WindowTextFitTest, MainWindowTextsFitAtItsSmallestSize)
{
    CreateProgramForms(TStartOptions { {}, QSize(1024, 768) });
    ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
    MainForm->SecsTimerTimer();
    MainForm->show();
    QApplication::processEvents();
    MainForm->SecsTimerTimer(); // the clock panel
    ASSERT_FALSE(MainForm->TimePanel->text().isEmpty());
    ASSERT_FALSE(MainForm->PosnPanel->text().isEmpty());
    for (const bool plot : { false, true }) {
        SCOPED_TRACE(plot ? "with the data trend plot" : "without the data trend plot");
        if (plot)
            MainForm->DataPlot1Click();
        MainForm->layout()->activate();
        MainForm->resize(MainForm->minimumSize());
        QApplication::processEvents();
        ASSERT_EQ(MainForm->size(), MainForm->minimumSize());
        EXPECT_EQ(Faults(MainForm).join("\n").toStdString(), "");
    }
    MainForm->hide();
}

} // namespace
