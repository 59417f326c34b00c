#include "Formatting.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <time.h>
#include <vector>

#include "Exception.h"

// Rounding of text: a double carries about 15 reliable decimal digits, so every number is
// first taken to 15 significant digits (correctly rounded from its binary value); that
// decimal is then rounded to the digits shown, exact halves to the even neighbour. So
// 0.65 at one decimal is a true half and shows 0.6, 0.75 shows 0.8, and binary noise such
// as 0.1 + 0.2 = 0.30000000000000004 never decides a rounding.

namespace {

constexpr int kSignificantDigits = 15;
// From here on a picture without exponent shows the number in general format.
constexpr double kTooLongForPicture = 1e15;

// A finite magnitude as decimal digits: value = 0.d1 d2 d3 ... x 10^Exponent.
// Digits has no leading or trailing zeros; empty Digits is zero.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;

    bool IsZero() const { return Digits.empty(); }
    // The digit at `index` of the digit string; zeros outside it.
    char At(int index) const {
        return index >= 0 && index < static_cast<int>(Digits.size()) ? Digits[index] : '0';
    }
};

void StripTrailingZeros(TDecimal& d) {
    const auto last = d.Digits.find_last_not_of('0');
    if (last == std::string::npos) {
        d.Digits.clear();
        d.Exponent = 0;
        return;
    }
    d.Digits.resize(last + 1);
}

TDecimal ToDecimal(double magnitude) {
    TDecimal d;
    magnitude = std::fabs(magnitude);
    if (magnitude == 0) {
        return d;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.*e", kSignificantDigits - 1, magnitude);
    const std::string s(text); // "d.dddddddddddddde+XX"
    const auto e = s.find('e');
    d.Digits = s.substr(0, 1) + s.substr(2, e - 2);
    d.Exponent = std::atoi(s.c_str() + e + 1) + 1;
    StripTrailingZeros(d);
    return d;
}

// Adds one unit in the last kept digit.
void IncrementLastDigit(TDecimal& d) {
    int i = static_cast<int>(d.Digits.size()) - 1;
    while (i >= 0 && d.Digits[i] == '9') {
        d.Digits[i] = '0';
        --i;
    }
    if (i < 0) {
        d.Digits.insert(0, "1");
        d.Exponent += 1;
    } else {
        d.Digits[i]++;
    }
}

// Keeps the first `kept` digits and rounds the rest away, exact halves to even.
void RoundToDigits(TDecimal& d, int kept) {
    if (kept >= static_cast<int>(d.Digits.size())) {
        return;
    }
    if (kept < 0) {
        d = TDecimal{};
        return;
    }
    const char first = d.Digits[kept];
    const bool moreAfterFirst = static_cast<int>(d.Digits.size()) > kept + 1;
    bool up = first > '5' || (first == '5' && moreAfterFirst);
    if (first == '5' && !moreAfterFirst) {
        up = kept > 0 && (d.Digits[kept - 1] - '0') % 2 == 1;
    }
    d.Digits.resize(kept);
    if (up) {
        IncrementLastDigit(d);
    }
    StripTrailingZeros(d);
}

void RoundToDecimals(TDecimal& d, int decimals) {
    if (!d.IsZero()) {
        RoundToDigits(d, d.Exponent + decimals);
    }
}

std::string IntegerDigits(const TDecimal& d) {
    std::string s;
    for (int i = 0; i < d.Exponent; ++i) {
        s += d.At(i);
    }
    return s;
}

std::string FractionDigits(const TDecimal& d, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += d.At(d.Exponent + i);
    }
    return s;
}

void TrimFraction(std::string& fraction, int minimum) {
    while (static_cast<int>(fraction.size()) > minimum && fraction.back() == '0') {
        fraction.pop_back();
    }
}

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

std::optional<std::string> NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    return std::nullopt;
}

// ---- general, exponent and fixed formats ----

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

