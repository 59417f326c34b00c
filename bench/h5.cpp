// The flash service's tick (one counter advance and a phase check per registration, a
// message only on a phase flip) for many blinking lamps, and what a blink costs an LED:
// a lamp-only repaint next to a full repaint with caption.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <memory>
#include <vector>

#include "platform/Synchronize.h"
#include "widgets/AbFlashT.h"
#include "widgets/AbLED.h"

namespace {

void BM_FlashTick(benchmark::State& state) {
    std::vector<std::unique_ptr<TAbLED>> leds;
    for (int i = 0; i < state.range(0); ++i) {
        leds.push_back(std::make_unique<TAbLED>());
        leds.back()->SetFrequency(TFlashFreq(i % 5));
        leds.back()->SetFlashing(true);
        leds.back()->SetChecked(true);
    }
    AbFlashTimer->SetEnabled(false);
    for (auto _ : state)
        AbFlashTimer->flash(AbFlashTimer);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    leds.clear();
    FinalizeFlashService();
}
BENCHMARK(BM_FlashTick)->Arg(1)->Arg(10)->Arg(100);

struct DiskLogLamp {
    DiskLogLamp() : image(103, 33, QImage::Format_RGB32) {
        led.resize(103, 33);
        led.SetCaption("Disk Log Active");
        image.fill(Qt::gray);
        led.render(&image);
    }
    TAbLED led;
    QImage image;
};

void BM_LEDFullPaint(benchmark::State& state) {
    DiskLogLamp d;
    for (auto _ : state)
        d.led.render(&d.image, QPoint(), QRegion(), QWidget::DrawChildren);
}
BENCHMARK(BM_LEDFullPaint);

void BM_LEDLampOnly(benchmark::State& state) {
    DiskLogLamp d;
    const QRegion lamp(ToQRect(d.led.LED().Rect));
    for (auto _ : state)
        d.led.render(&d.image, QPoint(), lamp, QWidget::DrawChildren);
}
BENCHMARK(BM_LEDLampOnly);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMainThread();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
