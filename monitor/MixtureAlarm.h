#pragma once
// The lean alarm, and the rich alarm beside it: a small state machine fed with the measured
// lambda of every reading and a monotonic time in seconds. It is armed only while readings
// come from a controller that answers and a sensor that has warmed up. A side trips once
// lambda has stayed past its limit for the hold time, and clears once lambda is back inside
// by the hysteresis. An acknowledged alarm stays silent until the mixture has been back
// inside for RearmSeconds; then the next excursion sounds again.
enum class TMixtureSide { None, Lean, Rich };

struct TAlarmLimits {
    bool Lean = false; // lean alarm on
    bool Rich = false; // rich alarm on
    double LeanLimit = 1.05;
    double RichLimit = 0.80;
    double HoldSeconds = 0.3;
    double Hysteresis = 0.02;
    bool operator==(const TAlarmLimits&) const = default;
};

class TMixtureAlarm {
public:
    static constexpr double RearmSeconds = 2.0;

    // New limits start the machine afresh.
    void SetLimits(const TAlarmLimits& limits);
    const TAlarmLimits& Limits() const { return FLimits; }

    // One reading. `armed` false (OFFLINE, warming up) clears everything, as Disarm does.
    void Reading(double now, double lambda, bool armed);
    // No readings to judge (the link is down): nothing stands, nothing is pending.
    void Disarm();
    // The user has heard it: the tone stops while the alarm itself still shows.
    void Acknowledge();

    // The side whose alarm stands, None when none does.
    TMixtureSide Tripped() const;
    // An alarm stands and has not been acknowledged.
    bool Sounding() const;
    bool Acknowledged() const { return FAcknowledged; }

private:
    struct TSide {
        bool Pending = false; // past the limit, waiting for the hold time
        double Since = 0;     // when it went past
        bool Tripped = false;
    };
    void Judge(TSide& side, bool enabled, bool past, bool back, double now) const;
    void Rearm(double now, bool inside);

    TAlarmLimits FLimits;
    TSide FLean;
    TSide FRich;
    bool FAcknowledged = false;
    bool FInside = false; // inside since FInsideSince, while acknowledged
    double FInsideSince = 0;
};
