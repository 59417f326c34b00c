// The toggle switch: face layout, track and button pixels, orientation, the free-half mouse
// rule and the notification contract the polling switch relies on.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "base_render.h"
#include "widgets/AbSwitch.h"

namespace {

QRgb Rgb(TColor c) {
    return ToQColor(c).rgb();
}

// Draws only the face of `sw` onto a w x h image, as the widget composes it.
QImage DrawFace(TAbToggleSwitch& sw, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kBackdrop);
    QPainter p(&img);
    TAbCanvas canvas(p, sw.palette());
    sw.DrawSwitch(canvas, Rect(0, 0, w, h), sw.State(), sw.Vertical());
    return img;
}

// The main window's hidden polling switch.
void MakePollingSwitch(TAbToggleSwitch& sw) {
    sw.resize(33, 57);
    sw.SetTextOn("ON");
    sw.SetTextOff("OFF");
}

} // namespace

TEST(SwitchFace, ButtonAndTextAnchorsOnTheHalves) {
    TSwitchFace f = AbToggleSwitchFace(Rect(0, 0, 27, 51), false, true);
    EXPECT_EQ(f.Button, Rect(0, 25, 27, 51));
    EXPECT_EQ(f.Anchor, Point(13, 12));
    f = AbToggleSwitchFace(Rect(0, 0, 27, 51), true, true);
    EXPECT_EQ(f.Button, Rect(0, 0, 27, 25));
    EXPECT_EQ(f.Anchor, Point(13, 39));
    f = AbToggleSwitchFace(Rect(0, 0, 51, 27), true, false);
    EXPECT_EQ(f.Button, Rect(0, 0, 25, 27));
    EXPECT_EQ(f.Anchor, Point(39, 13));
    f = AbToggleSwitchFace(Rect(0, 0, 51, 27), false, false);
    EXPECT_EQ(f.Button, Rect(25, 0, 51, 27));
    EXPECT_EQ(f.Anchor, Point(12, 13));
}

TEST(SwitchFace, FreeHalfIsMeasuredOnTheWholeWidget) {
    EXPECT_TRUE(AbSwitchFreeHalf(33, 57, true, true, 5, 40));
    EXPECT_FALSE(AbSwitchFreeHalf(33, 57, true, true, 5, 28));
    EXPECT_TRUE(AbSwitchFreeHalf(33, 57, false, true, 5, 27));
    EXPECT_FALSE(AbSwitchFreeHalf(33, 57, false, true, 5, 28));
    EXPECT_TRUE(AbSwitchFreeHalf(57, 33, true, false, 40, 5));
    EXPECT_TRUE(AbSwitchFreeHalf(57, 33, false, false, 27, 5));
    EXPECT_FALSE(AbSwitchFreeHalf(57, 33, false, false, 28, 5));
}

TEST(SwitchPaint, TrackAndButtonFollowTheState) {
    TAbToggleSwitch sw;
    MakePollingSwitch(sw);
    QImage img = DrawFace(sw, 27, 51);
    SavePng(img, "switch_face_off");
    // Unchecked: red track above, button below with a black outline and a 3-D frame.
    EXPECT_EQ(img.pixel(2, 2), Rgb(clRed));
    EXPECT_EQ(img.pixel(13, 25), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(0, 50), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(13, 26), Rgb(clBtnHighlight));
    EXPECT_EQ(img.pixel(13, 49), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(3, 29), Rgb(clBtnFace));
    // Grip lines start two pixels into the framed button.
    EXPECT_EQ(img.pixel(4, 30), Rgb(clBtnHighlight));
    EXPECT_EQ(img.pixel(4, 31), Rgb(clBtnShadow));
    // "OFF" is written around the anchor (13, 12).
    EXPECT_TRUE(HasInk(img, 4, 6, 23, 18, Rgb(clRed)));
    sw.SetChecked(true);
    img = DrawFace(sw, 27, 51);
    SavePng(img, "switch_face_on");
    EXPECT_EQ(img.pixel(2, 48), Rgb(clLime));
    EXPECT_EQ(img.pixel(13, 24), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(3, 3), Rgb(clBtnFace));
    EXPECT_TRUE(HasInk(img, 4, 33, 23, 45, Rgb(clLime)));
    // SwapGraphic moves the button back to the lower half; colour and text stay.
    sw.SetSwapGraphic(true);
    img = DrawFace(sw, 27, 51);
    EXPECT_EQ(img.pixel(2, 2), Rgb(clLime));
    EXPECT_EQ(img.pixel(3, 29), Rgb(clBtnFace));
    EXPECT_TRUE(HasInk(img, 4, 6, 23, 18, Rgb(clLime)));
}

