#include "nav/TideStep.h"

#include "rtl/Numbers.h"

int TidalHour(int hour, int minute, int highWaterHour)
{
    constexpr int kHoursPerDay = 24;
    constexpr int kTidalCycleHours = 13;
    int fromHighWater = (hour + (minute > 29 ? 1 : 0) - highWaterHour) % kHoursPerDay;
    if (fromHighWater > kHoursPerDay / 2)
        fromHighWater -= kHoursPerDay;
    else if (fromHighWater <= -kHoursPerDay / 2)
        fromHighWater += kHoursPerDay;
    if (fromHighWater > 6)
        fromHighWater -= kTidalCycleHours;
    else if (fromHighWater < -6)
        fromHighWater += kTidalCycleHours;
    return fromHighWater;
}

int NextTideStep(int count)
{
    return count >= 6 ? -6 : count + 1;
}

std::string TideStepStatus(int count, int highWaterHour, const std::string& standardPort)
{
    int hour = highWaterHour + count;
    if (hour < 0)
        hour += 24;
    if (hour >= 24)
        hour -= 24;
    return "Tide " + rtl::StrInt(count, 2) + " Hrs rel to HW " + standardPort + " (" + rtl::StrInt(hour, 2)
        + ":00)   ";
}
