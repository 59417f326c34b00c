#pragma once
// One QApplication for the whole test program, created on first use on the test's (UI) thread.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>

inline QApplication* TestApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return existing;
    if (QCoreApplication::instance() != nullptr)
        return nullptr; // a plain QCoreApplication belongs to another suite
    static int argc = 1;
    static char name[] = "tests_platform";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
}

// Runs the Qt event loop until `done` holds or `timeoutMs` passes; true when `done` held.
inline bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(1);
    loop.exec();
    return done();
}
