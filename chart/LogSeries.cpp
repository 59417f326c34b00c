#include "LogSeries.h"

#include <algorithm>
#include <ctime>

std::tm CalendarDay(const TLogDate& date) {
    std::tm day{};
    day.tm_year = date.Year - 1900;
    day.tm_mon = date.Month - 1;
    day.tm_mday = date.Day;
    day.tm_isdst = -1;
    return day;
}

TLambdaSeries SeriesFromLog(const TLogContents& log, double dayStart) {
    TLambdaSeries series(log.Readings.size(), LogGapSeconds);
    for (const TLogReading& reading : log.Readings) {
        series.Append(dayStart + reading.Seconds, reading.Lambda, reading.Volts, false);
    }
    return series;
}

void TSeriesBuilder::Sample(const TLogSample& s) {
    const double place = FTimeline.Place(s.Time, s.Wall);
    const bool gap = FSize == 0 || place - FLast > FGapSeconds;
    FLast = place;
    FShift = place - s.Time;
    if (FBlocks.empty() || FBlocks.back().size() == BlockSize) {
        FBlocks.emplace_back().reserve(BlockSize);
    }
    FBlocks.back().push_back(TLambdaSeries::MakePoint(place, s.Lambda, s.Volts, s.Warmup, gap));
    ++FSize;
}

void TSeriesBuilder::Mark(const TLogMark& mark) {
    // At its own time, yet never before the reading ahead of it.
    const double place = FSize == 0 ? mark.Time : std::max(FLast, mark.Time + FShift);
    FMarkers.push_back({place, mark.Text});
}

TLambdaSeries TSeriesBuilder::TakeSeries() {
    std::vector<TSeriesPoint> points;
    points.reserve(FSize);
    for (std::vector<TSeriesPoint>& block : FBlocks) {
        points.insert(points.end(), block.begin(), block.end());
        std::vector<TSeriesPoint>().swap(block);
    }
    FBlocks.clear();
    FSize = 0;
    return TLambdaSeries(std::move(points), FTimeline, FGapSeconds);
}
