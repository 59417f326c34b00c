// Round trip of one hand-over: a worker queues a routine, the Qt event loop on the UI thread
// runs it, and the worker continues. The benchmarks run on a worker thread while main()
// runs the application's event loop, as the serial event thread does in the program.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"

namespace {

void BM_HandOverRoundTrip(benchmark::State& state) {
    int counter = 0;
    for (auto _ : state) {
        Synchronize([&] { ++counter; });
    }
    benchmark::DoNotOptimize(counter);
}
BENCHMARK(BM_HandOverRoundTrip)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// Times every round trip and reports the spread of single hand-overs as percentiles.
void BM_HandOverPercentiles(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> samples;
    samples.reserve(100000);
    for (auto _ : state) {
        const auto start = Clock::now();
        Synchronize([] {});
        const std::chrono::duration<double> took = Clock::now() - start;
        state.SetIterationTime(took.count());
        samples.push_back(took.count() * 1e6);
    }
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    state.counters["p50_us"] = at(0.50);
    state.counters["p90_us"] = at(0.90);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = samples.back();
}
BENCHMARK(BM_HandOverPercentiles)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    InstallQtSynchronizeHook();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::thread worker([&app] {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    const int result = app.exec();
    worker.join();
    RemoveQtSynchronizeHook();
    return result;
}
