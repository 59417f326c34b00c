// Fuels and AFR, the typed ratio, and the readout's texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/Fuels.h"
#include "chart/Readout.h"

TEST(Fuels, StoichiometricRatiosAndAfr) {
    const std::vector<std::pair<std::string, double>> expected = {
        {"Gasoline", 14.7}, {"E10", 14.1},    {"E85", 9.765}, {"Ethanol", 9.0},
        {"Methanol", 6.4},  {"Diesel", 14.5}, {"LPG", 15.5},  {"CNG", 17.2}};
    const auto fuels = StandardFuels();
    ASSERT_EQ(fuels.size(), expected.size());
    for (size_t i = 0; i < fuels.size(); ++i) {
        EXPECT_EQ(fuels[i].Name, expected[i].first);
        EXPECT_EQ(fuels[i].Stoichiometric, expected[i].second);
    }
    EXPECT_DOUBLE_EQ(AfrFromLambda(0.9, 14.7), 13.23);
    EXPECT_DOUBLE_EQ(AfrFromLambda(1.0, 9.765), 9.765);
}

TEST(Fuels, TypedRatioMustBeAPositiveNumber) {
    EXPECT_EQ(ParseStoichiometricRatio("14.7"), 14.7);
    EXPECT_EQ(ParseStoichiometricRatio(" 14,7 "), 14.7);
    EXPECT_EQ(ParseStoichiometricRatio("34.3"), 34.3);
    for (const char* bad : {"", "  ", "abc", "14.7x", "-3", "+3", "0", "0.0", "1e3", "101", "inf",
                            "nan", "14..7", "1,4,7"}) {
        EXPECT_FALSE(ParseStoichiometricRatio(bad).has_value()) << bad;
    }
}

TEST(Readout, NewestAndSpanFiguresAsLambdaAndAfr) {
    TRegionalSettings rs = CommaRegionalSettings();
    TSeriesPoint newest;
    newest.Time = 0;
    newest.Lambda = 0.987f;
    newest.DeciVolts = 125;
    TSpanStats stats;
    stats.Count = 3;
    stats.Min = 0.8;
    stats.Max = 1.25;
    stats.Mean = 1.0;
    const TReadoutTexts t = MakeReadout(&newest, stats, 300, 9.765, rs);
    EXPECT_EQ(t.Lambda[rcNewest], "0,987");
    EXPECT_EQ(t.Afr[rcNewest], "9,6");
    EXPECT_NE(t.Heading[rcNewest].find("12,5 V"), std::string::npos) << t.Heading[rcNewest];
    EXPECT_EQ(t.Lambda[rcMin], "0,800");
    EXPECT_EQ(t.Afr[rcMax], "12,2");
    EXPECT_EQ(t.Afr[rcMean], "9,8");
    EXPECT_EQ(t.Heading[rcMean], "Mean (5 min)");

    const TReadoutTexts none = MakeReadout(nullptr, TSpanStats{}, 3600, 14.7, rs);
    EXPECT_EQ(none.Lambda[rcNewest], none.Lambda[rcMean]);
    EXPECT_EQ(none.Lambda[rcNewest].find_first_of("0123456789"), std::string::npos);
    EXPECT_EQ(none.Heading[rcMin], "Min (1 h)");
    EXPECT_EQ(SpanName(90), "1 min 30 s");
    EXPECT_EQ(AfrAxisLabel("E85", 9.765, rs), "AFR (E85, 9,765)");
}
