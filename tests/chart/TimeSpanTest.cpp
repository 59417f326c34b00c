// The chart's span under the mouse wheel: narrowed to a second at most, widened to the
// longest span (or the data's extent) at most, however far the wheel turns.
#include <gtest/gtest.h>

#include "chart/TimeSpan.h"

TEST(ChartTimeSpan, TheWheelZoomsBetweenASecondAndTheLongestSpan) {
    TChartTimeSpan span;
    span.Choose(60);
    for (int notch = 0; notch < 100; ++notch) {
        span.Zoom(1 / 0.8, 0, 3600);
    }
    EXPECT_DOUBLE_EQ(span.Seconds(), 3600);
    for (int notch = 0; notch < 100; ++notch) {
        span.Zoom(0.8, 0, 3600);
    }
    EXPECT_DOUBLE_EQ(span.Seconds(), TChartTimeSpan::MinSeconds);
    // Held at an end, the time under the mouse stays in its place.
    span.Choose(100);
    span.Hold(1000);
    span.Zoom(0.5, 950, 3600);
    EXPECT_EQ(span.Range(5000), std::make_pair(925.0, 975.0));
}
