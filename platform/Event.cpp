#include "platform/Event.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "platform/Exception.h"

namespace {

using Clock = std::chrono::steady_clock;

// Time left until `deadline` in poll() terms: -1 waits without limit.
int PollTimeout(uint32_t timeoutMs, Clock::time_point deadline) {
    if (timeoutMs == INFINITE)
        return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

Clock::time_point DeadlineAfter(uint32_t timeoutMs) {
    return Clock::now() + std::chrono::milliseconds(timeoutMs == INFINITE ? 0 : timeoutMs);
}

} // namespace

TEvent::TEvent(bool initialState) {
    FHandle = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (FHandle < 0)
        throw Exception("Cannot create event: " + std::string(std::strerror(errno)));
    if (initialState)
        SetEvent();
}

TEvent::~TEvent() {
    if (FHandle >= 0)
        close(FHandle);
}

// The descriptor's counter is non-zero exactly while FSet is true; both change together
// under the lock, so poll() and IsSet() never disagree for long.
void TEvent::SetEvent() {
    std::lock_guard lock(FLock);
    if (FSet)
        return;
    const uint64_t one = 1;
    while (write(FHandle, &one, sizeof one) < 0 && errno == EINTR) {
    }
    FSet = true;
}

void TEvent::ResetEvent() {
    std::lock_guard lock(FLock);
    if (!FSet)
        return;
    uint64_t value = 0;
    while (read(FHandle, &value, sizeof value) < 0 && errno == EINTR) {
    }
    FSet = false;
}

bool TEvent::IsSet() const {
    std::lock_guard lock(FLock);
    return FSet;
}

TWaitResult TEvent::WaitFor(uint32_t timeoutMs) {
    TEvent* self = this;
    const int index = WaitForMultipleEvents(std::span<TEvent* const>(&self, 1), timeoutMs);
    if (index == 0)
        return TWaitResult::wrSignaled;
    return index == -1 ? TWaitResult::wrTimeout : TWaitResult::wrError;
}

namespace {

int FirstSet(std::span<TEvent* const> events) {
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i]->IsSet())
            return static_cast<int>(i);
    return -1;
}

} // namespace

int WaitForMultipleEvents(std::span<TEvent* const> events, uint32_t timeoutMs) {
    std::vector<pollfd> fds;
    fds.reserve(events.size());
    for (TEvent* event : events)
        fds.push_back(pollfd{event->Handle(), POLLIN, 0});
    const auto deadline = DeadlineAfter(timeoutMs);
    for (;;) {
        // Checked before every wait and after every wake: the earliest-listed set event
        // wins, whichever descriptor poll() happened to report.
        const int index = FirstSet(events);
        if (index >= 0)
            return index;
        const int timeout = PollTimeout(timeoutMs, deadline);
        const int ready = poll(fds.data(), fds.size(), timeout);
        if (ready < 0 && errno != EINTR)
            return -2;
        if (ready == 0 && timeoutMs != INFINITE && Clock::now() >= deadline)
            return FirstSet(events);
    }
}
