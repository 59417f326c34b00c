#pragma once
// The calendar date a text log's header carries, read back whatever regional settings wrote
// it: in the reader's own short-date format when the text has that format's shape (the same
// separators and field widths), else in the first common format that gives a real date.
// "03.04.2024" is thus 3 April 2024 also for a reader whose own format is "m/d/yyyy".
#include <optional>
#include <string_view>

#include "format/Regional.h"

struct TLogDate {
    int Year = 0;
    int Month = 0; // 1..12
    int Day = 0;   // 1..31
};

std::optional<TLogDate> ReadLogDate(std::string_view text,
                                    const TRegionalSettings& rs = RegionalSettings());

// The day `days` after `date` (before it when negative).
TLogDate AddDays(const TLogDate& date, int days);
