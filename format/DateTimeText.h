#pragma once
// Dates and times as text laid out by a date or time picture such as "dd.mm.yyyy".
#include <ctime>
#include <string>

#include "format/Regional.h"

// Local time now, broken down.
std::tm LocalNow();
// The local time of `when`, broken down.
std::tm LocalTimeAt(std::time_t when);
// Date or time picture tokens as described in Regional.h. Fields shorter than their token
// show without padding; names (ddd, dddd, mmm, mmmm) are English.
std::string FormatDateTime(const std::string& picture, const std::tm& when,
                           const TRegionalSettings& rs = RegionalSettings());
std::string DateToStr(const std::tm& when, const TRegionalSettings& rs = RegionalSettings());
std::string TimeToStr(const std::tm& when, const TRegionalSettings& rs = RegionalSettings());
