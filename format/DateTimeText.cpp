#include "format/DateTimeText.h"

#include <cstdio>
#include <time.h>

#include "format/PictureQuoting.h"

using namespace formatting;

namespace {

const char* const kShortDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
const char* const kShortMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

std::string Name(const char* const* names, int count, int index) {
    return index >= 0 && index < count ? names[index] : "?";
}

std::string Number(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

// One or two digits: a single letter shows no padding, two or more pad to two.
std::string ShortNumber(int value, size_t run) {
    return Number(value, run >= 2 ? 2 : 1);
}

// A field of up to two letters as a number, of three as the short name, else the long name.
std::string NumberOrName(int number, size_t run, const char* const* shortNames,
                         const char* const* longNames, int count, int index) {
    if (run <= 2) {
        return Number(number, static_cast<int>(run));
    }
    return Name(run == 3 ? shortNames : longNames, count, index);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(const std::string& s, size_t i, const char* word) {
    for (size_t k = 0; word[k] != 0; ++k) {
        if (i + k >= s.size() || Lower(s[i + k]) != word[k]) {
            return false;
        }
    }
    return true;
}

size_t RunLength(const std::string& s, size_t i) {
    size_t j = i;
    while (j < s.size() && Lower(s[j]) == Lower(s[i])) {
        ++j;
    }
    return j - i;
}

// An am/pm marker at s[i]: its length and the text it shows, or length 0.
size_t AmPmMarker(const std::string& s, size_t i, bool pm, const TRegionalSettings& rs,
                  std::string& text) {
    if (StartsWithNoCase(s, i, "am/pm")) {
        text = pm ? s.substr(i + 3, 2) : s.substr(i, 2);
        return 5;
    }
    if (StartsWithNoCase(s, i, "a/p")) {
        text = pm ? s.substr(i + 2, 1) : s.substr(i, 1);
        return 3;
    }
    if (StartsWithNoCase(s, i, "ampm")) {
        text = pm ? rs.TimePMString : rs.TimeAMString;
        return 4;
    }
    return 0;
}

// Whether an am/pm marker stands outside quoted text: the hours then run 1..12.
bool HasAmPm(const std::string& picture) {
    std::string unused;
    TQuoteState quotes;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (!quotes.Quoted(picture[i]) &&
            AmPmMarker(picture, i, false, TRegionalSettings{}, unused) > 0) {
            return true;
        }
    }
    return false;
}

struct TDateTimeWriter {
    const std::tm& When;
    const TRegionalSettings& Rs;
    bool TwelveHour = false;
    bool AfterHour = false; // an "m" right after an hour means minutes
    std::string Out;

    void Day(size_t run) {
        Out += NumberOrName(When.tm_mday, run, kShortDayNames, kLongDayNames, 7, When.tm_wday);
    }
    void Month(size_t run) {
        Out +=
            NumberOrName(When.tm_mon + 1, run, kShortMonthNames, kLongMonthNames, 12, When.tm_mon);
    }
    void MonthOrMinute(size_t run) {
        if (AfterHour && run <= 2) {
            Out += Number(When.tm_min, static_cast<int>(run));
        } else {
            Month(run);
        }
    }
    void Year(size_t run) {
        const int year = When.tm_year + 1900;
        Out += run <= 2 ? Number(((year % 100) + 100) % 100, 2) : Number(year, 4);
    }
    void Hour(size_t run) {
        int hour = When.tm_hour;
        if (TwelveHour) {
            hour = hour % 12 == 0 ? 12 : hour % 12;
        }
        Out += ShortNumber(hour, run);
    }
    // Writes a field of `run` letters `kind`; false when the letter is no field.
    bool Letters(char kind, size_t run) {
        switch (kind) {
        case 'd':
            Day(run);
            return true;
        case 'm':
            MonthOrMinute(run);
            return true;
        case 'y':
            Year(run);
            return true;
        case 'h':
            Hour(run);
            return true;
        case 'n':
            Out += ShortNumber(When.tm_min, run);
            return true;
        case 's':
            Out += ShortNumber(When.tm_sec, run);
            return true;
        case 'z':
            Out += run >= 3 ? "000" : "0"; // no milliseconds in a broken-down time
            return true;
        default:
            return false;
        }
    }
    size_t AmPm(const std::string& p, size_t i) {
        std::string marker;
        const size_t length = AmPmMarker(p, i, When.tm_hour >= 12, Rs, marker);
        if (length > 0) {
            Out += marker;
            AfterHour = false;
        }
        return length;
    }
    // Writes the field at picture[i]; returns its length, or 0 when it is no field.
    size_t Field(const std::string& p, size_t i) {
        const char kind = Lower(p[i]);
        if (kind == 'a') {
            return AmPm(p, i);
        }
        const size_t run = RunLength(p, i);
        if (!Letters(kind, run)) {
            return 0;
        }
        AfterHour = kind == 'h';
        return run;
    }
    // Writes the picture character at picture[i] and what belongs to it; returns the index
    // after it.
    size_t Next(const std::string& picture, size_t i) {
        const char c = picture[i];
        if (IsQuote(c)) {
            size_t next = 0;
            Out += QuotedText(picture, i, next);
            return next;
        }
        if (const size_t length = Field(picture, i); length > 0) {
            return i + length;
        }
        Out += c == '/' ? Rs.DateSeparator : c == ':' ? Rs.TimeSeparator : c;
        return i + 1;
    }
};

} // namespace

std::tm LocalNow() {
    return LocalTimeAt(std::time(nullptr));
}

std::tm LocalTimeAt(std::time_t when) {
    std::tm result{};
    localtime_r(&when, &result);
    return result;
}

std::string FormatDateTime(const std::string& picture, const std::tm& when,
                           const TRegionalSettings& rs) {
    TDateTimeWriter writer{when, rs, HasAmPm(picture), false, {}};
    for (size_t i = 0; i < picture.size();) {
        i = writer.Next(picture, i);
    }
    return writer.Out;
}

std::string DateToStr(const std::tm& when, const TRegionalSettings& rs) {
    return FormatDateTime(rs.ShortDateFormat, when, rs);
}

std::string TimeToStr(const std::tm& when, const TRegionalSettings& rs) {
    return FormatDateTime(rs.LongTimeFormat, when, rs);
}
