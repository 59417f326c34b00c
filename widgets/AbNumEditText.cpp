#include "AbNumEditText.h"

#include <cmath>
#include <limits>

#include "format/Formatting.h"

std::string AbIntToBin(int32_t value, int32_t digits) {
    const uint32_t bits = static_cast<uint32_t>(value);
    std::string text;
    if (digits <= 0) {
        uint32_t taken = 0;
        for (int bit = 0; bit < 32; ++bit) {
            const uint32_t mask = 1u << bit;
            text.insert(text.begin(), (bits & mask) ? '1' : '0');
            taken |= bits & mask;
            if (taken == bits)
                break;
        }
        return text;
    }
    for (int bit = 0; bit < digits; ++bit)
        text.insert(text.begin(), bit < 32 && (bits >> bit) & 1u ? '1' : '0');
    return text;
}

std::string AbIntToHex(int32_t value, int32_t digits) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    uint32_t bits = static_cast<uint32_t>(value);
    std::string text;
    do {
        text.insert(text.begin(), hexDigits[bits & 0xF]);
        bits >>= 4;
    } while (bits != 0);
    if (static_cast<int32_t>(text.size()) < digits)
        text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
    return text;
}

int32_t NumEditRoundToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return 2147483647;
    if (value <= -2147483647.0)
        return -2147483647;
    return static_cast<int32_t>(RoundHalfEven(value));
}

float NumEditToSingle(double value) {
    if (value >= 3.4e38)
        return 3.4e38f;
    if (value < -3.4e38)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::string NumEditBaseText(const TNumEditForms& forms, const TNumEditFormat& format,
                            const TRegionalSettings& rs) {
    switch (format.Base) {
    case ebBin:
        return forms.ValueAsBool;
    case ebHex:
        return forms.ValueAsHex;
    case ebFloat:
        return FormatFloat(format.FormatStr, forms.Value, rs);
    case ebInt:
        break;
    }
    return IntToStr(forms.ValueAsInt);
}

TNumEditForms MakeNumEditForms(long double x, const TNumEditFormat& format,
                               const TRegionalSettings& rs) {
    const TBaseProperties range = EBase(format.Base, rs);
    if (x < range.MinValue)
        x = range.MinValue;
    else if (x > range.MaxValue)
        x = range.MaxValue;
    TNumEditForms forms;
    forms.Value = static_cast<double>(x);
    forms.ValueAsSingle = NumEditToSingle(forms.Value);
    forms.ValueAsInt = NumEditRoundToInt(forms.Value);
    forms.ValueAsHex = AbIntToHex(forms.ValueAsInt, format.DigitsHex);
    forms.ValueAsBool = AbIntToBin(forms.ValueAsInt, format.DigitsBool);
    forms.Text = NumEditBaseText(forms, format, rs);
    return forms;
}
