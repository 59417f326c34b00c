#pragma once
// Colour values of the numeric edit field: RGB stored as 0x00BBGGRR, or a system colour
// (high byte 0xFF, low byte the system colour index) resolved through the palette.
#include <cstdint>

#include <QColor>
#include <QPalette>

namespace AbNumEditColors {
inline constexpr uint32_t clWindow = 0xFF000005u; // system colour: window background
inline constexpr uint32_t clRed = 0x000000FFu;
inline constexpr uint32_t clLime = 0x0000FF00u;
} // namespace AbNumEditColors

// The colour as Qt draws it; system colours come from `palette`.
QColor NumEditQColor(uint32_t color, const QPalette& palette);
// A Qt colour as a 0x00BBGGRR value.
uint32_t NumEditColorValue(const QColor& color);
