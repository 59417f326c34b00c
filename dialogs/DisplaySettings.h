#pragma once
// The driver's instrument as the user sets it up in the Display window, remembered between
// runs in the program's settings file. Everything starts off: the main window then looks and
// works as it always has.
#include <string>

// Mixture limits in lambda: rich below RichLimit, lean above LeanLimit, and an optional
// target band between them.
struct TMixtureLimits {
    double RichLimit = 0.80;
    double LeanLimit = 1.05;
    bool Target = false;
    double TargetLow = 0.97;
    double TargetHigh = 1.03;
    bool operator==(const TMixtureLimits&) const = default;
};

enum class TDisplayUnits { Lambda, Afr };

// The lambda range of the main window's dial.
inline constexpr double DialLambdaFrom = 0.65;
inline constexpr double DialLambdaTo = 1.35;

struct TDisplaySettings {
    TMixtureLimits Limits;
    bool Bands = false;     // rich, lean (and target) bands on the dial and the chart
    bool LeanAlarm = false; // the alarms judge the raw readings against Limits
    bool RichAlarm = false;
    double HoldSeconds = 0.3;  // how long lambda stays past a limit before the alarm trips
    double Hysteresis = 0.02;  // how far back inside it must come to clear
    bool Sound = false;        // a tone while an alarm stands, until acknowledged
    bool PeakHold = false;     // lowest and highest reading marked on the dial
    double DampingSeconds = 0; // time constant of the shown reading, 0 = off
    TDisplayUnits Units = TDisplayUnits::Lambda;
    bool NightTheme = false;

    bool Alarm() const { return LeanAlarm || RichAlarm; }
    // Anything that changes what the main window shows or does per reading (the theme
    // aside, which only changes colours).
    bool AnyOn() const;
    bool operator==(const TDisplaySettings&) const = default;
};

// Ranges the window offers.
inline constexpr double MaxHoldSeconds = 5.0;
inline constexpr double MaxHysteresis = 0.1;
inline constexpr double MaxDampingSeconds = 2.0;

// Why the limits cannot be used, or an empty text when they can: each limit inside the
// lambda range from `scaleFrom` to `scaleTo`, rich below lean, a target band from low to high
// between them. `unit` and `factor` write the numbers in the unit the user typed them in
// (lambda x factor).
std::string CheckMixtureLimits(const TMixtureLimits& limits, double scaleFrom, double scaleTo,
                               const std::string& unit, double factor);

// From the user's settings file; anything missing or out of range takes its default, and
// limits that cannot be used take the default limits.
TDisplaySettings LoadDisplaySettings();
void SaveDisplaySettings(const TDisplaySettings& settings);
