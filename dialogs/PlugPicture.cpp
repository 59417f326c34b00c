#include "PlugPicture.h"

#include <QPainter>
#include <algorithm>

TPlugGeometry PlugPictureGeometry(const QRectF& target) {
    TPlugGeometry g;
    g.Scale = std::min(target.width() / PlugDesignWidth, target.height() / PlugDesignHeight);
    const QPointF origin(target.center().x() - PlugDesignWidth * g.Scale / 2,
                         target.center().y() - PlugDesignHeight * g.Scale / 2);
    const auto point = [&](double x, double y) {
        return QPointF(origin.x() + x * g.Scale, origin.y() + y * g.Scale);
    };
    const auto rect = [&](double x, double y, double w, double h) {
        return QRectF(point(x, y), QSizeF(w * g.Scale, h * g.Scale));
    };
    g.Frame = rect(0, 0, PlugDesignWidth, PlugDesignHeight);
    g.Housing = rect(2, 12, 28, 34);
    g.Latch = rect(8, 6, 16, 7);
    g.Cable = rect(11, 46, 10, 8);
    g.ResistorBody = rect(36, 19, 12, 18);
    g.Bands = {rect(36, 22, 12, 3), rect(36, 27, 12, 3), rect(36, 32, 12, 3)};
    g.Leads = {QPolygonF({point(42, 19), point(42, 16), point(30, 16)}),
               QPolygonF({point(42, 37), point(42, 41), point(30, 41)})};
    g.LeadWidth = 2 * g.Scale;
    return g;
}

void PaintPlugPicture(QPainter& p, const TPlugGeometry& g) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double edge = std::max(1.0, g.Scale);
    // Leads first, so the housing and resistor body cover their ends.
    p.setPen(QPen(PlugColors::Lead, g.LeadWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    for (const QPolygonF& lead : g.Leads) {
        p.drawPolyline(lead);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(PlugColors::Cable);
    p.drawRect(g.Cable);
    p.setPen(QPen(PlugColors::HousingEdge, edge * 0.6));
    p.setBrush(PlugColors::Housing);
    p.drawRoundedRect(g.Latch, 1.5 * g.Scale, 1.5 * g.Scale);
    p.drawRoundedRect(g.Housing, 4 * g.Scale, 4 * g.Scale);
    // A light stripe down the housing's left side gives it some depth.
    p.setPen(Qt::NoPen);
    p.setBrush(PlugColors::Highlight);
    p.drawRect(QRectF(g.Housing.left() + 4 * g.Scale, g.Housing.top() + 5 * g.Scale, 3 * g.Scale,
                      g.Housing.height() - 10 * g.Scale));
    p.setPen(QPen(PlugColors::ResistorEdge, edge * 0.6));
    p.setBrush(PlugColors::Resistor);
    p.drawRoundedRect(g.ResistorBody, 3 * g.Scale, 3 * g.Scale);
    p.setPen(Qt::NoPen);
    for (size_t i = 0; i < g.Bands.size(); ++i) {
        p.setBrush(PlugColors::Bands[i]);
        p.drawRect(g.Bands[i].adjusted(edge * 0.3, 0, -edge * 0.3, 0));
    }
    p.restore();
}

QPixmap PlugPicturePixmap(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintPlugPicture(p, PlugPictureGeometry(QRectF(0, 0, width, height)));
    return pixmap;
}
