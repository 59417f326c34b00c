#pragma once
// How readings become a series for the chart: live ones as they are decoded, and a whole
// data log read back for replay.
#include <cstddef>
#include <ctime>

#include "LambdaSeries.h"
#include "datalog/LogReader.h"

// The live history: 65,536 readings of 16 bytes (1 MiB), one hour and 49 minutes at ten a
// second. Readings more than a second apart are not joined: the poll runs every 100 ms and
// the link watch gives up after 1.1 s.
constexpr size_t LiveHistoryCapacity = 65536;
constexpr double LiveGapSeconds = 1.0;
// A log stores whole seconds and the reader spreads the n readings of a second over it, so
// readings in consecutive seconds are at most one second apart, while a missing second leaves
// 1 + 1/n seconds (1.1 s at ten a second): the line breaks just above one second.
constexpr double LogGapSeconds = 1.05;

// Midnight at the start of `date`, broken down (daylight saving time left to the library).
std::tm CalendarDay(const TLogDate& date);
// Seconds since the epoch at the start of `date` in local time.
double LocalMidnight(const TLogDate& date);

// All readings of `log`, placed on the day that starts at `dayStart` (seconds since the epoch).
TLambdaSeries SeriesFromLog(const TLogContents& log, double dayStart);
