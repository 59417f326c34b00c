#pragma once
// How readings become a series for the chart: live ones as they are decoded, and a whole
// log read back for replay.
#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "LambdaSeries.h"
#include "datalog/LogReader.h"

// The live history: 65,536 readings of 16 bytes (1 MiB), one hour and 49 minutes at ten a
// second. Readings more than a second apart are not joined: the poll runs every 100 ms and
// the link watch gives up after 1.1 s.
constexpr size_t LiveHistoryCapacity = 65536;
constexpr double LiveGapSeconds = 1.0;
// A text log stores whole seconds and the reader spreads the n readings of a second over it,
// so readings in consecutive seconds are at most one second apart, while a missing second
// leaves 1 + 1/n seconds (1.1 s at ten a second): the line breaks just above one second.
constexpr double LogGapSeconds = 1.05;

// A marker drawn as a vertical line: its place on the time axis and its text.
struct TChartMarker {
    double Time = 0;
    std::string Text;
};

// Midnight at the start of `date`, broken down (daylight saving time left to the library).
std::tm CalendarDay(const TLogDate& date);

// All readings of `log`, placed on the day that starts at `dayStart` (seconds since the epoch).
TLambdaSeries SeriesFromLog(const TLogContents& log, double dayStart);

// Collects the readings of a log as it is read into a series for replay: 16 bytes a reading
// in blocks, so a growing log is never copied whole; taking the series moves the blocks into
// one array, each block freed once copied.
class TSeriesBuilder : public TLogSink {
public:
    explicit TSeriesBuilder(double gapSeconds) : FGapSeconds(gapSeconds) {}
    void Sample(const TLogSample& sample) override;
    void Mark(const TLogMark& mark) override;
    size_t Size() const { return FSize; }
    TLambdaSeries TakeSeries();
    std::vector<TChartMarker> TakeMarkers() { return std::move(FMarkers); }

private:
    static constexpr size_t BlockSize = 65536;
    double FGapSeconds;
    std::vector<std::vector<TSeriesPoint>> FBlocks;
    size_t FSize = 0;
    double FLast = 0;
    double FShift = 0; // place minus the log's own time, as of the last reading
    TTimeline FTimeline;
    std::vector<TChartMarker> FMarkers;
};
