#include "AbGeometry.h"

#include <cmath>
#include <numbers>

int AbRound(double value) {
    // The default floating-point rounding mode rounds exact halves to even.
    return int(std::nearbyint(value));
}

TColor AbCalcColor(TColor ColFrom, TColor ColTo, int Steps, int step, const QPalette& palette) {
    const TColor from = ColorToRGB(ColFrom, palette);
    const TColor to = ColorToRGB(ColTo, palette);
    if (from == to)
        return ColFrom;
    if (Steps == 0)
        Steps = 1;
    auto channel = [&](int f, int t) { return f + AbRound(double(t - f) / Steps * step); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

TColor AbCalcColor(TColor ColFrom, TColor ColTo, int Steps, int step) {
    const TColor from = ColorToRGB(ColFrom);
    const TColor to = ColorToRGB(ColTo);
    if (from == to)
        return ColFrom;
    // Both resolved already: interpolate the plain values.
    return AbCalcColor(from, to, Steps, step, QPalette());
}

TPoint AbCenterPoint(const TRect& r) {
    return {r.Left + (r.Right - r.Left) / 2, r.Top + (r.Bottom - r.Top) / 2};
}

void AbBorder(TRect& r, int n) {
    r.Left += n;
    r.Top += n;
    r.Right -= n;
    r.Bottom -= n;
}

TPoint AbRotate(TPoint A, TPoint B, double Alpha, bool DRight) {
    const float rad = float(Alpha * std::numbers::pi / 180.0);
    const double s = std::sin(rad);
    const double c = std::cos(rad);
    const double dx = A.X - B.X;
    const double dy = A.Y - B.Y;
    if (DRight)
        return {B.X + AbRound(c * dx - s * dy), B.Y + AbRound(c * dy + s * dx)};
    return {B.X + AbRound(c * dx + s * dy), B.Y + AbRound(c * dy - s * dx)};
}
