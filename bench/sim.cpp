// Costs of the simulated controller. The round trip must stay far below the utility's 100 ms
// poll period, or the simulator would make the utility look slow.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>

#include "protocol/Requests.h"
#include "sim/Controller.h"
#include "sim/RequestParser.h"
#include "sim/Simulator.h"

namespace {

std::vector<uint8_t> Capture(const std::function<void(const TByteSink&)>& send) {
    std::vector<uint8_t> bytes;
    send([&](uint8_t b) { bytes.push_back(b); });
    return bytes;
}

void BM_ParseRequestStream(benchmark::State& state) {
    // A poll cycle's worth of requests with noise between them.
    std::vector<uint8_t> stream;
    for (int i = 0; i < 100; ++i) {
        const auto live = Capture(SendLiveDataRequest);
        stream.insert(stream.end(), live.begin(), live.end());
        stream.push_back(0x55);
    }
    for (auto _ : state) {
        TRequestParser parser;
        benchmark::DoNotOptimize(parser.Feed(stream.data(), stream.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_ParseRequestStream);

void BM_AnswerLiveData(benchmark::State& state) {
    TWbxController controller;
    controller.Live().Sweep = true;
    const auto request = Capture(SendLiveDataRequest);
    double t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(controller.Answer(request, t));
        t += 0.1;
    }
}
BENCHMARK(BM_AnswerLiveData);

// Request written on the port side, 8-byte reply read back.
void BM_LiveDataRoundTrip(benchmark::State& state) {
    char dirName[] = "/tmp/uego-bench-sim-XXXXXX";
    const std::string dir = mkdtemp(dirName);
    TWbxSimulator sim;
    sim.Start(dir, 1);
    const int fd = open((dir + "/COM1").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    const auto request = Capture(SendLiveDataRequest);
    for (auto _ : state) {
        [[maybe_unused]] ssize_t w = write(fd, request.data(), request.size());
        size_t got = 0;
        uint8_t buffer[64];
        while (got < LiveReplyLength) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) {
                state.SkipWithError("no reply");
                break;
            }
            const ssize_t n = read(fd, buffer, sizeof buffer);
            got += n > 0 ? static_cast<size_t>(n) : 0;
        }
    }
    close(fd);
    sim.Stop();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LiveDataRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
