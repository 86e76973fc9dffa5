// Clock and tick timers, the message table and error texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "FakePort.h"
#include "platform/SerialError.h"
#include "serial/SerMessages.h"
#include "serial/SerMisc.h"

namespace serial::test
{
namespace
{

// First millisecond (after `from`) at which the timer counts as expired.
uint64_t ExpiryMs(FakeClock& clock, const TickTimer& timer, uint64_t from)
{
    clock.Set(from);
    while (!TimerExpired(timer))
        clock.Advance(1);
    return clock.NowMs() - from;
}

TEST(TickTimer, TimerOf273TicksExpiresBetween15016And15070Ms)
{
    ClockScope scope(55 * 1000);
    uint64_t earliest = UINT64_MAX, latest = 0;
    for (uint64_t offset = 0; offset < 55; ++offset) {
        const uint64_t setAt = 55 * 1000 + offset;
        scope.clock.Set(setAt);
        TickTimer timer;
        NewTimer(timer, 273);
        const uint64_t after = ExpiryMs(scope.clock, timer, setAt);
        earliest = std::min(earliest, after);
        latest = std::max(latest, after);
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

TEST(MessageTable, SortedByMagnitudeWithEachMagnitudeOnce)
{
    std::set<int> seen;
    int last = -1;
    for (const TMessageEntry& entry : MessageTable()) {
        const int magnitude = std::abs(entry.Code);
        EXPECT_GT(magnitude, last) << entry.Text;
        EXPECT_TRUE(seen.insert(magnitude).second);
        last = magnitude;
    }
}

TEST(MessageTable, EveryEntryIsFoundByLookup)
{
    for (const TMessageEntry& entry : MessageTable())
        EXPECT_EQ(LookupMessage(static_cast<int16_t>(entry.Code)), entry.Text) << entry.Code;
    EXPECT_EQ(LookupMessage(-2008), LookupMessage(2008)); // by magnitude
    EXPECT_EQ(LookupMessage(-1003), "");
    EXPECT_EQ(LookupMessage(-32768), "");
    EXPECT_EQ(LookupMessage(32767), "");
}

TEST(ErrorText, TableTextsFirstThenTheSystemsText)
{
    EXPECT_EQ(ErrorText(2008), "ie_Open - device already open");
    EXPECT_EQ(ErrorText(2), "File not found");
    EXPECT_EQ(ErrorText(-5003), "Bad trigger handle");
    // 32 is not in the table: the operating system names it.
    EXPECT_EQ(ErrorText(32), platform::SystemErrorText(32));
    EXPECT_FALSE(ErrorText(32).empty());
    // A number neither knows.
    EXPECT_EQ(ErrorText(9999), "");
}

TEST(SerialErrorNumber, LinuxErrorsMapOntoTheNumbersTheLinkNames)
{
    using platform::SerialErrorNumber;
    EXPECT_EQ(SerialErrorNumber(ENOENT), 2);
    EXPECT_EQ(SerialErrorNumber(ENXIO), 2);
    EXPECT_EQ(SerialErrorNumber(ENODEV), 2);
    EXPECT_EQ(SerialErrorNumber(ENOTDIR), 3);
    EXPECT_EQ(SerialErrorNumber(EACCES), 5);
    EXPECT_EQ(SerialErrorNumber(EPERM), 5);
    EXPECT_EQ(SerialErrorNumber(EBUSY), 5);
    EXPECT_EQ(SerialErrorNumber(EWOULDBLOCK), 5);
    EXPECT_EQ(SerialErrorNumber(ENOMEM), 8);
    EXPECT_EQ(SerialErrorNumber(EPIPE), EPIPE);
    EXPECT_EQ(ErrorText(static_cast<int16_t>(SerialErrorNumber(EACCES))), "File access denied");
}

} // namespace
} // namespace serial::test
