#pragma once
// Waits for line events on the open device and hands each to the UI thread, blocking until
// it has run there. At most one notification is in flight: the next wait starts after the
// previous notification returned. A device that fails or hangs up ends the waiting; the
// thread then only waits to be stopped.
#include <atomic>
#include <cstdint>

#include "platform/Event.h"
#include "platform/Thread.h"

class TSerialDevice;
class TVaCustomComm;

class TVaCommEventThread : public TThread {
public:
    TVaCommEventThread(TVaCustomComm* owner, TSerialDevice* device);
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
    TVaCustomComm* FOwner;
    TSerialDevice* FDevice;
    std::atomic<bool> FInHandOver{false};
    std::atomic<uint64_t> FWakeups{0};
};
