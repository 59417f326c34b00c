// The flash service: registrations, the shared timer and its worker, and the tick processing.
#include <gtest/gtest.h>

#include <QEvent>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ErrorDisplay.h"
#include "platform/Synchronize.h"
#include "platform/Tick.h"
#include "tests/support/QtTestApp.h"
#include "widgets/AbBinGControl.h"
#include "widgets/AbFlashT.h"

namespace {

// Collects the WM_FLASH messages it receives.
class Receiver : public QObject {
public:
    struct Message {
        uint32_t WParam;
        int32_t LParam;
    };
    bool event(QEvent* e) override {
        if (e->type() != TWMFlash::EventType())
            return QObject::event(e);
        auto* m = static_cast<TWMFlash*>(e);
        Messages.push_back({m->WParam, m->LParam});
        return true;
    }
    std::vector<Message> Messages;
};

class FlashService : public ::testing::Test {
protected:
    void SetUp() override {
        FinalizeFlashService();
        tim = 0;
    }
    void TearDown() override { FinalizeFlashService(); }
    // Registers and stops the worker's ticks so only explicit ticks run.
    void RegisterQuiet(QObject* control, int64_t code) {
        AddControl(control, code);
        AbFlashTimer->SetEnabled(false);
    }
    void Tick() { AbFlashTimer->flash(AbFlashTimer); }
};

} // namespace

TEST_F(FlashService, WorkerAppearsWithTheFirstRegistration) {
    EXPECT_EQ(AbFlashTimer, nullptr);
    AddControl(nullptr, Freq1Hz);
    EXPECT_EQ(AbFlashTimer, nullptr);
    EXPECT_TRUE(dynFlashList.empty());
    Receiver r;
    AddControl(&r, Freq1Hz);
    ASSERT_NE(AbFlashTimer, nullptr);
    EXPECT_EQ(running, 1);
    EXPECT_TRUE(AbFlashTimer->TimerThread()->Started());
    EXPECT_EQ(AbFlashTimer->Interval(), 16u);
    // The timer stays when the list empties.
    DelControl(&r);
    EXPECT_TRUE(dynFlashList.empty());
    EXPECT_NE(AbFlashTimer, nullptr);
    DestroyTimer();
    EXPECT_EQ(AbFlashTimer, nullptr);
    EXPECT_EQ(running, 0);
}

TEST_F(FlashService, OneRecordPerControl) {
    Receiver a, b;
    const uint32_t before = GetTickCount();
    AddControl(&a, Freq1Hz);
    AddControl(&b, Freq2Hz);
    AddControl(&a, 250);
    ASSERT_EQ(dynFlashList.size(), 2u);
    EXPECT_EQ(dynFlashList[0]->Control, &a);
    EXPECT_EQ(dynFlashList[0]->IntervalTime, 250);
    EXPECT_GE(dynFlashList[0]->NextPulseTime, int64_t(before) + 250);
    EXPECT_EQ(dynFlashList[0]->FlashProc, nullptr);
    DelControlNo(7);
    EXPECT_EQ(dynFlashList.size(), 2u);
    DelControl(&a);
    ASSERT_EQ(dynFlashList.size(), 1u);
    EXPECT_EQ(dynFlashList[0]->Control, &b);
    ClearFlashList();
    EXPECT_TRUE(dynFlashList.empty());
}

TEST_F(FlashService, PhasesAreCounterBitsAcrossTheWrap) {
    Receiver r8, r05;
    RegisterQuiet(&r8, Freq8Hz);
    RegisterQuiet(&r05, Freq05Hz);
    tim = 0xFFFFFFF0u;
    std::vector<Receiver::Message> expect8;
    bool bit8 = false;
    for (int i = 0; i < 40; ++i) {
        Tick();
        const bool phase = (tim >> 2) & 1u;
        if (phase != bit8) {
            bit8 = phase;
            expect8.push_back({tim, phase ? 1 : 0});
        }
    }
    EXPECT_EQ(tim, 0xFFFFFFF0u + 40u);
    ASSERT_EQ(r8.Messages.size(), expect8.size());
    for (size_t i = 0; i < expect8.size(); ++i) {
        EXPECT_EQ(r8.Messages[i].WParam, expect8[i].WParam);
        EXPECT_EQ(r8.Messages[i].LParam, expect8[i].LParam);
    }
    // The flip at the wrap: 0xFFFFFFFF has bit 2 set, 0 does not.
    bool sawWrap = false;
    for (auto& m : r8.Messages)
        sawWrap |= m.WParam == 0 && m.LParam == 0;
    EXPECT_TRUE(sawWrap);
    // Bit 6: on from 0xFFFFFFF1 (bit 6 set) and off again at the wrap.
    ASSERT_EQ(r05.Messages.size(), 2u);
    EXPECT_EQ(r05.Messages[0].WParam, 0xFFFFFFF1u);
    EXPECT_EQ(r05.Messages[0].LParam, 1);
    EXPECT_EQ(r05.Messages[1].WParam, 0u);
    EXPECT_EQ(r05.Messages[1].LParam, 0);
}

