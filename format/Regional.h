#pragma once
// The user's regional settings as the number, date and time formatting uses them.
// The program fills them from the system locale (QtRegional.h); tests set fixed values.
#include <string>

struct TRegionalSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    // Date and time pictures: d dd m mm yy yyyy / h hh n nn s ss, "AM/PM" or "AMPM";
    // '/' and ':' stand for the date and time separators, quoted text is copied.
    // Also: ddd dddd mmm mmmm (day and month names), z zzz (milliseconds, always 0 here),
    // "am/pm" and "a/p" in the case written. "m"/"mm" right after an hour are minutes.
    // An am/pm token anywhere makes the hours run 1..12.
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongTimeFormat = "hh:nn:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
};

// English, point decimal: "." "," "m/d/yyyy" "hh:nn:ss".
TRegionalSettings EnglishRegionalSettings();
// Comma decimal (German style): "," "." "dd.mm.yyyy" "hh:nn:ss".
TRegionalSettings CommaRegionalSettings();

// The process-wide settings used where none are passed. Set on the UI thread at start.
const TRegionalSettings& RegionalSettings();
void SetRegionalSettings(const TRegionalSettings& settings);
