// The lambda chart (offscreen, 820 x 560 window):
//  - BM_RedrawHourInView: one redraw with the 1 h span and an hour of readings at ten a second
//    in view: reduction to the plot's columns, the plot drawn, the window repainted.
//    Goal: under 5 ms.
//  - BM_DecimateHour: the reduction alone.
//  - BM_ReadLog100k / BM_OpenLog100k: a data log of 100,000 lines read back, and opened in
//    the window for replay (read, made a series, drawn). Goal: under a second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

#include "chart/ChartSettings.h"
#include "chart/ChartWindow.h"
#include "chart/LambdaPlot.h"
#include "chart/LogSeries.h"
#include "chart/SeriesDecimation.h"
#include "datalog/DataLog.h"
#include "datalog/LogFormat.h"
#include "datalog/LogReader.h"
#include "format/Formatting.h"
#include "platform/Synchronize.h"

namespace {

constexpr int HourOfReadings = 36000;

std::string TempFolder() {
    static const std::string folder = [] {
        char tmpl[] = "/tmp/uego-bench-chart-XXXXXX";
        return std::string(::mkdtemp(tmpl));
    }();
    return folder;
}

QApplication* App() {
    static int argc = 1;
    static char name[] = "bench_chart";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // The benchmark's choices must not become the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(TempFolder()));
        auto* a = new QApplication(argc, argv);
        SetMainThread();
        return a;
    }();
    return app;
}

struct WithApp {
    WithApp() { App(); }
};

// A chart window showing the 1 h span with an hour of a lambda wave in its history.
struct HourChart : WithApp {
    HourChart() {
        const auto now = std::chrono::system_clock::now();
        for (int i = 0; i < HourOfReadings; ++i) {
            TDecodedReading r;
            r.When = now - std::chrono::milliseconds(100) * (HourOfReadings - i);
            r.Lambda = 1.0 + 0.3 * std::sin(i / 70.0) + 0.02 * std::sin(i * 1.3);
            r.Volts = 13.8;
            r.Warmup = i < 300;
            chart.AddReading(r);
        }
        chart.resize(820, 560);
        chart.SpanBox->setCurrentIndex(static_cast<int>(ChartSpans.size()) - 1);
        chart.SpanBoxChange(chart.SpanBox->currentIndex());
        chart.show();
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents();
        }
    }
    TChartForm chart;
};

void BM_RedrawHourInView(benchmark::State& state) {
    HourChart h;
    for (auto _ : state) {
        h.chart.Redraw();
        h.chart.Plot->replot(QCustomPlot::rpImmediateRefresh);
    }
    state.counters["points_in_view"] = static_cast<double>(h.chart.LiveHistory().Size());
    state.counters["points_drawn"] = h.chart.Plot->LambdaGraph()->dataCount();
}
BENCHMARK(BM_RedrawHourInView)->Unit(benchmark::kMillisecond);

void BM_DecimateHour(benchmark::State& state) {
    TLambdaSeries series(LiveHistoryCapacity, LiveGapSeconds);
    for (int i = 0; i < HourOfReadings; ++i) {
        series.Append(i * 0.1, 1.0 + 0.3 * std::sin(i / 70.0), 13.8, false);
    }
    TDecimatedLine line;
    for (auto _ : state) {
        DecimateSeries(series, 0, 3600, 700, line);
        benchmark::DoNotOptimize(line.Time.data());
    }
}
BENCHMARK(BM_DecimateHour)->Unit(benchmark::kMicrosecond);

// A log of 100,000 lines (2 h 47 min at ten a second), written by the program's log code.
std::string HundredThousandLineLog() {
    static const std::string path = [] {
        const std::string p = TempFolder() + "/long.txt";
        TDataLog log;
        log.Create(p);
        std::tm t = LocalNow();
        t.tm_hour = 10;
        t.tm_min = t.tm_sec = 0;
        log.WriteLine(LogHeaderLine(t));
        for (int i = 0; i < 100000; ++i) {
            std::tm at = t;
            at.tm_sec = i / 10;
            std::mktime(&at);
            log.WriteLine(
                LogDataLine(std::round(1000 * (1.0 + 0.3 * std::sin(i / 70.0))) / 1000, at, 13.8));
        }
        log.Close();
        return p;
    }();
    return path;
}

void BM_ReadLog100k(benchmark::State& state) {
    const std::string path = HundredThousandLineLog();
    for (auto _ : state) {
        const TLogContents log = ReadDataLog(path);
        benchmark::DoNotOptimize(log.Readings.data());
        state.counters["lines"] = static_cast<double>(log.Readings.size());
    }
}
BENCHMARK(BM_ReadLog100k)->Unit(benchmark::kMillisecond);

void BM_OpenLog100k(benchmark::State& state) {
    HourChart h;
    const std::string path = HundredThousandLineLog();
    for (auto _ : state) {
        h.chart.OpenLogFile(path);
        // Read on a thread of its own; shown once the window's timer finds it done.
        while (h.chart.Busy()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        h.chart.Plot->replot(QCustomPlot::rpImmediateRefresh);
    }
    state.counters["readings"] = static_cast<double>(h.chart.Shown().Size());
}
BENCHMARK(BM_OpenLog100k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::system(("rm -rf '" + TempFolder() + "'").c_str());
    return 0;
}
