#include "platform/Synchronize.h"

#include "platform/Event.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace SyncDetail {

// One hand-over in flight. A waiting worker keeps it on its stack until it has run; a posted
// one lives in its TPostedHandOver.
struct TSyncRequest {
    const TThreadMethod* Method = nullptr;
    std::exception_ptr Error;
    bool Taken = false; // the UI thread has taken it from the queue
    bool Done = false;
};

} // namespace SyncDetail

using SyncDetail::TSyncRequest;

namespace {

struct TSyncQueue {
    std::mutex Lock;
    std::condition_variable Arrived;  // a request was queued, or a wake-up was asked for
    std::condition_variable Finished; // a request has run (each waiter checks its own)
    std::deque<TSyncRequest*> Pending;
    bool WakePending = false;
    std::mutex HookLock; // held while the hook runs, so removing it waits for callers
    std::function<void()> WakeHook;
};

TSyncQueue& Queue() {
    static TSyncQueue queue;
    return queue;
}

std::atomic<std::thread::id> MainThreadId{};

// The thread that initialises the program is the UI thread until SetMainThread says otherwise.
[[maybe_unused]] const bool MainThreadDefaulted =
    (MainThreadId.store(std::this_thread::get_id()), true);

void CallWakeHook() {
    TSyncQueue& q = Queue();
    std::lock_guard lock(q.HookLock);
    if (q.WakeHook)
        q.WakeHook();
}

void RunRequest(TSyncRequest& request) {
    std::exception_ptr error;
    try {
        (*request.Method)();
    } catch (...) {
        error = std::current_exception();
    }
    TSyncQueue& q = Queue();
    {
        std::lock_guard lock(q.Lock);
        // Moved, not copied: the exception then belongs to the worker alone, and is released
        // on its thread.
        request.Error = std::move(error);
        request.Done = true;
    }
    // Notified once the lock is free, so the woken worker does not at once wait for it
    // again. The signal is the queue's, not the request's: the worker may see Done and leave,
    // destroying the request, before this call, and the signal outlives it.
    q.Finished.notify_all();
}

// Waits up to `timeoutMs` for a request when there is none; returns how many are queued.
size_t WaitForPending(uint32_t timeoutMs) {
    TSyncQueue& q = Queue();
    std::unique_lock lock(q.Lock);
    auto ready = [&] { return !q.Pending.empty() || q.WakePending; };
    if (timeoutMs == INFINITE)
        q.Arrived.wait(lock, ready);
    else if (timeoutMs > 0)
        q.Arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    q.WakePending = false;
    return q.Pending.size();
}

// Takes the oldest queued request, or none.
TSyncRequest* TakeOne() {
    TSyncQueue& q = Queue();
    TSyncRequest* request = nullptr;
    {
        std::lock_guard lock(q.Lock);
        if (q.Pending.empty())
            return nullptr;
        request = q.Pending.front();
        q.Pending.pop_front();
        request->Taken = true;
    }
    // A posting worker that is ending waits for its routine to be taken, not run: the routine
    // may be what is waiting for that worker to end.
    q.Finished.notify_all();
    return request;
}

// Queues a request for the UI thread; the queue's lock is held.
void QueueLocked(TSyncQueue& q, TSyncRequest& request) {
    q.Pending.push_back(&request);
    q.Arrived.notify_all();
}

} // namespace

void SetMainThread() {
    MainThreadId.store(std::this_thread::get_id());
}

bool IsMainThread() {
    return MainThreadId.load() == std::this_thread::get_id();
}

void Synchronize(const TThreadMethod& method) {
    if (IsMainThread()) {
        method();
        return;
    }
    TSyncQueue& q = Queue();
    TSyncRequest request;
    request.Method = &method;
    {
        std::lock_guard lock(q.Lock);
        QueueLocked(q, request);
    }
    CallWakeHook();
    std::unique_lock lock(q.Lock);
    q.Finished.wait(lock, [&] { return request.Done; });
    if (request.Error)
        std::rethrow_exception(request.Error);
}

bool CheckSynchronize(uint32_t timeoutMs) {
    if (!IsMainThread())
        return false;
    // One request is taken at a time and the rest stay queued while it runs: a hand-over
    // that waits for another worker to end (closing the port) serves that worker's request
    // from its own wait. Requests queued meanwhile are left for the next call, which the
    // wake-up hook has already scheduled.
    size_t count = WaitForPending(timeoutMs);
    bool ran = false;
    for (; count > 0; --count) {
        TSyncRequest* request = TakeOne();
        if (request == nullptr)
            break;
        RunRequest(*request);
        ran = true;
    }
    return ran;
}

size_t PendingHandOvers() {
    TSyncQueue& q = Queue();
    std::lock_guard lock(q.Lock);
    return q.Pending.size();
}

void WakeCheckSynchronize() {
    TSyncQueue& q = Queue();
    std::lock_guard lock(q.Lock);
    q.WakePending = true;
    q.Arrived.notify_all();
}

void SetWakeMainThread(std::function<void()> hook) {
    TSyncQueue& q = Queue();
    std::lock_guard lock(q.HookLock);
    q.WakeHook = std::move(hook);
}

TPostedHandOver::TPostedHandOver() : FRequest(std::make_unique<TSyncRequest>()) {
    FRequest->Taken = true;
    FRequest->Done = true;
}

TPostedHandOver::~TPostedHandOver() {
    // A routine still queued is withdrawn: nothing may run it once its owner is gone.
    TSyncQueue& q = Queue();
    std::lock_guard lock(q.Lock);
    if (!FRequest->Taken)
        std::erase(q.Pending, FRequest.get());
}

bool TPostedHandOver::Post(TThreadMethod method) {
    if (IsMainThread()) {
        method();
        return true;
    }
    TSyncQueue& q = Queue();
    std::exception_ptr error;
    {
        std::unique_lock lock(q.Lock);
        q.Finished.wait(lock, [&] { return FRequest->Done || FInterrupted; });
        if (FInterrupted)
            return false;
        // The previous routine has run, so the UI thread no longer reads these.
        error = std::exchange(FRequest->Error, nullptr);
        FMethod = std::move(method);
        FRequest->Method = &FMethod;
        FRequest->Taken = false;
        FRequest->Done = false;
        QueueLocked(q, *FRequest);
    }
    CallWakeHook();
    if (error)
        std::rethrow_exception(error);
    return true;
}

void TPostedHandOver::Settle() {
    TSyncQueue& q = Queue();
    std::unique_lock lock(q.Lock);
    q.Finished.wait(lock, [&] { return FRequest->Taken; });
}

void TPostedHandOver::Interrupt() {
    TSyncQueue& q = Queue();
    {
        std::lock_guard lock(q.Lock);
        FInterrupted = true;
    }
    q.Finished.notify_all();
}
