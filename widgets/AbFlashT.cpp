#include "AbFlashT.h"

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <cstdlib>

#include "platform/ErrorDisplay.h"
#include "platform/Tick.h"

std::vector<std::unique_ptr<TFlash>> dynFlashList;
TAbFlashTimer* AbFlashTimer = nullptr;
uint32_t tim = 0;
double NextSecPuls = 0;
double OneSec = 1.0 / 86400.0;
int16_t running = 0;
bool GroupUpdate = false;
TFlash* AFlashRecord = nullptr;

namespace {

// Read by the worker threads as well, hence atomic.
std::atomic<bool> ServiceTerminating{false};
bool PostRoutineAdded = false;

void ProcessFlashRecord(TFlash& rec, uint32_t now, bool newSecond) {
    const int64_t code = rec.IntervalTime;
    if (code >= Freq8Hz && code <= Freq05Hz) {
        const bool phase = ((tim >> code) & 1u) != 0;
        if (phase != rec.FlashBit) {
            rec.FlashBit = phase;
            SendFlashMessage(rec.Control, tim, phase ? 1 : 0);
        }
        return;
    }
    if (code == SyncOneSec) {
        if (newSecond)
            SendFlashMessage(rec.Control, tim, 0);
        return;
    }
    const int32_t diff = int32_t(now - uint32_t(uint64_t(rec.NextPulseTime)));
    int64_t d = std::llabs(int64_t(diff));
    const bool wrapped = d >= 2147483647;
    if (int64_t(now) < rec.NextPulseTime && !wrapped)
        return;
    const int64_t lateness = wrapped ? 0 : int64_t(now) - rec.NextPulseTime;
    if (d > 1000)
        d = 0;
    rec.NextPulseTime = lateness >= 0 ? int64_t(now) + code - d : int64_t(now) + code + d;
    SendFlashMessage(rec.Control, tim, int32_t(d));
}

} // namespace

void SendFlashMessage(QObject* control, uint32_t wParam, int32_t lParam) {
    TWMFlash message(wParam, lParam);
    QCoreApplication::sendEvent(control, &message);
    if (message.Failure)
        std::rethrow_exception(message.Failure);
}

bool ApplicationDestroying() {
    return ServiceTerminating || QCoreApplication::closingDown();
}

double FlashNow() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return double(ms) / 86400000.0;
}

// ---- worker ------------------------------------------------------------------------------

TTimerThread::TTimerThread(TAbFlash* owner) : tOwner(owner) {}

TTimerThread::~TTimerThread() {
    Stop();
    WaitFor();
}

void TTimerThread::Pause() {
    std::lock_guard lock(FLock);
    FPaused = true;
    FWake.notify_all();
}

void TTimerThread::Proceed() {
    {
        std::lock_guard lock(FLock);
        FPaused = false;
        FWake.notify_all();
    }
    Start();
}

void TTimerThread::Stop() {
    Terminate();
    std::lock_guard lock(FLock);
    FStop = true;
    FWake.notify_all();
}

bool TTimerThread::Paused() const {
    std::lock_guard lock(FLock);
    return FPaused;
}

bool TTimerThread::ThreadClosed() const {
    return Terminated() || ServiceTerminating || tOwner == nullptr;
}

void TTimerThread::Execute() {
    for (;;) {
        {
            std::unique_lock lock(FLock);
            FWake.wait(lock, [this] { return FStop || !FPaused; });
            if (FStop)
                break;
            const bool cut = FWake.wait_for(lock, std::chrono::milliseconds(tInterval.load()),
                                            [this] { return FStop || FPaused; });
            if (cut)
                continue;
        }
        if (ThreadClosed())
            break;
        try {
            Synchronize([this] { tOwner->Timer(); });
        } catch (...) {
            // A tick that failed is dropped; the next one comes as usual.
        }
    }
}

// ---- timer component ---------------------------------------------------------------------

TAbFlash::TAbFlash() : FTimerThread(std::make_unique<TTimerThread>(this)) {}

TAbFlash::~TAbFlash() {
    FDestroying = true;
    FEnabled = false;
    FOnTimer = nullptr;
    FTimerThread->Stop();
    FTimerThread->WaitFor();
    FTimerThread.reset();
}

