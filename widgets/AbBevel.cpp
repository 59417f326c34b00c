#include "AbBevel.h"

#include "AbGradFill.h"

TAbSBevel::TAbSBevel() {
    FTotalWidth = ComputeTotalWidth();
    FOffset.OnChange = [this](QObject*) { Change(); };
    FSurfaceGrad.OnChange = [this](QObject*) { Change(); };
}

void TAbSBevel::SetWidth(int v) {
    if (v < 0)
        return;
    SetField(FWidth, v);
}

int TAbSBevel::ComputeTotalWidth() const {
    int total = FSpacing + FWidth;
    if (FBevelLine == blOuter || FBevelLine == blInner)
        total += 1;
    else if (FBevelLine == blBoth)
        total += 2;
    return total;
}

void TAbSBevel::Change() {
    FTotalWidth = ComputeTotalWidth();
    TAbPersistent::Change();
}

TColor TAbSBevel::RingTopColor(bool up, int n, const QPalette& palette) const {
    if (up)
        return AbCalcColor(FColorHighLightFrom, FColorHighLightTo, FWidth, n, palette);
    return AbCalcColor(FColorShadowTo, FColorShadowFrom, FWidth, n, palette);
}

TColor TAbSBevel::RingBottomColor(bool up, int n, const QPalette& palette) const {
    if (up)
        return AbCalcColor(FColorShadowFrom, FColorShadowTo, FWidth, n, palette);
    return AbCalcColor(FColorHighLightTo, FColorHighLightFrom, FWidth, n, palette);
}

void AbFrame3D(TAbCanvas& canvas, const TRect& r, TColor top, TColor bottom) {
    const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom;
    canvas.SetPen(top);
    canvas.Polyline({{l, b - 1}, {l, t}, {rt - 1, t}});
    canvas.SetPen(bottom);
    canvas.Polyline({{rt - 1, t}, {rt - 1, b - 1}, {l - 1, b - 1}});
}

void TAbSBevel::PaintGradBevel(TAbCanvas& canvas, TRect& r, bool up, bool filled, TColor Col) {
    if (filled) {
        canvas.SetPen(Col);
        canvas.SetBrush(Col);
        canvas.Rectangle(r);
    }
    for (int n = 1; n <= FWidth; ++n) {
        AbFrame3D(canvas, r, RingTopColor(up, n, canvas.Palette()),
                  RingBottomColor(up, n, canvas.Palette()));
        AbBorder(r, 1);
    }
}

void TAbSBevel::PaintFilledBevel(TAbCanvas& canvas, TRect& r) {
    const TRect R0 = r;
    const int w = (FBevelLine == blOuter || FBevelLine == blBoth) ? 1 : 0;
    canvas.SetPen(FColor);
    canvas.SetBrush(FColor);
    canvas.Rectangle(R0);

    AbBorder(r, w);
    TRect G = R0;
    AbBorder(G, FTotalWidth - FSpacing);
    PaintGradBevel(canvas, r, FStyle == bsRaised, true, FColor);

    if (FSurfaceGrad.Visible())
        AbGradFill(canvas, G, FSurfaceGrad.ColorFrom(), FSurfaceGrad.ColorTo(),
                   FSurfaceGrad.Style());

    canvas.SetPen(FPenColor);
    canvas.SetBrushClear();
    if (FBevelLine == blInner || FBevelLine == blBoth) {
        canvas.Rectangle(r);
        AbBorder(r, 1);
    }
    if (FBevelLine == blOuter || FBevelLine == blBoth)
        canvas.Rectangle(R0);

    AbBorder(r, FSpacing);
    r = FOffset.SetOffset(r);
}
