#pragma once
// Integer rectangles and points with exclusive right and bottom edges, and the pure helpers
// the round widgets build on: colour runs, centre point, inset and rotation.
#include <QPoint>
#include <QRect>

#include "AbColors.h"

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left and Top belong to the rectangle, Right and Bottom do not.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TPoint Point(int x, int y) {
    return {x, y};
}
inline QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
inline TRect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
inline QPoint ToQPoint(const TPoint& p) {
    return QPoint(p.X, p.Y);
}

// Rounds to the nearest integer, exact halves to the even neighbour.
int AbRound(double value);

// Colour `step` of a run of `Steps` steps from ColFrom (step 0) to ColTo (step Steps).
// Equal colours (after resolving) give ColFrom unchanged, so a system colour stays one.
TColor AbCalcColor(TColor ColFrom, TColor ColTo, int Steps, int step, const QPalette& palette);
TColor AbCalcColor(TColor ColFrom, TColor ColTo, int Steps, int step);

// Centre of r, halves truncated toward zero.
TPoint AbCenterPoint(const TRect& r);
// Shrinks r by n on every side.
void AbBorder(TRect& r, int n);
// Rotates A about B by Alpha degrees; DRight turns clockwise on the screen (y grows
// downward), so 0 degrees straight up turned by 90 ends straight to the right.
TPoint AbRotate(TPoint A, TPoint B, double Alpha, bool DRight);
