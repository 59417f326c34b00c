// The window timer: defaults, Enabled/Interval semantics, guarded and non-piling ticks.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/ErrorDisplay.h"
#include "platform/Exception.h"
#include "platform/QtTimer.h"
#include "platform/Tick.h"
#include "threads_app.h"

namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override {
        if (TestApplication() == nullptr)
            GTEST_SKIP() << "no QApplication in this program";
        FPrevious = SetErrorDisplayHook([this](const std::string& m) { Shown.push_back(m); });
    }
    void TearDown() override { SetErrorDisplayHook(FPrevious); }

    // Runs the event loop for `ms` milliseconds.
    static void Run(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    std::vector<std::string> Shown;

private:
    TErrorDisplayHook FPrevious;
};

TEST_F(Timers, TicksEveryIntervalWhileEnabled) {
    TTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    int ticks = 0;
    TTimer* sender = nullptr;
    timer.OnTimer = [&](TTimer* s) {
        ++ticks;
        sender = s;
    };
    timer.SetInterval(100);
    Run(550); // about five ticks
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 6);
    EXPECT_EQ(sender, &timer);
    timer.SetEnabled(false);
    const int stoppedAt = ticks;
    Run(250);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(Timers, RewritingEnabledDoesNotRestartTheCount) {
    TTimer timer;
    timer.SetInterval(200);
    uint32_t firstTick = 0;
    const uint32_t start = GetTickCount();
    timer.OnTimer = [&](TTimer*) {
        if (firstTick == 0)
            firstTick = TicksBetween(start, GetTickCount());
    };
    QTimer::singleShot(150, [&] { timer.SetEnabled(true); });
    Run(450);
    // A restart at 150 ms would put the first tick at 350 ms or later; anything before that
    // is the unbroken count, however late a busy machine delivers it.
    EXPECT_GE(firstTick, 180u);
    EXPECT_LT(firstTick, 345u);
}

TEST_F(Timers, ChangingIntervalWhileEnabledRestartsTheCount) {
    TTimer timer;
    timer.SetInterval(200);
    uint32_t firstTick = 0;
    const uint32_t start = GetTickCount();
    timer.OnTimer = [&](TTimer*) {
        if (firstTick == 0)
            firstTick = TicksBetween(start, GetTickCount());
    };
    QTimer::singleShot(150, [&] { timer.SetInterval(250); });
    Run(550);
    EXPECT_GE(firstTick, 360u); // 150 + 250, not 200
    EXPECT_LT(firstTick, 500u);
}

TEST_F(Timers, ZeroIntervalNeverTicksAndDisabledTimerStaysQuiet) {
    TTimer zero;
    zero.SetInterval(0);
    TTimer off;
    off.SetEnabled(false);
    off.SetInterval(50);
    int ticks = 0;
    zero.OnTimer = off.OnTimer = [&](TTimer*) { ++ticks; };
    Run(200);
    EXPECT_EQ(ticks, 0);
}

TEST_F(Timers, HandlerErrorIsShownAndTheTimerGoesOn) {
    TTimer timer;
    timer.SetInterval(50);
    int ticks = 0;
    timer.OnTimer = [&](TTimer*) {
        ++ticks;
        throw Exception("Port not open");
    };
    Run(280);
    EXPECT_GE(ticks, 2);
    ASSERT_EQ(Shown.size(), static_cast<size_t>(ticks));
    EXPECT_EQ(Shown.front(), "Port not open");
}

TEST_F(Timers, TicksDuringABusyHandlerAreSkippedNotNested) {
    TTimer timer;
    timer.SetInterval(30);
    int depth = 0, maxDepth = 0, ticks = 0;
    timer.OnTimer = [&](TTimer* t) {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        if (ticks == 1)
            Run(200); // an open message box keeps the event loop and its timers going
        --depth;
        if (ticks == 3)
            t->SetEnabled(false);
    };
    Run(400);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(ticks, 3);
}

} // namespace
