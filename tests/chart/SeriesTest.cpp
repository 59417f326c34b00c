// The lambda history: its bound, span selection, statistics, gaps, and the reduction of an
// hour of readings to the plot's columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "chart/LambdaSeries.h"
#include "chart/LogSeries.h"
#include "chart/SeriesDecimation.h"

namespace {

// Readings every 0.1 s from `start`, lambda given by `lambda(i)`.
template <class F> void Fill(TLambdaSeries& s, double start, int count, F lambda) {
    for (int i = 0; i < count; ++i) {
        s.Append(start + i * 0.1, lambda(i), 13.8, false);
    }
}

size_t Breaks(const TDecimatedLine& line) {
    return static_cast<size_t>(std::count_if(line.Lambda.begin(), line.Lambda.end(),
                                             [](double v) { return std::isnan(v); }));
}

} // namespace

TEST(LambdaSeries, FullRingDropsTheOldestAndKeepsItsMemory) {
    static_assert(LiveHistoryCapacity >= 3600 * 10, "an hour at ten readings a second");
    TLambdaSeries s(5, 1.0);
    for (int i = 0; i < 12; ++i) {
        s.Append(i * 0.1, 0.9 + i * 0.01, 12.0, false);
    }
    EXPECT_EQ(s.Size(), 5u);
    EXPECT_DOUBLE_EQ(s.Oldest().Time, 0.7);
    EXPECT_DOUBLE_EQ(s.Newest().Time, 1.1);
    for (size_t i = 1; i < s.Size(); ++i) {
        EXPECT_LT(s.At(i - 1).Time, s.At(i).Time);
    }
    EXPECT_EQ(s.BytesReserved(), 5 * sizeof(TSeriesPoint));
    s.Clear();
    EXPECT_TRUE(s.Empty());
    s.Append(5, 1.0, 12.0, false);
    EXPECT_EQ(s.Size(), 1u);
    EXPECT_DOUBLE_EQ(s.Newest().Time, 5);
}

TEST(LambdaSeries, SelectsTheSpanAcrossTheRingsWrap) {
    TLambdaSeries s(8, 10.0);
    for (int i = 0; i <= 12; ++i) {
        s.Append(i, 1.0, 12.0, false); // keeps 5..12
    }
    TIndexRange r = s.Select(6.5, 9);
    ASSERT_EQ(r.Size(), 3u);
    EXPECT_DOUBLE_EQ(s.At(r.First).Time, 7);
    EXPECT_DOUBLE_EQ(s.At(r.Last - 1).Time, 9);
    EXPECT_EQ(s.Select(0, 4.9).Size(), 0u);
    EXPECT_EQ(s.Select(12.5, 20).Size(), 0u);
    EXPECT_EQ(s.Select(0, 100).Size(), 8u);
}

TEST(LambdaSeries, StatisticsLeaveOutWarmup) {
    TLambdaSeries s(100, 1.0);
    s.Append(0.0, 0.5, 12, true); // warm-up values say nothing about the mixture
    s.Append(0.1, 0.8, 12, false);
    s.Append(0.2, 1.0, 12, false);
    s.Append(0.3, 1.2, 12, false);
    s.Append(0.4, 2.0, 12, false); // outside the span below
    const TSpanStats stats = s.Stats(s.Select(0, 0.35));
    EXPECT_EQ(stats.Count, 3u);
    EXPECT_FLOAT_EQ(stats.Min, 0.8f);
    EXPECT_FLOAT_EQ(stats.Max, 1.2f);
    EXPECT_NEAR(stats.Mean, 1.0, 1e-6);
    EXPECT_EQ(s.Stats(s.Select(0, 0.05)).Count, 0u);
}

TEST(LambdaSeries, PausesAndMarkedGapsBreakTheLineAndNothingElseDoes) {
    TLambdaSeries s(1000, 1.0);
    Fill(s, 0, 20, [](int) { return 1.0; });    // 0 .. 1.9
    Fill(s, 5, 20, [](int) { return 0.9; });    // after 3 s without readings
    s.MarkGap();                                // the link went down
    Fill(s, 7.05, 20, [](int) { return 1.1; }); // at the usual spacing, yet a new line
    TDecimatedLine line;
    DecimateSeries(s, 0, 10, 500, line);
    EXPECT_EQ(Breaks(line), 2u);
    // The breaks sit between the stretches, and the stretches keep their values.
    for (size_t i = 0; i < line.Time.size(); ++i) {
        if (std::isnan(line.Lambda[i])) {
            EXPECT_TRUE((line.Time[i] > 1.9 && line.Time[i] < 5) ||
                        (line.Time[i] > 6.9 && line.Time[i] < 7.05))
                << line.Time[i];
        }
    }
    // Readings a little late (a busy machine) stay one line.
    TLambdaSeries late(100, 1.0);
    Fill(late, 0, 10, [](int) { return 1.0; });
    late.Append(1.8, 1.0, 13.8, false);
    DecimateSeries(late, 0, 2, 500, line);
    EXPECT_EQ(Breaks(line), 0u);
}

