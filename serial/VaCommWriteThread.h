#pragma once
// Sends the pending-output buffer, one platform write at a time, and reports an empty
// transmitter each time the buffer has drained. Writers append under the write lock and
// wake the thread; the write itself runs outside the lock on bytes no writer touches.
#include <atomic>
#include <cstdint>

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

    // Appends `count` bytes, waiting up to `timeoutMs` for room.
    TWriteDataResult WriteData(const void* buf, int count, uint32_t timeoutMs);
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
    std::atomic<bool> FInHandOver{false};
};
