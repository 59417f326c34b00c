#pragma once
// Work the chart window hands to a thread of its own (reading a log, exporting), so the
// window's thread, the poll and the data log go on undisturbed. The window watches the job's
// progress and end and may cancel it; the work itself touches nothing of the window.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>

class TChartJob {
public:
    // The work gets the cancel flag to look at and the count of units done to keep up to date.
    using TWork = std::function<void(const std::atomic<bool>& cancel, std::atomic<uint64_t>& done)>;

    // Starts `work` at once; `total` is the units it will do (bytes, readings).
    TChartJob(uint64_t total, TWork work);
    // Cancels the work and waits for its end.
    ~TChartJob();
    TChartJob(const TChartJob&) = delete;
    TChartJob& operator=(const TChartJob&) = delete;

    void Cancel() { FCancel = true; }
    bool Cancelled() const { return FCancel; }
    bool Finished() const { return FFinished; }
    // 0 to 1.
    double Progress() const;
    // Waits for the end; raises the work's error, if it ended in one.
    void Wait();

private:
    uint64_t FTotal;
    std::atomic<bool> FCancel{false};
    std::atomic<bool> FFinished{false};
    std::atomic<uint64_t> FDone{0};
    std::exception_ptr FError;
    std::thread FThread;
};
