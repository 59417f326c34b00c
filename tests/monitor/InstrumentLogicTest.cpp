// The driver's instrument's logic on its own: the mixture alarm with a fake clock, damping,
// the dial's AFR scale and the alarm's tone.
#include <gtest/gtest.h>

#include <cmath>

#include "monitor/Damping.h"
#include "monitor/DialScale.h"
#include "monitor/MixtureAlarm.h"
#include "monitor/ToneWave.h"

namespace {

// Readings ten a second from `start`, all at `lambda`; returns the time after the last.
double Feed(TMixtureAlarm& alarm, double start, int count, double lambda, bool armed = true) {
    double t = start;
    for (int i = 0; i < count; ++i, t += 0.1) {
        alarm.Reading(t, lambda, armed);
    }
    return t;
}

TMixtureAlarm LeanAlarm() {
    TMixtureAlarm alarm;
    TAlarmLimits l;
    l.Lean = true;
    alarm.SetLimits(l); // lean above 1.05, held 0.3 s, hysteresis 0.02
    return alarm;
}

} // namespace

TEST(MixtureAlarm, TripsOnceLeanForTheHoldTimeNotBefore) {
    TMixtureAlarm alarm = LeanAlarm();
    alarm.Reading(10.0, 1.10, true);
    alarm.Reading(10.1, 1.10, true);
    alarm.Reading(10.2, 1.10, true);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::None); // 0.2 s past the limit
    alarm.Reading(10.3, 1.10, true);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::Lean);
    EXPECT_TRUE(alarm.Sounding());

    // A dip back inside starts the hold time over; exactly at the limit is not lean.
    TMixtureAlarm again = LeanAlarm();
    again.Reading(0.0, 1.10, true);
    again.Reading(0.2, 1.05, true);
    again.Reading(0.3, 1.10, true);
    again.Reading(0.5, 1.10, true);
    EXPECT_EQ(again.Tripped(), TMixtureSide::None);
}

TEST(MixtureAlarm, ClearsOnlyOnceBackInsideByTheHysteresis) {
    TMixtureAlarm alarm = LeanAlarm();
    double t = Feed(alarm, 0, 5, 1.10);
    ASSERT_EQ(alarm.Tripped(), TMixtureSide::Lean);
    t = Feed(alarm, t, 3, 1.04); // inside the limit, not by 0.02
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::Lean);
    alarm.Reading(t, 1.03, true);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::None);
    EXPECT_FALSE(alarm.Sounding());
}

TEST(MixtureAlarm, AcknowledgedStaysSilentUntilTwoSecondsInside) {
    TMixtureAlarm alarm = LeanAlarm();
    double t = Feed(alarm, 0, 5, 1.10);
    alarm.Acknowledge();
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::Lean); // still shown
    EXPECT_FALSE(alarm.Sounding());
    // Back inside for 1.5 s, lean again: it trips silently.
    t = Feed(alarm, t, 15, 1.00);
    t = Feed(alarm, t, 5, 1.10);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::Lean);
    EXPECT_FALSE(alarm.Sounding());
    // Inside for 2 s re-arms it: the next lean spell sounds.
    t = Feed(alarm, t, 20, 1.00);
    EXPECT_TRUE(alarm.Acknowledged());
    alarm.Reading(t, 1.00, true);
    EXPECT_FALSE(alarm.Acknowledged());
    Feed(alarm, t + 0.1, 5, 1.10);
    EXPECT_TRUE(alarm.Sounding());
}

TEST(MixtureAlarm, NeverWhileWarmingUpOrOffline) {
    TMixtureAlarm alarm = LeanAlarm();
    double t = Feed(alarm, 0, 10, 1.20, false); // warming up: lean readings count for nothing
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::None);
    t = Feed(alarm, t, 5, 1.20);
    ASSERT_EQ(alarm.Tripped(), TMixtureSide::Lean);
    alarm.Disarm(); // OFFLINE
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::None);
    EXPECT_FALSE(alarm.Sounding());
    // Back online, the hold time runs from the first reading again.
    alarm.Reading(t, 1.20, true);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::None);
}

TEST(MixtureAlarm, RichAlarmBesideTheLeanAlarm) {
    TMixtureAlarm alarm;
    TAlarmLimits l;
    l.Lean = true;
    l.Rich = true;
    alarm.SetLimits(l);
    double t = Feed(alarm, 0, 5, 0.75);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::Rich);
    t = Feed(alarm, t, 1, 0.81); // inside, not by the hysteresis
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::Rich);
    t = Feed(alarm, t, 1, 0.95);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::None);
    Feed(alarm, t, 5, 1.12);
    EXPECT_EQ(alarm.Tripped(), TMixtureSide::Lean);

    // With only the lean alarm on, rich readings never trip.
    TMixtureAlarm leanOnly = LeanAlarm();
    Feed(leanOnly, 0, 20, 0.70);
    EXPECT_EQ(leanOnly.Tripped(), TMixtureSide::None);
}

