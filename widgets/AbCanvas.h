#pragma once
// Drawing in the conventions the widgets are written in: rectangles exclude their right and
// bottom edges, a line excludes its end point, colours are TColor values resolved through
// the palette of the widget being drawn.
#include <QPainter>
#include <QPalette>
#include <QString>
#include <initializer_list>

#include "AbColors.h"
#include "AbGeometry.h"

class TAbCanvas {
public:
    TAbCanvas(QPainter& painter, const QPalette& palette);

    QPainter& Painter() { return FPainter; }
    const QPalette& Palette() const { return FPalette; }
    QColor Resolve(TColor c) const { return ToQColor(c, FPalette); }

    void SetPen(TColor color, int width = 1);
    void SetPenNone() { FPenOn = false; }
    void SetBrush(TColor color);
    // Hollow brush: shapes are outlined only, text has no background.
    void SetBrushClear() { FBrushOn = false; }

    void FillRect(const TRect& r, TColor color);
    // Brush-filled, pen-outlined rectangle inside r.
    void Rectangle(const TRect& r);
    // Ellipse inscribed in r.
    void Ellipse(const TRect& r);
    // Arc on the ellipse inscribed in r, from startDeg counter-clockwise by spanDeg
    // (0 degrees at three o'clock).
    void Arc(const TRect& r, double startDeg, double spanDeg);
    // Connected lines; each segment leaves out its end point, so the last point is not drawn.
    void Polyline(std::initializer_list<TPoint> points);
    // Brush-filled, pen-outlined closed polygon.
    void Polygon(std::initializer_list<TPoint> points);
    // Line from a to b, b itself not drawn.
    void Line(TPoint a, TPoint b);

    void SetFont(const QFont& font) { FPainter.setFont(font); }
    void SetFontColor(TColor color) { FFontColor = color; }
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Writes text with its top-left corner at (x, y).
    void TextOut(int x, int y, const QString& text);

private:
    void ApplyPen(bool antialias);
    QPainter& FPainter;
    QPalette FPalette;
    TColor FPenColor = clBlack;
    int FPenWidth = 1;
    bool FPenOn = true;
    TColor FBrushColor = clWhite;
    bool FBrushOn = true;
    TColor FFontColor = clWindowText;
};
