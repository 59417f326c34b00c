#include "VaCommEventThread.h"

#include "VaCustomComm.h"
#include "platform/ErrorDisplay.h"
#include "ports/SerialDevice.h"

TVaCommEventThread::TVaCommEventThread(TVaCustomComm* owner, TSerialDevice* device)
    : TThread(true), FOwner(owner), FDevice(device) {}

TVaCommEventThread::~TVaCommEventThread() {
    StopThread();
    WaitFor();
}

void TVaCommEventThread::StopThread() {
    Terminate();
    FEvent.SetEvent();
    FHandOver.Interrupt();
}

void TVaCommEventThread::Execute() {
    bool failed = false;
    TEvent* const wake[] = {&FEvent};
    while (!Terminated()) {
        ++FWakeups;
        if (failed) {
            // The device is gone: no notification, no busy loop, just the stop signal.
            FEvent.WaitFor(INFINITE);
            continue;
        }
        uint32_t evtMask = 0;
        switch (FDevice->WaitCommEvent(evtMask, wake)) {
        case TCommWait::cwEvent:
            HandleEvent(evtMask);
            break;
        case TCommWait::cwFailed:
            failed = true;
            break;
        default:
            break;
        }
    }
    // A notification still queued is served by the UI thread's wait for this thread.
    FHandOver.Settle();
}

void TVaCommEventThread::HandleEvent(uint32_t evtMask) {
    if (Terminated()) {
        return;
    }
    if (FSync) {
        FHandOver.Post([this, evtMask] {
            FInHandOver = true;
            GuardedCall([this, evtMask] { DoEvent(evtMask); });
            FInHandOver = false;
        });
    } else {
        GuardedCall([this, evtMask] { DoEvent(evtMask); });
    }
}

void TVaCommEventThread::DoEvent(uint32_t evtMask) {
    FOwner->DispatchEvents(evtMask);
}
