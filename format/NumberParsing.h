#pragma once
// Numbers read from text typed by the user or stored in settings.
#include <cstdint>
#include <string>

#include "format/Regional.h"

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
