// Worker threads: start, terminate, wait (with hand-overs), fatal exceptions, priority.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/Exception.h"
#include "platform/Thread.h"
#include "platform/Tick.h"

namespace {

// A thread whose Execute is a test-supplied routine.
class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : FBody(std::move(body)) {}
    ~TLambdaThread() override {
        Terminate();
        WaitFor();
    }
    using TThread::Synchronize;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TLambdaThread&)> FBody;
};

class Threads : public ::testing::Test {
protected:
    void SetUp() override { SetMainThread(); }
};

TEST_F(Threads, CreatedSuspendedAndStartedOnce) {
    std::atomic<int> runs{0};
    TLambdaThread thread([&](TLambdaThread& self) {
        ++runs;
        self.ReturnValue = 7;
    });
    Sleep(30);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(thread.Started());
    thread.Start();
    thread.Start();
    EXPECT_EQ(thread.WaitFor(), 7);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(thread.Finished());
}

TEST_F(Threads, UiThreadWaitForServesHandOversOfTheThreadItWaitsFor) {
    int served = 0; // UI thread only
    std::atomic<bool> handingOver{false};
    TLambdaThread thread([&](TLambdaThread& self) {
        while (!self.Terminated()) {
            self.Synchronize([&] { ++served; });
            handingOver = true;
        }
        // One more after the stop request, as a notification in flight would be.
        self.Synchronize([&] { ++served; });
    });
    thread.Start();
    const uint32_t start = GetTickCount();
    while (!handingOver && !TicksElapsed(start, GetTickCount(), 5000))
        CheckSynchronize(10);
    ASSERT_TRUE(handingOver);
    thread.Terminate();
    const uint32_t waitStart = GetTickCount();
    thread.WaitFor(); // deadlocks if WaitFor does not run hand-overs
    EXPECT_LT(TicksBetween(waitStart, GetTickCount()), 2000u);
    EXPECT_TRUE(thread.Finished());
    EXPECT_GE(served, 2);
}

TEST_F(Threads, WaitForReturnsPromptlyWhenTheThreadEnds) {
    // The ending thread wakes the waiting UI thread; no polling slice is lost. A wait that
    // only polled would return some 30 ms after a 20 ms thread ends. The best of a few runs
    // is taken, so a busy machine that delays one wake-up does not decide the outcome.
    uint32_t best = UINT32_MAX;
    for (int run = 0; run < 5 && best >= 15; ++run) {
        std::atomic<uint32_t> endedAt{0};
        TLambdaThread thread([&](TLambdaThread&) {
            Sleep(20);
            endedAt = GetTickCount();
        });
        thread.Start();
        thread.WaitFor();
        best = std::min(best, TicksBetween(endedAt, GetTickCount()));
    }
    EXPECT_LT(best, 15u);
}

TEST_F(Threads, DestructorTerminatesAndJoins) {
    std::atomic<bool> sawTerminate{false};
    {
        TLambdaThread thread([&](TLambdaThread& self) {
            while (!self.Terminated())
                Sleep(1);
            sawTerminate = true;
        });
        thread.Start();
        Sleep(10);
    }
    EXPECT_TRUE(sawTerminate);
}

TEST_F(Threads, ExceptionEscapingExecuteIsKeptAsFatalException) {
    TLambdaThread thread([](TLambdaThread&) { throw EInOutError("log write failed"); });
    thread.Start();
    thread.WaitFor();
    ASSERT_TRUE(thread.FatalException);
    EXPECT_THROW(std::rethrow_exception(thread.FatalException), EInOutError);
}

TEST_F(Threads, WaitingForItselfRaisesInsteadOfHanging) {
    bool raised = false;
    TLambdaThread thread([&](TLambdaThread& self) {
        try {
            self.WaitFor();
        } catch (const EThread&) {
            raised = true;
        }
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(raised);
}

long Tid() {
    return static_cast<long>(syscall(SYS_gettid));
}
int NiceOf(long tid) {
    errno = 0;
    return getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
}

TEST_F(Threads, LowPrioritiesApplyAndHighOnesNeverFail) {
    struct Seen {
        int nice = 99;
        int policy = -1;
    };
    auto observe = [](TThreadPriority priority) {
        Seen seen;
        TLambdaThread thread([&](TLambdaThread&) {
            seen.nice = NiceOf(Tid());
            seen.policy = sched_getscheduler(0);
        });
        thread.SetPriority(priority);
        thread.Start();
        thread.WaitFor();
        EXPECT_EQ(thread.Priority(), priority);
        return seen;
    };
    const int base = NiceOf(Tid());
    EXPECT_EQ(observe(TThreadPriority::tpLowest).nice, std::max(base, 10));
    EXPECT_EQ(observe(TThreadPriority::tpLower).nice, std::max(base, 5));
    EXPECT_EQ(observe(TThreadPriority::tpIdle).policy, SCHED_IDLE);
    // Raising needs privilege; without it the thread runs on at its inherited nice value.
    const Seen highest = observe(TThreadPriority::tpHighest);
    EXPECT_TRUE(highest.nice == -10 || highest.nice == base) << highest.nice;
    EXPECT_EQ(highest.policy, SCHED_OTHER);
}

TEST_F(Threads, PriorityChangedWhileRunningReachesTheThread) {
    std::atomic<bool> changed{false};
    std::atomic<int> nice{99};
    TLambdaThread thread([&](TLambdaThread& self) {
        while (!changed && !self.Terminated())
            Sleep(1);
        nice = NiceOf(Tid());
    });
    thread.Start();
    Sleep(10);
    thread.SetPriority(TThreadPriority::tpLowest);
    changed = true;
    thread.WaitFor();
    EXPECT_EQ(nice, std::max(NiceOf(Tid()), 10));
}

} // namespace
