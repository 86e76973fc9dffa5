#include "nav/TideStep.h"

#include "rtl/Numbers.h"

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
