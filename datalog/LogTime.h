#pragma once
// Times as logs carry them: the wall clock to the millisecond, ISO 8601 text for it in local
// time with the UTC offset ("2024-04-03T14:00:05.123+02:00"), and that text read back.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// A wall-clock time to the millisecond.
using TWallTime = std::chrono::time_point<std::chrono::system_clock, std::chrono::milliseconds>;

// The wall clock now, to the millisecond.
TWallTime WallNow();
// Seconds since the epoch.
double EpochSeconds(TWallTime when);
// The wall-clock time nearest to `seconds` since the epoch.
TWallTime WallTimeAt(double seconds);

// "2024-04-03T14:00:05.123+02:00": local time with milliseconds and the UTC offset in force.
std::string IsoLocalTime(TWallTime when);
// Seconds since the epoch of an ISO 8601 date and time: "2024-04-03T14:00:05.123+02:00",
// with Z for UTC, a space for the T, without fractions or seconds. Without an offset the time
// is local time. Nothing for any other text.
std::optional<double> ParseIsoTime(std::string_view text);
