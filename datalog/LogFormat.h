#pragma once
// Text of the data log: the header line and one line per live reading, in the user's
// regional settings. Line ends are added by the writer (TDataLog).
#include <ctime>
#include <string>
#include <string_view>

#include "format/Regional.h"

// The header line's text before the date.
inline constexpr std::string_view LogHeaderTitle = "WBX4100 Data Log V1.0  ";

// LogHeaderTitle followed by the short date.
std::string LogHeaderLine(const std::tm& now, const TRegionalSettings& rs = RegionalSettings());

// Lambda in general format, ",", the long time, ", ", the volts with one decimal:
// "0.987,14:03:27, 12.5".
std::string LogDataLine(double lambda, const std::tm& now, double volts,
                        const TRegionalSettings& rs = RegionalSettings());
