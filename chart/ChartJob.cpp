#include "ChartJob.h"

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

namespace {
// Below the window's thread and the serial threads, so the poll and the log never wait for
// the job on a busy machine.
constexpr int JobNiceness = 10;
} // namespace

TChartJob::TChartJob(uint64_t total, TWork work) : FTotal(total) {
    FThread = std::thread([this, work = std::move(work)] {
        // On Linux the niceness is the thread's own; a refusal leaves it as it is.
        (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), JobNiceness);
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
