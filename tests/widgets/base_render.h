#pragma once
// Shared helpers of the widget base suite: rendering a widget into an image.
#include <QColor>
#include <QImage>
#include <QWidget>

#include "widgets/AbColors.h"

// Background the images are filled with before a widget renders onto them, so untouched
// pixels are recognisable.
inline constexpr QRgb kBackdrop = 0xFF102030;

// Renders `w` (without its own background) onto an image filled with kBackdrop.
QImage RenderWidget(QWidget& w);
// Colour of an image pixel as a 0x00BBGGRR value.
TColor PixelColor(const QImage& image, int x, int y);
// Saves the image as <name>.png into $UEGO_PNG_DIR when that variable is set (for looking).
void SavePng(const QImage& image, const char* name);
// Whether any pixel in [x0, x1) x [y0, y1) differs from kBackdrop and from `except`.
bool HasInk(const QImage& image, int x0, int y0, int x1, int y1, QRgb except);
