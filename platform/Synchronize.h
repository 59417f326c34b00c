#pragma once
// Synchronous hand-over of a routine from a worker thread to the user-interface (UI) thread.
// A worker calls Synchronize(fn): fn is queued, the wake-up hook is called, and the worker
// blocks until the UI thread has run fn inside CheckSynchronize(). On the UI thread itself
// Synchronize runs fn at once. An exception thrown by fn is re-thrown in the worker.
#include <cstddef>
#include <cstdint>
#include <functional>

using TThreadMethod = std::function<void()>;

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
