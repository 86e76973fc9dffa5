#include "dialogs/AboutBox.h"
#include "platform/QtTimer.h"

#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

TEST(AboutBox, ClosesFiveSecondsAfterBecomingActiveAndAReopenedBoxGetsTheFullTime)
{
    TAboutBox box;
    EXPECT_FALSE(box.Timer1->running()); // until the box is active
    box.FormActivate();
    EXPECT_EQ(box.Timer1->interval(), 5000);
    box.Timer1Timer();
    EXPECT_EQ(box.result(), QDialog::Rejected);
    EXPECT_FALSE(box.Timer1->running());

    // Closing by OK, Escape or the close box stops the timer too.
    box.FormActivate();
    box.OKButtonClick();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.Timer1->running());
    box.FormActivate();
    EXPECT_GT(box.Timer1->remainingTime(), 2500);
    box.reject();
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
