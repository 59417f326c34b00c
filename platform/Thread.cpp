#include "platform/Thread.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

#include "platform/Exception.h"

namespace {

constexpr uint32_t WaitSlice = 50; // ms; a backstop only, the ending thread wakes the wait

long CurrentTid() {
    return static_cast<long>(syscall(SYS_gettid));
}

int NiceFor(TThreadPriority priority) {
    switch (priority) {
    case TThreadPriority::tpIdle:
    case TThreadPriority::tpLowest:
        return 10;
    case TThreadPriority::tpLower:
        return 5;
    case TThreadPriority::tpNormal:
        return 0;
    case TThreadPriority::tpHigher:
        return -5;
    case TThreadPriority::tpHighest:
        return -10;
    case TThreadPriority::tpTimeCritical:
        return -15;
    }
    return 0;
}

// Linux accepts a thread id where these calls take a process id. Refusals (raising priority
// without privilege) are ignored: the thread keeps the priority it had.
void ApplyToTid(long tid, TThreadPriority priority) {
    sched_param param{};
    const int policy = priority == TThreadPriority::tpIdle ? SCHED_IDLE : SCHED_OTHER;
    (void)sched_setscheduler(static_cast<pid_t>(tid), policy, &param);
    if (policy == SCHED_OTHER)
        (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceFor(priority));
}

} // namespace

TThread::TThread(bool /*createSuspended*/) {}

TThread::~TThread() {
    Terminate();
    try {
        WaitFor();
    } catch (...) {
        // Only a thread destroying itself gets here; it cannot wait for itself, so it is
        // let go instead of joined.
        std::lock_guard lock(FJoinLock);
        if (FThread.joinable())
            FThread.detach();
    }
}

void TThread::Start() {
    std::lock_guard lock(FJoinLock);
    if (FStarted.exchange(true))
        return;
    try {
        FThread = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        FStarted = false;
        throw EThread(std::string("Thread creation error: ") + e.what());
    }
}

void TThread::Run() {
    {
        std::lock_guard lock(FPriorityLock);
        FTid = CurrentTid();
        ApplyPriority();
    }
    try {
        Execute();
    } catch (...) {
        FatalException = std::current_exception();
    }
    {
        // The id may be reused by another thread once this one is gone.
        std::lock_guard lock(FPriorityLock);
        FTid = 0;
    }
    FFinished = true;
    WakeCheckSynchronize();
}

int TThread::WaitFor() {
    if (!FStarted)
        return ReturnValue;
    if (FTid == CurrentTid())
        throw EThread("Thread cannot wait for itself");
    if (IsMainThread()) {
        // Keep carrying out hand-overs: the thread may be blocked in Synchronize.
        while (!FFinished)
            CheckSynchronize(WaitSlice);
    }
    Join();
    return ReturnValue;
}

void TThread::Join() {
    std::lock_guard lock(FJoinLock);
    if (FThread.joinable())
        FThread.join();
}

void TThread::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(FPriorityLock);
    FPriority = priority;
    ApplyPriority();
}

// Caller holds FPriorityLock.
void TThread::ApplyPriority() {
    const long tid = FTid;
    if (tid != 0)
        ApplyToTid(tid, FPriority);
}
