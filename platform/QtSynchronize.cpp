#include "platform/QtSynchronize.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <memory>

#include "platform/Event.h"
#include "platform/Synchronize.h"

namespace {

// The wake-up is an event whose descriptor the UI thread's event loop watches: a worker only
// sets the event (no Qt call, no allocation on its side), and every event loop on the UI
// thread, modal ones included, sees the descriptor become readable and runs the hand-overs.
// Wake-ups that come while the queue is already being served fold into one.
struct TQtWake {
    TEvent Pending;
    QPointer<QSocketNotifier> Notifier;
};

std::unique_ptr<TQtWake> Wake; // created and destroyed on the UI thread only

void ServeHandOvers() {
    // Reset before serving: a hand-over queued from here on sets the event again.
    Wake->Pending.ResetEvent();
    CheckSynchronize();
}

void DropNotifier() {
    if (Wake && Wake->Notifier)
        delete Wake->Notifier;
}

} // namespace

void InstallQtSynchronizeHook() {
    RemoveQtSynchronizeHook();
    SetMainThread();
    if (QCoreApplication::instance() == nullptr)
        return; // no event loop to wake: hand-overs wait for explicit CheckSynchronize calls
    Wake = std::make_unique<TQtWake>();
    // Parented to the application object, so it goes when the application does.
    auto* notifier = new QSocketNotifier(Wake->Pending.Handle(), QSocketNotifier::Read,
                                         QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { ServeHandOvers(); });
    Wake->Notifier = notifier;
    TEvent* pending = &Wake->Pending;
    SetWakeMainThread([pending] { pending->SetEvent(); });
    // Hand-overs queued before the hook existed have woken nobody; collect them now.
    pending->SetEvent();
}

void RemoveQtSynchronizeHook() {
    // Waits for a worker that is inside the hook right now, so the event can go.
    SetWakeMainThread({});
    DropNotifier();
    Wake.reset();
}
