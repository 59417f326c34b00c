#include "platform/Tick.h"

#include <cerrno>
#include <ctime>

uint32_t GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void Sleep(uint32_t ms) {
    timespec left{static_cast<time_t>(ms / 1000u), static_cast<long>(ms % 1000u) * 1000000L};
    // A signal cuts nanosleep short; carry on with what is left.
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
