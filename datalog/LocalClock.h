#pragma once
// Local times written in a log, turned into instants through the time-zone rules, so a day on
// which summer time begins or ends keeps the times as written. In the hour that repeats when
// summer time ends, file order decides: a time is taken in the first of its two hours unless
// that would put it before the reading ahead of it.
#include <limits>

#include "LogDate.h"

class TLocalClock {
public:
    // Seconds since the epoch of `secondOfDay` (0 to 86399) on `date`.
    double Instant(const TLogDate& date, int secondOfDay);

private:
    struct THour {
        TLogDate Date;
        int Hour = -1;
        double Starts[2] = {0, 0}; // the hour's start, in the first and the repeated hour
        int Count = 0;             // 2 in the repeated hour
    };
    void Resolve(const TLogDate& date, int hour);

    THour FHour;
    double FPrevious = -std::numeric_limits<double>::infinity();
};
