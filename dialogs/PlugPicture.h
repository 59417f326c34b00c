#pragma once
// The small illustration beside the plug-resistance field of Sensor Setup: a sensor connector
// housing with its latch and cable, and the calibration resistor wired across it. The layout
// is computed apart from the painting so it can be checked without a paint device.
#include <QColor>
#include <QPixmap>
#include <QPolygonF>
#include <QRectF>
#include <array>

class QPainter;

// The artwork is designed in a 52 x 54 box and scaled into the target proportionally, centred.
constexpr double PlugDesignWidth = 52;
constexpr double PlugDesignHeight = 54;

struct TPlugGeometry {
    double Scale = 1;
    QRectF Frame; // the design box as placed in the target
    QRectF Housing;
    QRectF Latch;
    QRectF Cable;
    QRectF ResistorBody;
    std::array<QRectF, 3> Bands;    // colour bands across the resistor body
    std::array<QPolygonF, 2> Leads; // upper and lower lead, resistor end first
    double LeadWidth = 1;
};

// Places the artwork in `target`.
TPlugGeometry PlugPictureGeometry(const QRectF& target);

namespace PlugColors {
inline const QColor Housing(70, 74, 80);
inline const QColor HousingEdge(30, 32, 36);
inline const QColor Highlight(150, 156, 164);
inline const QColor Cable(20, 20, 20);
inline const QColor Lead(160, 160, 160);
inline const QColor Resistor(214, 184, 140);
inline const QColor ResistorEdge(120, 96, 60);
// Brown, black, orange: the first three bands of a 10 kilo-ohm resistor.
inline const std::array<QColor, 3> Bands = {QColor(128, 64, 16), QColor(0, 0, 0),
                                            QColor(240, 128, 0)};
} // namespace PlugColors

void PaintPlugPicture(QPainter& p, const TPlugGeometry& g);

// The picture on a transparent background of the given size.
QPixmap PlugPicturePixmap(int width, int height);
