#include "format/NumberText.h"

#include <algorithm>
#include <cmath>

#include "format/DecimalRounding.h"

namespace formatting {

namespace {

std::string GroupThousands(const std::string& digits, char separator) {
    std::string out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        out += digits[i];
        const int position = n - 1 - i;
        if (position > 0 && position % 3 == 0) {
            out += separator;
        }
    }
    return out;
}

// "d.dddE-d": all digits of a rounded, non-zero decimal in exponent form, without sign.
std::string ScientificDigits(const TDecimal& d, const TRegionalSettings& rs) {
    std::string out(1, d.Digits[0]);
    if (d.Digits.size() > 1) {
        out += rs.DecimalSeparator + d.Digits.substr(1);
    }
    return out + "E" + ExponentText(d.Exponent - 1, false, 1);
}

std::string GeneralText(double value, int precision, const TRegionalSettings& rs) {
    TDecimal d = ToDecimal(value);
    RoundToDigits(d, precision);
    if (d.IsZero()) {
        return "0";
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (d.Exponent > precision || d.Exponent < -3) {
        return sign + ScientificDigits(d, rs);
    }
    std::string out = sign + (d.Exponent > 0 ? IntegerDigits(d) : "0");
    const int size = static_cast<int>(d.Digits.size());
    if (size > d.Exponent) {
        out += rs.DecimalSeparator + FractionDigits(d, size - d.Exponent);
    }
    return out;
}

// "-d.dddE+dd": `precision` significant digits, at least `expDigits` exponent digits.
std::string ExponentFormText(double value, int precision, int expDigits,
                             const TRegionalSettings& rs) {
    TDecimal d = ToDecimal(value);
    RoundToDigits(d, precision);
    const bool zero = d.IsZero();
    std::string out = std::signbit(value) && !zero ? "-" : "";
    out += d.At(0);
    if (precision > 1) {
        out += rs.DecimalSeparator;
        for (int i = 1; i < precision; ++i) {
            out += d.At(i);
        }
    }
    return out + "E" + ExponentText(zero ? 0 : d.Exponent - 1, true, expDigits);
}

// `digits` decimals, rounded to at most `precision` significant digits; numbers with more
// integer digits than `precision` are shown in exponent form rather than padded with zeros.
std::string FixedText(double value, int precision, int digits, bool grouped,
                      const TRegionalSettings& rs) {
    TDecimal d = ToDecimal(value);
    RoundToDigits(d, std::min(precision, d.Exponent + digits));
    if (d.Exponent > precision) {
        return ExponentFormText(value, precision, 0, rs);
    }
    std::string integer = d.Exponent > 0 ? IntegerDigits(d) : "0";
    if (grouped) {
        integer = GroupThousands(integer, rs.ThousandSeparator);
    }
    std::string out = std::signbit(value) && !d.IsZero() ? "-" : "";
    out += integer;
    if (digits > 0) {
        out += rs.DecimalSeparator + FractionDigits(d, digits);
    }
    return out;
}

} // namespace

std::string ExponentText(int exponent, bool plusSign, int minDigits) {
    std::string digits = std::to_string(exponent < 0 ? -static_cast<long>(exponent) : exponent);
    if (static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, minDigits - digits.size(), '0');
    }
    if (exponent < 0) {
        return "-" + digits;
    }
    return plusSign ? "+" + digits : digits;
}

std::optional<std::string> NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    return std::nullopt;
}

} // namespace formatting

using namespace formatting;

std::string FloatToStr(double value, const TRegionalSettings& rs) {
    return FloatToStrF(value, TFloatFormat::ffGeneral, kSignificantDigits, 0, rs);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TRegionalSettings& rs) {
    if (auto text = NonFiniteText(value)) {
        return *text;
    }
    precision = std::clamp(precision, 1, kSignificantDigits);
    switch (format) {
    case TFloatFormat::ffExponent:
        return ExponentFormText(value, precision, std::clamp(digits, 0, 4), rs);
    case TFloatFormat::ffFixed:
        return FixedText(value, precision, std::clamp(digits, 0, 18), false, rs);
    case TFloatFormat::ffNumber:
        return FixedText(value, precision, std::clamp(digits, 0, 18), true, rs);
    case TFloatFormat::ffGeneral:
        break;
    }
    return GeneralText(value, precision, rs);
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}
