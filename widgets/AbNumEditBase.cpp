#include "AbNumEditBase.h"

#include <limits>
#include <string_view>

namespace {

std::u16string Separator(char c) {
    if (c == '\0')
        return {};
    return std::u16string(1, static_cast<char16_t>(static_cast<unsigned char>(c)));
}

bool Contains(std::u16string_view set, char16_t c) {
    return set.find(c) != std::u16string_view::npos;
}

constexpr long double IntLimit = 2147483647.0L;

} // namespace

TBaseProperties EBase(TEditBase base, const TRegionalSettings& rs) {
    TBaseProperties p;
    switch (base) {
    case ebBin:
        p.ValidChars = u"01";
        p.MinValue = -IntLimit;
        p.MaxValue = IntLimit;
        break;
    case ebHex:
        p.ValidChars = u"0123456789abcdefABCDEF";
        p.MinValue = -IntLimit;
        p.MaxValue = IntLimit;
        break;
    case ebFloat:
        p.ValidChars =
            u"0123456789" + Separator(rs.DecimalSeparator) + Separator(rs.ThousandSeparator);
        p.ExpEnable = true;
        p.MultiEnable = true;
        p.Sign = u"+-";
        // -5.0e324 lies below the whole double range: floats have no lower bound.
        p.MinValue = -std::numeric_limits<long double>::infinity();
        p.MaxValue = 1.7e308L;
        break;
    case ebInt:
        p.ValidChars = u"0123456789" + Separator(rs.ThousandSeparator);
        p.MultiEnable = true;
        p.Sign = u"+-";
        p.MinValue = -IntLimit;
        p.MaxValue = IntLimit;
        break;
    }
    return p;
}

bool IsValidFirstChar(char16_t c) {
    return Contains(ValidFirstChar, c);
}

TEditBase PrefixBase(char16_t prefix) {
    switch (prefix) {
    case u'!':
        return ebFloat;
    case u'$':
        return ebHex;
    case u'%':
        return ebInt;
    default:
        return ebBin;
    }
}

bool IsExpChar(char16_t c) {
    return Contains(ExpChars, c);
}

bool IsMultipChar(char16_t c) {
    return Contains(ValidMultipChars, c);
}

double MultipFactor(char16_t c) {
    switch (c) {
    case u'E':
        return 1e18;
    case u'P':
        return 1e15;
    case u'T':
        return 1e12;
    case u'G':
        return 1e9;
    case u'M':
        return 1e6;
    case u'k':
        return 1e3;
    case u'm':
        return 1e-3;
    case u'u':
        return 1e-6;
    case u'n':
        return 1e-9;
    case u'p':
        return 1e-12;
    case u'f':
        return 1e-15;
    case u'a':
        return 1e-18;
    default:
        return 1.0;
    }
}
