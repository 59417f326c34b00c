#pragma once
// Number, date and time text in the user's regional settings.
#include <cstdint>
#include <ctime>
#include <string>

#include "Regional.h"

#include "DateTimeText.h"    // LocalNow, FormatDateTime, DateToStr, TimeToStr
#include "DecimalRounding.h" // RoundHalfEven and how text is rounded
#include "NumberParsing.h"   // TryStrToFloat, StrToFloat, TryStrToInt, StrToInt
#include "NumberText.h"      // FloatToStr, TFloatFormat, FloatToStrF, IntToStr
#include "NumericPicture.h"  // FormatFloat