TEST(SwitchPaint, ButtonFrameWidth) {
    TAbToggleSwitch sw;
    sw.SetBtnBevelWidth(-1);
    EXPECT_EQ(sw.BtnBevelWidth(), 2);
    sw.SetBtnBevelWidth(0);
    EXPECT_EQ(sw.BtnBevelWidth(), 0);
    const QImage img = DrawFace(sw, 27, 51);
    // No frame: the face colour right inside the outline.
    EXPECT_EQ(img.pixel(13, 26), Rgb(clBtnFace));
    EXPECT_EQ(img.pixel(1, 27), Rgb(clBtnFace));
    EXPECT_EQ(img.pixel(2, 28), Rgb(clBtnHighlight));
    EXPECT_EQ(img.pixel(2, 29), Rgb(clBtnShadow));
}

TEST(SwitchPaint, WholeWidgetWithItsLoweredBevel) {
    TAbToggleSwitch sw;
    MakePollingSwitch(sw);
    QImage img = RenderWidget(sw);
    SavePng(img, "switch_off");
    EXPECT_EQ(sw.SwitchRect(), Rect(3, 3, 30, 54));
    // Bevel fill, lowered ring (shadow top-left, highlight bottom-right), black inner line.
    EXPECT_EQ(img.pixel(0, 20), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(32, 20), Rgb(clBtnHighlight));
    EXPECT_EQ(img.pixel(1, 20), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(3 + 2, 3 + 2), Rgb(clRed));
    EXPECT_EQ(img.pixel(3 + 3, 3 + 29), Rgb(clBtnFace));
    sw.SetChecked(true);
    img = RenderWidget(sw);
    SavePng(img, "switch_on");
    EXPECT_EQ(img.pixel(3 + 2, 3 + 48), Rgb(clLime));
}

TEST(SwitchPaint, FlatSwitch) {
    TAbToggleSwitch sw;
    EXPECT_EQ(sw.size(), QSize(25, 57));
    EXPECT_EQ(sw.Mode(), mSwitch);
    sw.SetOrientation(boHorizontal);
    EXPECT_EQ(sw.size(), QSize(57, 25));
    EXPECT_FALSE(sw.Vertical());
    const QImage img = RenderWidget(sw);
    SavePng(img, "switch_flat_off");
    // Unchecked and flat: button on the right half, red track on the left.
    EXPECT_EQ(img.pixel(3 + 2, 12), Rgb(clRed));
    EXPECT_EQ(img.pixel(3 + 40, 3 + 3), Rgb(clBtnFace));
    EXPECT_EQ(img.pixel(3 + 30, 3 + 5), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(3 + 31, 3 + 5), Rgb(clBtnHighlight));
    sw.SetOrientation(boVertical);
    EXPECT_EQ(sw.size(), QSize(25, 57));
    EXPECT_TRUE(sw.Vertical());
}

TEST(SwitchNotify, HiddenDisabledPollingSwitch) {
    TAbToggleSwitch sw;
    MakePollingSwitch(sw);
    sw.hide();
    sw.setEnabled(false);
    int calls = 0;
    sw.OnStatusChanged = [&](QObject* s) {
        EXPECT_EQ(s, &sw);
        ++calls;
    };
    sw.SetChecked(true);
    EXPECT_EQ(calls, 1);
    sw.SetChecked(true);
    EXPECT_EQ(calls, 1);
    sw.SetChecked(false);
    EXPECT_EQ(calls, 2);
    // Nothing was laid out or drawn while hidden.
    EXPECT_EQ(sw.SwitchRect(), TRect());
}

TEST(SwitchNotify, ClickOnTheFreeHalfToggles) {
    QWidget form;
    form.resize(100, 100);
    TAbToggleSwitch sw(&form);
    MakePollingSwitch(sw);
    int calls = 0, downs = 0;
    sw.OnStatusChanged = [&](QObject*) { ++calls; };
    sw.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    form.show();
    // Unchecked: the button covers the lower half; a click there does nothing at all.
    QTest::mouseClick(&sw, Qt::LeftButton, {}, QPoint(16, 45));
    EXPECT_FALSE(sw.Checked());
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(downs, 0);
    // The free upper half toggles; the button jumps up.
    QTest::mouseClick(&sw, Qt::LeftButton, {}, QPoint(16, 10));
    EXPECT_TRUE(sw.Checked());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(downs, 1);
    QTest::mouseClick(&sw, Qt::LeftButton, {}, QPoint(16, 10));
    EXPECT_TRUE(sw.Checked());
    QTest::mouseClick(&sw, Qt::LeftButton, {}, QPoint(16, 45));
    EXPECT_FALSE(sw.Checked());
    EXPECT_EQ(calls, 2);
    // Other buttons reach the mouse event but change nothing.
    QTest::mouseClick(&sw, Qt::RightButton, {}, QPoint(16, 45));
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(calls, 2);
}

TEST(SwitchNotify, SettingsRepaintWithoutNotifying) {
    TAbToggleSwitch sw;
    int calls = 0;
    sw.OnStatusChanged = [&](QObject*) { ++calls; };
    sw.SetColorOn(clGreen);
    sw.SetTextOn("I");
    sw.BevelOuter().SetWidth(3);
    sw.SetSwapGraphic(true);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(sw.ColorOn(), clGreen);
    EXPECT_EQ(sw.TextOn(), "I");
}
