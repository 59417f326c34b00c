#include "LogTime.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// Reads `count` digits at `at` into `value`; false when they are not all there.
bool Digits(std::string_view text, size_t& at, size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    at += count;
    return true;
}

bool Take(std::string_view text, size_t& at, char c) {
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

// "+02:00", "-0530", "Z"; the offset east of UTC in seconds.
bool ParseOffset(std::string_view text, size_t& at, long& offset) {
    if (Take(text, at, 'Z')) {
        offset = 0;
        return true;
    }
    const bool east = Take(text, at, '+');
    if (!east && !Take(text, at, '-')) {
        return false;
    }
    int hours = 0;
    int minutes = 0;
    if (!Digits(text, at, 2, hours)) {
        return false;
    }
    Take(text, at, ':');
    if (at < text.size() && !Digits(text, at, 2, minutes)) {
        return false;
    }
    offset = (east ? 1 : -1) * (hours * 3600L + minutes * 60L);
    return hours <= 23 && minutes <= 59;
}

} // namespace

TWallTime WallNow() {
    return std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
}

double EpochSeconds(TWallTime when) {
    return static_cast<double>(when.time_since_epoch().count()) / 1000.0;
}

TWallTime WallTimeAt(double seconds) {
    return TWallTime(std::chrono::milliseconds(std::llround(seconds * 1000.0)));
}

std::string IsoLocalTime(TWallTime when) {
    const long long ms = when.time_since_epoch().count();
    long long whole = ms / 1000;
    int milli = static_cast<int>(ms % 1000);
    if (milli < 0) {
        milli += 1000;
        --whole;
    }
    const std::time_t t = static_cast<std::time_t>(whole);
    std::tm local{};
    localtime_r(&t, &local);
    const long offset = local.tm_gmtoff;
    const int minutes = static_cast<int>((offset < 0 ? -offset : offset) / 60) % (24 * 60);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, milli, offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return text;
}

std::optional<double> ParseIsoTime(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    std::tm fields{};
    size_t at = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!Digits(text, at, 4, year) || !Take(text, at, '-') || !Digits(text, at, 2, month) ||
        !Take(text, at, '-') || !Digits(text, at, 2, day) ||
        !(Take(text, at, 'T') || Take(text, at, ' ')) || !Digits(text, at, 2, fields.tm_hour) ||
        !Take(text, at, ':') || !Digits(text, at, 2, fields.tm_min)) {
        return std::nullopt;
    }
    if (Take(text, at, ':') && !Digits(text, at, 2, fields.tm_sec)) {
        return std::nullopt;
    }
    double fraction = 0;
    if (Take(text, at, '.') || Take(text, at, ',')) {
        const size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ++at;
        }
        if (at == start || at - start > 9) {
            return std::nullopt;
        }
        int digits = 0;
        std::from_chars(text.data() + start, text.data() + at, digits);
        fraction = digits / std::pow(10.0, static_cast<double>(at - start));
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || fields.tm_hour > 23 ||
        fields.tm_min > 59 || fields.tm_sec > 60) {
        return std::nullopt;
    }
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    long offset = 0;
    std::time_t seconds = 0;
    if (at == text.size()) {
        fields.tm_isdst = -1;
        seconds = std::mktime(&fields);
    } else if (ParseOffset(text, at, offset) && at == text.size()) {
        seconds = timegm(&fields) - offset;
    } else {
        return std::nullopt;
    }
    return static_cast<double>(seconds) + fraction;
}
