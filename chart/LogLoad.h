#pragma once
// A log opened for replay: checked and recognised at once on the caller's thread (a file that
// is no regular file or no log is refused there), then read as a stream on a job's thread into
// a series of 16 bytes a reading.
#include <memory>
#include <string>
#include <vector>

#include "ChartJob.h"
#include "LogSeries.h"
#include "datalog/LogFile.h"

struct TReplayLog {
    std::string Name; // the file's name, without its folder
    TLambdaSeries Series{1, LogGapSeconds};
    std::vector<TChartMarker> Markers;
    TLogSummary Summary;
};

class TLogLoad {
public:
    TLogLoad(const std::string& path, const TLogReadOptions& options);
    TChartJob& Job() { return *FJob; }
    // Once the job has finished: the log, or nothing when it was cancelled. Raises the
    // reading's error.
    std::shared_ptr<TReplayLog> Take();

private:
    std::unique_ptr<TLogFile> FFile;
    std::shared_ptr<TReplayLog> FResult;
    std::unique_ptr<TChartJob> FJob; // last, so it ends before the rest goes
};

// A marker's text without the number a log gave it: "001 - Manual mark" is "Manual mark".
std::string MarkerTextOf(const std::string& text);
