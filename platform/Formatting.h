#pragma once
// Number, date and time text in the user's regional settings.
#include <cstdint>
#include <ctime>
#include <string>

#include "Regional.h"

// Rounds to the nearest integer, exact halves to the even neighbour. Out of range values
// give INT64_MIN / INT64_MAX, NaN gives 0.
int64_t RoundHalfEven(double value);

// Rounding of text: a number is first taken to 15 significant decimal digits (what a double
// carries reliably), then that decimal is rounded to the digits shown, exact halves to the
// even neighbour: 0.25 at one decimal shows 0.2, 0.35 shows 0.4, 2.5 with "0" shows 2.
// A value that rounds to zero never shows a minus sign. NaN and infinities show as "NAN",
// "INF" and "-INF" in every format.

// Numeric picture: '0' digit always shown, '#' digit shown when significant, '.' decimal
// separator, ',' thousands grouping, "E+" "E-" "e+" "e-" exponent, ';' separates the
// positive;negative;zero sections, quoted text copied. "#0.00#": 1 -> "1.00", 0.987 -> "0.987".
// The exponent shows at least as many digits as '0's follow "E+"; "E+" always shows the
// sign, "E-" only a minus. The negative section shows no minus of its own; an empty or
// missing section falls back to the first; a value that rounds to zero uses the zero section
// (or the first, without minus). Other characters are copied; the minus goes first.
// An empty picture, or a value of 1E15 or more for a picture without exponent, gives the
// general format (FloatToStr), since digits beyond the 15th would be made up.
std::string FormatFloat(const std::string& picture, double value,
                        const TRegionalSettings& rs = RegionalSettings());

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

// Text to number with the regional decimal separator (thousands separators are not
// accepted, as in the platform's conversion). Leading/trailing blanks allowed.
// Accepted: [sign] digits [separator digits] [e|E [sign] digits], with at least one digit
// before the exponent ("5.", ".5"). Beyond the double range is rejected; below the smallest
// double gives 0. On failure `value` is left unchanged.
// StrToFloat throws EConvertError "'<text>' is not a valid floating point value".
bool TryStrToFloat(const std::string& text, double& value,
                   const TRegionalSettings& rs = RegionalSettings());
double StrToFloat(const std::string& text, const TRegionalSettings& rs = RegionalSettings());
// 64-bit decimal with optional sign, or hexadecimal after "$" or "0x" (a bit pattern of at
// most 16 digits: "$FFFFFFFFFFFFFFFF" is -1). Blanks around are allowed.
// StrToInt throws EConvertError "'<text>' is not a valid integer value".
bool TryStrToInt(const std::string& text, int64_t& value);
int64_t StrToInt(const std::string& text);

// Local time now, broken down.
std::tm LocalNow();
// Date or time picture tokens as described in Regional.h. Fields shorter than their token
// show without padding; names (ddd, dddd, mmm, mmmm) are English.
std::string FormatDateTime(const std::string& picture, const std::tm& when,
                           const TRegionalSettings& rs = RegionalSettings());
std::string DateToStr(const std::tm& when, const TRegionalSettings& rs = RegionalSettings());
std::string TimeToStr(const std::tm& when, const TRegionalSettings& rs = RegionalSettings());
