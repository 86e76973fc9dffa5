// The view and zoom properties dialog on its settings value: transfer both
// ways, the trend field and tow warnings against the log template, the line
// style switches, the switches that clear the trend selection, and the
// typing limit of the record count.

#include "dialogs/View_ZoomDlg.h"
#include "nav/NavState.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{

using platform::ModalResult;

class View_ZoomDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        NmeaLogTemplate = "@f,@d,@t,@p:4,@c,@s,@v,@x,@y"; // no '@q'
    }
    platform::ScriptedUi ui;
    TView_ZoomDlg dialog;
};

} // namespace

TEST_F(View_ZoomDlgTest, HighlightLimitReadsTheTextAndTakesZeroForNonsense)
{
    TView_ZoomSettings s;
    EXPECT_DOUBLE_EQ(HighlightLimit(s), 1000);
    s.HiLite = "lots";
    EXPECT_DOUBLE_EQ(HighlightLimit(s), 0);
}

TEST_F(View_ZoomDlgTest, OkWritesEveryControlBackCancelNothing)
{
    TView_ZoomSettings s;
    s.xZoom = 40;
    s.PlotV = "V";
    s.Lay = { true, false, true, false, true, false, true };
    s.ShowEPE = s.UseCrosses = s.BlobOn = true;
    s.Nshow = 300;
    s.HiLite = "2.5";
    TView_ZoomSettings value = s;
    ui.answerModal([](QDialog& d) {
        auto& v = static_cast<TView_ZoomDlg&>(d);
        EXPECT_EQ(v.PlotV->currentText(), "V");
        EXPECT_EQ(v.xZoom->value(), 40);
        EXPECT_TRUE(v.PlotRange->isEnabled()); // with the blobs on
        v.ShowScale->setChecked(true);
        return ModalResult::Ok;
    });
    EXPECT_TRUE(dialog.Execute(value));
    s.ShowScale = true;
    EXPECT_EQ(value, s);

    ui.answerModal([](QDialog& d) {
        static_cast<TView_ZoomDlg&>(d).ShowTrack->setChecked(false);
        return ModalResult::Cancel;
    });
    EXPECT_FALSE(dialog.Execute(value));
    EXPECT_EQ(value, s);
}

TEST_F(View_ZoomDlgTest, TrendFieldMustBeInTheTemplate)
{
    dialog.PlotV->setCurrentText("Quality of fix");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "The selected field is not in the current log format !");
    EXPECT_EQ(dialog.PlotV->currentText(), "- None");

    dialog.PlotV->setCurrentText("Vel. made good to WP");
    EXPECT_EQ(dialog.PlotV->currentText(), "Vel. made good to WP");
    dialog.PlotV->setCurrentText("");
    EXPECT_EQ(dialog.PlotV->currentText(), "- None");
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST_F(View_ZoomDlgTest, TowNeedsTheTowCode)
{
    dialog.Ubow->click();
    EXPECT_FALSE(dialog.Ubow->isChecked());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "The tow position is not in the current log format !");
    NmeaLogTemplate += ",@>:4";
    dialog.Ubow->click();
    EXPECT_TRUE(dialog.Ubow->isChecked());
}

TEST_F(View_ZoomDlgTest, LineStyleZeroIsClearedOnlyByNone)
{
    dialog.AllClick();
    for (QCheckBox* box : dialog.Lay)
        EXPECT_TRUE(box->isChecked());
    dialog.None->click();
    for (QCheckBox* box : dialog.Lay)
        EXPECT_FALSE(box->isChecked());
    dialog.Lay[3]->click();
    EXPECT_TRUE(dialog.Lay[0]->isChecked());
    dialog.Lay[0]->setChecked(false);
    dialog.Lay[3]->click(); // unchecking checks line style 0 again too
    EXPECT_FALSE(dialog.Lay[3]->isChecked());
    EXPECT_TRUE(dialog.Lay[0]->isChecked());
}

TEST_F(View_ZoomDlgTest, SurveySwitchesEnableTheirControlsAndClearTheSelection)
{
    dialog.PlotTextLog->click();
    EXPECT_FALSE(dialog.PlotV->isEnabled());
    EXPECT_FALSE(dialog.Last200->isEnabled());
    dialog.PlotTextLog->click();
    EXPECT_TRUE(dialog.PlotV->isEnabled());

    DataTrendStart = 200;
    DataTrendEndX = 80;
    dialog.Last200->click();
    EXPECT_FALSE(dialog.Nshow->isEnabled());
    EXPECT_EQ(DataTrendStart, -6);
    EXPECT_EQ(DataTrendEndX, 120);
    dialog.Last200->click();
    DataTrendStart = 200;
    dialog.Nshow->setValue(500);
    EXPECT_EQ(DataTrendStart, -6);
}

TEST_F(View_ZoomDlgTest, ShowLastCountTakesAtMostFourTypedCharacters)
{
    QLineEdit* text = dialog.Nshow->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    text->selectAll();
    for (char key : std::string("99999")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_9, Qt::NoModifier, QString(QChar(key)));
        QCoreApplication::sendEvent(dialog.Nshow, &press);
    }
    dialog.Nshow->interpretText();
    EXPECT_EQ(text->text().toStdString(), "9999");
    EXPECT_EQ(dialog.Nshow->value(), 9999);

    // A longer count a data plot selection set is shown and kept through OK.
    TView_ZoomSettings value;
    value.Nshow = 12000;
    ui.answerModal([](QDialog& d) {
        auto& v = static_cast<TView_ZoomDlg&>(d);
        v.Nshow->interpretText(); // as when the field is left
        return ModalResult::Ok;
    });
    EXPECT_TRUE(dialog.Execute(value));
    EXPECT_EQ(value.Nshow, 12000);
}
