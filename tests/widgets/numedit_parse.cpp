// Reading typed text: character checks, selections of the offending part and conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "widgets/AbNumEditParse.h"

namespace {

TNumTextParse Parse(const char16_t* text, TEditBase base,
                    const TRegionalSettings& rs = EnglishRegionalSettings()) {
    return ParseNumEditText(text, base, rs);
}

// Expects a valid text converting to `value`.
void ExpectValue(const char16_t* text, TEditBase base, double value,
                 const TRegionalSettings& rs = EnglishRegionalSettings()) {
    const TNumTextParse p = Parse(text, base, rs);
    ASSERT_EQ(p.Kind, TNumTextKind::ntValid) << std::u16string(text).size();
    EXPECT_DOUBLE_EQ(p.Value, value);
}

// Expects a text with bad characters selecting `length` characters from `start`.
void ExpectInvalid(const char16_t* text, TEditBase base, int start, int length,
                   const TRegionalSettings& rs = EnglishRegionalSettings(),
                   TNumTextKind kind = TNumTextKind::ntInvalid) {
    const TNumTextParse p = Parse(text, base, rs);
    ASSERT_EQ(p.Kind, kind) << p.Value;
    EXPECT_EQ(p.SelStart, start);
    EXPECT_EQ(p.SelLength, length);
}

// Expects allowed characters that make no number, selecting as ExpectInvalid.
void ExpectNotANumber(const char16_t* text, TEditBase base, int start, int length,
                      const TRegionalSettings& rs = EnglishRegionalSettings()) {
    ExpectInvalid(text, base, start, length, rs, TNumTextKind::ntNotANumber);
}

} // namespace

TEST(NumEditParse, EmptyTextIsNeitherValidNorInvalid) {
    EXPECT_EQ(Parse(u"", ebFloat).Kind, TNumTextKind::ntEmpty);
    EXPECT_EQ(Parse(u"", ebBin).Kind, TNumTextKind::ntEmpty);
}

TEST(NumEditParse, FloatNumbersWithSignsSeparatorsAndExponents) {
    ExpectValue(u"12.5", ebFloat, 12.5);
    ExpectValue(u"-3", ebFloat, -3);
    ExpectValue(u"+.5", ebFloat, 0.5);
    ExpectValue(u"7.", ebFloat, 7);
    ExpectValue(u"1,000.25", ebFloat, 1000.25);
    ExpectValue(u"2.5e-3", ebFloat, 0.0025);
    ExpectValue(u"+1E+2", ebFloat, 100);
    ExpectValue(u"1e-400", ebFloat, 0); // below the double range: rounds to nothing
}

TEST(NumEditParse, IncompleteFloatsAreCompleted) {
    ExpectValue(u"-", ebFloat, 0);
    ExpectValue(u"+", ebFloat, 0);
    ExpectValue(u"e3", ebFloat, 1000);
    ExpectValue(u"-e2", ebFloat, -100);
    ExpectValue(u"k", ebFloat, 1000);
    ExpectValue(u"!", ebInt, 0);
    // A lone minus is plain zero, never a negative zero that would show as "-0".
    EXPECT_FALSE(std::signbit(Parse(u"-", ebFloat).Value));
}

TEST(NumEditParse, MultiplierLettersAreCaseSensitiveAndFinal) {
    ExpectValue(u"5k", ebFloat, 5000);
    ExpectValue(u"5m", ebFloat, 0.005);
    ExpectValue(u"5M", ebFloat, 5e6);
    ExpectValue(u"2u", ebFloat, 2e-6);
    ExpectValue(u"3a", ebFloat, 3e-18);
    ExpectValue(u"1E", ebFloat, 1e18); // a final E multiplies, it is no exponent mark
    ExpectValue(u"1e3k", ebFloat, 1e6);
    ExpectInvalid(u"5kk", ebFloat, 1, 1); // only the last letter multiplies
}

TEST(NumEditParse, FloatCharacterErrorsSelectFirstThroughLast) {
    ExpectInvalid(u"1.2.3.4", ebFloat, 3, 3); // second through third separator
    ExpectInvalid(u"1.2.3x", ebFloat, 3, 3);  // a bad letter after the second separator
    ExpectInvalid(u"12b", ebFloat, 2, 1);
    ExpectValue(u"12a", ebFloat, 12e-18); // a final "a" is atto
    ExpectInvalid(u"1-2", ebFloat, 1, 1);
    ExpectInvalid(u"x1y", ebFloat, 0, 3);
    ExpectInvalid(u"1e3e4", ebFloat, 3, 1);
    ExpectInvalid(u"1e++3", ebFloat, 3, 1);
    ExpectInvalid(u"12\u00e9", ebFloat, 2, 1);
}

