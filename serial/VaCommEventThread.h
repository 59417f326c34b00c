#pragma once
// Waits for line events on the open device and hands each to the UI thread. It goes back to
// waiting as soon as a notification is handed over, so one reading costs it one wake; the
// next notification is handed over only once the previous one has returned, so at most one is
// in flight and they keep their order. A device that fails or hangs up ends the waiting; the
// thread then only waits to be stopped. Stopped, it ends without waiting for a notification
// that is running, so a handler may close the port and wait for the thread.
#include <atomic>
#include <cstdint>

#include "platform/Event.h"
#include "platform/Synchronize.h"
#include "platform/Thread.h"

class TSerialDevice;
class TVaCustomComm;

class TVaCommEventThread : public TThread {
public:
    TVaCommEventThread(TVaCustomComm* owner, TSerialDevice* device);
    ~TVaCommEventThread() override;
    // Marks the thread as told to stop and wakes its wait.
    void StopThread();
    // True while one of this thread's notifications runs on the UI thread.
    bool InHandOver() const { return FInHandOver.load(); }
    // Passes of the waiting loop, for tests that watch for busy loops.
    uint64_t Wakeups() const { return FWakeups.load(); }

    bool FSync = true; // notifications run on the UI thread

protected:
    void Execute() override;

private:
    void HandleEvent(uint32_t evtMask);
    void DoEvent(uint32_t evtMask);

    TEvent FEvent; // stop signal
    TPostedHandOver FHandOver;
    TVaCustomComm* FOwner;
    TSerialDevice* FDevice;
    std::atomic<bool> FInHandOver{false};
    std::atomic<uint64_t> FWakeups{0};
};
