#pragma once
// Where readings go on the chart's time axis, and what the wall clock showed there. Readings
// are placed by a clock that only runs forward (the monotonic clock live, a log's own time in
// replay), so a wall clock set back or forward moves no reading and hides none. Where the wall
// clock stepped, the step is noted, and the axis and readout show the wall clock's time.
#include <cstddef>
#include <limits>
#include <vector>

class TTimeline {
public:
    // The place of a reading taken at `time` (seconds on a forward-running clock) whose wall
    // clock showed `wall`. A time before the last place (a log whose own clock went back)
    // follows the last place at the usual spacing instead, and later ones move with it.
    double Place(double time, double wall);
    // What the wall clock showed at `place`.
    double WallAt(double place) const;
    // Forgets steps no longer needed for places from `oldest` on.
    void Forget(double oldest);
    void Clear();
    size_t Steps() const { return FSteps.size(); }

private:
    struct TStep {
        double From;   // the first place of the step
        double Offset; // wall clock minus place from there on
    };
    // Differences between the clocks below this are drift, not a step.
    static constexpr double StepSeconds = 0.5;

    std::vector<TStep> FSteps;
    double FShift = 0;
    double FLast = -std::numeric_limits<double>::infinity();
    double FSpacing = 0.1;
};
