// The analog value model: digits, position, sectors, limits, overflow, extremes and hint.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <tuple>
#include <vector>

#include "tests/support/QtTestApp.h"
#include "widgets/AbAnalogGControl.h"

namespace {

// A value widget set up like the main window's lambda dial, with every event recorded.
class LambdaValue : public ::testing::Test {
protected:
    void SetUp() override {
        TSignalSettings& s = w.SignalSettings();
        s.SetValueFrom(0.65f);
        s.SetValueTo(1.35f);
        s.SetValueFormat("#0.000");
        s.SetValueUnit("h");
        s.SetName1("LAMBDA");
        w.SetLimitUpper(1.5f);
        w.SetLimitLower(0.5f);
        w.SetHintOptions({hoAutoHint, hoValue, hoName1, hoName2});
        w.Loaded();
        w.OnValueChange = [this](QObject*) { ++valueChanges; };
        w.OnMinMaxChange = [this](QObject*) { ++minMaxChanges; };
        w.OnOverflow = [this](QObject*, int ppt) { overflows.push_back(ppt); };
        w.OnLimit = [this](QObject*, bool l, bool u) { limits.emplace_back(l, u); };
        w.OnSectorChange = [this](QObject*, bool s1, bool s2, bool s3, bool enter) {
            sectors.push_back({s1, s2, s3, enter});
        };
    }
    void Forget() {
        valueChanges = minMaxChanges = 0;
        overflows.clear();
        limits.clear();
        sectors.clear();
    }

    QApplication& app = TestApp();
    TAbAnalogGControl w;
    int valueChanges = 0;
    int minMaxChanges = 0;
    std::vector<int> overflows;
    std::vector<std::pair<bool, bool>> limits;
    std::vector<std::array<bool, 4>> sectors;
};

} // namespace

TEST_F(LambdaValue, ValueMapsToDigitAndPosition) {
    w.SetValue(0.9f);
    EXPECT_EQ(w.Digit(), 357);
    EXPECT_EQ(w.PPT(), 357);
    EXPECT_EQ(w.ValueStr(), "0.900");
    EXPECT_EQ(valueChanges, 1);
    w.SetValue(1.35f);
    EXPECT_EQ(w.PPT(), 1000);
    EXPECT_FALSE(w.UOverflow());
}

TEST_F(LambdaValue, OverflowFiresOnLeavingAndReturningOnly) {
    w.SetValue(0.9f);
    Forget();
    w.SetValue(0.5f);
    EXPECT_EQ(overflows, std::vector<int>{-214});
    EXPECT_TRUE(w.LOverflow());
    EXPECT_EQ(w.PPT(), 0);
    EXPECT_FLOAT_EQ(w.Value(), 0.5f); // the value keeps the real number
    w.SetValue(0.45f);                // still below: nothing new
    EXPECT_EQ(overflows.size(), 1u);
    w.SetValue(0.7f);
    ASSERT_EQ(overflows.size(), 2u);
    EXPECT_EQ(overflows[1], 71);
    EXPECT_FALSE(w.LOverflow());
    w.SetValue(2.0f);
    ASSERT_EQ(overflows.size(), 3u);
    EXPECT_EQ(overflows[2], 1929);
    EXPECT_TRUE(w.UOverflow());
    EXPECT_EQ(w.PPT(), 1000);
    w.SetValue(0.1f); // straight from above to below
    ASSERT_EQ(overflows.size(), 4u);
    EXPECT_TRUE(w.LOverflow());
    EXPECT_FALSE(w.UOverflow());
}

TEST_F(LambdaValue, LimitsAreStrict) {
    w.SetValue(1.0f);
    Forget();
    w.SetValue(1.5f);
    w.SetValue(0.5f);
    EXPECT_TRUE(limits.empty());
    EXPECT_FALSE(w.ULimit());
    EXPECT_FALSE(w.LLimit());
    w.SetValue(1.5001f);
    w.SetValue(0.4999f);
    ASSERT_EQ(limits.size(), 2u);
    EXPECT_EQ(limits[0], std::make_pair(false, true));
    EXPECT_EQ(limits[1], std::make_pair(true, false));
    w.SetLimitLower(0.0f);
    EXPECT_FLOAT_EQ(w.LimitLower(), 0.0001f);
    EXPECT_EQ(limits.back(), std::make_pair(false, false)); // re-checked by the setter
}

