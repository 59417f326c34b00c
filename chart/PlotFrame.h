#pragma once
// What the plot's axes and frame were drawn for: when a redraw finds them unchanged, only the
// data needs drawing again.
struct TPlotFrame {
    double From = 0; // the time axis
    double To = 0;
    double Low = 0; // the lambda axis
    double High = 0;
    int Width = 0; // the plot's size in pixels
    int Height = 0;
    int Revision = -1; // fuel, bands, colours: anything else the axes and key show

    bool operator==(const TPlotFrame&) const = default;
};
