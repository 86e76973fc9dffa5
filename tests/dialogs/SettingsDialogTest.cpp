// The preferences dialog on its settings value: the dialog opens on the
// value, OK writes it back, Cancel leaves it as it was.

#include "dialogs/GlobalDlg.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace
{

using platform::ModalResult;

// A value with every field away from the form's default.
TGlobalSettings Changed()
{
    TGlobalSettings s;
    s.TextColourFG = s.TrackColourFG = s.TideColourFG = true;
    s.Sent = 1;
    s.NormalMode = false;
    s.RepRoute = true;
    s.Voice = s.Vfreq = s.WPVoice = s.RevRoute = s.AISvoice = s.HeadUp = true;
    s.HUPdeadB = 12;
    s.RepRate = 7;
    return s;
}

// The user changes every control the program reads.
ModalResult ChangeEverything(QDialog& dialog, ModalResult closeWith)
{
    auto& d = static_cast<TGlobalDlg&>(dialog);
    for (QCheckBox* box : { d.TextColourFG, d.TrackColourFG, d.TideColourFG, d.Voice, d.Vfreq, d.WPVoice,
             d.RevRoute, d.AISvoice, d.HeadUp })
        box->setChecked(!box->isChecked());
    d.Sent->setCurrentIndex(1 - d.Sent->currentIndex());
    d.Reverse->setChecked(true);
    d.HUPdeadB->setValue(45);
    d.RepRate->setValue(20);
    return closeWith;
}

TEST(GlobalDlg, OpensOnTheValueAndOkWritesTheControlsBack)
{
    platform::ScriptedUi ui;
    TGlobalDlg dialog;
    TGlobalSettings settings = Changed();
    TGlobalSettings seen;
    ui.answerModal([&](QDialog& d) {
        seen = static_cast<TGlobalDlg&>(d).Controls();
        return ChangeEverything(d, ModalResult::Ok);
    });
    EXPECT_TRUE(dialog.Execute(settings));
    EXPECT_EQ(seen, Changed());

    TGlobalSettings expected = Changed();
    expected.TextColourFG = expected.TrackColourFG = expected.TideColourFG = false;
    expected.Voice = expected.Vfreq = expected.WPVoice = expected.RevRoute = false;
    expected.AISvoice = expected.HeadUp = false;
    expected.Sent = 0;
    expected.RepRoute = false;
    expected.Reverse = true;
    expected.HUPdeadB = 45;
    expected.RepRate = 20;
    EXPECT_EQ(settings, expected);
}

TEST(GlobalDlg, CancelLeavesTheValueAsItWas)
{
    platform::ScriptedUi ui;
    TGlobalDlg dialog;
    for (const TGlobalSettings& start : { TGlobalSettings {}, Changed() }) {
        TGlobalSettings settings = start;
        ui.answerModal([](QDialog& d) { return ChangeEverything(d, ModalResult::Cancel); });
        EXPECT_FALSE(dialog.Execute(settings));
        EXPECT_EQ(settings, start);
    }
    // Reopened, the dialog shows the value again, not what was cancelled.
    TGlobalSettings settings;
    TGlobalSettings seen = Changed();
    ui.answerModal([&](QDialog& d) {
        seen = static_cast<TGlobalDlg&>(d).Controls();
        return ModalResult::Cancel;
    });
    dialog.Execute(settings);
    EXPECT_EQ(seen, TGlobalSettings {});
}

} // namespace
