#include "protocol/Conversions.h"
#include "protocol/CanSpeed.h"

#include <gtest/gtest.h>

namespace {

TEST(Conversions, Lambda) {
    EXPECT_DOUBLE_EQ(LambdaFromRaw(0xDB, 0x03), 0.987); // raw 987
    EXPECT_DOUBLE_EQ(LambdaFromRaw(0xE8, 0x03), 1.0);
    EXPECT_DOUBLE_EQ(LambdaFromRaw(0xFF, 0xFF), 65.535); // never clamped
    EXPECT_DOUBLE_EQ(LambdaFromRaw(0, 0), 0.0);
    // Low byte first: swapping the bytes gives a different value.
    EXPECT_DOUBLE_EQ(LambdaFromRaw(0x03, 0xE8), 59.395);
}

TEST(Conversions, SupplyVolts) {
    EXPECT_NEAR(SupplyVolts(200), 12.4992, 1e-12);
    EXPECT_NEAR(SupplyVolts(255), 15.93648, 1e-12);
    EXPECT_DOUBLE_EQ(SupplyVolts(0), 0.0);
}

TEST(Conversions, RoundHalfEven) {
    EXPECT_EQ(RoundHalfEvenInt(1041.5), 1042);
    EXPECT_EQ(RoundHalfEvenInt(1144.5), 1144);
    EXPECT_EQ(RoundHalfEvenInt(-0.5), 0);
    EXPECT_EQ(RoundHalfEvenInt(-1.5), -2);
    EXPECT_EQ(RoundHalfEvenInt(-2.5), -2);
    EXPECT_EQ(RoundHalfEvenInt(2.4999), 2);
    EXPECT_EQ(RoundHalfEvenInt(-92116.6), -92117);
}

TEST(Conversions, CalFromResistanceExamples) {
    EXPECT_EQ(CalFromResistance(4971), 1000);
    EXPECT_EQ(CalFromResistance(1000), 959);
    EXPECT_EQ(CalFromResistance(20000), 1155);
    EXPECT_EQ(CalFromResistance(9000), 1042);  // exactly 1041.5
    EXPECT_EQ(CalFromResistance(19000), 1144); // exactly 1144.5
}

TEST(Conversions, ResistanceFromCalExamples) {
    EXPECT_EQ(ResistanceFromCal(1000), 4971);
    EXPECT_EQ(ResistanceFromCal(959), 990);
    EXPECT_EQ(ResistanceFromCal(1155), 20019);
    EXPECT_EQ(ResistanceFromCal(0), -92117);
}

// Exact decimal reference in integers: n / d rounded to nearest, halves to even.
int64_t DivRoundHalfEven(int64_t n, int64_t d) {
    int64_t q = n / d;
    int64_t r = n % d;
    if (r < 0) { // floor division
        r += d;
        --q;
    }
    if (2 * r > d || (2 * r == d && (q % 2) != 0)) {
        ++q;
    }
    return q;
}

// R * 0.0103 + 948.8 = (103 R + 9488000) / 10000;
// (cal - 948.8) / 0.0103 = (10000 cal - 9488000) / 103.
TEST(Conversions, DoubleArithmeticMatchesExactDecimalOverWholeRanges) {
    for (int64_t r = 1000; r <= 20000; ++r) {
        ASSERT_EQ(CalFromResistance(r), DivRoundHalfEven(103 * r + 9488000, 10000)) << r;
    }
    for (int64_t cal = 0; cal <= 65535; ++cal) {
        ASSERT_EQ(ResistanceFromCal(cal), DivRoundHalfEven(10000 * cal - 9488000, 103)) << cal;
    }
}

TEST(Conversions, FirmwareVersionText) {
    EXPECT_EQ(FirmwareVersionText(12, '.'), "V1.2");
    EXPECT_EQ(FirmwareVersionText(9, '.'), "V0.9");
    EXPECT_EQ(FirmwareVersionText(0, '.'), "V0.0");
    EXPECT_EQ(FirmwareVersionText(99, '.'), "V9.9");
    EXPECT_EQ(FirmwareVersionText(12, ','), "V1,2");
    // Three digits keep two significant ones.
    EXPECT_EQ(FirmwareVersionText(100, '.'), "V10.0");
    EXPECT_EQ(FirmwareVersionText(123, '.'), "V12.0");
    EXPECT_EQ(FirmwareVersionText(127, '.'), "V13.0");
    EXPECT_EQ(FirmwareVersionText(125, '.'), "V12.0"); // half to even
    EXPECT_EQ(FirmwareVersionText(135, '.'), "V14.0");
    EXPECT_EQ(FirmwareVersionText(255, ','), "V26,0");
}

TEST(CanSpeed, TableAndLookups) {
    const struct {
        uint8_t Code;
        const char* Caption;
    } known[] = {{0, "1 Mbps"}, {1, "500 Kbps"}, {3, "250 Kbps"}, {7, "125 Kbps"}, {9, "100 Kbps"}};
    for (int i = 0; i < CanSpeedCount; ++i) {
        EXPECT_EQ(CanSpeedAt(i).Code, known[i].Code);
        EXPECT_STREQ(CanSpeedAt(i).Caption, known[i].Caption);
        EXPECT_EQ(CanSpeedIndex(known[i].Code), i);
        EXPECT_EQ(CanSpeedCaption(known[i].Code), known[i].Caption);
    }
    EXPECT_THROW(CanSpeedAt(CanSpeedCount), std::out_of_range);
    EXPECT_THROW(CanSpeedAt(-1), std::out_of_range);
}

TEST(CanSpeed, OtherCodesSelectNoButton) {
    int unknown = 0;
    for (int code = 0; code <= 255; ++code) {
        if (CanSpeedIndex(static_cast<uint8_t>(code)) == CanSpeedNoButton) {
            EXPECT_EQ(CanSpeedCaption(static_cast<uint8_t>(code)), "") << code;
            ++unknown;
        }
    }
    EXPECT_EQ(unknown, 256 - CanSpeedCount);
    EXPECT_EQ(CanSpeedIndex(2), CanSpeedNoButton);
    EXPECT_EQ(CanSpeedIndex(8), CanSpeedNoButton);
}

} // namespace
