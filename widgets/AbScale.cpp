#include "AbScale.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "format/Formatting.h"

TScaleSettings::TScaleSettings() : FFont("Arial") {
    FFont.setPointSize(14);
}

void TScaleSettings::SetDrawLine(bool v) {
    FDrawLine = v;
    Change();
}

void TScaleSettings::SetFont(const QFont& font) {
    if (font == FFont)
        return;
    FFont = font;
    Change();
}

void TScaleSettings::SetSteps(int v) {
    if (v < 1 || v > 20)
        return;
    FSteps = v;
    Change();
}

void TScaleSettings::SetSubSteps(int v) {
    if (v < 1 || v > 10)
        return;
    FSubSteps = v;
    Change();
}

void TScaleSettings::BuildLabels(float valueFrom, float valueTo) {
    FLabels.clear();
    if (FLogScale) {
        const TLogLabels log = LogLabelValues(valueFrom, valueTo, FSteps);
        Fexp1 = log.Exp1;
        Fexp2 = log.Exp2;
        FLogSteps = log.LogSteps;
        for (double v : log.Values)
            FLabels.push_back(FormatFloat(FValueFormatLog, v));
    } else {
        for (float v : LinearLabelValues(valueFrom, valueTo, FSteps))
            FLabels.push_back(FormatFloat(FValueFormat, v));
    }
    FText.clear();
    for (const std::string& label : FLabels)
        FText += label + ";";
}

void TScaleSettings::CalcRSize(TAbCanvas& canvas, float valueFrom, float valueTo) {
    canvas.SetFont(FFont);
    canvas.SetPen(FColor);
    BuildLabels(valueFrom, valueTo);
    int textW = 0;
    for (const std::string& label : FLabels)
        textW = std::max(textW, canvas.TextWidth(QString::fromStdString(label)));
    const TScaleMetrics m =
        ScaleMetricsFor(textW, canvas.TextHeight(QString::fromStdString(FText)));
    FTextW = m.TextW;
    FTextH = m.TextH;
    FPenW1 = m.PenW1;
    FSpacing = m.Spacing;
}

void TScaleSettings::DrawLabel(TAbCanvas& canvas, QPoint centre, const std::string& label) {
    const QString text = QString::fromStdString(label);
    const int w = canvas.TextWidth(text);
    const int h = canvas.TextHeight(text);
    canvas.TextOut(centre.x() - w / 2, centre.y() - h / 2, text);
}

namespace {

// Tick strokes are anti-aliased with flat ends so they stay exactly as long as laid out.
void StrokeTicks(TAbCanvas& canvas, const std::vector<TTickLine>& ticks, TColor color, int width) {
    QPainter& p = canvas.Painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(canvas.Resolve(color));
    pen.setWidth(width);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    for (const TTickLine& t : ticks)
        p.drawLine(QPointF(t.From) + QPointF(0.5, 0.5), QPointF(t.To) + QPointF(0.5, 0.5));
    p.restore();
}

} // namespace

void TScaleSettings::RoundScala(TAbCanvas& canvas, TRect& r, int alphaFrom, int alpha) {
    canvas.SetFont(FFont);
    canvas.SetFontColor(FFontColor);
    canvas.SetBrushClear();
    const int steps = FLogScale ? FLogSteps : FSteps;
    const TScaleMetrics m{FTextW, FTextH, FPenW1, FSpacing};
    FGeometry = RoundScaleGeometry(r, m, alphaFrom, alpha, steps, FSubSteps, FLogScale);
    Fsl1 = FGeometry.Sl1;
    Fsl2 = FGeometry.Sl2;
    FLinePos = FGeometry.LinePos;

    const size_t count = std::min(FGeometry.LabelCentres.size(), FLabels.size());
    for (size_t i = 0; i < count; ++i)
        DrawLabel(canvas, FGeometry.LabelCentres[i], FLabels[i]);
    StrokeTicks(canvas, FGeometry.MajorTicks, FColor, FPenW1);
    StrokeTicks(canvas, FGeometry.MinorTicks, FColor, 1);
    r = FGeometry.PointerSquare;
}

// --- sector band and arc -----------------------------------------------------------------

void AbRoundSector(TAbCanvas& canvas, const TRect& r, int start, int sweep) {
    QPainter& p = canvas.Painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(p.brush());
    // Painter angles: 0 at three o'clock, counter-clockwise positive, in 1/16 degree.
    p.drawPie(QRectF(ToQRect(r)), (90 - start) * 16, -sweep * 16);
    p.restore();
}

void ScaleArcAngles(const std::array<QPoint, 4>& linePos, double& startDeg, double& spanDeg) {
    const QPointF centre = (QPointF(linePos[0]) + QPointF(linePos[1])) / 2.0;
    auto angleOf = [&centre](QPoint p) {
        const double a =
            std::atan2(-(p.y() - centre.y()), p.x() - centre.x()) * 180.0 / std::numbers::pi;
        return a < 0 ? a + 360.0 : a;
    };
    startDeg = angleOf(linePos[2]);
    spanDeg = angleOf(linePos[3]) - startDeg;
    if (spanDeg <= 0)
        spanDeg += 360.0;
}

void DrawRSector(TAbCanvas& canvas, const TRect& rSector, const TSectorSettings& sectors,
                 const TScaleSettings& scale, int startAngle, int rotAngle) {
    QPainter& p = canvas.Painter();
    const int w = rSector.Width() / 10 + sectors.WidthOffset();
    QRectF outer(ToQRect(rSector));
    outer.setBottom(outer.bottom() + 1);
    QPainterPath ring;
    ring.addEllipse(outer);
    ring.addEllipse(outer.adjusted(w, w, -w, -w));
    ring.setFillRule(Qt::OddEvenFill);

    p.save();
    p.setClipPath(ring, Qt::IntersectClip);
    for (int n = 1; n <= 3; ++n) {
        TSectorArc arc;
        if (!SectorArc(sectors.SectorFrom(n), sectors.SectorTo(n), startAngle, rotAngle, arc))
            continue;
        p.setBrush(canvas.Resolve(sectors.SectorColor(n)));
        AbRoundSector(canvas, rSector, arc.Start, arc.Sweep);
    }
    p.restore();

    if (!scale.DrawLine())
        return;
    const std::array<QPoint, 4>& lp = scale.LinePos();
    double startDeg = 0;
    double spanDeg = 0;
    ScaleArcAngles(lp, startDeg, spanDeg);
    canvas.SetPen(scale.Color(), scale.PenW1());
    canvas.SetBrushClear();
    canvas.Arc(TRect{lp[0].x(), lp[0].y(), lp[1].x(), lp[1].y()}, startDeg, spanDeg);
}
