// Where the help window goes beside the window it was asked from: at full
// size on the first side with room (right, left, below, above), shrunk to
// the room of the side that gives the most, and with no room at its least
// size against the screen's edge where it covers the least of that window.
// Every rectangle includes the window manager's frame.

#include "help/HelpViewer.h"

#include <gtest/gtest.h>

namespace
{

const QSize kWanted(642, 545);
const QSize kLeast(322, 325);

struct PlacementCase {
    const char* name;
    QRect asker;
    QRect screen;
    QRect expected;
};

TEST(HelpPlacement, BesideTheAskerThenShrunkThenCoveringLeast)
{
    const QRect small(0, 0, 1024, 768);
    const QRect large(0, 0, 1280, 1024);
    const PlacementCase cases[] = {
        { "room on the right", QRect(0, 100, 553, 523), large, QRect(553, 100, 642, 545) },
        { "right before left", QRect(300, 100, 300, 300), large, QRect(600, 100, 642, 545) },
        { "left when the right has no room", QRect(700, 100, 553, 523), large, QRect(58, 100, 642, 545) },
        { "below when neither side has room", QRect(300, 0, 700, 400), large, QRect(300, 400, 642, 545) },
        { "above when only that has room", QRect(300, 600, 700, 400), large, QRect(300, 55, 642, 545) },
        { "kept on the screen below the asker's top", QRect(0, 600, 553, 200), large,
            QRect(553, 479, 642, 545) },
        { "lined up with the asker's left, kept on the screen", QRect(640, 0, 640, 400), large,
            QRect(638, 400, 642, 545) },
        { "shrunk to the room on the right", QRect(363, 250, 553, 523), large, QRect(916, 250, 364, 545) },
        { "shrunk to the side with the most room", QRect(330, 50, 600, 350), small,
            QRect(330, 400, 642, 368) },
        { "shrunk across on the left when the left has most", QRect(380, 0, 644, 500), small,
            QRect(0, 0, 380, 545) },
        // No room: 322 wide against the right edge covers 77 of Preferences'
        // 553 columns; against the left, 96.
        { "no room: the least size where it covers least", QRect(226, 84, 553, 523), small,
            QRect(702, 84, 322, 545) },
        { "no room beside a maximised window: against the right edge", small, small,
            QRect(702, 0, 322, 545) },
        { "a second screen to the right", QRect(1300, 100, 553, 523), QRect(1280, 0, 1280, 1024),
            QRect(1853, 100, 642, 545) },
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect placed = help::PlaceBeside(c.asker, c.screen, kWanted, kLeast);
        EXPECT_EQ(placed, c.expected);
        EXPECT_TRUE(c.screen.contains(placed));
    }
}

} // namespace
