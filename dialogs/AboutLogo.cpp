#include "AboutLogo.h"

#include <QPainter>
#include <QPainterPath>

QPixmap PaintAboutLogo(int width, int height) {
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width, height) - 6;
    QRectF dial((width - side) / 2.0, (height - side) / 2.0, side, side);
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(QColor(250, 250, 245));
    p.drawEllipse(dial);
    // The 270-degree scale, rich half red, lean half blue.
    QRectF arc = dial.adjusted(10, 10, -10, -10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 40, 40), 6, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 225 * 16, -135 * 16);
    p.setPen(QPen(QColor(40, 80, 200), 6, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 90 * 16, -135 * 16);
    // Needle, slightly lean.
    QPointF centre = dial.center();
    p.setPen(QPen(QColor(90, 90, 90), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(side * 0.22, -side * 0.28));
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(centre, 4, 4);
    // A lambda sign below the hub.
    QFont f("DejaVu Sans");
    f.setPixelSize(side / 4);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(40, 40, 40));
    QRectF textRect(dial.left(), centre.y() + side * 0.08, dial.width(), side * 0.3);
    p.drawText(textRect, Qt::AlignCenter, QString(QChar(0x03BB)));
    return pm;
}
