#pragma once
// The chart's choices kept between runs: fuel, typed ratio, span and lambda axis.
#include <array>
#include <cstddef>

// The spans the user picks from, in seconds.
inline constexpr std::array<int, 6> ChartSpans = {10, 30, 60, 300, 900, 3600};

struct TChartSettings {
    size_t Fuel = 0;          // index into StandardFuels(); its size stands for a typed ratio
    double TypedRatio = 14.7; // the ratio last typed
    int SpanSeconds = 60;     // one of ChartSpans
    bool FitAxis = false;     // lambda axis fitted to the data, else 0.65 to 1.35

    bool TypedFuel() const;
    double Stoichiometric() const;
};

// From the user's settings file; anything missing or unknown takes its default.
TChartSettings LoadChartSettings();
void SaveChartSettings(const TChartSettings& settings);
