#include "DialBands.h"

#include <algorithm>
#include <cmath>

int PerMille(double value, const TDialScale& scale) {
    return static_cast<int>(std::lround((value - scale.From) / (scale.To - scale.From) * 1000));
}

std::array<TSectorRange, 3> BandSectors(const TMixtureLimits& limits, const TDialScale& scale) {
    auto at = [&scale](double lambda) {
        return std::clamp(PerMille(scale.Shown(lambda), scale), 0, 1000);
    };
    std::array<TSectorRange, 3> out{NoSector, NoSector, NoSector};
    out[0] = {0, at(limits.RichLimit)};
    if (limits.Target) {
        out[1] = {at(limits.TargetLow), at(limits.TargetHigh)};
    }
    out[2] = {at(limits.LeanLimit), 1000};
    return out;
}
