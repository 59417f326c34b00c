#pragma once
// Synchronous hand-over of a routine from a worker thread to the user-interface (UI) thread.
// A worker calls Synchronize(fn): fn is queued, the wake-up hook is called, and the worker
// blocks until the UI thread has run fn inside CheckSynchronize(). On the UI thread itself
// Synchronize runs fn at once. An exception thrown by fn is re-thrown in the worker.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

using TThreadMethod = std::function<void()>;

namespace SyncDetail {
struct TSyncRequest;
}

// Marks the calling thread as the UI thread (the program's main(), or a test's set-up).
// Until then the thread that ran the program's static initialisation counts as the UI thread.
void SetMainThread();
bool IsMainThread();

void Synchronize(const TThreadMethod& method);

// UI thread: runs the hand-overs queued at the call, oldest first, taking one at a time so
// that a nested call (a hand-over waiting for a worker to end) still finds the others. When
// none is queued, waits up to `timeoutMs` for one to arrive. Returns true if at least one
// ran. On any other thread it does nothing and returns false.
bool CheckSynchronize(uint32_t timeoutMs = 0);

// Hand-overs queued and not yet taken by the UI thread (for tests and diagnostics).
size_t PendingHandOvers();

// Makes the current or next waiting CheckSynchronize() return early, so a UI-thread loop that
// waits for something else as well (a worker ending) re-checks it at once. Any thread.
void WakeCheckSynchronize();

// Called (from the worker's thread) whenever a hand-over is queued, so an event loop can
// schedule a CheckSynchronize() call. Pass an empty function to remove.
void SetWakeMainThread(std::function<void()> hook);

// A hand-over the worker does not wait for at once: Post() queues the routine and returns, so
// the worker goes back to its own wait instead of sleeping until the UI thread has run it.
// One routine is in flight at a time and they run in order: the next Post() first waits until
// the previous routine has run. Before the worker ends it calls Settle(). The object must
// outlive the run of its last routine, which may still go on (further up the UI thread's call
// chain) after Settle() returned.
class TPostedHandOver {
public:
    TPostedHandOver();
    ~TPostedHandOver();
    TPostedHandOver(const TPostedHandOver&) = delete;
    TPostedHandOver& operator=(const TPostedHandOver&) = delete;

    // Worker: waits until the previous routine has run, then queues this one. Returns false,
    // queuing nothing, once Interrupt() was called. An exception thrown by the previous
    // routine is re-thrown here. On the UI thread itself the routine runs at once.
    bool Post(TThreadMethod method);
    // Worker, before it ends: returns once the UI thread has taken the posted routine (it has
    // run, or is running).
    void Settle();
    // Any thread: a waiting or later Post() gives up. Used when the worker is told to stop.
    void Interrupt();

private:
    TThreadMethod FMethod;
    std::unique_ptr<SyncDetail::TSyncRequest> FRequest;
    bool FInterrupted = false; // under the hand-over queue's lock
};
