#pragma once
// The number bases of the numeric edit field and the entry vocabulary they share: which
// characters each base accepts, the base prefixes and the multiplier letters.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "format/Regional.h"

enum TEditBase : uint8_t { ebBin, ebHex, ebFloat, ebInt };

enum TNumEditOption : uint8_t { eoLimitMax, eoLimitMin, eoMultiply };

// A set of TNumEditOption, one bit each.
class TNumEditOptions {
public:
    constexpr TNumEditOptions() = default;
    constexpr TNumEditOptions(std::initializer_list<TNumEditOption> options) {
        for (TNumEditOption option : options)
            FBits = static_cast<uint8_t>(FBits | Bit(option));
    }
    constexpr bool Contains(TNumEditOption option) const { return (FBits & Bit(option)) != 0; }
    constexpr uint8_t Bits() const { return FBits; }
    constexpr bool operator==(const TNumEditOptions&) const = default;

private:
    static constexpr uint8_t Bit(TNumEditOption option) {
        return static_cast<uint8_t>(1u << option);
    }
    uint8_t FBits = 0;
};

enum TNumEditState : uint8_t { esNormal, esEditing, esError };

// Entry rules of one base. Texts hold single characters; the separators come from the
// regional settings in force when the record is made.
struct TBaseProperties {
    std::u16string ValidChars;
    bool ExpEnable = false;
    bool MultiEnable = false;
    std::u16string Sign;
    long double MinValue = 0;
    long double MaxValue = 0;
};

// The record of `base` under the given regional settings.
TBaseProperties EBase(TEditBase base, const TRegionalSettings& rs = RegionalSettings());

// "$%&!": a text starting with one of these is read in another base ("!" float,
// "$" hexadecimal, "%" integer, "&" binary); the prefix is not part of the number.
inline constexpr char16_t ValidFirstChar[] = u"$%&!";
// Exponent marks of the float base.
inline constexpr char16_t ExpChars[] = u"Ee";
// Multiplier letters, case-sensitive: E P T G M k m u n p f a.
inline constexpr char16_t ValidMultipChars[] = u"EPTGMkmunpfa";

bool IsValidFirstChar(char16_t c);
// The base a prefix character selects (only for characters of ValidFirstChar).
TEditBase PrefixBase(char16_t prefix);
bool IsExpChar(char16_t c);
bool IsMultipChar(char16_t c);
// Factor of a multiplier letter (1 for any other character). The factors are exact
// decimal powers, so "5m" is 0.005 and "1E" is 1e18 as closely as a double holds them.
double MultipFactor(char16_t c);
