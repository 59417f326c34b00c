#include "format/NumberParsing.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <optional>

#include "platform/Exception.h"

namespace {

std::string TrimBlanks(const std::string& text) {
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return "";
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Copies a run of decimal digits from s[i] to out; returns how many.
int CopyDigits(const std::string& s, size_t& i, std::string& out) {
    int count = 0;
    while (i < s.size() && IsDigit(s[i])) {
        out += s[i++];
        ++count;
    }
    return count;
}

void CopySign(const std::string& s, size_t& i, std::string& out) {
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        out += s[i++];
    }
}

// Copies [sign] digits [separator digits] with a '.' for the separator; returns how many
// digits it copied.
int CopyMantissa(const std::string& s, size_t& i, char decimalSeparator, std::string& out) {
    CopySign(s, i, out);
    int digits = CopyDigits(s, i, out);
    if (i < s.size() && s[i] == decimalSeparator) {
        out += '.';
        ++i;
        digits += CopyDigits(s, i, out);
    }
    return digits;
}

// Copies an exponent "e [sign] digits" if one stands at s[i]; false when it has no digits.
bool CopyExponent(const std::string& s, size_t& i, std::string& out) {
    if (i >= s.size() || (s[i] != 'e' && s[i] != 'E')) {
        return true;
    }
    out += 'e';
    ++i;
    CopySign(s, i, out);
    return CopyDigits(s, i, out) > 0;
}

// The text in the C locale's form, or nothing when it is not a plain decimal number:
// [sign] digits [separator digits] [e|E [sign] digits], at least one mantissa digit.
std::optional<std::string> PlainNumber(const std::string& s, char decimalSeparator) {
    std::string out;
    size_t i = 0;
    if (CopyMantissa(s, i, decimalSeparator, out) == 0 || !CopyExponent(s, i, out) ||
        i != s.size()) {
        return std::nullopt;
    }
    return out;
}

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Folds the digits of s from i to the end into `result`; false when there are none or
// `addDigit` refuses one.
template <typename AddDigit>
bool ParseDigits(const std::string& s, size_t i, uint64_t& result, AddDigit addDigit) {
    if (i >= s.size()) {
        return false;
    }
    result = 0;
    for (; i < s.size(); ++i) {
        if (!addDigit(s[i], result)) {
            return false;
        }
    }
    return true;
}

// Hexadecimal digits of s from i to the end as a 64-bit pattern.
bool ParseHex(const std::string& s, size_t i, uint64_t& result) {
    return ParseDigits(s, i, result, [](char c, uint64_t& r) {
        const int v = HexValue(c);
        if (v < 0 || (r >> 60) != 0) {
            return false;
        }
        r = r << 4 | static_cast<uint64_t>(v);
        return true;
    });
}

// Decimal digits of s from i to the end, at most `limit`.
bool ParseDecimal(const std::string& s, size_t i, uint64_t limit, uint64_t& result) {
    return ParseDigits(s, i, result, [limit](char c, uint64_t& r) {
        if (!IsDigit(c)) {
            return false;
        }
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (r > (limit - digit) / 10) {
            return false;
        }
        r = r * 10 + digit;
        return true;
    });
}

bool IsHexPrefix(const std::string& s, size_t i, size_t& digitsStart) {
    if (i < s.size() && s[i] == '$') {
        digitsStart = i + 1;
        return true;
    }
    if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        digitsStart = i + 2;
        return true;
    }
    return false;
}

// The digits of s from i as the unsigned magnitude of a negative or positive number.
bool ParseMagnitude(const std::string& s, size_t i, bool negative, uint64_t& magnitude) {
    size_t hexStart = 0;
    if (IsHexPrefix(s, i, hexStart)) {
        // Hexadecimal is a bit pattern: $FFFFFFFFFFFFFFFF is -1.
        return ParseHex(s, hexStart, magnitude);
    }
    const uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    return ParseDecimal(s, i, limit, magnitude);
}

} // namespace

bool TryStrToFloat(const std::string& text, double& value, const TRegionalSettings& rs) {
    const auto plain = PlainNumber(TrimBlanks(text), rs.DecimalSeparator);
    if (!plain) {
        return false;
    }
    errno = 0;
    const double result = strtod_l(plain->c_str(), nullptr, CLocale());
    if (errno == ERANGE && std::isinf(result)) {
        return false; // beyond the range of a double
    }
    value = result; // an underflow gives zero or the nearest tiny value
    return true;
}

double StrToFloat(const std::string& text, const TRegionalSettings& rs) {
    double value = 0;
    if (!TryStrToFloat(text, value, rs)) {
        throw EConvertError("'" + text + "' is not a valid floating point value");
    }
    return value;
}

bool TryStrToInt(const std::string& text, int64_t& value) {
    const std::string s = TrimBlanks(text);
    const bool negative = !s.empty() && s[0] == '-';
    const size_t start = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    uint64_t magnitude = 0;
    if (!ParseMagnitude(s, start, negative, magnitude)) {
        return false;
    }
    value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

int64_t StrToInt(const std::string& text) {
    int64_t value = 0;
    if (!TryStrToInt(text, value)) {
        throw EConvertError("'" + text + "' is not a valid integer value");
    }
    return value;
}
