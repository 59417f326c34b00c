#pragma once
// LED indicator: a small coloured lamp showing the on/off state, with a caption beside,
// above or below it. State changes redraw only the lamp laid out by the last full paint.
#include "AbBinGControl.h"
#include "AbCanvas.h"
#include "AbText.h"

enum TLEDShape {
    sRound,
    sArrowLeft,
    sArrowRight,
    sArrowUp,
    sArrowDown,
    sRectangle,
    sDiamondLeft,
    sDiamondRight
};
enum TLEDPos { lpLeft, lpRight, lpTop, lpBottom };

// Lamp settings.
class TLED : public TAbPersistent {
public:
    TLEDShape Shape() const { return FShape; }
    TColor ColorOn() const { return FColorOn; }
    TColor ColorOff() const { return FColorOff; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetShape(TLEDShape v) { SetField(FShape, v); }
    void SetColorOn(TColor v) { SetField(FColorOn, v); }
    void SetColorOff(TColor v) { SetField(FColorOff, v); }
    // Sizes outside 4..80 are ignored.
    void SetWidth(int v);
    void SetHeight(int v);

    // Draws the lamp into Rect in its on or off colour.
    void Draw(TAbCanvas& canvas, bool Checked) const;

    // Where the lamp was laid out at the last full paint.
    TRect Rect;

private:
    TLEDShape FShape = sRound;
    TColor FColorOn = clLime;
    TColor FColorOff = clBtnFace;
    int FWidth = 13;
    int FHeight = 13;
};

// Outline Col1, fill Col2.
void AbDrawLED(TAbCanvas& canvas, const TRect& R, TLEDShape Shape, TColor Col1, TColor Col2);

struct TLEDLayout {
    TRect Lamp;
    TPoint Anchor; // caption anchor
    toPos Pos;     // caption anchor code
};
// Lamp rectangle and caption anchor in a widget of widgetW x widgetH.
TLEDLayout AbLEDLayout(int widgetW, int widgetH, const TLED& led, TLEDPos Position, int Spacing);

class TAbLED : public TAbBinGControl {
public:
    explicit TAbLED(QWidget* parent = nullptr);
    ~TAbLED() override;

    TLED& LED() { return FLED; }
    const TLED& LED() const { return FLED; }
    TLEDPos LED_Position() const { return FLED_Position; }
    void SetLED_Position(TLEDPos v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);

    void ParamChange(QObject* Sender) override;
    void StatusChanged() override;
    void Flash(bool status) override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void FullPaint(TAbCanvas& canvas);
    void RedrawLamp(bool on);

    TLED FLED;
    TLEDPos FLED_Position = lpLeft;
    int FSpacing = 5;
    bool Painting = false;
    bool FLaidOut = false;
    bool FLampOn = false; // look the lamp is to show at the next lamp-only paint
};