TEST_F(LambdaValue, SectorRangesAreInclusiveAndReportedOnePerChange) {
    w.SetDigit(333);
    EXPECT_EQ(w.PPT(), 333);
    EXPECT_TRUE(w.InSector(1));
    EXPECT_FALSE(w.InSector(2));
    Forget();
    w.SetDigit(334);
    EXPECT_FALSE(w.InSector(1));
    EXPECT_TRUE(w.InSector(2));
    ASSERT_EQ(sectors.size(), 2u);
    EXPECT_EQ(sectors[0], (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(sectors[1], (std::array<bool, 4>{false, true, false, true}));
    EXPECT_NEAR(w.Value(), 0.65f + 0.334f * 0.7f, 1e-5);
    TColor c = clBlack;
    EXPECT_TRUE(w.SectorSettings().CheckSectorColor(1000, c));
    EXPECT_EQ(c, clRed);
    c = clBlack;
    EXPECT_FALSE(w.SectorSettings().CheckSectorColor(1001, c));
    EXPECT_EQ(c, clBlack);
}

TEST_F(LambdaValue, FirstValueAfterLoadingSetsExtremesQuietly) {
    w.SetValue(0.9f);
    EXPECT_FLOAT_EQ(w.MinMax().Min(), 0.9f);
    EXPECT_FLOAT_EQ(w.MinMax().Max(), 0.9f);
    EXPECT_EQ(w.MinPPT(), 357);
    EXPECT_EQ(minMaxChanges, 0);
    EXPECT_EQ(valueChanges, 1);
    w.SetValue(0.8f);
    EXPECT_EQ(minMaxChanges, 1);
    EXPECT_EQ(valueChanges, 3); // this update fires twice: re-entered and its own
    EXPECT_FLOAT_EQ(w.MinMax().Min(), 0.8f);
    EXPECT_FLOAT_EQ(w.MinMax().Max(), 0.9f);
}

TEST_F(LambdaValue, EqualValueDoesNothing) {
    w.SetValue(0.9f);
    Forget();
    w.SetValue(0.9f);
    w.SetDigit(357);
    EXPECT_EQ(valueChanges, 0);
}

TEST_F(LambdaValue, HintHasValueAndBothNames) {
    w.SetValue(0.9f);
    EXPECT_EQ(w.Hint(), "Value= 0.900 h\rLAMBDA\rSignalName2");
    EXPECT_EQ(w.toolTip(), QString("Value= 0.900 h\nLAMBDA\nSignalName2"));
    w.SetHintOptions({hoValue});
    EXPECT_EQ(w.Hint(), "Value= 0.900 h\rLAMBDA\rSignalName2"); // off keeps the last text
    Forget();
    w.SetHintOptions({hoAutoHint, hoMin, hoMax});
    EXPECT_EQ(valueChanges, 1); // switching it on runs an update
    EXPECT_EQ(w.Hint(), "MIN= 0.900 h\rMAX= 0.900 h");
}

TEST_F(LambdaValue, RangeSettersIgnoreEitherEndAndZero) {
    w.SignalSettings().SetValueFrom(1.35f);
    EXPECT_FLOAT_EQ(w.SignalSettings().ValueFrom(), 0.65f);
    w.SignalSettings().SetValueTo(0.65f);
    EXPECT_FLOAT_EQ(w.SignalSettings().ValueTo(), 1.35f);
    w.SignalSettings().SetValueFrom(0.0f);
    EXPECT_FLOAT_EQ(w.SignalSettings().ValueFrom(), 0.000001f);
}

TEST_F(LambdaValue, SettingsChangeRemapsTheDigit) {
    int settingsChanges = 0;
    w.OnSettingsChange = [&](QObject*) { ++settingsChanges; };
    w.SetValue(1.0f);
    w.SignalSettings().SetValueTo(1.65f); // range 0.65..1.65: 1.0 is 350 of 1000
    EXPECT_EQ(settingsChanges, 1);
    EXPECT_EQ(w.Digit(), 350);
    EXPECT_EQ(w.PPT(), 350);
    w.SetValue(1.15f);
    EXPECT_EQ(w.PPT(), 500);
}

TEST(SignalRange, SignCasesAndNonPositiveSpans) {
    TSignalSettings s;
    EXPECT_FLOAT_EQ(s.TotalValue(), 100.0f);
    EXPECT_FLOAT_EQ(s.DigitPerValue(), 10.0f);
    s.SetValueFrom(-10.0f);
    s.SetValueTo(-2.0f);
    EXPECT_FLOAT_EQ(s.TotalValue(), 8.0f);
    s.SetValueTo(5.0f);
    EXPECT_FLOAT_EQ(s.TotalValue(), 15.0f);
    s.SetValueFrom(2.0f);
    EXPECT_FLOAT_EQ(s.TotalValue(), 3.0f);
    const float dpv = s.DigitPerValue();
    s.SetValueTo(-1.0f); // non-negative start, non-positive end: span kept
    EXPECT_FLOAT_EQ(s.TotalValue(), 3.0f);
    s.SetValueTo(1.0f); // start above end: negative span leaves DigitPerValue alone
    EXPECT_FLOAT_EQ(s.TotalValue(), -1.0f);
    EXPECT_FLOAT_EQ(s.DigitPerValue(), dpv);
    s.SetDigitalFrom(-500);
    s.SetDigitalTo(500);
    EXPECT_EQ(s.TotalDigit(), 1000);
    s.SetDigitalFrom(0);
    s.SetDigitalTo(0);
    EXPECT_EQ(s.TotalDigit(), 0);
}

TEST(AnalogValue, EmptyDigitalScaleGivesPositionZero) {
    TestApp();
    TAbAnalogGControl w;
    w.Loaded();
    w.SignalSettings().SetDigitalTo(0);
    ASSERT_EQ(w.SignalSettings().TotalDigit(), 0);
    w.SetValue(75.0f);
    EXPECT_EQ(w.PPT(), 0);
    w.SetValue(std::numeric_limits<float>::quiet_NaN());
    w.SetValue(3.0e38f);
    EXPECT_EQ(w.PPT(), 0);
}

TEST(AnalogValue, HugeValuesSaturateInsteadOfWrapping) {
    TestApp();
    TAbAnalogGControl w;
    w.Loaded();
    w.SetValue(3.0e38f);
    EXPECT_TRUE(w.UOverflow());
    EXPECT_EQ(w.PPT(), 1000);
    w.SetValue(-3.0e38f);
    EXPECT_TRUE(w.LOverflow());
    EXPECT_EQ(w.PPT(), 0);
}

TEST(AnalogValue, LogarithmicMode) {
    TestApp();
    TAbAnalogGControl w;
    w.SignalSettings().SetValueFrom(0.012f);
    w.SignalSettings().SetValueTo(900.0f);
    w.Loaded();
    w.SetValue(1.0f);
    w.SetLogScale(true);
    EXPECT_FLOAT_EQ(w.SignalSettings().ValueFrom(), 0.01f);
    EXPECT_FLOAT_EQ(w.SignalSettings().ValueTo(), 1000.0f);
    EXPECT_NEAR(w.LogFactor1(), 200.0, 1e-3);
    EXPECT_NEAR(w.LogFactor2(), 2.0, 1e-6);
    EXPECT_EQ(w.Digit(), 400);
    w.SetValue(-1.0f); // ignored
    EXPECT_FLOAT_EQ(w.Value(), 1.0f);
    w.SetDigit(600);
    EXPECT_NEAR(w.Value(), 10.0f, 1e-4);
    EXPECT_EQ(w.PPT(), 600);
    w.SignalSettings().SetValueTo(2000.0f); // snapped to the nearest decade
    EXPECT_FLOAT_EQ(w.SignalSettings().ValueTo(), 1000.0f);
    w.SetLogScale(false);
    EXPECT_EQ(w.Digit(), 10);
}
