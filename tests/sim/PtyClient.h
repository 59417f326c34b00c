#pragma once
// The utility's side of the line in simulator tests: opens the published port like a serial
// port (raw, non-blocking) and sends and receives bytes with time-outs.
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "protocol/FrameWriter.h"

struct TArrival {
    std::vector<uint8_t> Bytes;
    std::chrono::steady_clock::time_point Time;
};

class TPtyClient {
public:
    explicit TPtyClient(const std::string& path) {
        FFd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (FFd >= 0) {
            termios tio{};
            tcgetattr(FFd, &tio);
            cfmakeraw(&tio);
            tcsetattr(FFd, TCSANOW, &tio);
        }
    }
    ~TPtyClient() {
        if (FFd >= 0) {
            close(FFd);
        }
    }
    TPtyClient(const TPtyClient&) = delete;
    TPtyClient& operator=(const TPtyClient&) = delete;

    bool IsOpen() const { return FFd >= 0; }
    int Fd() const { return FFd; }

    void Send(const std::vector<uint8_t>& bytes) {
        [[maybe_unused]] ssize_t n = write(FFd, bytes.data(), bytes.size());
    }
    // A sink for the protocol's request functions.
    TByteSink Sink() {
        return [this](uint8_t b) { Send({b}); };
    }

    // Reads until `count` bytes came or the time-out passed; returns what came.
    std::vector<uint8_t> Read(size_t count, std::chrono::milliseconds timeout) {
        std::vector<uint8_t> bytes;
        for (const TArrival& a : Arrivals(count, timeout)) {
            bytes.insert(bytes.end(), a.Bytes.begin(), a.Bytes.end());
        }
        return bytes;
    }

    // Like Read, but keeps each read's bytes with the time they were read.
    std::vector<TArrival> Arrivals(size_t count, std::chrono::milliseconds timeout) {
        std::vector<TArrival> arrivals;
        size_t total = 0;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (total < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                break;
            }
            pollfd fd{FFd, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count()) + 1) <= 0) {
                continue;
            }
            if (fd.revents & (POLLHUP | POLLERR)) {
                break;
            }
            uint8_t buffer[256];
            const size_t want = std::min(sizeof buffer, count - total);
            const ssize_t n = read(FFd, buffer, want);
            if (n > 0) {
                arrivals.push_back(
                    {std::vector<uint8_t>(buffer, buffer + n), std::chrono::steady_clock::now()});
                total += static_cast<size_t>(n);
            }
        }
        return arrivals;
    }

    // poll() events of the line after waiting up to `timeout` for any.
    short WaitEvents(std::chrono::milliseconds timeout) {
        pollfd fd{FFd, POLLIN, 0};
        poll(&fd, 1, static_cast<int>(timeout.count()));
        return fd.revents;
    }

private:
    int FFd = -1;
};

inline uint8_t ByteSum(const std::vector<uint8_t>& bytes) {
    uint8_t sum = 0;
    for (uint8_t b : bytes) {
        sum = static_cast<uint8_t>(sum + b);
    }
    return sum;
}
