#pragma once
// Lines for standard output or standard error in headless mode, written by a thread of their
// own, so that the thread that polls the controller and writes the data log never waits for
// whoever reads them (a paused pager, a stalled ssh link, Ctrl+S on the terminal). The lines
// wait in a bounded queue; a line that finds it full is dropped and counted. The writer takes
// ready-made lines and knows nothing of what they say.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class THeadlessOutput {
public:
    // Writes to `fd` (not owned); at most `maxQueuedBytes` wait at a time. `onFailure` is
    // called once, on the writer's thread, when a write fails: with EPIPE when the reader has
    // gone, with another error number (ENOSPC, EIO ...) otherwise; nothing is written after.
    explicit THeadlessOutput(int fd, std::function<void(int error)> onFailure = {},
                             size_t maxQueuedBytes = 64 * 1024);
    ~THeadlessOutput();
    THeadlessOutput(const THeadlessOutput&) = delete;
    THeadlessOutput& operator=(const THeadlessOutput&) = delete;

    // Queues `line` as it is (its line end included). False when it was dropped: the queue is
    // full, the reader has gone, or an earlier write failed.
    bool Write(std::string line);

    // Gives the queue at most `wait` to go out and stops the writer. A writer still blocked
    // then is left behind (it ends with the process); what it had not written counts as
    // dropped. No failure is told after it.
    void Finish(std::chrono::milliseconds wait);

    // Lines dropped because nobody took them: the queue was full, or Finish left them
    // unwritten. Lines lost to a failed write are not counted here; that failure is told.
    uint64_t Dropped() const;

private:
    struct TState;
    static void Run(const std::shared_ptr<TState>& state);

    std::shared_ptr<TState> FState;
};
