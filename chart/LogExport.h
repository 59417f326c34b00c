#pragma once
// Writes readings of the chart's history or of a replayed log as an MSL or CSV log, through
// the crash-safe log writer, on a job's thread. The file is created at once on the caller's
// thread, so a file that cannot be made is refused there.
#include <memory>
#include <string>
#include <vector>

#include "ChartJob.h"
#include "LogSeries.h"
#include "datalog/DataLog.h"
#include "datalog/LogWriter.h"

class TLogExport {
public:
    // Readings `range` of `series` with the markers among them; Time counts from the first.
    TLogExport(const std::string& path, TLogKind kind, const TLogFuel& fuel,
               std::shared_ptr<const TLambdaSeries> series, TIndexRange range,
               std::vector<TChartMarker> markers);
    TChartJob& Job() { return *FJob; }
    // Once the job has finished: closes the file; raises a write error.
    void Finish();
    const std::string& Path() const { return FPath; }
    size_t Count() const { return FRange.Size(); }

private:
    void Write(const std::atomic<bool>& cancel, std::atomic<uint64_t>& done);

    std::string FPath;
    std::unique_ptr<TLogWriter> FWriter;
    std::shared_ptr<const TLambdaSeries> FSeries;
    TIndexRange FRange;
    std::vector<TChartMarker> FMarkers;
    TDataLog FLog;
    std::unique_ptr<TChartJob> FJob; // last, so it ends before the rest goes
};
