#include "nav/LocalClock.h"

#include <chrono>
#include <ctime>
#include <utility>

namespace
{

std::function<LocalDateTime()>& InstalledClock()
{
    static std::function<LocalDateTime()> clock;
    return clock;
}

LocalDateTime SystemNow()
{
    using namespace std::chrono;
    const system_clock::time_point now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local {};
    localtime_r(&seconds, &local);
    LocalDateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    // A leap second reads as the last second of its minute.
    t.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    t.millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return t;
}

} // namespace

double LocalDateTime::MinutesOfDay() const
{
    return hour * 60.0 + minute + second / 60.0 + millisecond / 60000.0;
}

double LocalDateTime::DateTimeValue() const
{
    // Days from 1 January 1970 in the proleptic Gregorian calendar
    // (the era-based count, valid for any year), then moved to the epoch of
    // 30 December 1899, 25569 days earlier.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const double daysSince1970 = era * 146097.0 + dayOfEra - 719468.0;
    return daysSince1970 + 25569.0 + MinutesOfDay() / 1440.0;
}

LocalDateTime LocalNow()
{
    const std::function<LocalDateTime()>& clock = InstalledClock();
    return clock ? clock() : SystemNow();
}

void SetLocalClock(std::function<LocalDateTime()> clock)
{
    InstalledClock() = std::move(clock);
}