std::string GeneralText(double value, int precision, const TRegionalSettings& rs) {
    TDecimal d = ToDecimal(value);
    RoundToDigits(d, precision);
    if (d.IsZero()) {
        return "0";
    }
    std::string out = std::signbit(value) ? "-" : "";
    const int size = static_cast<int>(d.Digits.size());
    if (d.Exponent > precision || d.Exponent < -3) {
        out += d.Digits[0];
        if (size > 1) {
            out += rs.DecimalSeparator + d.Digits.substr(1);
        }
        return out + "E" + ExponentText(d.Exponent - 1, false, 1);
    }
    out += d.Exponent > 0 ? IntegerDigits(d) : "0";
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

// ---- numeric pictures ----

enum class TTokenKind { Literal, IntegerDigit, Point, FractionDigit, Exponent };

struct TToken {
    TTokenKind Kind;
    std::string Text; // literal text; for digits "0" or "#"; for the exponent its mark "E"/"e"
    bool PlusSign = false;
    int ExpDigits = 0;
};

struct TSection {
    std::vector<TToken> Tokens;
    int IntPlaces = 0;   // digit places before the decimal point
    int MinInteger = 0;  // integer digits always shown (from the first '0' on)
    int MaxDecimals = 0; // digit places after the decimal point
    int MinDecimals = 0; // decimals always shown (up to the last '0')
    bool Grouped = false;
    bool Scientific = false;
};

// Splits at ';' outside quoted text; at most three sections.
std::vector<std::string> SplitSections(const std::string& picture) {
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : picture) {
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            if (sections.size() == 3) {
                break;
            }
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

bool IsExponentMark(const std::string& s, size_t i) {
    return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

void AddLiteral(std::vector<TToken>& tokens, const std::string& text) {
    if (!tokens.empty() && tokens.back().Kind == TTokenKind::Literal) {
        tokens.back().Text += text;
    } else {
        tokens.push_back({TTokenKind::Literal, text});
    }
}

// Reads the exponent at s[i] ("E+00"), returns the index after it.
size_t ReadExponent(const std::string& s, size_t i, TSection& section) {
    size_t j = i + 2;
    while (j < s.size() && s[j] == '0') {
        ++j;
    }
    TToken token{TTokenKind::Exponent, std::string(1, s[i])};
    token.PlusSign = s[i + 1] == '+';
    token.ExpDigits = static_cast<int>(j - (i + 2));
    section.Tokens.push_back(token);
    section.Scientific = true;
    return j;
}

void Tokenize(const std::string& s, TSection& section) {
    bool afterPoint = false;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            const size_t close = s.find(c, i + 1);
            const size_t end = close == std::string::npos ? s.size() : close;
            AddLiteral(section.Tokens, s.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (!section.Scientific && IsExponentMark(s, i)) {
            i = ReadExponent(s, i, section);
            continue;
        }
        if ((c == '0' || c == '#') && !section.Scientific) {
            const auto kind = afterPoint ? TTokenKind::FractionDigit : TTokenKind::IntegerDigit;
            section.Tokens.push_back({kind, std::string(1, c)});
        } else if (c == '.' && !section.Scientific) {
            if (!afterPoint) {
                section.Tokens.push_back({TTokenKind::Point, ""});
                afterPoint = true;
            }
        } else if (c == ',') {
            section.Grouped = section.Grouped || !afterPoint;
        } else if (c != '0' && c != '#' && c != '.') {
            AddLiteral(section.Tokens, std::string(1, c));
        }
        ++i;
    }
}

TSection AnalyseSection(const std::string& text) {
    TSection section;
    Tokenize(text, section);
    int firstIntegerZero = -1;
    for (const TToken& t : section.Tokens) {
        if (t.Kind == TTokenKind::IntegerDigit) {
            if (t.Text == "0" && firstIntegerZero < 0) {
                firstIntegerZero = section.IntPlaces;
            }
            ++section.IntPlaces;
        } else if (t.Kind == TTokenKind::FractionDigit) {
            ++section.MaxDecimals;
            if (t.Text == "0") {
                section.MinDecimals = section.MaxDecimals;
            }
        }
    }
    section.MinInteger = firstIntegerZero < 0 ? 0 : section.IntPlaces - firstIntegerZero;
    return section;
}

// The number as the section shows it: integer and fraction digits and the exponent.
struct TPictureNumber {
    std::string Integer;
    std::string Fraction;
    int Exponent = 0;
    bool Zero = true;
};

TPictureNumber Layout(const TSection& section, double magnitude) {
    TPictureNumber n;
    TDecimal d = ToDecimal(magnitude);
    if (section.Scientific) {
        RoundToDigits(d, std::max(1, section.IntPlaces + section.MaxDecimals));
        if (!d.IsZero()) {
            n.Exponent = d.Exponent - section.IntPlaces;
            d.Exponent = section.IntPlaces;
        }
    } else {
        RoundToDecimals(d, section.MaxDecimals);
    }
    n.Zero = d.IsZero();
    n.Integer = IntegerDigits(d);
    if (static_cast<int>(n.Integer.size()) < section.MinInteger) {
        n.Integer.insert(0, section.MinInteger - n.Integer.size(), '0');
    }
    n.Fraction = FractionDigits(d, section.MaxDecimals);
    TrimFraction(n.Fraction, section.MinDecimals);
    return n;
}

// Appends integer digits from `from` down to `to` places (units are place 0).
void AppendIntegerPlaces(std::string& out, const std::string& integer, int from, int to,
                         const TSection& section, const TRegionalSettings& rs) {
    const int size = static_cast<int>(integer.size());
    for (int place = std::min(from, size - 1); place >= to; --place) {
        out += integer[size - 1 - place];
        if (section.Grouped && place > 0 && place % 3 == 0) {
            out += rs.ThousandSeparator;
        }
    }
}

std::string Render(const TSection& section, const TPictureNumber& n, bool minus,
                   const TRegionalSettings& rs) {
    std::string out = minus ? "-" : "";
    const int size = static_cast<int>(n.Integer.size());
    int integerIndex = 0;
    int fractionIndex = 0;
    for (const TToken& t : section.Tokens) {
        switch (t.Kind) {
        case TTokenKind::Literal:
            out += t.Text;
            break;
        case TTokenKind::IntegerDigit: {
            const int place = section.IntPlaces - 1 - integerIndex;
            const int from = integerIndex == 0 ? size - 1 : place;
            AppendIntegerPlaces(out, n.Integer, from, place, section, rs);
            ++integerIndex;
            break;
        }
        case TTokenKind::Point:
            if (section.IntPlaces == 0) {
                AppendIntegerPlaces(out, n.Integer, size - 1, 0, section, rs);
            }
            if (!n.Fraction.empty()) {
                out += rs.DecimalSeparator;
            }
            break;
        case TTokenKind::FractionDigit:
            if (fractionIndex < static_cast<int>(n.Fraction.size())) {
                out += n.Fraction[fractionIndex];
            }
            ++fractionIndex;
            break;
        case TTokenKind::Exponent:
            out += t.Text + ExponentText(n.Exponent, t.PlusSign, t.ExpDigits);
            break;
        }
    }
    return out;
}

bool HasSection(const std::vector<std::string>& sections, size_t index) {
    return sections.size() > index && !sections[index].empty();
}

// ---- text to number ----

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

// The text in the C locale's form, or nothing when it is not a plain decimal number:
// [sign] digits [separator digits] [e|E [sign] digits], at least one mantissa digit.
std::optional<std::string> PlainNumber(const std::string& s, char decimalSeparator) {
    std::string out;
    size_t i = 0;
    CopySign(s, i, out);
    int mantissa = CopyDigits(s, i, out);
    if (i < s.size() && s[i] == decimalSeparator) {
        out += '.';
        ++i;
        mantissa += CopyDigits(s, i, out);
    }
    if (mantissa == 0) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        out += 'e';
        ++i;
        CopySign(s, i, out);
        if (CopyDigits(s, i, out) == 0) {
            return std::nullopt;
        }
    }
    if (i != s.size()) {
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

// Hexadecimal digits of s from i to the end as a 64-bit pattern.
bool ParseHex(const std::string& s, size_t i, uint64_t& result) {
    if (i >= s.size()) {
        return false;
    }
    result = 0;
    for (; i < s.size(); ++i) {
        const int v = HexValue(s[i]);
        if (v < 0 || (result >> 60) != 0) {
            return false;
        }
        result = result << 4 | static_cast<uint64_t>(v);
    }
    return true;
}

bool ParseDecimal(const std::string& s, size_t i, uint64_t limit, uint64_t& result) {
    if (i >= s.size()) {
        return false;
    }
    result = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i])) {
            return false;
        }
        const uint64_t digit = static_cast<uint64_t>(s[i] - '0');
        if (result > (limit - digit) / 10) {
            return false;
        }
        result = result * 10 + digit;
    }
    return true;
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

// ---- date and time ----

const char* const kShortDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
const char* const kShortMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

std::string Name(const char* const* names, int count, int index) {
    return index >= 0 && index < count ? names[index] : "?";
}

std::string Number(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(const std::string& s, size_t i, const char* word) {
    for (size_t k = 0; word[k] != 0; ++k) {
        if (i + k >= s.size() || Lower(s[i + k]) != word[k]) {
            return false;
        }
    }
    return true;
}

size_t RunLength(const std::string& s, size_t i) {
    size_t j = i;
    while (j < s.size() && Lower(s[j]) == Lower(s[i])) {
        ++j;
    }
    return j - i;
}

// An am/pm marker at s[i]: its length and the text it shows, or length 0.
size_t AmPmMarker(const std::string& s, size_t i, bool pm, const TRegionalSettings& rs,
                  std::string& text) {
    if (StartsWithNoCase(s, i, "am/pm")) {
        text = pm ? s.substr(i + 3, 2) : s.substr(i, 2);
        return 5;
    }
    if (StartsWithNoCase(s, i, "a/p")) {
        text = pm ? s.substr(i + 2, 1) : s.substr(i, 1);
        return 3;
    }
    if (StartsWithNoCase(s, i, "ampm")) {
        text = pm ? rs.TimePMString : rs.TimeAMString;
        return 4;
    }
    return 0;
}

bool HasAmPm(const std::string& picture) {
    std::string unused;
    char quote = 0;
    for (size_t i = 0; i < picture.size(); ++i) {
        const char c = picture[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (AmPmMarker(picture, i, false, TRegionalSettings{}, unused) > 0) {
            return true;
        }
    }
    return false;
}

struct TDateTimeWriter {
    const std::tm& When;
    const TRegionalSettings& Rs;
    bool TwelveHour = false;
    bool AfterHour = false; // an "m" right after an hour means minutes
    std::string Out;

    void Day(size_t run) {
        if (run <= 2) {
            Out += Number(When.tm_mday, static_cast<int>(run));
        } else {
            Out += run == 3 ? Name(kShortDayNames, 7, When.tm_wday)
                            : Name(kLongDayNames, 7, When.tm_wday);
        }
    }
    void Month(size_t run) {
        if (run <= 2) {
            Out += Number(When.tm_mon + 1, static_cast<int>(run));
        } else {
            Out += run == 3 ? Name(kShortMonthNames, 12, When.tm_mon)
                            : Name(kLongMonthNames, 12, When.tm_mon);
        }
    }
    void Year(size_t run) {
        const int year = When.tm_year + 1900;
        Out += run <= 2 ? Number(((year % 100) + 100) % 100, 2) : Number(year, 4);
    }
    void Hour(size_t run) {
        int hour = When.tm_hour;
        if (TwelveHour) {
            hour = hour % 12 == 0 ? 12 : hour % 12;
        }
        Out += Number(hour, run >= 2 ? 2 : 1);
    }
    // Writes the field at picture[i]; returns its length, or 0 when it is no field.
    size_t Field(const std::string& p, size_t i) {
        const size_t run = RunLength(p, i);
        std::string marker;
        switch (Lower(p[i])) {
        case 'd':
            Day(run);
            break;
        case 'm':
            if (AfterHour && run <= 2) {
                Out += Number(When.tm_min, static_cast<int>(run));
            } else {
                Month(run);
            }
            break;
        case 'y':
            Year(run);
            break;
        case 'h':
            Hour(run);
            AfterHour = true;
            return run;
        case 'n':
            Out += Number(When.tm_min, run >= 2 ? 2 : 1);
            break;
        case 's':
            Out += Number(When.tm_sec, run >= 2 ? 2 : 1);
            break;
        case 'z':
            Out += run >= 3 ? "000" : "0";
            break; // no milliseconds in a broken-down time
        case 'a': {
            const size_t length = AmPmMarker(p, i, When.tm_hour >= 12, Rs, marker);
            if (length == 0) {
                return 0;
            }
            Out += marker;
            AfterHour = false;
            return length;
        }
        default:
            return 0;
        }
        AfterHour = false;
        return run;
    }
};

} // namespace

int64_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 9223372036854775807.0) {
        return INT64_MAX;
    }
    if (value <= -9223372036854775808.0) {
        return INT64_MIN;
    }
    // Independent of the floating-point rounding mode: floor and the exact remainder.
    const double below = std::floor(value);
    const double rest = value - below;
    const bool belowIsEven = std::fmod(below, 2.0) == 0;
    const bool up = rest > 0.5 || (rest == 0.5 && !belowIsEven);
    return static_cast<int64_t>(below) + (up ? 1 : 0);
}