TEST(Damping, StepShows63PercentAfterOneTimeConstant) {
    for (double tau : {0.5, 2.0}) {
        TDamping d;
        d.SetTimeConstant(tau);
        EXPECT_DOUBLE_EQ(d.Add(0, 1.0), 1.0); // the first reading as it is
        double shown = 0;
        const int steps = static_cast<int>(std::lround(tau / 0.1));
        for (int i = 1; i <= steps; ++i) {
            shown = d.Add(i * 0.1, 2.0);
        }
        EXPECT_NEAR(shown, 1.0 + (1 - std::exp(-1.0)), 1e-9) << tau;
    }
    TDamping off;
    off.Add(0, 1.0);
    EXPECT_DOUBLE_EQ(off.Add(0.1, 2.0), 2.0);
    // After a break in the readings the new reading shows as it is.
    TDamping d;
    d.SetTimeConstant(2);
    d.Add(0, 1.0);
    EXPECT_DOUBLE_EQ(d.Add(5, 2.0), 2.0);
}

TEST(DialScale, AfrScaleHasRoundLabelsOverTheLambdaRange) {
    struct TCase {
        double Ratio;
        float From, To;
        int Steps;
        const char* Format;
    };
    const TCase cases[] = {
        {14.7, 9, 20, 11, "#0"},        // gasoline
        {9.765, 6, 14, 8, "#0"},        // E85
        {6.4, 4, 9, 10, "#0.0"},        // methanol: half steps
        {17.2, 11, 24, 13, "#0"},       // CNG
        {100, 65, 135, 14, "#0"},       // a large typed ratio: steps of 5
        {1, 0.65f, 1.35f, 14, "#0.00"}, // ratio 1: the lambda scale itself
    };
    for (const TCase& c : cases) {
        const TDialScale s = AfrDialScale(c.Ratio);
        EXPECT_FLOAT_EQ(s.From, c.From) << c.Ratio;
        EXPECT_FLOAT_EQ(s.To, c.To) << c.Ratio;
        EXPECT_EQ(s.Steps, c.Steps) << c.Ratio;
        EXPECT_EQ(s.LabelFormat, c.Format) << c.Ratio;
        EXPECT_LE(s.From, 0.65 * c.Ratio);
        EXPECT_GE(s.To, 1.35 * c.Ratio);
        EXPECT_EQ(s.Name, "AFR");
        EXPECT_EQ(s.NumberFormat, "#0.0");
        EXPECT_DOUBLE_EQ(s.Shown(1.0), c.Ratio);
    }
    const TDialScale lambda = LambdaDialScale();
    EXPECT_FLOAT_EQ(lambda.From, 0.65f);
    EXPECT_FLOAT_EQ(lambda.To, 1.35f);
    EXPECT_EQ(lambda.Steps, 14);
    EXPECT_EQ(lambda.LabelFormat, "#0.00");
    EXPECT_EQ(lambda.NumberFormat, "#0.00#");
}

TEST(ToneWave, PcmWaveOfTheSegments) {
    const std::vector<uint8_t> wav = ToneWav({{1000, 100}, {0, 50}}, 8000);
    ASSERT_EQ(wav.size(), 44u + 2 * 1200);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    auto le = [&wav](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v |= uint32_t(wav[at + i]) << (8 * i);
        }
        return v;
    };
    EXPECT_EQ(le(4, 4), wav.size() - 8);
    EXPECT_EQ(le(24, 4), 8000u); // sample rate
    EXPECT_EQ(le(34, 2), 16u);   // bits
    EXPECT_EQ(le(40, 4), 2400u); // data bytes
    // The beep is loud in its middle, the pause silent, and the beep starts from silence.
    auto sample = [&](int i) { return int16_t(le(44 + 2 * i, 2)); };
    int loudest = 0;
    for (int i = 300; i < 500; ++i) {
        loudest = std::max(loudest, std::abs(int(sample(i))));
    }
    EXPECT_GT(loudest, 15000);
    EXPECT_EQ(sample(0), 0);
    for (int i = 800; i < 1200; ++i) {
        ASSERT_EQ(sample(i), 0) << i;
    }
}
