// The bevel painter and the widget base: content rectangle, ring colours, update counting.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "base_render.h"
#include "widgets/_GClass.h"

namespace {

QPalette TestPalette() {
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(200, 200, 200));
    pal.setColor(QPalette::Dark, QColor(100, 100, 100));
    pal.setColor(QPalette::Light, QColor(250, 250, 250));
    return pal;
}

// Paints `bevel` into a w x h image; returns the content rectangle.
TRect PaintBevel(TAbSBevel& bevel, QImage& image, int w, int h) {
    image = QImage(w, h, QImage::Format_RGB32);
    image.fill(kBackdrop);
    QPainter p(&image);
    TAbCanvas canvas(p, TestPalette());
    TRect r = Rect(0, 0, w, h);
    bevel.PaintFilledBevel(canvas, r);
    return r;
}

} // namespace

TEST(BaseBevel, TotalWidthFollowsRingsLinesAndSpacing) {
    TAbSBevel b;
    EXPECT_EQ(b.TotalWidth(), 7);
    b.SetBevelLine(blOuter);
    EXPECT_EQ(b.TotalWidth(), 8);
    b.SetBevelLine(blInner);
    EXPECT_EQ(b.TotalWidth(), 8);
    b.SetBevelLine(blBoth);
    EXPECT_EQ(b.TotalWidth(), 9);
    b.SetWidth(-1);
    EXPECT_EQ(b.Width(), 2);
    b.SetWidth(0);
    EXPECT_EQ(b.TotalWidth(), 7);
}

TEST(BaseBevel, ChangesInsideReachTheOwnerOnce) {
    TAbSBevel b;
    int changes = 0;
    QObject* sender = nullptr;
    b.OnChange = [&](QObject* s) {
        ++changes;
        sender = s;
    };
    b.SetSpacing(5); // equal: nothing
    b.SetWidth(-3);  // ignored
    EXPECT_EQ(changes, 0);
    b.SetSpacing(6);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &b);
    b.Offset().SetLeft(3);
    b.SurfaceGrad().SetVisible(true);
    b.SurfaceGrad().SetVisible(true);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(sender, &b);
}

TEST(BaseBevel, BothLinesWidthTwoSpacingFiveLeavesNinePixels) {
    TAbSBevel b;
    b.SetBevelLine(blBoth);
    QImage img;
    EXPECT_EQ(PaintBevel(b, img, 60, 40), Rect(9, 9, 51, 31));
    b.Offset().SetLeft(2);
    b.Offset().SetBottom(3);
    EXPECT_EQ(PaintBevel(b, img, 60, 40), Rect(11, 9, 51, 28));
    // Outer line at the edge, inner line just inside the two rings.
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(59, 39), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(3, 20), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(56, 20), qRgb(0, 0, 0));
    // Rings of a raised bevel: highlight top-left, shadow bottom-right.
    EXPECT_EQ(img.pixel(1, 20), qRgb(250, 250, 250));
    EXPECT_EQ(img.pixel(58, 20), qRgb(100, 100, 100));
    // The margin and content show the fill colour.
    EXPECT_EQ(img.pixel(6, 20), qRgb(200, 200, 200));
    EXPECT_EQ(img.pixel(30, 20), qRgb(200, 200, 200));
}

