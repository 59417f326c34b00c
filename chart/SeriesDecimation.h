#pragma once
// What the chart draws of a time span, reduced to its pixel columns: of the readings falling
// into one column it keeps the first, the lowest, the highest and the last, which draws the
// same line as all of them, so an hour of readings costs no more than the plot's width.
#include <utility>
#include <vector>

#include "LambdaSeries.h"

struct TDecimatedLine {
    // The line's points in time order; a NaN lambda breaks the line (a gap in the readings).
    std::vector<double> Time;
    std::vector<double> Lambda;
    // Lowest and highest lambda drawn inside the span; NaN when nothing is there.
    double Low = 0;
    double High = 0;
    // Times with warm-up readings, [from, to], joined where less than a column apart and no
    // gap lies between.
    std::vector<std::pair<double, double>> Warmup;
    // Readings with a gap before and after (time, lambda): a line of one point, drawn as a dot.
    std::vector<std::pair<double, double>> Points;

    void Clear();
};

// Reduces the readings between `from` and `to` (plus the one just outside each end, so the
// line runs to the edges) to at most four points per column of `columns`.
void DecimateSeries(const TLambdaSeries& series, double from, double to, int columns,
                    TDecimatedLine& out);
