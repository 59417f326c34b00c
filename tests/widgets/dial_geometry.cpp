// Geometry of the round scale and the pointer, without painting.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "widgets/AbScaleGeometry.h"

namespace {

// The dial's content area with labels 35 px wide and 22 px high (PenW1 2, Spacing 18).
const TRect kContent{8, 8, 329, 300};
const TScaleMetrics kMetrics = ScaleMetricsFor(35, 22);

// Angle of `p` seen from `c`, 0 straight up, clockwise positive, in 0..360.
double AngleOf(QPoint p, QPoint c) {
    double a = std::atan2(p.x() - c.x(), -(p.y() - c.y())) * 180.0 / std::numbers::pi;
    return a < 0 ? a + 360.0 : a;
}

double Distance(QPoint p, QPoint c) {
    return std::hypot(p.x() - c.x(), p.y() - c.y());
}

} // namespace

TEST(DialGeometry, RotateTurnsClockwiseOnScreenAndRounds) {
    const QPoint c(100, 100);
    EXPECT_EQ(DialRotate(QPoint(100, 50), c, 90), QPoint(150, 100));
    EXPECT_EQ(DialRotate(QPoint(100, 50), c, 180), QPoint(100, 150));
    EXPECT_EQ(DialRotate(QPoint(100, 50), c, -90), QPoint(50, 100));
    EXPECT_EQ(DialRotate(QPoint(100, 50), c, 225), QPoint(65, 135));
    EXPECT_EQ(AbRound(2.5), 2);
    EXPECT_EQ(AbRound(3.5), 4);
    EXPECT_EQ(AbRound(-214.2857), -214);
}

TEST(DialGeometry, LinearLabelsRunFromValueFromToValueTo) {
    const auto v = LinearLabelValues(0.65f, 1.35f, 14);
    ASSERT_EQ(v.size(), 15u);
    EXPECT_NEAR(v.front(), 0.65, 1e-6);
    EXPECT_NEAR(v[1], 0.70, 1e-6);
    EXPECT_NEAR(v[7], 1.00, 1e-6);
    EXPECT_FLOAT_EQ(v.back(), 1.35f);
}

TEST(DialGeometry, LogLabelsFollowDecadesDividingTheRange) {
    auto five = LogLabelValues(0.01f, 1000.0f, 10);
    EXPECT_EQ(five.Exp1, -2);
    EXPECT_EQ(five.Exp2, 3);
    EXPECT_EQ(five.LogSteps, 5);
    ASSERT_EQ(five.Values.size(), 6u);
    EXPECT_DOUBLE_EQ(five.Values[0], 0.01);
    EXPECT_DOUBLE_EQ(five.Values[5], 1000.0);

    auto one = LogLabelValues(0.01f, 1000.0f, 4); // 5 decades, no divisor 2..4
    EXPECT_EQ(one.LogSteps, 1);
    ASSERT_EQ(one.Values.size(), 2u);
    EXPECT_DOUBLE_EQ(one.Values[1], 1000.0);

    auto two = LogLabelValues(1.0f, 10000.0f, 2);
    EXPECT_EQ(two.LogSteps, 2);
    EXPECT_DOUBLE_EQ(two.Values[1], 100.0);

    // An empty decade range must still end (one step, both labels equal).
    auto empty = LogLabelValues(2.0f, 3.0f, 10);
    EXPECT_EQ(empty.LogSteps, 1);
    ASSERT_EQ(empty.Values.size(), 2u);
    EXPECT_DOUBLE_EQ(empty.Values[0], 1.0);
}

TEST(DialGeometry, PenWidthAndSpacingComeFromTheLabelSize) {
    EXPECT_EQ(ScaleMetricsFor(35, 22).PenW1, 2);
    EXPECT_EQ(ScaleMetricsFor(35, 22).Spacing, 18);
    EXPECT_EQ(ScaleMetricsFor(10, 14).PenW1, 1);
    EXPECT_EQ(ScaleMetricsFor(10, 20).PenW1, 1);
    EXPECT_EQ(ScaleMetricsFor(10, 21).PenW1, 2); // 1.5 -> 2
    EXPECT_EQ(ScaleMetricsFor(10, 35).PenW1, 2); // 2.5 -> 2
    EXPECT_EQ(ScaleMetricsFor(10, 42).PenW1, 3);
    EXPECT_EQ(ScaleMetricsFor(10, 42).Spacing, 22); // taller than wide: height counts
}

