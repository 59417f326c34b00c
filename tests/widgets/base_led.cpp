// The LED indicator: lamp and caption layout, lamp shapes and colours, caption text blocks.
#include <gtest/gtest.h>

#include <QFont>

#include "base_render.h"
#include "widgets/AbFlashT.h"
#include "widgets/AbLED.h"

namespace {

QRgb Rgb(TColor c) {
    return ToQColor(c).rgb();
}

// The main window's "Disk Log Active" lamp.
void MakeDiskLogLamp(TAbLED& led) {
    QFont f("DejaVu Sans");
    f.setPixelSize(11);
    led.setFont(f);
    led.resize(103, 33);
    led.SetCaption("Disk Log Active");
}

} // namespace

TEST(LEDText, AnchorCodesPlaceTheLine) {
    EXPECT_EQ(AbTextOrigin(50, 20, 10, 8, toTopLeft), Point(50, 20));
    EXPECT_EQ(AbTextOrigin(50, 20, 10, 8, toTopCenter), Point(45, 20));
    EXPECT_EQ(AbTextOrigin(50, 20, 10, 8, toTopRight), Point(40, 20));
    EXPECT_EQ(AbTextOrigin(50, 20, 11, 9, toMidLeft), Point(50, 16));
    EXPECT_EQ(AbTextOrigin(50, 20, 11, 9, toMidCenter), Point(45, 16));
    EXPECT_EQ(AbTextOrigin(50, 20, 11, 9, toMidRight), Point(39, 16));
    EXPECT_EQ(AbTextOrigin(50, 20, 10, 8, toBotLeft), Point(50, 12));
    EXPECT_EQ(AbTextOrigin(50, 20, 10, 8, toBotCenter), Point(45, 12));
    EXPECT_EQ(AbTextOrigin(50, 20, 10, 8, toBotRight), Point(40, 12));
}

TEST(LEDText, MultiLineBlocksStayOnTheAnchor) {
    auto lines = AbTextLines(16, 13, "Disk|Log", toMidLeft);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, "Disk");
    EXPECT_EQ(lines[0].Y, 16 - 13 / 2);
    EXPECT_EQ(lines[1].Y, 16 - 13 / 2 + 13);
    lines = AbTextLines(40, 10, "a|b|c", toBotCenter);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Y, 20);
    EXPECT_EQ(lines[2].Y, 40);
    // A trailing bar moves the block but draws no empty line; an inner empty line stays.
    lines = AbTextLines(16, 10, "ON|", toMidCenter);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Y, 11);
    lines = AbTextLines(0, 10, "a||b", toTopLeft);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].Text, "");
    EXPECT_EQ(lines[2].Y, 20);
    EXPECT_TRUE(AbTextLines(0, 10, "", toTopLeft).empty());
}

TEST(LEDLayout, LampAndCaptionByPosition) {
    TLED led;
    TLEDLayout l = AbLEDLayout(103, 33, led, lpLeft, 5);
    EXPECT_EQ(l.Lamp, Rect(0, 10, 13, 23));
    EXPECT_EQ(l.Anchor, Point(18, 16));
    EXPECT_EQ(l.Pos, toMidLeft);
    led.SetWidth(20);
    led.SetHeight(20);
    l = AbLEDLayout(73, 33, led, lpRight, 5);
    EXPECT_EQ(l.Lamp, Rect(53, 6, 73, 26));
    EXPECT_EQ(l.Anchor, Point(48, 16));
    EXPECT_EQ(l.Pos, toMidRight);
    l = AbLEDLayout(73, 33, led, lpTop, 5);
    EXPECT_EQ(l.Lamp, Rect(26, 0, 46, 20));
    EXPECT_EQ(l.Anchor, Point(36, 25));
    EXPECT_EQ(l.Pos, toTopCenter);
    l = AbLEDLayout(73, 33, led, lpBottom, 5);
    EXPECT_EQ(l.Lamp, Rect(26, 13, 46, 33));
    EXPECT_EQ(l.Anchor, Point(36, 8));
    EXPECT_EQ(l.Pos, toBotCenter);
}

TEST(LEDLayout, RoundLampsAreCirclesAndSizesAreLimited) {
    TLED led;
    int changes = 0;
    led.OnChange = [&](QObject*) { ++changes; };
    led.SetWidth(3);
    led.SetHeight(81);
    EXPECT_EQ(changes, 0);
    led.SetWidth(4);
    EXPECT_EQ(led.Width(), 4);
    led.SetHeight(80);
    EXPECT_EQ(led.Height(), 80);
    EXPECT_EQ(changes, 2);
    led.SetWidth(20);
    led.SetHeight(10);
    EXPECT_EQ(AbLEDLayout(100, 40, led, lpLeft, 5).Lamp, Rect(0, 10, 20, 30));
    led.SetShape(sRectangle);
    EXPECT_EQ(AbLEDLayout(100, 40, led, lpLeft, 5).Lamp, Rect(0, 15, 20, 25));
}

TEST(LEDPaint, LampColoursAndCaptionBesideIt) {
    TAbLED led;
    MakeDiskLogLamp(led);
    QImage img = RenderWidget(led);
    SavePng(img, "led_off");
    EXPECT_EQ(led.LED().Rect, Rect(0, 10, 13, 23));
    EXPECT_EQ(img.pixel(6, 16), Rgb(clBtnFace));
    // The lamp's outline is drawn in the button shadow colour around it.
    EXPECT_EQ(img.pixel(6, 8), kBackdrop);
    // Caption ink starts at x = 18, centred on y = 16; no background anywhere else.
    EXPECT_FALSE(HasInk(img, 13, 0, 18, 33, kBackdrop));
    EXPECT_TRUE(HasInk(img, 18, 10, 22, 23, kBackdrop));
    EXPECT_FALSE(HasInk(img, 14, 0, 103, 9, kBackdrop));
    EXPECT_FALSE(HasInk(img, 14, 24, 103, 33, kBackdrop));
    led.SetChecked(true);
    img = RenderWidget(led);
    SavePng(img, "led_on");
    EXPECT_EQ(img.pixel(6, 16), Rgb(clLime));
    led.LED().SetColorOn(clRed);
    EXPECT_EQ(RenderWidget(led).pixel(6, 16), Rgb(clRed));
}

