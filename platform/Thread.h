#pragma once
// Worker thread created suspended, with a priority, a terminate flag and WaitFor.
// Priority on Linux (unprivileged user, SCHED_OTHER): tpIdle runs under SCHED_IDLE; tpLowest
// and tpLower raise the thread's nice value (+10, +5); tpNormal and above keep nice 0, and
// tpHigher/tpHighest/tpTimeCritical try nice -5/-10/-15, which only succeeds with
// CAP_SYS_NICE (root) and is otherwise silently left at 0.
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/Synchronize.h"

enum class TThreadPriority {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// A C++ base cannot run Execute before the derived object exists, so every thread starts
// with Start(), whatever `createSuspended` says. A derived class whose Execute uses its own
// members must call Terminate() and WaitFor() in its own destructor: by the time ~TThread
// runs, those members are gone.
class TThread {
public:
    explicit TThread(bool createSuspended = true);
    // Asks a running thread to stop and waits for it (running hand-overs on the UI thread).
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts a suspended thread (once). Throws EThread when the system refuses.
    void Start();
    void Resume() { Start(); }
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Started() const { return FStarted; }
    bool Finished() const { return FFinished; }
    // Blocks until Execute has returned and gives ReturnValue. On the UI thread it keeps
    // running hand-overs meanwhile, so a worker blocked in Synchronize cannot deadlock it.
    // A thread never started returns at once; a thread waiting for itself raises EThread.
    int WaitFor();
    void SetPriority(TThreadPriority priority);
    TThreadPriority Priority() const { return FPriority; }
    int ReturnValue = 0;
    // An exception that escaped Execute, kept for the owner.
    std::exception_ptr FatalException;

protected:
    virtual void Execute() = 0;
    void Synchronize(const TThreadMethod& method) { ::Synchronize(method); }

private:
    void Run();
    void ApplyPriority();
    void Join();
    std::thread FThread;
    std::mutex FJoinLock;     // guards FThread: Start, WaitFor and the destructor may race
    std::mutex FPriorityLock; // orders priority changes against the thread's start and end
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FFinished{false};
    std::atomic<TThreadPriority> FPriority{TThreadPriority::tpNormal};
    std::atomic<long> FTid{0};
};
