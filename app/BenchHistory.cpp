#include "BenchHistory.h"

#include <QtGlobal>
#include <chrono>
#include <cmath>

#include "chart/ChartWindow.h"
#include "monitor/MainWindow.h"

namespace {
constexpr int ReadingsPerSecond = 10;
constexpr int LongestHistory = 86400;
constexpr double SweepSeconds = 10;

// Rich to lean and back, as the simulator's sweep goes.
double SweptLambda(int index) {
    const double phase = std::fmod(index / double(ReadingsPerSecond), SweepSeconds) / SweepSeconds;
    return 0.65 + 0.7 * (1.0 - std::fabs(2.0 * phase - 1.0));
}
} // namespace

void FillBenchHistory(TForm1& form) {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("UEGO4100_BENCH_HISTORY_SECONDS", &ok);
    if (!ok || seconds <= 0 || seconds > LongestHistory || form.ChartForm == nullptr) {
        return;
    }
    const int count = seconds * ReadingsPerSecond;
    const auto now = std::chrono::system_clock::now();
    TDecodedReading reading;
    reading.Volts = 13.8;
    for (int i = 0; i < count; ++i) {
        reading.When = now - std::chrono::milliseconds(100LL * (count - i));
        reading.Lambda = SweptLambda(i);
        form.ChartForm->AddReading(reading);
    }
}
