#pragma once
// Number, date and time text in the user's regional settings.
#include <cstdint>
#include <ctime>
#include <string>

#include "Regional.h"

// Rounds to the nearest integer, exact halves to the even neighbour.
int64_t RoundHalfEven(double value);

// Numeric picture: '0' digit always shown, '#' digit shown when significant, '.' decimal
// separator, ',' thousands grouping, "E+" "E-" "e+" "e-" exponent, ';' separates the
// positive;negative;zero sections, quoted text copied. "#0.00#": 1 -> "1.00", 0.987 -> "0.987".
std::string FormatFloat(const std::string& picture, double value,
                        const TRegionalSettings& rs = RegionalSettings());

// General format: up to 15 significant digits, no trailing zeros.
std::string FloatToStr(double value, const TRegionalSettings& rs = RegionalSettings());

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };
// ffFixed: `precision` significant digits, `digits` decimals ("12.4992" at 3,1 -> "12.5").
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TRegionalSettings& rs = RegionalSettings());

std::string IntToStr(int64_t value);

// Text to number with the regional decimal separator (thousands separators are not
// accepted, as in the platform's conversion). Leading/trailing blanks allowed.
// StrToFloat throws EConvertError "'<text>' is not a valid floating point value".
bool TryStrToFloat(const std::string& text, double& value,
                   const TRegionalSettings& rs = RegionalSettings());
double StrToFloat(const std::string& text, const TRegionalSettings& rs = RegionalSettings());
// StrToInt throws EConvertError "'<text>' is not a valid integer value".
bool TryStrToInt(const std::string& text, int64_t& value);
int64_t StrToInt(const std::string& text);

// Local time now, broken down.
std::tm LocalNow();
// Date or time picture tokens as described in Regional.h.
std::string FormatDateTime(const std::string& picture, const std::tm& when,
                           const TRegionalSettings& rs = RegionalSettings());
std::string DateToStr(const std::tm& when, const TRegionalSettings& rs = RegionalSettings());
std::string TimeToStr(const std::tm& when, const TRegionalSettings& rs = RegionalSettings());