TEST_F(FlashService, OneSecondPulseAndMillisecondPeriods) {
    Receiver sec, ms;
    RegisterQuiet(&sec, SyncOneSec);
    RegisterQuiet(&ms, 100);
    Tick();
    EXPECT_TRUE(sec.Messages.empty());
    EXPECT_TRUE(ms.Messages.empty());
    NextSecPuls = FlashNow() - OneSec / 10;
    Tick();
    Tick();
    ASSERT_EQ(sec.Messages.size(), 1u);
    EXPECT_EQ(sec.Messages[0].LParam, 0);
    // A pulse 30 ms overdue: sent with its lateness, the next one comes that much sooner.
    const uint32_t now = GetTickCount();
    dynFlashList[1]->NextPulseTime = int64_t(now) - 30;
    Tick();
    ASSERT_EQ(ms.Messages.size(), 1u);
    EXPECT_GE(ms.Messages[0].LParam, 30);
    EXPECT_LE(ms.Messages[0].LParam, 60);
    const int64_t next = dynFlashList[1]->NextPulseTime;
    EXPECT_GE(next, int64_t(now) + 100 - 60);
    EXPECT_LE(next, int64_t(now) + 100);
    // Lateness beyond a second is not corrected.
    dynFlashList[1]->NextPulseTime = int64_t(GetTickCount()) - 5000;
    Tick();
    ASSERT_EQ(ms.Messages.size(), 2u);
    EXPECT_EQ(ms.Messages[1].LParam, 0);
}

TEST_F(FlashService, WorkerHandsTicksToTheUserInterfaceThread) {
    Receiver r;
    AddControl(&r, Freq8Hz);
    const uint32_t start = tim;
    const auto t0 = std::chrono::steady_clock::now();
    while (tim - start < 10 && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(5))
        CheckSynchronize(50);
    const auto elapsed = std::chrono::steady_clock::now() - t0;
    EXPECT_GE(tim - start, 10u);
    // Ten ticks of at least 16 ms each.
    EXPECT_GE(elapsed, std::chrono::milliseconds(150));
    EXPECT_FALSE(r.Messages.empty());
    // Disabled: no more ticks.
    AbFlashTimer->SetEnabled(false);
    CheckSynchronize(50);
    const uint32_t stopped = tim;
    for (int i = 0; i < 4; ++i)
        CheckSynchronize(20);
    EXPECT_EQ(tim, stopped);
}

TEST_F(FlashService, SecondTimerComplainsAndStaysIdle) {
    std::vector<std::string> shown;
    auto old = SetMessageBoxHook([&](const std::string& caption, const std::string& text) {
        shown.push_back(caption + ": " + text);
    });
    Receiver r;
    AddControl(&r, Freq1Hz);
    {
        TAbFlashTimer second;
        EXPECT_EQ(running, 2);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], "Error Message: Only one TAbFlashTimer per Application!\nRemove it...");
        EXPECT_FALSE(second.OnTimer());
        EXPECT_FALSE(second.TimerThread()->Started());
        EXPECT_TRUE(AbFlashTimer->OnTimer());
    }
    EXPECT_EQ(running, 1);
    SetMessageBoxHook(old);
}

namespace {

// A lamp whose blink handler fails.
class FailingBlink : public TAbBinGControl {
public:
    void Flash(bool status) override {
        (void)status;
        ++Blinks;
        throw std::runtime_error("blink failed");
    }
    int Blinks = 0;
};

} // namespace

// The failure is dropped: no message box stops the tick halfway, and the receivers after the
// failing one still get their blinks.
TEST_F(FlashService, AFailingBlinkHandlerIsDroppedAndTheTickGoesOn) {
    TestApp();
    std::vector<std::string> shown;
    auto old = SetErrorDisplayHook([&](const std::string& m) { shown.push_back(m); });
    FailingBlink lamp;
    Receiver after;
    RegisterQuiet(&lamp, Freq8Hz);
    RegisterQuiet(&after, Freq8Hz);
    for (int i = 0; i < 8; ++i)
        Tick(); // bit 2 flips at 4 and at 8
    SetErrorDisplayHook(old);
    EXPECT_EQ(lamp.Blinks, 2);
    EXPECT_EQ(after.Messages.size(), 2u);
    EXPECT_TRUE(shown.empty());
}
