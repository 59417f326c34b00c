// Manual-reset events, waits on several of them, and the wrapping tick count.
#include <gtest/gtest.h>

#include <poll.h>
#include <thread>

#include "platform/Event.h"
#include "platform/Tick.h"

namespace {

bool Readable(const TEvent& event) {
    pollfd fd{event.Handle(), POLLIN, 0};
    return poll(&fd, 1, 0) == 1 && (fd.revents & POLLIN) != 0;
}

TEST(Events, HandleIsReadableExactlyWhileSet) {
    TEvent event;
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(Readable(event));
    event.SetEvent();
    event.SetEvent();
    EXPECT_TRUE(Readable(event));
    // Manual reset: waiting does not consume the signal.
    EXPECT_EQ(event.WaitFor(0), TWaitResult::wrSignaled);
    EXPECT_EQ(event.WaitFor(0), TWaitResult::wrSignaled);
    EXPECT_TRUE(Readable(event));
    event.ResetEvent();
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(Readable(event));
    event.ResetEvent();
    EXPECT_FALSE(Readable(event));

    TEvent initiallySet(true);
    EXPECT_TRUE(initiallySet.IsSet());
    EXPECT_TRUE(Readable(initiallySet));
}

TEST(Events, WaitForTimesOutOrWakesWhenSetFromAnotherThread) {
    TEvent event;
    uint32_t start = GetTickCount();
    EXPECT_EQ(event.WaitFor(60), TWaitResult::wrTimeout);
    const uint32_t waited = TicksBetween(start, GetTickCount());
    EXPECT_GE(waited, 55u);
    EXPECT_LT(waited, 500u);

    std::thread setter([&] {
        Sleep(20);
        event.SetEvent();
    });
    start = GetTickCount();
    EXPECT_EQ(event.WaitFor(INFINITE), TWaitResult::wrSignaled);
    EXPECT_LT(TicksBetween(start, GetTickCount()), 2000u);
    setter.join();
}

TEST(Events, MultipleWaitReturnsEarliestListedSetEvent) {
    TEvent a, b, c;
    EXPECT_EQ(WaitForMultipleEvents({&a, &b, &c}, 0), -1);
    c.SetEvent();
    b.SetEvent();
    EXPECT_EQ(WaitForMultipleEvents({&a, &b, &c}, 0), 1);
    EXPECT_EQ(WaitForMultipleEvents({&c, &b, &a}, 0), 0);
    b.ResetEvent();
    EXPECT_EQ(WaitForMultipleEvents({&a, &b, &c}, INFINITE), 2);
    c.ResetEvent();

    const uint32_t start = GetTickCount();
    EXPECT_EQ(WaitForMultipleEvents({&a, &b, &c}, 50), -1);
    EXPECT_GE(TicksBetween(start, GetTickCount()), 45u);
}

TEST(Events, MultipleWaitWakesForALaterSetAndPrefersTheEarlierListed) {
    TEvent stop, data;
    std::thread setter([&] {
        Sleep(20);
        data.SetEvent();
    });
    EXPECT_EQ(WaitForMultipleEvents({&stop, &data}, 5000), 1);
    setter.join();
    // Both set by the time the waiter looks: the stop signal, listed first, wins.
    stop.SetEvent();
    EXPECT_EQ(WaitForMultipleEvents({&stop, &data}, 5000), 0);
}

TEST(Ticks, ArithmeticHoldsAcrossTheWrap) {
    EXPECT_EQ(TicksBetween(0xFFFFFFF0u, 0x10u), 0x20u);
    EXPECT_TRUE(TicksElapsed(0xFFFFFF9Cu, 0x00000000u, 100));
    EXPECT_FALSE(TicksElapsed(0xFFFFFF9Cu, 0xFFFFFFFFu, 100));
    EXPECT_EQ(TicksBetween(5, 5), 0u);
}

} // namespace
