#include "LogSeries.h"

#include <ctime>

std::tm CalendarDay(const TLogDate& date) {
    std::tm day{};
    day.tm_year = date.Year - 1900;
    day.tm_mon = date.Month - 1;
    day.tm_mday = date.Day;
    day.tm_isdst = -1;
    return day;
}

double LocalMidnight(const TLogDate& date) {
    std::tm day = CalendarDay(date);
    return static_cast<double>(std::mktime(&day));
}

TLambdaSeries SeriesFromLog(const TLogContents& log, double dayStart) {
    TLambdaSeries series(log.Readings.size(), LogGapSeconds);
    for (const TLogReading& reading : log.Readings) {
        series.Append(dayStart + reading.Seconds, reading.Lambda, reading.Volts, false);
    }
    return series;
}
