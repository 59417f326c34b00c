// Scale settings: accepted step counts, label measurement and logarithmic labels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "tests/support/QtTestApp.h"
#include "widgets/AbMeterFactory.h"
#include "widgets/AbScale.h"

namespace {

// Measures the scale's labels with its font on an image and lays it out in `r`.
TRoundScaleGeometry Layout(TScaleSettings& s, float from, float to, TRect r) {
    QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    TAbCanvas canvas(p, QPalette());
    s.CalcRSize(canvas, from, to);
    s.RoundScala(canvas, r, 225, 270);
    return s.Geometry();
}

} // namespace

TEST(ScaleSettings, StepCountsOutsideTheirRangeAreIgnored) {
    TScaleSettings s;
    int changes = 0;
    s.OnChange = [&](QObject*) { ++changes; };
    for (int bad : {0, 21, -1})
        s.SetSteps(bad);
    for (int bad : {0, 11})
        s.SetSubSteps(bad);
    EXPECT_EQ(s.Steps(), 5);
    EXPECT_EQ(s.SubSteps(), 2);
    EXPECT_EQ(changes, 0);
    s.SetSteps(5); // an accepted value always notifies, even an equal one
    s.SetSubSteps(10);
    s.SetDrawLine(true);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(s.SubSteps(), 10);
}

TEST(ScaleSettings, WiderLabelsShrinkTheDialAndTallerOnesThickenTicks) {
    TestApp();
    TScaleSettings s;
    QFont f("Arial");
    f.setPixelSize(19);
    s.SetFont(f);
    s.SetSteps(14);
    s.SetValueFormat("#0.00");
    const TRoundScaleGeometry narrow = Layout(s, 0.65f, 1.35f, {8, 8, 329, 300});
    const int narrowW = s.TextW();
    s.SetValueFormat("#0.0000");
    const TRoundScaleGeometry wide = Layout(s, 0.65f, 1.35f, {8, 8, 329, 300});
    EXPECT_GT(s.TextW(), narrowW);
    EXPECT_LT(wide.B, narrow.B);
    EXPECT_EQ(wide.Sl1, wide.B / 8);
    EXPECT_EQ(s.Labels()[1], "0.7000");

    f.setPixelSize(45);
    s.SetFont(f);
    Layout(s, 0.65f, 1.35f, {8, 8, 329, 300});
    EXPECT_GE(s.PenW1(), 3);
    EXPECT_EQ(s.PenW1(), AbRound(s.TextH() / 14.0));
}

TEST(ScaleSettings, LogarithmicLabelsAreDecades) {
    TestApp();
    TScaleSettings s;
    s.SetSteps(10);
    s.SetLogScale(true);
    s.BuildLabels(0.01f, 1000.0f);
    EXPECT_EQ(s.LogSteps(), 5);
    EXPECT_EQ(s.exp1(), -2);
    EXPECT_EQ(s.exp2(), 3);
    ASSERT_EQ(s.Labels().size(), 6u);
    EXPECT_EQ(s.Labels().front(), "1e-2");
    EXPECT_EQ(s.Labels().back(), "1e3");
    const TRoundScaleGeometry g = Layout(s, 0.01f, 1000.0f, {0, 0, 300, 300});
    EXPECT_EQ(g.MajorTicks.size(), 6u);
}

TEST(ScaleSettings, MeterInLogModeDrawsDecadeLabels) {
    TestApp();
    TAb270Meter m;
    ConfigureMeter1(m);
    m.SignalSettings().SetValueFrom(0.1f);
    m.SignalSettings().SetValueTo(100.0f);
    m.SetLogScale(true);
    EXPECT_TRUE(m.ScaleSettings().LogScale());
    QImage image(m.size(), QImage::Format_ARGB32_Premultiplied);
    m.render(&image);
    EXPECT_EQ(m.ScaleSettings().LogSteps(), 3);
    EXPECT_EQ(m.ScaleSettings().Labels().size(), 4u);
    m.SetValue(10.0f); // two decades of three
    EXPECT_EQ(m.PPT(), 667);
}
