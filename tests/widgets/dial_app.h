#pragma once
// One QApplication for the dial suite (offscreen platform under CTest).
#include <QApplication>

inline QApplication& DialApp() {
    static int argc = 1;
    static char name[] = "tests_widgets_dial";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
