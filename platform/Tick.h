#pragma once
// Millisecond tick count that wraps at 2^32, and a plain sleep.
#include <cstdint>

// Milliseconds since an arbitrary start (monotonic clock), modulo 2^32.
uint32_t GetTickCount();

// Milliseconds from `start` to `now`, correct across one wrap of the counter.
inline uint32_t TicksBetween(uint32_t start, uint32_t now) { return now - start; }

// True when at least `intervalMs` have passed from `start` to `now` (wrap-safe).
inline bool TicksElapsed(uint32_t start, uint32_t now, uint32_t intervalMs) {
    return TicksBetween(start, now) >= intervalMs;
}

void Sleep(uint32_t ms);
