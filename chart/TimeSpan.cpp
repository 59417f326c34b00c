#include "TimeSpan.h"

#include <algorithm>

void TChartTimeSpan::Choose(double seconds) {
    FSeconds = std::max(seconds, MinSeconds);
}

void TChartTimeSpan::Hold(double end) {
    FFollowing = false;
    FEnd = end;
}

void TChartTimeSpan::Zoom(double factor, double anchor, double maxSeconds) {
    const double seconds =
        std::clamp(FSeconds * factor, MinSeconds, std::max(maxSeconds, MinSeconds));
    if (!FFollowing) {
        // The anchor keeps its share of the span on either side.
        const double share = (FEnd - anchor) / FSeconds;
        FEnd = anchor + share * seconds;
    }
    FSeconds = seconds;
}

void TChartTimeSpan::Show(double from, double to) {
    if (FFollowing || to <= from) {
        return;
    }
    FEnd = to;
    FSeconds = std::max(to - from, MinSeconds);
}

std::pair<double, double> TChartTimeSpan::Range(double newest) const {
    const double end = FFollowing ? newest : FEnd;
    return {end - FSeconds, end};
}
