#include "AbScaleGeometry.h"

#include <algorithm>
#include <cmath>

QPoint DialRotate(QPoint a, QPoint centre, double alpha) {
    return ToQPoint(AbRotate({a.x(), a.y()}, {centre.x(), centre.y()}, alpha, true));
}

std::vector<float> LinearLabelValues(float from, float to, int steps) {
    const int n = std::max(steps, 1);
    const float d = (from - to) / static_cast<float>(n);
    std::vector<float> values;
    values.reserve(n + 1);
    for (int k = 0; k <= n; ++k)
        values.push_back(to + static_cast<float>(n - k) * d);
    return values;
}

TLogLabels LogLabelValues(float from, float to, int steps) {
    TLogLabels labels;
    labels.Exp1 = AbRound(std::log10(static_cast<double>(from)));
    labels.Exp2 = AbRound(std::log10(static_cast<double>(to)));
    const int diff = labels.Exp2 - labels.Exp1;
    labels.LogSteps = 1;
    if (diff != 0) {
        for (int c = steps; c >= 2; --c) {
            if (diff % c == 0) {
                labels.LogSteps = c;
                break;
            }
        }
    }
    // One label per decade step; an empty range still yields the two end labels so the
    // scale always has one more label than it has steps.
    const int e = diff / labels.LogSteps;
    for (int k = 0; k <= labels.LogSteps; ++k)
        labels.Values.push_back(std::pow(10.0, labels.Exp1 + k * e));
    return labels;
}

TScaleMetrics ScaleMetricsFor(int textW, int textH) {
    TScaleMetrics m;
    m.TextW = textW;
    m.TextH = textH;
    m.PenW1 = AbRound(textH / 14.0);
    m.Spacing = std::max(textW, textH) / 2 + 1;
    return m;
}

namespace {

struct TScaleTemplate {
    QPoint P1; // outer end of a major tick
    QPoint P2; // inner end of a major tick
    QPoint P3; // outer end of a minor tick
    QPoint P4; // label centre
};

TScaleTemplate ScaleTemplate(QPoint centre, int b, int spacing, int sl1, int sl2, int alphaFrom) {
    TScaleTemplate t;
    t.P1 = QPoint(centre.x(), centre.y() - b + spacing);
    t.P2 = QPoint(centre.x(), t.P1.y() + sl1);
    t.P3 = QPoint(centre.x(), t.P2.y() - sl2);
    t.P4 = QPoint(centre.x(), centre.y() - b);
    t.P1 = DialRotate(t.P1, centre, alphaFrom);
    t.P2 = DialRotate(t.P2, centre, alphaFrom);
    t.P3 = DialRotate(t.P3, centre, alphaFrom);
    t.P4 = DialRotate(t.P4, centre, alphaFrom);
    return t;
}

int MinorTickAngle(int i, int m, float step, float substep, int subSteps, bool logScale) {
    const double major = static_cast<double>(static_cast<float>(i) * step);
    if (logScale) {
        const double fraction = std::log10(m * 10.0 / subSteps);
        return AbRound(fraction * step + major);
    }
    return AbRound(static_cast<float>(i) * step + static_cast<float>(m) * substep);
}

} // namespace

TRoundScaleGeometry RoundScaleGeometry(const TRect& r, const TScaleMetrics& m, int alphaFrom,
                                       int alpha, int steps, int subSteps, bool logScale) {
    steps = std::max(steps, 1);
    subSteps = std::max(subSteps, 1);
    TRoundScaleGeometry g;
    const int w = r.Width();
    g.B = (w - 2 * m.Spacing) / 2 - m.TextW / 2 + m.Spacing;
    g.Sl1 = g.B / 8;
    g.Sl2 = m.PenW1 == 1 ? g.Sl1 / 2 : AbRound(g.Sl1 / 1.4);
    g.Centre = QPoint(r.Left + w / 2, r.Top + g.B + m.TextH / 2);

    const int k = g.B - m.TextW / 2;
    const int h = m.PenW1 / 2;
    const QPoint c = g.Centre;
    g.PointerSquare = {c.x() - k + h, c.y() - k + h, c.x() + k + h - 1, c.y() + k + h - 1};

    const TScaleTemplate t = ScaleTemplate(c, g.B, m.Spacing, g.Sl1, g.Sl2, alphaFrom);
    const float substep = static_cast<float>(alpha) / static_cast<float>(subSteps * steps);
    const float step = static_cast<float>(subSteps) * substep;
    g.Substep = substep;
    g.Step = step;
    for (int i = 0; i < steps; ++i) {
        const double a = static_cast<double>(static_cast<float>(i) * step);
        g.LabelCentres.push_back(DialRotate(t.P4, c, a));
        g.MajorTicks.push_back({DialRotate(t.P1, c, a), DialRotate(t.P2, c, a)});
        for (int mi = 1; mi < subSteps; ++mi) {
            const int am = MinorTickAngle(i, mi, step, substep, subSteps, logScale);
            g.MinorTicks.push_back({DialRotate(t.P2, c, am), DialRotate(t.P3, c, am)});
        }
    }
    if (alpha != 360)
        g.LabelCentres.push_back(DialRotate(t.P4, c, alpha));
    g.MajorTicks.push_back({DialRotate(t.P1, c, alpha), DialRotate(t.P2, c, alpha)});

    const TRect& sq = g.PointerSquare;
    g.LinePos = {QPoint(sq.Left + g.Sl1, sq.Top + g.Sl1),
                 QPoint(sq.Right - g.Sl1, sq.Bottom - g.Sl1 + 1), DialRotate(t.P2, c, alpha), t.P1};
    if (m.PenW1 == 1) {
        ++g.PointerSquare.Left;
        ++g.PointerSquare.Top;
    }
    return g;
}

