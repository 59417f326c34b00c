#include "VaCommWriteThread.h"

#include <cerrno>
#include <mutex>

#include "VaCustomComm.h"
#include "platform/ErrorDisplay.h"
#include "platform/Tick.h"
#include "ports/SerialDevice.h"

namespace {

constexpr uint32_t kFlushWaitMs = 2000;
constexpr uint32_t kRetryPauseMs = 100;

// Milliseconds from `start` to `now` of the 32-bit tick count, across one wrap.
uint32_t ElapsedTicks(uint32_t start, uint32_t now) {
    return now >= start ? now - start : 0xFFFFFFFFu - start + now;
}

// Waits for `event` set by `thread`; on the UI thread hand-overs keep running meanwhile, so
// a worker that waits for the UI thread cannot hold this wait up. A thread that has ended
// (stopped by a hand-over that closed the port) sets nothing more: the wait ends then too.
bool WaitServingHandOvers(TEvent& event, const TThread& thread, uint32_t timeoutMs) {
    if (!IsMainThread()) {
        return event.WaitFor(timeoutMs) == TWaitResult::wrSignaled;
    }
    const uint32_t start = GetTickCount();
    for (;;) {
        if (event.WaitFor(1) == TWaitResult::wrSignaled) {
            return true;
        }
        if (thread.Finished() || ElapsedTicks(start, GetTickCount()) > timeoutMs) {
            return false;
        }
        CheckSynchronize(0);
    }
}

} // namespace

TVaCommWriteThread::TVaCommWriteThread(TVaCustomComm* owner, TSerialDevice* device,
                                       TCriticalSection& writeLock, int capacity)
    : TThread(true), FBuffer(capacity), FOwner(owner), FDevice(device), FWriteLock(writeLock) {}

TWriteDataResult TVaCommWriteThread::WriteData(const void* buf, int count, uint32_t timeoutMs,
                                               bool reportEmpty) {
    const auto* data = static_cast<const uint8_t*>(buf);
    bool timing = false;
    uint32_t start = 0;
    for (;;) {
        if (const auto result = TryAppend(data, count, reportEmpty)) {
            return *result;
        }
        if (FDevice->Gone()) {
            return TWriteDataResult::wdGone; // the thread drops what it holds as it notices
        }
        if (!timing) {
            timing = true;
            start = GetTickCount();
        } else if (ElapsedTicks(start, GetTickCount()) > timeoutMs) {
            return TWriteDataResult::wdFull;
        }
        // The lock is free meanwhile, so the thread can remove what it has sent. Hand-overs
        // are not run here: a notification must not re-enter the writer's handler. The
        // thread only hands over when the buffer has drained, and then there is room.
        Sleep(1);
    }
}

// Bytes for an idle line, whose drain nobody waits to hear of, go out at once from the
// caller's thread: a request costs no wake of this thread then. What the line does not take
// is queued behind, and so is everything while bytes are queued, which keeps the order.
// Without room nothing is queued and `data`/`count` say what is left.
std::optional<TWriteDataResult> TVaCommWriteThread::TryAppend(const uint8_t*& data, int& count,
                                                              bool reportEmpty) {
    {
        std::lock_guard<TCriticalSection> g(FWriteLock);
        if (FGone) {
            return TWriteDataResult::wdGone;
        }
        if (FBuffer.Size() == 0 && !reportEmpty) {
            uint32_t written = 0;
            // A refusal is left to the thread, which meets it again and reports it.
            if (FDevice->WriteFile(data, static_cast<uint32_t>(count), written)) {
                data += written;
                count -= static_cast<int>(written);
            }
            if (count == 0) {
                return TWriteDataResult::wdQueued;
            }
        }
        if (FBuffer.Size() + count > FBuffer.Capacity()) {
            return std::nullopt;
        }
        FBuffer.Write(data, count);
        FReportEmpty = FReportEmpty || reportEmpty;
    }
    // Set after the lock is released, so the woken thread does not wait for it.
    FWriteEvent.SetEvent();
    return TWriteDataResult::wdQueued;
}

// The thread empties the buffer itself when it acknowledges: between its acknowledgement
// and a clearing done here it could already send the purged bytes, or later remove bytes
// appended after the purge in place of those it had sent.
void TVaCommWriteThread::PurgeWrite() {
    FFlushDoneEvent.ResetEvent();
    FFlushEvent.SetEvent();
    WaitServingHandOvers(FFlushDoneEvent, *this, kFlushWaitMs);
}

