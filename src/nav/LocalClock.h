#pragma once
// The PC's local date and time, read by everything that stamps a fix, a log
// name or an output sentence with "now". Tests install a fixed clock so the
// texts they compare do not depend on the moment the test runs.

#include <functional>

struct LocalDateTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1; // 1..31
    int hour = 0; // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    // Minutes since local midnight, with the seconds and milliseconds as a
    // fraction (0 <= value < 1440).
    double MinutesOfDay() const;
    // The date-time value the target table stamps with: days since
    // 30 December 1899, the time of day as the fraction.
    double DateTimeValue() const;
};

// The installed clock, or the system's local time while none is installed.
LocalDateTime LocalNow();

// Installs a clock; an empty function restores the system clock.
void SetLocalClock(std::function<LocalDateTime()> clock);