void TAbFlash::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TAbFlash::SetInterval(uint32_t value) {
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TAbFlash::SetThreadPriority(TThreadPriority value) {
    if (value == FThreadPriority)
        return;
    FThreadPriority = value;
    UpdateTimer();
}

void TAbFlash::SetOnTimer(TAbFlashEvent handler) {
    const bool changed = bool(handler) != bool(FOnTimer);
    FOnTimer = std::move(handler);
    if (changed)
        UpdateTimer();
}

void TAbFlash::UpdateTimer() {
    FTimerThread->Pause();
    FTimerThread->tInterval = FInterval;
    if (FInterval != 0 && FEnabled && FOnTimer) {
        FTimerThread->SetPriority(FThreadPriority);
        FTimerThread->Proceed();
    }
}

void TAbFlash::Timer() {
    if (FEnabled && !FDestroying && FOnTimer)
        FOnTimer(this);
}

TAbFlashTimer::TAbFlashTimer() {
    ++running;
    if (running == 1)
        SetOnTimer([this](TAbFlash* Sender) { flash(Sender); });
    else
        ShowMessageBox("Error Message", "Only one TAbFlashTimer per Application!\nRemove it...");
}

TAbFlashTimer::~TAbFlashTimer() {
    SetOnTimer(nullptr);
    --running;
}

void TAbFlashTimer::flash(TAbFlash* Sender) {
    (void)Sender;
    tim = tim == 0xFFFFFFFFu ? 0 : tim + 1;
    const uint32_t now = GetTickCount();
    const double date = FlashNow();
    bool newSecond = false;
    if (date >= NextSecPuls) {
        NextSecPuls += OneSec;
        newSecond = true;
    }
    const size_t count = dynFlashList.size();
    for (size_t i = 0; i < count; ++i) {
        if (ApplicationDestroying() || i >= dynFlashList.size())
            break;
        AFlashRecord = dynFlashList[i].get();
        if (!AFlashRecord->Control)
            continue;
        try {
            ProcessFlashRecord(*AFlashRecord, now, newSecond);
        } catch (...) {
            // Dropped without a word: a blink is cosmetic, and a message box here would stop
            // every blinking widget in the middle of a tick. The next record goes on.
        }
    }
}

// ---- registrations -----------------------------------------------------------------------

void AddControl(QObject* Control, int64_t Interval) {
    if (!Control)
        return;
    const int64_t next = int64_t(GetTickCount()) + Interval;
    bool found = false;
    for (auto& rec : dynFlashList) {
        if (rec->Control == Control) {
            rec->IntervalTime = Interval;
            rec->NextPulseTime = next;
            found = true;
        }
    }
    if (!found) {
        auto rec = std::make_unique<TFlash>();
        rec->Control = Control;
        rec->IntervalTime = Interval;
        rec->NextPulseTime = next;
        dynFlashList.push_back(std::move(rec));
    }
    if (!dynFlashList.empty())
        CreateTimer();
}

void DelControl(QObject* Control) {
    for (size_t i = 0; i < dynFlashList.size(); ++i) {
        if (dynFlashList[i]->Control == Control) {
            DelControlNo(uint16_t(i));
            break;
        }
    }
    if (ApplicationDestroying() && dynFlashList.empty())
        DestroyTimer();
}

void DelControlNo(uint16_t no) {
    if (no < dynFlashList.size())
        dynFlashList.erase(dynFlashList.begin() + no);
}

void CreateTimer() {
    if (AbFlashTimer)
        return;
    NextSecPuls = FlashNow() + OneSec;
    if (!PostRoutineAdded && QCoreApplication::instance()) {
        PostRoutineAdded = true;
        qAddPostRoutine(FinalizeFlashService);
    }
    AbFlashTimer = new TAbFlashTimer;
}

void DestroyTimer() {
    TAbFlashTimer* timer = AbFlashTimer;
    AbFlashTimer = nullptr;
    delete timer;
}

void ClearFlashList() {
    AFlashRecord = nullptr;
    dynFlashList.clear();
}

void FinalizeFlashService() {
    ServiceTerminating = true;
    ClearFlashList();
    DestroyTimer();
    PostRoutineAdded = false;
    ServiceTerminating = false;
}
