#pragma once
// Sends the pending-output buffer, one platform write at a time, and reports an empty
// transmitter each time the buffer has drained, to an owner that listens for it. Bytes for an
// idle line are written by the writer itself. Writers append under the write lock and
// wake the thread; the write itself runs outside the lock on bytes no writer touches.
#include <atomic>
#include <cstdint>
#include <optional>

#include "VaCommBuffer.h"
#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "platform/Thread.h"

class TSerialDevice;
class TVaCustomComm;

enum class TWriteDataResult {
    wdQueued, // appended
    wdFull,   // no room came in time; nothing appended
    wdGone,   // the device went away; nothing appended
};

class TVaCommWriteThread : public TThread {
public:
    TVaCommWriteThread(TVaCustomComm* owner, TSerialDevice* device, TCriticalSection& writeLock,
                       int capacity);

    // Appends `count` bytes, waiting up to `timeoutMs` for room. With `reportEmpty` the
    // drain that sends them is reported to the owner; without, no drain notice is handed
    // over to the UI thread for them (a round trip to it per request otherwise).
    TWriteDataResult WriteData(const void* buf, int count, uint32_t timeoutMs,
                               bool reportEmpty = true);
    // Flush handshake: the thread leaves any pending write, empties the buffer and
    // acknowledges. Without an acknowledgement within 2000 ms the buffer is left as it is.
    void PurgeWrite();
    void StopThread();
    // Bytes not yet sent.
    int Used();
    bool InHandOver() const { return FInHandOver.load(); }

    bool FSync = true; // notifications run on the UI thread

protected:
    void Execute() override;

private:
    std::optional<TWriteDataResult> TryAppend(const uint8_t*& data, int& count, bool reportEmpty);
    void WritePending();
    void WaitPendingWrite();
    void WriteCompleted(int written);
    void WriteError();
    void AcknowledgeFlush();
    void DropAll();
    void Notify(uint32_t evtMask);
    bool WaitStopOrFlush(uint32_t timeoutMs);

    TVaCommBuffer FBuffer;
    TEvent FWriteEvent;     // set while the buffer holds bytes to send
    TEvent FCloseEvent;     // stop request
    TEvent FFlushEvent;     // flush request
    TEvent FFlushDoneEvent; // flush acknowledgement
    TVaCustomComm* FOwner;
    TSerialDevice* FDevice;
    TCriticalSection& FWriteLock;
    bool FGone = false; // the device went away: nothing is kept or sent any more (write lock)
    bool FReportEmpty = false; // a writer waits for the next drain notice (write lock)
    std::atomic<bool> FInHandOver{false};
};
