#include "QtSynchronize.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "Synchronize.h"

namespace {

// Thread-safe: posts a queued call to the application object, which lives on the UI thread.
void PostCheckSynchronize() {
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] { CheckSynchronize(); }, Qt::QueuedConnection);
}

} // namespace

void InstallQtSynchronizeHook() {
    SetMainThread();
    SetWakeMainThread(PostCheckSynchronize);
    // Hand-overs queued before the hook existed have posted nothing; collect them now.
    PostCheckSynchronize();
}

void RemoveQtSynchronizeHook() {
    SetWakeMainThread({});
}