bool SectorArc(int from, int to, int startAngle, int rotAngle, TSectorArc& arc) {
    if (to - from <= 4 || to <= 0 || from >= 1000)
        return false;
    const float wpp = static_cast<float>(rotAngle) / 1000.0f;
    int length = 0;
    if (from < 0) {
        arc.Start = startAngle;
        length = std::min(1000, to);
    } else {
        arc.Start = AbRound(static_cast<float>(from) * wpp) + startAngle;
        length = std::min(1000, to) - from;
    }
    arc.Sweep = AbRound(static_cast<float>(length) * wpp);
    return true;
}

std::vector<QPoint> TArrowField::Polygon() const {
    return std::vector<QPoint>(Points.begin() + 2, Points.begin() + N + 1);
}

namespace {

struct TShapeRow {
    int N;
    bool OutlineFlashes;
    int R1;
    int R2;
};

} // namespace

TArrowField AbArrowField(int shape, int squareWidth) {
    const int l = squareWidth / 2;
    const int x = l;
    const int y = l;
    const int b = l / 10;
    const int s = l / 16;
    const QPoint tip(x, y - l);
    TArrowField f;
    f.Pivot = QPoint(x, y);
    f.Points[1] = f.Pivot;
    std::vector<QPoint> poly;
    TShapeRow row{4, false, 2, 0};
    switch (shape) {
    case 1:
        poly = {{x - s, y}, {x + s, y}, tip};
        row = {4, false, b + b / 2, 3};
        break;
    case 2:
        poly = {{x - b, y - l + 4 * b}, {x + b, y - l + 4 * b}, tip};
        row = {4, false, 0, 0};
        break;
    case 3:
        poly = {{x - s, y + 2 * b}, {x + s, y + 2 * b}, tip};
        row = {4, false, b, 3};
        break;
    case 4:
        poly = {{x - s, y + b},
                {x + s, y + b},
                {x + s, y - l + 3 * b},
                {x + 2 * b, y - l + 3 * b},
                tip,
                {x - 2 * b, y - l + 3 * b},
                {x - s, y - l + 3 * b}};
        row = {8, false, 2, 0};
        break;
    case 5:
        poly = {
            {x - b, y + b}, {x + b, y + b}, {x + b, y - l + 2 * b}, tip, {x - b, y - l + 2 * b}};
        row = {6, false, 2, 0};
        break;
    case 6:
        poly = {{x - 1, y + 2 * b}, {x + 1, y + 2 * b}, {x + 1, y - l}, {x - 1, y - l}};
        row = {5, true, 8, 3};
        break;
    case 7:
        poly = {{x - b, y}, {x - b - s, y + 2 * b}, {x + b + s, y + 2 * b}, {x + b, y}, tip};
        row = {6, false, s, 2};
        break;
    default:
        poly = {{x - b, y + b}, {x + b, y + b}, tip};
        break;
    }
    f.N = row.N;
    f.OutlineFlashes = row.OutlineFlashes;
    f.R1 = static_cast<uint8_t>(row.R1);
    f.R2 = static_cast<uint8_t>(row.R2);
    std::copy(poly.begin(), poly.end(), f.Points.begin() + 2);
    return f;
}

TArrowField RotateArrow(const TArrowField& field, double alpha) {
    TArrowField rotated = field;
    for (int i = 2; i <= field.N; ++i)
        rotated.Points[i] = DialRotate(field.Points[i], field.Pivot, alpha);
    return rotated;
}

std::vector<TDiscRow> DiscRows(QPoint centre, int radius) {
    std::vector<TDiscRow> rows;
    for (int y = centre.y() - radius; y < centre.y() + radius; ++y) {
        const double dy = y + 0.5 - centre.y();
        const double half = std::sqrt(double(radius) * radius - dy * dy);
        const int left = int(std::ceil(centre.x() - half - 0.5));
        const int right = int(std::floor(centre.x() + half - 0.5));
        if (left <= right)
            rows.push_back({y, left, right});
    }
    return rows;
}

float PositionAngle(int rotAngle, int ppt) {
    return static_cast<float>(rotAngle) / 1000.0f * static_cast<float>(ppt);
}

std::array<QPoint, 3> RotateMarker(const std::array<QPoint, 3>& marker, QPoint pivot,
                                   double alpha) {
    std::array<QPoint, 3> out;
    for (size_t i = 0; i < marker.size(); ++i)
        out[i] = DialRotate(marker[i], pivot, alpha);
    return out;
}

TMarkerTemplates MarkerTemplates(int sl1, QPoint pivot, int startAngle) {
    const int m = AbRound(sl1 * 0.6);
    const int c = pivot.x();
    TMarkerTemplates t;
    t.Min = {QPoint(c, sl1 + m), QPoint(c, 1), QPoint(c - m, 1)};
    t.Max = {QPoint(c, sl1 + m), QPoint(c, 1), QPoint(c + m, 1)};
    t.Min = RotateMarker(t.Min, pivot, startAngle);
    t.Max = RotateMarker(t.Max, pivot, startAngle);
    return t;
}
