#include "Timeline.h"

#include <algorithm>
#include <cmath>

double TTimeline::Place(double time, double wall) {
    double place = time + FShift;
    if (place < FLast) {
        FShift += FLast + FSpacing - place;
        place = FLast + FSpacing;
    } else if (std::isfinite(FLast) && place > FLast) {
        FSpacing = std::min(place - FLast, 1.0);
    }
    FLast = place;
    const double offset = wall - place;
    const double current = FSteps.empty() ? 0 : FSteps.back().Offset;
    if (std::fabs(offset - current) > StepSeconds) {
        FSteps.push_back({place, offset});
    }
    return place;
}

double TTimeline::WallAt(double place) const {
    const auto after = std::upper_bound(FSteps.begin(), FSteps.end(), place,
                                        [](double p, const TStep& s) { return p < s.From; });
    return after == FSteps.begin() ? place : place + std::prev(after)->Offset;
}

void TTimeline::Forget(double oldest) {
    // The step in force at `oldest` stays.
    size_t keep = 0;
    while (keep + 1 < FSteps.size() && FSteps[keep + 1].From <= oldest) {
        ++keep;
    }
    FSteps.erase(FSteps.begin(), FSteps.begin() + static_cast<std::ptrdiff_t>(keep));
}

void TTimeline::Clear() {
    *this = TTimeline();
}
