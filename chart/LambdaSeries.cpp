#include "LambdaSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

TLambdaSeries::TLambdaSeries(size_t capacity, double gapSeconds)
    : FCapacity(std::max<size_t>(capacity, 1)), FGapSeconds(gapSeconds) {
    // Reserved, not filled: memory becomes resident as readings arrive, so a program that
    // has recorded a minute holds a minute's worth.
    FPoints.reserve(FCapacity);
}

TLambdaSeries::TLambdaSeries(std::vector<TSeriesPoint> points, const TTimeline& timeline,
                             double gapSeconds)
    : FPoints(std::move(points)), FCapacity(std::max<size_t>(FPoints.size(), 1)),
      FTimeline(timeline), FSize(FPoints.size()), FGapSeconds(gapSeconds) {
    if (FPoints.empty()) {
        FPoints.resize(1);
    }
}

TSeriesPoint TLambdaSeries::MakePoint(double time, double lambda, double volts, bool warmup,
                                      bool gap) {
    TSeriesPoint point;
    point.Time = time;
    // The range checks of the log readers keep lambda within a float's range.
    point.Lambda = static_cast<float>(std::clamp(lambda, -1e30, 1e30));
    point.DeciVolts = static_cast<uint16_t>(std::clamp(std::lround(volts * 10), 0L, 65535L));
    point.Flags = static_cast<uint8_t>((warmup ? SeriesWarmup : 0) | (gap ? SeriesGapBefore : 0));
    return point;
}

void TLambdaSeries::AppendTimed(double time, double wall, double lambda, double volts,
                                bool warmup) {
    if (FSize == 0) {
        FTimeline.Clear();
    }
    const double place = FTimeline.Place(time, wall);
    const bool gap = FSize == 0 || FGapPending || place - Newest().Time > FGapSeconds;
    const TSeriesPoint point = MakePoint(place, lambda, volts, warmup, gap);
    FGapPending = false;

    if (FSize < FPoints.size()) {
        size_t slot = FOldest + FSize;
        if (slot >= FPoints.size()) {
            slot -= FPoints.size();
        }
        FPoints[slot] = point;
        ++FSize;
    } else if (FPoints.size() < FCapacity) {
        // Not yet round: the oldest is at the front and the ring grows into its reserve.
        FPoints.push_back(point);
        ++FSize;
    } else {
        FPoints[FOldest] = point;
        FOldest = (FOldest + 1 == FPoints.size()) ? 0 : FOldest + 1;
        if (FOldest == 0) {
            FTimeline.Forget(Oldest().Time);
        }
    }
}

void TLambdaSeries::Clear() {
    FTimeline.Clear();
    FOldest = 0;
    FSize = 0;
    FGapPending = false;
}

size_t TLambdaSeries::LowerBound(double time, bool after) const {
    size_t low = 0;
    size_t high = FSize;
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        const double t = At(mid).Time;
        if (after ? t <= time : t < time) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low;
}

TIndexRange TLambdaSeries::Select(double from, double to) const {
    if (FSize == 0 || to < from) {
        return {};
    }
    return {LowerBound(from, false), LowerBound(to, true)};
}

TSpanStats TLambdaSeries::Stats(TIndexRange range) const {
    TSpanStats stats;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    double sum = 0;
    for (size_t i = range.First; i < range.Last; ++i) {
        const TSeriesPoint& p = At(i);
        if (p.Warmup()) {
            continue;
        }
        low = std::min(low, static_cast<double>(p.Lambda));
        high = std::max(high, static_cast<double>(p.Lambda));
        sum += p.Lambda;
        ++stats.Count;
    }
    if (stats.Count > 0) {
        stats.Min = low;
        stats.Max = high;
        stats.Mean = sum / static_cast<double>(stats.Count);
    }
    return stats;
}
