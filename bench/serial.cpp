// Receive throughput through OnRxChar + ReadChar next to raw reads of the same kind of
// pseudo-terminal, the round trip of a 4-byte request and an 8-byte reply, and the writes
// of a poll tick on a line that hung up.
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/Synchronize.h"
#include "serial/VaComm.h"

namespace {

constexpr size_t kChunk = 1920; // one second of the line at 19200 bits per second

struct Pty {
    Pty() {
        char name[256] = {};
        openpty(&Master, &Slave, name, nullptr, nullptr);
        Path = name;
        termios t{};
        tcgetattr(Slave, &t);
        cfmakeraw(&t);
        tcsetattr(Slave, TCSANOW, &t);
    }
    ~Pty() {
        close(Master);
        close(Slave);
    }
    void Send(const char* data, size_t n) const {
        size_t done = 0;
        while (done < n) {
            const ssize_t w = write(Master, data + done, n - done);
            if (w > 0) {
                done += static_cast<size_t>(w);
            }
        }
    }
    int Master = -1;
    int Slave = -1;
    std::string Path;
};

void RawPtyRead(benchmark::State& state) {
    Pty pty;
    const int fd = open(pty.Path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const std::string chunk(kChunk, 'r');
    char buf[4096];
    for (auto _ : state) {
        pty.Send(chunk.data(), chunk.size());
        size_t got = 0;
        while (got < kChunk) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 1000);
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) {
                got += static_cast<size_t>(n);
            }
        }
    }
    close(fd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kChunk));
}
BENCHMARK(RawPtyRead)->Unit(benchmark::kMicrosecond)->UseRealTime();

void ComponentReceive(benchmark::State& state) {
    SetMainThread();
    Pty pty;
    TVaComm comm;
    comm.SetBaudrate(br19200);
    comm.SetDeviceName(pty.Path);
    size_t got = 0;
    comm.OnRxChar = [&](TVaCustomComm* sender, int) {
        uint8_t ch;
        while (sender->ReadChar(ch)) {
            ++got;
        }
    };
    comm.Open();
    const std::string chunk(kChunk, 'c');
    for (auto _ : state) {
        got = 0;
        pty.Send(chunk.data(), chunk.size());
        while (got < kChunk) {
            CheckSynchronize(100);
        }
    }
    comm.Close();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kChunk));
    state.counters["x1920B/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(ComponentReceive)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The peer answers every 4-byte request with 8 bytes at once.
void Answer(const Pty& pty, const std::atomic<bool>& stop) {
    const char reply[8] = {0x01, 0x03, (char)0xE8, 0x00, 0x00, 0x00, (char)0xC8, 0x00};
    size_t have = 0;
    char buf[64];
    while (!stop) {
        pollfd p{pty.Master, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) {
            continue;
        }
        const ssize_t n = read(pty.Master, buf, sizeof buf);
        if (n <= 0) {
            continue;
        }
        have += static_cast<size_t>(n);
        while (have >= 4) {
            have -= 4;
            pty.Send(reply, sizeof reply);
        }
    }
}

// Read-type system calls of this process so far (the peer's own reads included).
double ReadCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    double value = 0;
    while (io >> key >> value) {
        if (key == "syscr:") {
            return value;
        }
    }
    return 0;
}

void RoundTrip(benchmark::State& state) {
    SetMainThread();
    Pty pty;
    fcntl(pty.Master, F_SETFL, fcntl(pty.Master, F_GETFL) | O_NONBLOCK);
    std::atomic<bool> stop{false};
    std::thread peer(Answer, std::cref(pty), std::cref(stop));
    TVaComm comm;
    comm.SetBaudrate(br19200);
    comm.SetDeviceName(pty.Path);
    size_t got = 0;
    comm.OnRxChar = [&](TVaCustomComm* sender, int count) {
        if (count > 7) {
            uint8_t ch;
            for (int i = 0; i < 8 && sender->ReadChar(ch); ++i) {
                ++got;
            }
        }
    };
    comm.Open();
    std::vector<double> micros;
    const double readsBefore = ReadCalls();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        got = 0;
        for (uint8_t b : {0xC0, 0x04, 0x26, 0x15}) {
            comm.WriteChar(b);
        }
        while (got < 8) {
            CheckSynchronize(100);
        }
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    const double reads = ReadCalls() - readsBefore;
    comm.Close();
    stop = true;
    peer.join();
    if (state.iterations() > 0) {
        state.counters["reads_per_round"] = reads / static_cast<double>(state.iterations());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    }
}
BENCHMARK(RoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A poll tick's writes on an adapter that was just unplugged: 3 x WriteSize bytes one
// WriteChar at a time, the first of them finding out that the line hung up.
void WritesAfterHangUp(benchmark::State& state) {
    SetMainThread();
    for (auto _ : state) {
        state.PauseTiming();
        auto pty = std::make_unique<Pty>();
        TVaComm comm;
        comm.SetBaudrate(br19200);
        comm.SetDeviceName(pty->Path);
        comm.Open();
        pty.reset(); // both ends of the far side closed: the line hangs up
        const int count = 3 * comm.Buffers().WriteSize();
        int accepted = 0;
        state.ResumeTiming();
        for (int i = 0; i < count; ++i) {
            accepted += comm.WriteChar(0xC0) ? 1 : 0;
        }
        state.PauseTiming();
        if (accepted != 0) {
            state.SkipWithError("a gone device accepted bytes");
        }
        comm.Close();
        state.ResumeTiming();
    }
}
BENCHMARK(WritesAfterHangUp)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(10);

} // namespace

BENCHMARK_MAIN();
