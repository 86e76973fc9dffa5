// The AIS target data window: closing only hides it, its popup items, and
// the target spin at both ends of the table.

#include "dialogs/AISInfo.h"
#include "nav/NavState.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{

class AISInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        AisTargetCount = 3;
        QObject::connect(&form, &TAISInfo::RefreshRequested, [this] { ++refreshes; });
    }

    TAISInfo form;
    int refreshes = 0;
};

TEST_F(AISInfoTest, StartsHiddenAndClosingOnlyHides)
{
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.TgtNum->isVisibleTo(&form));
    form.show();
    EXPECT_FALSE(form.close());
    EXPECT_FALSE(form.isVisible());
    form.show(); // the AIS button shows it again
    EXPECT_TRUE(form.isVisible());
}

TEST_F(AISInfoTest, SpinAtEitherEndChangesNothingButStillRefreshes)
{
    SelectedAisTarget = 1;
    form.TgtNumDown->click();
    EXPECT_EQ(SelectedAisTarget, 1);
    EXPECT_EQ(refreshes, 1);
    form.TgtNumUp->click();
    form.TgtNumUp->click();
    EXPECT_EQ(SelectedAisTarget, 3);
    form.TgtNumUp->click();
    EXPECT_EQ(SelectedAisTarget, 3);
    EXPECT_EQ(refreshes, 4);
}

TEST_F(AISInfoTest, PopupTogglesWrapAndStayOnTopAndCopiesTheSelection)
{
    form.WordWrap1->trigger();
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    form.StayOnTop1->trigger();
    EXPECT_FALSE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    form.StayOnTop1->trigger();
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);

    form.Memo1->setPlainText("Target 1 of 3");
    form.SelectAll1->trigger();
    form.Copy1->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Target 1 of 3");
}

} // namespace
