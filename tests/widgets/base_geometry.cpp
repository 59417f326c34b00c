// Colour runs, geometry helpers and gradient bands: pure functions, no painting.
#include <gtest/gtest.h>

#include <QApplication>

#include "widgets/AbGeometry.h"
#include "widgets/AbGradFill.h"

TEST(BaseColors, SystemColoursResolveThroughThePalette) {
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    pal.setColor(QPalette::Dark, QColor(4, 5, 6));
    pal.setColor(QPalette::Light, QColor(7, 8, 9));
    EXPECT_EQ(ColorToRGB(clBtnFace, pal), RGB(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clBtnShadow, pal), RGB(4, 5, 6));
    EXPECT_EQ(ColorToRGB(clBtnHighlight, pal), RGB(7, 8, 9));
    EXPECT_EQ(ColorToRGB(clLime, pal), 0x0000FF00u);
    EXPECT_EQ(clRed, 0x000000FFu);
    EXPECT_EQ(clBtnFace, 0xFF00000Fu);
    EXPECT_EQ(ToQColor(clBlue, pal), QColor(0, 0, 255));
}

TEST(BaseColors, CalcColorRunsFromFromToTo) {
    EXPECT_EQ(AbCalcColor(clBlack, clWhite, 2, 0), clBlack);
    EXPECT_EQ(AbCalcColor(clBlack, clWhite, 2, 2), clWhite);
    // 255 / 2 = 127.5 rounds to the even neighbour 128.
    EXPECT_EQ(AbCalcColor(clBlack, clWhite, 2, 1), RGB(128, 128, 128));
    // 1 / 2 * 1 = 0.5 rounds down to 0 (even), 3 / 2 = 1.5 rounds up to 2.
    EXPECT_EQ(AbCalcColor(RGB(0, 0, 0), RGB(1, 3, 0), 2, 1), RGB(0, 2, 0));
    // Downward runs and zero steps (treated as one).
    EXPECT_EQ(AbCalcColor(RGB(200, 100, 0), RGB(100, 200, 50), 4, 1), RGB(175, 125, 12));
    EXPECT_EQ(AbCalcColor(clRed, clBlue, 0, 1), clBlue);
}

TEST(BaseColors, CalcColorKeepsEqualColoursAsTheyAre) {
    EXPECT_EQ(AbCalcColor(clBtnShadow, clBtnShadow, 2, 1), clBtnShadow);
    QPalette pal;
    pal.setColor(QPalette::Dark, QColor(10, 20, 30));
    // A system colour equal in RGB to a plain one still comes back unchanged.
    EXPECT_EQ(AbCalcColor(clBtnShadow, RGB(10, 20, 30), 2, 1, pal), clBtnShadow);
    EXPECT_EQ(AbCalcColor(clBtnShadow, clBlack, 2, 2, pal), clBlack);
    EXPECT_EQ(AbCalcColor(clBtnShadow, clBlack, 2, 0, pal), RGB(10, 20, 30));
}

TEST(BaseGeometry, CenterBorderAndOffset) {
    EXPECT_EQ(AbCenterPoint(Rect(0, 0, 13, 13)), Point(6, 6));
    EXPECT_EQ(AbCenterPoint(Rect(10, 20, 15, 31)), Point(12, 25));
    EXPECT_EQ(AbCenterPoint(Rect(-5, -5, 0, 0)), Point(-3, -3));
    TRect r = Rect(0, 0, 100, 50);
    AbBorder(r, 8);
    EXPECT_EQ(r, Rect(8, 8, 92, 42));
    AbBorder(r, -8);
    EXPECT_EQ(r, Rect(0, 0, 100, 50));

    TAbOffset off;
    off.SetLeft(1);
    off.SetTop(2);
    off.SetRight(3);
    off.SetBottom(4);
    EXPECT_EQ(off.SetOffset(Rect(10, 10, 50, 50)), Rect(11, 12, 47, 46));
    EXPECT_EQ(FromQRect(ToQRect(Rect(3, 4, 10, 20))), Rect(3, 4, 10, 20));
    EXPECT_EQ(ToQRect(Rect(3, 4, 10, 20)), QRect(3, 4, 7, 16));
}

