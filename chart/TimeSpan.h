#pragma once
// The stretch of time the chart shows: its width, and where it ends. Live, it ends at the
// newest reading; paused or replaying a log it stays where it is until the user drags it.
#include <utility>

class TChartTimeSpan {
public:
    static constexpr double MinSeconds = 1;

    // A width from the span list; the end stays as it is.
    void Choose(double seconds);
    double Seconds() const { return FSeconds; }

    bool Following() const { return FFollowing; }
    // Ends at the newest reading from now on.
    void Follow() { FFollowing = true; }
    // Stays ending at `end`.
    void Hold(double end);

    // Narrows (factor below 1) or widens the span, at most to `maxSeconds`. Following, the
    // end stays at the newest reading; held, the time `anchor` stays at its place on screen.
    void Zoom(double factor, double anchor, double maxSeconds);
    // Shows [from, to] (the user dragged the view). Only while held.
    void Show(double from, double to);

    // [from, to] when the newest reading is at `newest`.
    std::pair<double, double> Range(double newest) const;

private:
    double FSeconds = 60;
    double FEnd = 0;
    bool FFollowing = true;
};
