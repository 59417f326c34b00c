// Hand-over of routines from worker threads to the UI thread (the test's own thread).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "platform/Exception.h"
#include "platform/Synchronize.h"
#include "platform/Tick.h"

namespace {

class HandOver : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainThread();
        SetWakeMainThread({});
        while (CheckSynchronize()) {
        }
    }
    void TearDown() override { SetWakeMainThread({}); }

    // Runs hand-overs on this thread until `done` holds (bounded, so a fault fails, not hangs).
    static bool ServeUntil(const std::atomic<bool>& done, uint32_t limitMs = 5000) {
        const uint32_t start = GetTickCount();
        while (!done && !TicksElapsed(start, GetTickCount(), limitMs))
            CheckSynchronize(10);
        return done;
    }
};

TEST_F(HandOver, RunsOnUiThreadAndWorkerWaitsUntilItHasRun) {
    const auto uiThread = std::this_thread::get_id();
    std::thread::id ranOn;
    int value = 0;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        Synchronize([&] {
            ranOn = std::this_thread::get_id();
            value = 42;
        });
        // Visible here without locks: the hand-over completed before Synchronize returned.
        EXPECT_EQ(value, 42);
        returned = true;
    });
    Sleep(50);
    EXPECT_FALSE(returned) << "the worker must block until the UI thread runs the routine";
    EXPECT_TRUE(ServeUntil(returned));
    worker.join();
    EXPECT_EQ(ranOn, uiThread);
}

TEST_F(HandOver, ExceptionIsRethrownInTheWorkerWithItsTypeAndText) {
    std::atomic<bool> returned{false};
    std::string caught;
    bool rightType = false;
    std::thread worker([&] {
        try {
            Synchronize([] { throw EInOutError("Disk full"); });
        } catch (const EInOutError& e) {
            rightType = true;
            caught = e.what();
        } catch (...) {
        }
        returned = true;
    });
    EXPECT_TRUE(ServeUntil(returned));
    worker.join();
    EXPECT_TRUE(rightType);
    EXPECT_EQ(caught, "Disk full");
    // The UI thread carries on: a following hand-over still works.
    std::atomic<bool> again{false};
    std::thread second([&] { Synchronize([&] { again = true; }); });
    EXPECT_TRUE(ServeUntil(again));
    second.join();
}

TEST_F(HandOver, OnTheUiThreadRunsAtOnceAndExceptionsPassThrough) {
    bool ran = false;
    Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_THROW(Synchronize([] { throw Exception("x"); }), Exception);
    EXPECT_FALSE(CheckSynchronize()) << "nothing may have been queued";
}

TEST_F(HandOver, CheckSynchronizeWaitsForArrivalOrTimesOut) {
    const uint32_t start = GetTickCount();
    EXPECT_FALSE(CheckSynchronize(60));
    const uint32_t waited = TicksBetween(start, GetTickCount());
    EXPECT_GE(waited, 55u);
    EXPECT_LT(waited, 500u);

    std::thread worker([] {
        Sleep(30);
        Synchronize([] {});
    });
    const uint32_t start2 = GetTickCount();
    EXPECT_TRUE(CheckSynchronize(5000));
    EXPECT_LT(TicksBetween(start2, GetTickCount()), 2000u) << "must return when one arrives";
    worker.join();
}

TEST_F(HandOver, WakeHookIsCalledFromTheWorkerForEveryHandOver) {
    std::atomic<int> wakes{0};
    std::atomic<bool> hookOnWorker{true};
    const auto uiThread = std::this_thread::get_id();
    SetWakeMainThread([&] {
        ++wakes;
        if (std::this_thread::get_id() == uiThread)
            hookOnWorker = false;
    });
    std::atomic<bool> done{false};
    std::thread worker([&] {
        Synchronize([] {});
        Synchronize([] {});
        done = true;
    });
    EXPECT_TRUE(ServeUntil(done));
    worker.join();
    EXPECT_EQ(wakes, 2);
    EXPECT_TRUE(hookOnWorker);

    SetWakeMainThread({});
    std::atomic<bool> done2{false};
    std::thread worker2([&] {
        Synchronize([] {});
        done2 = true;
    });
    EXPECT_TRUE(ServeUntil(done2));
    worker2.join();
    EXPECT_EQ(wakes, 2) << "a removed hook is not called";
}

TEST_F(HandOver, ManyWorkersEachGetEveryRoutineRunExactlyOnce) {
    constexpr int Workers = 4;
    constexpr int Each = 200;
    int total = 0; // touched only by hand-overs, i.e. only on the UI thread
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < Workers; ++w)
        workers.emplace_back([&] {
            for (int i = 0; i < Each; ++i)
                Synchronize([&] { ++total; });
            ++finished;
        });
    const uint32_t start = GetTickCount();
    while (finished < Workers && !TicksElapsed(start, GetTickCount(), 10000))
        CheckSynchronize(10);
    for (auto& t : workers)
        t.join();
    EXPECT_EQ(total, Workers * Each);
}

TEST_F(HandOver, NestedWaitInsideAHandOverStillServesOtherWorkers) {
    // A routine that itself waits for a second worker's hand-over (as closing a port from
    // inside a notification does) must get it served by the nested CheckSynchronize.
    std::atomic<bool> secondDone{false};
    std::atomic<bool> firstDone{false};
    std::thread second;
    std::thread first([&] {
        Synchronize([&] {
            second = std::thread([&] {
                Synchronize([] {});
                secondDone = true;
            });
            ServeUntil(secondDone);
        });
        firstDone = true;
    });
    EXPECT_TRUE(ServeUntil(firstDone));
    first.join();
    second.join();
    EXPECT_TRUE(secondDone);
}

TEST_F(HandOver, APostedRoutineLetsTheWorkerGoOnAndTheNextWaitsForIt) {
    std::vector<int> ran; // touched only on the UI thread
    std::atomic<int> posted{0};
    std::atomic<bool> secondPosted{false};
    TPostedHandOver handOver;
    std::thread worker([&] {
        handOver.Post([&] { ran.push_back(1); });
        posted = 1; // before the UI thread has served anything
        handOver.Post([&] { ran.push_back(2); });
        secondPosted = true;
        handOver.Settle();
    });
    const uint32_t start = GetTickCount();
    while (posted == 0 && !TicksElapsed(start, GetTickCount(), 5000))
        Sleep(1);
    Sleep(50);
    EXPECT_EQ(posted, 1) << "Post must not wait for its routine";
    EXPECT_FALSE(secondPosted) << "the next Post must wait for the previous routine";
    EXPECT_TRUE(ServeUntil(secondPosted));
    while (ran.size() < 2 && !TicksElapsed(start, GetTickCount(), 5000))
        CheckSynchronize(10);
    worker.join();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));

    // Told to stop, a worker waiting to post gives up instead of waiting for the UI thread.
    std::atomic<bool> gaveUp{false};
    std::thread stopping([&] {
        handOver.Post([] {});
        gaveUp = !handOver.Post([] {});
    });
    Sleep(50);
    handOver.Interrupt();
    stopping.join();
    EXPECT_TRUE(gaveUp);
    EXPECT_TRUE(CheckSynchronize()); // the first routine is still served
}

} // namespace
