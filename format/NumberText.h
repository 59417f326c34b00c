#pragma once
// Numbers as text in the general, exponent, fixed and number formats.
#include <cstdint>
#include <optional>
#include <string>

#include "format/Regional.h"

// General format: up to 15 significant digits, no trailing zeros; exponent form ("1E20",
// "1E-5") from 1E15 up and below 0.0001.
std::string FloatToStr(double value, const TRegionalSettings& rs = RegionalSettings());

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };
// Precision (1..15) is the number of significant digits.
// ffGeneral: as FloatToStr with `precision` digits.
// ffExponent: "-d.dddE+dd", `precision` digits, at least `digits` (0..4) exponent digits.
// ffFixed: `digits` decimals, rounded to at most `precision` significant digits
// ("12.4992" at 3,1 -> "12.5", 12.3 at 2,1 -> "12.0"); a number with more integer digits
// than `precision` is shown in exponent form ("1.23E+3") rather than with invented zeros.
// ffNumber: as ffFixed with thousands separators ("1,234,567.89").
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TRegionalSettings& rs = RegionalSettings());

std::string IntToStr(int64_t value);

namespace formatting {

// An exponent with at least `minDigits` digits; a minus when negative, a plus when
// `plusSign` and not negative.
std::string ExponentText(int exponent, bool plusSign, int minDigits);
// "NAN", "INF" or "-INF"; nothing for a finite value.
std::optional<std::string> NonFiniteText(double value);

} // namespace formatting
