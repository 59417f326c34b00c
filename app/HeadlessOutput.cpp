#include "HeadlessOutput.h"

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

// Shared with the writer's thread, which may outlive the object when it is stuck in a write.
struct THeadlessOutput::TState {
    int Fd = -1;
    size_t MaxBytes = 0;
    std::function<void(int)> OnFailure;
    std::mutex Lock;
    std::condition_variable Changed;
    std::deque<std::string> Queue;
    size_t QueuedBytes = 0;
    bool Writing = false; // a line taken from the queue is being written
    bool Stop = false;
    bool Failed = false;
    bool Finished = false; // no failure is told any more
    uint64_t Dropped = 0;
    std::thread Thread;
};

namespace {

// Writes all of `line`; 0, or the error that stopped it.
int WriteWhole(int fd, const std::string& line) {
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            // A descriptor someone else made non-blocking: wait until it takes bytes.
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, -1);
        } else {
            return n < 0 ? errno : EIO;
        }
    }
    return 0;
}

} // namespace

THeadlessOutput::THeadlessOutput(int fd, std::function<void(int error)> onFailure,
                                 size_t maxQueuedBytes)
    : FState(std::make_shared<TState>()) {
    FState->Fd = fd;
    FState->MaxBytes = maxQueuedBytes;
    FState->OnFailure = std::move(onFailure);
    FState->Thread = std::thread(Run, FState);
}

THeadlessOutput::~THeadlessOutput() {
    Finish(std::chrono::milliseconds(0));
}

bool THeadlessOutput::Write(std::string line) {
    std::lock_guard<std::mutex> guard(FState->Lock);
    if (FState->Failed || FState->Stop) {
        return false;
    }
    if (FState->QueuedBytes + line.size() > FState->MaxBytes) {
        ++FState->Dropped;
        return false;
    }
    FState->QueuedBytes += line.size();
    FState->Queue.push_back(std::move(line));
    FState->Changed.notify_all();
    return true;
}

void THeadlessOutput::Run(const std::shared_ptr<TState>& state) {
    std::unique_lock<std::mutex> lock(state->Lock);
    for (;;) {
        state->Changed.wait(lock, [&] { return state->Stop || !state->Queue.empty(); });
        if (state->Queue.empty()) {
            return; // stopped with nothing left
        }
        std::string line = std::move(state->Queue.front());
        state->Queue.pop_front();
        state->Writing = true;
        lock.unlock();
        const int error = WriteWhole(state->Fd, line);
        lock.lock();
        state->Writing = false;
        state->QueuedBytes -= line.size();
        state->Changed.notify_all();
        if (error != 0) {
            // Told as a failure of its own, not counted with the lines nobody read.
            state->Failed = true;
            state->Queue.clear();
            state->QueuedBytes = 0;
            if (!state->Finished && state->OnFailure) {
                const auto tell = state->OnFailure;
                lock.unlock();
                tell(error);
                lock.lock();
            }
            state->Changed.wait(lock, [&] { return state->Stop; });
            return;
        }
    }
}

void THeadlessOutput::Finish(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(FState->Lock);
    if (!FState->Thread.joinable()) {
        return;
    }
    FState->Changed.wait_for(
        lock, wait, [&] { return FState->Failed || (FState->Queue.empty() && !FState->Writing); });
    FState->Stop = true;
    FState->Finished = true;
    FState->Changed.notify_all();
    if (FState->Writing) {
        // Blocked in a write: the rest stays unwritten, and the thread is left to the end of
        // the process.
        FState->Dropped += 1 + FState->Queue.size();
        FState->Queue.clear();
        lock.unlock();
        FState->Thread.detach();
        return;
    }
    lock.unlock();
    FState->Thread.join();
}

uint64_t THeadlessOutput::Dropped() const {
    std::lock_guard<std::mutex> guard(FState->Lock);
    return FState->Dropped;
}
