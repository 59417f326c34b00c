#pragma once
// Geometry of the round scale and the meter's pointer, free of any painting: label values,
// radii, tick end points, the pointer square, the pointer polygon and the marker triangles.
// Angles are in degrees, 0 straight up, positive clockwise on the screen.
#include <QPoint>
#include <array>
#include <cstdint>
#include <vector>

#include "AbGeometry.h"

// AbRotate clockwise on QPoint values.
QPoint DialRotate(QPoint a, QPoint centre, double alpha);

// --- Scale labels -------------------------------------------------------------------------

// Label values of a linear scale: Steps + 1 values from `from` to `to` (single precision).
std::vector<float> LinearLabelValues(float from, float to, int steps);

// Labels of a logarithmic scale: decades from round(log10(from)) to round(log10(to)).
struct TLogLabels {
    int Exp1 = 0;
    int Exp2 = 0;
    int LogSteps = 1;
    std::vector<double> Values;
};
TLogLabels LogLabelValues(float from, float to, int steps);

// Layout numbers derived from the measured labels.
struct TScaleMetrics {
    int TextW = 0;   // widest label
    int TextH = 0;   // label text height
    int PenW1 = 2;   // pen width of major ticks and the arc
    int Spacing = 4; // gap between a label centre and the outer end of its tick
};
TScaleMetrics ScaleMetricsFor(int textW, int textH);

// --- Round scale --------------------------------------------------------------------------

struct TTickLine {
    QPoint From;
    QPoint To;
};

struct TRoundScaleGeometry {
    int B = 0;   // radius of the label circle
    int Sl1 = 0; // major tick length
    int Sl2 = 0; // minor tick length
    QPoint Centre;
    float Substep = 0; // degrees between minor ticks
    float Step = 0;    // degrees between major ticks
    TRect PointerSquare;
    std::array<QPoint, 4> LinePos; // arc box corners, end direction, start direction
    std::vector<QPoint> LabelCentres;
    std::vector<TTickLine> MajorTicks;
    std::vector<TTickLine> MinorTicks;
};

// Lays out a round scale inside `r` that starts at `alphaFrom` and sweeps `alpha` degrees.
// The last label is left out for a full circle (it would cover the first).
TRoundScaleGeometry RoundScaleGeometry(const TRect& r, const TScaleMetrics& m, int alphaFrom,
                                       int alpha, int steps, int subSteps, bool logScale);

// --- Sector band --------------------------------------------------------------------------

struct TSectorArc {
    int Start = 0; // degrees
    int Sweep = 0; // degrees, clockwise
};
// The arc of one sector (per-mille bounds) on a scale; false when the sector draws nothing.
bool SectorArc(int from, int to, int startAngle, int rotAngle, TSectorArc& arc);

// --- Pointer ------------------------------------------------------------------------------

// Pointer template in the pointer square's own coordinates, pointing straight up.
struct TArrowField {
    int N = 4; // index of the last polygon point
    bool OutlineFlashes = false;
    uint8_t R1 = 2; // hub radii
    uint8_t R2 = 0;
    QPoint Pivot;
    std::array<QPoint, 9> Points{}; // points 2..N are the polygon, 0 and 1 unused here
    std::vector<QPoint> Polygon() const;
};

// Builds the template for `shape` in a square of width `squareWidth`; shapes outside 1..7
// give shape 0.
TArrowField AbArrowField(int shape, int squareWidth);

// The template with its polygon rotated about the pivot by `alpha` degrees.
TArrowField RotateArrow(const TArrowField& field, double alpha);

// One row of pixels of a disc, Left to Right inclusive.
struct TDiscRow {
    int Y;
    int Left;
    int Right;
};
// The pixels of the circle inscribed in centre +- radius (right and bottom edges excluded):
// 2 x radius pixels across, each pixel taken when its middle lies inside the circle.
std::vector<TDiscRow> DiscRows(QPoint centre, int radius);

// Angle of a per-mille position on a sweep of `rotAngle` degrees, in single precision.
float PositionAngle(int rotAngle, int ppt);

// Minimum and maximum marker triangles at the top of the square, rotated by `startAngle`.
struct TMarkerTemplates {
    std::array<QPoint, 3> Min;
    std::array<QPoint, 3> Max;
};
TMarkerTemplates MarkerTemplates(int sl1, QPoint pivot, int startAngle);
std::array<QPoint, 3> RotateMarker(const std::array<QPoint, 3>& marker, QPoint pivot, double alpha);
