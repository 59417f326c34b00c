#pragma once
// Manual-reset events backed by eventfd: they stay set until reset, can be waited on one or
// several at once, and expose a descriptor that poll() reports readable while set.
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <span>

constexpr uint32_t INFINITE = 0xFFFFFFFFu;

enum class TWaitResult { wrSignaled, wrTimeout, wrError };

class TEvent {
public:
    explicit TEvent(bool initialState = false);
    ~TEvent();
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    void SetEvent();
    void ResetEvent();
    bool IsSet() const;
    TWaitResult WaitFor(uint32_t timeoutMs);
    // Readable (POLLIN) exactly while the event is set.
    int Handle() const { return FHandle; }

private:
    int FHandle = -1;
    mutable std::mutex FLock;
    bool FSet = false;
};

// Waits until any of `events` is set or the time-out passes. Returns the index of the
// earliest-listed event that is set, or -1 on time-out (-2 if poll() itself fails, which only
// a broken descriptor can cause).
int WaitForMultipleEvents(std::span<TEvent* const> events, uint32_t timeoutMs);
inline int WaitForMultipleEvents(std::initializer_list<TEvent*> events, uint32_t timeoutMs) {
    return WaitForMultipleEvents(std::span<TEvent* const>(events.begin(), events.size()),
                                 timeoutMs);
}
