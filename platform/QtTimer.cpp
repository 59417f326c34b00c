#include "platform/QtTimer.h"

#include <QPointer>

#include "platform/ErrorDisplay.h"

TTimer::TTimer(QObject* parent) : QObject(parent) {
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, [this] { Tick(); });
    UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(int ms) {
    if (ms == FInterval)
        return;
    FInterval = ms;
    UpdateTimer();
}

// Stopping and starting again begins a fresh count of Interval milliseconds.
void TTimer::UpdateTimer() {
    FTimer.stop();
    if (FEnabled && FInterval > 0)
        FTimer.start(FInterval);
}

// A tick that arrives while this timer's handler is still running (it is showing an error
// box, whose event loop keeps timers going) is dropped, so errors do not pile up box on box.
void TTimer::Tick() {
    if (FInTick || !OnTimer)
        return;
    FInTick = true;
    QPointer<TTimer> alive(this); // the handler may delete its own timer
    GuardedCall([this] { OnTimer(this); });
    if (alive)
        FInTick = false;
}
