#include "AbNumEditParse.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

constexpr size_t npos = std::u16string_view::npos;

bool Contains(std::u16string_view set, char16_t c) {
    return set.find(c) != npos;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

char16_t Wide(char c) {
    return static_cast<char16_t>(static_cast<unsigned char>(c));
}

// First and last position of the offending characters found so far, marked in any order
// (the check for a second separator runs after the character check).
struct TBadRange {
    size_t First = npos;
    size_t Last = npos;
    void Mark(size_t i) {
        First = std::min(First, i);
        Last = Last == npos ? i : std::max(Last, i);
    }
    bool Any() const { return First != npos; }
};

TNumTextParse Invalid(size_t first, size_t last, TNumTextKind kind = TNumTextKind::ntInvalid) {
    TNumTextParse r;
    r.Kind = kind;
    r.SelStart = static_cast<int>(first);
    r.SelLength = static_cast<int>(last - first + 1);
    return r;
}

TNumTextParse Invalid(const TBadRange& bad) {
    return Invalid(bad.First, bad.Last);
}

TNumTextParse NotANumber(size_t first, size_t last) {
    return Invalid(first, last, TNumTextKind::ntNotANumber);
}

TNumTextParse NotANumber(const TBadRange& bad) {
    return NotANumber(bad.First, bad.Last);
}

TNumTextParse Valid(double value) {
    TNumTextParse r;
    r.Kind = TNumTextKind::ntValid;
    r.Value = value == 0 ? 0.0 : value; // a typed "-0" is plain 0
    return r;
}

// The number part of a text: [From, To) without prefix and multiplier letter.
struct TNumberPart {
    std::u16string_view Text;
    size_t From = 0;
    size_t To = 0;
    TEditBase Base = ebFloat;
    double Multi = 1.0;
    size_t ExpPos = npos; // position of the exponent mark, if any
    bool Empty() const { return From >= To; }
};

TNumberPart SplitNumber(std::u16string_view text, TEditBase editBase) {
    TNumberPart n;
    n.Text = text;
    n.To = text.size();
    n.Base = editBase;
    if (IsValidFirstChar(text[0])) {
        n.Base = PrefixBase(text[0]);
        n.From = 1;
    }
    return n;
}

// A final multiplier letter. In the float base it always leaves the number; elsewhere only
// the enlarging letters do, and a fractional one stays behind to fail the character check.
void TakeMultiplier(TNumberPart& n, const TBaseProperties& props) {
    if (!props.MultiEnable || n.To <= n.From || !IsMultipChar(n.Text[n.To - 1]))
        return;
    const double factor = MultipFactor(n.Text[n.To - 1]);
    if (n.Base == ebFloat || factor > 1) {
        n.Multi = factor;
        --n.To;
    }
}

TBadRange CheckChars(TNumberPart& n, const TBaseProperties& props, char16_t decimalSep) {
    TBadRange bad;
    if (n.Empty())
        return bad;
    size_t i = n.From;
    if (Contains(props.Sign, n.Text[i]))
        ++i;
    for (; i < n.To; ++i) {
        const char16_t c = n.Text[i];
        if (props.ExpEnable && IsExpChar(c)) {
            n.ExpPos = i;
            break;
        }
        if (!Contains(props.ValidChars, c))
            bad.Mark(i);
    }
    if (n.ExpPos != npos) {
        i = n.ExpPos + 1;
        if (i < n.To && Contains(props.Sign, n.Text[i]))
            ++i;
        for (; i < n.To; ++i)
            if (!Contains(props.ValidChars, n.Text[i]))
                bad.Mark(i);
    }
    int separators = 0;
    for (i = n.From; i < n.To; ++i)
        if (n.Text[i] == decimalSep && ++separators >= 2)
            bad.Mark(i);
    return bad;
}

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

// Number without digits before the exponent or the end: a lone sign (or nothing but
// thousands separators) is 0; nothing at all with a multiplier letter is 1 ("k" is 1000).
double DigitlessValue(const TNumberPart& n) {
    return n.Empty() && n.Multi != 1.0 ? 1.0 : 0.0;
}

TNumTextParse ConvertFloat(const TNumberPart& n, const TRegionalSettings& rs) {
    const char16_t decimalSep = Wide(rs.DecimalSeparator);
    const size_t mantissaEnd = n.ExpPos == npos ? n.To : n.ExpPos;
    std::string c;
    size_t i = n.From;
    if (i < mantissaEnd && (n.Text[i] == u'+' || n.Text[i] == u'-'))
        c += static_cast<char>(n.Text[i++]);
    int digits = 0;
    size_t separatorPos = npos;
    for (; i < mantissaEnd; ++i) {
        if (IsDigit(n.Text[i])) {
            c += static_cast<char>(n.Text[i]);
            ++digits;
        } else if (n.Text[i] == decimalSep) {
            c += '.';
            separatorPos = i;
        } // thousands separators drop out
    }
    if (digits == 0 && separatorPos != npos)
        return NotANumber(separatorPos, separatorPos); // a separator with no digit at all
    if (digits == 0 && n.ExpPos == npos)
        return Valid(DigitlessValue(n) * n.Multi);
    if (digits == 0)
        c += '1'; // "e3" means 1e3
    if (n.ExpPos != npos) {
        c += 'e';
        size_t j = n.ExpPos + 1;
        if (j < n.To && (n.Text[j] == u'+' || n.Text[j] == u'-'))
            c += static_cast<char>(n.Text[j++]);
        int expDigits = 0;
        TBadRange bad;
        for (; j < n.To; ++j) {
            if (IsDigit(n.Text[j])) {
                c += static_cast<char>(n.Text[j]);
                ++expDigits;
            } else if (n.Text[j] == decimalSep) {
                bad.Mark(j);
            }
        }
        if (bad.Any())
            return NotANumber(bad);
        if (expDigits == 0)
            return NotANumber(n.ExpPos, n.To - 1); // the mark (and its sign) with nothing after
    }
    errno = 0;
    char* end = nullptr;
    double v = strtod_l(c.c_str(), &end, CLocale());
    if (end != c.c_str() + c.size())
        return NotANumber(n.From, n.Text.size() - 1);
    if (errno == ERANGE && std::isinf(v))
        return NotANumber(n.From, n.Text.size() - 1);
    v *= n.Multi;
    if (!std::isfinite(v))
        return NotANumber(n.From, n.Text.size() - 1);
    return Valid(v);
}

TNumTextParse ConvertInt(const TNumberPart& n) {
    size_t i = n.From;
    bool negative = false;
    if (i < n.To && (n.Text[i] == u'+' || n.Text[i] == u'-'))
        negative = n.Text[i++] == u'-';
    int64_t magnitude = 0;
    int digits = 0;
    for (; i < n.To; ++i) {
        if (!IsDigit(n.Text[i]))
            continue; // thousands separator
        ++digits;
        magnitude = magnitude * 10 + (n.Text[i] - u'0');
        if (magnitude > 2147483648LL)
            return NotANumber(n.From, n.Text.size() - 1);
    }
    if (!negative && magnitude > 2147483647LL)
        return NotANumber(n.From, n.Text.size() - 1);
    if (digits == 0)
        return Valid(DigitlessValue(n) * n.Multi);
    const double v = static_cast<double>(negative ? -magnitude : magnitude);
    return Valid(v * n.Multi);
}

// Digits after the leading zeros.
size_t SignificantDigits(const TNumberPart& n) {
    size_t i = n.From;
    while (i < n.To && n.Text[i] == u'0')
        ++i;
    return n.To - i;
}

TNumTextParse ConvertHex(const TNumberPart& n) {
    if (SignificantDigits(n) > 8)
        return NotANumber(n.From, n.To - 1);
    uint32_t v = 0;
    for (size_t i = n.From; i < n.To; ++i) {
        const char16_t c = n.Text[i];
        const uint32_t d = IsDigit(c) ? c - u'0' : (c | 0x20) - u'a' + 10;
        v = (v << 4) | d;
    }
    return Valid(static_cast<int32_t>(v));
}

TNumTextParse ConvertBin(const TNumberPart& n) {
    if (SignificantDigits(n) > 32)
        return NotANumber(n.From, n.To - 1);
    return Valid(AbBinToInt(n.Text.substr(n.From, n.To - n.From)));
}

} // namespace

int32_t AbBinToInt(std::u16string_view digits) {
    uint32_t sum = 0;
    uint32_t weight = 1;
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == u'1')
            sum += weight;
        weight <<= 1;
    }
    return static_cast<int32_t>(sum);
}

TNumTextParse ParseNumEditText(std::u16string_view text, TEditBase editBase,
                               const TRegionalSettings& rs) {
    if (text.empty())
        return {};
    TNumberPart n = SplitNumber(text, editBase);
    const TBaseProperties props = EBase(n.Base, rs);
    TakeMultiplier(n, props);
    const TBadRange bad = CheckChars(n, props, Wide(rs.DecimalSeparator));
    if (bad.Any())
        return Invalid(bad);
    switch (n.Base) {
    case ebBin:
        return ConvertBin(n);
    case ebHex:
        return ConvertHex(n);
    case ebFloat:
        return ConvertFloat(n, rs);
    case ebInt:
        break;
    }
    return ConvertInt(n);
}
