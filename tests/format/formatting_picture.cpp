// Numeric pictures: digits, decimals, grouping, exponents, sections and rounding, shown
// with a point-decimal and a comma-decimal regional setting.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "format/Formatting.h"

namespace {

struct PictureCase {
    const char* Picture;
    double Value;
    const char* English;
    const char* Comma;
};

void ExpectPictures(std::initializer_list<PictureCase> cases) {
    const TRegionalSettings en = EnglishRegionalSettings();
    const TRegionalSettings comma = CommaRegionalSettings();
    for (const PictureCase& c : cases) {
        EXPECT_EQ(FormatFloat(c.Picture, c.Value, en), c.English)
            << c.Picture << " with " << c.Value;
        EXPECT_EQ(FormatFloat(c.Picture, c.Value, comma), c.Comma)
            << c.Picture << " with " << c.Value;
    }
}

TEST(FormattingPicture, DigitPlacesAndDecimals) {
    ExpectPictures({
        {"#0.#", 12.4992, "12.5", "12,5"},
        {"#0.#", 12, "12", "12"},
        {"#0.00#", 0.987, "0.987", "0,987"},
        {"#0.00#", 1, "1.00", "1,00"},
        {"#0.000", 0.9, "0.900", "0,900"},
        {"##0.0", 0, "0.0", "0,0"},
        {"##0", 987.6, "988", "988"},
        {"0000", 12, "0012", "0012"},
        {"#.##", 0.5, ".5", ",5"},
        {".00", 12.5, "12.50", "12,50"},
        {"#0", 123456, "123456", "123456"},
    });
}

TEST(FormattingPicture, DialLabelsFromSinglePrecisionSteps) {
    // The dial computes its labels in single precision: 0.65 + k * 0.05 carries binary noise.
    const float from = 0.65f;
    const float step = (1.35f - 0.65f) / 14;
    const char* expected[] = {"0.65", "0.70", "0.75", "0.80", "0.85", "0.90", "0.95", "1.00",
                              "1.05", "1.10", "1.15", "1.20", "1.25", "1.30", "1.35"};
    for (int k = 0; k <= 14; ++k) {
        const float label = from + static_cast<float>(k) * step;
        EXPECT_EQ(FormatFloat("#0.00", label, EnglishRegionalSettings()), expected[k]);
    }
}

TEST(FormattingPicture, ThousandsGrouping) {
    ExpectPictures({
        {"#,##0.00", 1234567.891, "1,234,567.89", "1.234.567,89"},
        {"#,##0", -1000, "-1,000", "-1.000"},
        {"#,##0", 999, "999", "999"},
        {"0,000", 12, "0,012", "0.012"},
        {",0", 1234, "1,234", "1.234"},
    });
}

TEST(FormattingPicture, Exponents) {
    ExpectPictures({
        {"0e-0", 0.001, "1e-3", "1e-3"},
        {"0e-0", 100, "1e2", "1e2"},
        {"0.00E+00", 1234, "1.23E+03", "1,23E+03"},
        {"0.00E-00", -0.000123, "-1.23E-04", "-1,23E-04"},
        {"00.0E+0", 1234, "12.3E+2", "12,3E+2"},
        {"0.0E+0", 0, "0.0E+0", "0,0E+0"},
        {"0.0E+0", 9.96, "1.0E+1", "1,0E+1"},
    });
}

TEST(FormattingPicture, SectionsAndQuotedText) {
    ExpectPictures({
        {"#0.0;(#0.0);\"zero\"", 3.5, "3.5", "3,5"},
        {"#0.0;(#0.0);\"zero\"", -3.5, "(3.5)", "(3,5)"},
        {"#0.0;(#0.0);\"zero\"", 0, "zero", "zero"},
        {"#0.0;(#0.0);\"zero\"", -0.01, "zero", "zero"}, // rounds to zero
        {"#0.0;;\"none\"", -2, "-2.0", "-2,0"},          // empty section falls back to the first
        {"#0.0;;", 0, "0.0", "0,0"},
        {"#0.0;(#0.0)", -0.04, "0.0", "0,0"}, // rounded to zero without a zero section
        {"\"V\"0.0' V'", 12.34, "V12.3 V", "V12,3 V"},
        {"'a;b' 0", 7, "a;b 7", "a;b 7"}, // ';' inside quotes is text
        {"0 h", 1, "1 h", "1 h"},
        {"$#0", -5, "-$5", "-$5"},
    });
}

TEST(FormattingPicture, NoNegativeZeroAfterRounding) {
    ExpectPictures({
        {"#0.0", -0.04, "0.0", "0,0"},
        {"#0", -0.4, "0", "0"},
        {"#0.00", -0.0, "0.00", "0,00"},
    });
}

TEST(FormattingPicture, ExactDecimalHalvesRoundToEven) {
    ExpectPictures({
        {"#0.0", 0.25, "0.2", "0,2"},
        {"#0.0", 0.35, "0.4", "0,4"},
        {"#0.0", 0.65, "0.6", "0,6"},
        {"#0", 2.5, "2", "2"},
        {"#0", 3.5, "4", "4"},
        {"#0", -2.5, "-2", "-2"},
        {"#0.00", 1.005, "1.00", "1,00"},
        {"#0.0", 0.2500001, "0.3", "0,3"}, // just above the half
        {"#0.0", 9.96, "10.0", "10,0"},    // carry into a new digit
        {"#0.#", 9.99, "10", "10"},
    });
}

TEST(FormattingPicture, UnusualValuesGiveReadableText) {
    ExpectPictures({
        {"#0.00", std::numeric_limits<double>::quiet_NaN(), "NAN", "NAN"},
        {"#0.00", std::numeric_limits<double>::infinity(), "INF", "INF"},
        {"#0.00", -std::numeric_limits<double>::infinity(), "-INF", "-INF"},
        {"#0.00", 1e300, "1E300", "1E300"},           // too long for a picture: general format
        {"#0.00", 999999999999999.9, "1E15", "1E15"}, // 1E15 once taken to 15 digits
        {"#0.00", 1e-300, "0.00", "0,00"},
        {"", 1.5, "1.5", "1,5"},
        {"#", 0, "", ""},
        {"'unterminated", 1, "unterminated", "unterminated"},
    });
    EXPECT_EQ(FormatFloat("0.00000000000000000000E+0000", std::numeric_limits<double>::min(),
                          EnglishRegionalSettings()),
              "2.22507385850720000000E-0308");
}

} // namespace
