#pragma once
// A straight line across the plotting area that is drawn once into a picture and then laid
// where it belongs with each redraw, while it stays where it was. A dashed line with smoothed
// edges costs the painter dearly each time; laying a picture of it costs little. Where the
// plot is drawn for a vector format the line is drawn as usual.
#include <QImage>
#include <QLineF>
#include <QPen>
#include <qcustomplot.h>

class TCachedStraightLine : public QCPItemStraightLine {
public:
    using QCPItemStraightLine::QCPItemStraightLine;

protected:
    void draw(QCPPainter* painter) override;

private:
    struct TDrawn {
        QLineF Line;   // relative to the picture's corner
        QPointF Shift; // less than a pixel
        QPen Pen;
        bool Smooth = false;
        bool operator==(const TDrawn&) const = default;
    };
    TDrawn FDrawn;
    QImage FPicture;
};
