// The numeric field as the main window uses it (offscreen): the lambda field takes a new
// reading ten times a second, so one write (stored forms, picture formatting, the text it
// shows) must cost far below a millisecond. Typing checks the whole text on every key.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "widgets/AbNumEditFactory.h"
#include "widgets/AbNumEditParse.h"
#include "widgets/AbNumEditText.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_numedit";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// A write of a changing lambda reading into the shown Lambda1 field.
void BM_Lambda1Write(benchmark::State& state) {
    App();
    QWidget window;
    TAbNumEdit* lambda = CreateLambda1(&window);
    window.show();
    double v = 0.7;
    for (auto _ : state) {
        v = v > 1.3 ? 0.7 : v + 0.001;
        lambda->SetValue(v);
        QCoreApplication::processEvents(); // the repaint the new text causes
    }
}
BENCHMARK(BM_Lambda1Write);

// The stored forms and text of one value, without the widget.
void BM_StoredForms(benchmark::State& state) {
    const TNumEditFormat format{ebFloat, "#0.00#", 0, 0};
    const TRegionalSettings rs = EnglishRegionalSettings();
    double v = 0.7;
    for (auto _ : state) {
        v = v > 1.3 ? 0.7 : v + 0.001;
        benchmark::DoNotOptimize(MakeNumEditForms(v, format, rs));
    }
}
BENCHMARK(BM_StoredForms);

// Checking a typed float text with separators, exponent and multiplier.
void BM_ParseTypedText(benchmark::State& state) {
    const TRegionalSettings rs = EnglishRegionalSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseNumEditText(u"-1,234.5678e-3k", ebFloat, rs));
}
BENCHMARK(BM_ParseTypedText);

} // namespace

BENCHMARK_MAIN();
