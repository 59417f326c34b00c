#pragma once
#include <QColor>

// A shaded band of lambda values across the whole time axis.
struct TPlotBand {
    double Low = 0;
    double High = 0;
    QColor Colour;
};
