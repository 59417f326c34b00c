#pragma once
// The test program's one QApplication on the offscreen platform. It exists from before the
// first test until after the last one, and ends while Qt's own globals and the program's
// static data still exist.
#include <QApplication>
#include <functional>

// The application object (created on the first call, if the suite has not created it yet).
QApplication& TestApp();

// Runs `fn` after the last test, before the application object is deleted (last registered,
// first run). For hooks that must go while the application still exists.
void AtTestAppEnd(std::function<void()> fn);
