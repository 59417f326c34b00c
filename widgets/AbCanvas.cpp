#include "AbCanvas.h"

#include <QFontMetrics>
#include <QPolygon>
#include <vector>

TAbCanvas::TAbCanvas(QPainter& painter, const QPalette& palette)
    : FPainter(painter), FPalette(palette) {}

void TAbCanvas::SetPen(TColor color, int width) {
    FPenColor = color;
    FPenWidth = width;
    FPenOn = width > 0;
}

void TAbCanvas::SetBrush(TColor color) {
    FBrushColor = color;
    FBrushOn = true;
}

void TAbCanvas::ApplyPen(bool antialias) {
    FPainter.setRenderHint(QPainter::Antialiasing, antialias);
    if (FPenOn) {
        QPen pen(Resolve(FPenColor));
        pen.setWidth(FPenWidth);
        pen.setCapStyle(antialias ? Qt::FlatCap : Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        FPainter.setPen(pen);
    } else {
        FPainter.setPen(Qt::NoPen);
    }
    FPainter.setBrush(FBrushOn ? QBrush(Resolve(FBrushColor)) : QBrush(Qt::NoBrush));
}

void TAbCanvas::FillRect(const TRect& r, TColor color) {
    if (!r.IsEmpty())
        FPainter.fillRect(ToQRect(r), Resolve(color));
}

void TAbCanvas::Line(TPoint a, TPoint b) {
    if (a == b)
        return;
    ApplyPen(false);
    TPoint e = b;
    if (a.Y == b.Y)
        e.X += b.X > a.X ? -1 : 1;
    else if (a.X == b.X)
        e.Y += b.Y > a.Y ? -1 : 1;
    if (FPenOn)
        FPainter.drawLine(a.X, a.Y, e.X, e.Y);
}

void TAbCanvas::Polyline(std::initializer_list<TPoint> points) {
    const TPoint* prev = nullptr;
    for (const TPoint& p : points) {
        if (prev)
            Line(*prev, p);
        prev = &p;
    }
}

void TAbCanvas::Rectangle(const TRect& r) {
    if (r.IsEmpty())
        return;
    if (FBrushOn)
        FPainter.fillRect(ToQRect(r), Resolve(FBrushColor));
    if (!FPenOn)
        return;
    const int l = r.Left, t = r.Top, rt = r.Right - 1, b = r.Bottom - 1;
    ApplyPen(false);
    FPainter.setBrush(Qt::NoBrush);
    if (FPenWidth == 1) {
        FPainter.drawLine(l, t, rt, t);
        FPainter.drawLine(l, b, rt, b);
        FPainter.drawLine(l, t, l, b);
        FPainter.drawLine(rt, t, rt, b);
    } else {
        FPainter.drawRect(QRectF(l + 0.5, t + 0.5, rt - l, b - t));
    }
}

void TAbCanvas::Ellipse(const TRect& r) {
    if (r.IsEmpty())
        return;
    ApplyPen(true);
    const double inset = FPenOn ? FPenWidth / 2.0 : 0.0;
    FPainter.drawEllipse(
        QRectF(r.Left + inset, r.Top + inset, r.Width() - 2 * inset, r.Height() - 2 * inset));
}

void TAbCanvas::Arc(const TRect& r, double startDeg, double spanDeg) {
    if (r.IsEmpty() || !FPenOn)
        return;
    ApplyPen(true);
    const double inset = FPenWidth / 2.0;
    FPainter.drawArc(
        QRectF(r.Left + inset, r.Top + inset, r.Width() - 2 * inset, r.Height() - 2 * inset),
        int(startDeg * 16), int(spanDeg * 16));
}

void TAbCanvas::Polygon(std::initializer_list<TPoint> points) {
    QPolygon poly;
    for (const TPoint& p : points)
        poly << QPoint(p.X, p.Y);
    ApplyPen(false);
    FPainter.drawPolygon(poly);
}

int TAbCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(FPainter.font(), FPainter.device()).horizontalAdvance(text);
}

int TAbCanvas::TextHeight(const QString& text) const {
    (void)text;
    return QFontMetrics(FPainter.font(), FPainter.device()).height();
}

void TAbCanvas::TextOut(int x, int y, const QString& text) {
    if (text.isEmpty())
        return;
    FPainter.setRenderHint(QPainter::TextAntialiasing, true);
    FPainter.setPen(Resolve(FFontColor));
    const QFontMetrics fm(FPainter.font(), FPainter.device());
    FPainter.drawText(QPoint(x, y + fm.ascent()), text);
}
