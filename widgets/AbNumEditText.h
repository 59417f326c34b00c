#pragma once
// The forms a numeric edit field keeps its value in, and the text it shows for each base.
// Pure functions: no widget involved.
#include <cstdint>
#include <string>

#include "AbNumEditBase.h"
#include "format/Regional.h"

// Binary digits of `value`, bits taken from bit 0 upward, each new digit put in front.
// digits <= 0: as few digits as the value needs ("0", "101"; a negative value gives 32).
// digits > 0: exactly that many low bits, higher bits dropped.
std::string AbIntToBin(int32_t value, int32_t digits);

// Upper-case hexadecimal with at least `digits` digits; a negative value shows its 32-bit
// two's complement (eight digits).
std::string AbIntToHex(int32_t value, int32_t digits);

// Nearest integer, halves to the even neighbour, held within +-2147483647.
int32_t NumEditRoundToInt(double value);

// Single precision copy: at or above 3.4e38 it is 3.4e38, below -3.4e38 minus infinity.
float NumEditToSingle(double value);

// Everything a store of one value produces.
struct TNumEditForms {
    double Value = 0;
    float ValueAsSingle = 0;
    int32_t ValueAsInt = 0;
    std::string ValueAsHex;
    std::string ValueAsBool;
    std::string Text; // what the field shows in its base
};

struct TNumEditFormat {
    TEditBase Base = ebFloat;
    std::string FormatStr = "#0.#";
    int32_t DigitsHex = 0;
    int32_t DigitsBool = 0;
};

// The value clamped to the range of the base, with its copies and the displayed text.
TNumEditForms MakeNumEditForms(long double x, const TNumEditFormat& format,
                               const TRegionalSettings& rs = RegionalSettings());

// The displayed text of an already stored set of forms in `base`.
std::string NumEditBaseText(const TNumEditForms& forms, const TNumEditFormat& format,
                            const TRegionalSettings& rs = RegionalSettings());
