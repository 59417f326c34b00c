#pragma once
// What the controller measures: lambda (a fixed value or a slow sweep through the rich-lean
// range), the warm-up flag for a period after power-up, and the supply voltage.
#include <cstdint>

struct TLiveSettings {
    double Lambda = 1.0; // shown when Sweep is off
    bool Sweep = false;  // triangle wave 0.65 -> 1.35 -> 0.65
    double SweepPeriodSeconds = 10.0;
    double WarmupSeconds = 0.0; // warm-up flag 1 for this long after power-up
    double SupplyVolts = 13.8;
    // Lambda's raw value counts the live replies instead: 1, 2, 3, ... (after 65535, 1 again),
    // so every reading can be told apart in a log.
    bool Numbered = false;
};

struct TLiveReading {
    uint16_t LambdaRaw = 0; // lambda * 1000
    uint8_t WarmupFlag = 0; // 1 warming up, 0 ready
    uint8_t SupplyRaw = 0;  // volts / 0.062496
};

constexpr double SweepLow = 0.65;
constexpr double SweepHigh = 1.35;

// Lambda at `seconds` after power-up.
double LambdaAt(const TLiveSettings& settings, double seconds);
// The reading the controller reports at `seconds` after power-up.
TLiveReading LiveReadingAt(const TLiveSettings& settings, double seconds);
// Raw lambda for a value, rounded and limited to 0..65535.
uint16_t LambdaRawFromValue(double lambda);
// Raw supply byte for a voltage, rounded and limited to 0..255.
uint8_t SupplyRawFromVolts(double volts);