TEST(BaseBevel, MainMeterBevelLeavesEightPixels) {
    TAbSBevel b;
    b.SetBevelLine(blOuter);
    QImage img;
    EXPECT_EQ(PaintBevel(b, img, 50, 50), Rect(8, 8, 42, 42));
    EXPECT_EQ(img.pixel(25, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(25, 1), qRgb(250, 250, 250));
    EXPECT_EQ(img.pixel(25, 2), qRgb(250, 250, 250));
    EXPECT_EQ(img.pixel(25, 3), qRgb(200, 200, 200));
    EXPECT_EQ(img.pixel(25, 48), qRgb(100, 100, 100));
    // Top-right corner of each ring belongs to the shadow edge.
    EXPECT_EQ(img.pixel(48, 1), qRgb(100, 100, 100));
    // Bottom-left corner too.
    EXPECT_EQ(img.pixel(1, 48), qRgb(100, 100, 100));
}

TEST(BaseBevel, RingColoursRunFromOutsideToInside) {
    TAbSBevel b;
    b.SetColorHighLightFrom(RGB(0, 0, 0));
    b.SetColorHighLightTo(RGB(200, 0, 0));
    b.SetColorShadowFrom(RGB(0, 0, 0));
    b.SetColorShadowTo(RGB(0, 0, 100));
    QImage img;
    PaintBevel(b, img, 30, 30);
    // Raised: ring 1 halfway, ring 2 exactly the To colours.
    EXPECT_EQ(img.pixel(10, 0), qRgb(100, 0, 0));
    EXPECT_EQ(img.pixel(10, 1), qRgb(200, 0, 0));
    EXPECT_EQ(img.pixel(10, 29), qRgb(0, 0, 50));
    EXPECT_EQ(img.pixel(10, 28), qRgb(0, 0, 100));

    // Lowered: shadow run on top and left, highlight run bottom and right, From and To swapped.
    b.SetStyle(bsLowered);
    PaintBevel(b, img, 30, 30);
    EXPECT_EQ(img.pixel(0, 10), qRgb(0, 0, 50));
    EXPECT_EQ(img.pixel(1, 10), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(29, 10), qRgb(100, 0, 0));
    EXPECT_EQ(img.pixel(28, 10), qRgb(0, 0, 0));
}

TEST(BaseBevel, EqualRunColoursKeepSystemColours) {
    TAbSBevel b;
    const QPalette pal = TestPalette();
    EXPECT_EQ(b.RingTopColor(true, 1, pal), clBtnHighlight);
    EXPECT_EQ(b.RingBottomColor(true, 2, pal), clBtnShadow);
    EXPECT_EQ(b.RingTopColor(false, 1, pal), clBtnShadow);
    EXPECT_EQ(b.RingBottomColor(false, 2, pal), clBtnHighlight);
}

TEST(BaseBevel, SurfaceGradientFillsInsideTheRings) {
    TAbSBevel b;
    b.SetBevelLine(blOuter);
    b.SurfaceGrad().SetVisible(true);
    b.SurfaceGrad().SetColorFrom(RGB(255, 0, 0));
    b.SurfaceGrad().SetColorTo(RGB(0, 0, 255));
    QImage img;
    PaintBevel(b, img, 103, 40);
    // Gradient area: 3 px in (outer line + two rings), From at its left, To at its right.
    EXPECT_EQ(img.pixel(3, 20), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(99, 20), qRgb(0, 0, 255));
    const QRgb mid = img.pixel(51, 20);
    EXPECT_GT(qRed(mid), 90);
    EXPECT_GT(qBlue(mid), 90);
    EXPECT_EQ(img.pixel(2, 20), qRgb(250, 250, 250));
}

namespace {

class Counting : public TAbGraphicControl {
public:
    void ParamChange(QObject* Sender) override {
        ++Calls;
        LastSender = Sender;
    }
    int Calls = 0;
    QObject* LastSender = nullptr;
};

} // namespace

TEST(BaseGraphicControl, UpdatesFoldIntoOneParamChange) {
    Counting c;
    EXPECT_EQ(c.UpdateCount(), 0);
    EXPECT_FALSE(c.autoFillBackground());
    c.Change();
    EXPECT_EQ(c.Calls, 1);
    EXPECT_EQ(c.LastSender, &c);
    c.BeginUpdate();
    c.BeginUpdate();
    c.Change();
    c.Change();
    c.EndUpdate();
    EXPECT_EQ(c.Calls, 1);
    c.EndUpdate();
    EXPECT_EQ(c.Calls, 2);
    // Unmatched EndUpdate stays at 0 and still changes.
    c.EndUpdate();
    EXPECT_EQ(c.UpdateCount(), 0);
    EXPECT_EQ(c.Calls, 3);
}
