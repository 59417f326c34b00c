#pragma once
// Colours as 32-bit values: a plain colour is 0x00BBGGRR, a value 0xFF0000nn is system colour
// number nn, resolved through the widget's palette when drawing.
#include <QColor>
#include <QPalette>
#include <cstdint>

using TColor = uint32_t;

constexpr TColor RGB(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
    return int((c >> 16) & 0xFF);
}

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);

// System colours (high byte 0xFF, low byte the system colour index).
constexpr TColor clSystemColor = 0xFF000000u;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;

constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000u) == clSystemColor;
}

// The plain 0x00BBGGRR value of a colour; system colours through `palette`.
TColor ColorToRGB(TColor c, const QPalette& palette);
// The same with the application's palette (a fixed light theme when no application exists).
TColor ColorToRGB(TColor c);

QColor ToQColor(TColor c, const QPalette& palette);
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);
