#pragma once
// The process-wide flash service: one list of registered controls, one shared timer whose
// worker thread wakes every 16 ms and hands each tick to the user-interface thread, and a
// 32-bit tick counter whose bits give the blink phases, so all widgets of one frequency
// blink in step. Everything except the worker's sleep runs on the user-interface thread.
#include <QEvent>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Thread.h"

constexpr int WM_USER = 0x0400;
// Blink message: WParam the tick counter, LParam the phase or the lateness.
constexpr int WM_FLASH = WM_USER + 100;

// WM_FLASH as a Qt event, delivered synchronously with QCoreApplication::sendEvent.
class TWMFlash : public QEvent {
public:
    static QEvent::Type EventType() { return QEvent::Type(QEvent::User + WM_FLASH); }
    TWMFlash(uint32_t wParam, int32_t lParam)
        : QEvent(EventType()), WParam(wParam), LParam(lParam) {}
    uint32_t WParam;
    int32_t LParam;
    // An exception the receiver's handler raised, carried back to the sender rather than
    // through the toolkit's event delivery.
    std::exception_ptr Failure;

    // Runs the receiver's blink handler, keeping an exception it raises in Failure.
    template <class F> void Handle(F&& handler) noexcept {
        try {
            handler();
        } catch (...) {
            Failure = std::current_exception();
        }
    }
};

// Sends WM_FLASH to `control` and returns when it has been handled; re-raises an exception
// the handler raised.
void SendFlashMessage(QObject* control, uint32_t wParam, int32_t lParam);

// Interval codes: 2..6 are the phase bits of the tick counter, 32 the wall-clock second,
// any other value a period in milliseconds.
constexpr int64_t Freq8Hz = 2;
constexpr int64_t Freq4Hz = 3;
constexpr int64_t Freq2Hz = 4;
constexpr int64_t Freq1Hz = 5;
constexpr int64_t Freq05Hz = 6;
constexpr int64_t SyncOneSec = 32;

using TFlashProc = void (*)(int32_t, int32_t);

// One registration.
struct TFlash {
    QObject* Control = nullptr;
    TFlashProc FlashProc = nullptr;
    int64_t IntervalTime = 0;
    int64_t NextPulseTime = 0;
    bool FlashBit = false;
};

class TAbFlash;

// Thin thread class: the worker of a timer component.
class TAbThread : public TThread {
public:
    TAbThread() : TThread(true) {}
};

// Sleeps tInterval ms, then runs the owner's Timer on the user-interface thread and waits
// for it; paused until its owner lets it run.
class TTimerThread : public TAbThread {
public:
    explicit TTimerThread(TAbFlash* owner);
    ~TTimerThread() override;

    TAbFlash* const tOwner;
    std::atomic<uint32_t> tInterval{16};

    void Pause();
    // Lets the worker run, starting its thread on first use.
    void Proceed();
    // Asks the loop to end and wakes it.
    void Stop();
    bool Paused() const;

protected:
    void Execute() override;

private:
    bool ThreadClosed() const;
    mutable std::mutex FLock;
    std::condition_variable FWake;
    bool FPaused = true;
    bool FStop = false;
};

using TAbFlashEvent = std::function<void(TAbFlash* Sender)>;

// Timer component driven by its own worker thread.
class TAbFlash {
public:
    TAbFlash();
    virtual ~TAbFlash();
    TAbFlash(const TAbFlash&) = delete;
    TAbFlash& operator=(const TAbFlash&) = delete;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t value);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority value);
    const TAbFlashEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TAbFlashEvent handler);
    TTimerThread* TimerThread() const { return FTimerThread.get(); }

    // One tick, on the user-interface thread: fires OnTimer when enabled and alive.
    void Timer();

protected:
    void UpdateTimer();

private:
    bool FEnabled = true;
    uint32_t FInterval = 16;
    TAbFlashEvent FOnTimer;
    std::unique_ptr<TTimerThread> FTimerThread;
    TThreadPriority FThreadPriority = TThreadPriority::tpNormal;
    bool FDestroying = false;
};

// The shared timer of the flash service; only the first instance in a process serves.
class TAbFlashTimer : public TAbFlash {
public:
    TAbFlashTimer();
    ~TAbFlashTimer() override;
    // Tick processing of the flash service.
    void flash(TAbFlash* Sender);
};

// Service state, touched on the user-interface thread only.
extern std::vector<std::unique_ptr<TFlash>> dynFlashList;
extern TAbFlashTimer* AbFlashTimer;
extern uint32_t tim;
extern double NextSecPuls;
extern double OneSec;
extern int16_t running;
extern bool GroupUpdate;
extern TFlash* AFlashRecord;

// Registers Control (again) with an interval code and makes sure the timer exists.
void AddControl(QObject* Control, int64_t Interval);
// Removes the first registration of Control.
void DelControl(QObject* Control);
void DelControlNo(uint16_t no);
void CreateTimer();
void DestroyTimer();
void ClearFlashList();
// Shut-down of the service: empties the list and frees the timer. Runs when the
// application object goes; also callable directly.
void FinalizeFlashService();

// True once the application is going away.
bool ApplicationDestroying();
// Current date-time in days.
double FlashNow();
