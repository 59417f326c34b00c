#pragma once
// Number, date and time text in the user's regional settings.
#include <cstdint>
#include <ctime>
#include <string>

#include "format/Regional.h"

#include "format/DateTimeText.h"    // LocalNow, FormatDateTime, DateToStr, TimeToStr
#include "format/DecimalRounding.h" // RoundHalfEven and how text is rounded
#include "format/NumberParsing.h"   // TryStrToFloat, StrToFloat, TryStrToInt, StrToInt
#include "format/NumberText.h"      // FloatToStr, TFloatFormat, FloatToStrF, IntToStr
#include "format/NumericPicture.h"  // FormatFloat
