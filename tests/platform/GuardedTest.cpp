#include "platform/Guarded.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace
{

TEST(Guarded, ErrorEscapingHandlerIsShownAndTheCallerGoesOn)
{
    platform::ScriptedUi ui;
    bool before = false;
    platform::guarded([&] {
        before = true;
        throw std::runtime_error("I/O error 103");
    });
    EXPECT_TRUE(before);
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].kind, "message:error");
    EXPECT_EQ(ui.shown()[0].text, "I/O error 103");

    platform::guarded([] { throw 7; });
    EXPECT_EQ(ui.messages().back(), "Unknown error");

    int runs = 0;
    platform::guarded([&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(ui.shown().size(), 2u);
}

TEST(Guarded, UnexpectedDialogOfATestIsPassedOn)
{
    platform::ScriptedUi ui;
    EXPECT_THROW(platform::guarded([] { platform::AskYesNo("Really?"); }), platform::UnexpectedDialog);
}

} // namespace
