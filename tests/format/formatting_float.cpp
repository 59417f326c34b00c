// General, fixed, number and exponent formats and rounding to integers.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "format/Formatting.h"

namespace {

const TRegionalSettings en = EnglishRegionalSettings();
const TRegionalSettings comma = CommaRegionalSettings();

TEST(FormattingFloat, RoundHalfEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999999), 2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(9000 * 0.0103 + 948.8), 1042);  // 1041.5
    EXPECT_EQ(RoundHalfEven(19000 * 0.0103 + 948.8), 1144); // 1144.5
    EXPECT_EQ(RoundHalfEven(1e30), INT64_MAX);
    EXPECT_EQ(RoundHalfEven(-1e30), INT64_MIN);
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(FormattingFloat, GeneralFormat) {
    EXPECT_EQ(FloatToStr(0.987, en), "0.987");
    EXPECT_EQ(FloatToStr(0.987, comma), "0,987");
    EXPECT_EQ(FloatToStr(1, en), "1");
    EXPECT_EQ(FloatToStr(0.9, en), "0.9");
    EXPECT_EQ(FloatToStr(-12.25, en), "-12.25");
    EXPECT_EQ(FloatToStr(0.1 + 0.2, en), "0.3");
    EXPECT_EQ(FloatToStr(1.0 / 3, en), "0.333333333333333");
    EXPECT_EQ(FloatToStr(0, en), "0");
    EXPECT_EQ(FloatToStr(-0.0, en), "0");
    EXPECT_EQ(FloatToStr(1e14, en), "100000000000000");
    EXPECT_EQ(FloatToStr(1e15, en), "1E15");
    EXPECT_EQ(FloatToStr(1e20, en), "1E20");
    EXPECT_EQ(FloatToStr(0.0001, en), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001, en), "1E-5");
    EXPECT_EQ(FloatToStr(-1.5e-7, comma), "-1,5E-7");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN(), en), "NAN");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity(), en), "-INF");
    EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffGeneral, 4, 0, en), "1235");
}

TEST(FormattingFloat, FixedWithSignificantDigits) {
    const auto fixed = [](double v, int precision, int digits, const TRegionalSettings& rs) {
        return FloatToStrF(v, TFloatFormat::ffFixed, precision, digits, rs);
    };
    // Supply volts in the data log: one decimal, three significant digits.
    EXPECT_EQ(fixed(12.4992, 3, 1, en), "12.5");
    EXPECT_EQ(fixed(12.4992, 3, 1, comma), "12,5");
    EXPECT_EQ(fixed(15.93648, 3, 1, en), "15.9");
    EXPECT_EQ(fixed(0, 3, 1, en), "0.0");
    // Firmware version: byte / 10, one decimal, two significant digits.
    EXPECT_EQ(fixed(12 / 10.0, 2, 1, en), "1.2");
    EXPECT_EQ(fixed(9 / 10.0, 2, 1, comma), "0,9");
    EXPECT_EQ(fixed(123 / 10.0, 2, 1, en), "12.0");
    EXPECT_EQ(fixed(255 / 10.0, 2, 1, en), "26.0");
    EXPECT_EQ(fixed(125 / 10.0, 2, 1, en), "12.0"); // exact half to even
    EXPECT_EQ(fixed(0.0451, 15, 2, en), "0.05");    // one rounding, not two
    EXPECT_EQ(fixed(-0.04, 15, 1, en), "0.0");
    EXPECT_EQ(fixed(-2.25, 15, 3, en), "-2.250");
    EXPECT_EQ(fixed(1234.5, 3, 1, en), "1.23E+3"); // more integer digits than precision
}

TEST(FormattingFloat, NumberAndExponentFormats) {
    EXPECT_EQ(FloatToStrF(1234567.891, TFloatFormat::ffNumber, 15, 2, en), "1,234,567.89");
    EXPECT_EQ(FloatToStrF(1234567.891, TFloatFormat::ffNumber, 15, 2, comma), "1.234.567,89");
    EXPECT_EQ(FloatToStrF(-999.5, TFloatFormat::ffNumber, 15, 0, en), "-1,000");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffExponent, 4, 2, comma), "1,234E+03");
    EXPECT_EQ(FloatToStrF(1.5, TFloatFormat::ffExponent, 4, 2, en), "1.500E+00");
    EXPECT_EQ(FloatToStrF(-0.00015, TFloatFormat::ffExponent, 2, 0, en), "-1.5E-4");
    EXPECT_EQ(FloatToStrF(0, TFloatFormat::ffExponent, 3, 1, en), "0.00E+0");
}

TEST(FormattingFloat, IntToStr) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
}

} // namespace