TEST(DialGeometry, RoundScaleRadiiCentreAndPointerSquare) {
    const auto g = RoundScaleGeometry(kContent, kMetrics, 225, 270, 14, 5, false);
    EXPECT_EQ(g.B, 143); // (321 - 36) div 2 - 17 + 18
    EXPECT_EQ(g.Sl1, 17);
    EXPECT_EQ(g.Sl2, 12); // round(17 / 1.4)
    EXPECT_EQ(g.Centre, QPoint(168, 162));
    EXPECT_NEAR(g.Substep, 3.857142, 1e-5);
    EXPECT_NEAR(g.Step, 19.285714, 1e-5);
    EXPECT_EQ(g.PointerSquare, (TRect{43, 37, 294, 288}));
    EXPECT_EQ(g.LinePos[0], QPoint(60, 54));
    EXPECT_EQ(g.LinePos[1], QPoint(277, 272));
}

TEST(DialGeometry, TicksAndLabelsSitOnTheirCircles) {
    const auto g = RoundScaleGeometry(kContent, kMetrics, 225, 270, 14, 5, false);
    ASSERT_EQ(g.LabelCentres.size(), 15u);
    ASSERT_EQ(g.MajorTicks.size(), 15u);
    ASSERT_EQ(g.MinorTicks.size(), 14u * 4u);
    const QPoint c = g.Centre;
    for (size_t i = 0; i < g.MajorTicks.size(); ++i) {
        const double expected = std::fmod(225.0 + i * 270.0 / 14.0, 360.0);
        EXPECT_NEAR(AngleOf(g.MajorTicks[i].From, c), expected, 0.8) << i;
        EXPECT_NEAR(Distance(g.MajorTicks[i].From, c), 125.0, 1.5) << i; // B - Spacing
        EXPECT_NEAR(Distance(g.MajorTicks[i].To, c), 108.0, 1.5) << i;   // minus sl1
        EXPECT_NEAR(Distance(g.LabelCentres[i], c), 143.0, 1.5) << i;
    }
    EXPECT_EQ(g.MajorTicks.front().From, g.LinePos[3]);
    EXPECT_EQ(g.MajorTicks.back().To, g.LinePos[2]);
    for (const auto& t : g.MinorTicks) {
        EXPECT_NEAR(Distance(t.From, c), 108.0, 1.5);
        EXPECT_NEAR(Distance(t.To, c), 120.0, 1.5);
    }
    // Minor ticks fall on whole degrees: the first lies at round(3.857) = 4 degrees past 225.
    EXPECT_NEAR(AngleOf(g.MinorTicks[0].From, c), 229.0, 0.6);
}

TEST(DialGeometry, ThinPenHalvesMinorTicksAndShiftsTheSquare) {
    const TScaleMetrics thin = ScaleMetricsFor(20, 14);
    ASSERT_EQ(thin.PenW1, 1);
    const auto g = RoundScaleGeometry({0, 0, 200, 200}, thin, 225, 270, 10, 2, false);
    EXPECT_EQ(g.Sl2, g.Sl1 / 2);
    const int k = g.B - thin.TextW / 2;
    EXPECT_EQ(g.PointerSquare.Left, g.Centre.x() - k + 1);
    EXPECT_EQ(g.PointerSquare.Top, g.Centre.y() - k + 1);
    EXPECT_EQ(g.PointerSquare.Right, g.Centre.x() + k - 1);
    // The pivot of a pointer square is the scale centre.
    const TArrowField f = AbArrowField(0, g.PointerSquare.Width());
    EXPECT_EQ(f.Pivot + QPoint(g.PointerSquare.Left, g.PointerSquare.Top), g.Centre);
}

TEST(DialGeometry, SubStepsOfOneDrawNoMinorTicksAndFullCircleDropsLastLabel) {
    const auto one = RoundScaleGeometry(kContent, kMetrics, 225, 270, 14, 1, false);
    EXPECT_TRUE(one.MinorTicks.empty());
    EXPECT_EQ(one.MajorTicks.size(), 15u);

    const auto full = RoundScaleGeometry(kContent, kMetrics, 0, 360, 10, 2, false);
    EXPECT_EQ(full.LabelCentres.size(), 10u);
    EXPECT_EQ(full.MajorTicks.size(), 11u);
}

TEST(DialGeometry, LogScaleMinorTicksCrowdTowardsTheDecadeEnd) {
    const auto g = RoundScaleGeometry(kContent, kMetrics, 225, 270, 3, 10, true);
    // Within a 90-degree decade: log10(2) * 90 = 27.09 -> 27 degrees, log10(9) * 90 -> 86.
    EXPECT_NEAR(AngleOf(g.MinorTicks[1].From, g.Centre), std::fmod(225.0 + 27.0, 360.0), 0.6);
    EXPECT_NEAR(AngleOf(g.MinorTicks[8].From, g.Centre), std::fmod(225.0 + 86.0, 360.0), 0.6);
}

