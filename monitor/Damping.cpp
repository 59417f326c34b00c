#include "Damping.h"

#include <algorithm>
#include <cmath>

void TDamping::SetTimeConstant(double seconds) {
    FTau = std::isnan(seconds) ? 0 : std::clamp(seconds, 0.0, MaxSeconds);
}

double TDamping::Add(double now, double value) {
    const double dt = now - FLast;
    if (FTau <= 0 || !FStarted || dt < 0 || dt > GapSeconds) {
        FShown = value;
    } else {
        FShown += (value - FShown) * (1 - std::exp(-dt / FTau));
    }
    FStarted = true;
    FLast = now;
    return FShown;
}