void TVaCommWriteThread::StopThread() {
    Terminate();
    FCloseEvent.SetEvent();
}

int TVaCommWriteThread::Used() {
    std::lock_guard<TCriticalSection> g(FWriteLock);
    return FBuffer.Size();
}

void TVaCommWriteThread::Execute() {
    while (!Terminated()) {
        // A device that went away takes no more bytes: only stop and flush are served.
        const int index =
            FGone ? WaitForMultipleEvents({&FCloseEvent, &FFlushEvent}, INFINITE)
                  : WaitForMultipleEvents({&FCloseEvent, &FFlushEvent, &FWriteEvent}, INFINITE);
        switch (index) {
        case 0:
            Terminate();
            break;
        case 1:
            AcknowledgeFlush();
            break;
        case 2:
            WritePending();
            break;
        default:
            break;
        }
    }
}

// Leaves any write in progress, empties the buffer and acknowledges the flush.
void TVaCommWriteThread::AcknowledgeFlush() {
    {
        std::lock_guard<TCriticalSection> g(FWriteLock);
        FBuffer.Clear();
        FReportEmpty = false;
        FWriteEvent.ResetEvent();
    }
    FFlushEvent.ResetEvent();
    FFlushDoneEvent.SetEvent();
}

// The device went away: what the buffer holds can never be sent, and writers are refused
// from now on.
void TVaCommWriteThread::DropAll() {
    std::lock_guard<TCriticalSection> g(FWriteLock);
    FGone = true;
    FBuffer.Clear();
    FReportEmpty = false;
    FWriteEvent.ResetEvent();
}

void TVaCommWriteThread::WritePending() {
    const uint8_t* data = nullptr;
    int count = 0;
    {
        std::lock_guard<TCriticalSection> g(FWriteLock);
        count = FBuffer.Size();
        data = FBuffer.DataPtr();
        if (count == 0) {
            FWriteEvent.ResetEvent();
            return;
        }
    }
    uint32_t written = 0;
    if (FDevice->WriteFile(data, static_cast<uint32_t>(count), written)) {
        WriteCompleted(static_cast<int>(written));
    } else if (errno == EAGAIN) {
        WaitPendingWrite();
    } else if (FDevice->Gone()) {
        DropAll();
    } else {
        WriteError();
    }
}

// The line takes nothing now: wait until it does, or until stop or flush.
void TVaCommWriteThread::WaitPendingWrite() {
    TEvent* const wake[] = {&FCloseEvent, &FFlushEvent};
    int woken = -1;
    switch (FDevice->WaitWritable(wake, INFINITE, &woken)) {
    case TCommWait::cwWoken:
        if (woken == 0) {
            Terminate();
        } else {
            AcknowledgeFlush(); // the platform purge that follows discards the rest
        }
        break;
    case TCommWait::cwFailed:
        if (FDevice->Gone()) {
            DropAll();
        }
        break;
    default:
        break; // writable: the next pass writes the same bytes
    }
}

void TVaCommWriteThread::WriteCompleted(int written) {
    bool report = false;
    {
        std::lock_guard<TCriticalSection> g(FWriteLock);
        FBuffer.Remove(written);
        if (FBuffer.Size() == 0) {
            FWriteEvent.ResetEvent();
            report = FReportEmpty;
            FReportEmpty = false;
        }
    }
    if (report) {
        Notify(EV_TXEMPTY);
    }
}

void TVaCommWriteThread::WriteError() {
    Notify(EV_ERR);
    // The same bytes are tried again; a short pause keeps a refusing line from spinning.
    WaitStopOrFlush(kRetryPauseMs);
}

bool TVaCommWriteThread::WaitStopOrFlush(uint32_t timeoutMs) {
    switch (WaitForMultipleEvents({&FCloseEvent, &FFlushEvent}, timeoutMs)) {
    case 0:
        Terminate();
        return true;
    case 1:
        AcknowledgeFlush();
        return true;
    default:
        return false;
    }
}

void TVaCommWriteThread::Notify(uint32_t evtMask) {
    if (Terminated()) {
        return;
    }
    auto run = [this, evtMask] {
        GuardedCall([this, evtMask] { FOwner->HandleLineEvent(evtMask); });
    };
    if (FSync) {
        Synchronize([this, &run] {
            FInHandOver = true;
            run();
            FInHandOver = false;
        });
    } else {
        run();
    }
}
