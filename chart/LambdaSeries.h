#pragma once
// The lambda history: a bounded ring of readings in time order. When full, each new reading
// replaces the oldest. Times are places on the chart's time axis in seconds since the epoch,
// given by a clock that runs only forward (Timeline.h); a reading is never placed before the
// one ahead of it. A reading that follows a pause longer than the gap time, or one added after
// MarkGap, starts a new line, so the chart does not draw across a time without readings.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Timeline.h"

struct TSeriesPoint {
    double Time = 0;        // seconds since the epoch
    float Lambda = 0;       // the measured value, also during warm-up
    uint16_t DeciVolts = 0; // supply volts in tenths
    uint8_t Flags = 0;      // SeriesGapBefore, SeriesWarmup

    double Volts() const { return DeciVolts / 10.0; }
    bool Warmup() const;
    bool GapBefore() const;
};
static_assert(sizeof(TSeriesPoint) == 16, "16 bytes a reading keeps an hour in 1 MiB");

constexpr uint8_t SeriesGapBefore = 1; // not joined to the reading before
constexpr uint8_t SeriesWarmup = 2;    // taken while the sensor warmed up

inline bool TSeriesPoint::Warmup() const {
    return (Flags & SeriesWarmup) != 0;
}
inline bool TSeriesPoint::GapBefore() const {
    return (Flags & SeriesGapBefore) != 0;
}

// Readings [First, Last) by their index from the oldest.
struct TIndexRange {
    size_t First = 0;
    size_t Last = 0;
    bool Empty() const { return First >= Last; }
    size_t Size() const { return Empty() ? 0 : Last - First; }
};

// Lambda figures over a range. Readings taken during warm-up are left out: the sensor's
// value then says nothing about the mixture.
struct TSpanStats {
    size_t Count = 0; // readings counted
    double Min = 0;
    double Max = 0;
    double Mean = 0;
};

class TLambdaSeries {
public:
    TLambdaSeries(size_t capacity, double gapSeconds);
    // The readings `points`, in time order, as a full series; `timeline` holds their clock
    // steps.
    TLambdaSeries(std::vector<TSeriesPoint> points, const TTimeline& timeline, double gapSeconds);

    // A reading at `time` whose wall clock showed the same.
    void Append(double time, double lambda, double volts, bool warmup) {
        AppendTimed(time, time, lambda, volts, warmup);
    }
    // A reading at `time` on a forward-running clock, its wall clock showing `wall`.
    void AppendTimed(double time, double wall, double lambda, double volts, bool warmup);
    // What the wall clock showed at `time` on the chart's axis.
    double WallAt(double time) const { return FTimeline.WallAt(time); }
    const TTimeline& Timeline() const { return FTimeline; }
    // The next reading starts a new line (the link went down, polling stopped).
    void MarkGap() { FGapPending = true; }
    void Clear();

    size_t Size() const { return FSize; }
    size_t Capacity() const { return FCapacity; }
    bool Empty() const { return FSize == 0; }
    double GapSeconds() const { return FGapSeconds; }
    // Index 0 is the oldest reading kept.
    const TSeriesPoint& At(size_t index) const {
        size_t slot = FOldest + index;
        if (slot >= FPoints.size()) {
            slot -= FPoints.size();
        }
        return FPoints[slot];
    }
    const TSeriesPoint& Newest() const { return At(FSize - 1); }
    const TSeriesPoint& Oldest() const { return At(0); }

    // The readings with from <= Time <= to.
    TIndexRange Select(double from, double to) const;
    TSpanStats Stats(TIndexRange range) const;

    // The point of a reading at `time`, `gap` when it starts a new line.
    static TSeriesPoint MakePoint(double time, double lambda, double volts, bool warmup, bool gap);

    // Memory held by the readings, whatever their number.
    size_t BytesReserved() const { return FCapacity * sizeof(TSeriesPoint); }

private:
    // First index whose time is not below `time` (or above it when `after`).
    size_t LowerBound(double time, bool after) const;

    // The ring; it grows up to FCapacity, then each new reading replaces the oldest.
    std::vector<TSeriesPoint> FPoints;
    size_t FCapacity;
    TTimeline FTimeline;
    size_t FOldest = 0;
    size_t FSize = 0;
    double FGapSeconds;
    bool FGapPending = false;
};
