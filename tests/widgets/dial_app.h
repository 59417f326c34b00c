#pragma once
// The dial suite's QApplication (offscreen), created before the first test and deleted
// after the last one, while Qt's own globals still exist.
#include <QApplication>

QApplication& DialApp();
