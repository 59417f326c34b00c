#include "AbLED.h"

#include <QPaintEvent>

#include "AbFlashT.h"
#include <algorithm>

void TLED::SetWidth(int v) {
    if (v < 4 || v > 80)
        return;
    SetField(FWidth, v);
}

void TLED::SetHeight(int v) {
    if (v < 4 || v > 80)
        return;
    SetField(FHeight, v);
}

void TLED::Draw(TAbCanvas& canvas, bool Checked) const {
    AbDrawLED(canvas, Rect, FShape, clBtnShadow, Checked ? FColorOn : FColorOff);
}

void AbDrawLED(TAbCanvas& canvas, const TRect& R, TLEDShape Shape, TColor Col1, TColor Col2) {
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    const int w = Rt - L, w2 = w / 2, h2 = (B - T) / 2;
    canvas.SetPen(Col1);
    canvas.SetBrush(Col2);
    switch (Shape) {
    case sRound: {
        canvas.Ellipse(R);
        // Glint: the upper-left quarter of a smaller concentric ellipse.
        canvas.SetPen(clBtnHighlight, std::max(w / 8, 1));
        TRect g = R;
        AbBorder(g, w / 5);
        canvas.Arc(g, 90, 90);
        break;
    }
    case sRectangle:
        canvas.Rectangle(R);
        break;
    case sArrowLeft:
        canvas.Polygon({{L, T + h2}, {Rt - 1, T}, {Rt - 1, B - 1}});
        break;
    case sArrowRight:
        canvas.Polygon({{L, T}, {Rt - 1, T + h2}, {L, B - 1}});
        break;
    case sArrowUp:
        canvas.Polygon({{L + w2, T}, {Rt - 1, B - 1}, {L, B - 1}});
        break;
    case sArrowDown:
        canvas.Polygon({{L, T}, {Rt - 1, T}, {L + w2, B - 1}});
        break;
    case sDiamondLeft:
        canvas.Polygon({{L, T}, {L + w2, T}, {Rt, B}, {L + w2, B}});
        break;
    case sDiamondRight:
        canvas.Polygon({{L + w2, T}, {Rt, T}, {L + w2, B}, {L, B}});
        break;
    }
}

TLEDLayout AbLEDLayout(int widgetW, int widgetH, const TLED& led, TLEDPos Position, int Spacing) {
    int w = led.Width(), h = led.Height();
    if (led.Shape() == sRound)
        w = h = std::max(w, h);
    const int W2 = widgetW / 2, H2 = widgetH / 2;
    TLEDLayout out;
    switch (Position) {
    case lpLeft:
        out.Lamp = {0, H2 - h / 2, w, H2 - h / 2 + h};
        out.Anchor = {out.Lamp.Right + Spacing, H2};
        out.Pos = toMidLeft;
        break;
    case lpRight:
        out.Lamp = {widgetW - w, H2 - h / 2, widgetW, H2 - h / 2 + h};
        out.Anchor = {out.Lamp.Left - Spacing, H2};
        out.Pos = toMidRight;
        break;
    case lpTop:
        out.Lamp = {W2 - w / 2, 0, W2 - w / 2 + w, h};
        out.Anchor = {W2, out.Lamp.Bottom + Spacing};
        out.Pos = toTopCenter;
        break;
    case lpBottom:
        out.Lamp = {W2 - w / 2, widgetH - h, W2 - w / 2 + w, widgetH};
        out.Anchor = {W2, out.Lamp.Top - Spacing};
        out.Pos = toBotCenter;
        break;
    }
    return out;
}

TAbLED::TAbLED(QWidget* parent) : TAbBinGControl(parent) {
    resize(73, 33);
    FLED.OnChange = [this](QObject* Sender) { ParamChange(Sender); };
}

TAbLED::~TAbLED() {
    DelControl(this);
}

void TAbLED::SetLED_Position(TLEDPos v) {
    if (v == FLED_Position)
        return;
    FLED_Position = v;
    ParamChange(this);
}

void TAbLED::SetSpacing(int v) {
    if (v == FSpacing)
        return;
    FSpacing = v;
    ParamChange(this);
}

void TAbLED::ParamChange(QObject* Sender) {
    (void)Sender;
    update();
}

void TAbLED::RedrawLamp(bool on) {
    if (!isVisible())
        return;
    FLampOn = on;
    if (FLaidOut)
        update(ToQRect(FLED.Rect));
    else
        update();
}

void TAbLED::StatusChanged() {
    RedrawLamp(Checked());
}

void TAbLED::Flash(bool status) {
    if (!Painting)
        RedrawLamp(status);
}

void TAbLED::FullPaint(TAbCanvas& canvas) {
    if (Painting)
        return;
    Painting = true;
    canvas.SetFont(font());
    const TLEDLayout layout = AbLEDLayout(width(), height(), FLED, FLED_Position, FSpacing);
    FLED.Rect = layout.Lamp;
    canvas.SetBrushClear();
    AbTextOutMultiLine(canvas, layout.Anchor.X, layout.Anchor.Y, 0, Caption(), layout.Pos);
    FLampOn = Checked();
    FLED.Draw(canvas, FLampOn);
    FLaidOut = true;
    Painting = false;
}

void TAbLED::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    TAbCanvas canvas(painter, palette());
    const bool lampOnly = FLaidOut && ToQRect(FLED.Rect).contains(e->rect());
    if (lampOnly)
        FLED.Draw(canvas, FLampOn);
    else
        FullPaint(canvas);
}
