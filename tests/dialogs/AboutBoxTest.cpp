#include "dialogs/AboutBox.h"
#include "platform/QtTimer.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

TEST(AboutBox, ShowsNameAndVersion)
{
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "About KV AIS Velta");
    EXPECT_EQ(box.ProductName->text(), "Korvane AIS Velta");
    EXPECT_EQ(box.Version->text(), "Version 6.1.1 March 2015");
    EXPECT_TRUE(box.OKButton->isDefault());
    EXPECT_FALSE(box.Timer1->running()); // until the box is active
}

TEST(AboutBox, ClosesItselfFiveSecondsAfterBecomingActive)
{
    TAboutBox box;
    box.FormActivate();
    EXPECT_TRUE(box.Timer1->running());
    EXPECT_EQ(box.Timer1->interval(), 5000);
    box.Timer1Timer();
    EXPECT_EQ(box.result(), QDialog::Rejected);
    EXPECT_FALSE(box.Timer1->running());
}

TEST(AboutBox, ClosingByOkStopsTheTimerSoAReopenedBoxGetsFullFiveSeconds)
{
    TAboutBox box;
    box.FormActivate();
    box.OKButtonClick();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.Timer1->running());

    box.FormActivate();
    EXPECT_TRUE(box.Timer1->running());
    EXPECT_GT(box.Timer1->remainingTime(), 2500);

    box.reject(); // Escape or the close box
    EXPECT_FALSE(box.Timer1->running());
}

TEST(AboutBox, ShownModallyItClosesByItsOwnTimer)
{
    TAboutBox box;
    box.Timer1->setInterval(20); // the real 5 seconds are too long for a test
    // A box that never becomes active would hang: end it with a result that
    // tells the two apart.
    QTimer::singleShot(3000, &box, [&box] { box.done(42); });
    EXPECT_EQ(box.exec(), QDialog::Rejected);
    EXPECT_FALSE(box.Timer1->running());
}

} // namespace