TEST(BaseGeometry, RotateTurnsClockwiseOnTheScreen) {
    const TPoint c{100, 100};
    EXPECT_EQ(AbRotate({100, 60}, c, 90, true), Point(140, 100));
    EXPECT_EQ(AbRotate({100, 60}, c, 180, true), Point(100, 140));
    EXPECT_EQ(AbRotate({100, 60}, c, -90, true), Point(60, 100));
    EXPECT_EQ(AbRotate({100, 60}, c, 90, false), Point(60, 100));
    EXPECT_EQ(AbRotate({100, 60}, c, 0, true), Point(100, 60));
    // 45 degrees: 40 * sin 45 = 28.28.
    EXPECT_EQ(AbRotate({100, 60}, c, 45, true), Point(128, 72));
    EXPECT_EQ(AbRotate({100, 60}, c, -135, true), Point(72, 128));
}

TEST(BaseGeometry, RoundHalvesToEven) {
    EXPECT_EQ(AbRound(0.5), 0);
    EXPECT_EQ(AbRound(1.5), 2);
    EXPECT_EQ(AbRound(2.5), 2);
    EXPECT_EQ(AbRound(-0.5), 0);
    EXPECT_EQ(AbRound(-1.5), -2);
    EXPECT_EQ(AbRound(2.4999), 2);
}

TEST(BaseGradient, BandsFollowTheColourDifferenceAndTheArea) {
    // Largest channel difference 100, 300 px wide: 100 bands.
    EXPECT_EQ(AbGradBandCount(RGB(0, 0, 0), RGB(100, 50, 0), gsHorizontal1, 300, 10), 100);
    // Only 40 px along the run: 40 bands.
    EXPECT_EQ(AbGradBandCount(RGB(0, 0, 0), RGB(100, 50, 0), gsVertical1, 300, 40), 40);
    EXPECT_EQ(AbGradBandCount(RGB(5, 5, 5), RGB(5, 5, 6), gsHorizontal1, 300, 40), 1);
}

TEST(BaseGradient, EveryStyleRunsFromFromToTo) {
    const int w = 40, h = 20;
    // Where each style has its From (position 0) and its To (position 1) colour.
    struct Ends {
        TGradientStyle style;
        TPoint from, to;
    };
    const Ends ends[] = {
        {gsHorizontal1, {0, 10}, {39, 10}}, {gsHorizontal2, {0, 10}, {20, 10}},
        {gsHorizontal3, {39, 10}, {0, 10}}, {gsVertical1, {20, 0}, {20, 19}},
        {gsVertical2, {20, 0}, {20, 10}},   {gsVertical3, {20, 19}, {20, 0}},
        {gsElliptic1, {0, 0}, {20, 10}},    {gsElliptic2, {39, 19}, {13, 6}},
        {gsElliptic3, {0, 0}, {26, 13}},    {gsRectangle, {0, 10}, {20, 10}},
        {gsDiamond1, {0, 0}, {20, 10}},     {gsDiamond2, {20, 10}, {0, 0}},
        {gsTopLeft, {0, 0}, {39, 19}},      {gsTopRight, {39, 0}, {0, 19}},
    };
    for (const Ends& e : ends) {
        SCOPED_TRACE(int(e.style));
        EXPECT_LT(AbGradPosition(e.style, e.from.X, e.from.Y, w, h), 0.1);
        EXPECT_GT(AbGradPosition(e.style, e.to.X, e.to.Y, w, h), 0.9);
        EXPECT_EQ(AbGradBand(AbGradPosition(e.style, e.from.X, e.from.Y, w, h), 10), 0);
        EXPECT_EQ(AbGradBand(AbGradPosition(e.style, e.to.X, e.to.Y, w, h), 10), 9);
    }
}
