// The 270-degree meter configured as the main window's lambda dial, rendered offscreen.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPaintEvent>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "AbFlashT.h"
#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"
#include "tests/support/QtTestApp.h"
#include "widgets/AbMeterFactory.h"

namespace {

constexpr QRgb kBackdrop = 0xFF204060;

QImage Render(QWidget& w, const QRegion& region = QRegion()) {
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(kBackdrop);
    w.render(&image, QPoint(), region, QWidget::DrawChildren);
    return image;
}

bool IsDark(QRgb c) {
    return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool IsGray(QRgb c) {
    return std::abs(qRed(c) - 128) < 6 && std::abs(qGreen(c) - 128) < 6 &&
           std::abs(qBlue(c) - 128) < 6;
}

double AngleOf(QPointF p, QPointF c) {
    const double a = std::atan2(p.x() - c.x(), -(p.y() - c.y())) * 180.0 / std::numbers::pi;
    return a < 0 ? a + 360.0 : a;
}

double AngleDiff(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

class Meter1Test : public ::testing::Test {
protected:
    void SetUp() override { ConfigureMeter1(m); }

    QPoint Pivot() const {
        return m.ArrowStartPos().Pivot + QPoint(m.rPointer().Left, m.rPointer().Top);
    }
    // The polygon point farthest from the pivot.
    QPoint Tip() const {
        QPoint best;
        double far = -1;
        for (const QPoint& p : m.ArrowActPos().Polygon()) {
            const double d =
                std::hypot(p.x() - m.ArrowActPos().Pivot.x(), p.y() - m.ArrowActPos().Pivot.y());
            if (d > far) {
                far = d;
                best = p;
            }
        }
        return best + QPoint(m.rPointer().Left, m.rPointer().Top);
    }
    // A point `fraction` of the way from the pivot to the pointer tip.
    QPoint AlongPointer(double fraction) const {
        const QPointF p = QPointF(Pivot()) + (QPointF(Tip()) - QPointF(Pivot())) * fraction;
        return p.toPoint();
    }
    void ExpectPointerAt(const QImage& img, double degrees) {
        EXPECT_LT(AngleDiff(AngleOf(Tip(), Pivot()), degrees), 0.6);
        EXPECT_TRUE(IsGray(img.pixel(AlongPointer(0.6))))
            << std::hex << img.pixel(AlongPointer(0.6));
    }

    QApplication& app = TestApp();
    TAb270Meter m;
};

} // namespace

TEST_F(Meter1Test, ConfiguredAsTheMainWindowDial) {
    EXPECT_EQ(m.size(), QSize(337, 321));
    EXPECT_EQ(m.pos(), QPoint(121, 32));
    EXPECT_EQ(m.UpdateCount(), 0);
    EXPECT_FALSE(m.AutoSize());
    EXPECT_EQ(m.StartAngle(), 225);
    EXPECT_EQ(m.RotAngle(), 270);
    EXPECT_FLOAT_EQ(m.Value(), 0.9f);
    EXPECT_EQ(m.Digit(), 357);
    EXPECT_EQ(m.PPT(), 357);
    EXPECT_EQ(m.Hint(), "Value= 0.900 h\rLAMBDA\rSignalName2");
    // Loading cleared the extremes: the first live value sets both quietly.
    int minMax = 0;
    m.OnMinMaxChange = [&](QObject*) { ++minMax; };
    m.SetValue(1.02f);
    EXPECT_FLOAT_EQ(m.MinMax().Min(), 1.02f);
    EXPECT_FLOAT_EQ(m.MinMax().Max(), 1.02f);
    EXPECT_EQ(minMax, 0);
}

TEST_F(Meter1Test, FrameScaleAndCaptionLayout) {
    const QImage img = Render(m);
    // Black outline at the edge, raised rings inside, button face 8 px in.
    for (QPoint p : {QPoint(0, 0), QPoint(336, 160), QPoint(168, 320), QPoint(0, 200)})
        EXPECT_EQ(img.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    const QRgb face = ToQColor(clBtnFace, m.palette()).rgb();
    EXPECT_EQ(img.pixel(5, 160), face);
    EXPECT_EQ(img.pixel(8, 160), face);

    const TScaleSettings& s = m.ScaleSettings();
    ASSERT_EQ(s.Labels().size(), 15u);
    EXPECT_EQ(s.Labels().front(), "0.65");
    EXPECT_EQ(s.Labels()[1], "0.70");
    EXPECT_EQ(s.Labels()[7], "1.00");
    EXPECT_EQ(s.Labels().back(), "1.35");
    EXPECT_EQ(s.Text().substr(0, 10), "0.65;0.70;");
    EXPECT_EQ(s.PenW1(), AbRound(s.TextH() / 14.0));

    // The dial's centre is the content's horizontal middle, B + TextH/2 below its top.
    const int b = s.Geometry().B;
    EXPECT_EQ(s.Geometry().Centre, QPoint(8 + 321 / 2, 8 + b + s.TextH() / 2));
    EXPECT_EQ(Pivot(), s.Geometry().Centre);

    // The top label "1.00" starts right at the content's top edge.
    auto darkInRow = [&img](int y, int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            if (IsDark(img.pixel(x, y)))
                return true;
        return false;
    };
    EXPECT_FALSE(darkInRow(7, 140, 200));
    bool labelSeen = false;
    for (int y = 8; y < 8 + s.TextH(); ++y)
        labelSeen = labelSeen || darkInRow(y, 140, 200);
    EXPECT_TRUE(labelSeen);

    // LAMBDA centred at the bottom, between the scale and the bevel.
    int left = 1000, right = -1, top = 1000;
    for (int y = 290; y < 313; ++y)
        for (int x = 9; x < 328; ++x)
            if (IsDark(img.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
            }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, 168.0, 2.0);
    EXPECT_EQ(top >= 313 - m.sName1().height(), true);
    EXPECT_NEAR(right - left, m.sName1().width(), 3);
}

TEST_F(Meter1Test, PointerFollowsTheValueAndStopsAtTheScaleEnds) {
    ExpectPointerAt(Render(m), 225.0 + 96.39);
    m.SetValue(0.5f);
    ExpectPointerAt(Render(m), 225.0);
    m.SetValue(0.65f);
    ExpectPointerAt(Render(m), 225.0);
    m.SetValue(1.0f);
    ExpectPointerAt(Render(m), 0.0);
    m.SetValue(1.35f);
    ExpectPointerAt(Render(m), 135.0);
    m.SetValue(7.0f);
    ExpectPointerAt(Render(m), 135.0);
    EXPECT_EQ(m.Hint().substr(0, 13), "Value= 7.000 ");
}

TEST(Meter, NothingIsPaintedWhileLoading) {
    TestApp();
    TAb270Meter m;
    ASSERT_EQ(m.UpdateCount(), 1);
    const QImage img = Render(m);
    for (int y = 0; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); x += 7)
            ASSERT_EQ(img.pixel(x, y), kBackdrop);
    EXPECT_EQ(m.FullPaints(), 0);
}

TEST_F(Meter1Test, ValueUpdateRecomposesOnlyThePointerSquare) {
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    QCoreApplication::processEvents();
    const int full = m.FullPaints();
    ASSERT_GT(full, 0);
    const int pointer = m.PointerPaints();

    m.SetValue(0.9f); // unchanged: no repaint at all
    QCoreApplication::processEvents();
    EXPECT_EQ(m.FullPaints(), full);
    EXPECT_EQ(m.PointerPaints(), pointer);

    m.SetValue(1.1f);
    QCoreApplication::processEvents();
    EXPECT_EQ(m.FullPaints(), full);
    EXPECT_EQ(m.PointerPaints(), pointer + 1);

    m.ScaleSettings().SetColor(clBlue); // a settings change paints everything
    QCoreApplication::processEvents();
    EXPECT_EQ(m.FullPaints(), full + 1);
}

// Collects the regions of the paint events a widget receives.
class TPaintRegions : public QObject {
public:
    explicit TPaintRegions(QWidget& w) { w.installEventFilter(this); }
    QRegion Painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST_F(Meter1Test, ValueUpdateRepaintsEveryPixelThePointerAndMarkersChange) {
    m.MinMax().SetMinVisible(true);
    m.MinMax().SetMaxVisible(true);
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    QCoreApplication::processEvents();
    TPaintRegions paints(m);
    for (const float value : {1.3f, 1.28f, 0.7f, 1.0f, 0.66f, 1.34f}) {
        const QImage before = Render(m);
        paints.Painted = QRegion();
        m.SetValue(value);
        QCoreApplication::processEvents();
        const QRegion painted = paints.Painted;
        const QImage after = Render(m);
        int missed = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                missed +=
                    before.pixel(x, y) != after.pixel(x, y) && !painted.contains(QPoint(x, y));
        EXPECT_EQ(missed, 0) << "to " << value;
        EXPECT_FALSE(painted.isEmpty());
    }
}

TEST_F(Meter1Test, ComposedSquareMatchesAFullPaint) {
    Render(m); // full paint saves the background
    m.SetValue(1.21f);
    const QRect square(m.rPointer().Left, m.rPointer().Top, m.rPointer().Width(),
                       m.rPointer().Height());
    // The region's corner lands at the target offset.
    QImage composed(square.size(), QImage::Format_ARGB32_Premultiplied);
    composed.fill(kBackdrop);
    m.render(&composed, QPoint(), QRegion(square), QWidget::DrawChildren);
    EXPECT_GT(m.PointerPaints(), 0);
    m.ArrowSettings().SetColorBrush(clRed);
    m.ArrowSettings().SetColorBrush(clGray); // forces the next paint to be a full one
    const int full = m.FullPaints();
    const QImage fresh = Render(m).copy(square);
    EXPECT_EQ(m.FullPaints(), full + 1);
    ASSERT_EQ(composed.size(), fresh.size());
    int differing = 0;
    for (int y = 0; y < fresh.height(); ++y)
        for (int x = 0; x < fresh.width(); ++x)
            differing += composed.pixel(x, y) != fresh.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(Meter1Test, PointerIsHardEdged) {
    m.SetValue(0.8f);
    const QImage a = Render(m);
    m.SetValue(1.2f);
    const QImage b = Render(m);
    const QPalette& pal = m.palette();
    const TArrowSettings& s = m.ArrowSettings();
    const std::vector<QRgb> own = {
        ToQColor(s.ColorPen(), pal).rgb(),    ToQColor(s.ColorBrush(), pal).rgb(),
        ToQColor(s.ColorCP1Pen(), pal).rgb(), ToQColor(s.ColorCP1Brush(), pal).rgb(),
        ToQColor(s.ColorCP2Pen(), pal).rgb(), ToQColor(s.ColorCP2Brush(), pal).rgb()};
    auto isOwn = [&own](QRgb c) { return std::find(own.begin(), own.end(), c) != own.end(); };
    // Where the two pointers differ, each pixel is a pointer colour or the face behind the
    // other pointer: no blended edge colours.
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            ++differing;
            ASSERT_TRUE(isOwn(a.pixel(x, y)) || isOwn(b.pixel(x, y))) << x << "," << y;
        }
    EXPECT_GT(differing, 500);
}

TEST_F(Meter1Test, TooSmallDrawsNoScaleOrPointer) {
    m.resize(20, 20);
    const QImage img = Render(m);
    EXPECT_TRUE(m.isToSmall());
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    m.resize(337, 321);
    Render(m);
    EXPECT_FALSE(m.isToSmall());
}

TEST_F(Meter1Test, EveryShapeReachesTheScale) {
    m.SetValue(1.0f); // straight up
    for (int shape = 0; shape <= 8; ++shape) {
        m.ArrowSettings().SetShape(shape);
        const QImage img = Render(m);
        const QPoint nearTip = Tip() + QPoint(0, 4);
        const QRgb face = ToQColor(clBtnFace, m.palette()).rgb();
        EXPECT_NE(img.pixel(nearTip), face) << "shape " << shape;
        EXPECT_NEAR(Tip().x(), Pivot().x(), 1) << "shape " << shape;
        EXPECT_EQ(Tip().y(), m.rPointer().Top) << "shape " << shape;
    }
}

TEST_F(Meter1Test, MarkersShowTheExtremesInTheirColours) {
    m.MinMax().SetMinVisible(true);
    m.MinMax().SetMaxVisible(true);
    m.MinMax().SetMinColor(clAqua);
    m.MinMax().SetMaxColor(clRed);
    m.SetValue(0.7f);
    m.SetValue(1.2f);
    m.SetValue(1.0f);
    const QImage img = Render(m);
    auto centroid = [this](const std::array<QPoint, 3>& t) {
        const QPointF c = (QPointF(t[0]) + QPointF(t[1]) + QPointF(t[2])) / 3.0;
        return (c + QPointF(m.rPointer().Left, m.rPointer().Top)).toPoint();
    };
    EXPECT_EQ(img.pixel(centroid(m.minPointer())), qRgb(0, 255, 255));
    EXPECT_EQ(img.pixel(centroid(m.maxPointer())), qRgb(255, 0, 0));
    EXPECT_LT(AngleDiff(AngleOf(centroid(m.minPointer()), Pivot()), 225 + 0.27 * 71), 4.0);

    m.MinMax().SetUseSectorCol(true); // all sectors of Meter1 are silver
    const QImage sector = Render(m);
    EXPECT_EQ(sector.pixel(centroid(m.maxPointer())), qRgb(192, 192, 192));
}

TEST_F(Meter1Test, SectorBandAndArcLine) {
    m.SectorSettings().SetSector1Color(clRed);
    m.SetOptions({opBevelOuter, opName1, opSector});
    const QImage img = Render(m);
    const int r = m.rPointer().Width() / 2 - m.ScaleSettings().sl1();
    const int w = (2 * r) / 10;
    // Inside the band at the left (9 o'clock), red; the arc line runs at the ticks' inner ends.
    const QPoint band = Pivot() + QPoint(-r + w / 2, 0);
    EXPECT_EQ(img.pixel(band), qRgb(255, 0, 0));
    const QPoint below = Pivot() + QPoint(0, r - w / 2); // the gap at the bottom has no band
    EXPECT_NE(img.pixel(below), qRgb(255, 0, 0));
}

// Loading passes through default options and a value below the lower limit before the final
// settings; none of that may register the meter or start the flash worker thread.
TEST(Meter1Loading, StartsNoFlashingAndNoFlashThread) {
    const bool timerBefore = AbFlashTimer != nullptr;
    TAb270Meter meter;
    ConfigureMeter1(meter);
    EXPECT_FALSE(meter.Flashing());
    for (const auto& rec : dynFlashList)
        EXPECT_NE(rec->Control, &meter);
    if (!timerBefore) {
        EXPECT_EQ(AbFlashTimer, nullptr);
    }
}

// A stored value off the scale: loading ends with the position clamped to the scale end, but
// the meter still knows it has overflowed and blinks.
TEST(Meter1Loading, StoredValueOffTheScaleBlinksWithTheOverflowOption) {
    TestApp();
    TAb270Meter meter;
    meter.SetLimitUpper(1.5f);
    meter.SetLimitLower(0.5f);
    meter.SignalSettings().SetValueFrom(0.65f);
    meter.SignalSettings().SetValueTo(1.35f);
    meter.SetValue(1.45f);
    meter.SetOptions({opBevelOuter, opName1, opOverflow});
    meter.Loaded();
    EXPECT_EQ(meter.PPT(), 1000);
    EXPECT_TRUE(meter.Flashing());
}

// Range, sectors and format changed at run time: the states follow at once, and painting
// fires no value events.
TEST_F(Meter1Test, SettingsChangeReEvaluatesTheStatesWithoutValueEvents) {
    m.SetOptions({opBevelOuter, opName1, opOverflow});
    int valueEvents = 0;
    std::vector<int> overflows;
    m.OnValueChange = [&](QObject*) { ++valueEvents; };
    m.OnOverflow = [&](QObject*, int ppt) { overflows.push_back(ppt); };

    m.SignalSettings().SetValueTo(0.85f); // 0.9 now lies above the scale
    EXPECT_EQ(overflows, std::vector<int>{1250});
    EXPECT_TRUE(m.UOverflow());
    EXPECT_EQ(m.PPT(), 1000);
    EXPECT_TRUE(m.Flashing());
    m.SignalSettings().SetValueFormat("#0.0");
    EXPECT_EQ(m.Hint(), "Value= 0.9 h\rLAMBDA\rSignalName2");

    m.SignalSettings().SetValueTo(1.35f); // back on the scale
    EXPECT_FALSE(m.UOverflow());
    EXPECT_EQ(m.PPT(), 357);
    EXPECT_FALSE(m.Flashing());
    ASSERT_TRUE(m.InSector(1));
    m.SectorSettings().SetSector1To(300);
    EXPECT_FALSE(m.InSector(1));
    Render(m);
    EXPECT_EQ(valueEvents, 0);
}

// The hub of shape 0 has radius 2: the circle inscribed in pivot +- 2, four pixels across.
TEST_F(Meter1Test, HubHasTheRadiusOfThePointerTable) {
    m.ArrowSettings().SetColorCP1Brush(clRed);
    m.ArrowSettings().SetColorCP1Pen(clRed);
    m.SetValue(1.0f); // straight up, so the needle covers the hub's surroundings evenly
    const QImage img = Render(m);
    const QPoint c = Pivot();
    int left = c.x(), right = c.x(), top = c.y(), bottom = c.y();
    for (int y = c.y() - 6; y <= c.y() + 6; ++y)
        for (int x = c.x() - 6; x <= c.x() + 6; ++x)
            if (img.pixel(x, y) == qRgb(255, 0, 0)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_EQ(QRect(QPoint(left, top), QPoint(right, bottom)),
              QRect(c - QPoint(2, 2), QSize(4, 4)));
}

TEST_F(Meter1Test, OverflowMakesThePointerFlashRedAndYellow) {
    m.SetOptions({opBevelOuter, opName1, opOverflow});
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    m.SetValue(0.5f);
    EXPECT_TRUE(m.Flashing());
    bool registered = false;
    for (const auto& rec : dynFlashList)
        registered = registered || (rec->Control == &m && rec->IntervalTime == Freq2Hz);
    EXPECT_TRUE(registered);

    TWMFlash on(0, 1);
    QCoreApplication::sendEvent(&m, &on);
    EXPECT_EQ(m.FlashColor(), clRed);
    QImage img = Render(m);
    EXPECT_EQ(img.pixel(AlongPointer(0.6)), qRgb(255, 0, 0));
    TWMFlash off(0, 0);
    QCoreApplication::sendEvent(&m, &off);
    EXPECT_EQ(m.FlashColor(), clYellow);
    img = Render(m);
    EXPECT_EQ(img.pixel(AlongPointer(0.6)), qRgb(255, 255, 0));

    m.SetValue(0.9f);
    EXPECT_FALSE(m.Flashing());
    for (const auto& rec : dynFlashList)
        EXPECT_NE(rec->Control, &m);
    img = Render(m);
    EXPECT_TRUE(IsGray(img.pixel(AlongPointer(0.6))));
}

TEST_F(Meter1Test, FlashServiceDrivesTheBlinking) {
    SetMainThread();
    InstallQtSynchronizeHook();
    m.SetOptions({opBevelOuter, opName1, opLimit});
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    m.SetValue(1.6f); // above the upper limit
    ASSERT_TRUE(m.Flashing());
    bool sawRed = false, sawYellow = false;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 3000 && !(sawRed && sawYellow)) {
        QTest::qWait(20);
        sawRed = sawRed || m.FlashColor() == clRed;
        sawYellow = sawYellow || m.FlashColor() == clYellow;
    }
    EXPECT_TRUE(sawRed);
    EXPECT_TRUE(sawYellow);
    m.SetValue(1.0f);
    EXPECT_FALSE(m.Flashing());
    RemoveQtSynchronizeHook();
}

TEST(Meter, AutoSizeStartsFromTenLabelHeights) {
    TestApp();
    TAb270Meter m;
    m.Loaded();
    Render(m);
    const TScaleSettings& s = m.ScaleSettings();
    const int w0 = 10 * s.TextH();
    const int h0 = AbRound((w0 - s.TextW()) / 1.18f + s.TextH());
    const int bevels = 2 * m.BevelOuter().TotalWidth() + 2 * m.BevelInner().TotalWidth();
    EXPECT_EQ(m.min_w(), std::max(w0 + 2 * m.BevelOuter().TotalWidth(),
                                  std::max(m.sName1().width(), m.sName2().width()) + bevels) +
                             2 * m.BevelInner().TotalWidth());
    EXPECT_EQ(m.min_h(), h0 + bevels + m.sName1().height() + m.sName2().height());
    QCoreApplication::processEvents(); // the resize is applied after the paint
    EXPECT_EQ(m.size(), QSize(m.min_w(), m.min_h()));
}