TEST(NumEditParse, FloatsThatAreNoNumberAreRejectedWithTheBadPartSelected) {
    ExpectNotANumber(u"1e", ebFloat, 1, 1);    // exponent mark without digits
    ExpectNotANumber(u"1e+", ebFloat, 1, 2);   // mark and sign selected
    ExpectNotANumber(u"1e3.5", ebFloat, 3, 1); // separator in the exponent
    ExpectNotANumber(u".", ebFloat, 0, 1);     // a separator is no number
    ExpectNotANumber(u"-.e5", ebFloat, 1, 1);
    ExpectNotANumber(u"1e999", ebFloat, 0, 5);  // beyond the double range
    ExpectNotANumber(u"!-2e308", ebInt, 1, 6);  // prefix stays out of the selection
    ExpectNotANumber(u"1e300E", ebFloat, 0, 6); // overflows through the multiplier
}

TEST(NumEditParse, IntegerBase) {
    ExpectValue(u"30000", ebInt, 30000);
    ExpectValue(u"-12", ebInt, -12);
    ExpectValue(u"1,000", ebInt, 1000);
    ExpectValue(u"5k", ebInt, 5000);
    ExpectValue(u"2G", ebInt, 2e9); // the store clamps it to the integer range
    ExpectValue(u"-2147483648", ebInt, -2147483648.0);
    ExpectValue(u"-", ebInt, 0);
    ExpectValue(u"k", ebInt, 1000);
    ExpectInvalid(u"5.5", ebInt, 1, 1); // decimal separator
    ExpectInvalid(u"5m", ebInt, 1, 1);  // a fractional letter stays and fails
    ExpectInvalid(u"1e3", ebInt, 1, 1); // no exponents in integers
    ExpectNotANumber(u"2147483648", ebInt, 0, 10);
    ExpectNotANumber(u"99999999999999999999", ebInt, 0, 20);
}

TEST(NumEditParse, HexadecimalBase) {
    ExpectValue(u"FF", ebHex, 255);
    ExpectValue(u"7fffffff", ebHex, 2147483647);
    ExpectValue(u"FFFFFFFF", ebHex, -1);
    ExpectValue(u"000000001", ebHex, 1); // leading zeros do not count
    ExpectNotANumber(u"123456789", ebHex, 0, 9);
    ExpectInvalid(u"-1", ebHex, 0, 1);
    ExpectInvalid(u"1G", ebHex, 1, 1); // no multipliers in hexadecimal
    ExpectInvalid(u"0x1", ebHex, 1, 1);
}

TEST(NumEditParse, BinaryBase) {
    ExpectValue(u"101", ebBin, 5);
    ExpectValue(std::u16string(32, u'1').c_str(), ebBin, -1);
    ExpectValue((u"0" + std::u16string(32, u'1')).c_str(), ebBin, -1);
    ExpectNotANumber((u"1" + std::u16string(32, u'0')).c_str(), ebBin, 0, 33);
    ExpectInvalid(u"102", ebBin, 2, 1);
}

TEST(NumEditParse, PrefixesReadOtherBases) {
    ExpectValue(u"$FF", ebFloat, 255);
    ExpectValue(u"%12", ebFloat, 12);
    ExpectValue(u"&101", ebInt, 5);
    ExpectValue(u"!1.5", ebInt, 1.5);
    ExpectValue(u"!2k", ebHex, 2000);
    ExpectValue(u"%", ebFloat, 0);
    ExpectInvalid(u"%1.5", ebFloat, 2, 1);
    ExpectInvalid(u"$1$", ebFloat, 2, 1);
}

TEST(NumEditParse, CommaDecimalSettings) {
    const TRegionalSettings comma = CommaRegionalSettings();
    ExpectValue(u"1,5", ebFloat, 1.5, comma);
    ExpectValue(u"1.000,5", ebFloat, 1000.5, comma);
    ExpectValue(u"-", ebFloat, 0, comma);
    ExpectValue(u"e3", ebFloat, 1000, comma);
    ExpectValue(u"k", ebFloat, 1000, comma);
    ExpectValue(u"2,5e1", ebFloat, 25, comma);
    ExpectInvalid(u"1,2,3,4", ebFloat, 3, 3, comma);
    ExpectNotANumber(u"1e3,5", ebFloat, 3, 1, comma);
    ExpectInvalid(u"5,5", ebInt, 1, 1, comma);
    ExpectValue(u"5.500", ebInt, 5500, comma); // the point groups thousands here
}

TEST(NumEditParse, BinaryDigitsToInteger) {
    EXPECT_EQ(AbBinToInt(u""), 0);
    EXPECT_EQ(AbBinToInt(u"101"), 5);
    EXPECT_EQ(AbBinToInt(u"1x1"), 5); // other characters weigh nothing
    EXPECT_EQ(AbBinToInt(std::u16string(32, u'1')), -1);
    EXPECT_EQ(AbBinToInt(u"1" + std::u16string(32, u'0')), 0); // beyond 32 digits drops out
}
