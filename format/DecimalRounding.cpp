#include "format/DecimalRounding.h"

#include <charconv>
#include <cmath>
#include <string_view>

// Rounding of text: a double carries about 15 reliable decimal digits, so every number is
// first taken to 15 significant digits (correctly rounded from its binary value); that
// decimal is then rounded to the digits shown, exact halves to the even neighbour. So
// 0.65 at one decimal is a true half and shows 0.6, 0.75 shows 0.8, and binary noise such
// as 0.1 + 0.2 = 0.30000000000000004 never decides a rounding.

namespace formatting {

namespace {

void StripTrailingZeros(TDecimal& d) {
    const auto last = d.Digits.find_last_not_of('0');
    if (last == std::string::npos) {
        d.Digits.clear();
        d.Exponent = 0;
        return;
    }
    d.Digits.resize(last + 1);
}

// Adds one unit in the last kept digit.
void IncrementLastDigit(TDecimal& d) {
    int i = static_cast<int>(d.Digits.size()) - 1;
    while (i >= 0 && d.Digits[i] == '9') {
        d.Digits[i] = '0';
        --i;
    }
    if (i < 0) {
        d.Digits.insert(0, "1");
        d.Exponent += 1;
    } else {
        d.Digits[i]++;
    }
}

// Whether dropping the digits from `kept` on rounds the kept part up (halves to even).
bool RoundsUp(const TDecimal& d, int kept) {
    const char first = d.Digits[kept];
    const bool moreAfterFirst = static_cast<int>(d.Digits.size()) > kept + 1;
    if (first == '5' && !moreAfterFirst) {
        return kept > 0 && (d.Digits[kept - 1] - '0') % 2 == 1;
    }
    return first > '5' || (first == '5' && moreAfterFirst);
}

} // namespace

TDecimal ToDecimal(double value) {
    TDecimal d;
    const double magnitude = std::fabs(value);
    if (magnitude == 0) {
        return d;
    }
    // "d.dddddddddddddde+XX", correctly rounded like printf's "%.14e", without its locale
    // and stream machinery: a window formats several numbers with every reading.
    char text[48];
    const auto written = std::to_chars(text, text + sizeof text, magnitude,
                                       std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view s(text, static_cast<size_t>(written.ptr - text));
    const auto e = s.find('e');
    d.Digits.reserve(e);
    d.Digits.push_back(s[0]);
    d.Digits.append(s.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exponent);
    d.Exponent = exponent + 1;
    StripTrailingZeros(d);
    return d;
}

void RoundToDigits(TDecimal& d, int kept) {
    if (kept >= static_cast<int>(d.Digits.size())) {
        return;
    }
    if (kept < 0) {
        d = TDecimal{};
        return;
    }
    const bool up = RoundsUp(d, kept);
    d.Digits.resize(kept);
    if (up) {
        IncrementLastDigit(d);
    }
    StripTrailingZeros(d);
}

void RoundToDecimals(TDecimal& d, int decimals) {
    if (!d.IsZero()) {
        RoundToDigits(d, d.Exponent + decimals);
    }
}

std::string IntegerDigits(const TDecimal& d) {
    std::string s;
    for (int i = 0; i < d.Exponent; ++i) {
        s += d.At(i);
    }
    return s;
}

std::string FractionDigits(const TDecimal& d, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += d.At(d.Exponent + i);
    }
    return s;
}

void TrimFraction(std::string& fraction, int minimum) {
    while (static_cast<int>(fraction.size()) > minimum && fraction.back() == '0') {
        fraction.pop_back();
    }
}

} // namespace formatting

int64_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 9223372036854775807.0) {
        return INT64_MAX;
    }
    if (value <= -9223372036854775808.0) {
        return INT64_MIN;
    }
    // Independent of the floating-point rounding mode: floor and the exact remainder.
    const double below = std::floor(value);
    const double rest = value - below;
    const bool belowIsEven = std::fmod(below, 2.0) == 0;
    const bool up = rest > 0.5 || (rest == 0.5 && !belowIsEven);
    return static_cast<int64_t>(below) + (up ? 1 : 0);
}