std::string FormatFloat(const std::string& picture, double value, const TRegionalSettings& rs) {
    if (auto text = NonFiniteText(value)) {
        return *text;
    }
    const auto sections = SplitSections(picture);
    size_t index = 0;
    if (value < 0 && HasSection(sections, 1)) {
        index = 1;
    } else if (value == 0 && HasSection(sections, 2)) {
        index = 2;
    }
    if (sections[index].empty()) {
        return FloatToStr(value, rs);
    }
    const TSection section = AnalyseSection(sections[index]);
    if (!section.Scientific && std::fabs(value) >= kTooLongForPicture) {
        return FloatToStr(value, rs); // digits beyond the 15th would be made-up zeros
    }
    const TPictureNumber number = Layout(section, value);
    if (!number.Zero || value == 0) {
        return Render(section, number, value < 0 && index == 0, rs);
    }
    // Rounded to zero: the zero section, or the first, never with a minus.
    const size_t zeroIndex = HasSection(sections, 2) ? 2 : 0;
    if (sections[zeroIndex].empty()) {
        return "0";
    }
    const TSection zero = AnalyseSection(sections[zeroIndex]);
    return Render(zero, Layout(zero, 0.0), false, rs);
}

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
    size_t i = 0;
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        i = 1;
    }
    uint64_t magnitude = 0;
    size_t hexStart = 0;
    if (IsHexPrefix(s, i, hexStart)) {
        // Hexadecimal is a bit pattern: $FFFFFFFFFFFFFFFF is -1.
        if (!ParseHex(s, hexStart, magnitude)) {
            return false;
        }
    } else {
        const uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
        if (!ParseDecimal(s, i, limit, magnitude)) {
            return false;
        }
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

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm result{};
    localtime_r(&now, &result);
    return result;
}

std::string FormatDateTime(const std::string& picture, const std::tm& when,
                           const TRegionalSettings& rs) {
    TDateTimeWriter writer{when, rs, HasAmPm(picture), false, {}};
    size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '"' || c == '\'') {
            const size_t close = picture.find(c, i + 1);
            const size_t end = close == std::string::npos ? picture.size() : close;
            writer.Out += picture.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const size_t length = writer.Field(picture, i);
        if (length > 0) {
            i += length;
            continue;
        }
        writer.Out += c == '/' ? rs.DateSeparator : c == ':' ? rs.TimeSeparator : c;
        ++i;
    }
    return writer.Out;
}

std::string DateToStr(const std::tm& when, const TRegionalSettings& rs) {
    return FormatDateTime(rs.ShortDateFormat, when, rs);
}

std::string TimeToStr(const std::tm& when, const TRegionalSettings& rs) {
    return FormatDateTime(rs.LongTimeFormat, when, rs);
}