TEST(LEDPaint, RightLampAndTwoLineCaption) {
    TAbLED led;
    MakeDiskLogLamp(led);
    led.resize(73, 33);
    led.LED().SetWidth(20);
    led.LED().SetHeight(20);
    led.SetLED_Position(lpRight);
    led.SetCaption("Port|Open");
    led.SetChecked(true);
    const QImage img = RenderWidget(led);
    SavePng(img, "led_right_two_lines");
    EXPECT_EQ(led.LED().Rect, Rect(53, 6, 73, 26));
    EXPECT_EQ(img.pixel(63, 16), Rgb(clLime));
    // The caption ends Spacing pixels left of the lamp.
    EXPECT_FALSE(HasInk(img, 48, 0, 53, 33, kBackdrop));
    EXPECT_TRUE(HasInk(img, 40, 0, 48, 33, kBackdrop));
    // Two lines as a block centred on y = 16: ink above and below the single-line band.
    EXPECT_TRUE(HasInk(img, 0, 0, 48, 10, kBackdrop));
    EXPECT_TRUE(HasInk(img, 0, 22, 48, 33, kBackdrop));
}

TEST(LEDPaint, EmptyCaptionDrawsOnlyTheLamp) {
    TAbLED led;
    MakeDiskLogLamp(led);
    led.SetCaption("");
    const QImage img = RenderWidget(led);
    EXPECT_FALSE(HasInk(img, 14, 0, 103, 33, kBackdrop));
    EXPECT_EQ(img.pixel(6, 16), Rgb(clBtnFace));
}

TEST(LEDPaint, RoundAndRectangleShapes) {
    TAbLED led;
    led.resize(60, 40);
    led.SetCaption("");
    led.LED().SetWidth(20);
    led.LED().SetHeight(10);
    led.SetChecked(true);
    QImage img = RenderWidget(led);
    SavePng(img, "led_round_20x10");
    EXPECT_EQ(led.LED().Rect, Rect(0, 10, 20, 30));
    EXPECT_EQ(img.pixel(10, 12 + 10), Rgb(clLime));
    // A 20 x 20 circle: lit near its top and bottom, not at the corners of its square.
    EXPECT_EQ(img.pixel(10, 13), Rgb(clLime));
    EXPECT_EQ(img.pixel(10, 27), Rgb(clLime));
    EXPECT_EQ(img.pixel(0, 10), kBackdrop);
    EXPECT_EQ(img.pixel(19, 29), kBackdrop);
    led.LED().SetShape(sRectangle);
    img = RenderWidget(led);
    SavePng(img, "led_rect_20x10");
    EXPECT_EQ(led.LED().Rect, Rect(0, 15, 20, 25));
    EXPECT_EQ(img.pixel(10, 20), Rgb(clLime));
    EXPECT_EQ(img.pixel(0, 15), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(19, 24), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(10, 14), kBackdrop);
    EXPECT_EQ(img.pixel(10, 25), kBackdrop);
    // Arrows and diamonds fill in the state colour.
    for (TLEDShape s :
         {sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sDiamondLeft, sDiamondRight}) {
        led.LED().SetShape(s);
        img = RenderWidget(led);
        EXPECT_EQ(img.pixel(10, 20), Rgb(clLime)) << int(s);
    }
}

TEST(LEDPaint, HiddenLampShowsItsStateAtTheNextPaint) {
    QWidget form;
    form.resize(120, 60);
    TAbLED led(&form);
    MakeDiskLogLamp(led);
    led.hide();
    led.SetChecked(true);
    led.SetChecked(false);
    led.SetChecked(true);
    led.show();
    EXPECT_EQ(RenderWidget(led).pixel(6, 16), Rgb(clLime));
}

namespace {

// Pixels of `colour` when only the lamp rectangle of `led` is repainted.
int LampOnlyPixels(TAbLED& led, TColor colour) {
    QImage img(led.size(), QImage::Format_RGB32);
    img.fill(kBackdrop);
    led.render(&img, QPoint(), QRegion(ToQRect(led.LED().Rect)), QWidget::DrawChildren);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == ToQColor(colour).rgb();
    return n;
}

} // namespace

TEST(LEDPaint, FlashPhasesRedrawOnlyTheLamp) {
    QWidget form;
    form.resize(120, 60);
    TAbLED led(&form);
    MakeDiskLogLamp(led);
    form.show();
    RenderWidget(led);
    led.SetFlashing(true);
    led.SetChecked(true);
    ASSERT_EQ(dynFlashList.size(), 1u);
    EXPECT_GT(LampOnlyPixels(led, clLime), 50);
    SendFlashMessage(&led, 0, 0);
    EXPECT_EQ(LampOnlyPixels(led, clLime), 0);
    EXPECT_GT(LampOnlyPixels(led, clBtnFace), 50);
    SendFlashMessage(&led, 0, 1);
    EXPECT_GT(LampOnlyPixels(led, clLime), 50);
    // A full paint shows the steady checked look.
    SendFlashMessage(&led, 0, 0);
    EXPECT_EQ(RenderWidget(led).pixel(6, 16), ToQColor(clLime).rgb());
    led.SetChecked(false);
    EXPECT_TRUE(dynFlashList.empty());
    FinalizeFlashService();
}
