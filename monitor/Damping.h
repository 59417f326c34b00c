#pragma once
// Damping of the shown reading: an exponential average with a time constant in seconds, so a
// step in the readings shows 63 % of its height after one time constant, whatever the
// reading rate. A time constant of 0 shows every reading as it is. After a break in the
// readings (more than GapSeconds) the next reading is shown as it is.
class TDamping {
public:
    static constexpr double MaxSeconds = 2.0;
    static constexpr double GapSeconds = 1.0;

    // 0 (off) to MaxSeconds; outside values are taken to the nearest end.
    void SetTimeConstant(double seconds);
    double TimeConstant() const { return FTau; }

    // The value to show for a reading `value` taken at monotonic time `now` (seconds).
    double Add(double now, double value);
    // Forgets the past: the next reading is shown as it is.
    void Reset() { FStarted = false; }

private:
    double FTau = 0;
    bool FStarted = false;
    double FLast = 0;
    double FShown = 0;
};
