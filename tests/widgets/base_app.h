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
