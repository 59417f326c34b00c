// Text to numbers: the accepted forms in both decimal settings, and the error texts.
#include <gtest/gtest.h>

#include "format/Formatting.h"
#include "platform/Exception.h"

namespace {

const TRegionalSettings en = EnglishRegionalSettings();
const TRegionalSettings comma = CommaRegionalSettings();

TEST(FormattingParse, FloatFormsAccepted) {
    struct Case {
        const char* English;
        const char* Comma;
        double Value;
    };
    const Case cases[] = {
        {"1.5", "1,5", 1.5},
        {" -2.5e3 ", " -2,5e3 ", -2500},
        {"+7", "+7", 7},
        {".5", ",5", 0.5},
        {"5.", "5,", 5},
        {"1E-2", "1E-2", 0.01},
        {"\t0.987\t", "\t0,987\t", 0.987},
        {"1.7e308", "1,7e308", 1.7e308},
        {"1e-400", "1e-400", 0}, // below the smallest double: zero
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_TRUE(TryStrToFloat(c.English, v, en)) << c.English;
        EXPECT_DOUBLE_EQ(v, c.Value) << c.English;
        v = -1;
        EXPECT_TRUE(TryStrToFloat(c.Comma, v, comma)) << c.Comma;
        EXPECT_DOUBLE_EQ(v, c.Value) << c.Comma;
    }
}

TEST(FormattingParse, FloatFormsRejected) {
    const char* rejected[] = {"",     "  ",    "abc",    "+",    "-",       "1e",  "1e+",
                              "e3",   ".",     "1 2",    "1..2", "1,000.5", "inf", "nan",
                              "0x10", "1e309", "-1e309", "1.5x", "--1"};
    for (const char* text : rejected) {
        double v = 42;
        EXPECT_FALSE(TryStrToFloat(text, v, en)) << text;
        EXPECT_EQ(v, 42) << "unchanged on failure: " << text;
    }
    double v = 0;
    EXPECT_FALSE(TryStrToFloat("1.5", v, comma)); // the other setting's separator
    EXPECT_FALSE(TryStrToFloat("1.000,5", v, comma));
    EXPECT_FALSE(TryStrToFloat("1,5", v, en));
}

TEST(FormattingParse, StrToFloatErrorText) {
    EXPECT_DOUBLE_EQ(StrToFloat("0,25", comma), 0.25);
    try {
        StrToFloat("12a", en);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12a' is not a valid floating point value");
    }
}

TEST(FormattingParse, Integers) {
    struct Case {
        const char* Text;
        int64_t Value;
    };
    const Case accepted[] = {{"123", 123},
                             {" -45 ", -45},
                             {"+7", 7},
                             {"$FF", 255},
                             {"-$10", -16},
                             {"0x1f", 31},
                             {"9223372036854775807", INT64_MAX},
                             {"-9223372036854775808", INT64_MIN},
                             {"$FFFFFFFFFFFFFFFF", -1}};
    for (const Case& c : accepted) {
        int64_t v = 0;
        EXPECT_TRUE(TryStrToInt(c.Text, v)) << c.Text;
        EXPECT_EQ(v, c.Value) << c.Text;
    }
    const char* rejected[] = {"",
                              "-",
                              "12a",
                              "1.0",
                              "1e3",
                              "$",
                              "$G1",
                              "9223372036854775808",
                              "-9223372036854775809",
                              "$10000000000000000",
                              "1 2"};
    for (const char* text : rejected) {
        int64_t v = 42;
        EXPECT_FALSE(TryStrToInt(text, v)) << text;
        EXPECT_EQ(v, 42) << text;
    }
}

TEST(FormattingParse, StrToIntErrorText) {
    EXPECT_EQ(StrToInt("5000"), 5000);
    try {
        StrToInt("5k");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'5k' is not a valid integer value");
    }
}

} // namespace
