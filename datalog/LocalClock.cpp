#include "LocalClock.h"

#include <ctime>

namespace {

std::tm Broken(const TLogDate& date, int hour, int isdst) {
    std::tm t{};
    t.tm_year = date.Year - 1900;
    t.tm_mon = date.Month - 1;
    t.tm_mday = date.Day;
    t.tm_hour = hour;
    t.tm_isdst = isdst;
    return t;
}

// The start of `hour` on `date` with summer time on or off, if the clock shows that time.
bool HourStart(const TLogDate& date, int hour, int isdst, std::time_t& start) {
    std::tm wanted = Broken(date, hour, isdst);
    start = std::mktime(&wanted);
    if (start == static_cast<std::time_t>(-1)) {
        return false;
    }
    std::tm shown{};
    localtime_r(&start, &shown);
    return shown.tm_isdst == isdst && shown.tm_hour == hour && shown.tm_mday == date.Day &&
           shown.tm_mon == date.Month - 1;
}

} // namespace

void TLocalClock::Resolve(const TLogDate& date, int hour) {
    FHour = THour{date, hour, {0, 0}, 0};
    std::time_t starts[2];
    int count = 0;
    for (int isdst : {1, 0}) {
        std::time_t start = 0;
        if (HourStart(date, hour, isdst, start)) {
            starts[count++] = start;
        }
    }
    if (count == 0) {
        // A time the clock skipped (summer time began): as the library normalises it.
        std::tm t = Broken(date, hour, -1);
        starts[count++] = std::mktime(&t);
    }
    if (count == 2 && starts[1] < starts[0]) {
        std::swap(starts[0], starts[1]);
    }
    FHour.Count = count;
    for (int i = 0; i < count; ++i) {
        FHour.Starts[i] = static_cast<double>(starts[i]);
    }
}

double TLocalClock::Instant(const TLogDate& date, int secondOfDay) {
    const int hour = secondOfDay / 3600;
    if (hour != FHour.Hour || date.Day != FHour.Date.Day || date.Month != FHour.Date.Month ||
        date.Year != FHour.Date.Year) {
        Resolve(date, hour);
    }
    const double within = secondOfDay % 3600;
    double instant = FHour.Starts[0] + within;
    if (FHour.Count == 2 && instant < FPrevious) {
        instant = FHour.Starts[1] + within;
    }
    FPrevious = instant;
    return instant;
}
