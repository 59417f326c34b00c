#pragma once
// Decimal rounding: whole numbers half to even, and the decimal digits behind number text.
#include <cstdint>
#include <string>

// Rounds to the nearest integer, exact halves to the even neighbour. Out of range values
// give INT64_MIN / INT64_MAX, NaN gives 0.
int64_t RoundHalfEven(double value);

// Rounding of text: a number is first taken to 15 significant decimal digits (what a double
// carries reliably), then that decimal is rounded to the digits shown, exact halves to the
// even neighbour: 0.25 at one decimal shows 0.2, 0.35 shows 0.4, 2.5 with "0" shows 2.
// A value that rounds to zero never shows a minus sign. NaN and infinities show as "NAN",
// "INF" and "-INF" in every format.

namespace formatting {

// Significant decimal digits a double carries reliably.
constexpr int kSignificantDigits = 15;

// A finite magnitude as decimal digits: value = 0.d1 d2 d3 ... x 10^Exponent.
// Digits has no leading or trailing zeros; empty Digits is zero.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;

    bool IsZero() const { return Digits.empty(); }
    // The digit at `index` of the digit string; zeros outside it.
    char At(int index) const {
        return index >= 0 && index < static_cast<int>(Digits.size()) ? Digits[index] : '0';
    }
};

// The magnitude of `value` to kSignificantDigits, correctly rounded from its binary value.
TDecimal ToDecimal(double value);
// Keeps the first `kept` digits and rounds the rest away, exact halves to even.
void RoundToDigits(TDecimal& d, int kept);
// Rounds to `decimals` digits after the decimal point.
void RoundToDecimals(TDecimal& d, int decimals);

// The digits before the decimal point ("" below one).
std::string IntegerDigits(const TDecimal& d);
// The first `count` digits after the decimal point, zeros where the number has none.
std::string FractionDigits(const TDecimal& d, int count);
// Drops trailing zeros of a fraction but keeps at least `minimum` digits.
void TrimFraction(std::string& fraction, int minimum);

} // namespace formatting
