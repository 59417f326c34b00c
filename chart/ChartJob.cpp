#include "ChartJob.h"

#include <algorithm>
#include <utility>

TChartJob::TChartJob(uint64_t total, TWork work) : FTotal(total) {
    FThread = std::thread([this, work = std::move(work)] {
        try {
            work(FCancel, FDone);
        } catch (...) {
            FError = std::current_exception();
        }
        FFinished = true;
    });
}

TChartJob::~TChartJob() {
    Cancel();
    if (FThread.joinable()) {
        FThread.join();
    }
}

double TChartJob::Progress() const {
    return FTotal == 0 ? 0
                       : std::min(1.0, static_cast<double>(FDone) / static_cast<double>(FTotal));
}

void TChartJob::Wait() {
    if (FThread.joinable()) {
        FThread.join();
    }
    if (FError) {
        std::rethrow_exception(std::exchange(FError, nullptr));
    }
}
