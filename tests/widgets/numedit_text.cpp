// The stored forms of a value and the text each base shows.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "widgets/AbNumEditText.h"

TEST(NumEditText, BinaryTextWithoutDigitCountIsAsShortAsTheValue) {
    EXPECT_EQ(AbIntToBin(0, 0), "0");
    EXPECT_EQ(AbIntToBin(5, 0), "101");
    EXPECT_EQ(AbIntToBin(8, 0), "1000");
    EXPECT_EQ(AbIntToBin(5, -3), "101");
    EXPECT_EQ(AbIntToBin(-1, 0), std::string(32, '1'));
    EXPECT_EQ(AbIntToBin(-2147483647 - 1, 0), "1" + std::string(31, '0'));
}

TEST(NumEditText, BinaryTextWithDigitCountKeepsThatManyLowBits) {
    EXPECT_EQ(AbIntToBin(5, 8), "00000101");
    EXPECT_EQ(AbIntToBin(0x1F5, 4), "0101");
    EXPECT_EQ(AbIntToBin(-1, 4), "1111");
    EXPECT_EQ(AbIntToBin(1, 34), "00" + std::string(31, '0') + "1");
}

TEST(NumEditText, IntegerCopyRoundsHalvesToEvenWithinRange) {
    EXPECT_EQ(NumEditRoundToInt(2.5), 2);
    EXPECT_EQ(NumEditRoundToInt(3.5), 4);
    EXPECT_EQ(NumEditRoundToInt(-2.5), -2);
    EXPECT_EQ(NumEditRoundToInt(2.6), 3);
    EXPECT_EQ(NumEditRoundToInt(1e12), 2147483647);
    EXPECT_EQ(NumEditRoundToInt(-1e12), -2147483647);
    EXPECT_EQ(NumEditRoundToInt(-std::numeric_limits<double>::infinity()), -2147483647);
}

TEST(NumEditText, SingleCopyLimits) {
    EXPECT_FLOAT_EQ(NumEditToSingle(1.5), 1.5f);
    EXPECT_FLOAT_EQ(NumEditToSingle(1e39), 3.4e38f);
    EXPECT_FLOAT_EQ(NumEditToSingle(3.4e38), 3.4e38f);
    EXPECT_TRUE(std::isinf(NumEditToSingle(-1e39)));
    EXPECT_LT(NumEditToSingle(-1e39), 0);
}

TEST(NumEditText, FormsOfAStoreClampToTheBaseRange) {
    const TRegionalSettings rs = EnglishRegionalSettings();
    TNumEditFormat f{ebFloat, "#0.##", 0, 0};
    TNumEditForms forms = MakeNumEditForms(1.75e308L, f, rs);
    EXPECT_DOUBLE_EQ(forms.Value, 1.7e308);
    forms = MakeNumEditForms(-1e308L, f, rs); // floats have no lower bound
    EXPECT_DOUBLE_EQ(forms.Value, -1e308);

    f.Base = ebInt;
    forms = MakeNumEditForms(3e9L, f, rs);
    EXPECT_DOUBLE_EQ(forms.Value, 2147483647.0);
    EXPECT_EQ(forms.Text, "2147483647");
    forms = MakeNumEditForms(-3e9L, f, rs);
    EXPECT_EQ(forms.ValueAsInt, -2147483647);
}

TEST(NumEditText, FormsOfANegativeValueInEveryBase) {
    const TRegionalSettings rs = EnglishRegionalSettings();
    TNumEditFormat f{ebFloat, "#0.#", 0, 0};
    TNumEditForms forms = MakeNumEditForms(-2.6L, f, rs);
    EXPECT_EQ(forms.Text, "-2.6");
    EXPECT_EQ(forms.ValueAsInt, -3);
    EXPECT_EQ(forms.ValueAsHex, "FFFFFFFD");
    EXPECT_EQ(forms.ValueAsBool, std::string(30, '1') + "01");
    f.Base = ebInt;
    EXPECT_EQ(MakeNumEditForms(-2.6L, f, rs).Text, "-3");
    f.Base = ebHex;
    EXPECT_EQ(MakeNumEditForms(-2.6L, f, rs).Text, "FFFFFFFD");
    f.Base = ebBin;
    f.DigitsBool = 4;
    EXPECT_EQ(MakeNumEditForms(-2.6L, f, rs).Text, "1101");
}
