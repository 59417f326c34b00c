#include "CachedStraightLine.h"

#include <QPainter>
#include <cmath>

namespace {
QPoint Floor(const QPointF& point) {
    return {static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y()))};
}
} // namespace

void TCachedStraightLine::draw(QCPPainter* painter) {
    // The visible part of the line, found as the plain item finds it.
    const QCPVector2D start(point1->pixelPosition());
    const QCPVector2D end(point2->pixelPosition());
    const int pad = static_cast<int>(std::ceil(mainPen().widthF()));
    const QLineF line =
        getRectClippedStraightLine(start, end - start, clipRect().adjusted(-pad, -pad, pad, pad));
    if (line.isNull()) {
        return;
    }
    painter->setPen(mainPen());
    // A vector format, or a scaled drawing: drawn as usual. A picture of the plot at its own
    // size (saved, or as the window shows it) takes the same picture of the line.
    if (painter->modes().testFlag(QCPPainter::pmVectorized) ||
        painter->transform().type() > QTransform::TxTranslate) {
        painter->drawLine(line);
        return;
    }
    // The painter's shift (half a pixel while smoothing) splits into whole pixels, by which the
    // picture is moved, and the rest, with which it is drawn: so the line falls on the
    // picture's pixels as it would on the plot's.
    const QPointF shift(painter->transform().dx(), painter->transform().dy());
    const QPoint wholeShift = Floor(shift);
    const QRectF around =
        QRectF(line.p1(), line.p2()).normalized().adjusted(-pad - 2, -pad - 2, pad + 2, pad + 2);
    const QPoint corner = Floor(around.topLeft());
    const TDrawn drawn{line.translated(-corner), shift - wholeShift, painter->pen(),
                       painter->antialiasing()};
    if (!(drawn == FDrawn) || FPicture.isNull()) {
        FDrawn = drawn;
        const QPoint far = Floor(around.bottomRight());
        FPicture = QImage(far.x() - corner.x() + 1, far.y() - corner.y() + 1,
                          QImage::Format_ARGB32_Premultiplied);
        FPicture.fill(Qt::transparent);
        QPainter own(&FPicture);
        own.setRenderHint(QPainter::Antialiasing, drawn.Smooth);
        own.translate(drawn.Shift);
        own.setPen(drawn.Pen);
        if (drawn.Smooth) {
            own.drawLine(drawn.Line);
        } else {
            own.drawLine(drawn.Line.toLine()); // unsmoothed, the plot draws at whole pixels
        }
    }
    painter->save();
    painter->setTransform(QTransform());
    painter->drawImage(corner + wholeShift, FPicture);
    painter->restore();
}
