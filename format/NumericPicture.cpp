#include "format/NumericPicture.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>

#include "format/DecimalRounding.h"
#include "format/NumberText.h"
#include "format/PictureSection.h"

using namespace formatting;

namespace {

// A picture without exponent shows the number in general format from 1E15 on, judged after
// the rounding to 15 significant digits, so that 999999999999999.9 (which that rounding makes
// 1E15) is shown as 1E15 is, not with a sixteenth digit.
bool TooLongForPicture(double value) {
    return ToDecimal(value).Exponent > kSignificantDigits;
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

// Writes a laid-out number token by token. The first integer place also takes the digits
// the picture has no places for; a point without integer places takes all of them.
struct TPictureWriter {
    const TSection& Section;
    const TPictureNumber& Number;
    const TRegionalSettings& Rs;
    std::string Out;
    int IntegerIndex = 0;
    int FractionIndex = 0;

    int IntegerSize() const { return static_cast<int>(Number.Integer.size()); }

    // Appends integer digits from `from` down to `to` places (units are place 0).
    void IntegerPlaces(int from, int to) {
        const int size = IntegerSize();
        for (int place = std::min(from, size - 1); place >= to; --place) {
            Out += Number.Integer[size - 1 - place];
            if (Section.Grouped && place > 0 && place % 3 == 0) {
                Out += Rs.ThousandSeparator;
            }
        }
    }
    void IntegerDigit() {
        const int place = Section.IntPlaces - 1 - IntegerIndex;
        IntegerPlaces(IntegerIndex == 0 ? IntegerSize() - 1 : place, place);
        ++IntegerIndex;
    }
    void Point() {
        if (Section.IntPlaces == 0) {
            IntegerPlaces(IntegerSize() - 1, 0);
        }
        if (!Number.Fraction.empty()) {
            Out += Rs.DecimalSeparator;
        }
    }
    void FractionDigit() {
        if (FractionIndex < static_cast<int>(Number.Fraction.size())) {
            Out += Number.Fraction[FractionIndex];
        }
        ++FractionIndex;
    }
    void Token(const TToken& t) {
        switch (t.Kind) {
        case TTokenKind::Literal:
            Out += t.Text;
            break;
        case TTokenKind::IntegerDigit:
            IntegerDigit();
            break;
        case TTokenKind::Point:
            Point();
            break;
        case TTokenKind::FractionDigit:
            FractionDigit();
            break;
        case TTokenKind::Exponent:
            Out += t.Text + ExponentText(Number.Exponent, t.PlusSign, t.ExpDigits);
            break;
        }
    }
};

std::string Render(const TSection& section, const TPictureNumber& n, bool minus,
                   const TRegionalSettings& rs) {
    TPictureWriter writer{section, n, rs, minus ? "-" : ""};
    for (const TToken& t : section.Tokens) {
        writer.Token(t);
    }
    return writer.Out;
}

// The section a value uses before rounding: negative, zero, or else the first.
size_t SectionFor(const std::vector<std::string>& sections, double value) {
    if (value < 0 && HasSection(sections, 1)) {
        return 1;
    }
    if (value == 0 && HasSection(sections, 2)) {
        return 2;
    }
    return 0;
}

// A value that rounded to zero: the zero section, or the first, never with a minus.
std::string RoundedZeroText(const std::vector<std::string>& sections, const TRegionalSettings& rs) {
    const size_t zeroIndex = HasSection(sections, 2) ? 2 : 0;
    if (sections[zeroIndex].empty()) {
        return "0";
    }
    const TSection zero = AnalyseSection(sections[zeroIndex]);
    return Render(zero, Layout(zero, 0.0), false, rs);
}

// A text once made, kept for the same picture, value and separators.
struct TMadeText {
    std::string Picture;
    uint64_t ValueBits = 0;
    char Decimal = 0;
    char Thousand = 0;
    bool Used = false;
    std::string Text;
};

std::string LayOut(const std::string& picture, double value, const TRegionalSettings& rs) {
    if (auto text = NonFiniteText(value)) {
        return *text;
    }
    const auto sections = SplitSections(picture);
    const size_t index = SectionFor(sections, value);
    if (sections[index].empty()) {
        return FloatToStr(value, rs);
    }
    const TSection section = AnalyseSection(sections[index]);
    if (!section.Scientific && TooLongForPicture(value)) {
        return FloatToStr(value, rs); // digits beyond the 15th would be made-up zeros
    }
    const TPictureNumber number = Layout(section, value);
    if (!number.Zero || value == 0) {
        return Render(section, number, value < 0 && index == 0, rs);
    }
    return RoundedZeroText(sections, rs);
}

} // namespace

// The same few values come again and again with every reading (the supply voltage, the lowest
// and highest of a span), so the texts last made are kept, per thread, in a small table.
std::string FormatFloat(const std::string& picture, double value, const TRegionalSettings& rs) {
    constexpr size_t kKept = 64;
    thread_local std::array<TMadeText, kKept> made;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    TMadeText& slot =
        made[(std::hash<uint64_t>{}(bits) ^ std::hash<std::string>{}(picture)) % kKept];
    if (!slot.Used || slot.ValueBits != bits || slot.Decimal != rs.DecimalSeparator ||
        slot.Thousand != rs.ThousandSeparator || slot.Picture != picture) {
        slot.Text = LayOut(picture, value, rs);
        slot.Picture = picture;
        slot.ValueBits = bits;
        slot.Decimal = rs.DecimalSeparator;
        slot.Thousand = rs.ThousandSeparator;
        slot.Used = true;
    }
    return slot.Text;
}
