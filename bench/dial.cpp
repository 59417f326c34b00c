// The lambda dial as the main window shows it (offscreen): what one new reading costs
// (set Value, then the paint it causes, which recomposes the pointer square) next to one
// full repaint of the dial (bevel, caption, scale, labels and pointer). Both paints go
// through the toolkit's own update path. The goal is a value update at most a quarter of
// a full paint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "widgets/AbMeterFactory.h"

namespace {

struct ShownMeter {
    ShownMeter() {
        ConfigureMeter1(meter);
        meter.move(0, 0);
        meter.show();
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }
    TAb270Meter meter;
};

void Report(benchmark::State& state, const TAb270Meter& m, int full0, int pointer0) {
    const double n = static_cast<double>(state.iterations());
    state.counters["full_paints_per_iter"] = (m.FullPaints() - full0) / n;
    state.counters["pointer_paints_per_iter"] = (m.PointerPaints() - pointer0) / n;
}

void BM_Meter1ValueUpdate(benchmark::State& state) {
    ShownMeter s;
    TAb270Meter& m = s.meter;
    const int full0 = m.FullPaints();
    const int pointer0 = m.PointerPaints();
    float lambda = 0.70f;
    for (auto _ : state) {
        lambda = lambda >= 1.30f ? 0.70f : lambda + 0.0123f;
        m.SetValue(lambda);
        QCoreApplication::processEvents();
    }
    Report(state, m, full0, pointer0);
}
BENCHMARK(BM_Meter1ValueUpdate)->Unit(benchmark::kMicrosecond);

void BM_Meter1FullPaint(benchmark::State& state) {
    ShownMeter s;
    TAb270Meter& m = s.meter;
    const int full0 = m.FullPaints();
    const int pointer0 = m.PointerPaints();
    bool toggle = false;
    for (auto _ : state) {
        // A settings change repaints everything; the colour alternates between two blacks.
        toggle = !toggle;
        m.ScaleSettings().SetColor(toggle ? RGB(0, 0, 1) : clBlack);
        QCoreApplication::processEvents();
    }
    Report(state, m, full0, pointer0);
}
BENCHMARK(BM_Meter1FullPaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
