#include "platform/QtUi.h"
#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
};

// Once the event loop of the next modal box runs, records what it shows and
// presses `press`.
void PressWhenShown(SeenBox& seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.format = box->textFormat();
        box->button(press)->click();
    });
}

} // namespace

TEST(QtUiTest, FilterFormIsConvertedToQts)
{
    EXPECT_EQ(
        QtFileFilter("Chart files (*.cht)|*.cht|All files (*.*)|*.*"), "Chart files (*.cht);;All files (*)");
    EXPECT_EQ(QtFileFilter("Routes|*.rte;*.prn"), "Routes (*.rte *.prn)");
    EXPECT_EQ(QtFileFilter("Images (*.bmp;*.jpg)|*.bmp; *.jpg"), "Images (*.bmp *.jpg)");
    EXPECT_EQ(QtFileFilter(""), "");
    EXPECT_EQ(QtFileFilter("Dangling description"), "");
    EXPECT_EQ(QtFileFilter("|*.txt"), "(*.txt)");
}

TEST(QtUiTest, ColoursSwapBetweenBgrAndRgb)
{
    EXPECT_EQ(QColorFromBgr(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(BgrFromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
}

TEST(QtUiTest, Latin1TextsCrossUnchanged)
{
    const std::string degree = "51\xB0 30.5' N";
    EXPECT_EQ(qs(degree), QString::fromUtf8("51\u00B0 30.5' N"));
    EXPECT_EQ(ls(qs(degree)), degree);
    EXPECT_EQ(ls(QString::fromUtf8("\u20AC5")), "?5");
    EXPECT_EQ(qs(std::string("a\0b", 3)).size(), 3);
}

TEST(QtUiTest, ModalResultsMapFromExec)
{
    EXPECT_EQ(ModalResultFromExec(QDialog::Accepted), ModalResult::Ok);
    EXPECT_EQ(ModalResultFromExec(6), ModalResult::Yes);
    EXPECT_EQ(ModalResultFromExec(42), ModalResult::None);

    QtUi seam;
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(static_cast<int>(ModalResult::No)); });
    EXPECT_EQ(seam.showModal(dialog), ModalResult::No);
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_EQ(seam.showModal(dialog), ModalResult::Cancel);
    EXPECT_EQ(QtDialogClassName(dialog), "QDialog");
}

TEST(QtUiTest, MessageBoxesShowExactTextUnderTheApplicationTitle)
{
    SetApplicationTitle("KV AIS Velta");
    QtUi seam;
    SeenBox seen;
    PressWhenShown(seen, QMessageBox::Ok);
    seam.message(MessageKind::Error, "Error creating config file !", "");
    EXPECT_EQ(seen.caption, "KV AIS Velta");
    EXPECT_EQ(seen.text, "Error creating config file !");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_EQ(seen.format, Qt::PlainText) << "texts like <name> must not be taken for markup";

    PressWhenShown(seen, QMessageBox::No);
    EXPECT_FALSE(seam.askYesNo("Clear all data?", "Own caption"));
    EXPECT_EQ(seen.caption, "Own caption");
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    PressWhenShown(seen, QMessageBox::Yes);
    EXPECT_TRUE(seam.askYesNo("Clear all data?", ""));

    PressWhenShown(seen, QMessageBox::Cancel);
    EXPECT_EQ(seam.askYesNoCancel("Save chart?", ""), ModalResult::Cancel);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    PressWhenShown(seen, QMessageBox::Ok);
    seam.message(MessageKind::Warning, "51\xB0 N", "");
    EXPECT_EQ(seen.text, QString::fromUtf8("51\u00B0 N"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    SetApplicationTitle("");
}

TEST(QtUiTest, ScriptedUiNamesDialogsByClassWhenAsked)
{
    ScriptedUi ui;
    ui.nameModal = QtDialogClassName;
    ui.answerModal(nullptr);
    QDialog dialog;
    ui.showModal(dialog);
    EXPECT_EQ(ui.shown().back().kind, "modal:QDialog");
}
