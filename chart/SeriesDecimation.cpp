#include "SeriesDecimation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The readings of one column between two gaps.
struct TColumnRun {
    long Column = 0;
    size_t First = 0;
    size_t Low = 0;
    size_t High = 0;
    size_t Last = 0;
};

class TDecimator {
public:
    TDecimator(const TLambdaSeries& series, double from, double to, int columns,
               TDecimatedLine& out)
        : S(series), From(from), To(to), Out(out), Width((to - from) / std::max(columns, 1)) {}

    void Run(TIndexRange range) {
        for (size_t i = range.First; i < range.Last; ++i) {
            Take(i);
        }
        Flush();
    }

private:
    const TLambdaSeries& S;
    double From;
    double To;
    TDecimatedLine& Out;
    double Width;
    TColumnRun Current;
    bool Open = false;
    size_t LastWarmup = 0;
    bool GapSinceWarmup = false;

    long ColumnOf(double time) const {
        return Width > 0 ? static_cast<long>(std::floor((time - From) / Width)) : 0;
    }

    void Take(size_t i) {
        const TSeriesPoint& p = S.At(i);
        const long column = ColumnOf(p.Time);
        if (Open && (p.GapBefore() || column != Current.Column)) {
            Flush();
            if (p.GapBefore()) {
                const double previous = S.At(i - 1).Time;
                Emit((previous + p.Time) / 2, NaN);
            }
        }
        if (!Open) {
            Current = {column, i, i, i, i};
            Open = true;
        }
        GapSinceWarmup = GapSinceWarmup || p.GapBefore();
        if (p.GapBefore() && (i + 1 == S.Size() || S.At(i + 1).GapBefore())) {
            Out.Points.emplace_back(p.Time, p.Lambda);
        }
        Current.Last = i;
        if (p.Lambda < S.At(Current.Low).Lambda) {
            Current.Low = i;
        }
        if (p.Lambda > S.At(Current.High).Lambda) {
            Current.High = i;
        }
        if (p.Time >= From && p.Time <= To) {
            Out.Low = std::isnan(Out.Low) ? p.Lambda : std::min<double>(Out.Low, p.Lambda);
            Out.High = std::isnan(Out.High) ? p.Lambda : std::max<double>(Out.High, p.Lambda);
            if (p.Warmup()) {
                AddWarmup(i, p.Time);
            }
        }
    }

    void Flush() {
        if (!Open) {
            return;
        }
        Open = false;
        size_t picks[4] = {Current.First, std::min(Current.Low, Current.High),
                           std::max(Current.Low, Current.High), Current.Last};
        size_t last = static_cast<size_t>(-1);
        for (size_t index : picks) {
            if (index != last) {
                Emit(S.At(index).Time, S.At(index).Lambda);
                last = index;
            }
        }
    }

    void Emit(double time, double lambda) {
        Out.Time.push_back(time);
        Out.Lambda.push_back(lambda);
    }

    // A warm-up reading extends the stretch of the one before it, or one less than a column
    // away; otherwise it starts a stretch.
    void AddWarmup(size_t index, double time) {
        const bool joins = !Out.Warmup.empty() && !GapSinceWarmup &&
                           (index == LastWarmup + 1 || time - Out.Warmup.back().second <= Width);
        GapSinceWarmup = false;
        if (joins) {
            Out.Warmup.back().second = time;
        } else {
            Out.Warmup.emplace_back(time, time);
        }
        LastWarmup = index;
    }
};

} // namespace

void TDecimatedLine::Clear() {
    Time.clear();
    Lambda.clear();
    Warmup.clear();
    Points.clear();
    Low = NaN;
    High = NaN;
}

void DecimateSeries(const TLambdaSeries& series, double from, double to, int columns,
                    TDecimatedLine& out) {
    out.Clear();
    TIndexRange range = series.Select(from, to);
    // One reading beyond each end, so the line leaves the plot at its edges.
    if (range.First > 0) {
        --range.First;
    }
    if (range.Last < series.Size()) {
        ++range.Last;
    }
    TDecimator(series, from, to, columns, out).Run(range);
}