TEST(DialGeometry, SectorArcRules) {
    TSectorArc arc;
    EXPECT_FALSE(SectorArc(0, 4, 225, 270, arc));
    EXPECT_FALSE(SectorArc(100, 104, 225, 270, arc));
    EXPECT_FALSE(SectorArc(-10, 0, 225, 270, arc));
    EXPECT_FALSE(SectorArc(1000, 1200, 225, 270, arc));
    EXPECT_FALSE(SectorArc(1000, 1000, 225, 270, arc));

    ASSERT_TRUE(SectorArc(0, 1000, 225, 270, arc));
    EXPECT_EQ(arc.Start, 225);
    EXPECT_EQ(arc.Sweep, 270);

    ASSERT_TRUE(SectorArc(334, 666, 225, 270, arc));
    EXPECT_EQ(arc.Start, 225 + 90); // round(90.18)
    EXPECT_EQ(arc.Sweep, 90);       // round(332 * 0.27 = 89.64)

    ASSERT_TRUE(SectorArc(-200, 1500, 225, 270, arc)); // starts at the scale start, capped
    EXPECT_EQ(arc.Start, 225);
    EXPECT_EQ(arc.Sweep, 270);
}

TEST(DialGeometry, ArrowShapesFollowTheTable) {
    // Square 251 wide: l 125, b 12, s 7.
    const TArrowField s0 = AbArrowField(0, 251);
    EXPECT_EQ(s0.Pivot, QPoint(125, 125));
    EXPECT_EQ(s0.N, 4);
    EXPECT_EQ(s0.R1, 2);
    EXPECT_EQ(s0.R2, 0);
    EXPECT_EQ(s0.Polygon(), (std::vector<QPoint>{{113, 137}, {137, 137}, {125, 0}}));
    for (int outside : {-1, 8, 100})
        EXPECT_EQ(AbArrowField(outside, 251).Polygon(), s0.Polygon()) << outside;

    const TArrowField s1 = AbArrowField(1, 251);
    EXPECT_EQ(s1.R1, 18); // b + b div 2
    EXPECT_EQ(s1.R2, 3);
    EXPECT_EQ(s1.Polygon(), (std::vector<QPoint>{{118, 125}, {132, 125}, {125, 0}}));

    EXPECT_EQ(AbArrowField(2, 251).Polygon(),
              (std::vector<QPoint>{{113, 48}, {137, 48}, {125, 0}}));
    EXPECT_EQ(AbArrowField(2, 251).R1, 0);

    const TArrowField s4 = AbArrowField(4, 251);
    EXPECT_EQ(s4.N, 8);
    EXPECT_EQ(s4.Polygon().size(), 7u);
    EXPECT_EQ(s4.Polygon()[4], QPoint(125, 0));
    EXPECT_EQ(s4.Polygon()[3], QPoint(149, 36));

    EXPECT_EQ(AbArrowField(5, 251).N, 6);
    const TArrowField s6 = AbArrowField(6, 251);
    EXPECT_TRUE(s6.OutlineFlashes);
    EXPECT_EQ(s6.N, 5);
    EXPECT_EQ(s6.R1, 8);
    EXPECT_EQ(s6.Polygon()[2], QPoint(126, 0));

    const TArrowField s7 = AbArrowField(7, 251);
    EXPECT_EQ(s7.R1, 7); // s
    EXPECT_EQ(s7.R2, 2);
    EXPECT_EQ(s7.Polygon()[1], QPoint(106, 149));
    for (int shape = 0; shape <= 7; ++shape)
        EXPECT_FALSE(shape != 6 && AbArrowField(shape, 251).OutlineFlashes) << shape;
}

TEST(DialGeometry, ArrowRotationKeepsThePivotAndTurnsTheTip) {
    const TArrowField start = RotateArrow(AbArrowField(0, 251), 225);
    EXPECT_EQ(start.Pivot, QPoint(125, 125));
    // Tip 125 px up, turned to the lower left.
    EXPECT_EQ(start.Points[4], QPoint(37, 213));
    const TArrowField at90 = RotateArrow(AbArrowField(0, 251), 90);
    EXPECT_EQ(at90.Points[4], QPoint(250, 125));
    EXPECT_FLOAT_EQ(PositionAngle(270, 357), 96.39f);
    EXPECT_FLOAT_EQ(PositionAngle(270, 1000), 270.0f);
}

TEST(DialGeometry, MarkersAreSmallTrianglesAtTheSquareEdge) {
    const TMarkerTemplates up = MarkerTemplates(17, QPoint(125, 125), 0);
    EXPECT_EQ(up.Min, (std::array<QPoint, 3>{QPoint(125, 27), QPoint(125, 1), QPoint(115, 1)}));
    EXPECT_EQ(up.Max, (std::array<QPoint, 3>{QPoint(125, 27), QPoint(125, 1), QPoint(135, 1)}));
    const TMarkerTemplates start = MarkerTemplates(17, QPoint(125, 125), 225);
    const auto end = RotateMarker(start.Max, QPoint(125, 125), 270);
    EXPECT_NEAR(AngleOf(end[1], QPoint(125, 125)), 135.0, 1.0);
}
