// Clock and tick timers, the message table and error texts.
#include <gtest/gtest.h>

#include "FakePort.h"
#include "platform/SerialError.h"
#include "serial/SerMessages.h"
#include "serial/SerMisc.h"

namespace serial::test
{
namespace
{

TEST(TickTimer, TimerOf273TicksExpiresBetween15016And15070Ms)
{
    ClockScope scope;
    uint64_t earliest = UINT64_MAX, latest = 0;
    for (uint64_t setAt = 55000; setAt < 55055; ++setAt) {
        scope.clock.Set(setAt);
        TickTimer timer;
        NewTimer(timer, 273);
        while (!TimerExpired(timer))
            scope.clock.Advance(1);
        earliest = std::min(earliest, scope.clock.NowMs() - setAt);
        latest = std::max(latest, scope.clock.NowMs() - setAt);
    }
    EXPECT_EQ(earliest, 15016u);
    EXPECT_EQ(latest, 15070u);
}

TEST(TickTimer, PeriodIsCutTo39045157Ticks)
{
    ClockScope scope(0);
    TickTimer timer;
    NewTimer(timer, 39045158);
    EXPECT_EQ(timer.ExpireTick - timer.StartTick, MaxTimerTicks);
    NewTimer(timer, MaxTimerTicks);
    EXPECT_EQ(timer.ExpireTick - timer.StartTick, MaxTimerTicks);
}

TEST(TickTimer, TimerArmedJustBeforeA32BitMillisecondWrapFiresOnTime)
{
    // 2^32 ms is about 49.7 days of uptime: the clock's low 32 bits wrap there.
    const uint64_t wrap = uint64_t { 1 } << 32;
    ClockScope scope(wrap - 1000);
    TickTimer timer;
    NewTimer(timer, 273);
    scope.clock.Set(wrap + 500); // past the wrap, well before 15 s
    EXPECT_FALSE(TimerExpired(timer));
    scope.clock.Set(wrap - 1000 + 15070);
    EXPECT_TRUE(TimerExpired(timer));
    EXPECT_EQ(MsClock(), static_cast<uint32_t>(wrap - 1000 + 15070));
}

TEST(MessageTable, EveryEntryIsFoundByLookupByItsMagnitude)
{
    for (const TMessageEntry& entry : MessageTable())
        EXPECT_EQ(LookupMessage(static_cast<int16_t>(entry.Code)), entry.Text) << entry.Code;
    EXPECT_EQ(LookupMessage(-2008), LookupMessage(2008));
    for (int16_t missing : { -1003, -32768, 32767 })
        EXPECT_EQ(LookupMessage(missing), "") << missing;
}

TEST(ErrorText, TableTextsFirstThenTheSystemsText)
{
    EXPECT_EQ(ErrorText(2008), "ie_Open - device already open");
    EXPECT_EQ(ErrorText(-5003), "Bad trigger handle");
    // 32 is not in the table: the operating system names it.
    EXPECT_EQ(ErrorText(32), platform::SystemErrorText(32));
    EXPECT_FALSE(ErrorText(32).empty());
    EXPECT_EQ(ErrorText(9999), "");
}

TEST(SerialErrorNumber, LinuxErrorsMapOntoTheNumbersTheLinkNames)
{
    const std::pair<int, int> cases[] = { { ENOENT, 2 }, { ENXIO, 2 }, { ENODEV, 2 }, { ENOTDIR, 3 },
        { EACCES, 5 }, { EPERM, 5 }, { EBUSY, 5 }, { EWOULDBLOCK, 5 }, { ENOMEM, 8 }, { EPIPE, EPIPE } };
    for (const auto& [error, number] : cases)
        EXPECT_EQ(platform::SerialErrorNumber(error), number) << error;
    EXPECT_EQ(ErrorText(static_cast<int16_t>(platform::SerialErrorNumber(EACCES))), "File access denied");
}

} // namespace
} // namespace serial::test
