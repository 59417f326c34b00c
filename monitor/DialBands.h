#pragma once
// Where the rich, target and lean bands lie on the dial: the mixture limits, in lambda, as
// per-mille ranges of the scale (0 at its start, 1000 at its end), the form the dial's three
// sector bands take. Sector 1 is rich, 2 the target band, 3 lean; a band that is not shown
// gets a range no position falls in.
#include <array>

#include "DialScale.h"
#include "dialogs/DisplaySettings.h"

struct TSectorRange {
    int From = 0;
    int To = 0;
};

// No position lies in it and the dial draws nothing for it.
inline constexpr TSectorRange NoSector{1001, 1001};

// Per-mille position of a scale value, rounded to the nearest, not clamped.
int PerMille(double value, const TDialScale& scale);

std::array<TSectorRange, 3> BandSectors(const TMixtureLimits& limits, const TDialScale& scale);
