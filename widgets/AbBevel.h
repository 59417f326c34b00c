#pragma once
// The bevel: a filled area with three-dimensional rings, optional one-pixel lines, an empty
// margin and an optional surface gradient; painting it leaves the content rectangle.
#include "AbBase.h"
#include "AbCanvas.h"

enum TBevelStyle { bsLowered, bsRaised };
enum TBevelLine { blNone, blOuter, blInner, blBoth };

class TAbSBevel : public TAbPersistent {
public:
    TAbSBevel();

    TBevelStyle Style() const { return FStyle; }
    int Spacing() const { return FSpacing; }
    TBevelLine BevelLine() const { return FBevelLine; }
    int Width() const { return FWidth; }
    TColor Color() const { return FColor; }
    TAbOffset& Offset() { return FOffset; }
    const TAbOffset& Offset() const { return FOffset; }
    TColor ColorShadowFrom() const { return FColorShadowFrom; }
    TColor ColorShadowTo() const { return FColorShadowTo; }
    TColor ColorHighLightFrom() const { return FColorHighLightFrom; }
    TColor ColorHighLightTo() const { return FColorHighLightTo; }
    TColor PenColor() const { return FPenColor; }
    TAbGradSettings& SurfaceGrad() { return FSurfaceGrad; }
    const TAbGradSettings& SurfaceGrad() const { return FSurfaceGrad; }
    // Pixels the bevel takes from each side before the offsets.
    int TotalWidth() const { return FTotalWidth; }

    void SetStyle(TBevelStyle v) { SetField(FStyle, v); }
    void SetSpacing(int v) { SetField(FSpacing, v); }
    void SetBevelLine(TBevelLine v) { SetField(FBevelLine, v); }
    // Negative widths are ignored.
    void SetWidth(int v);
    void SetColor(TColor v) { SetField(FColor, v); }
    void SetColorShadowFrom(TColor v) { SetField(FColorShadowFrom, v); }
    void SetColorShadowTo(TColor v) { SetField(FColorShadowTo, v); }
    void SetColorHighLightFrom(TColor v) { SetField(FColorHighLightFrom, v); }
    void SetColorHighLightTo(TColor v) { SetField(FColorHighLightTo, v); }
    void SetPenColor(TColor v) { SetField(FPenColor, v); }

    // Recomputes TotalWidth, then notifies the owner.
    void Change() override;

    // Paints the bevel into r and returns in r the content rectangle.
    void PaintFilledBevel(TAbCanvas& canvas, TRect& r);
    // Ring painter: optionally fills r with Col, then draws Width rings (outermost first),
    // shrinking r by one pixel per ring.
    void PaintGradBevel(TAbCanvas& canvas, TRect& r, bool up, bool filled, TColor Col);

    // Top-left and bottom-right colours of ring n (1 = outermost).
    TColor RingTopColor(bool up, int n, const QPalette& palette) const;
    TColor RingBottomColor(bool up, int n, const QPalette& palette) const;

private:
    int ComputeTotalWidth() const;

    TBevelStyle FStyle = bsRaised;
    int FSpacing = 5;
    TBevelLine FBevelLine = blNone;
    int FWidth = 2;
    TColor FColor = clBtnFace;
    TAbOffset FOffset;
    TColor FColorShadowFrom = clBtnShadow;
    TColor FColorShadowTo = clBtnShadow;
    TColor FColorHighLightFrom = clBtnHighlight;
    TColor FColorHighLightTo = clBtnHighlight;
    TColor FPenColor = clBlack;
    TAbGradSettings FSurfaceGrad;
    int FTotalWidth = 0;
};

// One three-dimensional frame on r: top and left edges in `top`, bottom and right in `bottom`.
void AbFrame3D(TAbCanvas& canvas, const TRect& r, TColor top, TColor bottom);