TEST(LambdaSeries, ClearedWhileGrowingKeepsTimeOrderThroughTheRound) {
    // The ring grows into its reserve; cleared half-grown, it refills what it has, grows on,
    // and once round drops the oldest.
    TLambdaSeries s(8, 1.0);
    for (int i = 0; i < 3; ++i) {
        s.Append(i * 0.1, 1.0, 12.0, false);
    }
    s.Clear();
    for (int i = 0; i < 11; ++i) {
        s.Append(10 + i * 0.1, 0.8 + i * 0.01, 12.0, false);
    }
    ASSERT_EQ(s.Size(), 8u);
    for (size_t i = 0; i < s.Size(); ++i) {
        EXPECT_DOUBLE_EQ(s.At(i).Time, 10 + (i + 3) * 0.1);
    }
}

TEST(SeriesDecimation, AnHourInViewKeepsEveryPeakWithinFourPointsAColumn) {
    TLambdaSeries s(LiveHistoryCapacity, 1.0);
    const int count = 36000;
    Fill(s, 1000, count, [](int i) { return 1.0 + 0.2 * std::sin(i / 300.0); });
    // One-reading spikes, the kind a lean stumble leaves.
    TLambdaSeries spiky(LiveHistoryCapacity, 1.0);
    Fill(spiky, 1000, count, [](int i) {
        return i == 12345 ? 1.9 : i == 30001 ? 0.45 : 1.0 + 0.2 * std::sin(i / 300.0);
    });
    const int columns = 700;
    TDecimatedLine line;
    DecimateSeries(spiky, 1000, 1000 + 3600, columns, line);
    EXPECT_LE(line.Time.size(), static_cast<size_t>(4 * columns + 2));
    EXPECT_GT(line.Time.size(), static_cast<size_t>(columns));
    EXPECT_TRUE(std::is_sorted(line.Time.begin(), line.Time.end()));
    EXPECT_FLOAT_EQ(static_cast<float>(*std::max_element(line.Lambda.begin(), line.Lambda.end())),
                    1.9f);
    EXPECT_FLOAT_EQ(static_cast<float>(*std::min_element(line.Lambda.begin(), line.Lambda.end())),
                    0.45f);
    EXPECT_FLOAT_EQ(static_cast<float>(line.High), 1.9f);
    EXPECT_FLOAT_EQ(static_cast<float>(line.Low), 0.45f);
    // A span shorter than the columns keeps every reading, and one just outside each end.
    DecimateSeries(s, 1000 + 10, 1000 + 20, columns, line);
    EXPECT_EQ(line.Time.size(), 101u + 2u);
    EXPECT_LT(line.Time.front(), 1010);
    EXPECT_GT(line.Time.back(), 1020);
}

TEST(SeriesDecimation, WarmupStretchesJoinWithinAColumn) {
    TLambdaSeries s(1000, 1.0);
    for (int i = 0; i < 100; ++i) {
        // Warm-up for the first 3 s, then once more a single reading at 8 s.
        s.Append(i * 0.1, 1.0, 13.8, i < 30 || i == 80);
    }
    TDecimatedLine line;
    DecimateSeries(s, 0, 10, 100, line);
    ASSERT_EQ(line.Warmup.size(), 2u);
    EXPECT_DOUBLE_EQ(line.Warmup[0].first, 0.0);
    EXPECT_NEAR(line.Warmup[0].second, 2.9, 1e-9);
    EXPECT_NEAR(line.Warmup[1].first, 8.0, 1e-9);
}

TEST(LogSeries, WholeSecondLogsBreakOnlyWhereASecondIsMissing) {
    TLogContents log;
    // Ten readings in each of seconds 0 and 1, none in second 2, then one in each of seconds 3
    // and 4: a full second apart, yet no second missing.
    for (int i = 0; i < 20; ++i) {
        log.Readings.push_back({i / 10 + (i % 10) / 10.0, 1.0, 12.5});
    }
    log.Readings.push_back({3.0, 1.0, 12.5});
    log.Readings.push_back({4.0, 1.0, 12.5});
    const TLambdaSeries s = SeriesFromLog(log, 1000);
    ASSERT_EQ(s.Size(), 22u);
    EXPECT_DOUBLE_EQ(s.Oldest().Time, 1000);
    size_t gaps = 0;
    for (size_t i = 1; i < s.Size(); ++i) {
        gaps += s.At(i).GapBefore() ? 1 : 0;
    }
    EXPECT_EQ(gaps, 1u);
    EXPECT_TRUE(s.At(20).GapBefore());
}

TEST(SeriesDecimation, TheWarmupBandBreaksWhereTheLineBreaks) {
    // Warm-up, a ten-minute outage, warm-up again.
    TLambdaSeries w(1000, 1.0);
    for (int i = 0; i < 10; ++i) {
        w.Append(i * 0.1, 1.0, 13.8, true);
    }
    w.MarkGap();
    for (int i = 0; i < 10; ++i) {
        w.Append(600 + i * 0.1, 1.0, 13.8, true);
    }
    TDecimatedLine line;
    // Wide columns: both stretches would fall within one column's reach.
    DecimateSeries(w, 0, 3600, 5, line);
    EXPECT_EQ(line.Warmup.size(), 2u);
}
